#include "geo/WellExport.h"

#include "geo/ContourExport.h"
#include "geo/GeoOutput.h"
#include "geo/VectorLayer.h"
#include "model/GridOnSite.h"

namespace kavrin {

void WriteWells(const WellRequest& request)
{
    GdalSession gdal;
    const SitePlacement placement = request.placement.value_or(LocalPlacement());
    const SpatialReferencePointer reference = SpatialReferenceOf(placement.crs);
    GDALDriver* driver = GdalDriver(VectorDriverName(request.path));
    GeoOutput output(request.path, request.read, "");
    {
        VectorLayer layer(
            driver, output.writing(), "wells", reference.get(), wkbPoint,
            {{"number", true}, {"x"}, {"y"}, {"z"}, {"time"}, {"observed"}, {"calculated"}, {"residual"}, {"weight"}});
        for (std::size_t i = 0; i < request.observations.size(); ++i) {
            const Observation& o = request.observations[i];
            const SitePoint site = ToSite(placement, o.X, o.Y);
            const double calculated = request.calculated[i];
            layer.addPoint(
                site.easting, site.northing,
                {static_cast<double>(i + 1), o.X, o.Y, o.Z, o.T, o.C, calculated, o.C - calculated, request.weights[i]});
        }
        layer.close();
    }
    output.commit();
}

}  // namespace kavrin
