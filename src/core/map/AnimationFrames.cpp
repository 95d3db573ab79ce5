#include "map/AnimationFrames.h"

#include "text/Errors.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace kavrin {

std::string FrameFileName(double t)
{
    char text[400];
    std::snprintf(text, sizeof text, "%.0f", std::trunc(t) == 0 ? 0.0 : std::trunc(t));
    return std::string(text) + ".bmp";
}

int SliderInterval(int value)
{
    return std::clamp((100 - value) * 5000 / 100, 100, 5000);
}

std::optional<std::uint64_t> AvailableMemory(const std::string& meminfo)
{
    std::istringstream lines(meminfo);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::string name, unit;
        std::uint64_t amount = 0;
        if (!(fields >> name >> amount) || name != "MemAvailable:") continue;
        fields >> unit;
        return unit == "kB" ? amount * 1024 : amount;
    }
    return std::nullopt;
}

void MakeFrameFolder(const std::string& folder)
{
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) throw FileError(error.value(), folder);
}

std::optional<std::uint64_t> SystemAvailableMemory()
{
    std::ifstream meminfo("/proc/meminfo");
    if (!meminfo) return std::nullopt;
    const std::string text((std::istreambuf_iterator<char>(meminfo)), std::istreambuf_iterator<char>());
    return AvailableMemory(text);
}

}  // namespace kavrin
