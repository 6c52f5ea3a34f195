#include "JournaledChanges.h"

#include "TagRename.h"

#include <fcntl.h>

TagEditOutcome JournaledEditTag(ChangeJournal &journal, const FilePath &path,
                                const TagEditor &editor, JournalRecord *intent)
{
    JournalRecord own;
    own.path = ResolvedPath(path);
    JournalRecord &change = intent ? *intent : own;
    const bool recordAnyway = !intent;
    const TagEditOutcome outcome = EditTag(path, [&](const FileState &current, Id3v1Tag &tag) {
        if (!editor(current, tag))
            return false;
        // A batch whose journal failed does not try again for each file.
        if (recordAnyway || (change.id != 0 && change.state != current)) {
            change.type = JournalRecord::Type::Write;
            change.state = current;
            journal.record(change);
        }
        return true;
    });
    if (outcome.written)
        journal.markDone(change, outcome.after);
    if (!intent)
        journal.flush();
    return outcome;
}

bool JournaledWriteTag(ChangeJournal &journal, const FilePath &path, Id3v1Tag &tag)
{
    tag.Header = QStringLiteral("TAG");
    const Id3v1Tag replacement = tag;
    return JournaledEditTag(journal, path,
                            [&replacement](const FileState &, Id3v1Tag &current) {
                                current = replacement;
                                return true;
                            })
        .written;
}

bool JournaledWriteTag(ChangeJournal &journal, const QString &path, Id3v1Tag &tag)
{
    return JournaledWriteTag(journal, ToFilePath(path), tag);
}

bool JournaledRename(ChangeJournal &journal, const FilePath &folder, const FilePath &oldName,
                     const FilePath &newName)
{
    const FileDescriptor opened(::open(folder.isEmpty() ? "" : folder.constData(),
                                       O_RDONLY | O_DIRECTORY | O_NOCTTY | O_CLOEXEC));
    if (!opened.valid())
        return false;
    if (oldName == newName)
        return RenameInFolder(opened.get(), oldName, newName); // nothing to undo
    JournalRecord change = ChangeJournal::prepareRename(FolderPath(opened.get()), oldName, newName);
    journal.record(change);
    const bool renamed = RenameInFolder(opened.get(), oldName, newName);
    if (renamed) {
        journal.markDone(change);
        journal.flush();
    }
    return renamed;
}

bool JournaledRename(ChangeJournal &journal, const QString &folder, const QString &oldName,
                     const QString &newName)
{
    return JournaledRename(journal, ToFilePath(folder), ToFilePath(oldName), ToFilePath(newName));
}
