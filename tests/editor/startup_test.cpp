// The editor as it starts: its windows, the main window's layout, the items on the
// design surface, and the rules for the program folder and the error box text.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "editor_fixture.h"
#include "error_handler.h"
#include "program_folder.h"
#include "speed_button.h"

using quom::ItemKind;

class StartupTest : public QObject {
    Q_OBJECT

  private:
    template <typename T = QWidget>
    T* Find(QWidget* parent, const char* name) {
        T* widget = parent->findChild<T*>(QString::fromLatin1(name));
        if (widget == nullptr) qFatal("no widget %s", name);
        return widget;
    }

  private slots:
    void DialogsHaveTheirCaptionsAndFixedSizes() {
        quom_test::EditorFixture editor;
        quom::EditorWindows windows(editor.dialogs());
        const struct {
            QWidget* window;
            const char* caption;
            int width, height;
        } cases[] = {
            {windows.form2(), "Question", 329, 208},
            {windows.form3(), "About Visual Quom++", 281, 164},
            {windows.form4(), "Select size", 430, 267},
            {windows.form5(), "On Click Event", 405, 275},
        };
        QCOMPARE(windows.form1()->windowTitle(), QStringLiteral("Visual Quom++"));
        for (const auto& c : cases) {
            QCOMPARE(c.window->windowTitle(), QString::fromLatin1(c.caption));
            QCOMPARE(c.window->minimumSize(), QSize(c.width, c.height));
            QCOMPARE(c.window->maximumSize(), QSize(c.width, c.height));
            QVERIFY(!c.window->isVisible());
        }
    }

    void MainWindowLayoutMatchesTheTable() {
        quom_test::EditorFixture editor;
        quom::TForm1* form = editor.form1();
        QCOMPARE(form->size(), QSize(560, 394));
        const struct {
            const char* name;
            QRect geometry;  // in the main window's client area
        } cases[] = {
            {"EmptyButton1", {8, 8, 65, 41}},     {"EmptyButton2", {72, 8, 65, 41}},
            {"SpeedButton4", {328, 8, 65, 41}},   {"SpeedButton5", {413, 8, 65, 41}},
            {"EmptyButton6", {485, 8, 65, 41}},   {"Image1", {8, 64, 28, 28}},
            {"Image18", {104, 64, 28, 28}},       {"Edit1", {8, 144, 161, 21}},
            {"SpeedButton6", {8, 168, 161, 17}},  {"ComboBox1", {8, 224, 137, 21}},
            {"SpeedButton7", {152, 224, 17, 17}}, {"Shape1", {40, 248, 105, 17}},
            {"SpeedButton11", {8, 320, 161, 17}}, {"Panel1", {184, 64, 329, 241}},
        };
        for (const auto& c : cases) {
            QWidget* widget = Find(form, c.name);
            const QRect actual(widget->mapTo(form, QPoint(0, 0)), widget->size());
            QVERIFY2(actual == c.geometry, c.name);
        }
        QCOMPARE(Find(form, "sel")->pos(), QPoint(8, 104));
        QCOMPARE(Find(form, "sel")->width(), 161);
        QCOMPARE(Find(form, "Label26")->geometry().topLeft(), QPoint(72, 272));
        QCOMPARE(Find(form, "Label20")->pos(), QPoint(56, 352));
        QCOMPARE(Find(form, "Label21")->pos(), QPoint(32, 368));
    }

    void PanelThreeStaysAtTheRightEdge() {
        quom_test::EditorFixture editor;
        quom::TForm1* form = editor.form1();
        form->show();
        form->resize(700, 500);
        QCOMPARE(Find(form, "SpeedButton5")->mapTo(form, QPoint(0, 0)), QPoint(700 - 147, 8));
        QCOMPARE(Find(form, "EmptyButton6")->mapTo(form, QPoint(0, 0)), QPoint(700 - 75, 8));
        QCOMPARE(Find(form, "Panel1")->pos(), QPoint(184, 64));
    }

