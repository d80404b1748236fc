// The fonts of the editor's windows.
#pragma once

#include <QFont>

namespace quom {

// Where the Windows faces are missing, prefer faces of similar width so that the
// captions fit the fixed sizes of the buttons. Call once at start.
void InstallFontSubstitutes();

// Window font of every window: "MS Sans Serif" 8 points, or the closest sans face.
QFont WindowFont();

// "Times New Roman" (or the closest serif face) at a character height in pixels.
QFont TimesFont(int pixel_height, bool bold = false);

}  // namespace quom
