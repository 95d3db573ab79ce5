#include "BatchMap.h"
#include "TestSupport.h"
#include "text/Errors.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kavrin;
using kavrin::test::FailureText;
using kavrin::test::TempFolder;

TEST(BatchAnimate, BelowFiftyMegabytesOfFreeMemoryNothingIsRead)
{
    TempFolder folder;
    BatchAnimateOptions options;
    options.projectPath = folder.path() + "absent.kvr";
    options.to = folder.path() + "a.gif";
    options.delayMs = 100;
    const BatchEnvironment environment{folder.path(), "", '.', nullptr};
    const std::string refused = FailureText([&] { PerformBatchAnimate(options, environment, {}, (50ull << 20) - 1); });
    EXPECT_NE(refused.find("Less than 50 MB of memory is free"), std::string::npos) << refused;
    // At 50 MiB, or when the free memory cannot be told, the project is read.
    for (const std::optional<std::uint64_t> memory :
         {std::optional<std::uint64_t>(50ull << 20), std::optional<std::uint64_t>()}) {
        const std::string failure = FailureText([&] { PerformBatchAnimate(options, environment, {}, memory); });
        EXPECT_NE(failure.find("absent.kvr"), std::string::npos) << failure;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), std::filesystem::directory_iterator()), 0);
}
