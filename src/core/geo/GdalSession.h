// GDAL as the exports use it: its drivers registered once, its messages kept
// for ours instead of printed, the CRS texts it reads and the drivers it has.
#pragma once

#include <memory>
#include <string>

class GDALDataset;
class GDALDriver;
class OGRSpatialReference;

namespace kavrin {

// While one lives, GDAL's drivers are registered and its errors and warnings
// are not printed; LastGdalMessage gives the latest.
class GdalSession {
public:
    GdalSession();
    ~GdalSession();
    GdalSession(const GdalSession&) = delete;
    GdalSession& operator=(const GdalSession&) = delete;
};

std::string LastGdalMessage();

struct GdalDatasetCloser {
    void operator()(GDALDataset* dataset) const;
};
using GdalDatasetPointer = std::unique_ptr<GDALDataset, GdalDatasetCloser>;

struct SpatialReferenceDeleter {
    void operator()(OGRSpatialReference* reference) const;
};
using SpatialReferencePointer = std::unique_ptr<OGRSpatialReference, SpatialReferenceDeleter>;

// The CRS of "EPSG:31983", a WKT or a PROJ text, easting first; nothing for an
// empty text. A text GDAL cannot read throws CheckError with GDAL's message.
SpatialReferencePointer SpatialReferenceOf(const std::string& crs);

// The driver `name` ("GTiff", "GPKG", "GeoJSON"); throws CheckError when this GDAL has none.
GDALDriver* GdalDriver(const std::string& name);

// Closes `dataset`, which writes what it holds; a failure then throws CheckError.
void CloseWritten(GDALDataset* dataset, const std::string& doing);

// GDAL's failure as a CheckError: what was being done, then GDAL's own words.
[[noreturn]] void ThrowGdalFailure(const std::string& doing);

}  // namespace kavrin
