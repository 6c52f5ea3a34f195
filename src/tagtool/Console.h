#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cerrno>

#include "SafeFile.h"

// Exit statuses of brelko-tag.
constexpr int ExitSuccess = 0;
constexpr int ExitFileFailed = 1; // at least one file failed; the others were done
constexpr int ExitUsage = 2;      // the command was not understood; nothing was touched

// Writes and flushes at once, so a reader that went away is noticed between
// two files. False when standard output cannot be written; StopRequested()
// is true from then on.
bool PrintOut(const QByteArray &utf8);
// Leaves the text in standard output's buffer, written when the buffer is
// full (at each line on a terminal) or by FlushOut(): a batch's result lines
// cost one system call each otherwise. False as for PrintOut.
bool PrintOutLater(const QByteArray &utf8);
bool FlushOut();
// "brelko-tag: FILE: reason" on standard error.
void PrintFileError(const FilePath &file, const QString &reason);
// "brelko-tag: message" on standard error.
void PrintError(const QString &message);

// The reason for a failed system call, for a message.
QString SystemReason(int error = errno);

// Set from the signal handler for SIGINT, SIGTERM and SIGHUP, or by a failed
// write to standard output; commands stop between two files, never inside
// one. SIGPIPE is ignored: a closed pipe is a failed write like any other.
void InstallStopHandler();
bool StopRequested();
// Says on standard error why a command stopped early, before the list of
// the files it left untouched.
void PrintStopped();
// Says on standard error which files were left untouched; the exit status.
int ReportStopped(const QList<FilePath> &files, int from);
