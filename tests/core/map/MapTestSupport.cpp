#include "core/map/MapTestSupport.h"

#include "TestSupport.h"
#include "model/ParameterTexts.h"
#include "model/Variaveis.h"
#include "solution/FieldKernel.h"

namespace kavrin::test {

ModelState DesignModel(const std::vector<std::pair<std::string, std::string>>& changes)
{
    ParameterTexts texts = InitialParameterTexts();
    for (const auto& [name, text] : changes) SetControlText(texts, *ControlOfName(name), text, '.');
    ModelState model;
    Variaveis(texts, model, '.');
    return model;
}

ResultGrid GridAtTime(const ModelState& model, double t)
{
    TimeField field;
    ComputeTimeField(t, model, LoadedQuadrature(model.GaussOrder), 2, field);
    ResultGrid grid;
    for (int row = 0; row < field.rows; ++row)
        for (int column = 0; column < field.columns; ++column) grid.set(column + 1, row + 1, field.at(row, column));
    return grid;
}

ResultGrid ZonesGridAtTime(const ModelState& model, double t)
{
    ResultGrid sum;
    std::vector<SourceZone> zones{
        {model.source.firstZoneY, model.source.firstZoneZ, model.SourceWidth, model.SourceHeight, model.C0}};
    zones.insert(zones.end(), model.source.moreZones.begin(), model.source.moreZones.end());
    for (const SourceZone& zone : zones) {
        ModelState alone = model;
        alone.source = {};
        alone.source.firstZoneY = zone.y, alone.source.firstZoneZ = zone.z;
        alone.SourceWidth = zone.width, alone.SourceHeight = zone.height;
        alone.C0 = zone.concentration;
        alone.YMin = zone.y - zone.width / 2, alone.YMax = zone.y + zone.width / 2;
        alone.ZMin = zone.z - zone.height / 2, alone.ZMax = zone.z + zone.height / 2;
        const ResultGrid part = GridAtTime(alone, t);
        for (int i = 1; i <= ResultGrid::kSize; ++i)
            for (int j = 1; j <= ResultGrid::kSize; ++j) sum.set(i, j, sum.at(i, j) + part.at(i, j));
    }
    return sum;
}

int BandOf(double c, double top)
{
    const auto levels = MapLevels(top);
    int band = -1;
    for (int k = 0; k < kLevelCount; ++k)
        if (levels[static_cast<std::size_t>(k)] <= c) band = k;
    return band;
}

int BandShown(Rgb pixel, double top)
{
    if (pixel == kWhite) return -1;
    const auto levels = MapLevels(top);
    for (int k = 0; k < kLevelCount; ++k)
        if (LevelColour(levels, k, top) == pixel) return k;
    return -2;
}

RgbPicture PaintShapes(const MapPicture& picture)
{
    RgbPicture out;
    RgbCanvas canvas = out.canvas();
    for (const MapShape& s : picture.shapes) PaintShape(s, canvas);
    return out;
}

}  // namespace kavrin::test
