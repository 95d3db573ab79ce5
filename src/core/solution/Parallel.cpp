#include "solution/Parallel.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace kavrin {

namespace {

// Helper threads kept for the life of the process: a run makes a dozen
// parallel loops per time, and starting threads for each costs more than the
// smaller loops' work. A thread that waits for its own loop runs queued chunks
// meanwhile, so loops started at once from two threads (the computation of the
// next time, the formatting of the current one) share the helpers.
class WorkerPool {
public:
    // Never destroyed: its threads wait for work until the process ends.
    static WorkerPool& instance()
    {
        static WorkerPool* pool = new WorkerPool;
        return *pool;
    }

    // Runs chunk(0) … chunk(count − 1), chunk(0) on the calling thread; returns
    // when all have. `chunk` must not throw.
    void run(int count, const std::function<void(int)>& chunk)
    {
        struct Loop {
            std::mutex mutex;
            std::condition_variable finished;
            int remaining = 0;
        };
        const auto loop = std::make_shared<Loop>();
        loop->remaining = count - 1;
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            while (threads_ < static_cast<std::size_t>(count - 1)) {
                std::thread([this] { serve(); }).detach();
                ++threads_;
            }
            for (int c = 1; c < count; ++c) {
                tasks_.emplace_back([loop, &chunk, c] {
                    chunk(c);
                    const std::lock_guard<std::mutex> done(loop->mutex);
                    if (--loop->remaining == 0) loop->finished.notify_all();
                });
            }
        }
        work_.notify_all();
        chunk(0);
        while (runQueuedTask()) {}
        std::unique_lock<std::mutex> lock(loop->mutex);
        loop->finished.wait(lock, [&] { return loop->remaining == 0; });
    }

private:
    bool runQueuedTask()
    {
        std::function<void()> task;
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            if (tasks_.empty()) return false;
            task = std::move(tasks_.front());
            tasks_.pop_front();
        }
        task();
        return true;
    }

    void serve()
    {
        for (;;) {
            std::function<void()> task;
            {
                std::unique_lock<std::mutex> lock(mutex_);
                work_.wait(lock, [&] { return !tasks_.empty(); });
                task = std::move(tasks_.front());
                tasks_.pop_front();
            }
            task();
        }
    }

    std::mutex mutex_;
    std::condition_variable work_;
    std::deque<std::function<void()>> tasks_;
    std::size_t threads_ = 0;
};

}  // namespace

unsigned WorkerCount()
{
    if (const char* forced = std::getenv("KAVRIN_THREADS")) {
        const int count = std::atoi(forced);
        if (count > 0) return static_cast<unsigned>(count);
    }
    const unsigned cores = std::thread::hardware_concurrency();
    return cores > 0 ? cores : 1;
}

void ParallelFor(int count, int grain, unsigned workers, const std::function<void(int, int)>& work)
{
    if (count <= 0) return;
    constexpr int kChunksPerWorker = 4;
    const long long blocks = (static_cast<long long>(count) + grain - 1) / grain;
    const long long threads = std::min<long long>(workers, blocks);
    if (threads <= 1) {
        work(0, count);
        return;
    }
    const long long chunks = std::min<long long>(blocks, threads * kChunksPerWorker);
    std::vector<std::exception_ptr> errors(static_cast<std::size_t>(chunks));
    auto chunkBegin = [&](long long c) { return static_cast<int>(std::min<long long>(count, (blocks * c / chunks) * grain)); };
    std::atomic<long long> next{0};
    WorkerPool::instance().run(static_cast<int>(threads), [&](int) {
        for (long long c; (c = next.fetch_add(1)) < chunks;) {
            try {
                work(chunkBegin(c), chunkBegin(c + 1));
            } catch (...) {
                errors[static_cast<std::size_t>(c)] = std::current_exception();
            }
        }
    });
    for (const std::exception_ptr& error : errors)
        if (error) std::rethrow_exception(error);
}

}  // namespace kavrin
