#include "InOrder.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

struct Shared {
    std::atomic<qsizetype> next{0};
    std::atomic<bool> halt{false};
    std::unique_ptr<std::atomic<bool>[]> done;
    std::atomic<qsizetype> awaited{-1};
    std::mutex mutex;
    std::condition_variable finished;
};

void Work(Shared &shared, qsizetype count, const std::function<void(qsizetype)> &work)
{
    // Signals go to the calling thread, which decides when to stop.
    sigset_t all;
    sigfillset(&all);
    pthread_sigmask(SIG_BLOCK, &all, nullptr);
    while (!shared.halt) {
        const qsizetype index = shared.next.fetch_add(1);
        if (index >= count)
            return;
        work(index);
        shared.done[index].store(true);
        if (shared.awaited.load() == index) {
            std::lock_guard<std::mutex> lock(shared.mutex);
            shared.finished.notify_one();
        }
    }
}

} // namespace

qsizetype RunInOrder(qsizetype count, int jobs, const std::function<void(qsizetype)> &work,
                     const std::function<void(qsizetype)> &report,
                     const std::function<bool()> &stop, const std::function<void()> &idle)
{
    if (jobs <= 1 || count <= 1) {
        for (qsizetype i = 0; i < count; ++i) {
            if (idle)
                idle();
            if (stop())
                return i;
            work(i);
            report(i);
        }
        return count;
    }
    Shared shared;
    shared.done.reset(new std::atomic<bool>[std::size_t(count)]);
    for (qsizetype i = 0; i < count; ++i)
        shared.done[i].store(false, std::memory_order_relaxed);
    std::vector<std::thread> workers;
    for (qsizetype t = 0; t < std::min<qsizetype>(jobs, count); ++t)
        workers.emplace_back([&] { Work(shared, count, work); });
    const auto join = [&] {
        for (std::thread &worker : workers)
            worker.join();
        workers.clear();
    };
    for (qsizetype head = 0; head < count; ++head) {
        if (stop()) {
            shared.halt = true;
            join();
            const qsizetype started = std::min(shared.next.load(), count);
            for (; head < started; ++head)
                report(head);
            return started;
        }
        if (!shared.done[head].load()) {
            if (idle)
                idle();
            std::unique_lock<std::mutex> lock(shared.mutex);
            shared.awaited.store(head);
            // A stop while waiting (on a lock another writer holds, say)
            // keeps the other threads from starting more files meanwhile.
            while (!shared.finished.wait_for(lock, std::chrono::milliseconds(50),
                                             [&] { return shared.done[head].load(); })) {
                if (stop())
                    shared.halt = true;
            }
            shared.awaited.store(-1);
        }
        report(head);
    }
    join();
    return count;
}
