// Listing thousands of files is this program's hot path, so each field goes
// from the trailer bytes into the output once, through a table that holds
// the UTF-8 text of every code page byte, and one escaping rule per style
// serves the fields, the genre and the file name alike.
#include "ShowFormat.h"

#include "CodePage.h"
#include "Genres.h"
#include "Id3v1Tag.h"

#include <array>
#include <cstring>

namespace {

struct ByteText {
    char utf8[3];
    quint8 size;
};

const std::array<ByteText, 256> &ByteTexts()
{
    static const std::array<ByteText, 256> table = [] {
        std::array<ByteText, 256> t{};
        for (int byte = 0; byte < 256; ++byte) {
            const QByteArray utf8 = QString(DecodeCodePageByte(uchar(byte))).toUtf8();
            t[std::size_t(byte)].size = quint8(utf8.size());
            std::memcpy(t[std::size_t(byte)].utf8, utf8.constData(), std::size_t(utf8.size()));
        }
        return t;
    }();
    return table;
}

const std::array<QByteArray, 256> &GenreTexts()
{
    static const std::array<QByteArray, 256> names = [] {
        std::array<QByteArray, 256> n;
        for (int byte = 0; byte < 256; ++byte)
            n[std::size_t(byte)] = GenreName(QString(DecodeCodePageByte(uchar(byte)))).toUtf8();
        return n;
    }();
    return names;
}

// The length of the control character at p (C0, DEL, or C1 written as two
// bytes of UTF-8), or 0 when there is none.
int ControlAt(const char *p, const char *end)
{
    const uchar c = uchar(*p);
    if (c < 0x20 || c == 0x7F)
        return 1;
    if (c == 0xC2 && p + 1 < end && uchar(p[1]) >= 0x80 && uchar(p[1]) <= 0x9F)
        return 2;
    return 0;
}

// The code point of a control character ControlAt found.
int ControlCode(const char *p, int length)
{
    return length == 1 ? uchar(*p) : uchar(p[1]);
}

void AppendSafe(QByteArray &out, const char *p, const char *end)
{
    const char *plain = p; // start of the run not yet written
    while (p < end) {
        const int length = ControlAt(p, end);
        if (!length) {
            ++p;
            continue;
        }
        out.append(plain, p - plain);
        out += '?';
        p += length;
        plain = p;
    }
    out.append(plain, end - plain);
}

void AppendJson(QByteArray &out, const char *p, const char *end)
{
    static const char hex[] = "0123456789abcdef";
    out += '"';
    const char *plain = p;
    while (p < end) {
        const int length = ControlAt(p, end);
        if (!length && *p != '"' && *p != '\\') {
            ++p;
            continue;
        }
        out.append(plain, p - plain);
        if (length) {
            const int code = ControlCode(p, length);
            const char escape[6] = {'\\', 'u', '0', '0', hex[code >> 4], hex[code & 0xF]};
            out.append(escape, sizeof escape);
            p += length;
        } else {
            out += '\\';
            out += *p++;
        }
        plain = p;
    }
    out.append(plain, end - plain);
    out += '"';
}

// RFC 4180 quoting. A cell that a spreadsheet would take for a formula gets
// a leading apostrophe, so opening a listing of downloaded files cannot run
// anything. Controls are gone before the check, so tab and carriage return
// need no guard of their own.
void AppendCsv(QByteArray &out, const char *p, const char *end)
{
    QByteArray cell;
    AppendSafe(cell, p, end);
    if (!cell.isEmpty() && std::strchr("=+-@", cell.at(0)))
        cell.prepend('\'');
    if (cell.contains(',') || cell.contains('"')) {
        cell.replace("\"", "\"\"");
        out += '"' + cell + '"';
    } else {
        out += cell;
    }
}

void AppendStyled(QByteArray &out, ShowStyle style, const char *p, const char *end)
{
    switch (style) {
    case ShowStyle::Json:
        return AppendJson(out, p, end);
    case ShowStyle::Csv:
        return AppendCsv(out, p, end);
    case ShowStyle::Text:
        break;
    }
    AppendSafe(out, p, end);
}

void AppendStyled(QByteArray &out, ShowStyle style, const QByteArray &utf8)
{
    AppendStyled(out, style, utf8.constData(), utf8.constData() + utf8.size());
}

// A field's text up to its first zero, without leading and trailing spaces.
// Fields are at most 30 bytes of at most 3 bytes of UTF-8 each, so the text
// is gathered on the stack.
void AppendField(QByteArray &out, ShowStyle style, const QByteArray &trailer, int offset, int width)
{
    const uchar *begin = reinterpret_cast<const uchar *>(trailer.constData()) + offset;
    const uchar *end = begin + width;
    if (const void *zero = std::memchr(begin, 0, std::size_t(width)))
        end = static_cast<const uchar *>(zero);
    while (begin < end && *begin == ' ')
        ++begin;
    while (end > begin && end[-1] == ' ')
        --end;
    const auto &table = ByteTexts();
    char text[30 * 3];
    int size = 0;
    for (const uchar *p = begin; p < end; ++p) {
        std::memcpy(text + size, table[*p].utf8, table[*p].size);
        size += table[*p].size;
    }
    AppendStyled(out, style, text, text + size);
}

// A name with bytes that are not UTF-8 is shown with a replacement
// character for each of them; plain ASCII goes through untouched.
void AppendName(QByteArray &out, ShowStyle style, const QByteArray &path)
{
    for (const char c : path) {
        if (uchar(c) >= 0x80)
            return AppendStyled(out, style, QString::fromUtf8(path).toUtf8());
    }
    AppendStyled(out, style, path);
}

struct TagField {
    const char *text;
    const char *json;
    int offset;
    int width;
};

const TagField Fields[] = {
    {"\n  Title:   ", ",\"title\":", Id3v1Tag::TitleOffset, Id3v1Tag::TitleWidth},
    {"\n  Artist:  ", ",\"artist\":", Id3v1Tag::ArtistOffset, Id3v1Tag::ArtistWidth},
    {"\n  Album:   ", ",\"album\":", Id3v1Tag::AlbumOffset, Id3v1Tag::AlbumWidth},
    {"\n  Year:    ", ",\"year\":", Id3v1Tag::YearOffset, Id3v1Tag::YearWidth},
    {"\n  Comment: ", ",\"comment\":", Id3v1Tag::CommentOffset, Id3v1Tag::CommentWidth},
};

int Track(const QByteArray &trailer)
{
    constexpr int zeroAt = Id3v1Tag::CommentOffset + Id3v1Tag::CommentWidth - 2;
    return trailer.at(zeroAt) == 0 ? uchar(trailer.at(zeroAt + 1)) : 0;
}

void AppendTagged(QByteArray &out, ShowStyle style, const QByteArray &trailer)
{
    const uchar genre = uchar(trailer.at(Id3v1Tag::GenreOffset));
    const int track = Track(trailer);
    const QByteArray trackText = track ? QByteArray::number(track) : QByteArray();
    for (const TagField &field : Fields) {
        out += style == ShowStyle::Text ? field.text : style == ShowStyle::Json ? field.json : ",";
        AppendField(out, style, trailer, field.offset, field.width);
    }
    switch (style) {
    case ShowStyle::Text:
        out += "\n  Genre:   ";
        AppendStyled(out, style, GenreTexts()[genre]);
        out += " (" + QByteArray::number(genre) + ")\n";
        if (track)
            out += "  Track:   " + trackText + '\n';
        return;
    case ShowStyle::Json:
        out += ",\"genre\":";
        AppendStyled(out, style, GenreTexts()[genre]);
        out += ",\"genre_number\":" + QByteArray::number(genre) +
               ",\"track\":" + (track ? trackText : QByteArray("null"));
        return;
    case ShowStyle::Csv:
        out += ',';
        AppendStyled(out, style, GenreTexts()[genre]);
        out += ',' + QByteArray::number(genre) + ',' + trackText;
        return;
    }
}

// The version of the ID3v2 tag beside the trailer: its own line, a last
// member or a last column, and the end of the file's lines.
void AppendId3v2(QByteArray &out, ShowStyle style, int major)
{
    const QByteArray version = major ? "2." + QByteArray::number(major) : QByteArray();
    switch (style) {
    case ShowStyle::Text:
        if (major)
            out += "  ID3v2:   " + version + '\n';
        return;
    case ShowStyle::Json:
        out += ",\"id3v2\":" + (major ? '"' + version + '"' : QByteArray("null")) + "}\n";
        return;
    case ShowStyle::Csv:
        out += ',' + version + '\n';
        return;
    }
}

} // namespace

