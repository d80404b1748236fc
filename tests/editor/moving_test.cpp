// Moving the selected item on the design surface and sizing the page with the mouse,
// driven through the window system's routing of presses, moves and releases.
#define QTEST_QPA_MOUSE_HANDLING  // events go where the window system would send them
#include <QTest>

#include "editor_fixture.h"

using quom::ItemKind;
using quom_test::EditorFixture;

namespace {

// One mouse event at a point of the main window's client area. The surface's
// corner is at (184, 64); it is 329 x 241 at start, so it ends at (513, 305).
struct Step {
    enum Action { Press, Move, Release } action;
    Qt::MouseButton button;  // for presses and releases
    QPoint at;
};

using Steps = std::vector<Step>;

Step Press(int x, int y, Qt::MouseButton b = Qt::LeftButton) {
    return {Step::Press, b, {x, y}};
}
Step Move(int x, int y) {
    return {Step::Move, Qt::NoButton, {x, y}};
}
Step Release(int x, int y, Qt::MouseButton b = Qt::LeftButton) {
    return {Step::Release, b, {x, y}};
}

void Play(quom::TForm1* form, const Steps& steps) {
    for (const Step& step : steps) {
        switch (step.action) {
            case Step::Press:
                QTest::mousePress(form, step.button, {}, step.at);
                break;
            case Step::Move:
                QTest::mouseMove(form, step.at);
                break;
            case Step::Release:
                QTest::mouseRelease(form, step.button, {}, step.at);
                break;
        }
    }
}

}  // namespace

Q_DECLARE_METATYPE(Steps)

class MovingTest : public QObject {
    Q_OBJECT

  private slots:
    // Button3 is selected and waits at its hidden place (320, -200); Label1 stands
    // on the surface at (150, 150).
    void DraggingOnTheSurfaceMovesTheSelectedItem_data() {
        QTest::addColumn<QString>("selected");
        QTest::addColumn<Steps>("steps");
        QTest::addColumn<QPoint>("item_at");  // Button3's top-left corner afterwards
        QTest::addColumn<bool>("dragging");

        QTest::newRow("the corner jumps to the pointer")
            << "Button3" << Steps{Press(284, 164), Move(234, 94), Release(234, 94)}
            << QPoint(50, 30) << false;
        QTest::newRow("press and release without moving")
            << "Button3" << Steps{Press(284, 164), Release(284, 164)} << QPoint(320, -200) << false;
        QTest::newRow("no item selected: nothing moves")
            << "No Item Selected" << Steps{Press(284, 164), Move(234, 94), Release(234, 94)}
            << QPoint(320, -200) << false;
        QTest::newRow("past the left edge: a negative left edge, kept after the release")
            << "Button3" << Steps{Press(194, 74), Move(100, 150), Release(100, 150)}
            << QPoint(-84, 86) << false;
        QTest::newRow("above the surface: out of view like a hidden item")
            << "Button3" << Steps{Press(194, 74), Move(300, 20), Release(300, 20)}
            << QPoint(116, -44) << false;
        QTest::newRow("beyond the window's edge")
            << "Button3" << Steps{Press(194, 74), Move(700, 500), Release(700, 500)}
            << QPoint(516, 436) << false;
        QTest::newRow("the held pointer passes over an item")
            << "Button3" << Steps{Press(194, 74), Move(344, 224), Release(344, 224)}
            << QPoint(160, 160) << false;
        // Other buttons do not hold the pointer: off the bare surface their moves are
        // not reported.
        QTest::newRow("right button: moves off the surface are not reported")
            << "Button3" << Steps{Press(284, 164, Qt::RightButton), Move(304, 174), Move(100, 150)}
            << QPoint(120, 110) << true;
        // Regression: the release of a right-button drag made off the surface was not
        // reported, the drag never ended, and the item then jumped to the pointer at
        // every move over the surface, where any press landed on the item itself.
        QTest::newRow("right button released off the surface ends the drag")
            << "Button3"
            << Steps{Press(284, 164, Qt::RightButton), Move(304, 174), Move(100, 150),
                     Release(100, 150, Qt::RightButton), Move(244, 124)}
            << QPoint(120, 110) << false;
    }
    void DraggingOnTheSurfaceMovesTheSelectedItem() {
        QFETCH(QString, selected);
        QFETCH(Steps, steps);
        QFETCH(QPoint, item_at);
        QFETCH(bool, dragging);
        EditorFixture editor;
        quom::TForm1* form = editor.form1();
        quom_test::ShowAndWait(form);
        quom::PageItem& label = editor.page().Item(ItemKind::Label, 1);
        label.left = 150;
        label.top = 150;
        form->Panel1()->Mirror();
        if (selected != QStringLiteral("No Item Selected"))
            quom_test::SelectAndRefresh(form, qPrintable(selected));
        // Some other tool shows as chosen; a press on the surface chooses the pointer.
        form->Image5Click();
        Play(form, steps);

        const quom::PageItem& button = editor.page().Item(ItemKind::Button, 3);
        QCOMPARE(QPoint(button.left, button.top), item_at);
        QCOMPARE(form->Panel1()->Button(3)->pos(), item_at);
        QCOMPARE(QPoint(label.left, label.top), QPoint(150, 150));
        QCOMPARE(form->Dragging(), dragging);
        QCOMPARE(form->tools().Chosen(), quom::Tool::Pointer);
        QCOMPARE(form->SelectionText(), selected);
        QCOMPARE(editor.page().width, 329);
    }

