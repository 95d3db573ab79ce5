// The checks of what a run is about to write, made before anything is
// created: one file name for each time, and room on the disk for all files.
#pragma once

#include "model/ModelState.h"
#include "text/Errors.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kavrin {

// A refused run: what() is the English text, portuguese() the same in Portuguese.
class RunFilesRefusal : public CheckError {
public:
    RunFilesRefusal(const std::string& english, std::string portuguese) : CheckError(english), portuguese_(std::move(portuguese))
    {
    }
    const std::string& portuguese() const { return portuguese_; }

private:
    std::string portuguese_;
};

// The bytes of a run's files: each time file holds NY + 1 rows of NX + 1
// values of fixed width (a value, its blank) and a CR LF; the index holds one
// path per time. Negative values take one byte more, so this is the least.
std::uint64_t RunFileBytes(const ModelState& model, const std::vector<double>& times, const std::string& folder, char separator);

// Bytes free for this user in the file system of `folder`, or of its nearest
// existing parent when it is not there yet. Throws FileError.
std::uint64_t FreeBytes(const std::string& folder);

// The model has passed the run's checks; `root` is the workspace root and
// `projectName` the name when known (it lengthens the index's lines). Throws
// RunFilesRefusal when two times would be written to one file, naming them,
// or when the files need more than the space free, naming both sizes.
void CheckRunFiles(const ModelState& model, const std::string& root, const std::string& projectName, char separator);

// The same check of the times alone, for anything that writes one file per time.
void CheckOneNamePerTime(const std::vector<double>& times, char separator);

}  // namespace kavrin
