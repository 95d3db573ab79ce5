#include "text/TextLine.h"

#include "text/Errors.h"
#include "text/RegularFile.h"
#include "text/TextFile.h"
#include "text/Windows1252.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <unistd.h>

namespace kavrin {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// The file's descriptor as a stream; the descriptor is closed either way.
std::FILE* streamOf(int fd, const std::string& path)
{
    if (std::FILE* file = ::fdopen(fd, "rb")) return file;
    const int code = errno;
    ::close(fd);
    throw FileError(code, path);
}

// A line that never ends (a file of zeros, a foreign file) is refused once it
// passes the length no file of the program reaches.
void checkLength(std::size_t length, long long line, const std::string& path)
{
    if (length > TextFileReader::kMaximumLineLength)
        throw FileFormatError(path, static_cast<int>(line),
                              "is longer than " + std::to_string(TextFileReader::kMaximumLineLength) +
                                  " characters: this is not a file of the program.");
}

}  // namespace

TextLine ReadTextLine(const std::string& path, long long number, LinesCounted counted, long long countLimit)
{
    std::unique_ptr<std::FILE, FileCloser> file(streamOf(OpenRegularFile(path), path));
    constexpr std::size_t kBlock = 1 << 18;
    const std::unique_ptr<char[]> block(new char[kBlock]);  // filled by each read, never cleared
    TextLine result;
    std::string bytes;       // the wanted line so far
    long long line = 1;      // the line the next byte belongs to
    bool afterCr = false;    // a CR ended the previous block: an LF next belongs to it
    bool lineOpen = false;   // the current line has begun (has bytes)
    std::size_t length = 0;  // bytes of the current line so far
    std::size_t got;
    while ((got = std::fread(block.get(), 1, kBlock, file.get())) > 0) {
        const char* p = block.get();
        const char* end = p + got;
        if (afterCr && *p == '\n') ++p;
        afterCr = false;
        while (p < end) {
            const char* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
            const char* limit = lf ? lf : end;
            const char* cr = static_cast<const char*>(std::memchr(p, '\r', static_cast<std::size_t>(limit - p)));
            const char* brk = cr ? cr : lf;
            length += static_cast<std::size_t>((brk ? brk : end) - p);
            checkLength(length, line, path);
            if (line == number) bytes.append(p, brk ? brk : end);
            if (!brk) {
                lineOpen = true;
                break;
            }
            if (line == number) {
                result.found = true;
                result.text = Windows1252ToUtf8(bytes);
                result.linesRead = line;
                if (counted == LinesCounted::UpToTheLine) return result;
            }
            if (result.found && line > countLimit) {
                result.linesRead = line;  // more lines than the limit: no need to count them all
                return result;
            }
            ++line;
            lineOpen = false;
            length = 0;
            p = brk + 1;
            if (*brk == '\r') {
                if (p < end && *p == '\n')
                    ++p;
                else if (p == end)
                    afterCr = true;
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
