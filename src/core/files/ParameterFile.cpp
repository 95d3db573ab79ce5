#include "files/ParameterFile.h"

#include "text/TextFile.h"

namespace kavrin {

void WriteParameterFile(const std::string& path, const ParameterTexts& texts)
{
    TextFileWriter file(path);
    for (int edit = 1; edit <= 21; ++edit) file.writeLine(texts.edit[static_cast<std::size_t>(edit)]);
    file.writeLine(texts.comboBox1);
    file.close();
}

ParameterTexts ReadParameterFile(const std::string& path)
{
    TextFileReader file(path);
    ParameterTexts texts;
    for (int edit = 1; edit <= 21; ++edit) texts.edit[static_cast<std::size_t>(edit)] = file.readLine();
    return texts;
}

}  // namespace kavrin