QByteArray ShowHeader(ShowStyle style)
{
    if (style == ShowStyle::Csv)
        return "file,tag,title,artist,album,year,comment,genre,genre_number,track,id3v2\n";
    return QByteArray();
}

void AppendShown(QByteArray &out, ShowStyle style, const QByteArray &path,
                 const QByteArray &trailer, int id3v2Major)
{
    const bool tagged = trailer.size() == Id3v1Tag::Size && trailer.startsWith("TAG");
    if (style == ShowStyle::Json)
        out += "{\"file\":";
    AppendName(out, style, path);
    switch (style) {
    case ShowStyle::Text:
        out += tagged ? ":" : ":\n  no ID3v1 tag\n";
        break;
    case ShowStyle::Json:
        out += tagged ? ",\"tag\":true" : ",\"tag\":false";
        break;
    case ShowStyle::Csv:
        out += tagged ? ",yes" : ",no,,,,,,,,";
        break;
    }
    if (tagged)
        AppendTagged(out, style, trailer);
    AppendId3v2(out, style, id3v2Major);
}

QByteArray ShownText(ShowStyle style, const QByteArray &utf8)
{
    QByteArray out;
    AppendStyled(out, style, utf8);
    return out;
}

QString TerminalSafe(const QString &text)
{
    QString safe = text;
    for (QChar &c : safe) {
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7F && u <= 0x9F))
            c = QLatin1Char('?');
    }
    return safe;
}
