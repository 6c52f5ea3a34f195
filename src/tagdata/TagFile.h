#pragma once

#include "Id3v1Tag.h"

#include <QString>
#include <sys/types.h>

// The few system calls a tag write makes, so tests can make them fail
// (disk full, I/O error) on any file system and as any user.
class TagFileIo {
public:
    virtual ~TagFileIo() = default;
    virtual ssize_t pwrite(int fd, const void *data, size_t size, off_t offset);
    virtual int fsync(int fd);
    virtual int ftruncate(int fd, off_t length);
};

// Fills tag from the last 128 bytes of the file and returns true when they
// begin with "TAG". Opens read-only and never creates a file; a missing,
// unreadable or too short file gives false.
bool ReadTag(const QString &path, Id3v1Tag &tag);

// Writes tag as the file's trailer: over the trailer the file holds, or
// appended when it holds none (decided from the file itself, read under the
// same open). Header becomes "TAG" in the caller's record. A track number in
// the trailer being replaced is kept when the new comment leaves room for it.
// Never creates a file. On any failure the file is left byte for byte as it
// was and false is returned; success is reported only after the data is on
// disk.
bool WriteTag(const QString &path, Id3v1Tag &tag);
bool WriteTag(const QString &path, Id3v1Tag &tag, TagFileIo &io);
