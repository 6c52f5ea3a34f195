#pragma once

// Small file and process helpers shared by the tests.

#include <QtTest> // and all of QtCore

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// Audio made of real MPEG-1 Layer III frames (128 kbit/s, 44.1 kHz, silence,
// 417 bytes each), so content sniffers and tag readers take it for MP3.
inline QByteArray MpegFrames(int count)
{
    return QByteArray(QByteArray("\xFF\xFB\x90\x64") + QByteArray(413, '\0')).repeated(count);
}

// A 128-byte ID3v1 trailer: "TAG", the five text fields (title, artist,
// album, year, comment) cut or padded to their widths, then the genre byte.
inline QByteArray Trailer(const QList<QByteArray> &fields, int genre = 255, char pad = ' ')
{
    QByteArray trailer = "TAG";
    const int widths[5] = {30, 30, 30, 4, 30};
    for (int i = 0; i < 5; ++i)
        trailer += fields.value(i).left(widths[i]).leftJustified(widths[i], pad);
    return trailer + char(genre);
}

// A trailer with a fixed album and year.
inline QByteArray Trailer(const QByteArray &title, const QByteArray &artist,
                          const QByteArray &comment = QByteArray(), char genre = 17)
{
    return Trailer(QList<QByteArray>{title, artist, "Album", "1999", comment}, uchar(genre));
}

// Writes a file, and the folders it is in when they are missing.
inline bool TryWriteFile(const QString &path, const QByteArray &contents)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
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

// Runs work in a child process whose files may not grow past fileSizeLimit
// (0: no limit), where a write past it fails instead of killing, and whose
// hang ends after 10 seconds. The child's exit code (work's result), or -1
// when it did not exit.
inline int InChild(const std::function<int()> &work, rlim_t fileSizeLimit = 0)
{
    const pid_t child = ::fork();
    if (child == 0) {
        ::alarm(10);
        ::signal(SIGXFSZ, SIG_IGN);
        const struct rlimit limit = {fileSizeLimit, fileSizeLimit};
        if (fileSizeLimit > 0)
            ::setrlimit(RLIMIT_FSIZE, &limit);
        ::_exit(work());
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status)
               ? WEXITSTATUS(status)
               : -1;
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

// A music folder and a state folder of their own for each test.
struct TestFolders {
    QTemporaryDir files, state;

    QString file(const QString &name) const { return files.filePath(name); }
    QString mp3(const QString &name, int frames, const QByteArray &trailer = QByteArray()) const
    {
        WriteFile(file(name), MpegFrames(frames) + trailer);
        return file(name);
    }
};
