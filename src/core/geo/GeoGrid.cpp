#include "geo/GeoGrid.h"

#include "model/GridOnSite.h"
#include "text/Errors.h"
#include "workspace/ResultShape.h"

#include <gdal_priv.h>
#include <ogr_spatialref.h>

#include <cmath>
#include <vector>

namespace kavrin {

GridSize GridSizeOf(const ModelState& model)
{
    const ResultShape shape = ResultShapeOf(model, '.');
    if (!(shape.values >= 1 && shape.values <= ResultGrid::kSize && shape.rows >= 1 && shape.rows <= ResultGrid::kSize))
        throw CheckError(
            "The project's grid is not one a run writes (at most 450 intervals along X and Y); nothing was written.");
    return {static_cast<int>(shape.values), static_cast<int>(shape.rows)};
}

GdalDatasetPointer MemoryGrid(const ModelState& model, const ResultGrid& grid, const SitePlacement& placement,
                              const OGRSpatialReference* reference)
{
    const GridSize size = GridSizeOf(model);
    GdalDatasetPointer dataset(GdalDriver("MEM")->Create("", size.columns, size.rows, 1, GDT_Float32, nullptr));
    if (!dataset) ThrowGdalFailure("Making the grid in memory");
    std::array<double, 6> transform = NodeRasterTransform(model, size.rows, placement);
    dataset->SetGeoTransform(transform.data());
    if (reference) dataset->SetSpatialRef(reference);
    std::vector<float> values(static_cast<std::size_t>(size.columns) * static_cast<std::size_t>(size.rows));
    for (int row = 0; row < size.rows; ++row)
        for (int column = 0; column < size.columns; ++column)
            values[static_cast<std::size_t>(row) * static_cast<std::size_t>(size.columns) + static_cast<std::size_t>(column)] =
                static_cast<float>(grid.at(column + 1, size.rows - row));
    GDALRasterBand* band = dataset->GetRasterBand(1);
    band->SetNoDataValue(kGeoNoData);
    if (band->RasterIO(GF_Write, 0, 0, size.columns, size.rows, values.data(), size.columns, size.rows, GDT_Float32, 0, 0,
                       nullptr) != CE_None)
        ThrowGdalFailure("Filling the grid in memory");
    return dataset;
}

}  // namespace kavrin
