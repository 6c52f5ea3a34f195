#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cerrno>

// Exit statuses of brelko-tag.
constexpr int ExitSuccess = 0;
constexpr int ExitFileFailed = 1; // at least one file failed; the others were done
constexpr int ExitUsage = 2;      // the command was not understood; nothing was touched

void PrintOut(const QByteArray &utf8);
// "brelko-tag: FILE: reason" on standard error.
void PrintFileError(const QString &file, const QString &reason);
// "brelko-tag: message" on standard error.
void PrintError(const QString &message);

// The reason for a failed system call, for a message.
QString SystemReason(int error = errno);

// Set from the signal handler for SIGINT, SIGTERM and SIGHUP; commands stop
// between two files, never inside one.
void InstallStopHandler();
bool StopRequested();
// Says on standard error which files were left untouched; the exit status.
int ReportStopped(const QStringList &files, int from);
