// Carrying out action texts against a temporary page folder, with stand-ins for the
// window and the devices.
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "action_runner.h"
#include "action_vocabulary.h"
#include "stand_ins.h"
#include "statements.h"

using quom_test::EventLog;

namespace {

// How long an action may take in these tests.
constexpr int kActionTimeoutMs = 5000;

// Files and folders of a page folder written as short lines: "a.txt=text" is a
// file, "sub/" a folder, "!name" a name that must not exist.
void MakeEntries(const QDir& root, const QStringList& entries) {
    for (const QString& entry : entries) {
        if (entry.endsWith(u'/')) {
            QVERIFY(root.mkpath(entry));
            continue;
        }
        const qsizetype equals = entry.indexOf(u'=');
        const QString name = entry.left(equals);
        QVERIFY(root.mkpath(QFileInfo(name).path()));
        QFile file(root.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(entry.mid(equals + 1).toUtf8());
    }
}

void CheckEntries(const QDir& root, const QStringList& entries) {
    for (const QString& entry : entries) {
        if (entry.startsWith(u'!')) {
            QVERIFY2(!QFileInfo::exists(root.filePath(entry.mid(1))), qPrintable(entry));
        } else if (entry.endsWith(u'/')) {
            QVERIFY2(QFileInfo(root.filePath(entry)).isDir(), qPrintable(entry));
        } else {
            const qsizetype equals = entry.indexOf(u'=');
            QFile file(root.filePath(entry.left(equals)));
            QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(entry));
            QCOMPARE(QString::fromUtf8(file.readAll()), entry.mid(equals + 1));
        }
    }
}

// A page folder with the stand-ins and a runner over them.
struct Bench {
    QTemporaryDir dir;
    EventLog log{dir.path()};
    quom_test::StandInHost host{log, dir.path()};
    quom_test::StandInSound sound{log};
    quom_test::StandInMidi midi{log};
    quom_test::StandInCd cd{log};
    quom::ActionRunner runner{host, quom::Devices{sound, midi, cd}};
    QStringList notes;
    QSignalSpy idle{&runner, &quom::ActionRunner::Idle};

    Bench() {
        runner.SetNoteSink([this](const QString& line) { notes << line; });
    }
    QDir root() const { return QDir(dir.path()); }
    bool RunToEnd(const std::string& text) {
        runner.Run(QStringLiteral("Button1"), text);
        return WaitIdle();
    }
    bool WaitIdle() { return idle.wait(kActionTimeoutMs); }
};

}  // namespace

class ActionRunnerTest : public QObject {
    Q_OBJECT

