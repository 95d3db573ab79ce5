// The rough edges a new user meets: the name window's keys, Qt's own texts in
// the chosen language, mnemonics, named conversion errors, small screens,
// the status bar and the export window's folder.
#include "RunFixture.h"
#include "frame/LanguageLoader.h"
#include "observations/TObservacao.h"
#include "project/TFormExportGRD.h"
#include "project/TFormProjeto.h"
#include "views/TFormMapa.h"

#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace kavrin;
using kavrin::test::RunFixture;

TEST(ProjectNameWindow, EscapeAndTheCloseBoxCancelAndTheNameIsReadyToType)
{
    RunFixture f;
    TFormProjeto* window = f.app.windows.projeto;
    for (bool escape : {true, false}) {
        window->Edit1->setText("Plume");
        QTimer::singleShot(0, window, [&] {
            EXPECT_EQ(window->focusWidget(), window->Edit1);
            EXPECT_EQ(window->Edit1->selectedText(), "Plume");
            if (escape)
                QTest::keyClick(window, Qt::Key_Escape);
            else
                window->close();
        });
        EXPECT_EQ(window->askModal(), std::nullopt) << (escape ? "Escape" : "close box");
    }
    f.main->action("Novo1")->trigger();
    window->Edit1->setText("Typed");
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(f.app.NewProjectName, "");
}

TEST(QtTexts, StandardButtonsFollowTheChosenLanguage)
{
    RunFixture f;
    LoadLanguage(f.app, Language::Portuguese);
    QMessageBox box(QMessageBox::Question, "KAVRIN", "?", QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text(), "&Sim");
    EXPECT_EQ(box.button(QMessageBox::No)->text(), QString::fromUtf8("&Não"));
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), "Cancelar");
    LoadLanguage(f.app, Language::English);
    QMessageBox english(QMessageBox::Question, "KAVRIN", "?", QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(english.button(QMessageBox::Yes)->text(), "&Yes");
    LoadLanguage(f.app, Language::Portuguese);
}

TEST(ExportWindow, CaptionAmpersandsAreMnemonicsAndAFolderOpensTheDialogInsideIt)
{
    RunFixture f;
    f.runAs("Teste");
    TFormExportGRD* window = f.app.windows.exportGrd;
    const auto* open = window->findChild<QLabel*>("Label1");
    const auto* save = window->findChild<QLabel*>("Label2");
    EXPECT_EQ(open->text(), "&Abrir");
    EXPECT_EQ(open->buddy(), window->Edit1);
    EXPECT_EQ(save->buddy(), window->Edit2);

    const std::string results = f.root() + "Teste/T2500.txt";
    f.dialogs.files = {QString::fromStdString(results)};
    QTimer::singleShot(0, window, [&] {
        window->Edit2->setText(QString::fromStdString(f.folder.path() + "from-folder"));
        window->findChild<QPushButton*>("BitBtn1")->click();  // Edit1 holds the project folder
    });
    f.main->action("EscolherArquivo2")->trigger();
    EXPECT_TRUE(f.dialogs.errors.isEmpty()) << f.dialogs.errors.join("|").toStdString();
    EXPECT_EQ(window->Edit1->text().toStdString(), results);
    EXPECT_TRUE(std::filesystem::exists(f.folder.path() + "from-folder.grd"));
}

TEST(DataWindow, AConversionErrorNamesTheFieldAndGoesThere)
{
    RunFixture f;
    f.type(7, "abc");
    f.dialogs.projectNames = {QString("Teste")};
    f.run();
    ASSERT_EQ(f.dialogs.errors.size(), 1);
    EXPECT_EQ(f.dialogs.errors[0], QString::fromUtf8("'abc' is not a valid floating point value — DX (m)"));
    EXPECT_EQ(f.app.windows.dados->focusWidget(), f.app.windows.dados->Edit[7]);
    EXPECT_TRUE(f.projectFolders().empty());
}

TEST(SmallScreen, EveryPartOfABigWindowCanBeReached)
{
    RunFixture f;
    f.main->showNormal();
    f.main->setGeometry(0, 0, 1366, 768);
    QApplication::processEvents();
    for (QWidget* form : {static_cast<QWidget*>(f.app.windows.mapa), static_cast<QWidget*>(f.app.windows.observacao)}) {
        f.main->showWindow(form, true);
        QApplication::processEvents();
        auto* child = qobject_cast<QMdiSubWindow*>(form->parentWidget());
        ASSERT_NE(child, nullptr);
        QMdiArea* area = f.main->mdiArea();
        EXPECT_GE(child->y(), 0);
        const int hiddenBelow = child->geometry().bottom() - area->viewport()->height();
        if (hiddenBelow > 0) {
            EXPECT_GE(area->verticalScrollBar()->maximum(), hiddenBelow) << form->objectName().toStdString();
        }
        for (const QPushButton* button : form->findChildren<QPushButton*>()) {
            if (button->isVisibleTo(form)) {
                EXPECT_GE(button->height(), button->minimumSizeHint().height()) << button->objectName().toStdString();
            }
        }
    }
}

TEST(StatusBar, ShowsTheCurrentProjectsName)
{
    RunFixture f;
    const auto* panel = f.main->statusBar()->findChild<QLabel*>("ProjectPanel");
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->text(), "");
    f.runAs("Teste");
    EXPECT_EQ(panel->text(), "Projeto: Teste");
}
