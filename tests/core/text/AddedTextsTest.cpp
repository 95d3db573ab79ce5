#include "text/AddedTexts.h"
#include "TestSupport.h"
#include "text/Windows1252.h"

#include <gtest/gtest.h>

using namespace kavrin;

// The language files end with the windows' added lines, as the program's
// fallback has them, so a file and the built-in texts never disagree.
TEST(AddedTexts, TheLanguageFilesEndWithTheBuiltInTexts)
{
    for (const bool portuguese : {true, false}) {
        const std::string file = std::string(KAVRIN_SOURCE_DATA_DIR) + (portuguese ? "idiomport.txt" : "idiominglês.txt");
        const std::vector<std::string> lines = kavrin::test::CrLfLines(kavrin::test::ReadBytes(file));
        ASSERT_EQ(lines.size(), static_cast<std::size_t>(kFirstAddedTextLine - 1 + kAddedTextLines)) << file;
        for (int line = kFirstAddedTextLine; line < kFirstAddedTextLine + kAddedTextLines; ++line) {
            EXPECT_EQ(Windows1252ToUtf8(lines[static_cast<std::size_t>(line - 1)]), BuiltInAddedText(line, portuguese))
                << file << ':' << line;
            EXPECT_STRNE(BuiltInAddedText(line, portuguese), "") << line;
        }
    }
}
