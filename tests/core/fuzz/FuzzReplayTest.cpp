#include "FuzzTargets.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace kavrin::fuzz;

// Every seed and every input that once made a fuzz target fail goes through
// the target again: a crash, a hang or an escaping exception fails the test.
TEST(FuzzReplay, StoredInputsPassEveryTarget)
{
    for (const FuzzTarget& target : kFuzzTargets) {
        int inputs = 0;
        for (const char* kind : {"corpus/", "failures/"}) {
            const std::filesystem::path folder = std::string(KAVRIN_FUZZ_DIR) + kind + target.name;
            if (!std::filesystem::exists(folder)) continue;
            for (const auto& entry : std::filesystem::directory_iterator(folder)) {
                SCOPED_TRACE(entry.path().string());
                EXPECT_NO_THROW(target.run(kavrin::test::ReadBytes(entry.path())));
                ++inputs;
            }
        }
        EXPECT_GT(inputs, 0) << target.name << " has no seeds";
    }
}
