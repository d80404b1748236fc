// Visual Quom++: the page editor.
#include <QApplication>

#include "art.h"
#include "dialogs.h"
#include "editor_windows.h"
#include "qt_dialogs.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(quom::kProgramTitle));
    quom::InitArt();
    QApplication::setWindowIcon(quom::ProgramIcon());

    quom::QtDialogs dialogs;
    quom::EditorWindows windows(dialogs);
    dialogs.SetParent(windows.form1());
    windows.form1()->show();
    return QApplication::exec();
}
