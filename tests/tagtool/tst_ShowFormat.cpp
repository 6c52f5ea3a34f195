#include "Id3v1Tag.h"
#include "ShowFormat.h"
#include "TableRows.h"

namespace {

// One CSV record split into its cells, quotes undone (RFC 4180).
QStringList CsvCells(const QString &line)
{
    QStringList cells{QString()};
    bool quoted = false;
    for (int i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (c == '"') // a doubled quote closes and reopens at once, and is kept
            quoted = !quoted;
        if (c == ',' && !quoted)
            cells.append(QString());
        else if (c != '"' || (quoted && i > 0 && line.at(i - 1) == '"'))
            cells.last() += c;
    }
    return cells;
}

// What a tag's text or a file name may hold must not reach a terminal or a
// spreadsheet as a command. (Quoting is checked by reading back, below.)
// clang-format off
const struct { const char *name; ShowStyle style; const char *text, *shown; } kEscapes[] = {
    {"terminal controls", ShowStyle::Text, "a\x1b[2Jb\x7f\xc2\x9b" "é€", "a?[2Jb??é€"},
    {"terminal c1 neighbours", ShowStyle::Text, "\xc2\xa0\xc2\x9f~", "\xc2\xa0?~"},
    {"json controls", ShowStyle::Json, "a\x01\n\x7f\xc2\x81", "\"a\\u0001\\u000a\\u007f\\u0081\""},
    {"csv tab start", ShowStyle::Csv, "\t=1", "?=1"}, {"csv formula, quoted", ShowStyle::Csv, "=A1,B1", "\"'=A1,B1\""},
};
// clang-format on

} // namespace

class TestShowFormat : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void escaping_data() { AddRows(kEscapes); }
    void escaping()
    {
        const auto &escape = CurrentRow(kEscapes);
        QCOMPARE(ShownText(escape.style, escape.text), QByteArray(escape.shown));
        if (escape.style == ShowStyle::Text)
            QCOMPARE(TerminalSafe(QString::fromUtf8(escape.text)).toUtf8(), escape.shown);
    }

    // Any trailer, read back by an ordinary JSON or CSV reader, gives the
    // fields the tag parser finds: random trailers weighted towards the
    // bytes that need care (zero, space, quotes, controls, the C1 range),
    // beside any version of an ID3v2 tag or none.
    void anyTrailerReadsBack()
    {
        QRandomGenerator random(20261206);
        const QByteArray tricky("\0 \"\\,=+-@\x1b\x7f\x80\x81\x8d\x9d\x9f\xa0\xe9\xff", 20);
        const QString name = QString::fromUtf8("dir/Café \x1b,.mp3");
        const char *keys[] = {"title", "artist", "album", "year", "comment"};
        for (int round = 0; round < 2000; ++round) {
            QByteArray trailer(128, ' ');
            for (char &c : trailer) {
                const int pick = int(random.bounded(4));
                c = pick == 0   ? char(random.bounded(256))
                    : pick == 1 ? tricky.at(int(random.bounded(tricky.size())))
                                : char('a' + random.bounded(26));
            }
            if (round % 7 != 6) // now and then no marker at all
                trailer.replace(0, 3, "TAG");
            const Id3v1Tag tag = Id3v1Tag::parse(trailer);
            const bool has = tag.hasHeader();
            QStringList fields;
            for (const QString *field :
                 {&tag.Title, &tag.Artist, &tag.Album, &tag.Year, &tag.Comment})
                fields.append(FieldText(*field).remove(QRegularExpression("^ +| +$")));
            const QString track = tag.track() ? QString::number(tag.track()) : QString();
            const int major = uchar(trailer.at(1)) % 4 ? uchar(trailer.at(1)) % 4 + 1 : 0;
            const QString v2 = major ? QString("2.%1").arg(major) : QString();

            QByteArray json, csv;
            AppendShown(json, ShowStyle::Json, name.toUtf8(), trailer, major);
            AppendShown(csv, ShowStyle::Csv, name.toUtf8(), trailer, major);
            QVERIFY(json.indexOf('\n') == json.size() - 1 && csv.indexOf('\n') == csv.size() - 1);
            const QJsonObject object = QJsonDocument::fromJson(json).object();
            const QStringList cells = CsvCells(QString::fromUtf8(csv.chopped(1)));
            QCOMPARE(object.value("file").toString(), name);
            QCOMPARE(object.value("tag").toBool(), has);
            QCOMPARE(object.value("id3v2").toVariant().toString(), v2);
            QCOMPARE(object.size(), has ? 11 : 3);
            QCOMPARE(cells.size(), 11);
            QCOMPARE(cells.at(0), TerminalSafe(name));
            QCOMPARE(cells.at(1), has ? "yes" : "no");
            QCOMPARE(cells.at(10), v2);
            for (int i = 0; i < 5; ++i) {
                const QString safe = TerminalSafe(fields.at(i));
                const bool formula = !safe.isEmpty() && QString("=+-@").contains(safe.at(0));
                QCOMPARE(cells.at(2 + i), has ? (formula ? "'" : "") + safe : QString());
                QVERIFY(!has || object.value(keys[i]).toString() == fields.at(i));
            }
            QCOMPARE(cells.at(9), has ? track : QString());
            QVERIFY(!has || object.value("genre_number").toInt() == int(uchar(trailer.at(127))));
            QVERIFY(!has || object.value("track").toVariant().toString() == track);
        }
    }
};

QTEST_GUILESS_MAIN(TestShowFormat)
#include "tst_ShowFormat.moc"
