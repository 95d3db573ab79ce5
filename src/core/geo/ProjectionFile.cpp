#include "geo/ProjectionFile.h"

#include "geo/GdalSession.h"
#include "text/Errors.h"
#include "text/SafeSave.h"

#include <cerrno>
#include <cpl_conv.h>
#include <filesystem>
#include <memory>
#include <ogr_spatialref.h>
#include <sys/stat.h>
#include <unistd.h>

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

void PlaceProjectionFile(const std::string& picturePath, const std::string& projectionText)
{
    const std::string path = ProjectionFilePath(picturePath);
    if (!projectionText.empty()) {
        SaveTextLines(path, {projectionText});
        return;
    }
    struct stat info {};
    // A picture named ".prj" is the picture just written, not an old system.
    if (path == picturePath || ::lstat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return;
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) throw FileError(errno, path);
}

}  // namespace kavrin
