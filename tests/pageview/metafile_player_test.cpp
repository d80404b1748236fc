// The metafile player draws the common records at the picture's size.
#include <QTest>

#include "metafile_bytes.h"
#include "metafile_player.h"
#include "picture.h"

using namespace quom_test;

namespace {

quom::Picture Load(quom::PictureKind kind, const std::string& bytes) {
    return quom::PictureFromBytes(kind, bytes);
}

QColor At(const QImage& image, int x, int y) {
    return image.pixelColor(x, y);
}

// Helpers for records the fixture builder does not have.
std::string EmfRecord(std::uint32_t type, std::initializer_list<int> values) {
    Bytes b;
    b.U32(type).U32(static_cast<std::uint32_t>(8 + 4 * values.size()));
    for (int v : values) b.I32(v);
    return b.str();
}

std::string WmfRecord(std::uint16_t function, std::initializer_list<int> words) {
    Bytes b;
    b.U32(static_cast<std::uint32_t>(3 + words.size())).U16(function);
    for (int w : words) b.I16(w);
    return b.str();
}

}  // namespace

class MetafilePlayerTest : public QObject {
    Q_OBJECT

  private slots:
    void RectangleFillsItsBoxWithTheSelectedBrush_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("emf") << int(quom::PictureKind::EnhancedMetafile)
                             << QByteArray::fromStdString(RedRectangleEmf());
        QTest::newRow("wmf") << int(quom::PictureKind::Metafile)
                             << QByteArray::fromStdString(RedRectangleWmf());
    }
    void RectangleFillsItsBoxWithTheSelectedBrush() {
        QFETCH(int, kind);
        QFETCH(QByteArray, bytes);
        const QImage image =
            quom::PlayMetafile(Load(static_cast<quom::PictureKind>(kind), bytes.toStdString()));
        QCOMPARE(image.size(), QSize(20, 10));
        QCOMPARE(At(image, 10, 5), QColor(Qt::red));
        QCOMPARE(At(image, 5, 2), QColor(Qt::black));  // the default pen's outline
        QCOMPARE(At(image, 2, 2).alpha(), 0);          // outside: nothing drawn
        QCOMPARE(At(image, 16, 5).alpha(), 0);
    }

    // A placeable WMF at ten units per pixel is drawn scaled down. The default pen is
    // one device pixel wide whatever the mapping, as the EMF's is: it once shrank with
    // the mapping to a tenth of a pixel and left the rectangle without its outline.
    void ScaledWmfKeepsTheDefaultOutline() {
        const std::string records =
            WmfSolidBrush(Rgb(255, 0, 0)) + WmfSelect(0) + WmfRectangle(50, 20, 150, 80);
        const QImage image = quom::PlayMetafile(
            Load(quom::PictureKind::Metafile, WmfFile(200, 100, records, 1, 960)));
        QCOMPARE(image.size(), QSize(20, 10));
        QCOMPARE(At(image, 10, 5), QColor(Qt::red));
        QCOMPARE(At(image, 5, 5), QColor(Qt::black));   // left edge
        QCOMPARE(At(image, 10, 2), QColor(Qt::black));  // top edge
        QCOMPARE(At(image, 2, 2).alpha(), 0);
    }

    void EmfWindowMappingScalesTheDrawing() {
        // Logical 0..200 x 0..100 mapped onto the 20x10 device picture.
        const std::string records = EmfRecord(17, {8}) + EmfRecord(9, {200, 100}) +
                                    EmfRecord(11, {20, 10}) + EmfSolidBrush(1, Rgb(0, 0, 255)) +
                                    EmfSelect(1) + EmfSelect(0x80000008) +
                                    EmfRectangle(100, 0, 200, 100);
        const QImage image = quom::PlayMetafile(
            Load(quom::PictureKind::EnhancedMetafile, EmfFile(20, 10, records, 7)));
        QCOMPARE(At(image, 15, 5), QColor(Qt::blue));
        QCOMPARE(At(image, 5, 5).alpha(), 0);
    }

    void WmfWindowFillsThePicture() {
        // The window 0..1000 x 0..500 fills the 20x10 picture; a null pen.
        const std::string records = WmfRecord(0x020B, {0, 0}) + WmfRecord(0x020C, {500, 1000}) +
                                    WmfSolidBrush(Rgb(0, 128, 0)) + WmfSelect(0) +
                                    WmfRecord(0x02FA, {5, 0, 0, 0, 0}) + WmfSelect(1) +
                                    WmfRectangle(0, 0, 500, 500);
        const QImage image =
            quom::PlayMetafile(Load(quom::PictureKind::Metafile, WmfFile(20, 10, records, 2)));
        QCOMPARE(At(image, 2, 2), QColor(0, 128, 0));
        QCOMPARE(At(image, 15, 5).alpha(), 0);
    }

    void UnknownAndTruncatedRecordsAreSkippedSafely() {
        // A record claiming more bytes than are left ends the playing; no crash.
        std::string bytes = RedRectangleWmf();
        const quom::Picture picture = Load(quom::PictureKind::Metafile, bytes);
        quom::Picture cut = picture;
        cut.bytes.resize(cut.bytes.size() - 10);
        const QImage image = quom::PlayMetafile(cut);
        QCOMPARE(image.size(), QSize(20, 10));
        const std::string odd = EmfRecord(0x7777, {1, 2, 3});
        const QImage emf =
            quom::PlayMetafile(Load(quom::PictureKind::EnhancedMetafile,
                                    EmfFile(20, 10,
                                            odd + EmfSolidBrush(1, Rgb(255, 0, 0)) + EmfSelect(1) +
                                                EmfRectangle(5, 2, 15, 8),
                                            4)));
        QCOMPARE(At(emf, 10, 5), QColor(Qt::red));
    }
};

QTEST_MAIN(MetafilePlayerTest)
#include "metafile_player_test.moc"
