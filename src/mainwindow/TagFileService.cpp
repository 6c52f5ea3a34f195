#include "TagFileService.h"

#include "ChangeJournal.h"
#include "JournaledChanges.h"
#include "TagFile.h"
#include "TagRename.h"

bool TagFileService::readTag(const QString &path, Id3v1Tag &tag)
{
    return ReadTag(path, tag);
}

bool TagFileService::writeTag(const QString &path, Id3v1Tag &tag)
{
    return WriteTag(path, tag);
}

bool TagFileService::rename(const QString &folder, const QString &oldName, const QString &newName)
{
    return RenameInFolder(folder, oldName, newName);
}

bool JournaledTagFileService::writeTag(const QString &path, Id3v1Tag &tag)
{
    return JournaledWriteTag(journal_, path, tag);
}

bool JournaledTagFileService::rename(const QString &folder, const QString &oldName,
                                     const QString &newName)
{
    return JournaledRename(journal_, folder, oldName, newName);
}
