// The player's window on the offscreen platform: a page with every kind of item,
// clicked as a user would.
#include <QAbstractButton>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "item_widgets.h"
#include "model_text.h"
#include "page_file.h"
#include "page_loading.h"
#include "player_window.h"
#include "stand_ins.h"

using quom::ItemKind;

namespace {

QString Fixture(const char* name) {
    return QDir(QStringLiteral(QUOM_PAGE_FIXTURES)).filePath(QString::fromLatin1(name));
}

void Place(quom::PageItem& item, int left, int top) {
    item.left = left;
    item.top = top;
}

// A picture item showing a fixture file, stored beside the page under its name.
void PlacePicture(quom::Page& page, int id, const char* file, int left, int top) {
    quom::PageItem& item = page.Item(ItemKind::Picture, id);
    item.picture = quom::LoadPictureFile(quom::ToPath(Fixture(file)), file);
    item.slot_text = file;
    Place(item, left, top);
}

// The page first shown: two buttons, an exit button, a hidden button, a clock
// label, a coloured label and a picture of every kind.
quom::Page FirstPage() {
    quom::Page page;
    page.Reset();
    page.width = 400;
    page.height = 300;
    quom::PageItem& hi = page.Item(ItemKind::Button, 1);
    Place(hi, 10, 10);
    hi.caption = "Hi";
    hi.action = "Beep();Message(Hi);";
    quom::PageItem& next = page.Item(ItemKind::Button, 2);
    Place(next, 90, 10);
    next.caption = "Next";
    next.action = "StartPage(second.qmx);";
    quom::PageItem& leave = page.Item(ItemKind::Button, 11);
    Place(leave, 170, 10);
    leave.caption = "Exit";
    leave.action = "Exit();";
    page.Item(ItemKind::Button, 3).caption = "Hidden";
    quom::PageItem& clock = page.Item(ItemKind::Label, 1);
    Place(clock, 10, 70);
    clock.caption = "V_Time";
    quom::PageItem& hello = page.Item(ItemKind::Label, 12);
    Place(hello, 160, 160);  // over the EMF picture
    hello.caption = "caf\xE9";
    hello.SetColour(quom::RgbColour(255, 255, 0));
    PlacePicture(page, 1, "bitmap_24bit.bmp", 10, 150);
    PlacePicture(page, 2, "icon_16_32.ico", 100, 150);
    PlacePicture(page, 13, "drawing.emf", 150, 150);
    PlacePicture(page, 14, "drawing.wmf", 250, 150);
    return page;
}

quom::Page SecondPage() {
    quom::Page page;
    page.Reset();
    page.width = 200;
    page.height = 100;
    quom::PageItem& back = page.Item(ItemKind::Button, 1);
    Place(back, 5, 5);
    back.caption = "Back";
    back.action = "StartPage(firstpag.qmx);";
    return page;
}

QString WritePage(const QDir& folder, const quom::Page& page, const char* name) {
    quom::WritePagePictures(page, quom::ToPath(folder.path()));
    const QString file = folder.filePath(QString::fromLatin1(name));
    quom::WritePageFile(page, quom::ToPath(file));
    return file;
}

// A page shown in the player's window, with stand-in devices.
struct Player {
    QTemporaryDir dir;
    quom_test::EventLog log{dir.path()};
    quom_test::StandInSound sound{log};
    quom_test::StandInMidi midi{log};
    quom_test::StandInCd cd{log};
    quom::PlayerWindow window{quom::Devices{sound, midi, cd}};

    QWidget* Item(const char* name) const {
        return window.view()->ItemWidget(QString::fromLatin1(name));
    }
};

QMessageBox* OpenBox(const QWidget& window) {
    for (QMessageBox* box : window.findChildren<QMessageBox*>()) {
        if (box->isVisible()) return box;
    }
    return nullptr;
}

}  // namespace

class PagePlayerTest : public QObject {
    Q_OBJECT

