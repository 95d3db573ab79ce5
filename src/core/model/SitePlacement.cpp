#include "model/SitePlacement.h"

#include "text/DecimalSeparator.h"
#include "text/Errors.h"
#include "text/NumberText.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kavrin {

const std::vector<std::string>& SitePlacementNames()
{
    static const std::vector<std::string> names = {"Easting", "Northing", "Azimuth", "CRS"};
    return names;
}

bool IsSitePlacementName(const std::string& name)
{
    const auto& names = SitePlacementNames();
    return std::find(names.begin(), names.end(), name) != names.end();
}

std::string* SitePlacementText(SitePlacementTexts& texts, const std::string& name)
{
    if (name == "Easting") return &texts.easting;
    if (name == "Northing") return &texts.northing;
    if (name == "Azimuth") return &texts.azimuth;
    if (name == "CRS") return &texts.crs;
    return nullptr;
}

const std::string* SitePlacementText(const SitePlacementTexts& texts, const std::string& name)
{
    return SitePlacementText(const_cast<SitePlacementTexts&>(texts), name);
}

std::optional<double> PlacementNumber(const std::string& text)
{
    try {
        const double value = ParseFloat(ArrumaDecimal(text, '.'), '.');
        if (std::isfinite(value)) return value;
    } catch (const KavrinError&) {
    }
    return std::nullopt;
}

std::string PlacementTakes(const std::string& name)
{
    if (name == "Azimuth") return "a finite number of degrees clockwise from grid north";
    if (name == "CRS") return "an EPSG code (EPSG:31983), a WKT or a PROJ text";
    return "a finite number of metres";
}

std::optional<SitePlacement> SitePlacementOf(const SitePlacementTexts& texts)
{
    if (texts.empty()) return std::nullopt;
    SitePlacement placement;
    const auto number = [&](const std::string& name, double& value) {
        const std::string& text = *SitePlacementText(texts, name);
        if (text.empty()) return;
        const std::optional<double> parsed = PlacementNumber(text);
        if (!parsed) throw CheckError(name + " takes " + PlacementTakes(name) + ", not \"" + Excerpt(text) + "\".");
        value = *parsed;
    };
    number("Easting", placement.easting);
    number("Northing", placement.northing);
    number("Azimuth", placement.azimuth);
    placement.crs = texts.crs;
    return placement;
}

AzimuthTurn TurnOf(double azimuthDegrees)
{
    const double turn = std::fmod(azimuthDegrees, 360.0);
    const double degrees = turn < 0 ? turn + 360.0 : turn;
    if (degrees == 0) return {0, 1};
    if (degrees == 90) return {1, 0};
    if (degrees == 180) return {0, -1};
    if (degrees == 270) return {-1, 0};
    const double radians = degrees * std::numbers::pi / 180.0;
    return {std::sin(radians), std::cos(radians)};
}

SitePoint ToSite(const SitePlacement& placement, double x, double y)
{
    const AzimuthTurn turn = TurnOf(placement.azimuth);
    return {placement.easting + x * turn.sine - y * turn.cosine, placement.northing + x * turn.cosine + y * turn.sine};
}

}  // namespace kavrin
