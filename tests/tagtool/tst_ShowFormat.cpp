#include "ShowFormat.h"

#include <QtTest>

class TestShowFormat : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void shownField_data();
    void shownField();
    void jsonString_data();
    void jsonString();
    void csvCell_data();
    void csvCell();
    void terminalSafe();
    void trailerPathMatchesTagPath_data();
    void trailerPathMatchesTagPath();
};

void TestShowFormat::shownField_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("shown");
    QTest::newRow("padded") << "  Morning   "
                            << "Morning";
    QTest::newRow("zero ends the text") << QString("Live") + QChar(0) + "junk"
                                        << "Live";
    QTest::newRow("track bytes") << QString("Live  ") + QChar(0) + QChar(7) << "Live";
    QTest::newRow("tab kept") << "\tTab "
                              << "\tTab";
    QTest::newRow("all spaces") << "    "
                                << "";
}

void TestShowFormat::shownField()
{
    QFETCH(QString, field);
    QFETCH(QString, shown);
    QCOMPARE(ShownField(field), shown);
}

void TestShowFormat::jsonString_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("json");
    QTest::newRow("plain") << "Morning" << QByteArray("\"Morning\"");
    QTest::newRow("quote and backslash") << "a\"b\\c" << QByteArray("\"a\\\"b\\\\c\"");
    QTest::newRow("controls") << QString("a\x01\n") + QChar(0x81)
                              << QByteArray("\"a\\u0001\\u000a\\u0081\"");
    QTest::newRow("utf-8") << QString::fromUtf8("Café €")
                           << QByteArray("\"Caf\xc3\xa9 \xe2\x82\xac\"");
}

void TestShowFormat::jsonString()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, json);
    QCOMPARE(JsonString(text), json);
    // And any JSON reader takes it back unchanged.
    const QJsonDocument doc = QJsonDocument::fromJson("[" + json + "]");
    QCOMPARE(doc.array().at(0).toString(), text);
}

void TestShowFormat::csvCell_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("cell");
    QTest::newRow("plain") << "Morning" << QByteArray("Morning");
    QTest::newRow("comma") << "a,b" << QByteArray("\"a,b\"");
    QTest::newRow("quote") << "say \"hi\"" << QByteArray("\"say \"\"hi\"\"\"");
    QTest::newRow("newline") << "a\nb" << QByteArray("\"a\nb\"");
    QTest::newRow("formula") << "=1+1" << QByteArray("'=1+1");
    QTest::newRow("at") << "@SUM(A1)" << QByteArray("'@SUM(A1)");
    QTest::newRow("minus") << "-2" << QByteArray("'-2");
    QTest::newRow("inner equals") << "a=b" << QByteArray("a=b");
}

void TestShowFormat::csvCell()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, cell);
    QCOMPARE(CsvCell(text), cell);
}

void TestShowFormat::terminalSafe()
{
    QCOMPARE(TerminalSafe(QString("a\x1b[2Jb\x7f") + QChar(0x9b) + QString::fromUtf8("é€")),
             QString::fromUtf8("a?[2Jb??é€"));
}

void TestShowFormat::trailerPathMatchesTagPath_data()
{
    QTest::addColumn<int>("style");
    QTest::newRow("text") << int(ShowStyle::Text);
    QTest::newRow("json") << int(ShowStyle::Json);
    QTest::newRow("csv") << int(ShowStyle::Csv);
}

// The fast path from bytes and the path through the parsed tag must print
// the same, byte for byte, for any trailer: random ones weighted towards
// the bytes that need care (zero, space, quotes, controls, the C1 range).
void TestShowFormat::trailerPathMatchesTagPath()
{
    QFETCH(int, style);
    const auto showStyle = ShowStyle(style);
    QRandomGenerator random(20261206);
    const QByteArray tricky("\0 \"\\\x1b\x7f\x80\x81\x8d\x9d\x9f\xa0\xe9\xff", 15);
    const QString file = QString::fromUtf8("dir/Café \x1b.mp3");
    for (int round = 0; round < 2000; ++round) {
        QByteArray trailer(128, ' ');
        for (int i = 0; i < 128; ++i) {
            const int pick = int(random.bounded(4));
            trailer[i] = pick == 0   ? char(random.bounded(256))
                         : pick == 1 ? tricky.at(int(random.bounded(tricky.size())))
                                     : char('a' + random.bounded(26));
        }
        if (round % 7 != 6) // now and then no marker at all
            trailer.replace(0, 3, "TAG");
        const Id3v1Tag tag = Id3v1Tag::parse(trailer);
        const QByteArray expected = ShowFile(showStyle, file, tag.hasHeader() ? &tag : nullptr);
        QCOMPARE(ShowTrailer(showStyle, file, trailer), expected);
    }
    QCOMPARE(ShowTrailer(showStyle, file, QByteArray()), ShowFile(showStyle, file, nullptr));
}

QTEST_GUILESS_MAIN(TestShowFormat)
#include "tst_ShowFormat.moc"
