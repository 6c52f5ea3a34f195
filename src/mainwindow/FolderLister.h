#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A mounted file system the user can browse, as the drive list shows it.
struct Volume {
    QString root;  // its mount point, "/" for the root file system
    QString label; // what the drive list shows
};

// What one look into a folder finds.
struct FolderContents {
    QStringList mp3Files;   // as mp3Files() below
    QStringList subfolders; // as subfolders() below
    bool ok = false;        // false when the folder could not be listed
};

// What the main window asks of the file system when the user browses: the
// drives, the folders and the MP3 files. Tests put in their own listings.
class FolderLister {
public:
    virtual ~FolderLister() = default;

    // The MP3 files and the subfolders, from one pass over the folder.
    virtual FolderContents contents(const QString &folder) = 0;

    // Names (without folder) of the regular files in folder whose names end
    // in ".mp3" in any letter case, hidden files left out, sorted as a file
    // manager sorts them. ok becomes false when the folder cannot be listed;
    // the list is then empty.
    QStringList mp3Files(const QString &folder, bool *ok = nullptr);

    // Names of the folders inside folder, hidden ones left out, sorted alike.
    virtual QStringList subfolders(const QString &folder);

    // The mounted file systems, "/" first; pseudo file systems left out.
    virtual QList<Volume> volumes() = 0;

    // Whether a folder can be opened and listed now (a drive without a
    // medium cannot).
    virtual bool canList(const QString &folder) = 0;
};

// The real file system.
class SystemFolderLister : public FolderLister {
public:
    FolderContents contents(const QString &folder) override;
    // Passes over the files without naming or sorting them: the start-up
    // tree of a large folder needs only its subfolders.
    QStringList subfolders(const QString &folder) override;
    QList<Volume> volumes() override;
    bool canList(const QString &folder) override;

private:
    static FolderContents list(const QString &folder, bool withFiles);
};

// Sorts names by their case-folded form (a.mp3 before B.MP3), names that
// differ only in case by their code points, so the order is total.
void SortAsFileList(QStringList &names);

// The root of the volume that holds path: the longest root that is path or
// one of its parent folders. "/" when none matches.
QString VolumeRootOf(const QList<Volume> &volumes, const QString &path);
