#include "FillValues.h"

#include "CodePage.h"
#include "Genres.h"
#include "Id3v2Reader.h"

#include <QRegularExpression>

namespace {

bool AllDigits(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

// The number of a genre name: the table's spelling in any case, or the
// spelling other programs use for the few entries the table misspells.
int GenreByName(const QString &name)
{
    static const QList<QPair<QString, int>> spellings = {
        {QStringLiteral("Psychedelic"), 67},
        {QStringLiteral("Power Ballad"), 117},
        {QStringLiteral("Rhythmic Soul"), 118},
        {QStringLiteral("A Cappella"), 123},
    };
    const QStringList &table = GenreTable();
    const int exact = int(table.indexOf(name));
    if (exact >= 0)
        return exact;
    for (int i = 0; i < table.size(); ++i)
        if (table.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    for (const auto &spelling : spellings)
        if (spelling.first.compare(name, Qt::CaseInsensitive) == 0)
            return spelling.second;
    return -1;
}

int GenreByNumber(const QString &digits)
{
    bool ok = false;
    const int number = digits.toInt(&ok);
    return ok && number >= 0 && number < GenreCount ? number : -1;
}

// One value: numbers in parentheses come first and win; the text after them
// refines them and counts only when none is a table genre. "((" starts a
// name that itself begins with "(".
int GenreOf(QString value)
{
    value = value.trimmed();
    if (value.startsWith(QLatin1String("((")))
        return GenreByName(value.mid(1));
    while (value.startsWith(QLatin1Char('('))) {
        const int close = int(value.indexOf(QLatin1Char(')')));
        if (close < 0)
            break;
        const QString inner = value.mid(1, close - 1);
        if (AllDigits(inner) && GenreByNumber(inner) >= 0)
            return GenreByNumber(inner);
        value = value.mid(close + 1).trimmed();
    }
    if (AllDigits(value))
        return GenreByNumber(value);
    return value.isEmpty() ? -1 : GenreByName(value);
}

} // namespace

QString FieldValue(const QString &text)
{
    QString value = text.normalized(QString::NormalizationForm_C);
    for (QChar &c : value)
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char(' ');
    return value.trimmed();
}

int TrackNumber(const QString &text)
{
    const QString number = text.section(QLatin1Char('/'), 0, 0).trimmed();
    if (!AllDigits(number) || number.size() > 6)
        return -1;
    const int track = number.toInt();
    return track >= 1 && track <= 255 ? track : -1;
}

int GenreNumberOf(const QStringList &values)
{
    for (const QString &value : values) {
        const int genre = GenreOf(value);
        if (genre >= 0)
            return genre;
    }
    return -1;
}

QString YearOf(const QStringList &dates)
{
    static const QRegularExpression fourDigits(QStringLiteral("[0-9]{4}"));
    for (const QString &date : dates) {
        const QRegularExpressionMatch found = fourDigits.match(date);
        if (found.hasMatch())
            return found.captured();
    }
    return QString();
}

void AddTrack(const QString &text, FillValues &values)
{
    if (text.trimmed().isEmpty())
        return;
    const int track = TrackNumber(text);
    if (track > 0)
        values.edits.track = track;
    else
        values.notes.append(
            QStringLiteral("track \"%1\" is not a number from 1 to 255; the file's track is kept")
                .arg(FieldValue(text)));
}

void AddGenre(const QStringList &texts, FillValues &values)
{
    QStringList given = texts;
    given.removeAll(QString());
    if (given.isEmpty())
        return;
    const int genre = GenreNumberOf(given);
    if (genre >= 0)
        values.edits.genre = QString(DecodeCodePageByte(uchar(genre)));
    else
        values.notes.append(
            QStringLiteral("genre \"%1\" is not an ID3v1 genre; the file's genre is kept")
                .arg(FieldValue(given.join(QStringLiteral(" / ")))));
}

FillValues ValuesFromId3v2(const Id3v2Texts &texts)
{
    FillValues values;
    const auto add = [](std::optional<QString> &field, const QString &text) {
        const QString value = FieldValue(text);
        if (!value.isEmpty())
            field = value;
    };
    add(values.edits.title, texts.title);
    add(values.edits.artist, texts.artist);
    add(values.edits.album, texts.album);
    add(values.edits.comment, texts.comment);
    add(values.edits.year, YearOf(texts.dates));
    if (!values.edits.year && !texts.dates.join(QString()).trimmed().isEmpty())
        values.notes.append(QStringLiteral("date \"%1\" holds no year; the file's year is kept")
                                .arg(FieldValue(texts.dates.value(0))));
    AddTrack(texts.track, values);
    AddGenre(texts.genres, values);
    return values;
}
