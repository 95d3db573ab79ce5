// A part's results on disk (kavrin-batch uncertainty --part I/M) and their
// merge: each part file records the settings and the model it was computed
// from, its share, each time's tally, and the receptor values and plume
// lengths of its realizations, so that the merge of all M parts gives the
// results of a single run bit for bit.
#pragma once

#include "model/ModelState.h"
#include "uncertainty/NodeTally.h"
#include "uncertainty/UncertaintyResults.h"
#include "uncertainty/UncertaintySettings.h"

#include <string>
#include <vector>

namespace kavrin {

// The file a part writes in its folder.
constexpr const char* kPartFileName = "uncertainty.part";

// The settings record: "name=value" lines of every setting but the part and
// of every model field, numbers in their exact shortest form. Two parts merge
// only when their records are equal.
std::vector<std::string> SettingsRecord(const UncertaintySettings& settings, const ModelState& model);

// The grid the outputs need, kept in the part.
struct OutputFrame {
    double X0 = 0, X1 = 0, DX = 0, Y0 = 0, Y1 = 0, DY = 0;
    int rows = 0, columns = 0;
    bool operator==(const OutputFrame&) const = default;
};
OutputFrame OutputFrameOf(const ModelState& model);

// Writes a part file; tallies per time and the results' receptor values and
// plume lengths. Written to a temporary file first.
class PartWriter {
public:
    PartWriter(const std::string& path, const UncertaintySettings& settings, const ModelState& model);
    ~PartWriter();
    void addTally(const NodeTally& tally);  // the times in order
    void finish(const UncertaintyResults& results);

private:
    struct Impl;
    Impl* impl_;
};

// Reads a part file (FileFormatError when it is not one), then merges the
// parts: the same settings record (a mismatch names the first setting that
// differs and the two folders), the same M, every share 1 … M once. Throws
// CheckError. The merged results carry every map.
struct MergedParts {
    std::vector<std::string> record;
    std::vector<TypedNumber> thresholds, times;
    std::vector<Receptor> receptors;
    OutputFrame frame;
    UncertaintyResults results;
};
MergedParts MergeParts(const std::vector<std::string>& folders);

}  // namespace kavrin
