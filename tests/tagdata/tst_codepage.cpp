#include "CodePage.h"

#include <QtTest>

class TestCodePage : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyByteRoundTrips()
    {
        QByteArray all(256, Qt::Uninitialized);
        for (int i = 0; i < 256; ++i)
            all[i] = char(i);
        const QString text = DecodeCodePage(all);
        bool lossless = false;
        QCOMPARE(EncodeCodePage(text, &lossless), all);
        QVERIFY(lossless);
        // No two bytes may share a character, or the round trip would be lucky.
        QCOMPARE(QSet<QChar>(text.cbegin(), text.cend()).size(), 256);
    }

    // The 0x80..0x9F table is where a typo would hide; a round trip can't see it.
    void knownCharacters_data()
    {
        QTest::addColumn<int>("byte");
        QTest::addColumn<int>("unicode");
        const QList<QPair<int, int>> rows = {{0x00, 0x0000}, {0x80, 0x20AC}, {0x81, 0x0081},
                                             {0x8D, 0x008D}, {0x8F, 0x008F}, {0x90, 0x0090},
                                             {0x91, 0x2018}, {0x99, 0x2122}, {0x9D, 0x009D},
                                             {0x9F, 0x0178}, {0xA0, 0x00A0}, {0xFF, 0x00FF}};
        for (const auto &[byte, unicode] : rows)
            QTest::addRow("%02X", byte) << byte << unicode;
    }

    void knownCharacters()
    {
        QFETCH(int, byte);
        QFETCH(int, unicode);
        QCOMPARE(int(DecodeCodePageByte(uchar(byte)).unicode()), unicode);
        QCOMPARE(EncodeCodePageChar(QChar(char16_t(unicode))), byte);
    }

    void unrepresentable_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("C1 control without a byte") << QString(QChar(0x0080)) << QByteArray("?");
        QTest::newRow("Greek") << QStringLiteral("a\u03B1b") << QByteArray("a?b");
        QTest::newRow("emoji is one character")
            << QStringLiteral("x\U0001F600y") << QByteArray("x?y");
        QTest::newRow("lone surrogate") << QString(QChar(0xD800)) << QByteArray("?");
    }

    void unrepresentable()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        bool lossless = true;
        QCOMPARE(EncodeCodePage(text, &lossless), bytes);
        QVERIFY(!lossless);
    }
};

QTEST_GUILESS_MAIN(TestCodePage)
#include "tst_codepage.moc"
