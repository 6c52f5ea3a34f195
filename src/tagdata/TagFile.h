#pragma once

#include "Id3v1Tag.h"
#include "SafeFile.h"

#include <functional>
#include <QString>
#include <sys/types.h>

// The few system calls a tag write makes, so tests can make them fail
// (disk full, I/O error, a close that reports a deferred error) on any file
// system and as any user.
class TagFileIo {
public:
    virtual ~TagFileIo() = default;
    virtual ssize_t pwrite(int fd, const void *data, size_t size, off_t offset);
    virtual int flush(int fd); // the data onto the disk
    virtual int ftruncate(int fd, off_t length);
    virtual int close(int fd);
};

// What a file looked like at one moment: enough to tell later whether anyone
// touched it since.
struct FileState {
    qint64 size = -1; // -1: the file could not be examined
    qint64 mtimeNs = 0;
    QByteArray trailer; // its last 128 bytes; empty when it is shorter

    bool operator==(const FileState &other) const
    {
        return size == other.size && mtimeNs == other.mtimeNs && trailer == other.trailer;
    }
    bool operator!=(const FileState &other) const { return !(*this == other); }
};

// The state of a regular file, read through a safe open (never waits on a
// FIFO). False, with errno set, when it cannot be opened or is not a regular
// file.
bool ReadFileState(const FilePath &path, FileState &state);
// The same through a descriptor already open.
bool ReadFileStateOf(int fd, FileState &state);

// Fills tag from the last 128 bytes of the file and returns true when they
// begin with "TAG". Opens read-only and never creates a file; a missing,
// unreadable, non-regular or too short file gives false.
bool ReadTag(const FilePath &path, Id3v1Tag &tag);
bool ReadTag(const QString &path, Id3v1Tag &tag);

// Every change to a file's tag goes through EditTag: read, modify, write
// under one exclusive lock on the file (flock), held from reading the
// trailer to the flush of the new one. Every Brelko writer (the window,
// brelko-tag set, fill and undo) takes the same lock, so two writers never
// build a record from the same old trailer and one of them is never lost.
//
// The editor gets the file's state and its tag as read under the lock (a
// blank tag, header not "TAG", when the file has none) and changes only
// what its caller was asked to change. Returning false leaves the file
// untouched (outcome.written false, error 0). Header becomes "TAG". A track
// number in the trailer being replaced is kept when the new comment leaves
// room for it. Never creates a file, never follows a FIFO or device.
using TagEditor = std::function<bool(const FileState &current, Id3v1Tag &tag)>;

struct TagEditOutcome {
    bool written = false; // the new trailer is on disk (flushed)
    // After a failed write: false when even putting the old trailer or
    // length back failed, so the file may be damaged.
    bool restored = true;
    int error = 0;    // errno of the failure; 0 on success or when the editor declined
    FileState before; // as read under the lock
    FileState after;  // as left, read through the same descriptor under the lock
};

TagEditOutcome EditTag(const FilePath &path, const TagEditor &editor);
TagEditOutcome EditTag(const FilePath &path, const TagEditor &editor, TagFileIo &io);

// Writes the whole of tag as the file's trailer (EditTag with an editor that
// replaces every field). Header becomes "TAG" in the caller's record. On any
// failure the file is left as it was and false is returned; success is
// reported only after the data is on disk.
bool WriteTag(const FilePath &path, Id3v1Tag &tag);
bool WriteTag(const QString &path, Id3v1Tag &tag);
bool WriteTag(const FilePath &path, Id3v1Tag &tag, TagFileIo &io);

// Opens path for reading and writing (safe open) and takes the exclusive tag
// lock; for undo, which restores a length as well as a trailer with plain
// system calls, so the descriptor waits. Invalid with errno on failure (EINTR
// when a signal arrived while waiting).
FileDescriptor OpenLocked(const FilePath &path);
