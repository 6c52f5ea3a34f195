#include "Id3v1Tag.h"
#include "ShowFormat.h"

#include <QtTest>

namespace {

// One CSV record split into its cells, quotes undone (RFC 4180).
QStringList CsvCells(const QString &line)
{
    QStringList cells{QString()};
    bool quoted = false;
    for (int i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (quoted && c == '"' && i + 1 < line.size() && line.at(i + 1) == '"')
            cells.last() += line.at(++i);
        else if (c == '"')
            quoted = !quoted;
        else if (c == ',' && !quoted)
            cells.append(QString());
        else
            cells.last() += c;
    }
    return cells;
}

// Without the spaces at either end; other blanks are text.
QString SpaceTrimmed(const QString &text)
{
    int begin = 0, end = int(text.size());
    while (begin < end && text.at(begin) == ' ')
        ++begin;
    while (end > begin && text.at(end - 1) == ' ')
        --end;
    return text.mid(begin, end - begin);
}

} // namespace

class TestShowFormat : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // What a tag's text or a file name may hold must neither break the
    // output format nor reach a terminal or spreadsheet as a command.
    void escaping_data()
    {
        QTest::addColumn<ShowStyle>("style");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("shown");
        const QString c1 = QString("x") + QChar(0x9b) + "y";
        QTest::newRow("json controls") << ShowStyle::Json << QString("a\x01\n\x7f") + QChar(0x81)
                                       << QByteArray("\"a\\u0001\\u000a\\u007f\\u0081\"");
        QTest::newRow("json quotes") << ShowStyle::Json << "\"\\" << QByteArray("\"\\\"\\\\\"");
        QTest::newRow("json utf-8") << ShowStyle::Json << QString::fromUtf8("Café €")
                                    << QByteArray("\"Caf\xc3\xa9 \xe2\x82\xac\"");
        QTest::newRow("csv comma") << ShowStyle::Csv << "a,b" << QByteArray("\"a,b\"");
        QTest::newRow("csv quote") << ShowStyle::Csv << "a\"b" << QByteArray("\"a\"\"b\"");
        QTest::newRow("csv escape and bell")
            << ShowStyle::Csv << "a\x1b]0;x\x07" << QByteArray("a?]0;x?");
        QTest::newRow("csv newline") << ShowStyle::Csv << "a\nb\r" << QByteArray("a?b?");
        QTest::newRow("csv c1") << ShowStyle::Csv << c1 << QByteArray("x?y");
        QTest::newRow("csv formula") << ShowStyle::Csv << "=1+1" << QByteArray("'=1+1");
        QTest::newRow("csv formula, quoted")
            << ShowStyle::Csv << "=A1,B1" << QByteArray("\"'=A1,B1\"");
        QTest::newRow("csv at") << ShowStyle::Csv << "@SUM(A1)" << QByteArray("'@SUM(A1)");
        QTest::newRow("csv minus") << ShowStyle::Csv << "-2" << QByteArray("'-2");
        QTest::newRow("csv tab start") << ShowStyle::Csv << "\t=1" << QByteArray("?=1");
        QTest::newRow("csv inner equals") << ShowStyle::Csv << "a=b" << QByteArray("a=b");
        QTest::newRow("csv utf-8")
            << ShowStyle::Csv << QString::fromUtf8("é€") << QByteArray("\xc3\xa9\xe2\x82\xac");
        QTest::newRow("terminal controls")
            << ShowStyle::Text << QString("a\x1b[2Jb\x7f") + QChar(0x9b) + QString::fromUtf8("é€")
            << QByteArray("a?[2Jb??\xc3\xa9\xe2\x82\xac");
        QTest::newRow("terminal c1 neighbours")
            << ShowStyle::Text << QString(QChar(0xa0)) + QChar(0x9f) + QChar(0x7e)
            << QByteArray("\xc2\xa0?~");
    }

    void escaping()
    {
        QFETCH(ShowStyle, style);
        QFETCH(QString, text);
        QFETCH(QByteArray, shown);
        QCOMPARE(ShownText(style, text.toUtf8()), shown);
        if (style == ShowStyle::Json) // and any JSON reader takes it back unchanged
            QCOMPARE(QJsonDocument::fromJson("[" + shown + "]").array().at(0).toString(), text);
        if (style == ShowStyle::Text)
            QCOMPARE(TerminalSafe(text).toUtf8(), shown);
    }

    // Any trailer, read back by an ordinary JSON or CSV reader, gives the
    // fields the tag parser finds: random trailers weighted towards the
    // bytes that need care (zero, space, quotes, controls, the C1 range).
    void anyTrailerReadsBack()
    {
        QRandomGenerator random(20261206);
        const QByteArray tricky("\0 \"\\,=\x1b\x7f\x80\x81\x8d\x9d\x9f\xa0\xe9\xff", 17);
        const QString name = QString::fromUtf8("dir/Café \x1b,.mp3");
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
            QStringList fields;
            for (const QString *field :
                 {&tag.Title, &tag.Artist, &tag.Album, &tag.Year, &tag.Comment})
                fields.append(SpaceTrimmed(FieldText(*field)));
            const QString track = tag.track() ? QString::number(tag.track()) : QString();
            checkJson(name, trailer, tag, fields, track);
            checkCsv(name, trailer, tag, fields, track);
        }
    }

