#include "geo/ProjectionFile.h"

#include "geo/GdalSession.h"
#include "text/Errors.h"
#include "text/SafeSave.h"

#include <cpl_conv.h>
#include <filesystem>
#include <memory>
#include <ogr_spatialref.h>

namespace kavrin {

std::string EsriProjectionText(const std::optional<SitePlacement>& placement)
{
    if (!placement || placement->crs.empty()) return "";
    GdalSession gdal;
    const SpatialReferencePointer reference = SpatialReferenceOf(placement->crs);
    const char* const options[] = {"FORMAT=WKT1_ESRI", nullptr};
    char* text = nullptr;
    CPLErrorReset();
    const OGRErr status = reference->exportToWkt(&text, options);
    const std::unique_ptr<char, decltype(&CPLFree)> owned(text, &CPLFree);
    if (status != OGRERR_NONE || !text || !*text)
        ThrowGdalFailure("Writing the CRS \"" + Excerpt(placement->crs) + "\" as the ESRI WKT of a .prj file");
    return text;
}

std::string ProjectionFilePath(const std::string& picturePath)
{
    return std::filesystem::path(picturePath).replace_extension(".prj").string();
}

void WriteProjectionFile(const std::string& path, const std::string& projectionText)
{
    SaveTextLines(path, {projectionText});
}

}  // namespace kavrin
