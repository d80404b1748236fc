// Every modal question the editor asks goes through this interface, so that the
// commands can be driven by a script in tests and by real Qt dialogs in the program.
#pragma once

#include <optional>

#include <QString>

#include "colour.h"

class QDialog;

namespace quom {

// Title of the program's message boxes and of the error box.
inline constexpr const char* kProgramTitle = "Visual Quom++";

enum class Answer { Yes, No, Cancel };

// A file dialog as the commands describe it. The filter is written as pairs
// "description|patterns|description|patterns".
struct FileDialogSetup {
    QString title;
    QString filter;
    QString file_name;     // shown when the dialog opens
    bool preview = false;  // shows the picture of the file under the cursor
};

class Dialogs {
  public:
    virtual ~Dialogs() = default;

    // Plain message box titled with the program title, OK only.
    virtual void ShowMessage(const QString& text) = 0;
    // The general error handler's box: program title, error icon, OK.
    virtual void ShowError(const QString& text) = 0;
    // "Confirm", question icon, Yes / No / Cancel.
    virtual Answer Confirm(const QString& text) = 0;
    // The chosen file's full path, or nothing when cancelled.
    virtual std::optional<QString> OpenFile(const FileDialogSetup& request) = 0;
    virtual std::optional<QString> SaveFile(const FileDialogSetup& request) = 0;
    // Input box: the typed text on OK, default_text on Cancel or close.
    virtual QString InputBox(const QString& caption, const QString& prompt,
                             const QString& default_text) = 0;
    // Colour dialog opened on initial: the chosen colour, or nothing when cancelled.
    virtual std::optional<Colour> ChooseColour(Colour initial) = 0;
    // One of the editor's own windows (the component-ID dialog, the size dialog, the
    // event editor) shown modally; returns once it has closed.
    virtual void ShowModal(QDialog& window) = 0;
};

}  // namespace quom
