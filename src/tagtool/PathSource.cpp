#include "PathSource.h"

#include "Console.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {

constexpr qsizetype ReadBlock = 1 << 16;

} // namespace

PathSource::PathSource(QByteArrayList files, QByteArray listFile, bool nulSeparated)
    : files_(std::move(files)), listFile_(std::move(listFile)),
      separator_(nulSeparated ? '\0' : '\n'), listEnded_(listFile_.isEmpty())
{
}

PathSource::~PathSource()
{
    if (fd_ > STDIN_FILENO)
        ::close(fd_);
}

bool PathSource::next(QByteArray &path)
{
    if (nextFile_ < files_.size()) {
        path = files_.at(nextFile_);
        files_[nextFile_++].clear(); // shown names need not stay
        return true;
    }
    for (;;) {
        const qsizetype end = buffer_.indexOf(separator_, position_);
        if (end >= 0) {
            path = buffer_.mid(position_, end - position_);
            position_ = end + 1;
            if (!path.isEmpty())
                return true;
            continue;
        }
        if (!fill()) {
            // The last name needs no separator after it.
            path = buffer_.mid(position_);
            buffer_.clear();
            position_ = 0;
            return !path.isEmpty();
        }
    }
}

bool PathSource::ready() const
{
    if (nextFile_ < files_.size() || listEnded_ || !listOpened_ || fd_ < 0 ||
        buffer_.indexOf(separator_, position_) >= 0)
        return true;
    struct pollfd list = {fd_, POLLIN, 0};
    return ::poll(&list, 1, 0) != 0;
}

// Reads another block of the list, keeping the unfinished name; false at
// its end or on an error.
bool PathSource::fill()
{
    if (listEnded_)
        return false;
    if (!listOpened_) {
        listOpened_ = true;
        // The list may well be a pipe, such as a process substitution, so it
        // is opened to block, unlike the files it names.
        fd_ = listFile_ == "-" ? STDIN_FILENO
                               : ::open(listFile_.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    }
    buffer_.remove(0, position_);
    position_ = 0;
    const qsizetype kept = buffer_.size();
    buffer_.resize(kept + ReadBlock);
    ssize_t n = -1;
    if (fd_ >= 0) {
        // A list that takes its time must not keep Ctrl-C waiting: the wait
        // wakes now and then to look, as a signal may come just before it.
        struct pollfd list = {fd_, POLLIN, 0};
        while (!StopRequested() && ::poll(&list, 1, 200) == 0) {
        }
        do {
            n = StopRequested() ? -1 : ::read(fd_, buffer_.data() + kept, size_t(ReadBlock));
        } while (n < 0 && errno == EINTR && !StopRequested());
    }
    buffer_.resize(kept + qMax<ssize_t>(n, 0));
    if (n <= 0) {
        if (n < 0 && !StopRequested())
            error_ = QFile::decodeName(listFile_) + QStringLiteral(": ") +
                     QString::fromLocal8Bit(std::strerror(errno));
        listEnded_ = true;
        return false;
    }
    return true;
}
