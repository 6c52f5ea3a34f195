#pragma once

// Folder trees on disk, an operation's questions answered from a script, and
// the check that after an operation no byte of the source went missing.

#include "OperationUi.h"
#include "PathNames.h"
#include "TableRows.h"
#include "TestFiles.h"

#include <functional>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace fixture {

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
// relative, absolute, to itself and in a loop. Each file holds pattern(its
// name, its size).
inline void makeTree(const QString &root)
{
    // clang-format off
    const std::pair<const char *, int> files[] = {{"a.txt", 1000}, {"empty.bin", 0},
        {"sub/b.dat", 70000}, {"sub/deeper/c.mp3", 3000}, {"with space.txt", 10},
        {"-leading dash", 20}, {"new\nline", 30}, {"ünïcødé 日本.txt", 40}};
    // clang-format on
    for (const auto &[name, size] : files)
        WriteFile(root + '/' + QString::fromUtf8(name), pattern(name, size));
    QDir().mkpath(root + "/empty folder");
    for (const char *link :
         {"sub/b.dat link-to-b", "/etc/hostname absolute", ". self", "ping pong", "pong ping"})
        QFile::link(QString(link).section(' ', 0, 0), root + '/' + QString(link).section(' ', 1));
}

inline struct stat statOf(const QString &path)
{
    struct stat info {};
    ::lstat(QFile::encodeName(path).constData(), &info);
    return info;
}

inline QByteArray hashed(const QByteArray &data)
{
    return "file:" + QCryptographicHash::hash(data, QCryptographicHash::Sha1);
}

// A regular file's hash, a link's text, "dir", "other" for anything else,
// or empty when there is nothing.
inline QByteArray contentOf(const QString &path)
{
    const struct stat info = statOf(path);
    char text[4096];
    if (S_ISLNK(info.st_mode))
        return "link:" + QByteArray(text, int(::readlink(QFile::encodeName(path), text, 4096)));
    if (S_ISREG(info.st_mode))
        return hashed(ReadFile(path));
    return S_ISDIR(info.st_mode) ? "dir" : info.st_mode ? "other" : "";
}

// Every entry below root by its path relative to root.
inline QMap<QString, QByteArray> snapshot(const QString &root)
{
    QMap<QString, QByteArray> result;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        result.insert(QDir(root).relativeFilePath(path), contentOf(path));
    }
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
    for (const QString &path : snapshot(source).keys() + snapshot(target).keys())
        if (IsTemporaryName(QFile::encodeName(QFileInfo(path).fileName()).toStdString()))
            problems << "temporary left: " + path;
    return problems;
}

// Answers from scripts, and writes down what it was asked and on which thread.
class ScriptedUi : public OperationUi {
public:
    // Taken in turn; the last one answers all further questions; none: Cancel.
    QList<ConflictAnswer> conflictAnswers;
    QList<ErrorAnswer> errorAnswers;
    bool createAnswer = true;
    std::function<void()> onCreate;
    qint64 cancelAfterBytes = std::numeric_limits<qint64>::max();
    QStringList conflicts, errors, creates, reports, calls; // calls: the kinds in order
    QList<OperationProgress> progress;
    QList<QThread *> threads;

    // clang-format off
    ConflictAnswer askReplace(const QString &path) override
    { return conflicts << note("replace", path), next(conflictAnswers); }
    ErrorAnswer askError(const QString &path, const QString &why) override
    { return errors << note("error", path + ": " + why), next(errorAnswers); }
    bool askCreateFolder(const QString &path) override
    { return creates << note("create", path), onCreate ? onCreate() : void(), createAnswer; }
    void showProgress(const OperationProgress &now) override
    { threads << QThread::currentThread(), progress << now; }
    bool cancelRequested() override
    { return !progress.isEmpty() && progress.last().bytesDone >= cancelAfterBytes; }
    void report(const QString &message) override { reports << note("report", message); }
    void finished() override { note("finished", {}); }

private:
    QString note(const char *kind, const QString &text)
    { return threads << QThread::currentThread(), calls << kind, text; }
    template <typename T> static T next(QList<T> &answers)
    { return answers.size() > 1 ? answers.takeFirst() : answers.value(0, T::Cancel); }
    // clang-format on
};

// A row's index in its table, once per action when actions are given.
template <typename Row, size_t N> void Rows(const Row (&table)[N], QList<qint32> actions = {0})
{
    QTest::addColumn<int>("row");
    QTest::addColumn<qint32>("action");
    for (qint32 action : actions)
        for (size_t i = 0; i < N; ++i)
            QTest::addRow("%s%s", action ? (action == FO_COPY ? "copy, " : "move, ") : "",
                          table[i].name)
                << int(i) << action;
}

} // namespace fixture
