// How a fill reads tracks, genres, years and file names.
#include "FillValues.h"
#include "Genres.h"
#include "NamePattern.h"
#include "TableRows.h"

namespace {

// The fields a fill would change, "-" for those it leaves alone:
// title|artist|album|year|comment|genre|track
QString Fields(const TagEdits &e)
{
    QStringList fields;
    for (const auto *field : {&e.title, &e.artist, &e.album, &e.year, &e.comment})
        fields.append(field->value_or("-"));
    fields.append(e.genre ? QString::number(GenreNumber(*e.genre)) : "-");
    fields.append(e.track ? QString::number(*e.track) : "-");
    return fields.join('|');
}

// clang-format off
// A frame's text (the name) and the number it gives, -1: none.
const struct { const char *name; int number; } kTracks[] = {
    {"3", 3}, {"03", 3}, {"3/12", 3}, {" 7 / 9", 7}, {"255", 255}, {"256", -1}, {"0", -1},
    {"0/12", -1}, {"A1", -1}, {"", -1}, {"-3", -1}, {"3.5", -1}, {"/12", -1}, {"99999999999", -1}};
// A frame's values, '|'-separated.
const struct { const char *name; int number; } kGenres[] = {
    {"(17)", 17}, {"17", 17}, {"Rock", 17}, {"(9)Heavy", 9}, {"(17)Jazz", 17}, {"(200)Jazz", 8},
    {"(RX)(32)", 32}, {"hip-hop", 7}, {"Power Ballad", 117}, {"Psychadelic", 67},
    {"Krautrock|Jazz", 8}, {"125", 125}, {"126", -1}, {"Krautrock", -1}, {"((Rock)", -1},
    {"(17", -1}, {"(CR)", -1}, {"", -1}};
// Dates ('|'-separated) and the year; a frame's text and the field it gives.
const struct { const char *name, *dates, *year, *raw, *field; } kTexts[] = {
    {"date, composed accent", "2003-05-01", "2003", "Cafe\xcc\x81", "Caf\xc3\xa9"},
    {"words, controls", "c. 1987", "1987", "two\nlines\t!", "two lines !"},
    {"short year, blanks", "87", "", "  x  ", "x"}, {"second date", "|2001", "2001", "", ""}};
// fields: as Fields() gives them; "": no match; "!": the pattern's error.
const struct { const char *name, *pattern, *file, *fields; } kPatterns[] = {
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
    {"unknown placeholder", "%artst% - %title%", "", "!unknown placeholder \"%artst%\""},
    {"placeholder twice", "%title% - %title%", "", "!\"%title%\" stands twice"},
    {"no placeholder", "Artist - Title", "", "!no placeholder"}, {"folder", "%artist%/%title%", "", "!\"/\""}};
// clang-format on

} // namespace

class TestFillValues : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void track_data() { AddRows(kTracks); }
    void track()
    {
        QFETCH(int, row);
        QCOMPARE(TrackNumber(kTracks[row].name), kTracks[row].number);
    }

    void genre_data() { AddRows(kGenres); }
    void genre()
    {
        QFETCH(int, row);
        const QStringList values = QString(kGenres[row].name).split('|', Qt::SkipEmptyParts);
        // A value that names no genre keeps the file's and says so.
        FillValues filled;
        AddGenre(values, filled);
        const std::optional<QString> &genre = filled.edits.genre;
        QCOMPARE(genre ? GenreNumber(*genre) : -1, kGenres[row].number);
        QCOMPARE(filled.notes.size(), !genre && !values.isEmpty() ? 1 : 0);
    }

    void texts_data() { AddRows(kTexts); }
    void texts()
    {
        QFETCH(int, row);
        QCOMPARE(YearOf(QString(kTexts[row].dates).split('|')), QString(kTexts[row].year));
        QCOMPARE(FieldValue(QString::fromUtf8(kTexts[row].raw)),
                 QString::fromUtf8(kTexts[row].field));
    }

    void namePattern_data() { AddRows(kPatterns); }
    void namePattern()
    {
        QFETCH(int, row);
        const QString fields = kPatterns[row].fields;
        NamePattern parsed;
        QString error;
        QCOMPARE(parsed.parse(kPatterns[row].pattern, error), !fields.startsWith('!'));
        QVERIFY2(!fields.startsWith('!') || error.contains(fields.mid(1)), qPrintable(error));
        FillValues values;
        if (!fields.startsWith('!'))
            QCOMPARE(parsed.match(kPatterns[row].file, values), !fields.isEmpty());
        if (!fields.isEmpty() && !fields.startsWith('!'))
            QCOMPARE(Fields(values.edits), fields);
    }
};

QTEST_GUILESS_MAIN(TestFillValues)
#include "tst_FillValues.moc"
