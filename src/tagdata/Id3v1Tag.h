#pragma once

#include <QByteArray>
#include <QString>

// The 128-byte ID3v1 trailer at the end of an MP3 file, as seven fixed-width
// text fields. In memory every field holds exactly its width in characters;
// in the file every character is one byte of the code page (CodePage.h).
struct Id3v1Tag {
    static constexpr int Size = 128;

    // Field widths, in the order the fields stand in the trailer.
    static constexpr int HeaderWidth = 3;
    static constexpr int TitleWidth = 30;
    static constexpr int ArtistWidth = 30;
    static constexpr int AlbumWidth = 30;
    static constexpr int YearWidth = 4;
    static constexpr int CommentWidth = 30;
    static constexpr int GenreWidth = 1;

    // Byte offsets within the trailer: each field follows the one before.
    static constexpr int HeaderOffset = 0;
    static constexpr int TitleOffset = HeaderOffset + HeaderWidth;
    static constexpr int ArtistOffset = TitleOffset + TitleWidth;
    static constexpr int AlbumOffset = ArtistOffset + ArtistWidth;
    static constexpr int YearOffset = AlbumOffset + AlbumWidth;
    static constexpr int CommentOffset = YearOffset + YearWidth;
    static constexpr int GenreOffset = CommentOffset + CommentWidth;
    static_assert(GenreOffset + GenreWidth == Size, "the fields fill the trailer");

    // ID3v1.1 keeps a track number in the comment's last two bytes: a zero,
    // then the track. The text before them is CommentWithTrackWidth long.
    static constexpr int CommentWithTrackWidth = CommentWidth - 2;
    static constexpr int TrackZeroOffset = CommentOffset + CommentWithTrackWidth;
    static constexpr int TrackOffset = TrackZeroOffset + 1;

    QString Header = QString(HeaderWidth, QLatin1Char(' '));
    QString Title = QString(TitleWidth, QLatin1Char(' '));
    QString Artist = QString(ArtistWidth, QLatin1Char(' '));
    QString Album = QString(AlbumWidth, QLatin1Char(' '));
    QString Year = QString(YearWidth, QLatin1Char(' '));
    QString Comment = QString(CommentWidth, QLatin1Char(' '));
    QString Genre = QString(GenreWidth, QChar(0xFF)); // 255: no genre

    // True when Header is exactly "TAG".
    bool hasHeader() const;

    // The ID3v1.1 track number: a comment whose byte 28 is zero and byte 29
    // is not carries a track there. 0 when there is none.
    int track() const;

    // The 128 bytes of the trailer. Each field is cut or padded with spaces to
    // its width in bytes, so the result is always exactly Size bytes.
    QByteArray render() const;

    // Fills every field from 128 trailer bytes; nothing is trimmed or dropped.
    static Id3v1Tag parse(const QByteArray &bytes);
};

// The ID3v1.1 rule for the comment's last two bytes: a zero, then a byte
// that is not zero, is a track number; anything else is comment text.
constexpr int TrackNumber(int zeroByte, int trackByte)
{
    return zeroByte == 0 && trackByte != 0 ? trackByte : 0;
}

// The track number in 128 trailer bytes, 0 when there is none.
int TrackInTrailer(const QByteArray &trailer);

// Places text in a field of the given width: left-aligned, padded on the right
// with spaces, or cut to its first width characters.
void AssignField(QString &field, const QString &text, int width);

// A field's text up to its first zero character, for showing it to a user:
// zero-padded fields and ID3v1.1 track bytes are not text.
QString FieldText(const QString &field);
