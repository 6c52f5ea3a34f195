#include "CodePage.h"

#include <QtTest>

class TestCodePage : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyByteRoundTrips();
    void knownCharacters_data();
    void knownCharacters();
    void unrepresentable_data();
    void unrepresentable();
};

void TestCodePage::everyByteRoundTrips()
{
    QByteArray all(256, Qt::Uninitialized);
    for (int i = 0; i < 256; ++i)
        all[i] = char(i);
    const QString text = DecodeCodePage(all);
    QCOMPARE(text.size(), 256);
    for (int i = 0; i < 256; ++i)
        QVERIFY2(!text.at(i).isSurrogate(), qPrintable(QString::number(i)));
    bool lossless = false;
    QCOMPARE(EncodeCodePage(text, &lossless), all);
    QVERIFY(lossless);
    // No two bytes may share a character, or the round trip would be lucky.
    QCOMPARE(QSet<QChar>(text.cbegin(), text.cend()).size(), 256);
}

void TestCodePage::knownCharacters_data()
{
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("unicode");
    QTest::newRow("zero") << 0x00 << 0x0000;
    QTest::newRow("A") << 0x41 << 0x0041;
    QTest::newRow("euro") << 0x80 << 0x20AC;
    QTest::newRow("undefined 81") << 0x81 << 0x0081;
    QTest::newRow("undefined 8D") << 0x8D << 0x008D;
    QTest::newRow("undefined 8F") << 0x8F << 0x008F;
    QTest::newRow("undefined 90") << 0x90 << 0x0090;
    QTest::newRow("undefined 9D") << 0x9D << 0x009D;
    QTest::newRow("left quote") << 0x91 << 0x2018;
    QTest::newRow("trade mark") << 0x99 << 0x2122;
    QTest::newRow("Y diaeresis") << 0x9F << 0x0178;
    QTest::newRow("nbsp") << 0xA0 << 0x00A0;
    QTest::newRow("e acute") << 0xE9 << 0x00E9;
    QTest::newRow("y diaeresis") << 0xFF << 0x00FF;
}

void TestCodePage::knownCharacters()
{
    QFETCH(int, byte);
    QFETCH(int, unicode);
    QCOMPARE(int(DecodeCodePageByte(uchar(byte)).unicode()), unicode);
    QCOMPARE(EncodeCodePageChar(QChar(char16_t(unicode))), byte);
}

void TestCodePage::unrepresentable_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("C1 control without a byte") << QString(QChar(0x0080)) << QByteArray("?");
    QTest::newRow("Greek") << QStringLiteral("a\u03B1b") << QByteArray("a?b");
    QTest::newRow("CJK") << QStringLiteral("\u4E2D") << QByteArray("?");
    QTest::newRow("emoji is one character") << QStringLiteral("x\U0001F600y") << QByteArray("x?y");
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) << QByteArray("?");
}

void TestCodePage::unrepresentable()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    bool lossless = true;
    QCOMPARE(EncodeCodePage(text, &lossless), bytes);
    QVERIFY(!lossless);
}

QTEST_GUILESS_MAIN(TestCodePage)
#include "tst_codepage.moc"
