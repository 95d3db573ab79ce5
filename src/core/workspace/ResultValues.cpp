#include "workspace/ResultValues.h"

#include "text/NumberText.h"
#include "text/TextFile.h"
#include "text/WholeFile.h"

#include <charconv>
#include <cstring>

namespace kavrin {

namespace {

// A file this large is no time of a grid (451 × 451 values of 24 characters
// take 5 MB); it goes to the line reader, which refuses it at its first line
// beyond the grid without holding it whole.
constexpr std::size_t kLargestPlainFile = std::size_t{256} << 20;

// Whether every byte is one the line reader passes on unchanged: ASCII
// without control characters but tab, vertical tab and form feed (line ends
// never reach here).
bool plainAscii(std::string_view line)
{
    bool other = false;
    for (const char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        other |= byte >= 0x80 || (byte < 0x20 && (byte < 0x09 || byte > 0x0D));
    }
    return !other;
}

bool readable(std::string_view line)
{
    return line.size() <= TextFileReader::kMaximumLineLength && plainAscii(line);
}

// Splits bytes into lines as the line reader does: each ends at CR LF, LF or
// CR, and nothing follows the last line end.
class LineSplitter {
public:
    explicit LineSplitter(std::string_view bytes) : bytes_(bytes) {}

    bool next(std::string_view& line)
    {
        if (at_ >= bytes_.size()) return false;
        const char* data = bytes_.data();
        const std::size_t left = bytes_.size() - at_;
        const auto* feed = static_cast<const char*>(std::memchr(data + at_, '\n', left));
        const std::size_t feedAt = feed ? static_cast<std::size_t>(feed - data) : bytes_.size();
        const auto* ret = static_cast<const char*>(std::memchr(data + at_, '\r', feedAt - at_));
        const std::size_t end = ret ? static_cast<std::size_t>(ret - data) : feedAt;
        line = bytes_.substr(at_, end - at_);
        at_ = end + 1;
        if (ret && at_ < bytes_.size() && data[at_] == '\n') ++at_;
        return true;
    }

private:
    std::string_view bytes_;
    std::size_t at_ = 0;
};

bool digitOrPoint(char c)
{
    return (c >= '0' && c <= '9') || c == '.';
}

// The number at [first, last) read up to the first character that is not
// part of it, when it begins as the rules of ParseFloatView allow (a digit or
// point, after a '-') and std::from_chars takes it; `stop` is where it ended.
bool quickNumber(const char* first, const char* last, double& value, const char*& stop)
{
    const char* lead = first + (first != last && *first == '-' ? 1 : 0);
    if (lead == last || !digitOrPoint(*lead)) return false;
    const auto result = std::from_chars(first, last, value);
    stop = result.ptr;
    return result.ec == std::errc();
}

// The values of a row as AppendRowValues reads them, done the quick way: a
// value with a point must end at its blank, one with a comma is read from a
// copy with a point. False, with `values` as it was, for a row with any other
// text (a wrong value, a stray byte, another separator): the rules decide.
bool quickRowValues(std::string_view line, char separator, LargeBuffer<double>& values, std::size_t& count)
{
    const std::size_t before = values.size();
    const char* p = line.data();
    const char* const end = p + line.size();
    double value = 0;
    const char* stop = nullptr;
    while (p != end) {
        if (separator == '.') {
            if (!quickNumber(p, end, value, stop)) break;
        } else {
            char copy[64];
            std::size_t length = 0;
            for (const char* q = p; q != end && *q != ' ' && length < sizeof copy; ++q)
                copy[length++] = *q == separator ? '.' : *q == '.' ? ',' : *q;
            const char* copyStop = nullptr;
            if (!quickNumber(copy, copy + length, value, copyStop)) break;
            stop = p + (copyStop - copy);
        }
        if (stop == end) {  // text after the last blank is no value
            count = values.size() - before;
            return true;
        }
        if (*stop != ' ') break;
        values.push_back(value);
        p = stop + 1;
    }
    if (p == end) {
        count = values.size() - before;
        return true;
    }
    values.resize(before);
    return false;
}

}  // namespace

void AppendRowValues(std::string_view line, char separator, LargeBuffer<double>& values)
{
    std::size_t start = 0;
    for (std::size_t blank; (blank = line.find(' ', start)) != std::string_view::npos; start = blank + 1)
        values.push_back(ParseFloatView(line.substr(start, blank - start), separator));
}

int ReadResultValuesByLines(const std::string& path, const ResultShape& shape, char separator, LargeBuffer<double>& values)
{
    TextFileReader file(path);
    int m = 0;
    while (!file.atEnd()) {
        const std::string line = file.readLine();
        CheckResultRow(path, ++m, line, shape);
        AppendRowValues(line, separator, values);
    }
    return m;
}

std::optional<int> ReadPlainResultValues(const std::string& path, const ResultShape& shape, char separator,
                                         LargeBuffer<double>& values)
{
    const std::optional<LargeBuffer<char>> bytes = ReadWholeFile(path, kLargestPlainFile);
    if (!bytes) return std::nullopt;
    const double expected = shape.rows * shape.values;
    if (expected >= 1 && expected <= 1e7) values.reserve(static_cast<std::size_t>(expected));
    LineSplitter lines({bytes->data(), bytes->size()});
    // The line reader holds the line after the one handed out and refuses a
    // file at that line before the one before it is checked. A row read the
    // quick way is plain text; a line is refused here, or read by the rules,
    // only once it and the next one are known to be plain lines.
    const auto handBack = [&] {
        values.clear();
        return std::nullopt;
    };
    std::string_view line;
    int m = 0;
    while (lines.next(line)) {
        if (line.size() > TextFileReader::kMaximumLineLength) return handBack();
        ++m;
        const std::size_t before = values.size();
        std::size_t count = 0;
        if (quickRowValues(line, separator, values, count)) {
            if (m <= shape.rows && count == shape.values) continue;
            values.resize(before);
        }
        LineSplitter ahead = lines;
        std::string_view following;
        if (!readable(line) || (ahead.next(following) && !readable(following))) return handBack();
        CheckResultRow(path, m, line, shape);
        AppendRowValues(line, separator, values);
    }
    return m;
}

}  // namespace kavrin
