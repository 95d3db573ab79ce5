// kavrin-later-language-lines: prints the built-in texts of one language (port
// or english) of every language line after the windows' 125: the fit's from
// line 126, then the windows' added lines. One per line in UTF-8, for
// tools/language-files.py to write into the files.
#include "calibration/FitTexts.h"
#include "text/AddedTexts.h"

#include <cstdio>
#include <cstring>

static_assert(kavrin::kFirstAddedTextLine == kavrin::kFirstFitTextLine + kavrin::kFitTextLines,
              "the windows' added lines follow the fit's");

int main(int argc, char** argv)
{
    const bool portuguese = argc == 2 && std::strcmp(argv[1], "port") == 0;
    if (argc != 2 || (!portuguese && std::strcmp(argv[1], "english") != 0)) {
        std::fputs("usage: kavrin-later-language-lines port|english\n", stderr);
        return 2;
    }
    for (int line = kavrin::kFirstFitTextLine; line < kavrin::kFirstFitTextLine + kavrin::kFitTextLines; ++line)
        std::printf("%s\n", kavrin::BuiltInFitText(line, portuguese));
    for (int line = kavrin::kFirstAddedTextLine; line < kavrin::kFirstAddedTextLine + kavrin::kAddedTextLines; ++line)
        std::printf("%s\n", kavrin::BuiltInAddedText(line, portuguese));
    return 0;
}
