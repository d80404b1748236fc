// The editor's five windows over the scripted dialog layer, with a temporary program
// folder, for tests that drive the commands.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include <QString>
#include <QTemporaryDir>

#include "editor_windows.h"
#include "page.h"
#include "scripted_dialogs.h"

namespace quom_test {

class EditorFixture {
  public:
    EditorFixture();

    quom::TForm1* form1() const { return windows_->form1(); }
    quom::TForm2* form2() const { return windows_->form2(); }
    quom::Page& page() const { return windows_->form1()->page(); }
    quom::ScriptedDialogs& dialogs() { return dialogs_; }
    const QString& program_folder() const { return program_folder_; }
    // Errors shown so far, in order.
    std::vector<QString> Errors() const {
        return dialogs_.Texts(quom::ScriptedDialogs::Kind::Error);
    }

    // A file in the scratch folder (not the program folder).
    QString Scratch(const QString& name) const { return scratch_.filePath(name); }

    // A sibling program stand-in: a script that writes its working folder into
    // record_file when started.
    void WriteStandIn(const QString& file, const QString& record_file) const;

  private:
    QTemporaryDir program_dir_;
    QTemporaryDir scratch_;
    QString program_folder_;
    quom::ScriptedDialogs dialogs_;
    std::unique_ptr<quom::EditorWindows> windows_;
};

// A step for ScriptedDialogs::windows: clicks the component-ID dialog's button id.
std::function<void(QDialog&)> ClickId(int id);

// Shows the main window and waits until it can take input.
void ShowAndWait(quom::TForm1* form);

// Selects the named item as the component-ID dialog or an item click does, and
// waits for the property refresh.
void SelectAndRefresh(quom::TForm1* form, const char* name);

// Whole contents of a file as bytes, empty when it cannot be read.
std::string ReadBytes(const QString& file);
void WriteBytes(const QString& file, const std::string& bytes);

// The page file of a page, split into its lines (without line ends).
std::vector<std::string> PageLines(const quom::Page& page);
// Lines joined with CR LF after each.
std::string JoinLines(const std::vector<std::string>& lines);

// Picture files of each kind, made here: a 5x3 bitmap and a 16x16 icon drawn by Qt,
// and metafiles with a red rectangle on a 20x10 picture.
std::string BitmapFileBytes();
std::string IconFileBytes();

}  // namespace quom_test
