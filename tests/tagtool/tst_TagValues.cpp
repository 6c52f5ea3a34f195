// How brelko-tag reads the values it is given: set's options, and what a
// fill takes from ID3v2 frames and file names.
#include "CodePage.h"
#include "FillValues.h"
#include "Genres.h"
#include "NamePattern.h"
#include "TagEdits.h"

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

const QByteArray TrackNine = QByteArray("Live") + QByteArray(24, ' ') + '\0' + char(9);

} // namespace

class TestTagValues : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // set --genre and --track: -1 refused.
    void setOption_data()
    {
        QTest::addColumn<char>("option"); // genre or track
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("number");
        // clang-format off
        const struct { char option; const char *text; int number; } rows[] = {
            {'g', "Rock", 17}, {'g', "Blues", 0}, {'g', "Poweer Ballad", 117}, {'g', "255", 255},
            {'g', "Unknown Genre Entry", -1}, {'t', "255", 255}, {'t', "256", -1},
        };
        // clang-format on
        for (const auto &row : rows)
            QTest::addRow("%c %s", row.option, row.text) << row.option << row.text << row.number;
    }
    void setOption()
    {
        QFETCH(char, option);
        QFETCH(QString, text);
        QFETCH(int, number);
        QString field, error;
        int track = -1;
        const bool ok =
            option == 'g' ? ParseGenre(text, field, error) : ParseTrack(text, track, error);
        QCOMPARE(ok, number >= 0);
        QCOMPARE(error.isEmpty(), ok);
        if (ok)
            QCOMPARE(option == 'g' ? int(uchar(EncodeCodePage(field).at(0))) : track, number);
    }

    // The comment and the track share 30 bytes. (Keeping the track under a
    // new comment, cutting the comment for a track, and a track on a blank
    // comment are checked through brelko-tag.)
    void commentAndTrack_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("comment"); // "<none>": not given
        QTest::addColumn<int>("track");       // -1: not given
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("new track over old")
            << TrackNine << "<none>" << 12 << TrackNine.left(29) + char(12);
        QTest::newRow("remove track")
            << TrackNine << "<none>" << 0 << TrackNine.left(28) + QByteArray(2, '\0');
        QTest::newRow("remove with comment")
            << TrackNine << "Hi" << 0 << QByteArray("Hi").leftJustified(28) + QByteArray(2, '\0');
        QTest::newRow("remove from full text")
            << QByteArray(30, 'y') << "<none>" << 0 << QByteArray(30, 'y');
    }
    void commentAndTrack()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, comment);
        QFETCH(int, track);
        QFETCH(QByteArray, after);
        Id3v1Tag tag = Id3v1Tag::parse("TAG" + QByteArray(94, ' ') + before + char(17));
        TagEdits edits;
        if (comment != QLatin1String("<none>"))
            edits.comment = comment;
        if (track >= 0)
            edits.track = track;
        ApplyEdits(edits, tag);
        QCOMPARE(tag.render().mid(Id3v1Tag::CommentOffset, 30), after);
    }

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

    // A frame's values, '|'-separated: the genre a fill takes, -1 none.
    void genre_data()
    {
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<int>("genre");
        // clang-format off
        const QList<QPair<const char *, int>> rows = {
            {"(17)", 17}, {"17", 17}, {"Rock", 17}, {"(9)Heavy", 9}, {"(17)Jazz", 17},
            {"(200)Jazz", 8}, {"(RX)(32)", 32}, {"hip-hop", 7}, {"Power Ballad", 117},
            {"Psychadelic", 67}, {"Krautrock|Jazz", 8}, {"125", 125}, {"126", -1},
            {"Krautrock", -1}, {"((Rock)", -1}, {"(17", -1}, {"(CR)", -1}, {"", -1}};
        // clang-format on
        for (const auto &row : rows)
            QTest::newRow(row.first)
                << QString(row.first).split('|', Qt::SkipEmptyParts) << row.second;
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
        // clang-format off
        const char *rows[][4] = {
            {"artist - title", "%artist% - %title%", "/m/Queen - So Long.mp3", "So Long|Queen|-|-|-|-|-"},
            {"extra separator goes to the last", "%title% - %artist%", "B - C - A.MP3", "B|C - A|-|-|-|-|-"},
            {"track. title", "%track%. %title%", "03. Mr. Brown.mp3", "Mr. Brown|-|-|-|-|-|3"},
            {"track glued to title", "%track%%title%", "07Intro.mp3", "Intro|-|-|-|-|-|7"},
            {"every placeholder", "%year% %album% [%genre%] %track% %title% - %artist% (%comment%)",
             "1999 Days [Jazz] 12 Run - Trio (live).mp3", "Run|Trio|Days|1999|live|8|12"},
            {"dots in the name", "%artist% - %title%", "A - B.live.mp3", "B.live|A|-|-|-|-|-"},
            {"no extension", "%artist% - %title%", "A - B", "B|A|-|-|-|-|-"},
            {"track beyond 255 kept", "%track% %title%", "300 Song.mp3", "Song|-|-|-|-|-|-"},
            {"no separator", "%artist% - %title%", "Just a name.mp3", ""},
            {"empty side", "%artist% - %title%", " - Title.mp3", ""},
            {"track not a number", "%track%. %title%", "A1. Song.mp3", ""},
            {"literal must match", "(%year%) %title%", "1999 Song.mp3", ""},
            {"regex characters are literal", "%artist% .* %title%", "A - B.mp3", ""},
        };
        // clang-format on
        for (const auto &row : rows)
            QTest::newRow(row[0]) << QString(row[1]) << QString(row[2]) << QString(row[3]);
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
        QTest::newRow("unknown") << "%artst% - %title%"
                                 << "unknown placeholder \"%artst%\"";
        QTest::newRow("twice") << "%title% - %title%"
                               << "\"%title%\" stands twice";
        QTest::newRow("none") << "Artist - Title"
                              << "no placeholder";
        QTest::newRow("folder") << "%artist%/%title%"
                                << "\"/\"";
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

QTEST_GUILESS_MAIN(TestTagValues)
#include "tst_TagValues.moc"
