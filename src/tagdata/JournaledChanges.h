#pragma once

#include "ChangeJournal.h"
#include "Id3v1Tag.h"
#include "TagFile.h"

#include <QString>

// EditTag with the change recorded in the journal first, under the file's
// lock, so that it can be undone. `intent` is a record the caller already
// journaled for this file (a batch records all its files with one flush),
// or nullptr. When the file, read under the lock, is no longer what the
// intent holds, the write is recorded afresh: an undo must put back what
// this write really replaced. With an intent the caller flushes the journal
// (once, at the end of its batch); without, it is flushed here. A journal
// that cannot be written never stops the change.
TagEditOutcome JournaledEditTag(ChangeJournal &journal, const FilePath &path,
                                const TagEditor &editor, JournalRecord *intent = nullptr);

// WriteTag and RenameInFolder through the journal. Same arguments, same
// results.
bool JournaledWriteTag(ChangeJournal &journal, const FilePath &path, Id3v1Tag &tag);
bool JournaledWriteTag(ChangeJournal &journal, const QString &path, Id3v1Tag &tag);
bool JournaledRename(ChangeJournal &journal, const FilePath &folder, const FilePath &oldName,
                     const FilePath &newName);
bool JournaledRename(ChangeJournal &journal, const QString &folder, const QString &oldName,
                     const QString &newName);
