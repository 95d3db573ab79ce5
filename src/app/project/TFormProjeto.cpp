#include "project/TFormProjeto.h"

#include "gui/DialogButtons.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kavrin {

TFormProjeto::TFormProjeto(AppState& app, QWidget* parent) : QDialog(parent), Edit1(new QLineEdit(this)), app_(app)
{
    setObjectName("TFormProjeto");
    setWindowTitle("Projeto");
    auto* label = new QLabel("Projeto :", this);
    label->setObjectName("Label1");
    Edit1->setObjectName("Edit1");
    Edit1->setMinimumWidth(260);
    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(Edit1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(DialogButtons(
        this, "OK", [this] { BitBtn1Click(); }, "Cancel", [this] { BitBtn2Click(); }));
}

std::optional<QString> TFormProjeto::askModal()
{
    ProjectDialogCancelled = false;
    const int result = exec();
    if (ProjectDialogCancelled) return std::nullopt;
    return result == QDialog::Accepted ? Edit1->text() : QString();
}

// The name is kept for the next run: the current project, whose results may be
// being written or waiting to be saved, keeps its own name.
void TFormProjeto::BitBtn1Click()
{
    if (!isModal()) app_.NewProjectName = Edit1->text().toStdString();
    ProjectDialogCancelled = false;
    if (isModal())
        accept();
    else
        hide();
}

void TFormProjeto::BitBtn2Click()
{
    reject();
}

// Cancel, Escape and the close box all end here.
void TFormProjeto::reject()
{
    ProjectDialogCancelled = true;
    if (!isModal()) app_.NewProjectName.clear();
    QDialog::reject();
}

void TFormProjeto::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Edit1->setFocus(Qt::OtherFocusReason);
    Edit1->selectAll();
}

}  // namespace kavrin
