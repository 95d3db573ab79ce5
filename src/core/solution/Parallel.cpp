#include "solution/Parallel.h"

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <thread>
#include <vector>

namespace kavrin {

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
    const int blocks = (count + grain - 1) / grain;
    const int chunks = static_cast<int>(workers) < blocks ? static_cast<int>(workers) : blocks;
    if (chunks <= 1) {
        work(0, count);
        return;
    }
    std::vector<std::exception_ptr> errors(static_cast<std::size_t>(chunks));
    std::vector<std::thread> threads;
    auto chunkBegin = [&](int c) { return std::min(count, (blocks * c / chunks) * grain); };
    for (int c = 1; c < chunks; ++c) {
        threads.emplace_back([&, c] {
            try {
                work(chunkBegin(c), chunkBegin(c + 1));
            } catch (...) {
                errors[static_cast<std::size_t>(c)] = std::current_exception();
            }
        });
    }
    try {
        work(0, chunkBegin(1));
    } catch (...) {
        errors[0] = std::current_exception();
    }
    for (std::thread& thread : threads) thread.join();
    for (const std::exception_ptr& error : errors)
        if (error) std::rethrow_exception(error);
}

}  // namespace kavrin
