// Splitting independent work over the machine's cores.
#pragma once

#include <functional>

namespace kavrin {

// The number of worker threads: $KAVRIN_THREADS when it holds a positive
// number, otherwise the number of cores.
unsigned WorkerCount();

// Calls work(begin, end) on consecutive chunks of [0, count), each starting at
// a multiple of `grain`, on up to `workers` threads. There are a few chunks
// per worker, taken in order by whichever thread is free, so a worker that
// another program holds up delays the loop by one small chunk, not by half of
// it. Every index belongs to exactly one chunk, so results written per index
// do not depend on the number of workers. The exception of the first chunk
// (in index order) that throws is rethrown: a chunk stops at its first.
void ParallelFor(int count, int grain, unsigned workers, const std::function<void(int begin, int end)>& work);

}  // namespace kavrin
