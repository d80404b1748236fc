// Choosing items: the tool palette, the component-ID dialog, item clicks, the
// property refresh and the picture tool.
#define QTEST_QPA_MOUSE_HANDLING  // events go where the window system would send them
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "colour_qt.h"
#include "editor_fixture.h"
#include "model_text.h"
#include "picture.h"
#include "shape.h"
#include "tform2.h"

using quom::ItemKind;
using quom::ScriptedDialogs;
using quom::Tool;
using quom_test::EditorFixture;

namespace {

QWidget* Child(QWidget* parent, const char* name) {
    auto* widget = parent->findChild<QWidget*>(QString::fromLatin1(name));
    if (widget == nullptr) qFatal("no widget %s", name);
    return widget;
}

QString TextOf(QWidget* parent, const char* name) {
    QWidget* widget = Child(parent, name);
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text();
    return qobject_cast<QLabel*>(widget)->text();
}

// Clicks where a tool stands on the palette; what takes the click is whatever lies
// there, as for a user.
void ClickPaletteAt(quom::TForm1* form, int tool_left) {
    QTest::mouseClick(form, Qt::LeftButton, {}, QPoint(tool_left + 14, 78));
}

int WindowsShown(const ScriptedDialogs& dialogs, const QString& title) {
    int count = 0;
    for (const auto& shown : dialogs.shown)
        count += shown.kind == ScriptedDialogs::Kind::Window && shown.title == title;
    return count;
}

}  // namespace

class SelectionTest : public QObject {
    Q_OBJECT

  private slots:
    void IdDialogLaysOutTwentyButtonsInTwoRows() {
        EditorFixture editor;
        quom::TForm2* form2 = editor.form2();
        const struct {
            int id;
            QRect geometry;
        } cases[] = {
            {1, {8, 128, 25, 25}},
            {10, {296, 128, 25, 25}},
            {11, {8, 160, 25, 25}},
            {20, {296, 160, 25, 25}},
        };
        for (const auto& c : cases) {
            QCOMPARE(form2->IdButton(c.id)->geometry(), c.geometry);
            QCOMPARE(form2->IdButton(c.id)->text(), QString::number(c.id));
        }
        QVERIFY(Child(form2, "Label1")->isHidden());
        QCOMPARE(TextOf(form2, "Label2"),
                 QStringLiteral("Select the ID of the component you want to create."));
    }

    void ToolAndIdSelectTheItemOfThatKind_data() {
        QTest::addColumn<int>("tool_left");
        QTest::addColumn<int>("tool");
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("prefix");
        QTest::newRow("button tool, ID 10") << 40 << int(Tool::Button) << 10 << "Button0"
                                            << "Button";
        QTest::newRow("button tool, ID 1") << 40 << int(Tool::Button) << 1 << "Button1"
                                           << "Button";
        QTest::newRow("label tool, ID 20") << 72 << int(Tool::Label) << 20 << "Label00"
                                           << "Label";
        QTest::newRow("label tool, ID 13") << 72 << int(Tool::Label) << 13 << "Label03"
                                           << "Label";
        QTest::newRow("picture tool, ID 11") << 104 << int(Tool::Picture) << 11 << "Picture01"
                                             << "Picture";
    }
    void ToolAndIdSelectTheItemOfThatKind() {
        QFETCH(int, tool_left);
        QFETCH(int, tool);
        QFETCH(int, id);
        QFETCH(QString, selected);
        QFETCH(QString, prefix);
        EditorFixture editor;
        quom_test::ShowAndWait(editor.form1());
        QString prefix_shown;
        editor.dialogs().windows.push_back([&](QDialog& dialog) {
            prefix_shown = static_cast<quom::TForm2&>(dialog).KindPrefix();
            quom_test::ClickId(id)(dialog);
        });
        ClickPaletteAt(editor.form1(), tool_left);

        QCOMPARE(prefix_shown, prefix);
        QCOMPARE(editor.form1()->SelectionText(), selected);
        QVERIFY(editor.form1()->Timer1()->isActive());
        QVERIFY(!editor.form2()->isVisible());
        // The tool stays chosen; its raised image is hidden.
        QCOMPARE(int(editor.form1()->tools().Chosen()), tool);
        QVERIFY(editor.form1()->tools().Raised(Tool(tool))->isHidden());
        QVERIFY(!editor.form1()->tools().Raised(Tool::Pointer)->isHidden());
        // The item is selected, not moved: it still waits above the surface.
        const quom::PageItem* item = editor.form1()->SelectedItem();
        QVERIFY(item != nullptr);
        QCOMPARE(item->top, -200);
        QVERIFY(editor.Errors().empty());
    }

