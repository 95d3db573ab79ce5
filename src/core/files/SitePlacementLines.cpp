#include "files/SitePlacementLines.h"

#include <algorithm>

namespace kavrin {

namespace {

bool finiteNumber(const std::string& value)
{
    return PlacementNumber(value).has_value();
}

// Each name, with the form of its value, known to every project file this build reads or writes.
const ProjectLineRegistration kEasting{{"Easting", PlacementTakes("Easting"), finiteNumber}};
const ProjectLineRegistration kNorthing{{"Northing", PlacementTakes("Northing"), finiteNumber}};
const ProjectLineRegistration kAzimuth{{"Azimuth", PlacementTakes("Azimuth"), finiteNumber}};
const ProjectLineRegistration kCrs{{"CRS", PlacementTakes("CRS"), [](const std::string& value) { return !value.empty(); }}};

}  // namespace

NamedLines SitePlacementLines(const SitePlacementTexts& texts)
{
    NamedLines lines;
    for (const std::string& name : SitePlacementNames())
        if (const std::string& value = *SitePlacementText(texts, name); !value.empty()) lines.push_back({name, value});
    return lines;
}

SitePlacementTexts TakeSitePlacementTexts(NamedLines& lines)
{
    SitePlacementTexts texts;
    for (const NamedLine& line : lines)
        if (std::string* text = SitePlacementText(texts, line.name)) *text = line.value;
    lines.erase(std::remove_if(lines.begin(), lines.end(), [](const NamedLine& line) { return IsSitePlacementName(line.name); }),
                lines.end());
    return texts;
}

}  // namespace kavrin
