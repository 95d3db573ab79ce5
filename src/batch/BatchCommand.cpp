#include "BatchCommand.h"

#include "text/DecimalSeparator.h"
#include "workspace/ExecutableFolder.h"
#include "workspace/Workspace.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace kavrin {

BatchEnvironment ReadBatchEnvironment()
{
    BatchEnvironment environment;
    environment.root = WorkspaceRoot();
    environment.valoresPath = ExecutableFolder() + "valores.txt";
    environment.separator = SystemDecimalSeparator();
    if (::isatty(STDERR_FILENO)) environment.progress = &std::cerr;
    return environment;
}

int HandOverTo(const std::string& program, char** argv)
{
    const std::string path = ExecutableFolder() + program;
    std::cout.flush();
    ::execv(path.c_str(), argv);
    std::cerr << "kavrin-batch: cannot start " << path << ": " << std::strerror(errno) << std::endl;
    return 1;
}

}  // namespace kavrin
