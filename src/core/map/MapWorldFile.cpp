#include "map/MapWorldFile.h"

#include "text/NumberText.h"
#include "text/SafeSave.h"

#include <filesystem>

namespace kavrin {

std::array<double, 6> MapWorldNumbers(const ModelState& model, const MapGeometry& geometry, const SitePlacement& placement)
{
    const double perPixelX = geometry.XRange / geometry.PlotWidth, perPixelY = geometry.YRange / geometry.PlotHeight;
    const AzimuthTurn turn = TurnOf(placement.azimuth);
    const SitePoint corner = ToSite(placement, model.X0 - kPlotLeft * perPixelX, model.Y1 + geometry.PlotTop * perPixelY);
    return {perPixelX * turn.sine,  perPixelX * turn.cosine, perPixelY * turn.cosine,
            -perPixelY * turn.sine, corner.easting,          corner.northing};
}

std::string WorldFilePath(const std::string& picturePath)
{
    std::filesystem::path path(picturePath);
    const std::string extension = path.extension().string();
    if (extension.size() < 3) return path.replace_extension(".wld").string();
    return path.replace_extension(extension.substr(0, 2) + extension.back() + "w").string();
}

void WriteMapWorldFile(const std::string& path, const std::array<double, 6>& numbers)
{
    std::vector<std::string> lines;
    for (double number : numbers) lines.push_back(FormatGeneral(number, '.'));
    SaveTextLines(path, lines);
}

}  // namespace kavrin
