#include "project/TFormExportGRD.h"

#include "gui/DialogButtons.h"
#include "project/SiteExportPanel.h"
#include "workspace/Workspace.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kavrin {

TFormExportGRD::TFormExportGRD(AppState& app, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), Edit1(new QLineEdit(this)), Edit2(new QLineEdit(this)), SitePanel(new SiteExportPanel(app, this)),
      app_(app), dialogs_(dialogs)
{
    setObjectName("TFormExportGRD");
    setWindowTitle("Exportar Resultados");
    auto* openLabel = new QLabel("Abrir", this);
    openLabel->setObjectName("Label1");
    auto* saveLabel = new QLabel("Salvar", this);
    saveLabel->setObjectName("Label2");
    Edit1->setObjectName("Edit1");
    Edit2->setObjectName("Edit2");
    // The captions carry mnemonics ("&Abrir"): each label leads to its field.
    openLabel->setBuddy(Edit1);
    saveLabel->setBuddy(Edit2);
    Edit1->setMinimumWidth(380);
    auto* browseOpen = new QPushButton("Procurar", this);
    browseOpen->setObjectName("Button1");
    auto* browseSave = new QPushButton("Procurar", this);
    browseSave->setObjectName("Button2");
    connect(browseOpen, &QPushButton::clicked, this, &TFormExportGRD::Button1Click);
    connect(browseSave, &QPushButton::clicked, this, &TFormExportGRD::Button2Click);

    auto* grid = new QGridLayout;
    grid->addWidget(openLabel, 0, 0);
    grid->addWidget(Edit1, 0, 1);
    grid->addWidget(browseOpen, 0, 2);
    grid->addWidget(saveLabel, 1, 0);
    grid->addWidget(Edit2, 1, 1);
    grid->addWidget(browseSave, 1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(SitePanel);
    SitePanel->hide();
    connect(SitePanel, &SiteExportPanel::formatChanged, this, [this] { saveFilter = SitePanel->saveFilter(); });
    layout->addLayout(DialogButtons(
        this, "OK", [this] { BitBtn1Click(); }, "Cancel", [this] { reject(); }));
    setFixedSize(sizeHint());
}

void TFormExportGRD::showSitePanel(bool shown)
{
    SitePanel->setVisible(shown);
    if (shown) {
        SitePanel->showPlacement(app_.texts.site);
        saveFilter = SitePanel->saveFilter();
    }
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    layout()->activate();
    setFixedSize(sizeHint());
}

void TFormExportGRD::showEvent(QShowEvent* event)
{
    Edit1->setText(QString::fromStdString(ProjectFolderPath(app_.project.Root, app_.project.ProjectName)));
    QDialog::showEvent(event);
}

void TFormExportGRD::Button1Click()
{
    chooseResultsFile(QString::fromStdString(ProjectFolderPath(app_.project.Root, app_.project.ProjectName)));
}

bool TFormExportGRD::chooseResultsFile(const QString& folder)
{
    const QString path = dialogs_.openFile("Arquivo de Saida (*.txt)", folder);
    if (!path.isEmpty()) Edit1->setText(path);
    return !path.isEmpty();
}

void TFormExportGRD::BitBtn1Click()
{
    // The field starts with the project folder: a folder is where to look for
    // the results file, not a file to convert.
    if (QFileInfo(Edit1->text()).isDir() && !chooseResultsFile(Edit1->text())) return;
    accept();
}

void TFormExportGRD::Button2Click()
{
    const QString path = dialogs_.saveFile(saveFilter, Edit2->text());
    if (!path.isEmpty()) Edit2->setText(path);
}

}  // namespace kavrin