    void DraggingOnTheBackgroundSizesThePage_data() {
        QTest::addColumn<Steps>("steps");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("resizing");

        QTest::newRow("right of the surface to (400, 300)")
            << Steps{Press(530, 100), Move(400, 300), Release(400, 300)} << QSize(216, 236)
            << false;
        QTest::newRow("below the surface, growing")
            << Steps{Press(300, 350), Move(550, 380), Release(550, 380)} << QSize(366, 316)
            << false;
        QTest::newRow("above and left of the corner: zero")
            << Steps{Press(530, 100), Move(100, 50), Release(100, 50)} << QSize(0, 0) << false;
        QTest::newRow("back below the corner after passing it")
            << Steps{Press(530, 100), Move(100, 50), Move(300, 200), Release(300, 200)}
            << QSize(116, 136) << false;
        QTest::newRow("the held pointer passes over the surface")
            << Steps{Press(530, 320), Move(300, 150), Release(300, 150)} << QSize(116, 86) << false;
        QTest::newRow("a press in the left column sizes nothing")
            << Steps{Press(50, 300), Move(400, 300), Release(400, 300)} << QSize(329, 241) << false;
        QTest::newRow("a press on the toolbar sizes nothing")
            << Steps{Press(420, 30), Move(400, 300), Release(400, 300)} << QSize(329, 241) << false;
        QTest::newRow("right button: not reported over the surface, released there")
            << Steps{Press(530, 330, Qt::RightButton), Move(500, 320), Move(300, 150),
                     Release(300, 150, Qt::RightButton), Move(330, 160)}
            << QSize(316, 256) << false;
    }
    void DraggingOnTheBackgroundSizesThePage() {
        QFETCH(Steps, steps);
        QFETCH(QSize, size);
        QFETCH(bool, resizing);
        EditorFixture editor;
        quom::TForm1* form = editor.form1();
        quom_test::ShowAndWait(form);
        quom_test::SelectAndRefresh(form, "Button3");
        Play(form, steps);

        QCOMPARE(QSize(editor.page().width, editor.page().height), size);
        QCOMPARE(form->Panel1()->geometry(), QRect(QPoint(184, 64), size));
        QCOMPARE(form->Resizing(), resizing);
        const quom::PageItem& button = editor.page().Item(ItemKind::Button, 3);
        QCOMPARE(QPoint(button.left, button.top), QPoint(320, -200));
    }

    void SizedAndMovedPageIsWhatSaveWrites() {
        EditorFixture editor;
        quom::TForm1* form = editor.form1();
        quom_test::ShowAndWait(form);
        quom_test::SelectAndRefresh(form, "Button01");
        Play(form, {Press(300, 100), Move(194, 69), Release(194, 69)});
        Play(form, {Press(530, 320), Move(100, 40), Release(100, 40)});
        editor.dialogs().files.push_back(editor.Scratch(QStringLiteral("page")));
        form->EmptyButton3Click();

        const std::string written =
            quom_test::ReadBytes(editor.Scratch(QStringLiteral("page.qmx")));
        std::vector<std::string> lines;
        for (std::size_t start = 0, end; (end = written.find("\r\n", start)) != std::string::npos;
             start = end + 2)
            lines.push_back(written.substr(start, end - start));
        QCOMPARE(lines.size(), std::size_t{343});
        QCOMPARE(lines[120], std::string("0"));   // page width
        QCOMPARE(lines[121], std::string("0"));   // page height
        QCOMPARE(lines[173], std::string("5"));   // Button01 top
        QCOMPARE(lines[183], std::string("10"));  // Button01 left
    }

    void CursorsShowWhatAPressWouldDo() {
        EditorFixture editor;
        quom::TForm1* form = editor.form1();
        QCOMPARE(form->cursor().shape(), Qt::SizeAllCursor);
        QCOMPARE(form->Panel1()->cursor().shape(), Qt::CrossCursor);
        QCOMPARE(form->Panel1()->Button(1)->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(form->Panel1()->PictureItem(20)->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(form->tools().Raised(quom::Tool::Label)->cursor().shape(), Qt::ArrowCursor);
    }
};

QTEST_MAIN(MovingTest)
#include "moving_test.moc"
