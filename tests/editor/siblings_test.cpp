// Test, Help and Compile: the folders below the program folder and the programs
// started there.
#include <QDir>
#include <QFileInfo>
#include <QTest>

#include "editor_fixture.h"
#include "metafile_bytes.h"
#include "model_text.h"
#include "page_file.h"

using quom::ItemKind;
using quom_test::EditorFixture;

namespace {

// How long a started stand-in gets to leave its record.
constexpr int kStartTimeoutMs = 5000;
// How long to wait before concluding that nothing was started.
constexpr int kQuietMs = 300;

QString Canonical(const QString& folder) {
    return QDir(folder).canonicalPath();
}

QString RecordedFolder(const QString& record) {
    return QString::fromStdString(quom_test::ReadBytes(record)).trimmed();
}

}  // namespace

class SiblingsTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
#ifdef Q_OS_WIN
        QSKIP("the stand-in programs are shell scripts");
#endif
    }

    void TestWritesThePageAndItsPicturesThenStartsThePlayerThere() {
        EditorFixture editor;
        const QDir test_folder(editor.program_folder() + QStringLiteral("/temp"));
        QDir().mkpath(test_folder.path());
        const QString record = editor.Scratch(QStringLiteral("ran"));
        editor.WriteStandIn(test_folder.filePath(QStringLiteral("run.exe")), record);
        quom_test::WriteBytes(test_folder.filePath(QStringLiteral("old.bmp")), "left from before");

        quom::PageItem& picture = editor.page().Item(ItemKind::Picture, 3);
        const QString source = editor.Scratch(QStringLiteral("art.emf"));
        quom_test::WriteBytes(source, quom_test::RedRectangleEmf());
        picture.picture = quom::LoadPictureFile(quom::ToPath(source), "art.emf");
        picture.slot_text = "art.emf";
        editor.page().Item(ItemKind::Button, 2).top = 5;
        editor.form1()->SpeedButton2Click();

        QVERIFY(editor.Errors().empty());
        QCOMPARE(quom_test::ReadBytes(test_folder.filePath(QStringLiteral("firstpag.qmx"))),
                 quom::FormatPageFile(editor.page()));
        QCOMPARE(quom_test::ReadBytes(test_folder.filePath(QStringLiteral("art.emf"))),
                 quom_test::RedRectangleEmf());
        QVERIFY(QFileInfo::exists(test_folder.filePath(QStringLiteral("old.bmp"))));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(record), kStartTimeoutMs);
        QTRY_COMPARE_WITH_TIMEOUT(RecordedFolder(record), Canonical(test_folder.path()),
                                  kStartTimeoutMs);
        QCOMPARE(QDir::current().canonicalPath(), Canonical(test_folder.path()));
        QVERIFY(editor.dialogs().shown.empty());
    }

    void TestWithoutTheTestFolderStartsNothing() {
        EditorFixture editor;
        const QString record = editor.Scratch(QStringLiteral("ran"));
        editor.WriteStandIn(editor.program_folder() + QStringLiteral("/run.exe"), record);
        editor.form1()->SpeedButton2Click();
        QCOMPARE(editor.Errors(), std::vector<QString>{QStringLiteral("Invalid filename.")});
        QTest::qWait(kQuietMs);
        QVERIFY(!QFileInfo::exists(record));
    }

    void HelpAndCompileWithoutTheirFolderShowFileNotFound_data() {
        QTest::addColumn<int>("command");  // 0 Help, 1 Compile
        QTest::addColumn<QString>("program");
        QTest::newRow("help") << 0 << "help.exe";
        QTest::newRow("compile") << 1 << "comp.exe";
    }
    void HelpAndCompileWithoutTheirFolderShowFileNotFound() {
        QFETCH(int, command);
        QFETCH(QString, program);
        EditorFixture editor;
        // A program in the program folder would be found first: it must not start
        // when its folder cannot be entered.
        const QString record = editor.Scratch(QStringLiteral("ran"));
        editor.WriteStandIn(editor.program_folder() + u'/' + program, record);
        const QString before = QDir::currentPath();
        if (command == 0) {
            editor.form1()->SpeedButton3Click();
        } else {
            editor.form1()->SpeedButton4Click();
        }
        QCOMPARE(editor.Errors(), std::vector<QString>{QStringLiteral("File not found.")});
        QCOMPARE(QDir::currentPath(), before);
        QTest::qWait(kQuietMs);
        QVERIFY(!QFileInfo::exists(record));
    }

    void HelpStartsTheProgramFromTheProgramFolderFirstInTheHelpFolder() {
        EditorFixture editor;
        const QString help_folder = editor.program_folder() + QStringLiteral("/help");
        QDir().mkpath(help_folder);
        const QString record = editor.Scratch(QStringLiteral("ran"));
        const QString wrong = editor.Scratch(QStringLiteral("wrong"));
        editor.WriteStandIn(editor.program_folder() + QStringLiteral("/help.exe"), record);
        editor.WriteStandIn(help_folder + QStringLiteral("/help.exe"), wrong);
        editor.form1()->SpeedButton3Click();
        QVERIFY(editor.Errors().empty());
        QTRY_COMPARE_WITH_TIMEOUT(RecordedFolder(record), Canonical(help_folder), kStartTimeoutMs);
        QVERIFY(!QFileInfo::exists(wrong));
    }

    void CompileWithAnEmptyFolderDoesNothingVisible() {
        EditorFixture editor;
        const QString folder = editor.program_folder() + QStringLiteral("/compiler");
        QDir().mkpath(folder);
        editor.form1()->SpeedButton4Click();
        QVERIFY(editor.dialogs().shown.empty());
        QCOMPARE(QDir::current().canonicalPath(), Canonical(folder));
    }
};

QTEST_MAIN(SiblingsTest)
#include "siblings_test.moc"
