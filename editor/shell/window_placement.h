// Window frames and placement shared by the editor's windows.
#pragma once

#include <QWidget>

namespace quom {

// Moves a top-level window so that its frame is centred on its screen.
void CentreOnScreen(QWidget* window);

// A dialog of fixed size with only the close box in its title bar.
void MakeFixedDialog(QWidget* dialog, int client_width, int client_height);

}  // namespace quom
