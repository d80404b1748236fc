// The toolbar commands of the main window.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "error_handler.h"
#include "model_text.h"
#include "page_file.h"
#include "program_folder.h"
#include "quom_error.h"
#include "save_target.h"
#include "tform1.h"
#include "tform3.h"

namespace quom {

namespace {

// A file chosen in the open or save dialog leaves its folder as the current
// directory. The dialog returns existing folders only, so a failure here has no
// message of its own.
void EnterFolderOf(const QString& file) {
    QDir::setCurrent(QFileInfo(file).absolutePath());
}

}  // namespace

void TForm1::Command(const std::function<void()>& command) {
    RunCommand(dialogs_, command);
    panel1_->Mirror();
}

void TForm1::FormShow() {
    Command([this] { page_.Reset(); });
}

void TForm1::EmptyButton1Click() {
    Command([this] { page_.Reset(); });
}

void TForm1::EmptyButton2Click() {
    Command([this] { OpenPage(); });
}

void TForm1::EmptyButton3Click() {
    Command([this] { SavePage(); });
}

void TForm1::SpeedButton2Click() {
    Command([this] { TestPage(); });
}

void TForm1::SpeedButton3Click() {
    Command([this] { StartSiblingIn(kHelpFolder, kHelpProgram); });
}

void TForm1::SpeedButton4Click() {
    Command([this] { StartSiblingIn(kCompilerFolder, kCompilerProgram); });
}

void TForm1::SpeedButton5Click() {
    if (about_box_ != nullptr) about_box_->exec();
}

void TForm1::EmptyButton6Click() {
    close();
    QCoreApplication::quit();
}

void TForm1::OpenPage() {
    const std::optional<QString> chosen = dialogs_.OpenFile(open_dialog_);
    if (!chosen) return;
    open_dialog_.file_name = *chosen;
    EnterFolderOf(*chosen);
    ReadPageFile(page_, ToPath(*chosen), ToPath(QFileInfo(*chosen).absolutePath()));
}

void TForm1::SavePage() {
    const std::optional<QString> chosen = dialogs_.SaveFile(save_dialog_);
    if (!chosen) return;
    save_dialog_.file_name = *chosen;
    EnterFolderOf(*chosen);

    // The question names the file that will really be written: a name typed
    // without ".qmx" whose page file exists is confirmed too.
    const SaveTarget target = ResolveSaveTarget(chosen->toStdString(), [](const std::string& name) {
        return QFileInfo(QString::fromStdString(name)).isFile();
    });
    const QString target_file = QString::fromStdString(target.file);
    if (target.confirm &&
        dialogs_.Confirm(QStringLiteral("OK to overwrite %1").arg(target_file)) != Answer::Yes) {
        return;
    }
    WritePagePictures(page_, ToPath(QFileInfo(*chosen).absolutePath()));
    WritePageFile(page_, ToPath(target_file));
}

void TForm1::TestPage() {
    const QString program_folder = program_folder_();
    const QString folder = SiblingFolder(program_folder, QString::fromLatin1(kTestFolder));
    WritePagePictures(page_, ToPath(folder));
    WritePageFile(page_, ToPath(folder) / kFirstPageName);
    StartSibling(program_folder, folder, QString::fromLatin1(kPlayerProgram));
}

void TForm1::StartSiblingIn(const char* folder, const char* program) {
    const QString program_folder = program_folder_();
    StartSibling(program_folder, SiblingFolder(program_folder, QString::fromLatin1(folder)),
                 QString::fromLatin1(program));
}

}  // namespace quom
