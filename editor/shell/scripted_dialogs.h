// A dialog layer that answers from a script and records what was shown: the
// commands run unattended in tests.
#pragma once

#include <deque>
#include <functional>
#include <vector>

#include "dialogs.h"

namespace quom {

class ScriptedDialogs final : public Dialogs {
  public:
    enum class Kind { Message, Error, Confirm, OpenFile, SaveFile, InputBox, Colour, Window };

    // One dialog as it was shown: its title (or caption) and its text (or prompt).
    struct Shown {
        Kind kind;
        QString title;
        QString text;
    };

    // Answers, taken from the front. An empty queue answers Cancel.
    std::deque<std::optional<QString>> files;  // open and save dialogs
    std::deque<Answer> confirms;
    std::deque<std::optional<QString>> inputs;  // nothing: Cancel
    std::deque<std::optional<Colour>> colours;
    // What the user does in each window shown modally, in order. The window is shown
    // while its step runs; one still open afterwards is closed with its close box,
    // and so is every window shown once the queue is empty.
    std::deque<std::function<void(QDialog&)>> windows;

    std::vector<Shown> shown;
    // The last file dialog as it was set up, for checking titles and filters.
    FileDialogSetup last_file_dialog;
    // The colour each colour dialog opened on, in order.
    std::vector<Colour> colour_dialog_starts;

    // Texts of the shown boxes of one kind, in order.
    std::vector<QString> Texts(Kind kind) const;

    void ShowMessage(const QString& text) override;
    void ShowError(const QString& text) override;
    Answer Confirm(const QString& text) override;
    std::optional<QString> OpenFile(const FileDialogSetup& setup) override;
    std::optional<QString> SaveFile(const FileDialogSetup& setup) override;
    QString InputBox(const QString& caption, const QString& prompt,
                     const QString& default_text) override;
    std::optional<Colour> ChooseColour(Colour initial) override;
    void ShowModal(QDialog& window) override;

  private:
    std::optional<QString> NextFile(Kind kind, const FileDialogSetup& setup);
};

}  // namespace quom