    void ChosenToolOpensTheDialogAgainOnlyAfterAnotherChoice() {
        EditorFixture editor;
        quom::TForm1* form = editor.form1();
        quom_test::ShowAndWait(form);
        const QString question = QStringLiteral("Question");
        ClickPaletteAt(form, 40);
        QCOMPARE(WindowsShown(editor.dialogs(), question), 1);
        // The button tool is still chosen: the click meets its pressed image.
        ClickPaletteAt(form, 40);
        QCOMPARE(WindowsShown(editor.dialogs(), question), 1);
        // Choosing the pointer tool makes the button tool clickable again.
        ClickPaletteAt(form, 8);
        QCOMPARE(form->tools().Chosen(), Tool::Pointer);
        ClickPaletteAt(form, 40);
        QCOMPARE(WindowsShown(editor.dialogs(), question), 2);
        // So does a press on the design surface.
        QTest::mousePress(form->Panel1(), Qt::LeftButton, {}, QPoint(100, 100));
        QTest::mouseRelease(form->Panel1(), Qt::LeftButton, {}, QPoint(100, 100));
        QCOMPARE(form->tools().Chosen(), Tool::Pointer);
        ClickPaletteAt(form, 40);
        QCOMPARE(WindowsShown(editor.dialogs(), question), 3);
    }

    void ClosingTheIdDialogKeepsTheSelectionAndStartsNoRefresh() {
        EditorFixture editor;
        quom::TForm1* form = editor.form1();
        quom_test::ShowAndWait(form);
        quom_test::SelectAndRefresh(form, "Button2");
        ClickPaletteAt(form, 72);  // no step: the dialog is closed with its close box
        QCOMPARE(form->SelectionText(), QStringLiteral("Button2"));
        QVERIFY(!form->Timer1()->isActive());
        QCOMPARE(form->tools().Chosen(), Tool::Label);
    }

    // Each selection is followed by its refresh; fields the selected kind lacks keep
    // what the item before put there.
    void RefreshFillsOnlyTheFieldsOfTheSelectedKind_data() {
        QTest::addColumn<QStringList>("selections");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QColor>("swatch");
        QTest::addColumn<QString>("font_size");
        const QColor silver(0xC0, 0xC0, 0xC0);
        const QColor red(255, 0, 0);
        QTest::newRow("button") << QStringList{"Button5"} << "Go"
                                << "Beep();" << silver << "14";
        QTest::newRow("label") << QStringList{"Label7"} << "Hi"
                               << "Exit();" << red << "20";
        QTest::newRow("picture alone") << QStringList{"Picture3"} << ""
                                       << "Wait(1);" << silver << "8";
        QTest::newRow("picture after a label") << QStringList{"Label7", "Picture3"} << "Hi"
                                               << "Wait(1);" << red << "20";
        QTest::newRow("button after a label") << QStringList{"Label7", "Button5"} << "Go"
                                              << "Beep();" << red << "14";
        QTest::newRow("a fresh item shows its defaults")
            << QStringList{"Label7", "Button01"} << "Button01"
            << "NONE();" << red << "10";
    }
    void RefreshFillsOnlyTheFieldsOfTheSelectedKind() {
        QFETCH(QStringList, selections);
        QFETCH(QString, caption);
        QFETCH(QString, action);
        QFETCH(QColor, swatch);
        QFETCH(QString, font_size);
        EditorFixture editor;
        quom::Page& page = editor.page();
        quom::PageItem& button = page.Item(ItemKind::Button, 5);
        button.caption = "Go";
        button.action = "Beep();";
        button.font_size = 14;
        quom::PageItem& label = page.Item(ItemKind::Label, 7);
        label.caption = "Hi";
        label.action = "Exit();";
        label.font_size = 20;
        label.SetColour(quom::RgbColour(255, 0, 0));
        page.Item(ItemKind::Picture, 3).action = "Wait(1);";
        for (const QString& name : selections)
            quom_test::SelectAndRefresh(editor.form1(), qPrintable(name));

        quom::TForm1* form = editor.form1();
        QCOMPARE(TextOf(form, "Edit1"), caption);
        QCOMPARE(TextOf(form, "Label3D4"), action);
        QCOMPARE(form->findChild<quom::Shape*>(QStringLiteral("Shape1"))->fill(), swatch);
        QCOMPARE(TextOf(form, "Label26"), font_size);
    }