private:
    // Any version of an ID3v2 tag beside the trailer, or none, chosen by a
    // byte of the random trailer.
    static int Id3v2Major(const QByteArray &trailer)
    {
        const int pick = uchar(trailer.at(1)) % 4;
        return pick ? pick + 1 : 0;
    }
    static QString Id3v2Text(int major) { return major ? QString("2.%1").arg(major) : QString(); }

    void checkJson(const QString &name, const QByteArray &trailer, const Id3v1Tag &tag,
                   const QStringList &fields, const QString &track)
    {
        QByteArray out;
        const int major = Id3v2Major(trailer);
        AppendShown(out, ShowStyle::Json, name.toUtf8(), trailer, major);
        QVERIFY(out.endsWith('\n') && out.count('\n') == 1);
        const QJsonObject object = QJsonDocument::fromJson(out).object();
        QCOMPARE(object.value("file").toString(), name);
        QCOMPARE(object.value("tag").toBool(), tag.hasHeader());
        QCOMPARE(object.value("id3v2").toVariant().toString(), Id3v2Text(major));
        if (!tag.hasHeader()) {
            QCOMPARE(object.size(), 3);
            return;
        }
        const char *keys[] = {"title", "artist", "album", "year", "comment"};
        for (int i = 0; i < 5; ++i)
            QCOMPARE(object.value(keys[i]).toString(), fields.at(i));
        QCOMPARE(object.value("genre_number").toInt(), int(uchar(trailer.at(127))));
        QCOMPARE(object.value("track").toVariant().toString(), track);
    }

    void checkCsv(const QString &name, const QByteArray &trailer, const Id3v1Tag &tag,
                  const QStringList &fields, const QString &track)
    {
        QByteArray out;
        const int major = Id3v2Major(trailer);
        AppendShown(out, ShowStyle::Csv, name.toUtf8(), trailer, major);
        QVERIFY(out.endsWith('\n') && out.count('\n') == 1);
        const QStringList cells = CsvCells(QString::fromUtf8(out.chopped(1)));
        QCOMPARE(cells.size(), 11);
        QCOMPARE(cells.at(10), Id3v2Text(major));
        QCOMPARE(cells.at(0), TerminalSafe(name));
        QCOMPARE(cells.at(1), tag.hasHeader() ? "yes" : "no");
        for (int i = 0; i < 5; ++i) {
            const QString expected = TerminalSafe(fields.value(i));
            const bool formula = !expected.isEmpty() && QString("=+-@").contains(expected.at(0));
            QCOMPARE(cells.at(2 + i),
                     tag.hasHeader() ? QString(formula ? "'" : "") + expected : QString());
        }
        QCOMPARE(cells.at(9), tag.hasHeader() ? track : QString());
    }
};

QTEST_GUILESS_MAIN(TestShowFormat)
#include "tst_ShowFormat.moc"
