// The map from fuzzed model fields and grid values: the drawing, its 24-bit
// bitmap and a GIF of it.
#include "FuzzSupport.h"
#include "FuzzTargets.h"

#include "map/AnimatedGif.h"
#include "map/BitmapFile.h"
#include "map/MapPicture.h"
#include "map/RgbCanvas.h"
#include "model/ParameterTexts.h"
#include "model/RunChecks.h"
#include "model/Variaveis.h"
#include "text/Errors.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

namespace kavrin::fuzz {

namespace {

// The grid from the values after the model: one value per 8 bytes, laid over
// the grid by the pattern the first byte names.
ResultGrid gridOf(const std::string& bytes)
{
    ResultGrid grid;
    if (bytes.size() < 9) return grid;
    const unsigned mode = static_cast<unsigned char>(bytes[0]) % 5;
    std::vector<double> values((bytes.size() - 1) / 8);
    std::memcpy(values.data(), bytes.data() + 1, values.size() * sizeof(double));
    const std::size_t n = values.size();
    std::uint64_t noise = 0;
    std::memcpy(&noise, &values[0], sizeof noise);
    for (int j = 1; j <= 451; ++j) {
        for (int i = 1; i <= 451; ++i) {
            const auto at = [&](std::size_t k) { return values[k % n]; };
            double v = 0;
            switch (mode) {
            case 0:
                v = at(static_cast<std::size_t>((j - 1) * 451 + i - 1));
                break;
            case 1:
                v = at(static_cast<std::size_t>(i - 1));
                break;
            case 2:
                v = at(static_cast<std::size_t>(j - 1));
                break;
            case 3:
                v = at(static_cast<std::size_t>(i + j));
                break;
            default:  // noise scaled by the second value
                noise = noise * 6364136223846793005ull + 1442695040888963407ull;
                v = at(1) * static_cast<double>(noise >> 11) / 9007199254740992.0;
            }
            grid.set(i, j, v);
        }
    }
    return grid;
}

}  // namespace

// Input: a flags byte (bit 0: time "0"; bit 1: comma separator; bit 3: source
// zones off the axis, drawn over the whole Y range), the length of
// the model text, the text ("Name=value" lines as kavrin-batch --set takes
// them), then the grid: a pattern byte and 8-byte values.
void Map(const std::string& input)
{
    if (input.size() < 2) return;
    const unsigned flags = static_cast<unsigned char>(input[0]);
    const std::size_t length = std::min<std::size_t>(static_cast<unsigned char>(input[1]), input.size() - 2);
    const char separator = flags & 2 ? ',' : '.';
    ParameterTexts texts = InitialParameterTexts();
    ArrumaCampos(texts, separator);
    std::istringstream lines(input.substr(2, length));
    for (std::string line; std::getline(lines, line);) {
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        const std::optional<int> control = ControlOfName(line.substr(0, equals));
        if (control) SetControlText(texts, *control, line.substr(equals + 1), separator);
    }
    ModelState model;
    try {
        Variaveis(texts, model, separator);
    } catch (const KavrinError&) {
        return;
    }
    if (flags & 8) {
        // The first zone a quarter of the Y range up, a narrower one of twice C0 as far down.
        model.source.firstZoneY = (model.Y1 - model.Y0) / 4;
        model.source.moreZones = {{-model.source.firstZoneY, 0, model.SourceWidth / 2, model.SourceHeight, 2 * model.C0}};
    }
    // A map is drawn from the results of a run, whose grid passed its checks.
    // Grids of more than 40 × 40 cells go the same way cell by cell, only
    // slower (the benchmark draws the full size): under the sanitizers a full
    // noisy grid takes longer than a fuzz input may.
    if (CheckGrid(model)) return;
    try {
        const MapGeometry geometry = DefineMapGeometry(model);
        if (geometry.NX > 40 || geometry.HalfRows > (geometry.WholeYRange ? 41 : 20)) return;
    } catch (const KavrinError&) {
    }
    const ResultGrid grid = gridOf(input.substr(2 + length));

    MapPicture picture;
    try {
        picture = DesenhaMapa({model, grid, flags & 1 ? "0" : "1000", true, (flags & 4) != 0, separator});
    } catch (const KavrinError&) {
        return;
    }
    std::vector<std::uint8_t> pixels(kMapWidth * kMapHeight * 3, 0);
    RgbCanvas canvas(pixels.data(), kMapWidth, kMapHeight, kMapWidth * 3);
    for (const MapShape& shape : picture.shapes) {
        if (shape.kind == MapShape::Kind::Polygon)
            for (const PixelPoint& p : shape.points)
                require(std::abs(p.x) < 1000000000 && std::abs(p.y) < 1000000000, "a vertex beyond any picture");
        PaintShape(shape, canvas);
    }
    const std::string bitmap = EncodeBitmap(pixels.data(), kMapWidth, kMapHeight, kMapWidth * 3);
    require(bitmap.size() == 54 + static_cast<std::size_t>(kMapWidth) * kMapHeight * 3, "a bitmap of the wrong size");
    const std::string& folder = scratchFolder();
    WriteBitmapFile(folder + "map.bmp", pixels.data(), kMapWidth, kMapHeight, kMapWidth * 3);
    // The map's colours always fit one palette.
    try {
        WriteAnimatedGif(
            folder + "map.gif",
            {{pixels.data(), kMapWidth, kMapHeight, kMapWidth * 3}, {pixels.data(), kMapWidth, kMapHeight, kMapWidth * 3}}, 100);
    } catch (const CheckError&) {
        require(false, "the map's colours do not fit one GIF palette");
    }
}

}  // namespace kavrin::fuzz
