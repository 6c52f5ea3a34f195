#pragma once

#include "Id3v1Tag.h"

#include <QString>

// Every look the main window takes at a tag and every change it makes to a
// file goes through here, so a journal of changes can stand in front of it and tests can make it
// fail.
class TagFileService {
public:
    virtual ~TagFileService() = default;

    // Reads the file's trailer (ReadTag). False when it has none or cannot
    // be read.
    virtual bool readTag(const QString &path, Id3v1Tag &tag);

    // Writes tag as the file's trailer (WriteTag). False when the file is
    // left as it was.
    virtual bool writeTag(const QString &path, Id3v1Tag &tag);

    // Renames a file within its folder, never replacing (RenameInFolder).
    virtual bool rename(const QString &folder, const QString &oldName, const QString &newName);
};

class ChangeJournal;

// The same changes, each first recorded in the change journal so that
// "brelko-tag undo" can take it back.
class JournaledTagFileService : public TagFileService {
public:
    explicit JournaledTagFileService(ChangeJournal &journal) : journal_(journal) {}
    bool writeTag(const QString &path, Id3v1Tag &tag) override;
    bool rename(const QString &folder, const QString &oldName, const QString &newName) override;

private:
    ChangeJournal &journal_;
};
