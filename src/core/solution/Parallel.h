// Splitting independent work over the machine's cores.
#pragma once

#include <functional>

namespace kavrin {

// The number of worker threads: $KAVRIN_THREADS when it holds a positive
// number, otherwise the number of cores.
unsigned WorkerCount();

// Calls work(begin, end) on consecutive chunks of [0, count), one chunk per
// worker, each chunk starting at a multiple of `grain`. Every index belongs
// to exactly one chunk, so results written per index do not depend on the
// number of workers. The first exception thrown by a chunk is rethrown.
void ParallelFor(int count, int grain, unsigned workers, const std::function<void(int begin, int end)>& work);

}  // namespace kavrin
