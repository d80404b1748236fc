// Page texts are bytes of code page 1252; Qt's texts are Unicode.
#include <QTest>

#include "model_text.h"

class ModelTextTest : public QObject {
    Q_OBJECT

  private slots:
    void BytesDecodeToTheirCharacters_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("ascii") << QByteArray("Start page") << QStringLiteral("Start page");
        QTest::newRow("latin letters")
            << QByteArray("caf\xE9 \xC4\xFF") << QStringLiteral(u"café Äÿ");
        // The typographic block differs from ISO 8859-1 and from UTF-8.
        QTest::newRow("euro, quotes, dash")
            << QByteArray("\x80 \x93Hi\x94 \x96 \x85") << QStringLiteral(u"€ “Hi” – …");
        QTest::newRow("letters of the block")
            << QByteArray("\x8A\x8C\x9A\x9C\x9F\x83") << QStringLiteral(u"ŠŒšœŸƒ");
        QTest::newRow("undefined bytes keep their number")
            << QByteArray("\x81\x8D\x8F\x90\x9D")
            << QString(QChar(0x81)) + QChar(0x8D) + QChar(0x8F) + QChar(0x90) + QChar(0x9D);
        // Bytes that are not UTF-8 once decoded as U+FFFD and were lost on saving.
        QTest::newRow("not utf-8") << QByteArray("\xE9\xE9") << QStringLiteral(u"éé");
        QTest::newRow("nul and controls")
            << QByteArray("a\0b\x1F", 4) << QString(QChar(u'a')) + QChar(0) + u'b' + QChar(0x1F);
    }
    void BytesDecodeToTheirCharacters() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(quom::FromModelText(bytes.toStdString()), text);
        // And back again, byte for byte.
        QCOMPARE(QByteArray::fromStdString(quom::ToModelText(text)), bytes);
    }

    void EveryByteSurvivesTheRoundTrip() {
        std::string all;
        for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
        const QString text = quom::FromModelText(all);
        QCOMPARE(text.size(), qsizetype{256});
        QVERIFY(quom::ToModelText(text) == all);
    }

    void CharactersOutsideTheCodePageBecomeQuestionMarks_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("cyrillic") << QStringLiteral(u"Привет!")
                                  << QByteArray(
                                         "??????"
                                         "!");
        QTest::newRow("c1 control with a 1252 character")
            << QString(QChar(0x80)) << QByteArray("?");  // 0x80 holds the euro sign
        QTest::newRow("outside the basic plane is one character")
            << QStringLiteral(u"a😀b") << QByteArray("a?b");
        QTest::newRow("lone surrogate") << QString(QChar(0xD800)) << QByteArray("?");
    }
    void CharactersOutsideTheCodePageBecomeQuestionMarks() {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(QByteArray::fromStdString(quom::ToModelText(text)), bytes);
    }
};

QTEST_MAIN(ModelTextTest)
#include "model_text_test.moc"