  private slots:
    void CarriesOutTheStatements_data() {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("action");  // the page's bytes, one per character
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<QString>("failure");  // in the one failure box; empty: none
        QTest::addColumn<QString>("note");     // on standard error; empty: none

        const QStringList none;
        auto row = [](const char* name) -> QTestData& { return QTest::newRow(name); };

        // Copy, rename, delete, make folder.
        row("copy") << QStringList{"a.txt=A"} << "Copy1(a.txt);Copy2(b.txt);CopyDone();" << none
                    << QStringList{"a.txt=A", "b.txt=A"} << ""
                    << "";
        row("copy replaces") << QStringList{"a.txt=A", "b.txt=old"}
                             << "Copy1(a.txt);Copy2(b.txt);CopyDone();" << none
                             << QStringList{"b.txt=A"} << ""
                             << "";
        row("copy into a folder") << QStringList{"a.txt=A", "sub/"}
                                  << "Copy1(a.txt);Copy2(sub);CopyDone();" << none
                                  << QStringList{"sub/a.txt=A"} << ""
                                  << "";
        row("backslashes separate folders")
            << QStringList{"in/a.txt=A", "out/"} << "Copy1(in\\a.txt);Copy2(out\\b.txt);CopyDone();"
            << none << QStringList{"out/b.txt=A"} << ""
            << "";
        row("copy of a missing file") << none << "Copy1(a.txt);Copy2(b.txt);CopyDone();" << none
                                      << QStringList{"!b.txt"} << "a.txt does not exist"
                                      << "a.txt does not exist";
        // Opening the target would have emptied the source.
        row("copy onto itself") << QStringList{"a.txt=A"}
                                << "Copy1(a.txt);Copy2(./a.txt);CopyDone();" << none
                                << QStringList{"a.txt=A"} << "is the file itself"
                                << "";
        row("copy without operands")
            << none << "CopyDone();" << none << none << "needs a Copy1 and a Copy2"
            << "";
        row("rename") << QStringList{"a.txt=A"} << "Copy1(a.txt);Copy2(c.txt);RenameDone();" << none
                      << QStringList{"!a.txt", "c.txt=A"} << ""
                      << "";
        row("rename onto a file") << QStringList{"a.txt=A", "c.txt=C"}
                                  << "Copy1(a.txt);Copy2(c.txt);RenameDone();" << none
                                  << QStringList{"a.txt=A", "c.txt=C"} << "exists already"
                                  << "";
        row("delete") << QStringList{"a.txt=A", "b.txt=B"} << "Delete(a.txt);" << none
                      << QStringList{"!a.txt", "b.txt=B"} << ""
                      << "";
        row("delete of a missing file")
            << none << "Delete(a.txt);Beep();" << QStringList{"beep", "failure box"} << none
            << "does not exist"
            << "";
        row("delete of a folder") << QStringList{"sub/x=1"} << "Delete(sub);" << none
                                  << QStringList{"sub/x=1"} << "only files are deleted"
                                  << "";
        row("mkdir") << none << "Mkdir(x);Mkdir(x\\y\\z);Mkdir(x);" << none << QStringList{"x/y/z/"}
                     << ""
                     << "";
        row("mkdir over a file") << QStringList{"x=1"} << "Mkdir(x);" << none << QStringList{"x=1"}
                                 << "a file named"
                                 << "";

        // Names the system cannot have are refused, the rest goes on.
        row("drive letter") << QStringList{"a.txt=A"} << "Delete(C:\\a.txt);Beep();"
                            << QStringList{"beep", "failure box"} << QStringList{"a.txt=A"}
                            << "drive C:"
                            << "";
        row("nul in a name") << QStringList{"a=A"} << QString::fromLatin1("Delete(a\0b);", 12)
                             << none << QStringList{"a=A"} << "NUL character"
                             << "";
        row("network share") << none << "Mkdir(\\\\server\\share);" << none
                             << QStringList{"!server"} << "network share"
                             << "";
        row("empty argument") << QStringList{"a.txt=A"} << "Delete();Beep();" << QStringList{"beep"}
                              << QStringList{"a.txt=A"} << ""
                              << "Delete(): no file named; skipped";

        // An action that does not read cleanly runs not at all.
        row("unknown name") << QStringList{"a.txt=A"} << "Delete(a.txt);Mesage(Hi);"
                            << QStringList{"failure box"} << QStringList{"a.txt=A"}
                            << "unknown statement \"Mesage\" at character 15: Mesage(Hi);"
                            << "";
        row("wrong case") << none << "beep();" << QStringList{"failure box"} << none
                          << "unknown statement \"beep\""
                          << "";
        row("missing parenthesis")
            << QStringList{"a.txt=A"} << "Beep();Delete(a.txt;" << QStringList{"failure box"}
            << QStringList{"a.txt=A"} << "missing \")\""
            << "";
        row("missing semicolon") << none << "Beep()Exit();" << QStringList{"failure box"} << none
                                 << "missing \";\""
                                 << "";
        row("fragment") << none << "Beep();Mess" << QStringList{"failure box"} << none
                        << "missing \"(\""
                        << "";
        row("none and empty") << none << "NONE();" << none << none << ""
                              << "";
        row("empty text") << none << "" << none << none << ""
                          << "";

        // The window's statements.
        row("message") << none << "Beep();Message(Hi. there);Minimize();"
                       << QStringList{"beep", "message Hi. there", "minimize"} << none << ""
                       << "";
        row("message holding the language's punctuation")
            << none << "Message(a;b) c);" << QStringList{"message a;b) c"} << none << ""
            << "";
        row("code page text") << none << QString::fromLatin1("Message(caf\xE9 \x80);")
                              << QStringList{QStringLiteral(u"message café €")} << none << ""
                              << "";
        row("exit ends everything") << QStringList{"a.txt=A"} << "Exit();Delete(a.txt);"
                                    << QStringList{"exit"} << QStringList{"a.txt=A"} << ""
                                    << "";
        row("start page") << QStringList{"sub/b.qmx=page"} << "StartPage(sub/b.qmx);"
                          << QStringList{"page sub/b.qmx"} << none << ""
                          << "";
        row("missing page") << none << "StartPage(nowhere.qmx);Beep();"
                            << QStringList{"page nowhere.qmx", "beep", "failure box"} << none
                            << "no page there"
                            << "";
        // After StartPage, relative names are taken from the new page's folder.
        row("names follow the shown page")
            << QStringList{"sub/b.qmx=page", "x.txt=top", "sub/x.txt=sub"}
            << "StartPage(sub/b.qmx);Delete(x.txt);" << QStringList{"page sub/b.qmx"}
            << QStringList{"x.txt=top", "!sub/x.txt"} << ""
            << "";

        // Programs and documents.
        row("shell document") << QStringList{"notes.txt=N"} << "Shell(notes.txt);"
                              << QStringList{"open notes.txt"} << none << ""
                              << "";
        row("shell missing program")
            << none << "Shell(calc.exe);" << none << none << "no program calc.exe"
            << "";
        row("shell empty") << none << "Shell( );" << none << none << ""
                           << "no program named; skipped";

        // Devices, and what happens without them.
        row("sound and music") << QStringList{"s.wav=RIFF", "m.mid=MThd"}
                               << "Wav(s.wav);Midi(m.mid);PauseMidi();StopMidi();"
                               << QStringList{"sound s.wav", "midi m.mid", "midi pause",
                                              "midi stop"}
                               << none << ""
                               << "";
        row("missing sound file") << none << "Wav(s.wav);" << none << none << "s.wav does not exist"
                                  << "";
        row("cd") << none << "CDEject();PlayCD();NextCD();PrevCD();StopCD();"
                  << QStringList{"cd eject", "cd play", "cd next", "cd previous", "cd stop"} << none
                  << ""
                  << "";

        row("wait with a word") << none << "Wait(soon);Beep();"
                                << QStringList{"beep", "failure box"} << none
                                << "\"soon\" is not a number"
                                << "";
        row("negative wait") << none << "Wait(-5);" << none << none << "is not a number"
                             << "";
    }
    void CarriesOutTheStatements() {
        QFETCH(QStringList, before);
        QFETCH(QString, action);
        QFETCH(QStringList, events);
        QFETCH(QStringList, after);
        QFETCH(QString, failure);
        QFETCH(QString, note);
        Bench bench;
        MakeEntries(bench.root(), before);
        QVERIFY(bench.RunToEnd(action.toLatin1().toStdString()));

        QStringList expected = events;
        if (!failure.isEmpty() && !expected.contains(QStringLiteral("failure box"))) {
            expected << QStringLiteral("failure box");
        }
        QCOMPARE(bench.log.lines(), expected);
        QCOMPARE(bench.host.failures().size(), failure.isEmpty() ? 0 : 1);
        if (!failure.isEmpty()) {
            QVERIFY2(bench.host.failures().front().contains(failure),
                     qPrintable(bench.host.failures().front()));
        }
        if (!note.isEmpty()) {
            QVERIFY2(bench.notes.join(u'\n').contains(note), qPrintable(bench.notes.join(u'\n')));
        }
        CheckEntries(bench.root(), after);
    }

