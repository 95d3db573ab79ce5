#include "FuzzSupport.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace kavrin::fuzz {

void require(bool condition, const char* what)
{
    if (condition) return;
    std::fprintf(stderr, "fuzz finding: %s\n", what);
    std::abort();
}

const std::string& scratchFolder()
{
    static const std::string folder = [] {
        char pattern[] = "/tmp/kavrin-fuzz-XXXXXX";
        require(::mkdtemp(pattern) != nullptr, "no scratch folder");
        return std::string(pattern) + "/";
    }();
    return folder;
}

std::string scratchFile(const std::string& name, const std::string& bytes)
{
    const std::string path = scratchFolder() + name;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    require(file != nullptr, "scratch file cannot be written");
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    return path;
}

}  // namespace kavrin::fuzz
