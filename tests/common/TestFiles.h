#pragma once

// Small file and process helpers shared by the tests.

#include <QFile>
#include <QProcess>
#include <QTest>

// Audio made of real MPEG-1 Layer III frames (128 kbit/s, 44.1 kHz, silence,
// 417 bytes each), so content sniffers and tag readers take it for MP3.
inline QByteArray MpegFrames(int count)
{
    return QByteArray(QByteArray("\xFF\xFB\x90\x64") + QByteArray(413, '\0')).repeated(count);
}

inline bool TryWriteFile(const QString &path, const QByteArray &contents)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size();
}

inline void WriteFile(const QString &path, const QByteArray &contents)
{
    if (!TryWriteFile(path, contents))
        qFatal("cannot write fixture %s", qPrintable(path));
}

inline QByteArray ReadFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs a program with its output swallowed; its exit code, or -1.
inline int RunQuietly(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(20000))
        return -1;
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}
