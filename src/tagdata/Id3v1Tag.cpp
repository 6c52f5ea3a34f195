#include "Id3v1Tag.h"

#include "CodePage.h"

namespace {

const QString kTagMarker = QStringLiteral("TAG");

QByteArray FieldBytes(const QString &field, int width)
{
    QByteArray bytes = EncodeCodePage(field);
    // A surrogate pair encodes to a single byte, so a full field can come out
    // short; pad it back so the trailer never loses its shape.
    if (bytes.size() < width)
        bytes.append(width - bytes.size(), ' ');
    bytes.truncate(width);
    return bytes;
}

QString FieldAt(const QByteArray &bytes, int offset, int width)
{
    return DecodeCodePage(bytes.mid(offset, width));
}

} // namespace

bool Id3v1Tag::hasHeader() const
{
    return Header == kTagMarker;
}

int Id3v1Tag::track() const
{
    if (Comment.size() != CommentWidth)
        return 0;
    const int byte = EncodeCodePageChar(Comment.at(CommentWithTrackWidth + 1));
    return TrackNumber(Comment.at(CommentWithTrackWidth).unicode(), byte < 0 ? 0 : byte);
}

int TrackInTrailer(const QByteArray &trailer)
{
    if (trailer.size() != Id3v1Tag::Size)
        return 0;
    return TrackNumber(uchar(trailer.at(Id3v1Tag::TrackZeroOffset)),
                       uchar(trailer.at(Id3v1Tag::TrackOffset)));
}

QByteArray Id3v1Tag::render() const
{
    QByteArray bytes;
    bytes.reserve(Size);
    bytes += FieldBytes(Header, HeaderWidth);
    bytes += FieldBytes(Title, TitleWidth);
    bytes += FieldBytes(Artist, ArtistWidth);
    bytes += FieldBytes(Album, AlbumWidth);
    bytes += FieldBytes(Year, YearWidth);
    bytes += FieldBytes(Comment, CommentWidth);
    bytes += FieldBytes(Genre, GenreWidth);
    return bytes;
}

Id3v1Tag Id3v1Tag::parse(const QByteArray &bytes)
{
    Id3v1Tag tag;
    if (bytes.size() != Size)
        return tag;
    tag.Header = FieldAt(bytes, HeaderOffset, HeaderWidth);
    tag.Title = FieldAt(bytes, TitleOffset, TitleWidth);
    tag.Artist = FieldAt(bytes, ArtistOffset, ArtistWidth);
    tag.Album = FieldAt(bytes, AlbumOffset, AlbumWidth);
    tag.Year = FieldAt(bytes, YearOffset, YearWidth);
    tag.Comment = FieldAt(bytes, CommentOffset, CommentWidth);
    tag.Genre = FieldAt(bytes, GenreOffset, GenreWidth);
    return tag;
}

void AssignField(QString &field, const QString &text, int width)
{
    field = text.left(width);
    if (field.size() < width)
        field.append(QString(width - field.size(), QLatin1Char(' ')));
}

QString FieldText(const QString &field)
{
    const int zero = field.indexOf(QChar(0));
    return zero < 0 ? field : field.left(zero);
}
