// The current project: its folder name, its index and what has happened to it.
#pragma once

#include <string>

namespace kavrin {

struct ProjectState {
    std::string Root;              // the workspace root, read once at start; ends with "/"
    std::string ProjectName;       // the project folder, without root or "/"
    std::string ProjectIndexPath;  // full path of the index file
    bool ResultsExist = false;
    bool ProjectSaved = false;
};

}  // namespace kavrin
