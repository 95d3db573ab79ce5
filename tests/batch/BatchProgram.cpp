#include "BatchProgram.h"

#include <cstdlib>
#include <sys/wait.h>

namespace kavrin::test {

std::string BatchResult::lastLine() const
{
    std::string trimmed = out.substr(0, out.find_last_not_of('\n') + 1);
    return trimmed.substr(trimmed.rfind('\n') + 1);
}

std::string ShellQuoted(const std::string& word)
{
    std::string result = "'";
    for (char c : word) result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return result + "'";
}

BatchResult RunBatch(const TempFolder& folder, const std::vector<std::string>& args, const char* separator)
{
    std::string command = std::string("KAVRIN_ROOT=") + ShellQuoted(folder.path() + "KAVRIN") +
                          " KAVRIN_DECIMAL_SEPARATOR=" + separator + " " + KAVRIN_BIN_DIR + "kavrin-batch";
    for (const std::string& arg : args) command.append(" ").append(ShellQuoted(arg));
    command += " >" + folder.path() + "out.txt 2>" + folder.path() + "err.txt </dev/null";
    const int status = std::system(command.c_str());
    return {WEXITSTATUS(status), ReadBytes(folder.path() + "out.txt"), ReadBytes(folder.path() + "err.txt")};
}

}  // namespace kavrin::test
