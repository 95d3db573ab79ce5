#include "uncertainty/VariedParameterText.h"
#include "text/SplitText.h"

#include "uncertainty/UncertainParameters.h"
#include "uncertainty/UncertaintyChecks.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <optional>
#include <vector>

namespace kavrin {

namespace {

struct KindName {
    DistributionKind kind;
    const char* name;
    std::size_t arguments;
};
constexpr KindName kKinds[] = {
    {DistributionKind::Uniform, "uniform", 2},
    {DistributionKind::Normal, "normal", 2},
    {DistributionKind::Lognormal, "lognormal", 2},
    {DistributionKind::Triangular, "triangular", 3},
};

std::optional<double> number(std::string text)
{
    if (!text.empty() && text.front() == '+') text.erase(0, 1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::string lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string shortest(double value)
{
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

}  // namespace

const char* DistributionName(DistributionKind kind)
{
    for (const KindName& k : kKinds)
        if (k.kind == kind) return k.name;
    return "";
}

VariedParameter ParseVariedParameter(const std::string& text, char separator)
{
    const std::size_t equals = text.find('=');
    const std::size_t colon = text.find(':', equals == std::string::npos ? 0 : equals);
    if (equals == std::string::npos || equals == 0 || colon == std::string::npos)
        throw UncertaintyError({UncertaintyRule::NotAVariedText, text});
    VariedParameter varied;
    varied.name = text.substr(0, equals);
    if (!UncertainParameterOfName(varied.name)) throw UncertaintyError({UncertaintyRule::UnknownParameter, varied.name});
    const std::string kindName = lower(text.substr(equals + 1, colon - equals - 1));
    const auto kind = std::find_if(std::begin(kKinds), std::end(kKinds), [&](const KindName& k) { return kindName == k.name; });
    if (kind == std::end(kKinds)) throw UncertaintyError({UncertaintyRule::UnknownDistribution, kindName});
    // Arguments are separated by commas, or by semicolons when the decimal point is a comma.
    const std::string arguments = text.substr(colon + 1);
    const bool semicolons = arguments.find(';') != std::string::npos;
    std::vector<std::string> items = SplitAt(arguments, semicolons ? ';' : ',');
    if (items.size() != kind->arguments) throw UncertaintyError({UncertaintyRule::WrongArgumentCount, varied.name});
    double values[3] = {0, 0, 0};
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (semicolons) std::replace(items[i].begin(), items[i].end(), separator, '.');
        const auto value = number(items[i]);
        if (!value) throw UncertaintyError({UncertaintyRule::ArgumentNotANumber, varied.name});
        values[i] = *value;
    }
    varied.distribution = {kind->kind, values[0], values[1], values[2]};
    if (const auto refusal = CheckDistribution(varied.name, varied.distribution)) throw UncertaintyError(*refusal);
    return varied;
}

std::string VariedParameterText(const VariedParameter& parameter)
{
    const Distribution& d = parameter.distribution;
    std::string text = parameter.name;
    text += '=';
    text += DistributionName(d.kind);
    text += ':';
    text += shortest(d.a);
    text += ',';
    text += shortest(d.b);
    if (d.kind == DistributionKind::Triangular) {
        text += ',';
        text += shortest(d.c);
    }
    return text;
}

}  // namespace kavrin
