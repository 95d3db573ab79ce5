// One vector layer being written through OGR: its file, its fields and its
// features, closed before the file is renamed into place.
#pragma once

#include "geo/GdalSession.h"

#include <ogr_core.h>

#include <optional>
#include <string>
#include <vector>

class OGRLayer;

namespace kavrin {

struct LayerField {
    std::string name;
    bool whole = false;  // a whole number; otherwise a real one
};

class VectorLayer {
public:
    // Creates the file `path` with `driver` and one layer of `geometry`
    // features with `fields`, in `reference` (may be null). Throws CheckError.
    VectorLayer(GDALDriver* driver, const std::string& path, const std::string& name, const OGRSpatialReference* reference,
                OGRwkbGeometryType geometry, const std::vector<LayerField>& fields);

    OGRLayer* layer() const { return layer_; }

    // A point at (easting, northing) with one value per field, in order.
    void addPoint(double easting, double northing, const std::vector<double>& values);

    // Every feature of `from`, with its geometry and its fields in the same
    // places, and `value`, when there is one, in field `field`. Values above
    // `largest` are left empty: GDAL's stand-in for a band with no upper bound.
    void addCopies(OGRLayer* from, int field, std::optional<double> value, double largest);

    // Writes everything out and closes the file; throws CheckError.
    void close();

private:
    GdalDatasetPointer dataset_;
    OGRLayer* layer_ = nullptr;
};

}  // namespace kavrin
