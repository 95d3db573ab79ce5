#include "files/ParameterFile.h"

#include "text/DecimalSeparator.h"
#include "text/Errors.h"
#include "text/NumberText.h"
#include "text/TextFile.h"

namespace kavrin {

void WriteParameterFile(const std::string& path, const ParameterTexts& texts)
{
    TextFileWriter file(path);
    for (int edit = 1; edit <= 21; ++edit) file.writeLine(texts.edit[static_cast<std::size_t>(edit)]);
    file.writeLine(texts.comboBox1);
    file.close();
}

std::string ReadRequiredLine(TextFileReader& file, int requiredLines, const std::string& kind)
{
    if (file.atEnd())
        throw FileFormatError(file.path(), file.linesRead() + 1,
                              "the file ends before this line; " + kind + " has at least " + std::to_string(requiredLines) +
                                  " lines.");
    return file.readLine();
}

void ReadEditLines(TextFileReader& file, ParameterTexts& texts, int requiredLines, const std::string& kind)
{
    for (int edit = 1; edit <= 21; ++edit) {
        std::string text = ReadRequiredLine(file, requiredLines, kind);
        // Either separator converts: the data window normalises it to the user's.
        try {
            ParseFloat(ArrumaDecimal(text, '.'), '.');
        } catch (const ConversionError&) {
            throw FileFormatError(file.path(), file.linesRead(),
                                  "\"" + Excerpt(text) + "\" is not a number; this is not " + kind + ".");
        }
        texts.edit[static_cast<std::size_t>(edit)] = std::move(text);
    }
}

ParameterTexts ReadParameterFile(const std::string& path)
{
    TextFileReader file(path);
    ParameterTexts texts;
    ReadEditLines(file, texts, 21, "a parameter file");
    // The rest must still be text, so a binary file with a plausible start is refused.
    while (!file.atEnd()) file.readLine();
    return texts;
}

}  // namespace kavrin
