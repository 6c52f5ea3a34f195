#pragma once

#include "TestFiles.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

// A trailer with a fixed album and year.
inline QByteArray Trailer(const QByteArray &title, const QByteArray &artist,
                          const QByteArray &comment = QByteArray(), char genre = 17)
{
    return Trailer(QList<QByteArray>{title, artist, "Album", "1999", comment}, uchar(genre));
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
