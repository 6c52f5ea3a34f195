#include "TagFileService.h"

#include "TagFile.h"
#include "TagRename.h"

bool TagFileService::writeTag(const QString &path, Id3v1Tag &tag)
{
    return WriteTag(path, tag);
}

bool TagFileService::rename(const QString &folder, const QString &oldName, const QString &newName)
{
    return RenameInFolder(folder, oldName, newName);
}
