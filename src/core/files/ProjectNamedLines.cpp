#include "files/ProjectNamedLines.h"

#include "text/Errors.h"
#include "text/TextFile.h"
#include "text/Windows1252.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <stdexcept>

namespace kavrin {

namespace {

std::vector<ProjectLineName>& knownNames()
{
    static std::vector<ProjectLineName> names;
    return names;
}

const ProjectLineName* known(const std::string& name)
{
    const auto& names = knownNames();
    const auto found = std::find_if(names.begin(), names.end(), [&](const ProjectLineName& entry) { return entry.name == name; });
    return found == names.end() ? nullptr : &*found;
}

bool wellSpelled(const std::string& name)
{
    return !name.empty() && std::isalpha(static_cast<unsigned char>(name[0])) &&
           std::all_of(name.begin(), name.end(), [](unsigned char c) { return std::isalnum(c) || c == '_'; });
}

// The beginning of a text from the file, in quotes.
std::string quotedExcerpt(const std::string& text)
{
    std::string quoted(1, '"');
    quoted.append(Excerpt(text)).push_back('"');
    return quoted;
}

// Why `value` cannot stand on `name`'s line ("" when it can): a file gives
// back no line end, no control character it refuses and no character outside
// Windows-1252, and the option takes only its own values.
std::string valueProblem(const ProjectLineName& name, const std::string& value)
{
    const bool controls =
        std::any_of(value.begin(), value.end(), [](unsigned char c) { return c < 0x20 && c != '\t' && c != '\v' && c != '\f'; });
    if (controls || HoldsC1Control(value) || !FitsWindows1252(value))
        return "the value of " + name.name + " holds a character a project file cannot hold.";
    if (!name.accepts(value)) return name.name + " takes " + name.takes + ", not " + quotedExcerpt(value) + ".";
    return "";
}

}  // namespace

ProjectLineRegistration::ProjectLineRegistration(ProjectLineName name) : name_(name.name)
{
    if (!wellSpelled(name.name)) throw std::logic_error("\"" + name.name + "\" cannot name a line of a project file");
    if (known(name.name)) throw std::logic_error(name.name + " is registered twice as a line of a project file");
    knownNames().push_back(std::move(name));
}

ProjectLineRegistration::~ProjectLineRegistration()
{
    auto& names = knownNames();
    names.erase(std::remove_if(names.begin(), names.end(), [&](const ProjectLineName& entry) { return entry.name == name_; }),
                names.end());
}

void CheckNamedLines(const NamedLines& lines, const std::string& path)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const NamedLine& line = lines[i];
        const ProjectLineName* name = known(line.name);
        const std::string where = path + " cannot hold ";
        if (!name) throw CheckError(where + quotedExcerpt(line.name) + ", which is no option of a project.");
        for (std::size_t j = 0; j < i; ++j)
            if (lines[j].name == line.name) throw CheckError(where + line.name + " twice.");
        if (const std::string problem = valueProblem(*name, line.value); !problem.empty())
            throw CheckError(where + "this line: " + problem);
    }
}

void WriteNamedLines(TextFileWriter& file, const NamedLines& lines)
{
    for (const NamedLine& line : lines) {
        file.writeRaw("\r\n");
        file.write(line.name + "=" + line.value);
    }
}

NamedLines ReadNamedLines(TextFileReader& file)
{
    NamedLines lines;
    std::vector<int> lineNumbers;
    std::vector<std::pair<std::string, int>> unknown;  // names and lines
    std::optional<FileFormatError> firstProblem;
    const auto problem = [&](int number, const std::string& text) {
        if (!firstProblem) firstProblem.emplace(file.path(), number, text);
    };
    while (!file.atEnd()) {
        const std::string text = file.readLine();
        const int number = file.linesRead();
        if (text.empty()) continue;
        const std::size_t equals = text.find('=');
        const std::string name = text.substr(0, equals);
        if (equals == std::string::npos || !wellSpelled(name)) {
            problem(number, quotedExcerpt(text) + " is not an option of a project (Name=value).");
            continue;
        }
        const ProjectLineName* entry = known(name);
        if (!entry) {
            unknown.emplace_back(name, number);
            continue;
        }
        const std::string value = text.substr(equals + 1);
        const auto earlier = std::find_if(lines.begin(), lines.end(), [&](const NamedLine& line) { return line.name == name; });
        if (earlier != lines.end())
            problem(number, name + " is given twice (first on line " +
                                std::to_string(lineNumbers[static_cast<std::size_t>(earlier - lines.begin())]) + ").");
        else if (const std::string fault = valueProblem(*entry, value); !fault.empty())
            problem(number, fault);
        lines.push_back({name, value});
        lineNumbers.push_back(number);
    }
    if (!unknown.empty()) {
        std::string names;
        for (std::size_t i = 0; i < unknown.size(); ++i)
            names += (i == 0 ? unknown[i].first : ", " + unknown[i].first + " (line " + std::to_string(unknown[i].second) + ")");
        throw FileFormatError(file.path(), unknown[0].second,
                              names + (unknown.size() == 1 ? " is not an option" : " are not options") +
                                  " this version knows; the file was saved by a newer version of KAVRIN.");
    }
    if (firstProblem) throw *firstProblem;
    return lines;
}

}  // namespace kavrin
