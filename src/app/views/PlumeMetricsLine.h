// The line under the map: the plume's length, greatest width, area above the
// user's standard and the largest concentration beyond a distance, at the
// map's time, with a button that copies them with their values. Without a
// standard the line stays hidden, so the map window keeps its specified size,
// and the main window's status bar says how to set one.
#pragma once

#include "frame/AppState.h"
#include "plume/PlumeMetrics.h"

#include <QString>
#include <QWidget>

#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace kavrin {

class PlumeMetricsLine : public QWidget {
public:
    PlumeMetricsLine(AppState& app, QWidget* parent);

    // Measures the time ResultGrid holds, drawn as `tempo`, against the
    // stored map options' standard; without a standard, says how to set one.
    void ShowTime(const QString& tempo);
    // No map: no line.
    void Clear();
    // The height the line adds under the map: its own and the layout's
    // spacing when shown, 0 when hidden.
    int AddedHeight() const;
    // The line as shown, then the columns' titles and the values in full, tab-separated.
    QString CopiedText() const;

    QLabel* MetricsText;
    QLabel* BeyondCaption;
    QLineEdit* BeyondEdit;
    QPushButton* CopyButton;

protected:
    void changeEvent(QEvent* event) override;

private:
    // The line again from the kept field, the standard and the distance typed.
    void showMetrics();
    std::optional<double> typedDistance() const;

    AppState& app_;
    QString tempo_;
    std::optional<PlumeField> field_;  // of the time shown: the charts may load another into ResultGrid
    std::optional<double> standard_;
    std::optional<PlumeMetrics> metrics_;
};

}  // namespace kavrin
