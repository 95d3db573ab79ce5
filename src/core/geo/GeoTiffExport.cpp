#include "geo/GeoTiffExport.h"

#include "geo/GdalSession.h"
#include "geo/GeoGrid.h"
#include "geo/GeoOutput.h"
#include "model/GridOnSite.h"
#include "text/Errors.h"
#include "text/NumberText.h"

#include <gdal_priv.h>
#include <gdal_utils.h>

#include <algorithm>
#include <cmath>

namespace kavrin {

namespace {

const char* const kTiffOptions[] = {"COMPRESS=DEFLATE", "PREDICTOR=3", nullptr};

std::string number(double value)
{
    return FormatGeneral(value, '.');
}

void warpNorthUp(GDALDataset* source, const NorthUpGrid& target, double cell, const std::string& path)
{
    const std::vector<std::string> words = {"-of",
                                            "GTiff",
                                            "-ot",
                                            "Float32",
                                            "-r",
                                            "bilinear",
                                            "-srcnodata",
                                            number(kGeoNoData),
                                            "-dstnodata",
                                            number(kGeoNoData),
                                            "-te",
                                            number(target.west),
                                            number(target.north - target.rows * cell),
                                            number(target.west + target.columns * cell),
                                            number(target.north),
                                            "-ts",
                                            std::to_string(target.columns),
                                            std::to_string(target.rows),
                                            "-co",
                                            "COMPRESS=DEFLATE",
                                            "-co",
                                            "PREDICTOR=3"};
    std::vector<char*> argv;
    for (const std::string& word : words) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    GDALWarpAppOptions* options = GDALWarpAppOptionsNew(argv.data(), nullptr);
    if (!options) ThrowGdalFailure("Preparing the north-up warp");
    GDALDatasetH sources[] = {GDALDataset::ToHandle(source)};
    int usageError = 0;
    GDALDatasetH warped = GDALWarp(path.c_str(), nullptr, 1, sources, options, &usageError);
    GDALWarpAppOptionsFree(options);
    if (!warped) ThrowGdalFailure("The north-up warp");
    CloseWritten(GDALDataset::FromHandle(warped), "Writing the north-up GeoTIFF");
}

}  // namespace

NorthUpGrid NorthUpGridOf(const ModelState& model, const SitePlacement& placement, double cell)
{
    if (!(std::isfinite(cell) && cell > 0))
        throw CheckError("The north-up cell size must be a number greater than zero, not " + number(cell) +
                         "; nothing was written.");
    const GridSize size = GridSizeOf(model);
    const std::array<double, 6> t = NodeRasterTransform(model, size.rows, placement);
    double west = t[0], east = t[0], south = t[3], north = t[3];
    for (const auto& [c, r] : {std::pair{size.columns, 0}, std::pair{0, size.rows}, std::pair{size.columns, size.rows}}) {
        const double e = t[0] + c * t[1] + r * t[2], n = t[3] + c * t[4] + r * t[5];
        west = std::min(west, e), east = std::max(east, e), south = std::min(south, n), north = std::max(north, n);
    }
    // Whole cells from the origin's cell outwards, so the origin is a cell centre.
    const double cellsWest = std::ceil((placement.easting - west) / cell - 0.5);
    const double cellsNorth = std::ceil((north - placement.northing) / cell - 0.5);
    NorthUpGrid grid;
    grid.west = placement.easting - (cellsWest + 0.5) * cell;
    grid.north = placement.northing + (cellsNorth + 0.5) * cell;
    const double columns = std::ceil((east - grid.west) / cell), rows = std::ceil((grid.north - south) / cell);
    if (!(columns <= kLargestNorthUpCells && rows <= kLargestNorthUpCells))
        throw CheckError("A north-up cell of " + number(cell) + " m gives " + number(columns) + " × " + number(rows) +
                         " cells, more than 10000 × 10000; nothing was written.");
    grid.columns = std::max(1, static_cast<int>(columns));
    grid.rows = std::max(1, static_cast<int>(rows));
    return grid;
}

void WriteGeoTiff(const GeoTiffRequest& request)
{
    GdalSession gdal;
    const SitePlacement placement = request.placement.value_or(LocalPlacement());
    const SpatialReferencePointer reference = SpatialReferenceOf(placement.crs);
    std::optional<NorthUpGrid> northUp;
    if (request.northUpCell) northUp = NorthUpGridOf(request.model, placement, *request.northUpCell);
    GDALDriver* tiff = GdalDriver("GTiff");
    GeoOutput output(request.path, request.read, request.resultsFolder);
    {
        const GdalDatasetPointer grid = MemoryGrid(request.model, request.grid, placement, reference.get());
        if (northUp) {
            warpNorthUp(grid.get(), *northUp, *request.northUpCell, output.writing());
        } else {
            GdalDatasetPointer written(tiff->CreateCopy(output.writing().c_str(), grid.get(), FALSE,
                                                        const_cast<char**>(kTiffOptions), nullptr, nullptr));
            if (!written) ThrowGdalFailure("Writing the GeoTIFF");
            CloseWritten(written.release(), "Writing the GeoTIFF");
        }
    }
    output.commit();
}

}  // namespace kavrin
