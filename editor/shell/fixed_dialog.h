// Base of the editor's dialogs: created once at start and reused, a fixed frame with
// only the close box, centred on the screen whenever it is shown.
#pragma once

#include <QDialog>

namespace quom {

class FixedDialog : public QDialog {
    Q_OBJECT
  public:
    FixedDialog(const QString& caption, int client_width, int client_height);

  protected:
    void showEvent(QShowEvent* event) override;
};

}  // namespace quom
