#include "ShowFormat.h"

#include "Genres.h"
#include "TagRename.h"

namespace {

struct ShownTag {
    QString title, artist, album, year, comment, genre;
    int genreNumber = 255;
    int track = 0;
};

ShownTag Shown(const Id3v1Tag &tag)
{
    ShownTag shown;
    shown.title = ShownField(tag.Title);
    shown.artist = ShownField(tag.Artist);
    shown.album = ShownField(tag.Album);
    shown.year = ShownField(tag.Year);
    shown.comment = ShownField(tag.Comment);
    shown.genre = GenreName(tag.Genre);
    shown.genreNumber = GenreNumber(tag.Genre);
    shown.track = tag.track();
    return shown;
}

bool IsControl(QChar c)
{
    const ushort u = c.unicode();
    return u < 0x20 || (u >= 0x7F && u <= 0x9F);
}

QByteArray TextLine(const char *label, const QString &value)
{
    return QByteArray("  ") + label + TerminalSafe(value).toUtf8() + '\n';
}

QByteArray ShowText(const QString &file, const Id3v1Tag *tag)
{
    QByteArray out = TerminalSafe(file).toUtf8() + ":\n";
    if (!tag)
        return out + "  no ID3v1 tag\n";
    const ShownTag s = Shown(*tag);
    out += TextLine("Title:   ", s.title);
    out += TextLine("Artist:  ", s.artist);
    out += TextLine("Album:   ", s.album);
    out += TextLine("Year:    ", s.year);
    out += TextLine("Comment: ", s.comment);
    out += TextLine("Genre:   ", s.genre + QStringLiteral(" (%1)").arg(s.genreNumber));
    if (s.track > 0)
        out += TextLine("Track:   ", QString::number(s.track));
    return out;
}

QByteArray ShowJson(const QString &file, const Id3v1Tag *tag)
{
    QByteArray out = "{\"file\":" + JsonString(file);
    if (!tag)
        return out + ",\"tag\":false}\n";
    const ShownTag s = Shown(*tag);
    out += ",\"tag\":true";
    out += ",\"title\":" + JsonString(s.title);
    out += ",\"artist\":" + JsonString(s.artist);
    out += ",\"album\":" + JsonString(s.album);
    out += ",\"year\":" + JsonString(s.year);
    out += ",\"comment\":" + JsonString(s.comment);
    out += ",\"genre\":" + JsonString(s.genre);
    out += ",\"genre_number\":" + QByteArray::number(s.genreNumber);
    out += ",\"track\":" + (s.track > 0 ? QByteArray::number(s.track) : QByteArray("null"));
    return out + "}\n";
}

QByteArray ShowCsv(const QString &file, const Id3v1Tag *tag)
{
    QByteArray out = CsvCell(file);
    if (!tag)
        return out + ",no,,,,,,,,\n";
    const ShownTag s = Shown(*tag);
    out += ",yes," + CsvCell(s.title) + ',' + CsvCell(s.artist) + ',' + CsvCell(s.album) + ',' +
           CsvCell(s.year) + ',' + CsvCell(s.comment) + ',' + CsvCell(s.genre) + ',' +
           QByteArray::number(s.genreNumber) + ',' +
           (s.track > 0 ? QByteArray::number(s.track) : QByteArray());
    return out + '\n';
}

} // namespace

QString ShownField(const QString &field)
{
    return TrimSpaces(FieldText(field));
}

QString TerminalSafe(const QString &text)
{
    QString safe = text;
    for (QChar &c : safe) {
        if (IsControl(c))
            c = QLatin1Char('?');
    }
    return safe;
}

QByteArray JsonString(const QString &text)
{
    QByteArray out = "\"";
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if (c == QLatin1Char('"') || c == QLatin1Char('\\')) {
            out += '\\';
            out += char(u);
        } else if (u < 0x20 || u == 0x7F || (u >= 0x80 && u <= 0x9F)) {
            out += "\\u" + QByteArray::number(u, 16).rightJustified(4, '0');
        } else {
            out += QString(c).toUtf8();
        }
    }
    return out + '"';
}

// RFC 4180 quoting. A cell that a spreadsheet would take for a formula gets
// a leading apostrophe, so opening a listing of downloaded files cannot run
// anything.
QByteArray CsvCell(const QString &text)
{
    QString cell = text;
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    if (!cell.isEmpty() && formulaStarts.contains(cell.at(0)))
        cell.prepend(QLatin1Char('\''));
    QByteArray bytes = cell.toUtf8();
    if (bytes.contains(',') || bytes.contains('"') || bytes.contains('\n') ||
        bytes.contains('\r')) {
        bytes.replace("\"", "\"\"");
        return '"' + bytes + '"';
    }
    return bytes;
}

QByteArray ShowHeader(ShowStyle style)
{
    if (style == ShowStyle::Csv)
        return "file,tag,title,artist,album,year,comment,genre,genre_number,track\n";
    return QByteArray();
}

QByteArray ShowFile(ShowStyle style, const QString &file, const Id3v1Tag *tag)
{
    switch (style) {
    case ShowStyle::Json:
        return ShowJson(file, tag);
    case ShowStyle::Csv:
        return ShowCsv(file, tag);
    case ShowStyle::Text:
        break;
    }
    return ShowText(file, tag);
}
