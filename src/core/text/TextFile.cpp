#include "text/TextFile.h"

#include "text/Errors.h"
#include "text/FileBeside.h"
#include "text/RegularFile.h"
#include "text/Windows1252.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

namespace kavrin {

namespace {

// Large enough that a time file of a run takes a few dozen writes, small
// enough that a fresh buffer costs few first-touch page faults.
constexpr std::size_t kFlushSize = 256 << 10;

// Bytes of a text file: everything but the control characters other than
// tab, line feed, vertical tab, form feed and carriage return.
bool isTextByte(unsigned char byte)
{
    return byte >= 0x20 || (byte >= 0x09 && byte <= 0x0D);
}

std::string hexByte(unsigned char byte)
{
    static const char kDigits[] = "0123456789ABCDEF";
    return std::string("0x") + kDigits[byte >> 4] + kDigits[byte & 0xF];
}

}  // namespace

TextFileReader::TextFileReader(const std::string& path) : path_(path)
{
    const int fd = OpenRegularFile(path);
    file_ = ::fdopen(fd, "rb");
    if (!file_) {
        const int code = errno;
        ::close(fd);
        throw FileError(code, path);
    }
    try {
        fetch();
    } catch (...) {
        std::fclose(file_);
        file_ = nullptr;
        throw;
    }
}

TextFileReader::~TextFileReader()
{
    if (file_) std::fclose(file_);
}

int TextFileReader::nextByte()
{
    const int byte = getc_unlocked(file_);
    if (byte == EOF && std::ferror(file_)) throw FileError(errno ? errno : EIO, path_);
    return byte;
}

void TextFileReader::fetch()
{
    hasNext_ = false;
    if (!file_) return;
    std::string bytes;
    const int lineNumber = linesRead_ + 1;
    int byte;
    while ((byte = nextByte()) != EOF && byte != '\n' && byte != '\r') {
        if (!isTextByte(static_cast<unsigned char>(byte)))
            throw FileFormatError(path_, lineNumber,
                                  "holds the byte " + hexByte(static_cast<unsigned char>(byte)) +
                                      ", which no text file has: this is not a text file.");
        if (bytes.size() == kMaximumLineLength)
            throw FileFormatError(path_, lineNumber,
                                  "is longer than " + std::to_string(kMaximumLineLength) +
                                      " characters: this is not a file of the program.");
        bytes.push_back(static_cast<char>(byte));
    }
    if (byte == '\r') {
        const int following = nextByte();
        if (following != '\n' && following != EOF) std::ungetc(following, file_);
    }
    if (byte == EOF) {
        std::fclose(file_);
        file_ = nullptr;
        if (bytes.empty()) return;
    }
    next_ = Windows1252ToUtf8(bytes);
    hasNext_ = true;
}

std::string TextFileReader::readLine()
{
    if (!hasNext_) return std::string();
    std::string line = std::move(next_);
    ++linesRead_;
    fetch();
    return line;
}

TextFileWriter::TextFileWriter(const std::string& path, Mode mode) : path_(path), mode_(mode)
{
    if (mode == Mode::Stream) {
        written_ = path;
        file_ = std::fopen(path.c_str(), "wb");
        if (!file_) throw FileError(errno, path);
    } else {
        // A folder at the path is refused before anything is created beside it.
        struct stat info {};
        if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) throw FileError(EISDIR, path);
        const std::string target = SaveTargetOf(path);
        file_ = CreateTemporaryBeside(target, written_, target);
        KeepModeOf(target, ::fileno(file_));
    }
}

TextFileWriter::~TextFileWriter()
{
    if (!file_) return;
    if (mode_ == Mode::Replace) {
        // Reached without close(): the save did not finish, the old file stays.
        discard();
        return;
    }
    // A run that failed part-way keeps what it wrote, as far as it goes.
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
    // Reserved at the first text: a time file, written in pieces, never needs it.
    if (buffer_.capacity() < kFlushSize) buffer_.reserve(kFlushSize + 4096);
    buffer_ += bytes;
    if (buffer_.size() >= kFlushSize) flush();
}

void TextFileWriter::writePieces(const std::vector<std::string_view>& pieces)
{
    flush();
    errno = 0;
    if (std::fflush(file_) != 0) throw FileError(errno ? errno : EIO, path_);
    const int descriptor = ::fileno(file_);
    std::vector<iovec> parts;
    parts.reserve(pieces.size());
    for (std::string_view piece : pieces)
        if (!piece.empty()) parts.push_back({const_cast<char*>(piece.data()), piece.size()});
    std::size_t next = 0;
    while (next < parts.size()) {
        const int count = static_cast<int>(std::min<std::size_t>(parts.size() - next, IOV_MAX));
        const ssize_t written = ::writev(descriptor, parts.data() + next, count);
        if (written < 0) {
            if (errno == EINTR) continue;
            throw FileError(errno, path_);
        }
        // A short write leaves the rest of the pieces for the next call.
        auto left = static_cast<std::size_t>(written);
        while (next < parts.size() && left >= parts[next].iov_len) left -= parts[next++].iov_len;
        if (left > 0) {
            parts[next].iov_base = static_cast<char*>(parts[next].iov_base) + left;
            parts[next].iov_len -= left;
        }
    }
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

void TextFileWriter::discard()
{
    std::fclose(file_);
    file_ = nullptr;
    if (mode_ == Mode::Replace) ::unlink(written_.c_str());
}

void TextFileWriter::close()
{
    if (!file_) return;
    try {
        flush();
        errno = 0;
        if (std::fflush(file_) != 0) throw FileError(errno ? errno : EIO, path_);
        // Only a file that replaces another needs to be on the disk before the
        // rename: a crash must not leave an empty file where the old one was.
        if (mode_ == Mode::Replace && FileExists(SaveTargetOf(path_)) && ::fsync(::fileno(file_)) != 0)
            throw FileError(errno, path_);
    } catch (...) {
        discard();
        throw;
    }
    std::FILE* file = file_;
    file_ = nullptr;
    if (std::fclose(file) != 0) {
        const int code = errno ? errno : EIO;
        if (mode_ == Mode::Replace) ::unlink(written_.c_str());
        throw FileError(code, path_);
    }
    if (mode_ == Mode::Replace && ::rename(written_.c_str(), SaveTargetOf(path_).c_str()) != 0) {
        const int code = errno;
        ::unlink(written_.c_str());
        throw FileError(code, path_);
    }
}

bool FileExists(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace kavrin
