// Where the model's local grid lies on the site map: the real-world position
// of x = 0, y = 0, the flow direction as an azimuth and the coordinate
// reference system. The local y axis points to the left of the flow, so
//   E = E0 + x·sin a − y·cos a,   N = N0 + x·cos a + y·sin a.
// Without a placement the exports keep the local coordinates and no CRS.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kavrin {

// The placement as the user gave it; an empty text is a value not given.
struct SitePlacementTexts {
    std::string easting, northing, azimuth, crs;
    bool operator==(const SitePlacementTexts&) const = default;
    bool empty() const { return *this == SitePlacementTexts{}; }
};

struct SitePlacement {
    double easting = 0, northing = 0;  // metres, of x = 0, y = 0
    double azimuth = 0;                // degrees clockwise from grid north, of the flow (+x)
    std::string crs;                   // "EPSG:31983", a WKT or a PROJ text; empty for none
};

// "Easting", "Northing", "Azimuth", "CRS": the names of the texts, in the order a project stores them.
const std::vector<std::string>& SitePlacementNames();
bool IsSitePlacementName(const std::string& name);

// The text of `name` in `texts`; nullptr for a name that is not a placement's.
std::string* SitePlacementText(SitePlacementTexts& texts, const std::string& name);
const std::string* SitePlacementText(const SitePlacementTexts& texts, const std::string& name);

// A finite number in either decimal separator, or nothing.
std::optional<double> PlacementNumber(const std::string& text);

// What the name's value must be, in words for messages.
std::string PlacementTakes(const std::string& name);

// Nothing when no text is given; otherwise the placement, a number not given
// being 0. Throws CheckError naming the first text that is not a finite number.
std::optional<SitePlacement> SitePlacementOf(const SitePlacementTexts& texts);

struct SitePoint {
    double easting = 0, northing = 0;
};

// The sine and cosine of an azimuth in degrees, exact at multiples of 90°.
struct AzimuthTurn {
    double sine = 0, cosine = 1;
};
AzimuthTurn TurnOf(double azimuthDegrees);

// The real-world position of the local point (x, y).
SitePoint ToSite(const SitePlacement& placement, double x, double y);

}  // namespace kavrin
