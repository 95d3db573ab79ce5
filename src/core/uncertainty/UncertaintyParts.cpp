#include "uncertainty/UncertaintyParts.h"

#include "text/Errors.h"
#include "text/TextFile.h"
#include "uncertainty/VariedParameterText.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>

namespace kavrin {

namespace {

constexpr const char* kPartHeading = "KAVRIN uncertainty part 1";
constexpr const char* kSettingsEnd = "end of settings";

std::string exact(double value)
{
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

std::string exactList(std::initializer_list<double> values)
{
    std::string text;
    for (double value : values) {
        if (!text.empty()) text += ' ';
        text += exact(value);
    }
    return text;
}

const char* historyName(SourceHistory history)
{
    switch (history) {
    case SourceHistory::Constant:
        return "constant";
    case SourceHistory::Decay:
        return "decay";
    case SourceHistory::Stop:
        return "stop";
    case SourceHistory::Steps:
        return "steps";
    }
    return "";
}

void modelRecord(const ModelState& m, std::vector<std::string>& lines)
{
    const std::pair<const char*, double> fields[] = {
        {"C0", m.C0},
        {"SourceWidth", m.SourceWidth},
        {"SourceHeight", m.SourceHeight},
        {"PlaneZ", m.PlaneZ},
        {"X0", m.X0},
        {"X1", m.X1},
        {"DX", m.DX},
        {"Y0", m.Y0},
        {"Y1", m.Y1},
        {"DY", m.DY},
        {"AlphaX", m.AlphaX},
        {"AlphaY", m.AlphaY},
        {"AlphaZ", m.AlphaZ},
        {"Kxx", m.Kxx},
        {"GradH", m.GradH},
        {"Retardation", m.Retardation},
        {"Porosity", m.Porosity},
        {"Decay", m.Decay},
    };
    for (const auto& [name, value] : fields) lines.push_back(std::string("model ") + name + "=" + exact(value));
    lines.push_back("model GaussOrder=" + std::to_string(m.GaussOrder));
    const SourceOptions& s = m.source;
    lines.push_back(std::string("model SourceHistory=") + historyName(s.history));
    lines.push_back("model SourceDecay=" + exact(s.decayRate));
    lines.push_back("model ReleaseEnd=" + exact(s.releaseEnd));
    std::string steps;
    for (const SourceStep& step : s.steps) {
        steps += '|';
        steps += exactList({step.start, step.relative});
    }
    lines.push_back("model SourceSteps=" + steps);
    lines.push_back("model SourceCentre=" + exactList({s.firstZoneY, s.firstZoneZ}));
    std::string zones;
    for (const SourceZone& zone : s.moreZones) {
        zones += '|';
        zones += exactList({zone.y, zone.z, zone.width, zone.height, zone.concentration});
    }
    lines.push_back("model SourceZones=" + zones);
    lines.push_back("model ControlPlaneX=" + (s.controlPlaneX ? exact(*s.controlPlaneX) : std::string()));
}

// The name of a record line: what comes before its "=".
std::string settingName(const std::string& line)
{
    return line.substr(0, line.find('='));
}

// Little-endian raw numbers, as the machines that run the parts store them.
class BinaryOut {
public:
    void put(const void* data, std::size_t size) { bytes_.append(static_cast<const char*>(data), size); }
    template <class T>
    void put(T value)
    {
        put(&value, sizeof value);
    }
    std::string& bytes() { return bytes_; }

private:
    std::string bytes_;
};

class BinaryIn {
public:
    BinaryIn(std::ifstream& file, std::string path) : file_(file), path_(std::move(path)) {}
    void get(void* data, std::size_t size)
    {
        if (!file_.read(static_cast<char*>(data), static_cast<std::streamsize>(size)))
            throw FileFormatError(path_, 0, "the part file ends before its results do");
    }
    template <class T>
    T get()
    {
        T value{};
        get(&value, sizeof value);
        return value;
    }

private:
    std::ifstream& file_;
    std::string path_;
};

void putTally(BinaryOut& out, const NodeTally& tally)
{
    out.put<std::uint64_t>(tally.realizations());
    for (std::size_t node = 0; node < tally.nodes(); ++node) {
        for (std::size_t level = 0; level < tally.levels(); ++level) out.put<std::uint32_t>(tally.levelCount(node, level));
        out.put(tally.sum(node).limb, sizeof tally.sum(node).limb);
        out.put(tally.sumOfSquares(node).limb, sizeof tally.sumOfSquares(node).limb);
        // The bins between the first and the last that hold a value.
        int first = 0, last = kHistogramBins - 1;
        while (first < kHistogramBins && tally.binCount(first, node) == 0) ++first;
        while (last > first && tally.binCount(last, node) == 0) --last;
        const auto count = static_cast<std::uint16_t>(first < kHistogramBins ? last - first + 1 : 0);
        out.put<std::uint16_t>(static_cast<std::uint16_t>(first));
        out.put<std::uint16_t>(count);
        for (int bin = first; bin < first + count; ++bin) out.put<std::uint32_t>(tally.binCount(bin, node));
    }
}

// Adds the tally stored next in the file to `tally`.
void addStoredTally(BinaryIn& in, NodeTally& tally)
{
    tally.setRealizations(tally.realizations() + in.get<std::uint64_t>());
    for (std::size_t node = 0; node < tally.nodes(); ++node) {
        for (std::size_t level = 0; level < tally.levels(); ++level)
            tally.setLevelCount(node, level, tally.levelCount(node, level) + in.get<std::uint32_t>());
        ExactSum sum, squares;
        in.get(sum.limb, sizeof sum.limb);
        in.get(squares.limb, sizeof squares.limb);
        tally.sum(node).add(sum);
        tally.sumOfSquares(node).add(squares);
        const int first = in.get<std::uint16_t>(), count = in.get<std::uint16_t>();
        if (first + count > kHistogramBins) throw FileFormatError("", 0, "a part file's histogram is not one of these bins");
        for (int bin = first; bin < first + count; ++bin)
            tally.setBinCount(bin, node, tally.binCount(bin, node) + in.get<std::uint32_t>());
    }
}

std::string partPath(const std::string& folder)
{
    return folder + (folder.empty() || folder.back() == '/' ? "" : "/") + kPartFileName;
}

std::string typedLine(const char* name, const TypedNumber& number)
{
    return std::string(name) + "=" + exact(number.value) + " " + number.text;
}

}  // namespace

OutputFrame OutputFrameOf(const ModelState& model)
{
    return {model.X0, model.X1, model.DX, model.Y0, model.Y1, model.DY, std::max(0, model.NY + 1), std::max(0, model.NX + 1)};
}

std::vector<std::string> SettingsRecord(const UncertaintySettings& settings, const ModelState& model)
{
    std::vector<std::string> lines;
    lines.push_back("realizations=" + std::to_string(settings.realizations));
    lines.push_back("seed=" + std::to_string(settings.seed));
    lines.push_back(std::string("sampling=") + (settings.latinHypercube ? "latin hypercube" : "monte carlo"));
    for (const VariedParameter& varied : settings.varied) lines.push_back("vary " + VariedParameterText(varied));
    if (settings.fromFit) {
        const FitDraw& fit = *settings.fromFit;
        for (std::size_t i = 0; i < fit.names.size(); ++i) {
            std::string row;
            for (double c : fit.covariance[i]) {
                row += ' ';
                row += exact(c);
            }
            lines.push_back("fit " + fit.names[i] + "=" + (fit.logarithmic[i] ? "log " : "linear ") + exact(fit.centre[i]) + row);
        }
    }
    for (const TypedNumber& threshold : settings.thresholds) lines.push_back(typedLine("threshold", threshold));
    for (const TypedNumber& time : settings.times) lines.push_back(typedLine("time", time));
    for (const Receptor& receptor : settings.receptors)
        lines.push_back("receptor=" + exactList({receptor.x, receptor.y, receptor.z}));
    modelRecord(model, lines);
    return lines;
}

struct PartWriter::Impl {
    std::string path;
    std::unique_ptr<TextFileWriter> file;
    std::size_t realizations = 0;
};

PartWriter::PartWriter(const std::string& path, const UncertaintySettings& settings, const ModelState& model) : impl_(new Impl)
{
    impl_->path = path;
    impl_->file = std::make_unique<TextFileWriter>(path);
    const OutputFrame f = OutputFrameOf(model);
    std::string head = std::string(kPartHeading) + "\n";
    head += "part=" + std::to_string(settings.part.index) + "/" + std::to_string(settings.part.count) + "\n";
    head +=
        "frame=" + exactList({f.X0, f.X1, f.DX, f.Y0, f.Y1, f.DY, static_cast<double>(f.rows), static_cast<double>(f.columns)}) +
        "\n";
    for (const std::string& line : SettingsRecord(settings, model)) head += line + "\n";
    head += std::string(kSettingsEnd) + "\n";
    impl_->file->writeRaw(head);
}

PartWriter::~PartWriter()
{
    delete impl_;
}

void PartWriter::addTally(const NodeTally& tally)
{
    BinaryOut out;
    putTally(out, tally);
    impl_->file->writeRaw(out.bytes());
}

void PartWriter::finish(const UncertaintyResults& results)
{
    BinaryOut out;
    out.put<std::uint64_t>(results.firstRealization);
    out.put<std::uint64_t>(results.realizations);
    for (const auto& receptor : results.receptorValues)
        for (const std::vector<double>& values : receptor) out.put(values.data(), values.size() * sizeof(double));
    for (const std::vector<double>& lengths : results.plumeLength) out.put(lengths.data(), lengths.size() * sizeof(double));
    impl_->file->writeRaw(out.bytes());
    impl_->file->close();
}

namespace {

struct PartHead {
    std::string folder, path;
    int index = 0, count = 0;
    OutputFrame frame;
    std::vector<std::string> record;
    std::vector<TypedNumber> thresholds, times;
    std::vector<Receptor> receptors;
};

std::vector<double> numbers(const std::string& text, const std::string& path)
{
    std::vector<double> values;
    const char* at = text.data();
    const char* end = text.data() + text.size();
    while (at < end) {
        if (*at == ' ') {
            ++at;
            continue;
        }
        double value = 0;
        const auto result = std::from_chars(at, end, value);
        if (result.ec != std::errc()) throw FileFormatError(path, 0, "a number of the part's settings does not read");
        values.push_back(value);
        at = result.ptr;
    }
    return values;
}

TypedNumber typedNumber(const std::string& value, const std::string& path)
{
    const std::size_t blank = value.find(' ');
    const std::vector<double> number = blank == std::string::npos ? std::vector<double>{} : numbers(value.substr(0, blank), path);
    if (number.size() != 1) throw FileFormatError(path, 0, "a threshold or time of the part's settings does not read");
    return {number[0], value.substr(blank + 1)};
}

PartHead readHead(std::ifstream& file, const std::string& folder)
{
    PartHead head;
    head.folder = folder;
    head.path = partPath(folder);
    std::string line;
    const auto fail = [&](const std::string& why) { return FileFormatError(head.path, 0, why); };
    // A count of the head as an int, refused unless it is a whole number in 0 … 2^20.
    const auto count = [&](double value) {
        if (!(value >= 0 && value <= 1048576) || value != std::floor(value))
            throw fail("a count of its head is not a whole number");
        return static_cast<int>(value);
    };
    if (!std::getline(file, line) || line != kPartHeading) throw fail("this is not a part of an uncertainty run");
    while (std::getline(file, line) && line != kSettingsEnd) {
        const std::string name = settingName(line);
        const std::string value = line.size() > name.size() ? line.substr(name.size() + 1) : std::string();
        if (name == "part") {
            const std::vector<double> share = numbers(value.substr(0, value.find('/')), head.path);
            const std::vector<double> of = numbers(value.substr(value.find('/') + 1), head.path);
            if (share.size() != 1 || of.size() != 1) throw fail("its part is not I/M");
            head.index = count(share[0]);
            head.count = count(of[0]);
        } else if (name == "frame") {
            const std::vector<double> v = numbers(value, head.path);
            if (v.size() != 8) throw fail("its grid does not read");
            head.frame = {v[0], v[1], v[2], v[3], v[4], v[5], count(v[6]), count(v[7])};
        } else {
            if (name == "threshold") head.thresholds.push_back(typedNumber(value, head.path));
            if (name == "time") head.times.push_back(typedNumber(value, head.path));
            if (name == "receptor") {
                const std::vector<double> v = numbers(value, head.path);
                if (v.size() != 3) throw fail("a receptor does not read");
                head.receptors.push_back({v[0], v[1], v[2]});
            }
            head.record.push_back(line);
        }
    }
    if (line != kSettingsEnd) throw fail("its settings do not end");
    if (head.thresholds.empty() || head.thresholds.size() > static_cast<std::size_t>(kMostThresholds) ||
        head.receptors.size() > static_cast<std::size_t>(kMostReceptors))
        throw fail("its thresholds or receptors are not those of a run");
    if (head.count < 1 || head.index < 1 || head.index > head.count) throw fail("its part is not I/M with I from 1 to M");
    if (head.frame.rows < 0 || head.frame.columns < 0 || head.frame.rows > 451 || head.frame.columns > 451)
        throw fail("its grid is not one a run computes");
    return head;
}

// The first setting in which two records differ, as "name" (the line's name).
std::string firstDifference(const std::vector<std::string>& a, const std::vector<std::string>& b)
{
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        if (a[i] != b[i])
            return settingName(a[i]) == settingName(b[i]) ? settingName(a[i]) : settingName(a[i]) + " / " + settingName(b[i]);
    return a.size() < b.size() ? settingName(b[a.size()]) : settingName(a[b.size()]);
}

}  // namespace

MergedParts MergeParts(const std::vector<std::string>& folders)
{
    if (folders.empty()) throw CheckError("No part to merge.");
    std::vector<std::unique_ptr<std::ifstream>> files;
    std::vector<PartHead> heads;
    for (const std::string& folder : folders) {
        const std::string path = partPath(folder);
        if (!FileExists(path)) throw FileError(ENOENT, path);
        files.push_back(std::make_unique<std::ifstream>(path, std::ios::binary));
        if (!*files.back()) throw FileError(errno ? errno : EIO, path);
        heads.push_back(readHead(*files.back(), folder));
    }
    const PartHead& first = heads.front();
    std::map<int, std::size_t> byIndex;
    for (std::size_t p = 0; p < heads.size(); ++p) {
        const PartHead& head = heads[p];
        if (head.record != first.record || !(head.frame == first.frame))
            throw CheckError("The parts in " + first.folder + " and " + head.folder + " were computed with different settings: " +
                             (head.record != first.record ? firstDifference(first.record, head.record) : std::string("grid")) +
                             ".");
        if (head.count != first.count)
            throw CheckError("The parts in " + first.folder + " and " + head.folder + " are shares of different splits: " +
                             std::to_string(first.index) + "/" + std::to_string(first.count) + " and " +
                             std::to_string(head.index) + "/" + std::to_string(head.count) + ".");
        if (const auto [at, inserted] = byIndex.emplace(head.index, p); !inserted)
            throw CheckError("Part " + std::to_string(head.index) + "/" + std::to_string(head.count) + " is given twice: in " +
                             heads[at->second].folder + " and " + head.folder + ".");
    }
    for (int index = 1; index <= first.count; ++index)
        if (!byIndex.count(index))
            throw CheckError("Part " + std::to_string(index) + "/" + std::to_string(first.count) + " is missing.");

    MergedParts merged;
    merged.record = first.record;
    merged.thresholds = first.thresholds;
    merged.times = first.times;
    merged.receptors = first.receptors;
    merged.frame = first.frame;
    UncertaintyResults& results = merged.results;
    results.rows = first.frame.rows;
    results.columns = first.frame.columns;
    std::vector<double> thresholdValues;
    for (const TypedNumber& threshold : first.thresholds) thresholdValues.push_back(threshold.value);
    NodeTally tally(static_cast<std::size_t>(results.rows) * static_cast<std::size_t>(results.columns), thresholdValues);
    std::vector<BinaryIn> inputs;
    for (const auto& [index, p] : byIndex) inputs.emplace_back(*files[p], heads[p].path);
    for (std::size_t t = 0; t < first.times.size(); ++t) {
        tally.clear();
        for (BinaryIn& in : inputs) addStoredTally(in, tally);
        results.times.push_back(MapsOfTally(tally));
    }
    results.receptorValues.assign(first.receptors.size(), std::vector<std::vector<double>>(first.times.size()));
    results.plumeLength.assign(first.times.size(), {});
    std::uint64_t next = 0;
    for (BinaryIn& in : inputs) {
        const auto from = in.get<std::uint64_t>(), count = in.get<std::uint64_t>();
        if (from != next || count > kMostRealizations || next + count > kMostRealizations)
            throw CheckError("The parts do not hold consecutive realizations: one starts at " + std::to_string(from) + ".");
        next += count;
        std::vector<double> values(count);
        for (auto& receptor : results.receptorValues)
            for (std::vector<double>& atTime : receptor) {
                in.get(values.data(), count * sizeof(double));
                atTime.insert(atTime.end(), values.begin(), values.end());
            }
        for (std::vector<double>& lengths : results.plumeLength) {
            in.get(values.data(), count * sizeof(double));
            lengths.insert(lengths.end(), values.begin(), values.end());
        }
    }
    results.realizations = next;
    return merged;
}

}  // namespace kavrin
