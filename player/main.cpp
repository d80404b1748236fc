// run.exe, the kit's page player: shows "firstpag.qmx" from the current folder, or
// the page file named by the one argument, and carries out its items' actions.
#include <cstdio>

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>

#include "item_fonts.h"
#include "player_interface.h"
#include "player_window.h"
#include "system_devices.h"

namespace {

QtMessageHandler qt_handler = nullptr;

// Qt Multimedia warns when it finds no sound server or cannot read a sound; the
// player says itself, in one line, which statement that skips or fails.
void QuietAboutSound(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && (message.startsWith(QStringLiteral("PulseAudioService:")) ||
                                 message.startsWith(QStringLiteral("QSoundEffect(")))) {
        return;
    }
    qt_handler(type, context, message);
}

}  // namespace

int main(int argc, char* argv[]) {
    qt_handler = qInstallMessageHandler(QuietAboutSound);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(quom::kPlayerTitle));
    quom::InstallItemFontSubstitutes();

    const QStringList arguments = QApplication::arguments();
    const QString page =
        arguments.size() > 1 ? arguments.at(1) : QString::fromLatin1(quom::kFirstPageName);

    const auto sound = quom::MakeSystemSound();
    const auto midi = quom::MakeSystemMidi();
    const auto cd = quom::MakeSystemCdDrive();
    quom::PlayerWindow window(quom::Devices{*sound, *midi, *cd});
    const QString error = window.ShowPage(QFileInfo(page).absoluteFilePath());
    if (!error.isEmpty()) {
        std::fprintf(stderr, "run.exe: %s\n", error.toLocal8Bit().constData());
        QMessageBox::critical(nullptr, QString::fromLatin1(quom::kPlayerTitle), error);
        return 1;
    }
    window.show();
    return QApplication::exec();
}
