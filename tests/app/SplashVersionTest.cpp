#include "GuiFixture.h"
#include "frame/TFormEntrada.h"
#include "program/ProgramVersion.h"

#include <QLabel>
#include <gtest/gtest.h>

using namespace kavrin;
using kavrin::test::GuiFixture;

// The splash and About box name the version the package and --version give.
TEST(SplashVersion, TheContactLinesEndWithTheProgramsVersion)
{
    GuiFixture f;
    f.start();
    const QString lines = f.app.windows.entrada->findChild<QLabel*>("Label2")->text();
    const QString version = QString::fromUtf8(kProgramVersion.data(), static_cast<qsizetype>(kProgramVersion.size()));
    EXPECT_TRUE(lines.endsWith(QString::fromUtf8("versão ") + version)) << lines.toStdString();
}
