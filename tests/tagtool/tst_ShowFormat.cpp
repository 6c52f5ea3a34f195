#include "ShowFormat.h"

#include <QtTest>

class TestShowFormat : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // What a tag's text may hold must neither break the output format nor
    // reach a terminal or spreadsheet as a command.
    void escaping_data()
    {
        QTest::addColumn<char>("format"); // JSON, CSV or terminal
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("shown");
        QTest::newRow("json controls")
            << 'j' << QString("a\x01\n") + QChar(0x81) << QByteArray("\"a\\u0001\\u000a\\u0081\"");
        QTest::newRow("json utf-8")
            << 'j' << QString::fromUtf8("Café €") << QByteArray("\"Caf\xc3\xa9 \xe2\x82\xac\"");
        QTest::newRow("csv comma") << 'c' << "a,b" << QByteArray("\"a,b\"");
        QTest::newRow("csv newline") << 'c' << "a\nb" << QByteArray("\"a\nb\"");
        QTest::newRow("csv formula") << 'c' << "=1+1" << QByteArray("'=1+1");
        QTest::newRow("csv at") << 'c' << "@SUM(A1)" << QByteArray("'@SUM(A1)");
        QTest::newRow("csv minus") << 'c' << "-2" << QByteArray("'-2");
        QTest::newRow("csv inner equals") << 'c' << "a=b" << QByteArray("a=b");
        QTest::newRow("terminal controls")
            << 't' << QString("a\x1b[2Jb\x7f") + QChar(0x9b) + QString::fromUtf8("é€")
            << QByteArray("a?[2Jb??\xc3\xa9\xe2\x82\xac");
    }

    void escaping()
    {
        QFETCH(char, format);
        QFETCH(QString, text);
        QFETCH(QByteArray, shown);
        if (format == 'j') {
            QCOMPARE(JsonString(text), shown);
            // And any JSON reader takes it back unchanged.
            QCOMPARE(QJsonDocument::fromJson("[" + shown + "]").array().at(0).toString(), text);
        } else if (format == 'c') {
            QCOMPARE(CsvCell(text), shown);
        } else {
            QCOMPARE(TerminalSafe(text).toUtf8(), shown);
        }
    }

    // The fast path from bytes and the path through the parsed tag must print
    // the same, byte for byte, for any trailer: random ones weighted towards
    // the bytes that need care (zero, space, quotes, controls, the C1 range).
    void trailerPathMatchesTagPath()
    {
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
            for (ShowStyle style : {ShowStyle::Text, ShowStyle::Json, ShowStyle::Csv}) {
                const QByteArray expected = ShowFile(style, file, tag.hasHeader() ? &tag : nullptr);
                QCOMPARE(ShowTrailer(style, file, trailer), expected);
                QCOMPARE(ShowTrailer(style, file, QByteArray()), ShowFile(style, file, nullptr));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestShowFormat)
#include "tst_ShowFormat.moc"
