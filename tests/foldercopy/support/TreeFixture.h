#pragma once

// Builds folder trees on disk, answers the operation's questions from a
// script, and checks after an operation that no byte of the source went
// missing.

#include "OperationUi.h"
#include "PathNames.h"
#include "TestFiles.h"

#include <limits>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QStringList>
#include <sys/stat.h>
#include <unistd.h>

namespace fixture {

inline void writeFile(const QString &path, const QByteArray &data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    WriteFile(path, data);
}

// Data that differs per file, so a file copied to the wrong name shows.
inline QByteArray pattern(const QString &seed, qint64 size)
{
    QByteArray data;
    for (int i = 0; data.size() < size; ++i)
        data += QCryptographicHash::hash((seed + QString::number(i)).toUtf8(),
                                         QCryptographicHash::Sha256);
    return data.left(size);
}

// Nested folders, an empty file, an empty folder, odd names, and links:
// relative, absolute, to itself and in a loop.
inline void makeTree(const QString &root)
{
    writeFile(root + "/a.txt", pattern("a", 1000));
    writeFile(root + "/empty.bin", {});
    writeFile(root + "/sub/b.dat", pattern("b", 70000));
    writeFile(root + "/sub/deeper/c.mp3", pattern("c", 3000));
    writeFile(root + "/with space.txt", pattern("space", 10));
    writeFile(root + "/-leading dash", pattern("dash", 20));
    writeFile(root + "/new\nline", pattern("newline", 30));
    writeFile(root + QString::fromUtf8("/ünïcødé 日本.txt"), pattern("unicode", 40));
    QDir().mkpath(root + "/empty folder");
    QFile::link("sub/b.dat", root + "/link-to-b");
    QFile::link("/etc/hostname", root + "/absolute");
    QFile::link(".", root + "/self");
    QFile::link("ping", root + "/pong");
    QFile::link("pong", root + "/ping");
}

// A regular file's hash or a link's text; empty for anything else.
inline QByteArray contentOf(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info;
    if (::lstat(name.constData(), &info) != 0)
        return {};
    if (S_ISLNK(info.st_mode)) {
        char text[4096];
        const ssize_t length = ::readlink(name.constData(), text, sizeof text);
        return "link:" + QByteArray(text, int(length));
    }
    QFile file(path);
    if (!S_ISREG(info.st_mode) || !file.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(&file);
    return "file:" + hash.result();
}

inline QStringList allBelow(const QString &root)
{
    QStringList paths;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        paths << it.next();
    return paths;
}

// Every regular file and link below root by its path relative to root.
inline QMap<QString, QByteArray> snapshot(const QString &root)
{
    QMap<QString, QByteArray> result;
    for (const QString &path : allBelow(root))
        if (const QByteArray content = contentOf(path); !content.isEmpty())
            result.insert(QDir(root).relativeFilePath(path), content);
    return result;
}

// The complaints: each source entry must be whole in the source or whole at
// the target, and no temporary file may be left in either.
inline QStringList lostEntries(const QMap<QString, QByteArray> &before, const QString &source,
                               const QString &target)
{
    QStringList problems;
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        if (contentOf(source + '/' + it.key()) != it.value() &&
            contentOf(target + '/' + it.key()) != it.value())
            problems << "lost: " + it.key();
    for (const QString &path : allBelow(source) + allBelow(target))
        if (IsTemporaryName(QFile::encodeName(QFileInfo(path).fileName()).toStdString()))
            problems << "temporary left: " + path;
    return problems;
}

inline struct stat statOf(const QString &path)
{
    struct stat info {};
    ::lstat(QFile::encodeName(path).constData(), &info);
    return info;
}

// Answers from scripts and writes down what it was asked.
class ScriptedUi : public OperationUi {
public:
    // Taken in turn; the last one answers all further questions; none: Cancel.
    QList<ConflictAnswer> conflictAnswers;
    QList<ErrorAnswer> errorAnswers;
    bool createAnswer = true;
    qint64 cancelAfterBytes = std::numeric_limits<qint64>::max();
    QStringList conflicts, errors, creates, reports;
    QList<OperationProgress> progress;

    ConflictAnswer askReplace(const QString &target) override
    {
        conflicts << target;
        return conflictAnswers.size() > 1 ? conflictAnswers.takeFirst()
                                          : conflictAnswers.value(0, ConflictAnswer::Cancel);
    }
    ErrorAnswer askError(const QString &path, const QString &reason) override
    {
        errors << path + ": " + reason;
        return errorAnswers.size() > 1 ? errorAnswers.takeFirst()
                                       : errorAnswers.value(0, ErrorAnswer::Cancel);
    }
    bool askCreateFolder(const QString &path) override
    {
        creates << path;
        return createAnswer;
    }
    void showProgress(const OperationProgress &now) override { progress << now; }
    bool cancelRequested() override
    {
        return !progress.isEmpty() && progress.last().bytesDone >= cancelAfterBytes;
    }
    void report(const QString &message) override { reports << message; }
};

} // namespace fixture
