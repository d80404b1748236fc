// The dialog layer shown to the user: Qt message boxes and file, input and colour
// dialogs.
#pragma once

#include <QWidget>

#include "dialogs.h"

namespace quom {

class QtDialogs final : public Dialogs {
  public:
    // Boxes are centred over parent while it is visible.
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }

    void ShowMessage(const QString& text) override;
    void ShowError(const QString& text) override;
    Answer Confirm(const QString& text) override;
    std::optional<QString> OpenFile(const FileDialogSetup& request) override;
    std::optional<QString> SaveFile(const FileDialogSetup& request) override;
    QString InputBox(const QString& caption, const QString& prompt,
                     const QString& default_text) override;
    std::optional<Colour> ChooseColour(Colour initial) override;
    void ShowModal(QDialog& window) override;

  private:
    QWidget* parent_;
};

// "Page|*.qmx|All|*.*" -> "Page (*.qmx);;All (*.*)".
QString QtFilterFromPairs(const QString& pairs);

}  // namespace quom
