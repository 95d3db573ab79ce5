#include "text/TextFile.h"

#include "text/Errors.h"
#include "text/Windows1252.h"

#include <cerrno>
#include <sys/stat.h>

namespace kavrin {

namespace {
// Large enough that a time file of a run takes a few dozen writes, small
// enough that a fresh buffer costs few first-touch page faults.
constexpr std::size_t kFlushSize = 256 << 10;
}

TextFileReader::TextFileReader(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) throw FileError(errno, path);
    std::string bytes;
    char chunk[1 << 16];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, got);
    const bool failed = std::ferror(file);
    const int code = errno;
    std::fclose(file);
    if (failed) throw FileError(code ? code : EIO, path);

    std::size_t start = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n') continue;
        lines_.push_back(Windows1252ToUtf8(bytes.substr(start, i - start)));
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < bytes.size()) lines_.push_back(Windows1252ToUtf8(bytes.substr(start)));
}

std::string TextFileReader::readLine()
{
    return atEnd() ? std::string() : lines_[next_++];
}

TextFileWriter::TextFileWriter(const std::string& path) : path_(path)
{
    file_ = std::fopen(path.c_str(), "wb");
    if (!file_) throw FileError(errno, path);
    buffer_.reserve(kFlushSize + 4096);
}

TextFileWriter::~TextFileWriter()
{
    // Reached without close() only when a command fails part-way: keep what
    // was written so far on disk, as far as it goes.
    if (!file_) return;
    try {
        flush();
    } catch (const FileError&) {
    }
    std::fclose(file_);
}

void TextFileWriter::write(const std::string& utf8Text)
{
    writeRaw(Utf8ToWindows1252(utf8Text));
}

void TextFileWriter::writeRaw(std::string_view bytes)
{
    buffer_ += bytes;
    if (buffer_.size() >= kFlushSize) flush();
}

void TextFileWriter::flush()
{
    if (buffer_.empty()) return;
    errno = 0;
    if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) {
        const int code = errno ? errno : EIO;
        buffer_.clear();
        throw FileError(code, path_);
    }
    buffer_.clear();
}

void TextFileWriter::close()
{
    if (!file_) return;
    flush();
    std::FILE* file = file_;
    file_ = nullptr;
    if (std::fclose(file) != 0) throw FileError(errno ? errno : EIO, path_);
}

bool FileExists(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace kavrin
