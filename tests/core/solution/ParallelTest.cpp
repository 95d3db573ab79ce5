#include "solution/Parallel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

using namespace kavrin;

// Each index is worked on once, in chunks that start on the grain, whatever
// the number of workers, counts smaller than the workers and odd remainders.
TEST(ParallelFor, EveryIndexOnceInChunksOnTheGrain)
{
    for (unsigned workers : {1u, 2u, 3u, 8u}) {
        for (int count : {1, 2, 7, 451}) {
            for (int grain : {1, 4}) {
                std::vector<std::atomic<int>> visits(static_cast<std::size_t>(count));
                std::mutex mutex;
                std::vector<int> starts;
                ParallelFor(count, grain, workers, [&](int begin, int end) {
                    {
                        const std::lock_guard<std::mutex> lock(mutex);
                        starts.push_back(begin);
                    }
                    ASSERT_LT(begin, end);
                    for (int i = begin; i < end; ++i) ++visits[static_cast<std::size_t>(i)];
                });
                for (int i = 0; i < count; ++i)
                    ASSERT_EQ(visits[static_cast<std::size_t>(i)], 1) << workers << " workers, index " << i;
                for (int start : starts) EXPECT_EQ(start % grain, 0) << workers << " workers, count " << count;
            }
        }
    }
}

// Errors in several chunks: the one of the lowest index is the one raised, as
// a run reports the first failing point in row order.
TEST(ParallelFor, TheFirstErrorInIndexOrderIsRethrown)
{
    for (unsigned workers : {1u, 2u, 5u}) {
        try {
            ParallelFor(400, 1, workers, [](int begin, int end) {
                for (int i = begin; i < end; ++i)
                    if (i == 37 || i == 250 || i == 399) throw std::runtime_error(std::to_string(i));
            });
            FAIL() << "nothing thrown";
        } catch (const std::runtime_error& error) {
            EXPECT_STREQ(error.what(), "37") << workers << " workers";
        }
    }
}
