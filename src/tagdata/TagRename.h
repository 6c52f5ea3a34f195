#pragma once

#include "SafeFile.h"

#include <QString>

enum class RenameOrder { TitleArtist = 0, ArtistTitle = 1 };

// Removes leading and trailing spaces (only spaces: a tab typed into a box is
// part of the text).
QString TrimSpaces(const QString &text);

// "title - artist.mp3" or "artist - title.mp3" from the texts as typed, with
// leading and trailing spaces removed and nothing else changed. Empty when
// either text is empty after trimming.
QString NewFileName(const QString &title, const QString &artist, RenameOrder order);

// Whether a name can stand for a file inside one folder: not empty, not "."
// or "..", and without "/" or a zero character, which would point elsewhere.
bool IsPlainFileName(const QString &name);

// Renames folder/oldName to folder/newName. Never replaces an existing file
// and never moves the file out of its folder. A rename that changes only the
// letter case also works on file systems that ignore case (FAT), where the
// new name "exists" because it is the same file. False on any failure, with
// the file left under its old name.
bool RenameInFolder(const QString &folder, const QString &oldName, const QString &newName);
bool RenameInFolder(const FilePath &folder, const FilePath &oldName, const FilePath &newName);
// The same within a folder already open (OpenParentFolder), so the folder
// that is renamed in is the one that was resolved and journaled.
bool RenameInFolder(int folder, const FilePath &oldName, const FilePath &newName);
bool IsPlainFileName(const FilePath &name);
