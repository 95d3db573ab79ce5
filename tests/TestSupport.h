// Small helpers shared by the tests: temporary folders and raw file contents.
#pragma once

#include "model/ModelState.h"
#include "solution/Quadrature.h"

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace kavrin::test {

// A fresh folder under /tmp, removed with everything in it at the end of the test.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }  // ends with "/"

private:
    std::string path_;
};

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);

// Lines of a file split at CR LF (the last, unterminated piece included when not empty).
std::vector<std::string> CrLfLines(const std::string& bytes);

// The quadrature table of the source tree.
std::string ValoresPath();

// The table's rule of that order, loaded as a run loads it.
QuadratureState LoadedQuadrature(int gaussOrder);

// The model of the data window's initial texts.
ModelState InitialModel();

// The text of the KavrinError that `action` throws, "" when it throws none.
std::string FailureText(const std::function<void()>& action);

// FailureText of `action` run in a child process that the alarm stops after
// `seconds`: a reader that waits for ever (a named pipe with no writer) gives
// kStillWaiting instead of hanging the test.
inline const std::string kStillWaiting = "still waiting when the time ran out";
std::string FailureTextWithin(unsigned seconds, const std::function<void()>& action);

}  // namespace kavrin::test