    // Every statement name of the language has its handler, and no other name has.
    void EveryStatementHasAHandler() {
        for (const quom::ActionWord& word : quom::kActionVocabulary) {
            QVERIFY2(quom::FindStatement(word.name) != nullptr, word.name.data());
        }
        QCOMPARE(quom::StatementTable().size(), quom::kActionVocabulary.size());
    }

    // A name outside the page's folder is carried out too: the page's author meant it.
    void AbsoluteNamesLeaveThePageFolder() {
        Bench bench;
        QTemporaryDir elsewhere;
        const QString target = QDir(elsewhere.path()).filePath(QStringLiteral("made"));
        QVERIFY(bench.RunToEnd("Mkdir(" + target.toStdString() + ");"));
        QVERIFY(QFileInfo(target).isDir());
    }

    void ShellStartsProgramsWithTheirArguments() {
        Bench bench;
        MakeEntries(bench.root(), {"tool=#!/bin/sh"});
        QFile(bench.root().filePath(QStringLiteral("tool")))
            .setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        QVERIFY(bench.RunToEnd("Shell(tool);Shell(tool one \"two words\");"));
        QCOMPARE(bench.log.lines(),
                 (QStringList{"start tool [] in .", "start tool [one|two words] in ."}));
    }

    // Wait holds the statements after it without holding the event loop.
    void WaitKeepsTheWindowResponsive() {
        Bench bench;
        int ticks = 0;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
        ticker.start(10);
        QElapsedTimer clock;
        clock.start();
        bench.runner.Run(QStringLiteral("Button1"), "Wait(300);Beep();");
        QTRY_VERIFY_WITH_TIMEOUT(ticks >= 5, 250);
        QVERIFY(bench.log.lines().isEmpty());
        QVERIFY(bench.WaitIdle());
        QVERIFY(clock.elapsed() >= 300);
        QCOMPARE(bench.log.lines(), QStringList{"beep"});
    }

