// The calibration window with wells the initial model gives exactly, for the fit panel's tests.
#pragma once

#include "GuiFixture.h"
#include "calibration/Observations.h"
#include "model/Variaveis.h"
#include "observations/FitPanel.h"
#include "observations/TObservacao.h"
#include "project/TFormDados.h"
#include "text/NumberText.h"

#include <QDeadlineTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <chrono>
#include <functional>

namespace kavrin::test {

struct FitFixture : GuiFixture {
    FitPanel* panel = nullptr;

    // Wells that the initial model (with `source`) gives exactly; the data window then shows AlphaX = 3.
    explicit FitFixture(const SourceTexts& source = {})
    {
        start();
        panel = app.windows.observacao->fitPanel;
        app.windows.dados->setSourceTexts(source);
        ModelState model;
        Variaveis(app.texts, model, '.');
        std::vector<Observation> wells;
        for (int i = 0; i < 14; ++i) wells.push_back({0, 3.0 + 3.5 * i, -5.0 + (i % 6) * 2, 0.3 * (i % 3), 1400.0 + 70 * i});
        const std::vector<double> values = CalculatedConcentrations(wells, model, kavrin::test::LoadedQuadrature(60), 1);
        std::string table;
        for (std::size_t i = 0; i < wells.size(); ++i)
            table += FormatGeneral(values[i], '.') + " " + FormatGeneral(wells[i].X, '.') + " " + FormatGeneral(wells[i].Y, '.') +
                     " " + FormatGeneral(wells[i].Z, '.') + " " + FormatGeneral(wells[i].T, '.') + "\r\n";
        WriteBytes(folder.path() + "wells.txt", table);
        dialogs.files.push_back(QString::fromStdString(folder.path() + "wells.txt"));
        app.windows.observacao->findChild<QPushButton*>("BitBtn5")->click();
        app.windows.dados->Edit[14]->setText("3");
    }
    void click(const char* name) { panel->findChild<QPushButton*>(name)->click(); }
    // Processes the window's events until `state` holds, or at most `seconds`
    // on a busy machine; whether it holds.
    static bool waitUntil(const std::function<bool()>& state, int seconds = 300)
    {
        const QDeadlineTimer deadline(std::chrono::seconds{seconds});
        while (!state()) {
            if (deadline.hasExpired()) return false;
            QTest::qWait(20);
        }
        return true;
    }
    // A fit refused before it starts returns at once; one that starts, once it has ended.
    void fitAndWait()
    {
        click("FitButton");
        waitUntil([this] { return !panel->running(); });
    }
    QString cell(QTableWidget* grid, int row, int column) const
    {
        const QTableWidgetItem* item = grid->item(row, column);
        return item ? item->text() : QString();
    }
};

}  // namespace kavrin::test
