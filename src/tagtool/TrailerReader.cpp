#include "TrailerReader.h"

#include "DeviceJobs.h"
#include "Id3v1Tag.h"
#include "Id3v2Header.h"
#include "PathSource.h"
#include "SafeFile.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

namespace {

// Files between the one being shown and the last one handed to the readers:
// many times the reads in flight, so a slow file does not idle the others,
// and small enough that the names and trailers stay well under a megabyte.
constexpr quint64 RingSize = 4096;
// The ring is topped up in batches, so waking the readers is paid seldom.
constexpr quint64 RefillBatch = 256;
// How far ahead the readers may get before the thread that prints wakes.
constexpr quint64 WakeBatch = 64;

// The disk reads and processor time of the process so far.
struct UsageMark {
    long diskReads = 0;
    std::chrono::microseconds processor{0};
    std::chrono::steady_clock::time_point at;

    static UsageMark now()
    {
        struct rusage usage {};
        ::getrusage(RUSAGE_SELF, &usage);
        const auto micro = [](const timeval &t) {
            return std::chrono::seconds(t.tv_sec) + std::chrono::microseconds(t.tv_usec);
        };
        return {usage.ru_inblock, micro(usage.ru_utime) + micro(usage.ru_stime),
                std::chrono::steady_clock::now()};
    }
};

// Whether the files keep the readers waiting on a device rather than on
// the processors: the process has read from a disk since `since`, or its
// threads spent most of the time asleep (a network file system reads no
// disk of ours). On a warm cache more threads than processors only add
// switching between them.
bool WaitingOnDevice(const UsageMark &since, int threads)
{
    const UsageMark now = UsageMark::now();
    if (now.diskReads > since.diskReads)
        return true;
    // The processor time says little until the threads have run a while.
    const auto wall = std::chrono::duration_cast<std::chrono::microseconds>(now.at - since.at);
    const auto busy = std::min(threads, std::max(1, int(std::thread::hardware_concurrency())));
    return wall >= std::chrono::milliseconds(20) &&
           (now.processor - since.processor) * 2 < wall * busy;
}

bool ReadRegular(int fd, TrailerRead &read)
{
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return false;
    if (!S_ISREG(info.st_mode)) {
        errno = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
        return false;
    }
    // O_NONBLOCK stays (see ClearNoWait): clearing it on every file would
    // cost a fifth of the system calls of a listing from a warm cache.
    char head[Id3v2Header::Size];
    const struct iovec into {
        head, sizeof head
    };
    ssize_t got = ::preadv2(fd, &into, 1, 0, RWF_NOWAIT);
    if (got < 0 && errno == EAGAIN) {
        // Not cached: the disk fetches the trailer while the head is read.
        if (info.st_size >= Id3v1Tag::Size)
            ::readahead(fd, info.st_size - Id3v1Tag::Size, Id3v1Tag::Size);
        got = -1;
    }
    if (got < 0)
        got = ::pread(fd, head, sizeof head, 0);
    Id3v2Header header;
    if (got == Id3v2Header::Size && header.parse(head, sizeof head))
        read.id3v2Major = header.major;
    if (info.st_size < Id3v1Tag::Size)
        return true;
    read.trailer.resize(Id3v1Tag::Size);
    return ReadFully(fd, read.trailer.data(), Id3v1Tag::Size, off_t(info.st_size - Id3v1Tag::Size));
}

} // namespace

void ReadTrailer(TrailerRead &read)
{
    read.trailer.resize(0); // keeps the buffer for the next file
    read.error = 0;
    read.id3v2Major = 0;
    const int fd = ::open(read.path.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        read.error = errno;
        return;
    }
    if (!ReadRegular(fd, read)) {
        read.error = errno;
        read.trailer.resize(0);
    }
    ::close(fd);
}

TrailerReader::TrailerReader(int jobs) : jobs_(jobs), ring_(new Slot[RingSize]) {}

TrailerReader::~TrailerReader()
{
    stopWorkers();
}

