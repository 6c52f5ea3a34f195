#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// Audio made of real MPEG-1 Layer III frames (128 kbit/s, 44.1 kHz, 417
// bytes each) so that every reader takes the files for MP3.
inline QByteArray MpegFrames(int count)
{
    QByteArray frame(417, '\0');
    frame[0] = char(0xFF);
    frame[1] = char(0xFB);
    frame[2] = char(0x90);
    frame[3] = char(0x64);
    QByteArray audio;
    for (int i = 0; i < count; ++i)
        audio += frame;
    return audio;
}

// A 128-byte trailer from raw field bytes, padded with spaces.
inline QByteArray Trailer(const QByteArray &title, const QByteArray &artist,
                          const QByteArray &comment = QByteArray(), char genre = 17)
{
    auto field = [](QByteArray bytes, int width) -> QByteArray {
        bytes = bytes.left(width);
        return bytes + QByteArray(width - bytes.size(), ' ');
    };
    QByteArray trailer = "TAG" + field(title, 30) + field(artist, 30) + field("Album", 30) +
                         field("1999", 4) + field(comment, 30);
    trailer += genre;
    return trailer;
}

inline bool WriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline QByteArray ReadBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
