// Runs the desktop refuses before it asks for a name or writes anything: a grid
// step that runs backwards, and times that would share one file name, in the
// window's language.
#include "RunFixture.h"
#include "frame/LanguageLoader.h"

#include <QComboBox>
#include <gtest/gtest.h>

using namespace kavrin;
using kavrin::test::RunFixture;

TEST(RunRefusals, AGridStepThatIsNotPositiveOrTimesOfOneFileNameAreRefusedInTheWindowsLanguage)
{
    struct Case {
        std::vector<std::pair<int, const char*>> texts;
        const char* portuguese;
        const char* english;
    };
    const Case cases[] = {
        {{{7, "-10"}}, "O passo DX da malha deve ser maior que zero", "The grid step DX must be greater than zero"},
        {{{9, "-10"}}, "O passo DY da malha deve ser maior que zero", "The grid step DY must be greater than zero"},
        {{{11, "1"}, {12, "1.000000000000005"}, {13, "1e-15"}},
         "Os tempos 1 e 1.0000000000000011 seriam gravados no mesmo arquivo T1",
         "The times 1 and 1.0000000000000011 would both be written to the file T1"},
    };
    for (const Case& c : cases) {
        for (bool english : {false, true}) {
            RunFixture f;
            if (english) LoadLanguage(f.app, Language::English);
            for (const auto& [edit, text] : c.texts) f.type(edit, text);
            f.dialogs.projectNames = {QString("Teste")};
            f.run();
            ASSERT_EQ(f.dialogs.notices.size(), 1);
            EXPECT_TRUE(f.dialogs.notices[0].startsWith(QString::fromUtf8(english ? c.english : c.portuguese)))
                << f.dialogs.notices[0].toStdString();
            EXPECT_TRUE(f.projectFolders().empty());
            EXPECT_EQ(f.dialogs.projectNameRequests, 0);
        }
    }
}

TEST(RunRefusals, ValuesNoAquiferOrSourceCanHaveAreRefusedNamingTheFieldsCaption)
{
    struct Case {
        int edit;
        const char* text;
        const char* portuguese;
        const char* english;
    };
    const Case cases[] = {
        {17, "0", "O campo \"Porosidade efetiva\" deve ser maior que 0 e no máximo 1.",
         "The field \"Effective porosity\" must be greater than 0 and at most 1."},
        {17, "2", "O campo \"Porosidade efetiva\" deve ser maior que 0 e no máximo 1.",
         "The field \"Effective porosity\" must be greater than 0 and at most 1."},
        {14, "-1", "O campo \"Coef. de dispersão em X (m)\" deve ser um número finito maior ou igual a 0.", nullptr},
        {21, "-0.1", "O campo \"Taxa de decaimento (dias-1)\" deve ser um número finito maior ou igual a 0.", nullptr},
    };
    for (const Case& c : cases) {
        for (bool english : {false, true}) {
            RunFixture f;
            if (english) LoadLanguage(f.app, Language::English);
            f.type(c.edit, c.text);
            f.dialogs.projectNames = {QString("Teste")};
            f.run();
            ASSERT_EQ(f.dialogs.notices.size(), 1) << c.text;
            const QString expected = english ? QString("The field \"%1\" ").arg(f.app.windows.dados->fieldCaption(c.edit))
                                             : QString::fromUtf8(c.portuguese);
            if (english && c.english)
                EXPECT_EQ(f.dialogs.notices[0], QString::fromUtf8(c.english));
            else
                EXPECT_TRUE(f.dialogs.notices[0].startsWith(expected)) << f.dialogs.notices[0].toStdString();
            EXPECT_TRUE(f.projectFolders().empty());
            EXPECT_EQ(f.dialogs.projectNameRequests, 0);
        }
    }
}

// Nothing to decide about the earlier results when the run will not start.
TEST(RunRefusals, AnImpossibleValueIsRefusedBeforeTheEarlierResultsAreAskedAbout)
{
    RunFixture f;
    f.runAs("Old");
    f.dialogs.notices.clear();
    f.type(17, "0");
    f.run();
    EXPECT_TRUE(f.dialogs.questions.isEmpty());
    ASSERT_EQ(f.dialogs.notices.size(), 1);
    EXPECT_TRUE(f.app.project.ResultsExist);
    EXPECT_EQ(f.app.project.ProjectName, "Old");
    EXPECT_TRUE(f.exists("Old/T0.txt"));
}

// Right after start no order is in effect: an order the table does not hold
// would write 0 everywhere, so the run is refused; once a run has put an order
// in effect, that order goes on being used, as the order table has it.
TEST(RunRefusals, AnOrderOutsideTheTableIsRefusedWhileNoOrderIsInEffect)
{
    for (bool english : {false, true}) {
        RunFixture f;
        if (english) LoadLanguage(f.app, Language::English);
        f.app.windows.dados->ComboBox1->setEditText("10");
        f.dialogs.projectNames = {QString("Teste")};
        f.run();
        ASSERT_EQ(f.dialogs.notices.size(), 1);
        EXPECT_EQ(f.dialogs.notices[0],
                  english ? QString::fromUtf8("The order 10 is not in the Gauss-Legendre table. Choose 4, 20, 60, 104 or 256 in "
                                              "\"Number of intervals\".")
                          : QString::fromUtf8("A ordem 10 não está na tabela de Gauss-Legendre. Escolha 4, 20, 60, 104 ou 256 em "
                                              "\"Nº de intervalos\"."));
        EXPECT_TRUE(f.projectFolders().empty());
        EXPECT_EQ(f.dialogs.projectNameRequests, 0);
    }
    RunFixture f;
    f.runAs("Sixty");
    ASSERT_EQ(f.app.quadrature.GaussN, 60);
    const QStringList completed = f.dialogs.notices;  // the run's own end
    f.dialogs.notices.clear();
    f.app.windows.dados->ComboBox1->setEditText("10");
    f.runAs("Ten");
    EXPECT_EQ(f.dialogs.notices, completed);
    EXPECT_TRUE(f.exists("Ten/T0.txt"));
    EXPECT_EQ(f.app.quadrature.GaussN, 60);
}
