#include "TestSupport.h"
#include "text/Errors.h"
#include "text/TextLine.h"

#include <gtest/gtest.h>

using namespace kavrin;
using kavrin::test::TempFolder;
using kavrin::test::WriteBytes;

TEST(TextLine, EveryLineEndAndAnUnendedLastLine)
{
    TempFolder folder;
    const std::string path = folder.path() + "lines.txt";
    WriteBytes(path, "one\r\ntwo\nthree\rfour\r\n\r\nsix \xe7");
    const std::pair<long long, const char*> cases[] = {{1, "one"}, {2, "two"}, {3, "three"}, {4, "four"}, {5, ""}, {6, "six ç"}};
    for (const auto& [number, text] : cases) {
        const TextLine line = ReadTextLine(path, number);
        EXPECT_TRUE(line.found) << number;
        EXPECT_EQ(line.text, text) << number;
    }
    const TextLine beyond = ReadTextLine(path, 7);
    EXPECT_FALSE(beyond.found);
    EXPECT_EQ(beyond.text, "");
    EXPECT_EQ(beyond.linesRead, 6);
}

TEST(TextLine, LinesAcrossTheReadingBlocks)
{
    TempFolder folder;
    const std::string path = folder.path() + "long.txt";
    const std::string first((1 << 18) - 1, 'a');  // its CR is the block's last byte, its LF the next block's first
    const std::string second(300000, 'b');
    WriteBytes(path, first + "\r\n" + second + "\r\nc\r\n");
    EXPECT_EQ(ReadTextLine(path, 1).text, first);
    EXPECT_EQ(ReadTextLine(path, 2).text, second);
    EXPECT_EQ(ReadTextLine(path, 3).text, "c");
    EXPECT_EQ(ReadTextLine(path, 4).linesRead, 3);
}

TEST(TextLine, AMissingFileIsAFileError)
{
    TempFolder folder;
    EXPECT_THROW(ReadTextLine(folder.path() + "none.txt", 1), FileError);
}
