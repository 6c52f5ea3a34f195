// How a fill reads tracks, genres, years and file names.
#include "FillValues.h"
#include "Genres.h"
#include "NamePattern.h"

#include <QtTest>

namespace {

// The fields a fill would change, "-" for those it leaves alone:
// title|artist|album|year|comment|genre|track
QString Fields(const TagEdits &e)
{
    const auto text = [](const std::optional<QString> &v) { return v ? *v : QStringLiteral("-"); };
    const QString genre = e.genre ? QString::number(GenreNumber(*e.genre)) : QStringLiteral("-");
    const QString track = e.track ? QString::number(*e.track) : QStringLiteral("-");
    return QStringList{text(e.title),   text(e.artist), text(e.album), text(e.year),
                       text(e.comment), genre,          track}
        .join('|');
}

} // namespace

class TestFillValues : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void track_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("track");
        const QList<QPair<const char *, int>> rows = {
            {"3", 3},    {"03", 3},   {"3/12", 3},  {" 7 / 9", 7},      {"255", 255},
            {"256", -1}, {"0", -1},   {"0/12", -1}, {"A1", -1},         {"", -1},
            {"-3", -1},  {"3.5", -1}, {"/12", -1},  {"99999999999", -1}};
        for (const auto &row : rows)
            QTest::newRow(row.first) << QString(row.first) << row.second;
    }
    void track()
    {
        QFETCH(QString, text);
        QFETCH(int, track);
        QCOMPARE(TrackNumber(text), track);
    }

    void genre_data()
    {
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<int>("genre");
        QTest::newRow("number in parentheses") << QStringList{"(17)"} << 17;
        QTest::newRow("bare number") << QStringList{"17"} << 17;
        QTest::newRow("name") << QStringList{"Rock"} << 17;
        QTest::newRow("number and refinement") << QStringList{"(9)Heavy"} << 9;
        QTest::newRow("number wins over name") << QStringList{"(17)Jazz"} << 17;
        QTest::newRow("number beyond table, name refines") << QStringList{"(200)Jazz"} << 8;
        QTest::newRow("remix then number") << QStringList{"(RX)(32)"} << 32;
        QTest::newRow("name in other case") << QStringList{"hip-hop"} << 7;
        QTest::newRow("usual spelling") << QStringList{"Power Ballad"} << 117;
        QTest::newRow("table spelling") << QStringList{"Psychadelic"} << 67;
        QTest::newRow("first usable value") << QStringList{"Krautrock", "Jazz"} << 8;
        QTest::newRow("last table entry") << QStringList{"125"} << 125;
        QTest::newRow("number beyond table") << QStringList{"126"} << -1;
        QTest::newRow("unknown name") << QStringList{"Krautrock"} << -1;
        QTest::newRow("escaped parenthesis") << QStringList{"((Rock)"} << -1;
        QTest::newRow("unclosed parenthesis") << QStringList{"(17"} << -1;
        QTest::newRow("cover only") << QStringList{"(CR)"} << -1;
        QTest::newRow("nothing") << QStringList{} << -1;
    }
    void genre()
    {
        QFETCH(QStringList, values);
        QFETCH(int, genre);
        QCOMPARE(GenreNumberOf(values), genre);
        // A value that names no genre keeps the file's and says so.
        FillValues filled;
        AddGenre(values, filled);
        QCOMPARE(bool(filled.edits.genre), genre >= 0);
        QCOMPARE(filled.notes.size(), genre < 0 && !values.isEmpty() ? 1 : 0);
    }

    void texts_data()
    {
        QTest::addColumn<QStringList>("dates");
        QTest::addColumn<QString>("year");
        QTest::addColumn<QString>("raw");
        QTest::addColumn<QString>("field");
        QTest::newRow("date, composed accent")
            << QStringList{"2003-05-01"} << "2003" << QString("Cafe\u0301") << QString("Caf\u00e9");
        QTest::newRow("words, controls") << QStringList{"c. 1987"} << "1987"
                                         << QString("two\nlines\t!") << QString("two lines !");
        QTest::newRow("short year, blanks") << QStringList{"87"} << "" << QString("  x  ") << "x";
        QTest::newRow("second date") << QStringList{"", "2001"} << "2001" << QString() << "";
    }
    void texts()
    {
        QFETCH(QStringList, dates);
        QFETCH(QString, year);
        QFETCH(QString, raw);
        QFETCH(QString, field);
        QCOMPARE(YearOf(dates), year);
        QCOMPARE(FieldValue(raw), field);
    }

    void namePattern_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("fields"); // empty: no match
        const auto row = [](const char *name, const char *pattern, const char *file,
                            const char *fields) {
            QTest::newRow(name) << QString(pattern) << QString(file) << QString(fields);
        };
        row("artist - title", "%artist% - %title%", "/m/Queen - So Long.mp3",
            "So Long|Queen|-|-|-|-|-");
        row("extra separator goes to the last", "%artist% - %title%", "A - B - C.mp3",
            "B - C|A|-|-|-|-|-");
        row("title - artist", "%title% - %artist%", "B - C - A.MP3", "B|C - A|-|-|-|-|-");
        row("track. title", "%track%. %title%", "03. Mr. Brown.mp3", "Mr. Brown|-|-|-|-|-|3");
        row("track glued to title", "%track%%title%", "07Intro.mp3", "Intro|-|-|-|-|-|7");
        row("every placeholder", "%year% %album% [%genre%] %track% %title% - %artist% (%comment%)",
            "1999 Days [Jazz] 12 Run - Trio (live).mp3", "Run|Trio|Days|1999|live|8|12");
        row("dots in the name", "%artist% - %title%", "A - B.live.mp3", "B.live|A|-|-|-|-|-");
        row("no extension", "%artist% - %title%", "A - B", "B|A|-|-|-|-|-");
        row("track beyond 255 kept", "%track% %title%", "300 Song.mp3", "Song|-|-|-|-|-|-");
        row("no separator", "%artist% - %title%", "Just a name.mp3", "");
        row("empty side", "%artist% - %title%", " - Title.mp3", "");
        row("track not a number", "%track%. %title%", "A1. Song.mp3", "");
        row("literal must match", "(%year%) %title%", "1999 Song.mp3", "");
        row("regex characters are literal", "%artist% .* %title%", "A - B.mp3", "");
    }
    void namePattern()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, file);
        QFETCH(QString, fields);
        NamePattern parsed;
        QString error;
        QVERIFY2(parsed.parse(pattern, error), qPrintable(error));
        FillValues values;
        QCOMPARE(parsed.match(file, values), !fields.isEmpty());
        if (!fields.isEmpty())
            QCOMPARE(Fields(values.edits), fields);
    }

    void badPattern_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("error");
        QTest::newRow("unknown") << QString("%artst% - %title%")
                                 << QString("unknown placeholder \"%artst%\"");
        QTest::newRow("twice") << QString("%title% - %title%")
                               << QString("\"%title%\" stands twice");
        QTest::newRow("none") << QString("Artist - Title") << QString("no placeholder");
        QTest::newRow("folder") << QString("%artist%/%title%") << QString("\"/\"");
    }
    void badPattern()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, error);
        NamePattern parsed;
        QString reason;
        QVERIFY(!parsed.parse(pattern, reason));
        QVERIFY2(reason.contains(error), qPrintable(reason));
    }
};

QTEST_GUILESS_MAIN(TestFillValues)
#include "tst_FillValues.moc"
