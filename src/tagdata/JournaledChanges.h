#pragma once

#include "ChangeJournal.h"
#include "Id3v1Tag.h"

#include <QString>

// WriteTag and RenameInFolder with the change recorded in the journal first,
// so that it can be undone. Same arguments, same results: a journal that
// cannot be written never stops the change.
bool JournaledWriteTag(ChangeJournal &journal, const QString &path, Id3v1Tag &tag);
bool JournaledRename(ChangeJournal &journal, const QString &folder, const QString &oldName,
                     const QString &newName);
