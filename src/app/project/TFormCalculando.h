// The progress window of a run: a message and a bar from 0 to 100.
#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;

namespace kavrin {

class TFormCalculando : public QDialog {
    Q_OBJECT
public:
    explicit TFormCalculando(QWidget* parent);

    QLabel* Label1;
    QProgressBar* PBar;
};

}  // namespace kavrin
