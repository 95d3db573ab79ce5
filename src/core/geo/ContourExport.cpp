#include "geo/ContourExport.h"

#include "geo/GdalSession.h"
#include "geo/GeoGrid.h"
#include "geo/GeoOutput.h"
#include "geo/VectorLayer.h"
#include "map/MapColours.h"
#include "model/GridOnSite.h"
#include "text/Errors.h"
#include "text/NumberText.h"

#include <gdal_alg.h>
#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <algorithm>
#include <cmath>

namespace kavrin {

std::vector<double> ContourLevels(const std::vector<double>& given, const ModelState& model)
{
    std::vector<double> levels = given;
    if (levels.empty()) {
        const auto map = MapLevels(model.C0);
        levels.assign(map.begin(), map.end());
    }
    for (double level : levels)
        if (!(std::isfinite(level) && level > 0))
            throw CheckError("A contour level must be a number greater than zero, not " + FormatGeneral(level, '.') +
                             "; nothing was written.");
    std::sort(levels.begin(), levels.end());
    levels.erase(std::unique(levels.begin(), levels.end()), levels.end());
    return levels;
}

void WriteContours(const ContourRequest& request)
{
    GdalSession gdal;
    const std::vector<double> levels = ContourLevels(request.levels, request.model);
    const SitePlacement placement = request.placement.value_or(LocalPlacement());
    const SpatialReferencePointer reference = SpatialReferenceOf(placement.crs);
    GDALDriver* driver = GdalDriver(VectorDriverName(request.path));
    GeoOutput output(request.path, request.read, request.resultsFolder);
    {
        const GdalDatasetPointer grid = MemoryGrid(request.model, request.grid, placement, reference.get());
        const OGRwkbGeometryType geometry = request.filled ? wkbMultiPolygon : wkbLineString;
        const std::vector<LayerField> fields = request.filled ? std::vector<LayerField>{{"level_min"}, {"level_max"}, {"time"}}
                                                              : std::vector<LayerField>{{"level"}, {"time"}};
        const std::string name = request.filled ? "levels" : "contours";
        // GDAL draws into memory; the file then takes each feature with its time.
        VectorLayer drawn(GdalDriver("Memory"), "", name, reference.get(), geometry, fields);
        std::string fixed = "FIXED_LEVELS=";
        for (std::size_t i = 0; i < levels.size(); ++i) {
            if (i != 0) fixed += ',';
            fixed += FormatGeneral(levels[i], '.');
        }
        std::vector<std::string> words = {fixed, "NODATA=" + FormatGeneral(kGeoNoData, '.')};
        if (request.filled) {
            words.insert(words.end(), {"POLYGONIZE=YES", "ELEV_FIELD_MIN=0", "ELEV_FIELD_MAX=1"});
        } else {
            words.push_back("ELEV_FIELD=0");
        }
        std::vector<const char*> options;
        for (const std::string& word : words) options.push_back(word.c_str());
        options.push_back(nullptr);
        if (GDALContourGenerateEx(grid->GetRasterBand(1), drawn.layer(), options.data(), nullptr, nullptr) != CE_None)
            ThrowGdalFailure("Drawing the contours");
        VectorLayer layer(driver, output.writing(), name, reference.get(), geometry, fields);
        layer.addCopies(drawn.layer(), static_cast<int>(fields.size()) - 1, request.time, levels.back());
        layer.close();
    }
    output.commit();
}

}  // namespace kavrin
