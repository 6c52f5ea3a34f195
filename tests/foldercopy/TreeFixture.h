#pragma once

// Builds folder trees on disk and checks after an operation that no byte of
// the source went missing.

#include "OperationUi.h"
#include "PathNames.h"

#include <functional>
#include <QByteArray>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QMap>
#include <QStringList>
#include <sys/stat.h>
#include <unistd.h>

namespace fixture {

inline void writeFile(const QString &path, const QByteArray &data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    file.write(data);
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Data that differs per file, so a file copied to the wrong name shows.
inline QByteArray pattern(const QString &seed, qint64 size)
{
    QByteArray data;
    data.reserve(size);
    QByteArray block = QCryptographicHash::hash(seed.toUtf8(), QCryptographicHash::Sha256);
    while (data.size() < size) {
        data += block;
        block = QCryptographicHash::hash(block, QCryptographicHash::Sha256);
    }
    data.truncate(size);
    return data;
}

// A tree with nested folders, an empty file, an empty folder, odd names and
// a relative link.
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
}

// What one regular file or link holds: a hash of its bytes or its link text.
struct Entry {
    QByteArray digest;
    bool isLink = false;
    friend bool operator==(const Entry &a, const Entry &b)
    {
        return a.digest == b.digest && a.isLink == b.isLink;
    }
};

inline bool entryOf(const QString &path, Entry &entry)
{
    struct stat info;
    const QByteArray encoded = QFile::encodeName(path);
    if (::lstat(encoded.constData(), &info) != 0)
        return false;
    if (S_ISLNK(info.st_mode)) {
        char text[4096];
        const ssize_t length = ::readlink(encoded.constData(), text, sizeof text);
        entry = {QByteArray(text, static_cast<int>(length)), true};
        return true;
    }
    if (!S_ISREG(info.st_mode))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(&file);
    entry = {hash.result(), false};
    return true;
}

// Every regular file and link below root by its path relative to root.
inline QMap<QString, Entry> snapshot(const QString &root)
{
    QMap<QString, Entry> result;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        Entry entry;
        if (entryOf(path, entry))
            result.insert(QDir(root).relativeFilePath(path), entry);
    }
    return result;
}

// The complaints: each source entry must be whole in the source or whole at
// the target, and no temporary file may be left anywhere.
inline QStringList lostEntries(const QMap<QString, Entry> &before, const QString &source,
                               const QString &target)
{
    QStringList problems;
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        Entry now;
        const bool inSource = entryOf(source + '/' + it.key(), now) && now == it.value();
        const bool inTarget = entryOf(target + '/' + it.key(), now) && now == it.value();
        if (!inSource && !inTarget)
            problems << "lost: " + it.key();
    }
    for (const QString &root : {source, target}) {
        QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            it.next();
            if (IsTemporaryName(QFile::encodeName(it.fileName()).toStdString()))
                problems << "temporary left: " + it.filePath();
        }
    }
    return problems;
}

inline ino_t inodeOf(const QString &path)
{
    struct stat info {};
    ::lstat(QFile::encodeName(path).constData(), &info);
    return info.st_ino;
}

inline dev_t deviceOf(const QString &path)
{
    struct stat info {};
    ::stat(QFile::encodeName(path).constData(), &info);
    return info.st_dev;
}

// Answers the operation's questions from scripts and writes down what it
// was asked.
class ScriptedUi : public OperationUi {
public:
    QList<ConflictAnswer> conflictAnswers;
    ConflictAnswer conflictDefault = ConflictAnswer::Cancel;
    QList<ErrorAnswer> errorAnswers;
    ErrorAnswer errorDefault = ErrorAnswer::Cancel;
    bool createAnswer = true;
    // Cancel once this many bytes are done; negative never.
    qint64 cancelAfterBytes = -1;

    QStringList conflicts, errors, creates, reports;
    QList<OperationProgress> progress;
    int finishedCalls = 0;

    ConflictAnswer askReplace(const QString &target) override
    {
        conflicts << target;
        return conflictAnswers.isEmpty() ? conflictDefault : conflictAnswers.takeFirst();
    }
    ErrorAnswer askError(const QString &path, const QString &reason) override
    {
        errors << path + ": " + reason;
        return errorAnswers.isEmpty() ? errorDefault : errorAnswers.takeFirst();
    }
    bool askCreateFolder(const QString &path) override
    {
        creates << path;
        return createAnswer;
    }
    void showProgress(const OperationProgress &now) override { progress << now; }
    bool cancelRequested() override
    {
        return cancelAfterBytes >= 0 && !progress.isEmpty() &&
               progress.last().bytesDone >= cancelAfterBytes;
    }
    void report(const QString &message) override { reports << message; }
    void finished() override { ++finishedCalls; }
};

} // namespace fixture
