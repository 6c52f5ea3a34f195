#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// MP3 files for tests: a few real MPEG audio frames (silence), so content
// sniffers take them for MP3, then an optional ID3v1 trailer.
namespace Mp3Files {

struct Tag {
    Tag(QByteArray title = {}, QByteArray artist = {}, QByteArray album = {}, QByteArray year = {},
        QByteArray comment = {}, int genre = 255)
        : title(title), artist(artist), album(album), year(year), comment(comment), genre(genre)
    {
    }
    QByteArray title, artist, album, year, comment;
    int genre;
};

inline QByteArray Field(const QByteArray &text, int width, char pad = ' ')
{
    QByteArray field = text.left(width);
    field.append(QByteArray(width - field.size(), pad));
    return field;
}

inline QByteArray Trailer(const Tag &tag, char pad = ' ')
{
    return "TAG" + Field(tag.title, 30, pad) + Field(tag.artist, 30, pad) +
           Field(tag.album, 30, pad) + Field(tag.year, 4, pad) + Field(tag.comment, 30, pad) +
           QByteArray(1, char(tag.genre));
}

// MPEG-1 layer III, 128 kbit/s, 44.1 kHz: 417-byte frames.
inline QByteArray Audio(int frames = 8)
{
    QByteArray frame(417, '\0');
    frame[0] = char(0xFF);
    frame[1] = char(0xFB);
    frame[2] = char(0x90);
    frame[3] = char(0x64);
    return frame.repeated(frames);
}

inline bool Write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline QByteArray Read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace Mp3Files
