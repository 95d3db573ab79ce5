// The progress window of a run: a message, the share of points done and the
// time being computed, a bar from 0 to 100 and a Cancel button.
#pragma once

#include <QDialog>

#include <atomic>

class QLabel;
class QProgressBar;
class QPushButton;

namespace kavrin {

class TFormCalculando : public QDialog {
    Q_OBJECT
public:
    explicit TFormCalculando(QWidget* parent);

    // Ready for a new run: bar at 0, no stop requested, Cancel usable.
    void reset(const QString& message);
    // The bar and "NN%   <time caption>: <time>".
    void showProgress(int percent, const QString& timeCaption, const QString& time);

    // Set by Cancel: the run stops after the time it is writing.
    std::atomic<bool> stopRequested{false};

    QLabel* Label1;
    QLabel* Label2;
    QProgressBar* PBar;
    QPushButton* BitBtn2;

protected:
    // Escape asks for the stop as Cancel does; the window stays until the run ends.
    void reject() override;
};

}  // namespace kavrin
