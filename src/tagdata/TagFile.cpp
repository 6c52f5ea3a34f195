#include "TagFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

ssize_t TagFileIo::pwrite(int fd, const void *data, size_t size, off_t offset)
{
    return ::pwrite(fd, data, size, offset);
}

int TagFileIo::flush(int fd)
{
    // The trailer and, for an appended one, the new size reach the disk;
    // the modification time may follow later. Waiting for the time too
    // costs a journal commit per file, and after a crash a lost time only
    // makes undo refuse the file as changed, never write it.
    return ::fdatasync(fd);
}

int TagFileIo::ftruncate(int fd, off_t length)
{
    return ::ftruncate(fd, length);
}

int TagFileIo::close(int fd)
{
    return ::close(fd);
}

namespace {

bool WriteExactly(TagFileIo &io, int fd, const char *data, size_t size, off_t offset)
{
    return WriteFully(size, [&](size_t done) {
        ssize_t n = io.pwrite(fd, data + done, size - done, offset + off_t(done));
        if (n < 0 && errno == EAGAIN && ClearNoWait(fd))
            n = io.pwrite(fd, data + done, size - done, offset + off_t(done));
        return n;
    });
}

// ID3v1.1 keeps a track number in the comment's last two bytes (a zero, then
// the track). Writing a comment that fits in 28 bytes keeps that track.
void KeepTrack(const QByteArray &oldTrailer, QByteArray &newTrailer)
{
    constexpr int zeroAt = Id3v1Tag::TrackZeroOffset;
    constexpr int trackAt = Id3v1Tag::TrackOffset;
    if (TrackInTrailer(oldTrailer) == 0)
        return;
    if (newTrailer.at(zeroAt) != ' ' || newTrailer.at(trackAt) != ' ')
        return;
    newTrailer[zeroAt] = 0;
    newTrailer[trackAt] = oldTrailer.at(trackAt);
}

// Writes the new trailer over the old one or after the audio; on failure
// puts the file back and says whether that worked.
bool WriteTrailer(TagFileIo &io, int fd, const FileState &before, const QByteArray &trailer,
                  TagEditOutcome &outcome)
{
    const bool overwrite = before.trailer.startsWith("TAG");
    const off_t position = off_t(overwrite ? before.size - Id3v1Tag::Size : before.size);
    if (WriteExactly(io, fd, trailer.constData(), size_t(trailer.size()), position) &&
        io.flush(fd) == 0)
        return true;
    outcome.error = errno ? errno : EIO;
    // Cut a partial append, or restore the trailer we were replacing.
    outcome.restored =
        (overwrite ? WriteExactly(io, fd, before.trailer.constData(), Id3v1Tag::Size, position)
                   : io.ftruncate(fd, off_t(before.size)) == 0) &&
        io.flush(fd) == 0;
    return false;
}

// The file as this write left it: its size and time as they are now, and
// the trailer written. Had another program (one that takes no lock) changed
// the trailer meanwhile, reading it back would record that change as ours,
// and a later undo would take it back too; this way undo sees the change
// and refuses.
qint64 ModifiedNs(const struct stat &info)
{
    return qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
}

void StateAfterWrite(int fd, const QByteArray &trailer, FileState &after)
{
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return;
    after.size = info.st_size;
    after.mtimeNs = ModifiedNs(info);
    after.trailer = trailer;
}

// The state of an open file whose status was just taken.
bool ReadFileStateAt(int fd, const struct stat &info, FileState &state)
{
    FileState read;
    read.size = info.st_size;
    read.mtimeNs = ModifiedNs(info);
    if (read.size >= Id3v1Tag::Size) {
        read.trailer.resize(Id3v1Tag::Size);
        if (!ReadFully(fd, read.trailer.data(), Id3v1Tag::Size, off_t(read.size - Id3v1Tag::Size)))
            return false;
    }
    state = read;
    return true;
}

} // namespace

bool ReadFileStateOf(int fd, FileState &state)
{
    state = FileState();
    struct stat info {};
    return ::fstat(fd, &info) == 0 && ReadFileStateAt(fd, info, state);
}

bool ReadFileState(const FilePath &path, FileState &state)
{
    state = FileState();
    struct stat info {};
    const FileDescriptor file = OpenRegular(AT_FDCWD, path, O_RDONLY | O_NONBLOCK, &info);
    return file.valid() && ReadFileStateAt(file.get(), info, state);
}

bool ReadTag(const FilePath &path, Id3v1Tag &tag)
{
    FileState state;
    if (!ReadFileState(path, state) || state.trailer.isEmpty())
        return false;
    tag = Id3v1Tag::parse(state.trailer);
    return tag.hasHeader();
}

bool ReadTag(const QString &path, Id3v1Tag &tag)
{
    return ReadTag(ToFilePath(path), tag);
}

FileDescriptor OpenLocked(const FilePath &path)
{
    return OpenRegular(AT_FDCWD, path, O_RDWR, nullptr, true);
}

TagEditOutcome EditTag(const FilePath &path, const TagEditor &editor)
{
    TagFileIo io;
    return EditTag(path, editor, io);
}

TagEditOutcome EditTag(const FilePath &path, const TagEditor &editor, TagFileIo &io)
{
    TagEditOutcome outcome;
    struct stat info {};
    FileDescriptor file = OpenRegular(AT_FDCWD, path, O_RDWR | O_NONBLOCK, &info, true);
    if (!file.valid() || !ReadFileStateAt(file.get(), info, outcome.before)) {
        outcome.error = errno ? errno : EIO;
        return outcome;
    }
    const FileState &before = outcome.before;
    const bool hadTag = before.trailer.startsWith("TAG");
    Id3v1Tag tag = hadTag ? Id3v1Tag::parse(before.trailer) : Id3v1Tag();
    if (!editor(before, tag))
        return outcome;
    tag.Header = QStringLiteral("TAG");
    QByteArray trailer = tag.render();
    if (hadTag)
        KeepTrack(before.trailer, trailer);
    errno = 0;
    if (!WriteTrailer(io, file.get(), before, trailer, outcome))
        return outcome;
    // The data is on disk: what close() reports now (a deferred error of a
    // network file system) can no longer undo the write, so it is not a
    // failure of this one.
    outcome.written = true;
    StateAfterWrite(file.get(), trailer, outcome.after);
    io.close(file.release());
    return outcome;
}

bool WriteTag(const FilePath &path, Id3v1Tag &tag, TagFileIo &io)
{
    tag.Header = QStringLiteral("TAG");
    const Id3v1Tag replacement = tag;
    return EditTag(
               path,
               [&replacement](const FileState &, Id3v1Tag &current) {
                   current = replacement;
                   return true;
               },
               io)
        .written;
}

bool WriteTag(const FilePath &path, Id3v1Tag &tag)
{
    TagFileIo io;
    return WriteTag(path, tag, io);
}

bool WriteTag(const QString &path, Id3v1Tag &tag)
{
    return WriteTag(ToFilePath(path), tag);
}