    // WaitWav goes on only when the sound is over; Wav does not wait.
    void WaitWavHoldsTheFollowingStatements() {
        Bench bench;
        MakeEntries(bench.root(), {"s.wav=RIFF"});
        bench.runner.Run(QStringLiteral("Button1"), "WaitWav(s.wav);Beep();");
        QTRY_VERIFY(bench.sound.playing());
        QTest::qWait(50);
        QCOMPARE(bench.log.lines(), QStringList{"sound s.wav"});
        bench.sound.EndSound({});
        QVERIFY(bench.WaitIdle());
        QCOMPARE(bench.log.lines(), (QStringList{"sound s.wav", "beep"}));
    }

    void WaitWavReportsASoundThatCannotPlay() {
        Bench bench;
        MakeEntries(bench.root(), {"s.wav=junk"});
        bench.runner.Run(QStringLiteral("Button1"), "WaitWav(s.wav);Beep();");
        QTRY_VERIFY(bench.sound.playing());
        bench.sound.EndSound(QStringLiteral("not a wave"));
        QVERIFY(bench.WaitIdle());
        QCOMPARE(bench.log.lines(), (QStringList{"sound s.wav", "beep", "failure box"}));
        QVERIFY(bench.host.failures().front().contains(QStringLiteral("not a wave")));
    }

    // Without a sound output or a drive the statement is skipped with one note.
    void MissingDevicesSkipTheStatement() {
        Bench bench;
        bench.sound.available = false;
        bench.cd.present = false;
        MakeEntries(bench.root(), {"s.wav=RIFF"});
        QVERIFY(bench.RunToEnd("WaitWav(s.wav);Wav(s.wav);CDEject();Beep();"));
        QCOMPARE(bench.log.lines(), QStringList{"beep"});
        QCOMPARE(bench.notes, (QStringList{"WaitWav(s.wav): no sound output; skipped",
                                           "Wav(s.wav): no sound output; skipped",
                                           "CDEject(): no CD drive; skipped"}));
    }

    // A message box holds the action until it is closed; the window goes on.
    void MessageWaitsForItsBox() {
        Bench bench;
        bench.host.hold_boxes = true;
        bench.runner.Run(QStringLiteral("Button1"), "Message(one);Message(two);");
        QTRY_COMPARE(bench.host.open_boxes(), std::size_t{1});
        QTest::qWait(30);
        QCOMPARE(bench.log.lines(), QStringList{"message one"});
        bench.host.CloseBox();
        QTRY_COMPARE(bench.host.open_boxes(), std::size_t{1});
        bench.host.CloseBox();
        QVERIFY(bench.WaitIdle());
        QCOMPARE(bench.log.lines(), (QStringList{"message one", "message two"}));
    }

    // Clicks made while an action runs wait their turn; each action starts without
    // the Copy1 and Copy2 files of the one before.
    void ActionsRunInTurn() {
        Bench bench;
        MakeEntries(bench.root(), {"a.txt=A"});
        bench.runner.Run(QStringLiteral("Button1"), "Wait(50);Beep();Copy1(a.txt);Copy2(b.txt);");
        bench.runner.Run(QStringLiteral("Button2"), "Minimize();CopyDone();");
        QVERIFY(bench.WaitIdle());
        QCOMPARE(bench.log.lines(), (QStringList{"beep", "minimize", "failure box"}));
        QVERIFY(bench.host.failures().front().contains(QStringLiteral("Button2")));
        QVERIFY(!QFileInfo::exists(bench.root().filePath(QStringLiteral("b.txt"))));
    }

    // Every failure of one action comes in one box; each is also noted.
    void FailuresComeInOneBox() {
        Bench bench;
        QVERIFY(bench.RunToEnd("Delete(a);Delete(b);Delete(c);"));
        QCOMPARE(bench.host.failures().size(), 1);
        QCOMPARE(bench.host.failures().front().count(QStringLiteral("does not exist")), 3);
        QCOMPARE(bench.notes.size(), 3);
    }

    // After Exit nothing more is run, also actions clicked later.
    void NothingRunsAfterExit() {
        Bench bench;
        QVERIFY(bench.RunToEnd("Exit();"));
        bench.runner.Run(QStringLiteral("Button2"), "Beep();");
        QTest::qWait(50);
        QCOMPARE(bench.log.lines(), QStringList{"exit"});
    }
};

QTEST_MAIN(ActionRunnerTest)
#include "action_runner_test.moc"
