// kavrin-fit-texts: prints the fit's built-in texts of one language (port or
// english), lines 126 on of the language files, one per line in UTF-8, for
// tools/language-files.py to write into the files.
#include "calibration/FitTexts.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    const bool portuguese = argc == 2 && std::strcmp(argv[1], "port") == 0;
    if (argc != 2 || (!portuguese && std::strcmp(argv[1], "english") != 0)) {
        std::fputs("usage: kavrin-fit-texts port|english\n", stderr);
        return 2;
    }
    for (int line = kavrin::kFirstFitTextLine; line < kavrin::kFirstFitTextLine + kavrin::kFitTextLines; ++line)
        std::printf("%s\n", kavrin::BuiltInFitText(line, portuguese));
    return 0;
}
