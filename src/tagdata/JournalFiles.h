#pragma once

#include "SafeFile.h"

#include <QByteArray>
#include <QString>

// The files of the change journal, opened and written with care: the journal
// tells later which file to put back how, so only the user's own files in the
// user's own private folder are trusted.

// Makes the folder's entries durable.
void SyncFolder(const QString &folder);
// A journal file that is ours: never through a symbolic link, never another
// user's, never anything but a regular file. Invalid with errno (EPERM for a
// file that is not ours).
FileDescriptor OpenJournalFile(const QString &path, int flags);
// The whole of a journal file; empty when it cannot be read.
QByteArray ReadSegment(const QString &path);
// The number of undamaged changes recorded in a journal file.
int CountChanges(const QString &path);
// Writes all of bytes at the descriptor's offset. False with errno.
bool WriteAll(int fd, const QByteArray &bytes);
// Creates the folder and any missing parent private to the user (0700); an
// existing folder must belong to the user.
bool MakePrivateFolder(const QString &folder);
