// The data window: the 21 parameter texts and the quadrature order, the
// master copy of the model's parameters.
#pragma once

#include "engine/ParameterTexts.h"
#include "shell/AppState.h"
#include "shell/Dialogs.h"

#include <QWidget>
#include <array>

class QComboBox;
class QLineEdit;

namespace kavrin {

class TFormDados : public QWidget {
    Q_OBJECT
public:
    TFormDados(AppState& app, Dialogs& dialogs);

    ParameterTexts texts() const;
    // Puts texts into the controls as they are (no change handlers run).
    void setTexts(const ParameterTexts& texts);

    // The first showing: the command-line project, then ArrumaCampos and Variaveis.
    void FormShow();

    std::array<QLineEdit*, 22> Edit{};  // Edit[n] is Edit n
    QComboBox* ComboBox1;

protected:
    void showEvent(QShowEvent* event) override;

private:
    AppState& app_;
    Dialogs& dialogs_;
    bool shown_ = false;
};

}  // namespace kavrin
