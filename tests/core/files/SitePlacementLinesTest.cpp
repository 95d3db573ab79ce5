#include "files/SitePlacementLines.h"
#include "TestSupport.h"
#include "files/ProjectFile.h"
#include "text/Errors.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace kavrin;
using kavrin::test::FailureText;
using kavrin::test::ReadBytes;
using kavrin::test::TempFolder;
using kavrin::test::WriteBytes;

namespace {

void writeProject(const std::string& path, const ParameterTexts& texts)
{
    WriteProjectFile(path, "Teste", "12-10-26 01-12-17", texts, "/root/KAVRIN/");
}

}  // namespace

TEST(SitePlacementLines, APlacementFollowsTheSourceLinesAndReadsBackIntoTheDataWindowsTexts)
{
    TempFolder folder;
    const std::string plain = folder.path() + "plain.kvr", placed = folder.path() + "placed.kvr";
    writeProject(plain, InitialParameterTexts());
    const std::string twentyFive = ReadBytes(plain);

    ParameterTexts texts = InitialParameterTexts();
    texts.source = {{"ControlPlaneX", "40"}};
    texts.site = {"332150,5", "7394820", "", "EPSG:31983"};
    writeProject(placed, texts);
    EXPECT_EQ(ReadBytes(placed), twentyFive + "\r\nControlPlaneX=40\r\nEasting=332150,5\r\nNorthing=7394820\r\nCRS=EPSG:31983");

    const ProjectFileContents back = ReadProjectFile(placed);
    EXPECT_EQ(back.texts.site, texts.site);
    EXPECT_TRUE(back.namedLines.empty());
    ParameterTexts window = InitialParameterTexts();
    ApplyProjectTexts(window, back, ',');
    EXPECT_EQ(window.site, texts.site);
    // A project without a placement takes the window's away.
    ApplyProjectTexts(window, ReadProjectFile(plain), ',');
    EXPECT_TRUE(window.site.empty());
}

TEST(SitePlacementLines, AValueThatIsNotAFiniteNumberIsRefusedOnReadingAndBeforeWriting)
{
    struct Case {
        std::string line, message;
    };
    const Case cases[] = {
        {"Easting=abc", "Easting takes a finite number of metres, not \"abc\"."},
        {"Northing=1e400", "Northing takes a finite number of metres, not \"1e400\"."},
        {"Azimuth=nan", "Azimuth takes a finite number of degrees clockwise from grid north, not \"nan\"."},
        {"CRS=", "CRS takes an EPSG code (EPSG:31983), a WKT or a PROJ text, not \"\"."},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        const std::string path = folder.path() + "p.kvr";
        writeProject(path, InitialParameterTexts());
        WriteBytes(path, ReadBytes(path) + "\r\n" + c.line);
        EXPECT_EQ(FailureText([&] { ReadProjectFile(path); }), path + ", line 26: " + c.message) << c.line;

        const std::size_t equals = c.line.find('=');
        ParameterTexts texts = InitialParameterTexts();
        *SitePlacementText(texts.site, c.line.substr(0, equals)) = c.line.substr(equals + 1);
        const std::string refused = folder.path() + "refused.kvr";
        if (c.line != "CRS=") {  // an empty text is no line
            EXPECT_NE(FailureText([&] { writeProject(refused, texts); }).find(c.message), std::string::npos) << c.line;
        }
        EXPECT_FALSE(std::filesystem::exists(refused));
    }
}

TEST(SitePlacement, TheLocalAxesTurnOntoTheMapAsTheFlowsAzimuthSays)
{
    EXPECT_FALSE(SitePlacementOf({}).has_value());
    EXPECT_EQ(FailureText([] {
                  SitePlacementOf({"1", "2", "inf", ""});
              }),
              "Azimuth takes a finite number of degrees clockwise from grid north, not \"inf\".");
    const SitePlacement placement = *SitePlacementOf({"1000,5", "2000", "", "EPSG:31983"});
    EXPECT_EQ(placement.easting, 1000.5);
    EXPECT_EQ(placement.azimuth, 0);
    struct Case {
        double azimuth, x, y, east, north;
    };
    // Flow to the north: +y (left of the flow) is west; to the east: +y is north.
    const Case cases[] = {{0, 10, 3, 1000.5 - 3, 2010},
                          {90, 10, 3, 1010.5, 2003},
                          {-90, 10, 3, 990.5, 1997},
                          {450, 10, 3, 1010.5, 2003},
                          {30, 10, 0, 1005.5, 2000 + 10 * std::sqrt(3.0) / 2}};
    for (const Case& c : cases) {
        SitePlacement turned = placement;
        turned.azimuth = c.azimuth;
        const SitePoint point = ToSite(turned, c.x, c.y);
        EXPECT_NEAR(point.easting, c.east, 1e-9) << c.azimuth;
        EXPECT_NEAR(point.northing, c.north, 1e-9) << c.azimuth;
    }
}
