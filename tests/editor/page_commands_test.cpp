// New, Save and Open through the main window with scripted dialogs.
#include <QDir>
#include <QFileInfo>
#include <QTest>

#include "editor_fixture.h"
#include "metafile_bytes.h"
#include "model_text.h"
#include "page_file.h"
#include "picture.h"

using quom::ItemKind;
using quom::ScriptedDialogs;
using quom_test::EditorFixture;

namespace {

quom::Page DefaultPage() {
    quom::Page page;
    page.Reset();
    return page;
}

// Loads bytes as a picture of the kind the name's extension gives.
quom::Picture MakePicture(const QString& folder, const QString& name, const std::string& bytes) {
    const QString file = QDir(folder).filePath(name);
    quom_test::WriteBytes(file, bytes);
    return quom::LoadPictureFile(quom::ToPath(file), name.toStdString());
}

struct PictureCase {
    int id;
    const char* file;
    std::string bytes;
};

std::vector<PictureCase> OneOfEachKind() {
    return {{1, "sun.bmp", quom_test::BitmapFileBytes()},
            {2, "app.ico", quom_test::IconFileBytes()},
            {11, "art.emf", quom_test::RedRectangleEmf()},
            {20, "line.wmf", quom_test::RedRectangleWmf()}};
}

// Gives the page one picture of each kind, loaded from files in folder.
void AddPictures(quom::Page& page, const QString& folder) {
    int top = 10;
    for (const PictureCase& c : OneOfEachKind()) {
        quom::PageItem& item = page.Item(ItemKind::Picture, c.id);
        item.picture = MakePicture(folder, QString::fromLatin1(c.file), c.bytes);
        item.slot_text = c.file;
        item.left = 10;
        item.top = top;
        top += 40;
    }
}

}  // namespace

class PageCommandsTest : public QObject {
    Q_OBJECT

  private slots:
    void NewHidesItemsAndKeepsLeftEdgesSizesAndFonts() {
        EditorFixture editor;
        quom::Page& page = editor.page();
        quom::PageItem& button = page.Item(ItemKind::Button, 4);
        button.top = 30;
        button.left = 12;
        button.width = 90;
        button.caption = "Go";
        button.action = "Beep();";
        button.font_size = 14;
        page.Item(ItemKind::Picture, 5).slot_text = "sun.bmp";
        page.Item(ItemKind::Picture, 5).picture = quom::Picture{};
        editor.form1()->EmptyButton1Click();

        QCOMPARE(button.top, -200);
        QCOMPARE(button.caption, std::string("Button4"));
        QCOMPARE(button.action, std::string("NONE();"));
        QCOMPARE(button.left, 12);
        QCOMPARE(button.width, 90);
        QCOMPARE(button.font_size, 14);
        QVERIFY(!page.Item(ItemKind::Picture, 5).HasSlotFile());
        QVERIFY(page.Item(ItemKind::Picture, 5).picture == quom::PlaceholderPicture());
        // The widgets follow the model.
        quom::ItemButton* widget = editor.form1()->Panel1()->Button(4);
        QCOMPARE(widget->geometry(), QRect(12, -200, 90, 41));
        QCOMPARE(widget->caption(), QStringLiteral("Button4"));
        QCOMPARE(editor.form1()->Panel1()->Slot(5)->text(), QStringLiteral("Label14"));
        QVERIFY(editor.Errors().empty());
    }

    void SaveRightAfterStartWritesTheDefaultPage() {
        EditorFixture editor;
        editor.dialogs().files.push_back(editor.Scratch(QStringLiteral("page")));
        editor.form1()->EmptyButton3Click();

        QCOMPARE(editor.dialogs().last_file_dialog.title, QStringLiteral("Save Page"));
        QCOMPARE(editor.dialogs().last_file_dialog.filter,
                 QStringLiteral("Visual Quom++ Page|*.qmx"));
        const std::string written =
            quom_test::ReadBytes(editor.Scratch(QStringLiteral("page.qmx")));
        QCOMPARE(written, quom::FormatPageFile(DefaultPage()));
        const std::vector<std::string> lines = quom_test::PageLines(DefaultPage());
        QCOMPARE(lines.size(), std::size_t{343});
        const struct {
            int line;
            const char* text;
        } spot[] = {{1, "Button1"},   {20, "Label0"},       {21, "320"},  {41, "-200"},
                    {61, "NONE();"},  {111, "Label10"},     {121, "329"}, {122, "241"},
                    {123, "65"},      {153, "-2147483633"}, {154, "10"},  {204, "Button01"},
                    {314, "Label20"}, {323, "Label29"},     {343, "41"}};
        for (const auto& s : spot) QCOMPARE(lines[s.line - 1], std::string(s.text));
        // No picture file, and the dialog left its folder current.
        QCOMPARE(QDir(editor.Scratch(QString())).entryList(QDir::Files),
                 QStringList{QStringLiteral("page.qmx")});
        QCOMPARE(QDir::current().canonicalPath(), QDir(editor.Scratch(QString())).canonicalPath());
        QVERIFY(editor.Errors().empty());
    }

