#include "fixed_dialog.h"

#include "editor_fonts.h"
#include "window_placement.h"

namespace quom {

FixedDialog::FixedDialog(const QString& caption, int client_width, int client_height)
    : QDialog(nullptr) {
    setWindowTitle(caption);
    setFont(WindowFont());
    setModal(true);
    MakeFixedDialog(this, client_width, client_height);
}

void FixedDialog::showEvent(QShowEvent* event) {
    CentreOnScreen(this);
    QDialog::showEvent(event);
}

}  // namespace quom
