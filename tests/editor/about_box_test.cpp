// The About box and its picture button.
#include <QTest>
#include <QTimer>

#include "editor_fixture.h"
#include "tform3.h"

class AboutBoxTest : public QObject {
    Q_OBJECT

  private slots:
    void PictureButtonShowsThePressedPictureWhileHeld() {
        quom::TForm3 about;
        about.show();
        quom::PictureButton* ok = about.OkButton();
        QCOMPARE(ok->geometry(), QRect(109, 120, 63, 39));
        QCOMPARE(ok->raised()->objectName(), QStringLiteral("Image2"));
        QTest::mousePress(ok, Qt::LeftButton, {}, QPoint(30, 20));
        QVERIFY(ok->raised()->isHidden());
        QVERIFY(!ok->pressed()->isHidden());
        // Released outside the button: the raised picture comes back, the box stays.
        QTest::mouseRelease(ok, Qt::LeftButton, {}, QPoint(100, 20));
        QVERIFY(!ok->raised()->isHidden());
        QVERIFY(about.isVisible());
        QTest::mouseClick(ok, Qt::LeftButton, {}, QPoint(30, 20));
        QVERIFY(!about.isVisible());
        QCOMPARE(about.result(), int(QDialog::Accepted));
    }

    void AboutCommandShowsTheBoxModally() {
        quom_test::EditorFixture editor;
        bool was_modal = false;
        QTimer::singleShot(0, [&] {
            auto* about = qobject_cast<quom::TForm3*>(QApplication::activeModalWidget());
            if (about == nullptr) return;
            was_modal = about->isVisible();
            QTest::mouseClick(about->OkButton(), Qt::LeftButton, {}, QPoint(30, 20));
        });
        QTimer::singleShot(5000, [] {
            if (QWidget* w = QApplication::activeModalWidget()) w->close();
        });
        editor.form1()->SpeedButton5Click();
        QVERIFY(was_modal);
        QVERIFY(editor.dialogs().shown.empty());
    }
};

QTEST_MAIN(AboutBoxTest)
#include "about_box_test.moc"
