#include "geo/GdalSession.h"

#include "text/Errors.h"

#include <cpl_error.h>
#include <gdal_priv.h>
#include <ogr_spatialref.h>

namespace kavrin {

GdalSession::GdalSession()
{
    GDALAllRegister();
    CPLPushErrorHandler(CPLQuietErrorHandler);
    CPLErrorReset();
}

GdalSession::~GdalSession()
{
    CPLPopErrorHandler();
}

std::string LastGdalMessage()
{
    const char* message = CPLGetLastErrorMsg();
    return message ? message : "";
}

void GdalDatasetCloser::operator()(GDALDataset* dataset) const
{
    GDALClose(dataset);
}

void SpatialReferenceDeleter::operator()(OGRSpatialReference* reference) const
{
    reference->Release();
}

SpatialReferencePointer SpatialReferenceOf(const std::string& crs)
{
    if (crs.empty()) return nullptr;
    SpatialReferencePointer reference(new OGRSpatialReference());
    CPLErrorReset();
    if (reference->SetFromUserInput(crs.c_str()) != OGRERR_NONE) {
        const std::string why = LastGdalMessage();
        throw CheckError("The CRS \"" + Excerpt(crs) + "\" is not one GDAL knows" + (why.empty() ? "" : " (" + why + ")") +
                         "; nothing was written.");
    }
    reference->SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    return reference;
}

GDALDriver* GdalDriver(const std::string& name)
{
    GDALDriver* driver = GetGDALDriverManager()->GetDriverByName(name.c_str());
    if (!driver) throw CheckError("The GDAL of this machine has no " + name + " driver; nothing was written.");
    return driver;
}

void CloseWritten(GDALDataset* dataset, const std::string& doing)
{
    CPLErrorReset();
    GDALClose(GDALDataset::ToHandle(dataset));
    if (CPLGetLastErrorType() == CE_Failure || CPLGetLastErrorType() == CE_Fatal) ThrowGdalFailure(doing);
}

void ThrowGdalFailure(const std::string& doing)
{
    const std::string why = LastGdalMessage();
    throw CheckError(doing + " failed" + (why.empty() ? "" : ": " + why) + ".");
}

}  // namespace kavrin
