// A run written as kavrin-batch run writes it, and a run's results read back
// as the desktop's charts read them.
#pragma once

#include "PythonModel.h"
#include "charts/ChartSeries.h"

#include <atomic>
#include <string>
#include <vector>

namespace kavrin {

// The batch run of the model's texts under `root` (ending with "/"), its
// numbers written with `separator`: returns the project folder. With `stop`
// set (by a signal) the run ends once the time being written is complete, as
// the batch tool's does.
std::string RunPythonModel(const PythonModel& model, const std::string& name, const std::string& root,
                           const std::string& savePath, char separator, const std::atomic<int>& stop);

struct PythonResults {
    ModelState model;
    std::string indexPath;
    std::vector<double> times;       // the complete times, in run order
    std::vector<std::string> files;  // their time files, as the index lists them
    char separator = '.';            // the decimal separator the files were written with
};

// A saved project's results: its model and the times its index lists. `root`
// is the workspace the project's name is looked up in when it stores no index.
PythonResults OpenPythonResults(const std::string& projectPath, const std::string& root, char separator);

// Time k's grid into `out` ((NY + 1) × (NX + 1), rows y ascending).
void LoadPythonResultsTime(const PythonResults& results, std::size_t k, double* out);

// The charts' series: concentration against time at the node nearest (x, y),
// and the profiles of time k along X at the row nearest y and along Y at the
// column nearest x.
ChartPoints ResultsTimeSeries(const PythonResults& results, double x, double y);
ChartPoints ResultsProfile(const PythonResults& results, std::size_t k, bool alongX, double across);

}  // namespace kavrin
