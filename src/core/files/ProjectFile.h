// The project file (".kvr"): name, date of saving, the data window's 22 texts
// as they stand, and the index path — 25 lines, the last without a line end —
// then the named lines of the options stored with the project (the source
// options, the site placement, …), if any.
#pragma once

#include "files/FitProjectLines.h"
#include "files/ProjectNamedLines.h"
#include "model/ParameterTexts.h"

#include <string>

namespace kavrin {

struct ProjectFileContents {
    std::string projectName;        // line 1
    ParameterTexts texts;           // lines 3 … 24, unformatted, and the source's named lines
    std::string indexPath;          // line 25
    StoredCalibration calibration;  // the observation table's file and the fit's choices
    NamedLines namedLines;          // the other named lines, from line 26 on
};

// Writes the file at exactly `path`, replacing an earlier file only once all
// is written. Line 25 is root + name + "/index.txt"; the source's texts follow
// as named lines, then `namedLines`. Named lines the file
// could not give back are refused (CheckError) before anything is written.
void WriteProjectFile(const std::string& path, const std::string& projectName, const std::string& savedAt,
                      const ParameterTexts& texts, const std::string& root, const NamedLines& namedLines = {});

// The same file for parameters that have not been run: line 25 is empty, so
// the project points to no results until a run makes them.
void WriteUnrunProjectFile(const std::string& path, const std::string& projectName, const std::string& savedAt,
                           const ParameterTexts& texts, const NamedLines& namedLines = {});

// Reads the 25 lines and the named lines after checking the whole file: fewer
// than 24 lines (a missing line 25 reads as an empty index path), a field that
// is not a number, bytes no text file has or a named line this build cannot
// take (ReadNamedLines) throw FileFormatError naming the line; nothing is
// returned half-read. Throws FileError when the file cannot be read.
ProjectFileContents ReadProjectFile(const std::string& path);

// Puts loaded texts into the data window's texts in control order, as a loader
// assigns them (the Y pair mirrors; the control assigned last decides).
void AssignEditTexts(ParameterTexts& target, const ParameterTexts& loaded, char separator);

// Opens a project into the data window's texts: the 21 edits as a loader
// assigns them, then the quadrature order and the source's texts. The data window, the batch run and
// the batch export all open projects this way.
void ApplyProjectTexts(ParameterTexts& target, const ProjectFileContents& project, char separator);

}  // namespace kavrin
