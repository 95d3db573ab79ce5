#include "TestSupport.h"

#include "model/ParameterTexts.h"
#include "model/Variaveis.h"
#include "text/Errors.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace kavrin::test {

TempFolder::TempFolder()
{
    char pattern[] = "/tmp/kavrin-test-XXXXXX";
    if (!::mkdtemp(pattern)) throw std::runtime_error("cannot create a temporary folder");
    path_ = std::string(pattern) + "/";
}

TempFolder::~TempFolder()
{
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

std::vector<std::string> CrLfLines(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(bytes.substr(start, end - start));
    if (start < bytes.size()) lines.push_back(bytes.substr(start));
    return lines;
}

std::string ValoresPath()
{
    return std::string(KAVRIN_SOURCE_DATA_DIR) + "valores.txt";
}

QuadratureState LoadedQuadrature(int gaussOrder)
{
    QuadratureState quadrature;
    LoadGaussOrder(quadrature, gaussOrder, ValoresPath(), '.');
    return quadrature;
}

ModelState InitialModel()
{
    ModelState m;
    Variaveis(InitialParameterTexts(), m, '.');
    return m;
}

std::string FailureText(const std::function<void()>& action)
{
    try {
        action();
    } catch (const KavrinError& e) {
        return e.what();
    }
    return "";
}

std::string FailureTextWithin(unsigned seconds, const std::function<void()>& action)
{
    int channel[2];
    if (::pipe(channel) != 0) return "no pipe to the child";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        ::alarm(seconds);
        std::string text;
        try {
            text = FailureText(action);
        } catch (const std::exception& e) {
            text = std::string("unexpected failure: ") + e.what();
        }
        for (std::size_t sent = 0; sent < text.size();) {
            const ssize_t n = ::write(channel[1], text.data() + sent, text.size() - sent);
            if (n <= 0) break;
            sent += static_cast<std::size_t>(n);
        }
        ::_exit(0);
    }
    ::close(channel[1]);
    std::string text;
    char block[4096];
    for (ssize_t n; (n = ::read(channel[0], block, sizeof block)) != 0;) {
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) break;
        text.append(block, static_cast<std::size_t>(n));
    }
    ::close(channel[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {}
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM) return kStillWaiting;
    return text;
}

}  // namespace kavrin::test
