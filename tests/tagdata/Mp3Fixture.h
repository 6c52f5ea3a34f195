#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

// Audio made of real MPEG-1 Layer III frames (128 kbit/s, 44.1 kHz, 417
// bytes each) so that every reader takes the files for MP3.
inline QByteArray MpegFrames(int count)
{
    return QByteArray(QByteArray("\xFF\xFB\x90\x64") + QByteArray(413, '\0')).repeated(count);
}

// A 128-byte trailer from raw field bytes, padded with spaces.
inline QByteArray Trailer(const QByteArray &title, const QByteArray &artist,
                          const QByteArray &comment = QByteArray(), char genre = 17)
{
    auto field = [](const QByteArray &bytes, int width) {
        return bytes.left(width).leftJustified(width);
    };
    return "TAG" + field(title, 30) + field(artist, 30) + field("Album", 30) + "1999" +
           field(comment, 30) + genre;
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

// A music folder and a state folder of their own for each test.
struct TestFolders {
    QTemporaryDir files, state;

    QString file(const QString &name) const { return files.filePath(name); }
    QString mp3(const QString &name, int frames, const QByteArray &trailer = QByteArray()) const
    {
        if (!WriteBytes(file(name), MpegFrames(frames) + trailer))
            qFatal("cannot write fixture");
        return file(name);
    }
};
