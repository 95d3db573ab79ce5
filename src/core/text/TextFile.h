// Text files as the program keeps them: Windows-1252 bytes, lines ended by CR LF.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace kavrin {

// Reads a text file line by line; lines may end in CR LF, LF or CR. Reading
// past the last line gives empty texts. Throws FileError when the file cannot
// be opened or read, or is not a regular file (a folder, a device, a pipe),
// and FileFormatError for a line longer than kMaximumLineLength or for bytes
// no text file holds (NUL and the other control characters but tab, form
// feed, vertical tab and the line ends).
class TextFileReader {
public:
    static constexpr std::size_t kMaximumLineLength = 1 << 20;

    explicit TextFileReader(const std::string& path);
    ~TextFileReader();
    TextFileReader(const TextFileReader&) = delete;
    TextFileReader& operator=(const TextFileReader&) = delete;

    std::string readLine();  // UTF-8; "" once the file has ended
    bool atEnd() const { return !hasNext_; }
    int linesRead() const { return linesRead_; }  // lines handed out so far
    const std::string& path() const { return path_; }

private:
    void fetch();  // reads the next line into next_
    int nextByte();

    std::string path_;
    std::FILE* file_ = nullptr;
    std::string next_;
    bool hasNext_ = false;
    int linesRead_ = 0;
};

// Writes a text file through one buffer. A save (Mode::Replace) goes to a
// temporary file in the same folder that replaces the file at `path` only when
// close() has written and flushed everything: a failed or unfinished save
// leaves the previous file as it was, and the file replaced keeps its
// permissions (a new one gets those the umask allows). A run's files (Mode::Stream) are written
// in place, so what a failed run wrote stays readable. Errors throw FileError
// naming `path`.
class TextFileWriter {
public:
    enum class Mode { Replace, Stream };

    explicit TextFileWriter(const std::string& path, Mode mode = Mode::Replace);
    ~TextFileWriter();
    TextFileWriter(const TextFileWriter&) = delete;
    TextFileWriter& operator=(const TextFileWriter&) = delete;

    void write(const std::string& utf8Text);  // encoded to Windows-1252
    void writeLine(const std::string& utf8Text)
    {
        write(utf8Text);
        writeRaw("\r\n");
    }
    void writeRaw(std::string_view bytes);  // bytes as they are (ASCII number texts)
    // Bytes as they are, in order, written from where they lie rather than
    // through the buffer: the rows of a time, formatted in place.
    void writePieces(const std::vector<std::string_view>& pieces);
    void close();  // flushes (and replaces); a failure throws

private:
    void flush();
    void discard();

    std::string path_;     // where the file ends up
    std::string written_;  // the file being written: path_ or the temporary file
    Mode mode_;
    std::FILE* file_ = nullptr;
    std::string buffer_;
};

// Whether a file (not a folder) exists at the path.
bool FileExists(const std::string& path);

}  // namespace kavrin