void TrailerReader::run(PathSource &source, const std::function<bool(const TrailerRead &)> &take,
                        const std::function<void(const QByteArray &)> &left)
{
    published_ = 0;
    claimed_ = 0;
    closing_ = false;
    quint64 head = 0; // the next file to hand over
    quint64 tail = 0; // files placed in the ring
    bool more = true;
    int jobs = jobs_;
    // A warm cache keeps as many threads busy as there are processors; more
    // only pay once the files keep them waiting on the disk. Whenever the
    // next file is not ready yet (at most once a millisecond) the usage
    // tells which it is.
    int threads = 0;
    const UsageMark started = UsageMark::now();
    auto nextLook = started.at;
    // Names that are at hand go into the ring; only an empty ring waits for
    // the list, so files are shown as a slow list comes in.
    const auto refill = [&] {
        const quint64 before = tail;
        while (more && tail < head + RingSize && (tail == head || source.ready())) {
            Slot &slot = ring_[tail % RingSize];
            more = source.next(slot.read.path);
            if (more) {
                slot.ready.store(false, std::memory_order_relaxed);
                ++tail;
            }
        }
        if (tail == before)
            return;
        if (jobs == 0)
            jobs = DeviceJobs(ring_[0].read.path);
        if (threads == 0)
            threads = std::min(jobs, std::max(2, int(std::thread::hardware_concurrency())));
        publish(tail);
        addWorkers(jobs > 1 ? std::min(quint64(threads), tail) : 0);
    };
    for (;;) {
        if (head == tail || tail - head <= RingSize - RefillBatch)
            refill();
        if (head == tail)
            break;
        Slot &slot = ring_[head % RingSize];
        // Without a reader thread the files are read here, one after another.
        if (workers_.empty()) {
            ReadTrailer(slot.read);
        } else if (!slot.ready.load(std::memory_order_acquire)) {
            const auto now = std::chrono::steady_clock::now();
            if (threads < jobs && now >= nextLook) {
                nextLook = now + std::chrono::milliseconds(1);
                if (WaitingOnDevice(started, threads)) {
                    threads = jobs;
                    addWorkers(std::min(quint64(threads), tail));
                }
            }
            // Each wake-up costs a switch between threads: once behind, the
            // readers are let a batch ahead before this thread goes on.
            waitFor(std::min(head + WakeBatch, tail - 1));
            waitFor(head);
        }
        if (!take(slot.read)) {
            stopWorkers();
            for (; head < tail; ++head)
                left(ring_[head % RingSize].read.path);
            QByteArray path;
            while (source.next(path))
                left(path);
            return;
        }
        ++head;
    }
    stopWorkers();
}

void TrailerReader::publish(quint64 count)
{
    published_.store(count);
    if (idleWorkers_.load() > 0) {
        std::lock_guard<std::mutex> lock(mutex_);
        workAvailable_.notify_all();
    }
}

void TrailerReader::waitFor(quint64 index)
{
    Slot &slot = ring_[index % RingSize];
    if (slot.ready.load(std::memory_order_acquire))
        return;
    std::unique_lock<std::mutex> lock(mutex_);
    awaited_.store(index);
    readDone_.wait(lock, [&] { return slot.ready.load(); });
    awaited_.store(~quint64(0));
}

void TrailerReader::addWorkers(quint64 count)
{
    while (workers_.size() < count)
        workers_.emplace_back([this] { work(); });
}

void TrailerReader::work()
{
    // Signals go to the main thread, so Ctrl-C there breaks a wait on the
    // list of files and stops the run between two files.
    sigset_t all;
    sigfillset(&all);
    pthread_sigmask(SIG_BLOCK, &all, nullptr);
    for (;;) {
        const quint64 index = claimed_.fetch_add(1);
        if (index >= published_.load()) {
            std::unique_lock<std::mutex> lock(mutex_);
            ++idleWorkers_;
            workAvailable_.wait(lock, [&] { return index < published_.load() || closing_; });
            --idleWorkers_;
        }
        if (closing_)
            return;
        Slot &slot = ring_[index % RingSize];
        ReadTrailer(slot.read);
        slot.ready.store(true);
        // Only the file being waited for is worth a wake-up; the main thread
        // finds the ones after it ready when it gets to them.
        if (awaited_.load() == index) {
            std::lock_guard<std::mutex> lock(mutex_);
            readDone_.notify_one();
        }
    }
}

void TrailerReader::stopWorkers()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        closing_ = true;
        workAvailable_.notify_all();
    }
    for (std::thread &worker : workers_)
        worker.join();
    workers_.clear();
}
