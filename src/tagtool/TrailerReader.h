#pragma once

#include <QByteArray>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class PathSource;

// One file's last 128 bytes, or why they could not be read.
struct TrailerRead {
    QByteArray path;
    QByteArray trailer; // empty when the file is shorter
    int error = 0;      // errno of the failure, 0 when read
    int id3v2Major = 0; // 2, 3 or 4 when the file opens with an ID3v2 tag
};

// Reads one file's trailer, and the first bytes that tell whether it also
// holds an ID3v2 tag, without ever waiting on a FIFO or a device: the
// open does not block, and anything but a regular file is refused.
void ReadTrailer(TrailerRead &read);

// Reads the trailers of many files with up to `jobs` reads in flight and
// hands them over in the order of the files. On a cold cache the disk
// answers many requests at once far sooner than one after another; with a
// warm cache the threads share the system call work. A bounded ring of
// files keeps memory flat however long the list.
//
// Threads with pread rather than io_uring: opening a file, the larger part
// of the cost, would go to the kernel's own worker threads anyway, and
// threads work where io_uring is missing or filtered out (containers).
class TrailerReader {
public:
    // jobs 0: as many as the device of the first file suits (DeviceJobs).
    explicit TrailerReader(int jobs);
    ~TrailerReader();
    TrailerReader(const TrailerReader &) = delete;
    TrailerReader &operator=(const TrailerReader &) = delete;

    // Calls `take` for each file of `source` in order. When it returns
    // false, reading stops and `left` is called for that file and every
    // one after it.
    void run(PathSource &source, const std::function<bool(const TrailerRead &)> &take,
             const std::function<void(const QByteArray &)> &left);

private:
    struct Slot {
        TrailerRead read;
        std::atomic<bool> ready{false};
    };

    void work();
    void publish(quint64 count);
    // Returns once the file at index is read.
    void waitFor(quint64 index);
    void addWorkers(quint64 count);
    void stopWorkers();

    const int jobs_;
    std::unique_ptr<Slot[]> ring_;
    std::vector<std::thread> workers_;
    std::atomic<quint64> published_{0};
    std::atomic<quint64> claimed_{0};
    std::atomic<quint64> awaited_{~quint64(0)};
    std::atomic<int> idleWorkers_{0};
    std::atomic<bool> closing_{false};
    std::mutex mutex_;
    std::condition_variable workAvailable_;
    std::condition_variable readDone_;
};
