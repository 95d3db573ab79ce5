#include "RunFixture.h"
#include "files/ProjectFile.h"
#include "project/SiteExportPanel.h"
#include "project/TFormExportGRD.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

using namespace kavrin;
using kavrin::test::RunFixture;

namespace {

std::string gdalinfo(const std::string& path)
{
    std::string out;
    if (FILE* pipe = ::popen(("gdalinfo '" + path + "' 2>&1").c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
        ::pclose(pipe);
    }
    return out;
}

// Opens the site export from the menu and fills the window as a user would, then presses OK.
void exportToSite(RunFixture& f, SiteExportPanel::Format format, const std::string& to, const SitePlacementTexts& placement)
{
    TFormExportGRD* window = f.app.windows.exportGrd;
    QTimer::singleShot(0, window, [&, window] {
        EXPECT_TRUE(window->SitePanel->isVisible());
        window->Edit1->setText(QString::fromStdString(f.root() + "Teste/T2500.txt"));
        window->Edit2->setText(QString::fromStdString(to));
        window->SitePanel->SiteFormat->setCurrentIndex(static_cast<int>(format));
        window->SitePanel->SiteEasting->setText(QString::fromStdString(placement.easting));
        window->SitePanel->SiteNorthing->setText(QString::fromStdString(placement.northing));
        window->SitePanel->SiteAzimuth->setText(QString::fromStdString(placement.azimuth));
        window->SitePanel->SiteCrs->setText(QString::fromStdString(placement.crs));
        window->findChild<QPushButton*>("BitBtn1")->click();
    });
    f.main->action("ExportSiteMap")->trigger();
    EXPECT_TRUE(window->SitePanel->isHidden()) << "the grid and table exports keep the window as it was";
}

}  // namespace

TEST(SiteExportWindow, AGeoTiffIsPlacedAsTheWindowSaysAndThePlacementIsSavedWithTheProject)
{
    RunFixture f;
    f.runAs("Teste");
    f.dialogs.notices.clear();
    const SitePlacementTexts placement{"1000,5", "2000", "90", "EPSG:31983"};
    exportToSite(f, SiteExportPanel::Format::GeoTiff, f.folder.path() + "plume", placement);
    ASSERT_TRUE(f.dialogs.errors.isEmpty()) << f.dialogs.errors.join("|").toStdString();
    EXPECT_TRUE(f.dialogs.notices.isEmpty());
    const std::string info = gdalinfo(f.folder.path() + "plume.tif");
    EXPECT_NE(info.find("ID[\"EPSG\",31983]]\n"), std::string::npos) << info;
    EXPECT_NE(info.find("Pixel Size = (10.000000000000000,-10.000000000000000)"), std::string::npos) << info;
    EXPECT_EQ(f.app.texts.site, placement);

    f.dialogs.files = {QString::fromStdString(f.folder.path() + "proj.kvr")};
    f.main->action("Salvar2")->trigger();
    EXPECT_EQ(ReadProjectFile(f.folder.path() + "proj.kvr").texts.site, placement);

    // Opening the project gives the window its placement back; a new project has none.
    f.main->action("Novo1")->trigger();
    EXPECT_TRUE(f.app.texts.site.empty());
    f.dialogs.files = {QString::fromStdString(f.folder.path() + "proj.kvr")};
    f.main->action("Abrir2")->trigger();
    EXPECT_EQ(f.app.texts.site, placement);
}

TEST(SiteExportWindow, WithoutAPlacementTheContoursAreLocalAndTheUserIsTold)
{
    RunFixture f;
    f.runAs("Teste");
    f.dialogs.notices.clear();
    exportToSite(f, SiteExportPanel::Format::Contours, f.folder.path() + "lines.geojson", {});
    ASSERT_TRUE(f.dialogs.errors.isEmpty()) << f.dialogs.errors.join("|").toStdString();
    EXPECT_EQ(f.dialogs.notices, QStringList{f.app.text(AddedText::SiteLocalCoordinates)});
    EXPECT_TRUE(std::filesystem::exists(f.folder.path() + "lines.geojson"));
}

// The map picture with its world file, and the CRS in a .prj beside them
// when the placement names one.
TEST(SiteExportWindow, TheMapsCrsGoesBesideItsWorldFile)
{
    RunFixture f;
    f.runAs("Teste");
    struct Case {
        std::string name, crs;
        bool projection;
    };
    for (const Case& c : {Case{"placed", "EPSG:31983", true}, Case{"nocrs", "", false}}) {
        f.dialogs.errors.clear();
        exportToSite(f, SiteExportPanel::Format::MapWorld, f.folder.path() + c.name + ".bmp", {"1000", "2000", "90", c.crs});
        ASSERT_TRUE(f.dialogs.errors.isEmpty()) << f.dialogs.errors.join("|").toStdString();
        EXPECT_TRUE(std::filesystem::exists(f.folder.path() + c.name + ".bpw")) << c.name;
        EXPECT_EQ(std::filesystem::exists(f.folder.path() + c.name + ".prj"), c.projection) << c.name;
    }
    EXPECT_EQ(kavrin::test::ReadBytes(f.folder.path() + "placed.prj").rfind("PROJCS[\"SIRGAS_2000_UTM_Zone_23S\"", 0), 0u);

    exportToSite(f, SiteExportPanel::Format::MapWorld, f.folder.path() + "bad.bmp", {"1000", "2000", "0", "EPSG:99999999"});
    ASSERT_EQ(f.dialogs.errors.size(), 1);
    EXPECT_TRUE(f.dialogs.errors[0].startsWith("The CRS \"EPSG:99999999\" is not one GDAL knows"))
        << f.dialogs.errors[0].toStdString();
    for (const char* name : {"bad.bmp", "bad.bpw", "bad.prj"})
        EXPECT_FALSE(std::filesystem::exists(f.folder.path() + name)) << name;
}

// The same picture exported again without a CRS takes its old .prj away.
TEST(SiteExportWindow, ThePictureExportedAgainWithoutACrsKeepsNoOldPrj)
{
    RunFixture f;
    f.runAs("Teste");
    const std::string picture = f.folder.path() + "map.bmp", prj = f.folder.path() + "map.prj";
    exportToSite(f, SiteExportPanel::Format::MapWorld, picture, {"1000", "2000", "90", "EPSG:31983"});
    ASSERT_TRUE(std::filesystem::exists(prj));
    exportToSite(f, SiteExportPanel::Format::MapWorld, picture, {"1000", "2000", "90", ""});
    ASSERT_TRUE(f.dialogs.errors.isEmpty()) << f.dialogs.errors.join("|").toStdString();
    EXPECT_TRUE(std::filesystem::exists(f.folder.path() + "map.bpw"));
    EXPECT_FALSE(std::filesystem::exists(prj));
}

TEST(SiteExportWindow, APlacementThatCannotBeIsRefusedAndNothingIsWrittenOrKept)
{
    RunFixture f;
    f.runAs("Teste");
    f.dialogs.notices.clear();
    exportToSite(f, SiteExportPanel::Format::GeoTiff, f.folder.path() + "bad", {"1000", "2000", "norte", ""});
    ASSERT_EQ(f.dialogs.errors.size(), 1);
    EXPECT_TRUE(f.dialogs.errors[0].startsWith("Azimuth takes a finite number")) << f.dialogs.errors[0].toStdString();
    exportToSite(f, SiteExportPanel::Format::GeoTiff, f.folder.path() + "bad", {"1000", "2000", "0", "EPSG:99999999"});
    ASSERT_EQ(f.dialogs.errors.size(), 2);
    EXPECT_TRUE(f.dialogs.errors[1].startsWith("The CRS \"EPSG:99999999\" is not one GDAL knows"))
        << f.dialogs.errors[1].toStdString();
    EXPECT_FALSE(std::filesystem::exists(f.folder.path() + "bad.tif"));
    EXPECT_TRUE(f.app.texts.site.empty());
}