    void SelectionsWithinOneIntervalGiveOneRefresh() {
        EditorFixture editor;
        quom::TForm1* form = editor.form1();
        QCOMPARE(form->Timer1()->interval(), 100);
        QVERIFY(!form->Timer1()->isActive());
        editor.page().Item(ItemKind::Label, 7).caption = "Hi";
        QSignalSpy refreshes(form->Timer1(), &QTimer::timeout);
        form->Select(QStringLiteral("Button5"));
        form->Select(QStringLiteral("Label7"));
        QTest::qWait(350);
        QCOMPARE(refreshes.count(), 1);
        QCOMPARE(TextOf(form, "Edit1"), QStringLiteral("Hi"));
        QVERIFY(!form->Timer1()->isActive());
    }

    // A click on an item selects it and never moves it, whatever the palette shows.
    void ClickingAnItemSelectsItWithoutMovingIt_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<QPoint>("release_at");  // in the item
        QTest::addColumn<QString>("selected");
        QTest::newRow("left click") << int(Qt::LeftButton) << QPoint(5, 5) << "Label4";
        QTest::newRow("released off the item")
            << int(Qt::LeftButton) << QPoint(-30, 5) << "Button2";
        QTest::newRow("right click") << int(Qt::RightButton) << QPoint(5, 5) << "Button2";
    }
    void ClickingAnItemSelectsItWithoutMovingIt() {
        QFETCH(int, button);
        QFETCH(QPoint, release_at);
        QFETCH(QString, selected);
        EditorFixture editor;
        quom::TForm1* form = editor.form1();
        quom_test::ShowAndWait(form);
        quom::PageItem& label = editor.page().Item(ItemKind::Label, 4);
        label.left = 60;
        label.top = 40;
        form->Panel1()->Mirror();
        quom_test::SelectAndRefresh(form, "Button2");
        ClickPaletteAt(form, 40);  // the button tool stays chosen: no ID is picked

        QWidget* widget = form->Panel1()->Label(4);
        QTest::mousePress(widget, Qt::MouseButton(button), {}, QPoint(5, 5));
        QTest::mouseRelease(widget, Qt::MouseButton(button), {}, release_at);

        QCOMPARE(form->SelectionText(), selected);
        QCOMPARE(QPoint(label.left, label.top), QPoint(60, 40));
        QCOMPARE(widget->pos(), QPoint(60, 40));
        QCOMPARE(form->tools().Chosen(), Tool::Button);
        QVERIFY(!form->Dragging());
    }

    void PictureDialogIsSetUpAsTheToolNeedsIt() {
        EditorFixture editor;
        const quom::FileDialogSetup& po = editor.form1()->po();
        QCOMPARE(po.title, QStringLiteral("Select Picture"));
        QCOMPARE(po.filter,
                 QStringLiteral("All (*.bmp;*.ico;*.emf;*.wmf)|*.bmp;*.ico;*.emf;*.wmf|"
                                "Bitmaps (*.bmp)|*.bmp|Icons (*.ico)|*.ico|"
                                "Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf"));
        QVERIFY(po.preview);
    }

    // The picture tool: ID dialog (an ID, or closed), then the picture dialog (a
    // file, or cancelled). Picture2 starts with a picture of its own.
    void PictureToolLoadsIntoTheSelectedPicture_data() {
        QTest::addColumn<QString>("selected_before");
        QTest::addColumn<int>("id");          // 0: ID dialog closed with its close box
        QTest::addColumn<QString>("file");    // in a folder of its own; empty: cancelled
        QTest::addColumn<int>("changed_id");  // picture that takes the file; 0: none
        QTest::addColumn<QString>("error");
        QTest::newRow("bitmap from another folder") << "Button1" << 11 << "sun.bmp" << 11 << "";
        QTest::newRow("dialog cancelled") << "Button1" << 11 << "" << 0 << "";
        QTest::newRow("no ID, a button selected") << "Button1" << 0 << "sun.bmp" << 0 << "";
        QTest::newRow("no ID, a picture selected before")
            << "Picture2" << 0 << "sun.bmp" << 2 << "";
        QTest::newRow("damaged bitmap")
            << "Button1" << 2 << "bad.bmp" << 0 << "Bitmap image is not valid.";
        QTest::newRow("unknown extension")
            << "Button1" << 2 << "sun.txt" << 0 << "Unknown picture file extension (.txt)";
        QTest::newRow("missing file")
            << "Button1" << 2 << "gone.bmp" << 0 << "Cannot open file %1.";
#ifndef Q_OS_WIN
        QTest::newRow("name that reads as a folder elsewhere")
            << "Button1" << 2 << "art\\sun.bmp" << 0
            << "Picture file art\\sun.bmp is not in the page's folder.";
#endif
    }
    void PictureToolLoadsIntoTheSelectedPicture() {
        QFETCH(QString, selected_before);
        QFETCH(int, id);
        QFETCH(QString, file);
        QFETCH(int, changed_id);
        QFETCH(QString, error);
        EditorFixture editor;
        quom::TForm1* form = editor.form1();
        quom_test::ShowAndWait(form);
        const QString art = editor.Scratch(QStringLiteral("art"));
        QDir().mkpath(art);
        for (const char* name : {"sun.bmp", "sun.txt", "art\\sun.bmp"})
            quom_test::WriteBytes(QDir(art).filePath(QString::fromLatin1(name)),
                                  quom_test::BitmapFileBytes());
        quom_test::WriteBytes(QDir(art).filePath(QStringLiteral("bad.bmp")), "BMjunk");
        quom_test::WriteBytes(editor.Scratch(QStringLiteral("old.ico")),
                              quom_test::IconFileBytes());
        quom::PageItem& picture2 = editor.page().Item(ItemKind::Picture, 2);
        picture2.picture =
            quom::LoadPictureFile(quom::ToPath(editor.Scratch(QStringLiteral("old.ico"))), "");
        picture2.slot_text = "old.ico";
        form->Panel1()->Mirror();
        const quom::Page before = editor.page();
        quom_test::SelectAndRefresh(form, qPrintable(selected_before));
        if (id != 0) editor.dialogs().windows.push_back(quom_test::ClickId(id));
        const QString chosen = QDir(art).filePath(file);
        if (!file.isEmpty()) editor.dialogs().files.push_back(chosen);
        ClickPaletteAt(form, 104);

        const auto shown = editor.dialogs().shown;
        QVERIFY(shown.size() >= 2);
        QCOMPARE(shown[1].kind, ScriptedDialogs::Kind::OpenFile);
        QCOMPARE(shown[1].title, QStringLiteral("Select Picture"));
        if (error.contains(QStringLiteral("%1"))) error = error.arg(chosen);
        QCOMPARE(editor.Errors(),
                 error.isEmpty() ? std::vector<QString>{} : std::vector<QString>{error});
        for (int n = 1; n <= quom::kItemsPerKind; ++n) {
            const quom::PageItem& now = editor.page().Item(ItemKind::Picture, n);
            const quom::PageItem& old = before.Item(ItemKind::Picture, n);
            if (n != changed_id) {
                QVERIFY2(now.picture == old.picture && now.slot_text == old.slot_text,
                         qPrintable(QString::number(n)));
                continue;
            }
            // Only the bare name goes into the slot; the item shows the picture at once.
            QCOMPARE(now.slot_text, std::string("sun.bmp"));
            QCOMPARE(now.picture.bytes, quom_test::BitmapFileBytes());
            QCOMPARE(form->Panel1()->PictureItem(n)->size(), QSize(5, 3));
            QCOMPARE(form->Panel1()->Slot(n)->text(), QStringLiteral("sun.bmp"));
        }
        // Nothing is written until the page is saved.
        QCOMPARE(QDir(art).entryList(QDir::Files).size(), 4);
        QCOMPARE(QDir(editor.Scratch(QString())).entryList(QDir::Files),
                 QStringList{QStringLiteral("old.ico")});
    }
};

QTEST_MAIN(SelectionTest)
#include "selection_test.moc"
