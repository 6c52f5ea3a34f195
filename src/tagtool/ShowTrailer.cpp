// The fast way from trailer bytes to the lines of `show`. Each byte's text
// is looked up once in a table built from the code page, so a field costs a
// few copies instead of a string per step. ShowFile over the parsed tag is
// the reference; the tests hold the two to the same output.
#include "ShowFormat.h"

#include "CodePage.h"
#include "Genres.h"

#include <array>
#include <cstring>

namespace {

struct ByteText {
    char utf8[3];
    quint8 size;
    char16_t unicode;
};

const std::array<ByteText, 256> &ByteTexts()
{
    static const std::array<ByteText, 256> table = [] {
        std::array<ByteText, 256> t{};
        for (int byte = 0; byte < 256; ++byte) {
            const QChar c = DecodeCodePageByte(uchar(byte));
            const QByteArray utf8 = QString(c).toUtf8();
            t[std::size_t(byte)].size = quint8(utf8.size());
            std::memcpy(t[std::size_t(byte)].utf8, utf8.constData(), std::size_t(utf8.size()));
            t[std::size_t(byte)].unicode = c.unicode();
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

bool IsControl(char16_t u)
{
    return u < 0x20 || (u >= 0x7F && u <= 0x9F);
}

// A field's bytes up to its first zero, without leading and trailing spaces.
struct Field {
    const uchar *begin;
    const uchar *end;
};

Field Shown(const QByteArray &trailer, int offset, int width)
{
    const uchar *begin = reinterpret_cast<const uchar *>(trailer.constData()) + offset;
    const uchar *end = begin + width;
    if (const void *zero = std::memchr(begin, 0, std::size_t(width)))
        end = static_cast<const uchar *>(zero);
    while (begin < end && *begin == ' ')
        ++begin;
    while (end > begin && end[-1] == ' ')
        --end;
    return {begin, end};
}

// Fields are at most 30 bytes, so their text is gathered on the stack and
// appended once: at most 3 UTF-8 bytes, or a 6-byte JSON escape, per byte.
constexpr int MaxFieldText = 30 * 6 + 2;

void AppendText(QByteArray &out, Field field)
{
    const auto &table = ByteTexts();
    char text[MaxFieldText];
    int size = 0;
    for (const uchar *p = field.begin; p < field.end; ++p) {
        const ByteText &byte = table[*p];
        if (IsControl(byte.unicode)) {
            text[size++] = '?';
        } else {
            std::memcpy(text + size, byte.utf8, byte.size);
            size += byte.size;
        }
    }
    out.append(text, size);
}

void AppendJson(QByteArray &out, Field field)
{
    static const char hex[] = "0123456789abcdef";
    const auto &table = ByteTexts();
    char text[MaxFieldText];
    int size = 0;
    text[size++] = '"';
    for (const uchar *p = field.begin; p < field.end; ++p) {
        const ByteText &byte = table[*p];
        if (byte.unicode == u'"' || byte.unicode == u'\\') {
            text[size++] = '\\';
            text[size++] = char(byte.unicode);
        } else if (IsControl(byte.unicode)) {
            const char escape[6] = {
                '\\', 'u', '0', '0', hex[(byte.unicode >> 4) & 0xF], hex[byte.unicode & 0xF]};
            std::memcpy(text + size, escape, sizeof escape);
            size += int(sizeof escape);
        } else {
            std::memcpy(text + size, byte.utf8, byte.size);
            size += byte.size;
        }
    }
    text[size++] = '"';
    out.append(text, size);
}

int Track(const QByteArray &trailer)
{
    constexpr int zeroAt = Id3v1Tag::CommentOffset + 28;
    return trailer.at(zeroAt) == 0 ? uchar(trailer.at(zeroAt + 1)) : 0;
}

QByteArray TrailerText(const QString &file, const QByteArray &trailer)
{
    QByteArray out = TerminalSafe(file).toUtf8();
    out += ":\n  Title:   ";
    AppendText(out, Shown(trailer, Id3v1Tag::TitleOffset, Id3v1Tag::TitleWidth));
    out += "\n  Artist:  ";
    AppendText(out, Shown(trailer, Id3v1Tag::ArtistOffset, Id3v1Tag::ArtistWidth));
    out += "\n  Album:   ";
    AppendText(out, Shown(trailer, Id3v1Tag::AlbumOffset, Id3v1Tag::AlbumWidth));
    out += "\n  Year:    ";
    AppendText(out, Shown(trailer, Id3v1Tag::YearOffset, Id3v1Tag::YearWidth));
    out += "\n  Comment: ";
    AppendText(out, Shown(trailer, Id3v1Tag::CommentOffset, Id3v1Tag::CommentWidth));
    const uchar genre = uchar(trailer.at(Id3v1Tag::GenreOffset));
    out += "\n  Genre:   " + GenreTexts()[genre] + " (" + QByteArray::number(genre) + ")\n";
    if (const int track = Track(trailer))
        out += "  Track:   " + QByteArray::number(track) + '\n';
    return out;
}

QByteArray TrailerJson(const QString &file, const QByteArray &trailer)
{
    QByteArray out = "{\"file\":" + JsonString(file) + ",\"tag\":true,\"title\":";
    AppendJson(out, Shown(trailer, Id3v1Tag::TitleOffset, Id3v1Tag::TitleWidth));
    out += ",\"artist\":";
    AppendJson(out, Shown(trailer, Id3v1Tag::ArtistOffset, Id3v1Tag::ArtistWidth));
    out += ",\"album\":";
    AppendJson(out, Shown(trailer, Id3v1Tag::AlbumOffset, Id3v1Tag::AlbumWidth));
    out += ",\"year\":";
    AppendJson(out, Shown(trailer, Id3v1Tag::YearOffset, Id3v1Tag::YearWidth));
    out += ",\"comment\":";
    AppendJson(out, Shown(trailer, Id3v1Tag::CommentOffset, Id3v1Tag::CommentWidth));
    const uchar genre = uchar(trailer.at(Id3v1Tag::GenreOffset));
    out +=
        ",\"genre\":\"" + GenreTexts()[genre] + "\",\"genre_number\":" + QByteArray::number(genre);
    const int track = Track(trailer);
    out += ",\"track\":" + (track ? QByteArray::number(track) : QByteArray("null")) + "}\n";
    return out;
}

} // namespace

QByteArray ShowTrailer(ShowStyle style, const QString &file, const QByteArray &trailer)
{
    const bool tagged = trailer.size() == Id3v1Tag::Size && trailer.startsWith("TAG");
    if (!tagged)
        return ShowFile(style, file, nullptr);
    switch (style) {
    case ShowStyle::Text:
        return TrailerText(file, trailer);
    case ShowStyle::Json:
        return TrailerJson(file, trailer);
    case ShowStyle::Csv:
        break;
    }
    const Id3v1Tag tag = Id3v1Tag::parse(trailer);
    return ShowFile(style, file, &tag);
}
