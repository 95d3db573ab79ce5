// A run's index, written so that it lists exactly the complete times at every
// moment: each line reaches the file, in one write, as soon as its time file
// is complete, so a run killed at any point leaves a true index.
#pragma once

#include <string>

namespace kavrin {

class RunIndex {
public:
    // Creates (or empties) the index at `path`. Throws FileError.
    explicit RunIndex(const std::string& path);
    ~RunIndex();
    RunIndex(const RunIndex&) = delete;
    RunIndex& operator=(const RunIndex&) = delete;

    // Writes the time file's path (UTF-8, stored as Windows-1252) and CR LF,
    // straight to the file. Throws FileError naming the index.
    void append(const std::string& timeFilePath);
    void close();  // a failure throws

private:
    std::string path_;
    int descriptor_ = -1;
};

}  // namespace kavrin