  private slots:
    void ShowsEveryKindOfItemAsPlaced() {
        Player player;
        const QDir folder(player.dir.path());
        QCOMPARE(player.window.ShowPage(WritePage(folder, FirstPage(), "firstpag.qmx")), QString());
        player.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&player.window));

        QCOMPARE(player.window.size(), QSize(400, 300));
        auto* hi = qobject_cast<quom::ItemButton*>(player.Item("Button1"));
        QVERIFY(hi != nullptr && hi->isVisible());
        QCOMPARE(hi->geometry(), QRect(10, 10, 65, 41));
        QCOMPARE(hi->caption(), QStringLiteral("Hi"));
        QCOMPARE(hi->cursor().shape(), Qt::PointingHandCursor);
        QVERIFY(!player.Item("Button3")->isVisible());  // at the hidden position

        auto* clock = qobject_cast<QLabel*>(player.Item("Label1"));
        QVERIFY(clock->text().contains(QRegularExpression(QStringLiteral("\\d+:\\d\\d:\\d\\d"))));
        auto* hello = qobject_cast<QLabel*>(player.Item("Label02"));
        QCOMPARE(hello->text(), QStringLiteral(u"café"));
        QCOMPARE(hello->palette().color(QPalette::Window), QColor(255, 255, 0));

        for (const char* name : {"Picture1", "Picture2", "Picture03", "Picture04"}) {
            auto* picture = qobject_cast<quom::ItemPicture*>(player.Item(name));
            QVERIFY2(picture->isVisible() && !picture->image().isNull(), name);
            QCOMPARE(picture->size(), picture->image().size());
        }
        // Buttons and labels stand above pictures.
        QCOMPARE(player.window.view()->childAt(152, 152), player.Item("Picture03"));
        QCOMPARE(player.window.view()->childAt(162, 162), player.Item("Label02"));
    }

    void ButtonsCarryOutTheirActions() {
        Player player;
        const QDir folder(player.dir.path());
        QCOMPARE(player.window.ShowPage(WritePage(folder, FirstPage(), "firstpag.qmx")), QString());
        WritePage(folder, SecondPage(), "second.qmx");
        player.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&player.window));

        // Message(Hi) shows Hi in a box; the page waits until it is closed.
        QTest::mouseClick(player.Item("Button1"), Qt::LeftButton);
        QTRY_VERIFY(OpenBox(player.window) != nullptr);
        QMessageBox* box = OpenBox(player.window);
        QCOMPARE(box->text(), QStringLiteral("Hi"));
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        QTRY_VERIFY(OpenBox(player.window) == nullptr);
        QTRY_VERIFY(!player.window.runner().Busy());

        // StartPage replaces the page in the same window.
        QTest::mouseClick(player.Item("Button2"), Qt::LeftButton);
        QTRY_COMPARE(player.window.size(), QSize(200, 100));
        QCOMPARE(qobject_cast<quom::ItemButton*>(player.Item("Button1"))->caption(),
                 QStringLiteral("Back"));
        QTest::mouseClick(player.Item("Button1"), Qt::LeftButton);
        QTRY_COMPARE(player.window.size(), QSize(400, 300));

        // A press that leaves the item before the release is no click.
        QTest::mousePress(player.Item("Button01"), Qt::LeftButton);
        QTest::mouseRelease(player.Item("Button01"), Qt::LeftButton, {}, QPoint(-5, -5));
        QTest::qWait(50);
        QVERIFY(player.window.isVisible());
        QTest::mouseClick(player.Item("Button01"), Qt::LeftButton);
        QTRY_VERIFY(!player.window.isVisible());
    }

    // A page that cannot be read is reported with the reader's message and line.
    void DamagedPagesAreReportedByLine_data() {
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("page width") << 121 << "wide"
                                    << "line 121 (page width): 'wide' is not a valid integer value";
        QTest::newRow("missing picture") << 111 << "gone.bmp"
                                         << "line 111 (Picture1 picture-file slot): Cannot open "
                                            "file gone.bmp";
        QTest::newRow("short file") << 0 << ""
                                    << "line 21";
    }
    void DamagedPagesAreReportedByLine() {
        QFETCH(int, line);
        QFETCH(QString, text);
        QFETCH(QString, message);
        QTemporaryDir dir;
        quom::Page page;
        page.Reset();
        std::string bytes = quom::FormatPageFile(page);
        std::vector<std::string> lines;
        for (std::size_t at = 0; at < bytes.size();) {
            const std::size_t end = bytes.find("\r\n", at);
            lines.push_back(bytes.substr(at, end - at));
            at = end + 2;
        }
        if (line > 0) {
            lines[line - 1] = text.toStdString();
        } else {
            lines.resize(20);  // the captions only
        }
        bytes.clear();
        for (const std::string& l : lines) bytes += l + "\r\n";
        const QString file = QDir(dir.path()).filePath(QStringLiteral("bad.qmx"));
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(bytes.data(), static_cast<qint64>(bytes.size()));
        out.close();
        const quom::LoadedPage loaded = quom::LoadPage(file);
        QVERIFY(loaded.page == nullptr);
        QVERIFY2(loaded.error.contains(message), qPrintable(loaded.error));
    }

    void UnreadablePagesAreReported() {
        QTemporaryDir dir;
        const QDir folder(dir.path());
        QVERIFY(quom::LoadPage(folder.filePath(QStringLiteral("none.qmx")))
                    .error.contains(QStringLiteral("File not found")));
        QVERIFY(quom::LoadPage(dir.path()).error.contains(QStringLiteral("not a page file")));
        QVERIFY(quom::LoadPage(QStringLiteral("/dev/zero"))
                    .error.contains(QStringLiteral("not a page file")));
    }
};

QTEST_MAIN(PagePlayerTest)
#include "page_player_test.moc"
