// What a project file holds after its 25 lines: one line "Name=value" for each
// option that a feature stores with a project. A project with none of them is
// the 25-line file, byte for byte. The names a build knows are registered by
// the features that own them; a name that no feature of this build registered
// belongs to a newer build, and such a file is refused rather than opened
// without the options it holds.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace kavrin {

class TextFileReader;
class TextFileWriter;

struct NamedLine {
    std::string name;
    std::string value;
    bool operator==(const NamedLine&) const = default;
};
using NamedLines = std::vector<NamedLine>;

// A name that a feature stores: what its values are, in words for messages
// ("a whole number from 1 to 10"), and the test of a value.
struct ProjectLineName {
    std::string name;  // letters, digits and '_', starting with a letter
    std::string takes;
    std::function<bool(const std::string& value)> accepts;
};

// Makes a name known for as long as the object lives: a feature keeps one as a
// static object beside its code, a test for the length of the test. Throws
// std::logic_error for a name already known or not spelled as above.
class ProjectLineRegistration {
public:
    explicit ProjectLineRegistration(ProjectLineName name);
    ~ProjectLineRegistration();
    ProjectLineRegistration(const ProjectLineRegistration&) = delete;
    ProjectLineRegistration& operator=(const ProjectLineRegistration&) = delete;

private:
    std::string name_;
};

// Refuses, before anything is written, lines that the file at `path` could
// not give back: a name that is not known or is given twice, a value its name
// does not accept, a value with a control character or a character that
// Windows-1252 lacks. Throws CheckError.
void CheckNamedLines(const NamedLines& lines, const std::string& path);

// Each line after a line end: the file's last line keeps having none.
void WriteNamedLines(TextFileWriter& file, const NamedLines& lines);

// The rest of `file`, in the order it holds them; empty lines are passed over.
// Throws FileFormatError naming the line: for names this build does not know
// (all of them, as a newer build's file), otherwise for the first line that
// is not Name=value, a name given twice or a value its name does not accept.
NamedLines ReadNamedLines(TextFileReader& file);

}  // namespace kavrin
