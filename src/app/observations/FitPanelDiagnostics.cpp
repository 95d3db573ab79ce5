// The fit panel's several starts, conditioning and profile interval: their
// options' captions and what the notes say of them.
#include "observations/FitPanel.h"

#include "observations/ResidualChart.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>

#include <cmath>

namespace kavrin {

namespace {

QString shortNumber(double value, char separator)
{
    return QString::number(value, 'g', 6).replace('.', QChar(separator));
}

}  // namespace

void FitPanel::showAddedTexts()
{
    CheckBoxSeveralStarts->setText(app_.text(AddedText::FitSeveralStarts));
    findChild<QLabel*>("SeedLabel")->setText(app_.text(AddedText::FitSeed));
    findChild<QLabel*>("ProfileLabel")->setText(app_.text(AddedText::FitProfileChoice));
    Residuals->showTexts();
    showProfileChoices();
}

void FitPanel::showProfileChoices()
{
    const QVariant chosen = ComboBoxProfile->currentData();
    const QSignalBlocker quiet(ComboBoxProfile);
    ComboBoxProfile->clear();
    ComboBoxProfile->addItem(app_.text(AddedText::FitProfileNone), -1);
    for (const ParameterRow& row : rows_)
        if (row.check->isChecked())
            ComboBoxProfile->addItem(parameterName(row.info->parameter), static_cast<int>(row.info->parameter));
    ComboBoxProfile->setCurrentIndex(std::max(ComboBoxProfile->findData(chosen), 0));
}

QString FitPanel::diagnosticsText() const
{
    const FitResult& r = *result_;
    const char separator = app_.separator;
    QString text;
    if (starts_) {
        text += app_.text(AddedText::FitStartsSummary).arg(starts_->starts).arg(starts_->seed).arg(starts_->reachedBest);
        if (starts_->failed > 0) text += " " + app_.text(AddedText::FitStartsFailed).arg(starts_->failed);
        for (const FoundMinimum& minimum : starts_->others) {
            QStringList values;
            for (std::size_t j = 0; j < minimum.values.size(); ++j)
                values << parameterName(r.parameters[j].parameter) + " = " + shortNumber(minimum.values[j], separator);
            text += "\n" + app_.text(AddedText::FitOtherMinimum)
                               .arg(shortNumber(minimum.objective, separator))
                               .arg(minimum.starts)
                               .arg(values.join("; "));
        }
    }
    if (r.reachedEnd() && r.conditionNumber > 0) {
        text += (text.isEmpty() ? "" : "\n") +
                app_.text(AddedText::FitConditionNumber).arg(shortNumber(r.conditionNumber, separator));
        if (!r.weakestCombination.empty()) {
            QStringList terms;
            for (std::size_t j = 0; j < r.weakestCombination.size(); ++j)
                terms << QString::number(r.weakestCombination[j], 'f', 3).replace('.', QChar(separator)) + " " +
                             parameterName(r.parameters[j].parameter);
            text += "\n" + app_.text(AddedText::FitWeakCombination).arg(terms.join(", "));
        }
    }
    if (profile_) {
        const auto end = [&](double value, bool atBound) {
            const QString shown = shortNumber(value, separator);
            return atBound ? app_.text(AddedText::FitProfileAtBound).arg(shown) : shown;
        };
        text += (text.isEmpty() ? "" : "\n") + app_.text(AddedText::FitProfileInterval)
                                                   .arg(parameterName(profile_->parameter))
                                                   .arg(end(profile_->lower, profile_->lowerAtBound))
                                                   .arg(end(profile_->upper, profile_->upperAtBound));
    } else if (!profileFailure_.isEmpty()) {
        text += (text.isEmpty() ? "" : "\n") + app_.text(AddedText::FitProfileFailed).arg(profileFailure_);
    }
    return text;
}

}  // namespace kavrin
