// Text files as the program keeps them: Windows-1252 bytes, lines ended by CR LF.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace kavrin {

// Reads a whole text file; lines may end in CR LF, LF or CR. Reading past the
// last line gives empty texts. Opening a missing or unreadable file throws FileError.
class TextFileReader {
public:
    explicit TextFileReader(const std::string& path);

    std::string readLine();  // UTF-8; "" once the file has ended
    bool atEnd() const { return next_ >= lines_.size(); }

private:
    std::vector<std::string> lines_;
    std::size_t next_ = 0;
};

// Creates (or empties) a file and writes it through one buffer. Errors throw FileError.
class TextFileWriter {
public:
    explicit TextFileWriter(const std::string& path);
    ~TextFileWriter();
    TextFileWriter(const TextFileWriter&) = delete;
    TextFileWriter& operator=(const TextFileWriter&) = delete;

    void write(const std::string& utf8Text);  // encoded to Windows-1252
    void writeLine(const std::string& utf8Text) { write(utf8Text); writeRaw("\r\n"); }
    void writeRaw(std::string_view bytes);  // bytes as they are (ASCII number texts)
    void close();                             // flushes; a failure throws

private:
    void flush();

    std::string path_;
    std::FILE* file_ = nullptr;
    std::string buffer_;
};

// Whether a file (not a folder) exists at the path.
bool FileExists(const std::string& path);

}  // namespace kavrin
