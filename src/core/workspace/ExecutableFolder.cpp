#include "workspace/ExecutableFolder.h"

#include <climits>
#include <unistd.h>

namespace kavrin {

std::string ExecutableFolder()
{
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0) return "./";
    const std::string path(buffer, static_cast<std::size_t>(length));
    return path.substr(0, path.rfind('/') + 1);
}

}  // namespace kavrin
