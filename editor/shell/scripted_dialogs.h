// A dialog layer that answers from a script and records what was shown: the
// commands run unattended in tests.
#pragma once

#include <deque>
#include <vector>

#include "dialogs.h"

namespace quom {

class ScriptedDialogs final : public Dialogs {
  public:
    enum class Kind { Message, Error, Confirm, OpenFile, SaveFile, InputBox, Colour };

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

    std::vector<Shown> shown;
    // The last file dialog as it was set up, for checking titles and filters.
    FileDialogSetup last_file_dialog;

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

  private:
    std::optional<QString> NextFile(Kind kind, const FileDialogSetup& setup);
};

}  // namespace quom
