#include "text/TextLine.h"
#include "TestSupport.h"
#include "text/Errors.h"

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

TEST(TextLine, OnlyARegularFileIsReadAndNoLineRunsAway)
{
    TempFolder folder;
    EXPECT_EQ(kavrin::test::FailureTextWithin(5, [] { ReadTextLine("/dev/zero", 2); }),
              "/dev/zero is not a file (a folder, a device or a pipe); choose a file.");
    // A file of zeros with no line end stops at the length no line of the program reaches.
    const std::string zeros = folder.path() + "zeros.txt";
    WriteBytes(zeros, "first\r\n" + std::string((1 << 20) + 1, '0'));
    EXPECT_EQ(test::FailureText([&] { ReadTextLine(zeros, 3); }),
              zeros + ", line 2: is longer than 1048576 characters: this is not a file of the program.");
    EXPECT_EQ(ReadTextLine(zeros, 1).text, "first");  // the lines before it are read
    WriteBytes(zeros, std::string(1 << 20, '0') + "\r\n");
    EXPECT_TRUE(ReadTextLine(zeros, 1).found);  // exactly the longest line
}

TEST(TextLine, TheWholeFileIsCountedWhenAsked)
{
    TempFolder folder;
    const std::string path = folder.path() + "lines.txt";
    WriteBytes(path, "one\r\ntwo\r\nthree\r\nfour");
    const TextLine line = ReadTextLine(path, 2, LinesCounted::WholeFile);
    EXPECT_TRUE(line.found);
    EXPECT_EQ(line.text, "two");
    EXPECT_EQ(line.linesRead, 4);
    EXPECT_EQ(ReadTextLine(path, 2).linesRead, 2);
    EXPECT_EQ(ReadTextLine(path, 2, LinesCounted::WholeFile, 2).linesRead, 3);  // more than two: counting stops
    EXPECT_EQ(ReadTextLine(path, 2, LinesCounted::WholeFile, 4).linesRead, 4);
}
