#include "text/DateTimeText.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace kavrin {
namespace {

// The C locale's short date and long time in UTC, so that the texts are known.
class DateTimeTextInUtc : public ::testing::Test {
protected:
    void SetUp() override
    {
        remember("TZ", tz_);
        remember("LC_ALL", lcAll_);
        setenv("TZ", "UTC", 1);
        setenv("LC_ALL", "C", 1);
        tzset();
    }
    void TearDown() override
    {
        restore("TZ", tz_);
        restore("LC_ALL", lcAll_);
        tzset();
    }

private:
    static void remember(const char* name, std::optional<std::string>& slot)
    {
        if (const char* value = std::getenv(name)) slot = value;
    }
    static void restore(const char* name, const std::optional<std::string>& slot)
    {
        if (slot)
            setenv(name, slot->c_str(), 1);
        else
            unsetenv(name);
    }
    std::optional<std::string> tz_, lcAll_;
};

TEST_F(DateTimeTextInUtc, SlashesAndColonsBecomeDashes)
{
    EXPECT_EQ(DateTimeText(1796911509), "12-10-26 14-05-09");
}

TEST_F(DateTimeTextInUtc, MidnightLeavesTheTimeOut)
{
    EXPECT_EQ(DateTimeText(1796860800), "12-10-26");
}

}  // namespace
}  // namespace kavrin
