#include "frame/TFormFerramenta.h"

#include "frame/LanguageLoader.h"
#include "gui/CommandRunner.h"
#include "gui/DialogButtons.h"
#include "gui/Settings.h"
#include "text/Errors.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kavrin {

namespace {

QRadioButton* radio(QWidget* parent, const char* name, const char* text)
{
    auto* button = new QRadioButton(QString::fromUtf8(text), parent);
    button->setObjectName(name);
    return button;
}

}  // namespace

TFormFerramenta::TFormFerramenta(AppState& app, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), PageControl1(new QTabWidget(this)), app_(app), dialogs_(dialogs)
{
    setObjectName("TFormFerramenta");
    setWindowTitle("Ferramentas");
    PageControl1->setObjectName("PageControl1");

    auto* data = new QWidget;
    data->setObjectName("TabSheet1");
    RadioButton1 = radio(data, "RadioButton1", "Salvar todos os projetos automaticamente");
    RadioButton2 = radio(data, "RadioButton2", "Deletar automaticamente dados");
    RadioButton5 = radio(data, "RadioButton5", "Perguntar antes de deletar dados");
    auto* dataLayout = new QVBoxLayout(data);
    for (QRadioButton* b : {RadioButton1, RadioButton2, RadioButton5}) dataLayout->addWidget(b);
    dataLayout->addStretch();

    auto* languages = new QWidget;
    languages->setObjectName("TabSheet2");
    auto* prompt = new QLabel(QString::fromUtf8("Selecione o idioma de sua preferência:"), languages);
    prompt->setObjectName("Label1");
    RadioButton3 = radio(languages, "RadioButton3", "Português (Brasil)");
    RadioButton4 = radio(languages, "RadioButton4", "Inglês");
    auto* languageLayout = new QVBoxLayout(languages);
    languageLayout->addWidget(prompt);
    languageLayout->addWidget(RadioButton3);
    languageLayout->addWidget(RadioButton4);
    languageLayout->addStretch();

    PageControl1->addTab(data, QString::fromUtf8("Configurações"));
    PageControl1->addTab(languages, "Idiomas");

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1);
    layout->addLayout(DialogButtons(
        this, "Aplicar", [this] { BitBtn1Click(); }, "Cancelar", [this] { BitBtn2Click(); }));
    setFixedSize(qMax(292, sizeHint().width()), qMax(227, sizeHint().height()));

    FormCreate();
}

void TFormFerramenta::FormCreate()
{
    RunCommand(dialogs_, [this] {
        try {
            const DataHandling handling = StoredDataHandling();
            (handling == DataHandling::SaveAll     ? RadioButton1
             : handling == DataHandling::DeleteAll ? RadioButton2
                                                   : RadioButton5)
                ->setChecked(true);
            (ChosenLanguage() == Language::English ? RadioButton4 : RadioButton3)->setChecked(true);
        } catch (const FileError&) {
            // A settings file that cannot be read leaves the defaults chosen:
            // the start-up's reading of the language, which follows, says why.
        }
    });
    if (!RadioButton1->isChecked() && !RadioButton2->isChecked()) RadioButton5->setChecked(true);
    if (!RadioButton4->isChecked()) RadioButton3->setChecked(true);
}

void TFormFerramenta::BitBtn1Click()
{
    const bool done = RunCommand(dialogs_, [this] {
        if (RadioButton1->isChecked()) {
            app_.settings = {true, false};
            StoreDataHandling(DataHandling::SaveAll);
        }
        if (RadioButton2->isChecked()) {
            app_.settings = {false, true};
            StoreDataHandling(DataHandling::DeleteAll);
        }
        if (RadioButton5->isChecked()) {
            app_.settings = {false, false};
            StoreDataHandling(DataHandling::Ask);
        }
        if (RadioButton3->isChecked()) {
            StoreLanguage(Language::Portuguese);
            LoadLanguage(app_, Language::Portuguese);
        }
        if (RadioButton4->isChecked()) {
            StoreLanguage(Language::English);
            LoadLanguage(app_, Language::English);
        }
    });
    if (done) accept();
}

void TFormFerramenta::BitBtn2Click()
{
    reject();
}

}  // namespace kavrin
