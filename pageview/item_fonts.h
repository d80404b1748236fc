// The font of the page's buttons and labels.
#pragma once

#include <QFont>

namespace quom {

// "Times New Roman" at a whole number of points, or the closest serif face.
QFont ItemFont(int points);

// Where "Times New Roman" is missing, prefer serif faces of similar width so that
// captions fit the fixed button sizes. Call once at start.
void InstallItemFontSubstitutes();

}  // namespace quom
