#include "text/TextLine.h"

#include "text/Errors.h"
#include "text/Windows1252.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace kavrin {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

TextLine ReadTextLine(const std::string& path, long long number)
{
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) throw FileError(errno, path);
    std::vector<char> block(1 << 18);
    TextLine result;
    std::string bytes;              // the wanted line so far
    long long line = 1;             // the line the next byte belongs to
    bool afterCr = false;           // a CR ended the previous block: an LF next belongs to it
    bool lineOpen = false;          // the current line has begun (has bytes)
    std::size_t got;
    while ((got = std::fread(block.data(), 1, block.size(), file.get())) > 0) {
        const char* p = block.data();
        const char* end = p + got;
        if (afterCr && *p == '\n') ++p;
        afterCr = false;
        while (p < end) {
            const char* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
            const char* limit = lf ? lf : end;
            const char* cr = static_cast<const char*>(std::memchr(p, '\r', static_cast<std::size_t>(limit - p)));
            const char* brk = cr ? cr : lf;
            if (line == number) bytes.append(p, brk ? brk : end);
            if (!brk) {
                lineOpen = true;
                break;
            }
            if (line == number) {
                result.found = true;
                result.text = Windows1252ToUtf8(bytes);
                result.linesRead = line;
                return result;
            }
            ++line;
            lineOpen = false;
            p = brk + 1;
            if (*brk == '\r') {
                if (p < end && *p == '\n') ++p;
                else if (p == end) afterCr = true;
            }
        }
    }
    if (std::ferror(file.get())) throw FileError(errno ? errno : EIO, path);
    // A last line without a line end still counts.
    if (lineOpen && line == number) {
        result.found = true;
        result.text = Windows1252ToUtf8(bytes);
    }
    result.linesRead = lineOpen ? line : line - 1;
    return result;
}

}  // namespace kavrin
