#include "map/MapOptions.h"

#include <gtest/gtest.h>

namespace kavrin {
namespace {

TEST(MapOptionsText, TheDefaultsAreStoredAsNothingAndReadBackFromNothing)
{
    EXPECT_EQ(MapOptionsText(MapOptions{}), "");
    EXPECT_TRUE(ParseMapOptionsText("").isPlain());
}

TEST(MapOptionsText, EveryOptionReadsBackAsItWasStored)
{
    MapOptions options;
    options.logarithmicScale = true;
    options.decades = 6;
    options.standard = 0.005;
    options.showWells = true;
    options.axisTitles = true;
    options.width = 1600;
    options.height = 1280;
    const std::string text = MapOptionsText(options);
    EXPECT_EQ(text, "scale=log;decades=6;standard=0.005;wells=1;axes=1;size=1600x1280");
    EXPECT_EQ(ParseMapOptionsText(text), options);
}

TEST(MapOptionsText, WhatCannotBeReadKeepsItsDefault)
{
    struct Case {
        const char* text;
        MapOptions expected;
    };
    MapOptions withDecades;
    withDecades.decades = 12;
    MapOptions withSize;
    withSize.width = 16;
    withSize.height = 8000;
    const Case cases[] = {
        {"decades=0", {}},    {"decades=13", {}},    {"decades=x", {}},       {"decades=12", withDecades},
        {"standard=0", {}},   {"standard=-1", {}},   {"standard=inf", {}},    {"standard=1,5", {}},
        {"size=15x640", {}},  {"size=800x8001", {}}, {"size=800", {}},        {"size=16x8000", withSize},
        {"scale=linear", {}}, {"wells=yes", {}},     {"colour=red;;=;x", {}}, {";;;", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseMapOptionsText(c.text), c.expected) << c.text;
}

}  // namespace
}  // namespace kavrin
