#include "JournaledChanges.h"

#include "TagFile.h"
#include "TagRename.h"

bool JournaledWriteTag(ChangeJournal &journal, const QString &path, Id3v1Tag &tag)
{
    JournalRecord change;
    if (ChangeJournal::prepareWrite(path, change))
        journal.record(change);
    const bool written = WriteTag(path, tag);
    if (written) {
        journal.markDone(change);
        journal.flush();
    }
    return written;
}

bool JournaledRename(ChangeJournal &journal, const QString &folder, const QString &oldName,
                     const QString &newName)
{
    if (oldName == newName)
        return RenameInFolder(folder, oldName, newName); // nothing changes, nothing to undo
    JournalRecord change = ChangeJournal::prepareRename(folder, oldName, newName);
    journal.record(change);
    const bool renamed = RenameInFolder(folder, oldName, newName);
    if (renamed) {
        journal.markDone(change);
        journal.flush();
    }
    return renamed;
}
