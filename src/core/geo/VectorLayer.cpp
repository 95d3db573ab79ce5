#include "geo/VectorLayer.h"

#include "geo/ContourExport.h"

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <algorithm>
#include <cctype>

namespace kavrin {

std::string VectorDriverName(const std::string& path)
{
    std::string lower = path;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    const std::string geojson = ".geojson";
    const bool json =
        lower.size() >= geojson.size() && lower.compare(lower.size() - geojson.size(), geojson.size(), geojson) == 0;
    return json ? "GeoJSON" : "GPKG";
}

VectorLayer::VectorLayer(GDALDriver* driver, const std::string& path, const std::string& name,
                         const OGRSpatialReference* reference, OGRwkbGeometryType geometry, const std::vector<LayerField>& fields)
    : dataset_(driver->Create(path.c_str(), 0, 0, 0, GDT_Unknown, nullptr))
{
    if (!dataset_) ThrowGdalFailure("Creating " + path);
    layer_ = dataset_->CreateLayer(name.c_str(), const_cast<OGRSpatialReference*>(reference), geometry, nullptr);
    if (!layer_) ThrowGdalFailure("Creating the layer " + name);
    for (const LayerField& field : fields) {
        OGRFieldDefn definition(field.name.c_str(), field.whole ? OFTInteger : OFTReal);
        if (layer_->CreateField(&definition) != OGRERR_NONE) ThrowGdalFailure("Creating the field " + field.name);
    }
    // One transaction for all the features where the driver has them (GeoPackage); GeoJSON has none.
    if (const OGRErr started = layer_->StartTransaction(); started != OGRERR_NONE && started != OGRERR_UNSUPPORTED_OPERATION)
        ThrowGdalFailure("Starting to write the layer " + name);
}

void VectorLayer::addPoint(double easting, double northing, const std::vector<double>& values)
{
    OGRFeature feature(layer_->GetLayerDefn());
    for (std::size_t i = 0; i < values.size(); ++i) feature.SetField(static_cast<int>(i), values[i]);
    feature.SetGeometry(std::make_unique<OGRPoint>(easting, northing).get());
    if (layer_->CreateFeature(&feature) != OGRERR_NONE) ThrowGdalFailure("Writing a point");
}

void VectorLayer::addCopies(OGRLayer* from, int field, std::optional<double> value, double largest)
{
    from->ResetReading();
    while (OGRFeature* read = from->GetNextFeature()) {
        const std::unique_ptr<OGRFeature> source(read);
        OGRFeature feature(layer_->GetLayerDefn());
        for (int i = 0; i < source->GetFieldCount(); ++i)
            if (source->IsFieldSetAndNotNull(i) && source->GetFieldAsDouble(i) <= largest)
                feature.SetField(i, source->GetFieldAsDouble(i));
        if (value) feature.SetField(field, *value);
        feature.SetGeometry(source->GetGeometryRef());
        if (layer_->CreateFeature(&feature) != OGRERR_NONE) ThrowGdalFailure("Writing a feature");
    }
}

void VectorLayer::close()
{
    if (layer_->CommitTransaction() != OGRERR_NONE) ThrowGdalFailure("Writing the layer");
    CloseWritten(dataset_.release(), "Writing the layer's file");
}

}  // namespace kavrin