    void StartingTextsAndStates() {
        quom_test::EditorFixture editor;
        quom::TForm1* form = editor.form1();
        const struct {
            const char* name;
            const char* caption;
        } buttons[] = {
            {"EmptyButton1", "&New"},   {"EmptyButton2", "&Open"}, {"EmptyButton3", "&Save"},
            {"SpeedButton2", "&Test"},  {"SpeedButton3", "&Help"}, {"SpeedButton4", "&Compile"},
            {"SpeedButton5", "&About"}, {"EmptyButton6", "&Exit"},
        };
        for (const auto& b : buttons) {
            auto* button = Find<quom::SpeedButton>(form, b.name);
            QCOMPARE(button->text(), QString::fromLatin1(b.caption));
            QCOMPARE(button->focusPolicy(), Qt::NoFocus);
            QCOMPARE(button->glyph().size(), QSize(16, 16));
        }
        QCOMPARE(Find<QLabel>(form, "sel")->text(), QStringLiteral("No Item Selected"));
        QCOMPARE(Find<QLabel>(form, "Label3D4")->text(), QStringLiteral("NONE();"));
        QVERIFY(Find(form, "Label3D4")->isHidden());
        QCOMPARE(Find<QLabel>(form, "Label26")->text(), QStringLiteral("8"));
        QVERIFY(Find<QLineEdit>(form, "Edit1")->text().isEmpty());
        auto* combo = Find<QComboBox>(form, "ComboBox1");
        QCOMPARE(combo->count(), 22);
        QCOMPARE(combo->itemText(1), QStringLiteral("Start Page"));
        QVERIFY(combo->currentText().isEmpty());
        // The pointer tool shows as chosen: its raised image is hidden.
        QVERIFY(Find(form, "Image1")->isHidden());
        QVERIFY(!Find(form, "Image3")->isHidden());
        QCOMPARE(form->cursor().shape(), Qt::SizeAllCursor);
        QCOMPARE(Find(form, "Panel1")->cursor().shape(), Qt::CrossCursor);
        QCOMPARE(Find(form, "Image8")->cursor().shape(), Qt::ArrowCursor);
        for (const QWidget* widget : form->findChildren<QWidget*>()) {
            QVERIFY2(widget->toolTip().isEmpty(), qPrintable(widget->objectName()));
        }
    }

    void SurfaceHoldsEveryItemAndSlotAsWidgets() {
        quom_test::EditorFixture editor;
        QWidget* surface = editor.form1()->Panel1();
        for (ItemKind kind : quom::kAllKinds) {
            for (int id = 1; id <= quom::kItemsPerKind; ++id) {
                const QString name = QString::fromStdString(quom::ItemName(kind, id));
                auto* item = surface->findChild<QWidget*>(name);
                QVERIFY2(item != nullptr, qPrintable(name));
                QCOMPARE(item->y(), -200);
                QCOMPARE(item->x(), quom::DefaultLeft(kind, id));
                QCOMPARE(item->cursor().shape(), Qt::PointingHandCursor);
            }
            const QString slot =
                QString::fromStdString(quom::SlotWidgetName(kind == ItemKind::Button ? 1 : 11));
            QVERIFY(surface->findChild<QLabel*>(slot)->isHidden());
        }
        QCOMPARE(surface->findChild<QLabel*>(QStringLiteral("Label10"))->text(),
                 QStringLiteral("Label10"));
        QCOMPARE(surface->findChild<QLabel*>(QStringLiteral("Label27"))->text(),
                 QStringLiteral("Label20"));
        // A hidden picture lies beneath every button and label.
        QWidget* picture = surface->findChild<QWidget*>(QStringLiteral("Picture1"));
        QCOMPARE(picture->size(), QSize(28, 28));
        const QObjectList& children = surface->children();
        QVERIFY(children.indexOf(picture) <
                children.indexOf(surface->findChild<QWidget*>("Button1")));
    }

    void AltAcceleratorPressesItsButton() {
        quom_test::EditorFixture editor;
        quom::TForm1* form = editor.form1();
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form));
        editor.page().Item(ItemKind::Button, 3).top = 10;
        form->Panel1()->Mirror();
        QTest::keyClick(form, Qt::Key_N, Qt::AltModifier);
        QTRY_COMPARE(editor.page().Item(ItemKind::Button, 3).top, -200);
        QCOMPARE(form->Panel1()->Button(3)->y(), -200);
    }

    void ProgramFolderRule_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("folder");
        QTest::newRow("nested") << "/opt/kit/quom"
                                << "/opt/kit";
        QTest::newRow("at the root keeps the separator") << "/quom"
                                                         << "/";
        QTest::newRow("separator after a separator is kept") << "/opt//quom"
                                                             << "/opt//";
        QTest::newRow("no folder") << "quom"
                                   << "";
    }
    void ProgramFolderRule() {
        QFETCH(QString, program);
        QFETCH(QString, folder);
        QCOMPARE(quom::ProgramFolderOf(program), folder);
    }

    void SiblingFolderAtTheRootDoublesTheSeparator() {
        QCOMPARE(quom::SiblingFolder(QStringLiteral("/"), QStringLiteral("help")),
                 QStringLiteral("//help"));
        QCOMPARE(quom::SiblingFolder(QStringLiteral("/kit"), QStringLiteral("help")),
                 QStringLiteral("/kit/help"));
    }

    void ErrorBoxAddsAFullStopAfterLaterCharacters_data() {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letter") << "File not found"
                                << "File not found.";
        QTest::newRow("digit") << "I/O error 32"
                               << "I/O error 32.";
        QTest::newRow("quote sorts before the stop") << "'' is not"
                                                     << "'' is not.";
        QTest::newRow("closing parenthesis") << "extension (.)"
                                             << "extension (.)";
        QTest::newRow("full stop") << "Done."
                                   << "Done.";
        QTest::newRow("blank") << "Trailing "
                               << "Trailing ";
        QTest::newRow("empty") << ""
                               << "";
    }
    void ErrorBoxAddsAFullStopAfterLaterCharacters() {
        QFETCH(QString, message);
        QFETCH(QString, shown);
        QCOMPARE(quom::ErrorBoxText(message), shown);
    }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
