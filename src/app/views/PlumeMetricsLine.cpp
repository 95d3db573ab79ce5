#include "views/PlumeMetricsLine.h"

#include "frame/TFormPrincipal.h"
#include "gui/NamedWidget.h"
#include "gui/Settings.h"
#include "text/DecimalSeparator.h"
#include "text/Errors.h"
#include "text/NumberText.h"

#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>

#include <algorithm>
#include <cmath>

namespace kavrin {

PlumeMetricsLine::PlumeMetricsLine(AppState& app, QWidget* parent) : QWidget(parent), app_(app)
{
    setObjectName("PlumeMetricsLine");
    MetricsText = NamedWidget<QLabel>(this, "MetricsText", QString());
    MetricsText->setWordWrap(true);
    MetricsText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    BeyondCaption = NamedWidget<QLabel>(this, "BeyondCaption", QString());
    BeyondEdit = NamedWidget<QLineEdit>(this, "BeyondEdit", QString());
    BeyondEdit->setFixedWidth(70);
    CopyButton = NamedWidget<QPushButton>(this, "CopyMetricsButton", QString());
    CopyButton->setEnabled(false);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(MetricsText, 1);
    layout->addWidget(BeyondCaption);
    layout->addWidget(BeyondEdit);
    layout->addWidget(CopyButton);
    // Two lines of text: the line keeps its height whatever a distance adds.
    setFixedHeight(std::max(2 * MetricsText->fontMetrics().lineSpacing() + 4, BeyondEdit->sizeHint().height()));
    hide();
    connect(BeyondEdit, &QLineEdit::textChanged, this, [this] { showMetrics(); });
    connect(CopyButton, &QPushButton::clicked, this, [this] { QApplication::clipboard()->setText(CopiedText()); });
    QEvent language(QEvent::LanguageChange);
    changeEvent(&language);
}

void PlumeMetricsLine::ShowTime(const QString& tempo)
{
    tempo_ = tempo;
    standard_ = StoredMapOptions().standard;
    if (!standard_)
        if (auto* frame = app_.windows.principal)
            frame->statusBar()->showMessage(app_.text(AddedText::PlumeMetricsNoStandard), 15000);
    try {
        field_ = PlumeFieldOf(app_.grid, app_.model);
    } catch (const KavrinError& error) {
        field_.reset();
        showMetrics();
        app_.windows.principal->statusBar()->showMessage(QString::fromUtf8(error.what()), 15000);
        return;
    }
    showMetrics();
}

void PlumeMetricsLine::Clear()
{
    field_.reset();
    showMetrics();
}

int PlumeMetricsLine::AddedHeight() const
{
    if (isHidden()) return 0;
    const QLayout* layout = parentWidget() ? parentWidget()->layout() : nullptr;
    return height() + (layout ? std::max(layout->spacing(), 0) : 0);
}

std::optional<double> PlumeMetricsLine::typedDistance() const
{
    const std::string text = BeyondEdit->text().trimmed().toStdString();
    if (text.empty()) return std::nullopt;
    try {
        const double distance = ParseFloat(ArrumaDecimal(text, app_.separator), app_.separator);
        if (std::isfinite(distance)) return distance;
    } catch (const KavrinError&) {
    }
    return NAN;
}

namespace {

// A value of the line, "*" after it when the grid's edge cut it short.
QString Shown(const std::string& number, bool lowerBound)
{
    return QString::fromStdString(number) + (lowerBound ? "*" : "");
}

}  // namespace

void PlumeMetricsLine::showMetrics()
{
    metrics_.reset();
    CopyButton->setEnabled(false);
    setVisible(field_ && standard_);
    if (!field_ || !standard_) {
        MetricsText->clear();
        return;
    }
    const char s = app_.separator;
    const std::optional<double> distance = typedDistance();
    const bool outside = distance && !std::isnan(*distance) && (field_->x.empty() || *distance > field_->x.back());
    const PlumeMetrics m =
        MeasurePlume(*field_, *standard_, distance && !std::isnan(*distance) && !outside ? distance : std::nullopt);
    QString line =
        app_.text(AddedText::PlumeMetricsLine)
            .arg(QString::fromStdString(FormatGeneral(*standard_, s)), Shown(FormatFixed(m.length, 2, s), m.lengthAtEdge),
                 Shown(FormatFixed(m.width, 2, s), m.widthAtEdge), Shown(FormatFixed(m.area, 1, s), m.areaAtEdge));
    if (m.maxBeyond)
        line += app_.text(AddedText::PlumeMetricsBeyond)
                    .arg(QString::fromStdString(FormatGeneral(*distance, s)),
                         Shown(FormatScientific(*m.maxBeyond, 3, 2, s), m.maxBeyondAtEdge));
    else if (outside)
        line += app_.text(AddedText::PlumeMetricsOutsideGrid).arg(QString::fromStdString(FormatGeneral(*distance, s)));
    else if (distance)
        line += app_.text(AddedText::PlumeMetricsNotDistance).arg(BeyondEdit->text().trimmed());
    if (m.anyAtEdge()) line += app_.text(AddedText::PlumeMetricsLowerBound);
    MetricsText->setText(line);
    metrics_ = m;
    CopyButton->setEnabled(true);
}

QString PlumeMetricsLine::CopiedText() const
{
    if (!metrics_ || !standard_) return QString();
    const char s = app_.separator;
    const auto number = [s](double value) { return QString::fromStdString(FormatGeneral(value, s)); };
    const std::optional<double> distance = typedDistance();
    const QStringList values{tempo_,
                             number(*standard_),
                             number(metrics_->length),
                             number(metrics_->width),
                             number(metrics_->area),
                             metrics_->maxBeyond ? number(*distance) : QString(),
                             metrics_->maxBeyond ? number(*metrics_->maxBeyond) : QString()};
    return MetricsText->text() + "\r\n" + app_.text(AddedText::PlumeMetricsColumns).split('|').join('\t') + "\r\n" +
           values.join('\t') + "\r\n";
}

void PlumeMetricsLine::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        BeyondCaption->setText(app_.text(AddedText::PlumeMetricsBeyondCaption));
        CopyButton->setText(app_.text(AddedText::PlumeMetricsCopy));
        showMetrics();
    }
    QWidget::changeEvent(event);
}

}  // namespace kavrin
