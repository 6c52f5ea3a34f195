#pragma once

#include "TestFiles.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

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

// A music folder and a state folder of their own for each test.
struct TestFolders {
    QTemporaryDir files, state;

    QString file(const QString &name) const { return files.filePath(name); }
    QString mp3(const QString &name, int frames, const QByteArray &trailer = QByteArray()) const
    {
        if (!TryWriteFile(file(name), MpegFrames(frames) + trailer))
            qFatal("cannot write fixture");
        return file(name);
    }
};
