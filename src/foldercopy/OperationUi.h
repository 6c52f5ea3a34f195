#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

enum class ConflictAnswer { Replace, Skip, ReplaceAll, SkipAll, Cancel };
enum class ErrorAnswer { Retry, Skip, Cancel };

// Where a running operation stands. The name is empty when the options ask
// for a progress display without file names.
struct OperationProgress {
    QString currentName;
    qint64 bytesDone = 0;
    qint64 bytesTotal = 0;
};

// The questions and displays of a running operation. The operation calls
// these on its own thread; a threaded runner brings each to the window's
// thread.
class OperationUi {
public:
    virtual ~OperationUi() = default;

    // A file of this name exists at target.
    virtual ConflictAnswer askReplace(const QString &target) = 0;
    // Something went wrong with path: reason says what.
    virtual ErrorAnswer askError(const QString &path, const QString &reason) = 0;
    // The destination folder does not exist yet; true creates it.
    virtual bool askCreateFolder(const QString &path) = 0;
    // Not called at all when the operation is to be silent.
    virtual void showProgress(const OperationProgress &progress) = 0;
    // Polled between pieces of work; true stops the operation.
    virtual bool cancelRequested() = 0;
    // A refusal before anything was touched, or items left alone.
    virtual void report(const QString &message) = 0;
    // The operation has ended; a progress display can go.
    virtual void finished() {}
};
