// The results workspace: the root, project folders, the index and time files
// (named after the run's times, model/RunTimes.h).
#pragma once

#include "model/ModelState.h"
#include "model/RunTimes.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kavrin {

// $KAVRIN_ROOT when set (made absolute), else $HOME/KAVRIN/; always ends with
// "/". Read once when a program starts; the project state holds it from then on.
std::string WorkspaceRoot();

std::string ProjectFolderPath(const std::string& root, const std::string& projectName);  // ends with "/"
std::string IndexPath(const std::string& root, const std::string& projectName);
std::string TimeFilePath(const std::string& root, const std::string& projectName, double t, char separator);

// Throws CheckError with a clear text when the name cannot be a project folder
// directly inside the root: empty, ".", "..", a "/", a control character, or
// a character the Windows-1252 files of the workspace cannot hold, or bytes
// that are not UTF-8 text (the project file could not name the folder again).
void ValidateProjectName(const std::string& projectName);

// The folder inside a project's folder where the animation keeps its frames.
inline constexpr const char* kFrameFolderName = "tempImage";

// Deletes the plain, visible files of the project folder root + name + "/"
// and of its frame folder, then those folders when empty, ignoring failures. Only a folder that
// is a real directory directly inside the root is touched: an invalid name or
// a folder that is a symbolic link deletes nothing.
void DeletaPasta(const std::string& root, const std::string& projectName);

// Creates root + name, or the first free of name(2), name(3), …, with the root
// when missing; returns the name actually used. Throws FileError.
std::string CreateProjectFolder(const std::string& root, const std::string& projectName);

// The run's times that have their files: RunTimes(T0, T1, DT), cut to as many
// as the index at `indexPath` lists (a stopped run lists fewer); all of them
// when there is no index to read. Nothing when the times are not a list.
std::optional<std::vector<double>> ListedRunTimes(const ModelState& model, const std::string& indexPath);

// An index path as stored, or the same file name in another letter case in its
// folder when the stored one does not exist ("index.txt" finds "Index.txt").
std::string ResolveIndexPath(const std::string& indexPath);

}  // namespace kavrin
