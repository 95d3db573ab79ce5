#include "files/ProjectFile.h"

#include "files/ParameterFile.h"
#include "files/SitePlacementLines.h"
#include "files/SourceProjectLines.h"
#include "text/Errors.h"
#include "text/NumberText.h"
#include "text/TextFile.h"

namespace kavrin {

namespace {
constexpr int kRequiredLines = 24;  // the index path on line 25 may be missing
const std::string kKind = "a project file";

void writeProject(const std::string& path, const std::string& projectName, const std::string& savedAt,
                  const ParameterTexts& texts, const std::string& indexPath, const NamedLines& namedLines)
{
    NamedLines lines = SourceNamedLines(texts.source);
    const NamedLines site = SitePlacementLines(texts.site);
    lines.insert(lines.end(), site.begin(), site.end());
    lines.insert(lines.end(), namedLines.begin(), namedLines.end());
    CheckNamedLines(lines, path);
    TextFileWriter file(path);
    file.writeLine(projectName);
    file.writeLine(savedAt);
    for (int edit = 1; edit <= 21; ++edit) file.writeLine(texts.edit[static_cast<std::size_t>(edit)]);
    file.writeLine(texts.comboBox1);
    file.write(indexPath);
    WriteNamedLines(file, lines);
    file.close();
}

}  // namespace

void WriteProjectFile(const std::string& path, const std::string& projectName, const std::string& savedAt,
                      const ParameterTexts& texts, const std::string& root, const NamedLines& namedLines)
{
    writeProject(path, projectName, savedAt, texts, root + projectName + "/index.txt", namedLines);
}

void WriteUnrunProjectFile(const std::string& path, const std::string& projectName, const std::string& savedAt,
                           const ParameterTexts& texts, const NamedLines& namedLines)
{
    writeProject(path, projectName, savedAt, texts, "", namedLines);
}

ProjectFileContents ReadProjectFile(const std::string& path)
{
    TextFileReader file(path);
    ProjectFileContents contents;
    contents.projectName = ReadRequiredLine(file, kRequiredLines, kKind);
    ReadRequiredLine(file, kRequiredLines, kKind);
    ReadEditLines(file, contents.texts, kRequiredLines, kKind);
    contents.texts.comboBox1 = ReadRequiredLine(file, kRequiredLines, kKind);
    try {
        ParseInteger(contents.texts.comboBox1);
    } catch (const ConversionError&) {
        throw FileFormatError(path, kRequiredLines,
                              "\"" + Excerpt(contents.texts.comboBox1) + "\" is not a number of intervals; this is not " + kKind +
                                  ".");
    }
    contents.indexPath = file.readLine();
    contents.namedLines = ReadNamedLines(file);
    contents.texts.source = TakeSourceTexts(contents.namedLines);
    contents.texts.site = TakeSitePlacementTexts(contents.namedLines);
    contents.calibration = TakeStoredCalibration(contents.namedLines);
    return contents;
}

void AssignEditTexts(ParameterTexts& target, const ParameterTexts& loaded, char separator)
{
    for (int edit = 1; edit <= 21; ++edit) SetControlText(target, edit, loaded.edit[static_cast<std::size_t>(edit)], separator);
}

void ApplyProjectTexts(ParameterTexts& target, const ProjectFileContents& project, char separator)
{
    AssignEditTexts(target, project.texts, separator);
    SetControlText(target, 0, project.texts.comboBox1, separator);
    target.source = project.texts.source;
    target.site = project.texts.site;
}

}  // namespace kavrin
