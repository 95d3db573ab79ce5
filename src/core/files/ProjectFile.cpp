#include "files/ProjectFile.h"

#include "text/TextFile.h"

namespace kavrin {

void WriteProjectFile(const std::string& path, const std::string& projectName, const std::string& savedAt,
                      const ParameterTexts& texts, const std::string& root)
{
    TextFileWriter file(path);
    file.writeLine(projectName);
    file.writeLine(savedAt);
    for (int edit = 1; edit <= 21; ++edit) file.writeLine(texts.edit[static_cast<std::size_t>(edit)]);
    file.writeLine(texts.comboBox1);
    file.write(root + projectName + "/index.txt");
    file.close();
}

ProjectFileContents ReadProjectFile(const std::string& path)
{
    TextFileReader file(path);
    ProjectFileContents contents;
    contents.projectName = file.readLine();
    file.readLine();
    for (int edit = 1; edit <= 21; ++edit) contents.texts.edit[static_cast<std::size_t>(edit)] = file.readLine();
    contents.texts.comboBox1 = file.readLine();
    contents.indexPath = file.readLine();
    return contents;
}

void AssignEditTexts(ParameterTexts& target, const ParameterTexts& loaded, char separator)
{
    for (int edit = 1; edit <= 21; ++edit)
        SetControlText(target, edit, loaded.edit[static_cast<std::size_t>(edit)], separator);
}

void ApplyProjectTexts(ParameterTexts& target, const ProjectFileContents& project, char separator)
{
    AssignEditTexts(target, project.texts, separator);
    SetControlText(target, 0, project.texts.comboBox1, separator);
}

}  // namespace kavrin
