#include "ShowFormat.h"

#include "Genres.h"

// Listing thousands of files is this program's hot path, so the fields go
// from the tag straight into the output bytes, without a string per step.

namespace {

bool IsControl(char16_t u)
{
    return u < 0x20 || (u >= 0x7F && u <= 0x9F);
}

// The field up to its first zero character, without leading and trailing
// spaces; a view into the field.
QStringView ShownView(const QString &field)
{
    QStringView view(field);
    const qsizetype zero = view.indexOf(QChar(0));
    if (zero >= 0)
        view = view.left(zero);
    while (!view.isEmpty() && view.front() == QLatin1Char(' '))
        view = view.mid(1);
    while (!view.isEmpty() && view.back() == QLatin1Char(' '))
        view.chop(1);
    return view;
}

void AppendUtf8(QByteArray &out, QStringView text)
{
    bool ascii = true;
    for (const QChar c : text)
        ascii = ascii && c.unicode() < 0x80;
    if (!ascii) {
        out += text.toUtf8();
        return;
    }
    for (const QChar c : text)
        out += char(c.unicode());
}

void AppendTerminalSafe(QByteArray &out, QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (IsControl(text.at(i).unicode())) {
            AppendUtf8(out, text.left(i));
            out += '?';
            AppendTerminalSafe(out, text.mid(i + 1));
            return;
        }
    }
    AppendUtf8(out, text);
}

void AppendJson(QByteArray &out, QStringView text)
{
    out += '"';
    qsizetype plain = 0; // start of the run not yet written
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text.at(i).unicode();
        const bool quote = u == u'"' || u == u'\\';
        if (!quote && !IsControl(u) && u != 0x7F)
            continue;
        AppendUtf8(out, text.mid(plain, i - plain));
        plain = i + 1;
        if (quote) {
            out += '\\';
            out += char(u);
        } else {
            out += "\\u" + QByteArray::number(u, 16).rightJustified(4, '0');
        }
    }
    AppendUtf8(out, text.mid(plain));
    out += '"';
}

void TextLine(QByteArray &out, const char *label, QStringView value)
{
    out += "  ";
    out += label;
    AppendTerminalSafe(out, value);
    out += '\n';
}

QByteArray ShowText(const QString &file, const Id3v1Tag *tag)
{
    QByteArray out;
    AppendTerminalSafe(out, file);
    out += ":\n";
    if (!tag)
        return out + "  no ID3v1 tag\n";
    TextLine(out, "Title:   ", ShownView(tag->Title));
    TextLine(out, "Artist:  ", ShownView(tag->Artist));
    TextLine(out, "Album:   ", ShownView(tag->Album));
    TextLine(out, "Year:    ", ShownView(tag->Year));
    TextLine(out, "Comment: ", ShownView(tag->Comment));
    TextLine(out, "Genre:   ", GenreName(tag->Genre));
    out.chop(1);
    out += " (" + QByteArray::number(GenreNumber(tag->Genre)) + ")\n";
    if (tag->track() > 0)
        out += "  Track:   " + QByteArray::number(tag->track()) + '\n';
    return out;
}

void JsonMember(QByteArray &out, const char *name, QStringView value)
{
    out += ",\"";
    out += name;
    out += "\":";
    AppendJson(out, value);
}

QByteArray ShowJson(const QString &file, const Id3v1Tag *tag)
{
    QByteArray out = "{\"file\":";
    AppendJson(out, file);
    if (!tag)
        return out + ",\"tag\":false}\n";
    out += ",\"tag\":true";
    JsonMember(out, "title", ShownView(tag->Title));
    JsonMember(out, "artist", ShownView(tag->Artist));
    JsonMember(out, "album", ShownView(tag->Album));
    JsonMember(out, "year", ShownView(tag->Year));
    JsonMember(out, "comment", ShownView(tag->Comment));
    JsonMember(out, "genre", GenreName(tag->Genre));
    out += ",\"genre_number\":" + QByteArray::number(GenreNumber(tag->Genre));
    const int track = tag->track();
    out += ",\"track\":" + (track > 0 ? QByteArray::number(track) : QByteArray("null"));
    return out + "}\n";
}

QByteArray ShowCsv(const QString &file, const Id3v1Tag *tag)
{
    QByteArray out = CsvCell(file);
    if (!tag)
        return out + ",no,,,,,,,,\n";
    const int track = tag->track();
    out += ",yes," + CsvCell(ShownField(tag->Title)) + ',' + CsvCell(ShownField(tag->Artist)) +
           ',' + CsvCell(ShownField(tag->Album)) + ',' + CsvCell(ShownField(tag->Year)) + ',' +
           CsvCell(ShownField(tag->Comment)) + ',' + CsvCell(GenreName(tag->Genre)) + ',' +
           QByteArray::number(GenreNumber(tag->Genre)) + ',' +
           (track > 0 ? QByteArray::number(track) : QByteArray());
    return out + '\n';
}

} // namespace

QString ShownField(const QString &field)
{
    return ShownView(field).toString();
}

QString TerminalSafe(const QString &text)
{
    QString safe = text;
    for (QChar &c : safe) {
        if (IsControl(c.unicode()))
            c = QLatin1Char('?');
    }
    return safe;
}

QByteArray JsonString(const QString &text)
{
    QByteArray out;
    AppendJson(out, text);
    return out;
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
