#include "project/TFormProjeto.h"

#include "DialogButtons.h"

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
    layout->addLayout(DialogButtons(this, "OK", [this] { BitBtn1Click(); }, "Cancel", [this] { BitBtn2Click(); }));
}

std::optional<QString> TFormProjeto::askModal()
{
    ProjectDialogCancelled = false;
    const int result = exec();
    if (ProjectDialogCancelled) return std::nullopt;
    return result == QDialog::Accepted ? Edit1->text() : QString();
}

void TFormProjeto::BitBtn1Click()
{
    app_.project.ProjectName = Edit1->text().toStdString();
    ProjectDialogCancelled = false;
    if (isModal()) accept();
    else hide();
}

void TFormProjeto::BitBtn2Click()
{
    ProjectDialogCancelled = true;
    if (isModal()) reject();
    else hide();
}

}  // namespace kavrin
