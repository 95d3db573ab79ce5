// Where a georeferenced export writes: a hidden file beside the chosen name,
// renamed over it once GDAL has closed it, so that a failure never leaves a
// half-written file nor destroys an earlier one.
#pragma once

#include <string>
#include <vector>

namespace kavrin {

class GeoOutput {
public:
    // Refuses (CheckError), before anything is written, an empty name, a name
    // that is one of the files `read` or lies in `resultsFolder` (a run's
    // folder holds nothing but its own times).
    GeoOutput(const std::string& path, const std::vector<std::string>& read, const std::string& resultsFolder);
    ~GeoOutput();  // removes the hidden file when not committed
    GeoOutput(const GeoOutput&) = delete;
    GeoOutput& operator=(const GeoOutput&) = delete;

    const std::string& writing() const { return writing_; }  // the hidden file GDAL writes
    // Renames the hidden file over the chosen name; throws FileError.
    void commit();

private:
    std::string path_, writing_;
    bool committed_ = false;
};

}  // namespace kavrin