    void SaveCancelledWritesNothing() {
        EditorFixture editor;
        editor.form1()->EmptyButton3Click();
        QVERIFY(QDir(editor.Scratch(QString())).entryList(QDir::Files).isEmpty());
        QVERIFY(editor.Errors().empty());
    }

    void SaveWritesEachPictureUnderItsSlotName() {
        EditorFixture editor;
        const QString source = editor.Scratch(QStringLiteral("art"));
        QDir().mkpath(source);
        AddPictures(editor.page(), source);
        const QString target = editor.Scratch(QStringLiteral("out"));
        QDir().mkpath(target);
        editor.dialogs().files.push_back(QDir(target).filePath(QStringLiteral("page")));
        editor.form1()->EmptyButton3Click();

        QVERIFY(editor.Errors().empty());
        for (const PictureCase& c : OneOfEachKind()) {
            QVERIFY2(
                quom_test::ReadBytes(QDir(target).filePath(QString::fromLatin1(c.file))) == c.bytes,
                c.file);
        }
        QCOMPARE(QDir(target).entryList(QDir::Files).size(), 5);
    }

    void SaveAsksBeforeReplacingTheFileItWrites_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("asked_about");  // empty: no question
        QTest::addColumn<QString>("written");      // empty: nothing written
        QTest::newRow("new name gets the extension") << "fresh" << 0 << ""
                                                     << "fresh.qmx";
        QTest::newRow("new name with extension gets another") << "fresh.qmx" << 0 << ""
                                                              << "fresh.qmx.qmx";
        QTest::newRow("existing name typed in full, Yes")
            << "page.qmx" << int(quom::Answer::Yes) << "page.qmx"
            << "page.qmx";
        QTest::newRow("existing name typed in full, No")
            << "page.qmx" << int(quom::Answer::No) << "page.qmx"
            << "";
        // Typing the name without ".qmx" still replaces page.qmx: that is asked too.
        QTest::newRow("extension left off, Yes") << "page" << int(quom::Answer::Yes) << "page.qmx"
                                                 << "page.qmx";
        QTest::newRow("extension left off, Cancel")
            << "page" << int(quom::Answer::Cancel) << "page.qmx"
            << "";
    }
    void SaveAsksBeforeReplacingTheFileItWrites() {
        QFETCH(QString, typed);
        QFETCH(int, answer);
        QFETCH(QString, asked_about);
        QFETCH(QString, written);
        EditorFixture editor;
        const std::string old_bytes = "an older page\r\n";
        quom_test::WriteBytes(editor.Scratch(QStringLiteral("page.qmx")), old_bytes);
        editor.page().Item(ItemKind::Label, 2).caption = "changed";
        editor.dialogs().files.push_back(editor.Scratch(typed));
        editor.dialogs().confirms.push_back(static_cast<quom::Answer>(answer));
        editor.form1()->EmptyButton3Click();

        const std::vector<QString> asked = editor.dialogs().Texts(ScriptedDialogs::Kind::Confirm);
        if (asked_about.isEmpty()) {
            QVERIFY(asked.empty());
        } else {
            QCOMPARE(asked, std::vector<QString>{QStringLiteral("OK to overwrite ") +
                                                 editor.Scratch(asked_about)});
        }
        const QStringList files = QDir(editor.Scratch(QString())).entryList(QDir::Files);
        if (written.isEmpty()) {
            QCOMPARE(files, QStringList{QStringLiteral("page.qmx")});
            QCOMPARE(quom_test::ReadBytes(editor.Scratch(QStringLiteral("page.qmx"))), old_bytes);
        } else {
            QCOMPARE(quom_test::ReadBytes(editor.Scratch(written)),
                     quom::FormatPageFile(editor.page()));
        }
    }

    void SaveIntoAMissingFolderLeavesNoPageFile() {
        EditorFixture editor;
        editor.dialogs().files.push_back(editor.Scratch(QStringLiteral("gone/page")));
        editor.form1()->EmptyButton3Click();
        QCOMPARE(editor.Errors(), std::vector<QString>{QStringLiteral("Invalid filename.")});
        QVERIFY(!QFileInfo::exists(editor.Scratch(QStringLiteral("gone/page.qmx"))));
    }

    void SavedPageOpensAgainAndLooksTheSame() {
        EditorFixture first;
        quom::Page& page = first.page();
        page.width = 300;
        page.height = 220;
        page.SetColour(quom::RgbColour(0, 128, 128));
        quom::PageItem& button = page.Item(ItemKind::Button, 1);
        button.left = 150;
        button.top = 20;
        button.width = 80;
        button.height = 30;
        button.caption = "Go on";
        button.font_size = 14;
        button.action = "StartPage(next.qmx);";
        quom::PageItem& label = page.Item(ItemKind::Label, 11);
        label.left = 150;
        label.top = 80;
        label.caption = " Hello ";
        label.SetColour(quom::RgbColour(255, 255, 0));
        AddPictures(page, first.Scratch(QString()));
        const QString saved = first.Scratch(QStringLiteral("kept"));
        QDir().mkpath(saved);
        first.dialogs().files.push_back(QDir(saved).filePath(QStringLiteral("page")));
        first.form1()->EmptyButton3Click();
        QVERIFY(first.Errors().empty());

        EditorFixture second;
        second.dialogs().files.push_back(QDir(saved).filePath(QStringLiteral("page.qmx")));
        second.form1()->EmptyButton2Click();

        QVERIFY(second.Errors().empty());
        QCOMPARE(second.dialogs().last_file_dialog.title, QStringLiteral("Open Page"));
        QCOMPARE(quom::FormatPageFile(second.page()), quom::FormatPageFile(page));
        for (const PictureCase& c : OneOfEachKind()) {
            QVERIFY(second.page().Item(ItemKind::Picture, c.id).picture ==
                    page.Item(ItemKind::Picture, c.id).picture);
        }
        quom::DesignSurface* surface = second.form1()->Panel1();
        QCOMPARE(surface->size(), QSize(300, 220));
        QCOMPARE(surface->Button(1)->geometry(), QRect(150, 20, 80, 30));
        QCOMPARE(surface->Label(11)->text(), QStringLiteral(" Hello "));
        QCOMPARE(surface->PictureItem(1)->geometry(), QRect(10, 10, 5, 3));
        QCOMPARE(surface->Slot(20)->text(), QStringLiteral("line.wmf"));
        // The two surfaces draw alike, pixel for pixel.
        QCOMPARE(surface->grab().toImage(), first.form1()->Panel1()->grab().toImage());
    }

    void OpenOfADamagedFileKeepsWhatWasApplied_data() {
        QTest::addColumn<int>("line");  // 1-based line replaced; 0: file cut after line 5
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("bad number") << 21 << "abc"
                                    << "'abc' is not a valid integer value.";
        QTest::newRow("cut short") << 0 << ""
                                   << "'' is not a valid integer value.";
        QTest::newRow("missing picture") << 111 << "gone.bmp"
                                         << "Cannot open file gone.bmp.";
        QTest::newRow("slot without extension") << 111 << "house"
                                                << "Unknown picture file extension (.)";
        QTest::newRow("damaged bitmap") << 111 << "bad.bmp"
                                        << "Bitmap image is not valid.";
        QTest::newRow("damaged metafile") << 111 << "bad.wmf"
                                          << "Metafile is not valid.";
        // A page from elsewhere may name a picture outside its folder: refused, so
        // that neither Open reads nor a later Save writes there.
        QTest::newRow("picture outside the page's folder")
            << 111 << "../bad.bmp"
            << "Picture file ../bad.bmp is not in the page's folder.";
    }
    void OpenOfADamagedFileKeepsWhatWasApplied() {
        QFETCH(int, line);
        QFETCH(QString, text);
        QFETCH(QString, message);
        EditorFixture editor;
        std::vector<std::string> lines = quom_test::PageLines(DefaultPage());
        lines[0] = "Hello";      // Button1 caption: applied before any failure
        lines[100] = "Beep();";  // Picture1 action, just before its slot
        lines[120] = "300";      // page width: never reached
        if (line == 0) {
            lines.resize(5);
        } else {
            lines[line - 1] = text.toStdString();
        }
        quom_test::WriteBytes(editor.Scratch(QStringLiteral("bad.bmp")), "BMjunk");
        quom_test::WriteBytes(editor.Scratch(QStringLiteral("bad.wmf")), "junk");
        const QString file = editor.Scratch(QStringLiteral("damaged.qmx"));
        quom_test::WriteBytes(file, quom_test::JoinLines(lines));
        editor.dialogs().files.push_back(file);
        editor.form1()->EmptyButton2Click();

        QCOMPARE(editor.Errors(), std::vector<QString>{message});
        QCOMPARE(editor.page().Item(ItemKind::Button, 1).caption, std::string("Hello"));
        QCOMPARE(editor.form1()->Panel1()->Button(1)->caption(), QStringLiteral("Hello"));
        QCOMPARE(editor.page().width, 329);
        const quom::PageItem& picture = editor.page().Item(ItemKind::Picture, 1);
        QVERIFY(!picture.HasSlotFile());
        QVERIFY(picture.picture == quom::PlaceholderPicture());
        if (line == 111) QCOMPARE(picture.action, std::string("Beep();"));
        if (line == 0) QCOMPARE(editor.page().Item(ItemKind::Button, 6).caption, std::string());
    }

    void OpenOfAMissingFile() {
        EditorFixture editor;
        quom_test::WriteBytes(editor.Scratch(QStringLiteral("page.qmx")),
                              quom::FormatPageFile(DefaultPage()));
        // The open dialog adds no extension.
        editor.dialogs().files.push_back(editor.Scratch(QStringLiteral("page")));
        editor.form1()->EmptyButton2Click();
        QCOMPARE(editor.Errors(), std::vector<QString>{QStringLiteral("File not found.")});
    }
};

QTEST_MAIN(PageCommandsTest)
#include "page_commands_test.moc"
