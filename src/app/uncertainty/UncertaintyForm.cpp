#include "uncertainty/UncertaintyForm.h"

#include "model/RunTimes.h"
#include "text/DecimalSeparator.h"
#include "text/NumberText.h"
#include "uncertainty/FitDrawSources.h"

#include <QRegularExpression>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>

namespace kavrin {

namespace {

// A refusal of the run's rules, or a field whose text is no number.
struct FormRefusal {
    std::optional<UncertaintyRefusal> rule;
    QString caption, text;
};

std::optional<double> numberOf(const QString& text, char separator)
{
    try {
        return ParseFloat(ArrumaDecimal(text.trimmed().toStdString(), separator), separator);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// A whole number of digits alone; beyond 2^64 − 1 held there (the checks then
// refuse it as too large).
std::optional<std::uint64_t> countOf(const QString& text)
{
    const std::string digits = text.trimmed().toStdString();
    if (digits.empty() || !std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isdigit(c); }))
        return std::nullopt;
    std::uint64_t value = 0;
    for (char c : digits) {
        const std::uint64_t digit = static_cast<std::uint64_t>(c - '0');
        if (value > (std::numeric_limits<std::uint64_t>::max() - digit) / 10) return std::numeric_limits<std::uint64_t>::max();
        value = value * 10 + digit;
    }
    return value;
}

QString fieldCaption(const AppState& app, AddedText line)
{
    QString caption = app.text(line);
    while (caption.endsWith(':') || caption.endsWith(' ')) caption.chop(1);
    return caption;
}

constexpr DistributionKind kKinds[] = {DistributionKind::Uniform, DistributionKind::Normal, DistributionKind::Lognormal,
                                       DistributionKind::Triangular};

std::optional<FormRefusal> readParameters(const UncertaintyFormTexts& texts, const FitResult* fit, char separator,
                                          UncertaintySettings& settings)
{
    std::vector<std::string> fromFit;
    for (const ParameterRowTexts& row : texts.parameters) {
        if (row.choice == ParameterChoice::Fixed) continue;
        if (row.choice == ParameterChoice::FromFit) {
            fromFit.push_back(row.name);
            continue;
        }
        const DistributionKind kind = kKinds[static_cast<int>(row.choice) - 1];
        const int count = kind == DistributionKind::Triangular ? 3 : 2;
        double values[3] = {0, 0, 0};
        for (int i = 0; i < count; ++i) {
            const std::optional<double> value = numberOf(row.arguments[static_cast<std::size_t>(i)], separator);
            if (!value) return FormRefusal{UncertaintyRefusal{UncertaintyRule::ArgumentNotANumber, row.name}, {}, {}};
            values[i] = *value;
        }
        settings.varied.push_back({row.name, {kind, values[0], values[1], values[2]}});
    }
    if (fromFit.empty()) return std::nullopt;
    if (fit) settings.fromFit = FitDrawOfNames(*fit, fromFit);
    if (!settings.fromFit) return FormRefusal{UncertaintyRefusal{UncertaintyRule::NoFit, {}}, {}, {}};
    return std::nullopt;
}

std::optional<FormRefusal> readThresholds(const UncertaintyFormTexts& texts, const AppState& app, UncertaintySettings& settings)
{
    const char separator = app.separator;
    QStringList typed;
    if (!texts.standard.trimmed().isEmpty())
        typed << texts.standard.trimmed();
    else if (!texts.moreThresholds.trimmed().isEmpty())
        return FormRefusal{UncertaintyRefusal{UncertaintyRule::NoThreshold, {}}, {}, {}};
    // Blanks or semicolons between them: a comma may be the decimal separator.
    typed << texts.moreThresholds.split(QRegularExpression("[\\s;]+"), Qt::SkipEmptyParts);
    for (const QString& text : typed) {
        const std::optional<double> value = numberOf(text, separator);
        if (!value) return FormRefusal{UncertaintyRefusal{UncertaintyRule::ThresholdNotPositive, text.toStdString()}, {}, {}};
        settings.thresholds.push_back({*value, ArrumaDecimal(text.toStdString(), separator)});
    }
    return std::nullopt;
}

std::optional<FormRefusal> readCounts(const UncertaintyFormTexts& texts, const AppState& app, UncertaintySettings& settings)
{
    const std::optional<std::uint64_t> realizations = countOf(texts.realizations);
    if (!realizations)
        return FormRefusal{std::nullopt, fieldCaption(app, AddedText::UncertaintyRealizations), texts.realizations.trimmed()};
    settings.realizations = *realizations;
    const std::optional<std::uint64_t> seed = countOf(texts.seed);
    if (!seed) return FormRefusal{std::nullopt, fieldCaption(app, AddedText::UncertaintySeed), texts.seed.trimmed()};
    settings.seed = *seed;
    return std::nullopt;
}

std::optional<FormRefusal> readReceptors(const UncertaintyFormTexts& texts, char separator, UncertaintySettings& settings)
{
    for (std::size_t row = 0; row < texts.receptors.size(); ++row) {
        const auto& cells = texts.receptors[row];
        if (std::all_of(cells.begin(), cells.end(), [](const QString& cell) { return cell.trimmed().isEmpty(); })) continue;
        double xyz[3];
        for (std::size_t i = 0; i < 3; ++i) {
            const std::optional<double> value = numberOf(cells[i], separator);
            if (!value)
                return FormRefusal{UncertaintyRefusal{UncertaintyRule::ReceptorNotFinite, std::to_string(row + 1)}, {}, {}};
            xyz[i] = *value;
        }
        settings.receptors.push_back({xyz[0], xyz[1], xyz[2]});
    }
    return std::nullopt;
}

}  // namespace

std::optional<FitDraw> FitDrawOfNames(const FitResult& fit, const std::vector<std::string>& names)
{
    const std::optional<FitDraw> whole = FitDrawOf(fit);
    if (!whole) return std::nullopt;
    std::vector<std::size_t> kept;
    for (const std::string& name : names) {
        const auto at = std::find(whole->names.begin(), whole->names.end(), name);
        if (at == whole->names.end()) return std::nullopt;
        kept.push_back(static_cast<std::size_t>(at - whole->names.begin()));
    }
    FitDraw draw;
    for (std::size_t i : kept) {
        draw.names.push_back(whole->names[i]);
        draw.logarithmic.push_back(whole->logarithmic[i]);
        draw.centre.push_back(whole->centre[i]);
        std::vector<double> row;
        for (std::size_t j : kept) row.push_back(whole->covariance[i][j]);
        draw.covariance.push_back(std::move(row));
    }
    return draw;
}

// One language line per rule, in the rules' order.
static_assert(static_cast<int>(AddedText::UncertaintyNothingVaried) - static_cast<int>(AddedText::UncertaintyNotAVariedText) ==
              static_cast<int>(UncertaintyRule::NothingVaried));

QString UncertaintyRefusalText(const AppState& app, const UncertaintyRefusal& refusal)
{
    const int line = static_cast<int>(AddedText::UncertaintyNotAVariedText) + static_cast<int>(refusal.rule);
    const QString text = app.text(static_cast<AddedText>(line));
    return text.contains("%1") ? text.arg(QString::fromStdString(refusal.subject)) : text;
}

UncertaintyFormOutcome ReadUncertaintyForm(const UncertaintyFormTexts& texts, const ModelState& model, const FitResult* fit,
                                           const AppState& app)
{
    UncertaintySettings settings;
    settings.latinHypercube = texts.latinHypercube;
    for (double t : texts.times) settings.times.push_back({t, TimeText(t, app.separator)});
    std::optional<FormRefusal> refusal = readParameters(texts, fit, app.separator, settings);
    if (!refusal) refusal = readThresholds(texts, app, settings);
    if (!refusal) refusal = readCounts(texts, app, settings);
    if (!refusal) refusal = readReceptors(texts, app.separator, settings);
    if (!refusal) {
        if (const std::optional<UncertaintyRefusal> checked = CheckUncertaintySettings(settings, model))
            refusal = FormRefusal{*checked, {}, {}};
    }
    if (!refusal) return {std::move(settings), {}};
    if (refusal->rule) return {std::nullopt, UncertaintyRefusalText(app, *refusal->rule)};
    return {std::nullopt, app.text(AddedText::UncertaintyNotANumber).arg(refusal->caption, refusal->text)};
}

}  // namespace kavrin
