#include "TestSupport.h"

#include "text/Errors.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

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

std::string FailureText(const std::function<void()>& action)
{
    try {
        action();
    } catch (const KavrinError& e) {
        return e.what();
    }
    return "";
}

}  // namespace kavrin::test
