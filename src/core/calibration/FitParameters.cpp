#include "calibration/FitParameters.h"

#include <algorithm>
#include <cmath>

namespace kavrin {

const std::array<FitParameterInfo, 9> kFitParameters = {{
    {FitParameter::AlphaX, "AlphaX", [](const ModelState& m) { return m.AlphaX; }, [](ModelState& m, double v) { m.AlphaX = v; },
     14, true},
    {FitParameter::AlphaY, "AlphaY", [](const ModelState& m) { return m.AlphaY; }, [](ModelState& m, double v) { m.AlphaY = v; },
     15, true},
    {FitParameter::AlphaZ, "AlphaZ", [](const ModelState& m) { return m.AlphaZ; }, [](ModelState& m, double v) { m.AlphaZ = v; },
     16, true},
    {FitParameter::Kxx, "Kxx", [](const ModelState& m) { return m.Kxx; }, [](ModelState& m, double v) { m.Kxx = v; }, 18, true},
    {FitParameter::Retardation, "Retardation", [](const ModelState& m) { return m.Retardation; },
     [](ModelState& m, double v) { m.Retardation = v; }, 20, true},
    {FitParameter::Decay, "Decay", [](const ModelState& m) { return m.Decay; }, [](ModelState& m, double v) { m.Decay = v; }, 21,
     false},
    {FitParameter::C0, "C0", [](const ModelState& m) { return m.C0; }, [](ModelState& m, double v) { m.C0 = v; }, 1, true},
    {FitParameter::SourceWidth, "SourceWidth", [](const ModelState& m) { return m.SourceWidth; },
     [](ModelState& m, double v) { m.SourceWidth = v; }, 2, true},
    {FitParameter::SourceHeight, "SourceHeight", [](const ModelState& m) { return m.SourceHeight; },
     [](ModelState& m, double v) { m.SourceHeight = v; }, 3, true},
}};

namespace {

template <int Zone>
constexpr FitParameterInfo zoneConcentration(const char* name)
{
    return {static_cast<FitParameter>(static_cast<int>(FitParameter::ReleaseEnd) + Zone - 1),
            name,
            [](const ModelState& m) { return m.source.moreZones[Zone - 2].concentration; },
            [](ModelState& m, double v) { m.source.moreZones[Zone - 2].concentration = v; },
            -1,
            true};
}

}  // namespace

const std::array<FitParameterInfo, 2 + kMostFittedZones> kSourceFitParameters = {{
    {FitParameter::SourceDecay, "SourceDecay", [](const ModelState& m) { return m.source.decayRate; },
     [](ModelState& m, double v) { m.source.decayRate = v; }, -1, true},
    {FitParameter::ReleaseEnd, "ReleaseEnd", [](const ModelState& m) { return m.source.releaseEnd; },
     [](ModelState& m, double v) { m.source.releaseEnd = v; }, -1, true},
    zoneConcentration<2>("ZoneConcentration2"),
    zoneConcentration<3>("ZoneConcentration3"),
    zoneConcentration<4>("ZoneConcentration4"),
    zoneConcentration<5>("ZoneConcentration5"),
    zoneConcentration<6>("ZoneConcentration6"),
    zoneConcentration<7>("ZoneConcentration7"),
    zoneConcentration<8>("ZoneConcentration8"),
    zoneConcentration<9>("ZoneConcentration9"),
    zoneConcentration<10>("ZoneConcentration10"),
    zoneConcentration<11>("ZoneConcentration11"),
    zoneConcentration<12>("ZoneConcentration12"),
    zoneConcentration<13>("ZoneConcentration13"),
    zoneConcentration<14>("ZoneConcentration14"),
    zoneConcentration<15>("ZoneConcentration15"),
    zoneConcentration<16>("ZoneConcentration16"),
    zoneConcentration<17>("ZoneConcentration17"),
    zoneConcentration<18>("ZoneConcentration18"),
    zoneConcentration<19>("ZoneConcentration19"),
    zoneConcentration<20>("ZoneConcentration20"),
}};

FitParameter ZoneConcentrationParameter(int zone)
{
    return static_cast<FitParameter>(static_cast<int>(FitParameter::ReleaseEnd) + zone - 1);
}

const FitParameterInfo& InfoOf(FitParameter parameter)
{
    const auto index = static_cast<std::size_t>(parameter);
    return index < kFitParameters.size() ? kFitParameters[index] : kSourceFitParameters[index - kFitParameters.size()];
}

std::optional<FitParameter> SourceFitParameterOfName(const std::string& name)
{
    for (const FitParameterInfo& info : kSourceFitParameters)
        if (name == info.name) return info.parameter;
    return std::nullopt;
}

std::optional<FitParameter> AnyFitParameterOfName(const std::string& name)
{
    if (const std::optional<FitParameter> parameter = FitParameterOfName(name)) return parameter;
    return SourceFitParameterOfName(name);
}

bool ModelUses(const ModelState& model, FitParameter parameter)
{
    if (parameter == FitParameter::SourceDecay) return model.source.history == SourceHistory::Decay;
    if (parameter == FitParameter::ReleaseEnd) return model.source.history == SourceHistory::Stop;
    const int index = static_cast<int>(parameter) - static_cast<int>(FitParameter::ReleaseEnd);
    return index <= 0 || static_cast<std::size_t>(index) <= model.source.moreZones.size();
}

std::optional<FitParameter> FitParameterOfName(const std::string& name)
{
    for (const FitParameterInfo& info : kFitParameters)
        if (name == info.name) return info.parameter;
    return std::nullopt;
}

FitBounds DefaultBounds(FitParameter parameter, double value)
{
    if (parameter == FitParameter::Decay) return {0, std::max(100 * std::fabs(value), 1.0)};
    if (parameter == FitParameter::Retardation) return {1, 100 * std::max(value, 1.0)};
    return {value / 100, value * 100};
}

}  // namespace kavrin
