// The fit panel's choices to and from what a project stores.
#include "observations/FitPanel.h"

#include "calibration/FitStartLimits.h"
#include "text/DecimalSeparator.h"
#include "text/NumberText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>

namespace kavrin {

namespace {

std::optional<double> numberIn(const QLineEdit* edit, char separator)
{
    try {
        return ParseFloat(ArrumaDecimal(edit->text().trimmed().toStdString(), separator), separator);
    } catch (const KavrinError&) {
        return std::nullopt;
    }
}

QString numberText(double value, char separator)
{
    return QString::fromStdString(RoundTripText(value, separator));
}

}  // namespace

StoredCalibration FitPanel::storedChoices() const
{
    const char separator = app_.separator;
    StoredCalibration choices;
    for (const ParameterRow& row : rows_) {
        if (!row.check->isChecked()) continue;
        choices.parameters.push_back(row.info->parameter);
        const std::optional<double> lower = numberIn(row.lower, separator), upper = numberIn(row.upper, separator);
        if (lower && upper) choices.bounds.push_back({row.info->parameter, FitBounds{*lower, *upper}});
    }
    choices.logResiduals = CheckBoxLog->isChecked();
    if (!EditDetectionLimit->text().trimmed().isEmpty()) choices.detectionLimit = numberIn(EditDetectionLimit, separator);
    choices.weightRule =
        ComboBoxWeights->currentIndex() == static_cast<int>(WeightRule::Relative) ? WeightRule::Relative : WeightRule::Table;
    if (CheckBoxSeveralStarts->isChecked()) {
        choices.starts = SpinBoxStarts->value();
        const auto seed = static_cast<std::uint64_t>(SpinBoxSeed->value());
        if (seed != kDefaultSeed) choices.seed = seed;
    }
    return choices;
}

void FitPanel::showStoredChoices(const StoredCalibration& choices)
{
    const char separator = app_.separator;
    for (const ParameterRow& row : rows_) {
        const bool chosen =
            std::find(choices.parameters.begin(), choices.parameters.end(), row.info->parameter) != choices.parameters.end();
        // Checking fills the default bounds; stored ones replace them.
        row.check->setChecked(chosen);
        if (!chosen) {
            row.lower->clear();
            row.upper->clear();
        } else if (const std::optional<FitBounds> bounds = StoredBoundsOf(choices, row.info->parameter)) {
            row.lower->setText(numberText(bounds->lower, separator));
            row.upper->setText(numberText(bounds->upper, separator));
        }
    }
    showSourceRows();
    CheckBoxLog->setChecked(choices.logResiduals);
    EditDetectionLimit->setText(choices.detectionLimit ? numberText(*choices.detectionLimit, separator) : QString());
    ComboBoxWeights->setCurrentIndex(static_cast<int>(choices.weightRule));
    // One start is the fit without several; the count box keeps its default then.
    const bool severalStarts = choices.starts.value_or(1) > 1;
    CheckBoxSeveralStarts->setChecked(severalStarts);
    SpinBoxStarts->setValue(severalStarts ? *choices.starts : kDefaultStarts);
    SpinBoxSeed->setValue(static_cast<int>(choices.seed.value_or(kDefaultSeed)));
    clearResult();
}

}  // namespace kavrin
