#include "BatchProgram.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <numbers>
#include <sstream>

using kavrin::test::BatchResult;
using kavrin::test::CrLfLines;
using kavrin::test::ReadBytes;
using kavrin::test::RunBatch;
using kavrin::test::ShellQuoted;
using kavrin::test::TempFolder;

namespace {

// The project every test exports: the initial model (x 0 … 100, y −30 … 30)
// on a 2 m grid, placed with its flow 30° east of grid north.
constexpr double kEasting = 332150, kNorthing = 7394820, kAzimuth = 30, kStep = 2, kY0 = -30;

struct Site {
    double east, north;
};

// The placement's formula, written out here apart from the program's.
Site siteOf(double x, double y)
{
    const double a = kAzimuth * std::numbers::pi / 180;
    return {kEasting + x * std::sin(a) - y * std::cos(a), kNorthing + x * std::cos(a) + y * std::sin(a)};
}

std::string commandOutput(const std::string& command)
{
    std::string out;
    if (FILE* pipe = ::popen((command + " 2>&1").c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
        ::pclose(pipe);
    }
    return out;
}

std::string number(double value)
{
    std::ostringstream text;
    text.precision(17);
    text << value;
    return text.str();
}

class GeoExport : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::vector<std::string> model = {"run", "--set", "DX=2", "--set", "DY=2", "--set", "DT=1250", "--name"};
        std::vector<std::string> placed = model, plain = model;
        placed.insert(placed.end(), {"P", "--set", "Easting=332150", "--set", "Northing=7394820", "--set", "Azimuth=30", "--set",
                                     "CRS=EPSG:31983", "--save", project});
        plain.insert(plain.end(), {"L", "--save", plainProject});
        ASSERT_EQ(batch(placed).status, 0);
        ASSERT_EQ(batch(plain).status, 0);
        for (const std::string& line : CrLfLines(ReadBytes(folder.path() + "KAVRIN/P/T2500.txt"))) {
            std::vector<double> row;
            std::istringstream values(line);
            for (std::string value; values >> value;) row.push_back(std::stod(value));
            rows.push_back(row);
        }
    }

    BatchResult batch(const std::vector<std::string>& args) { return RunBatch(folder, args, "."); }

    // The time file's value at the node (ix, iy), both from 0.
    double node(int ix, int iy) const { return rows.at(static_cast<std::size_t>(iy)).at(static_cast<std::size_t>(ix)); }

    std::string valueAt(const std::string& path, Site site) const
    {
        return commandOutput("gdallocationinfo -valonly -geoloc " + ShellQuoted(path) + " " + number(site.east) + " " +
                             number(site.north));
    }

    TempFolder folder;
    const std::string project = folder.path() + "p.kvr", plainProject = folder.path() + "plain.kvr";
    std::vector<std::vector<double>> rows;  // of T2500.txt
};

// The plume's axis (y = 0, row 15) crosses `level` between two nodes: there, interpolated.
double axisCrossing(const std::vector<double>& axis, double level)
{
    for (std::size_t i = 0; i + 1 < axis.size(); ++i)
        if (axis[i] >= level && axis[i + 1] < level)
            return (static_cast<double>(i) + (axis[i] - level) / (axis[i] - axis[i + 1])) * kStep;
    return NAN;
}

// The least distance from `point` to the lines of a WKT LINESTRING text.
double distanceToLine(const std::string& wkt, Site point)
{
    std::string numbers = wkt.substr(wkt.find('(') + 1);
    for (char& c : numbers)
        if (c == ',' || c == ')') c = ' ';
    std::istringstream in(numbers);
    std::vector<Site> vertices;
    for (double e, n; in >> e >> n;) vertices.push_back({e, n});
    double least = INFINITY;
    for (std::size_t i = 0; i + 1 < vertices.size(); ++i) {
        const Site a = vertices[i], b = vertices[i + 1];
        const double dx = b.east - a.east, dy = b.north - a.north;
        const double t = std::clamp(((point.east - a.east) * dx + (point.north - a.north) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
        least = std::min(least, std::hypot(a.east + t * dx - point.east, a.north + t * dy - point.north));
    }
    return least;
}

}  // namespace

TEST_F(GeoExport, TheGeoTiffHoldsEachNodesValueAtItsPlaceOnTheSite)
{
    const std::string tif = folder.path() + "plume.tif";
    const BatchResult result = batch({"export", "geotiff", "--project", project, "--time", "2500", "--to", tif});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, tif + "\n");

    const std::string info = commandOutput("gdalinfo " + ShellQuoted(tif));
    EXPECT_NE(info.find("ID[\"EPSG\",31983]]\n"), std::string::npos) << info;
    EXPECT_NE(info.find("Type=Float32"), std::string::npos);
    EXPECT_NE(info.find("NoData Value=-9999"), std::string::npos);
    EXPECT_NE(info.find("COMPRESSION=DEFLATE"), std::string::npos);
    EXPECT_NE(info.find("Size is 51, 31"), std::string::npos);
    // The turn is in the geotransform: a step along x is DX·(sin a, cos a) on the map.
    EXPECT_NE(info.find("GeoTransform =\n  332122.6532124827, 0.9999999999999999, 1.732050807568877\n"
                        "  7394834.633974596, 1.732050807568877, -0.9999999999999999"),
              std::string::npos)
        << info;

    for (const auto& [ix, iy] : {std::pair{0, 15}, std::pair{20, 18}, std::pair{37, 9}}) {
        const double expected = node(ix, iy);
        const double read = std::stod(valueAt(tif, siteOf(ix * kStep, kY0 + iy * kStep)));
        EXPECT_NEAR(read, expected, 1e-6 * expected) << ix << ", " << iy;
    }
}

TEST_F(GeoExport, TheNorthUpWarpKeepsTheValueAtTheSourceCentre)
{
    const std::string tif = folder.path() + "north.tif";
    const BatchResult result =
        batch({"export", "geotiff", "--project", project, "--time", "2500", "--north-up", "0.5", "--to", tif});
    ASSERT_EQ(result.status, 0) << result.err;
    const std::string info = commandOutput("gdalinfo " + ShellQuoted(tif));
    EXPECT_NE(info.find("Pixel Size = (0.500000000000000,-0.500000000000000)"), std::string::npos) << info;
    EXPECT_NE(info.find("ID[\"EPSG\",31983]]\n"), std::string::npos);
    const double centre = node(0, 15);
    EXPECT_NEAR(std::stod(valueAt(tif, {kEasting, kNorthing})), centre, 1e-6 * centre);
    // Beyond the turned grid's corners the north-up cells hold no data.
    EXPECT_EQ(valueAt(tif, {kEasting - 25, kNorthing + 100}), "-9999\n");
}

TEST_F(GeoExport, TheContourAtALevelPassesThroughWhereTheAxisCrossesIt)
{
    const std::string gpkg = folder.path() + "contours.gpkg";
    const BatchResult result =
        batch({"export", "contours", "--project", project, "--time", "2500", "--levels", "0.05,0.2", "--to", gpkg});
    ASSERT_EQ(result.status, 0) << result.err;
    const std::string summary = commandOutput("ogrinfo -so " + ShellQuoted(gpkg) + " contours");
    EXPECT_NE(summary.find("Feature Count: 2"), std::string::npos) << summary;
    EXPECT_NE(summary.find("ID[\"EPSG\",31983]]"), std::string::npos);
    EXPECT_NE(summary.find("level: Real"), std::string::npos);
    EXPECT_NE(summary.find("time: Real"), std::string::npos);

    const std::string all = commandOutput("ogrinfo -q " + ShellQuoted(gpkg) + " contours -where \"level = 0.05\"");
    EXPECT_NE(all.find("time (Real) = 2500"), std::string::npos) << all;
    const std::size_t line = all.find("LINESTRING");
    ASSERT_NE(line, std::string::npos) << all;
    const double crossing = axisCrossing(rows[15], 0.05);
    ASSERT_TRUE(std::isfinite(crossing));
    const double distance = distanceToLine(all.substr(line, all.find('\n', line) - line), siteOf(crossing, 0));
    RecordProperty("distance_m", std::to_string(distance));
    EXPECT_LT(distance, kStep / 2);
}

TEST_F(GeoExport, FilledLevelsAreGeoJsonPolygonsBetweenTheLevels)
{
    const std::string json = folder.path() + "levels.geojson";
    const BatchResult result =
        batch({"export", "contours", "--project", project, "--time", "2500", "--levels", "0.2,0.05", "--filled", "--to", json});
    ASSERT_EQ(result.status, 0) << result.err;
    const std::string all = commandOutput("ogrinfo -al -q " + ShellQuoted(json));
    EXPECT_NE(all.find("level_min (Real) = 0.05\n  level_max (Real) = 0.2\n  time (Real) = 2500"), std::string::npos) << all;
    EXPECT_NE(all.find("level_min (Real) = 0.2\n  time (Real) = 2500"), std::string::npos) << all;  // no upper level
    EXPECT_NE(all.find("POLYGON"), std::string::npos);
    EXPECT_NE(commandOutput("ogrinfo -al -so " + ShellQuoted(json)).find("Feature Count: 3"), std::string::npos);
}

TEST_F(GeoExport, WellsArePointsAtTheirPlaceWithObservedCalculatedResidualAndWeight)
{
    const std::string table = folder.path() + "obs.txt", wells = folder.path() + "wells.gpkg";
    kavrin::test::WriteBytes(table, "0.2 20 4 0 2500 2\r\n0.01 60 -6 0 1250\r\n");
    const BatchResult result = batch({"export", "wells", "--project", project, "--obs", table, "--to", wells});
    ASSERT_EQ(result.status, 0) << result.err;
    const std::string all = commandOutput("ogrinfo -al -q " + ShellQuoted(wells));
    EXPECT_NE(commandOutput("ogrinfo -al -so " + ShellQuoted(wells)).find("ID[\"EPSG\",31983]]"), std::string::npos);
    std::istringstream features(all);
    int found = 0;
    const std::pair<double, double> points[] = {{20, 4}, {60, -6}};
    std::map<std::string, double> fields;
    for (std::string line; std::getline(features, line);) {
        const std::size_t equals = line.find(") = ");
        if (equals != std::string::npos) {
            fields[line.substr(2, line.find(' ', 2) - 2)] = std::atof(line.substr(equals + 4).c_str());
            continue;
        }
        if (line.find("POINT (") == std::string::npos) continue;
        const auto [x, y] = points[found++];
        double east = 0, north = 0;
        std::sscanf(line.c_str(), " POINT (%lf %lf)", &east, &north);
        EXPECT_NEAR(east, siteOf(x, y).east, 1e-6);
        EXPECT_NEAR(north, siteOf(x, y).north, 1e-6);
        EXPECT_EQ(fields["x"], x);
        EXPECT_GT(fields["calculated"], 0);
        EXPECT_NEAR(fields["residual"], fields["observed"] - fields["calculated"], 1e-12);
        EXPECT_EQ(fields["weight"], found == 1 ? 2 : 1);
        EXPECT_EQ(fields["observed"], found == 1 ? 0.2 : 0.01);
    }
    EXPECT_EQ(found, 2) << all;
}

TEST_F(GeoExport, TheMapPictureLiesOnTheSiteThroughItsWorldFile)
{
    const std::string bmp = folder.path() + "map.bmp";
    const BatchResult result = batch({"export", "mapworld", "--project", project, "--time", "2500", "--to", bmp});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, bmp + "\n" + folder.path() + "map.bpw\n");
    // The plot is 550 pixels for the 100 m along x, turned 30° as the placement says.
    const std::vector<std::string> world = CrLfLines(ReadBytes(folder.path() + "map.bpw"));
    ASSERT_EQ(world.size(), 6u);
    EXPECT_NEAR(std::stod(world[0]), 100.0 / 550 * 0.5, 1e-12);
    EXPECT_NEAR(std::stod(world[1]), 100.0 / 550 * std::sqrt(3.0) / 2, 1e-12);
    // The source centre (x = 0 on the plot's left edge, y = 0 on its centre line) and the
    // far end of the axis land on their pixels.
    const auto pixelOf = [&](Site site) {
        const std::string report =
            commandOutput("gdallocationinfo -geoloc " + ShellQuoted(bmp) + " " + number(site.east) + " " + number(site.north));
        const std::size_t at = report.find("Location: (");
        return at == std::string::npos ? std::string() : report.substr(at, report.find(')', at) + 1 - at);
    };
    EXPECT_EQ(pixelOf(siteOf(0, 0)), "Location: (50P,320L)");
    EXPECT_EQ(pixelOf(siteOf(100, 0)), "Location: (600P,320L)");
}

// Beside the picture and its world file, the placement's CRS as ESRI's WKT,
// which GIS programs read to know the system of the world file's numbers.
TEST_F(GeoExport, TheMapPicturesCrsIsInAPrjFileBesideIt)
{
    const std::string bmp = folder.path() + "map.bmp", prj = folder.path() + "map.prj";
    const BatchResult result = batch({"export", "mapworld", "--project", project, "--time", "2500", "--to", bmp});
    ASSERT_EQ(result.status, 0) << result.err;
    const std::string text = ReadBytes(prj);
    EXPECT_EQ(text.rfind("PROJCS[\"SIRGAS_2000_UTM_Zone_23S\",GEOGCS[\"GCS_SIRGAS_2000\"", 0), 0u) << text;
    EXPECT_EQ(text.find('\n'), text.size() - 1) << "one line";
    // GDAL reads the file back as the project's CRS.
    const std::string identified = commandOutput("gdalsrsinfo -e " + ShellQuoted(prj));
    EXPECT_NE(identified.find("EPSG:31983"), std::string::npos) << identified;

    // Without a CRS, or without a placement, there is no system to name.
    struct Case {
        std::vector<std::string> more;
        std::string project;
    };
    for (const Case& c : {Case{{"--set", "CRS="}, project}, Case{{}, plainProject}}) {
        std::filesystem::remove(prj);
        std::vector<std::string> args = {"export", "mapworld", "--project", c.project, "--time", "2500", "--to", bmp};
        args.insert(args.end() - 2, c.more.begin(), c.more.end());
        ASSERT_EQ(batch(args).status, 0) << c.project;
        EXPECT_TRUE(std::filesystem::exists(folder.path() + "map.bpw"));
        EXPECT_FALSE(std::filesystem::exists(prj)) << c.project;
    }

    // A CRS GDAL does not know writes none of the three.
    const std::string other = folder.path() + "other.bmp";
    const BatchResult refused =
        batch({"export", "mapworld", "--project", project, "--time", "2500", "--set", "CRS=EPSG:99999999", "--to", other});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("The CRS \"EPSG:99999999\" is not one GDAL knows ("), std::string::npos) << refused.err;
    for (const char* name : {"other.bmp", "other.bpw", "other.prj"})
        EXPECT_FALSE(std::filesystem::exists(folder.path() + name)) << name;
}

// A picture exported again without a CRS takes away the .prj an earlier export
// of that name left, and only that file; a refused export leaves it.
TEST_F(GeoExport, AnExportWithoutACrsRemovesTheOldPrjOfItsName)
{
    const std::string bmp = folder.path() + "map.bmp", prj = folder.path() + "map.prj";
    const auto exportTo = [&](const std::string& from, const std::string& to, const std::vector<std::string>& more = {}) {
        std::vector<std::string> args = {"export", "mapworld", "--project", from, "--time", "2500", "--to", to};
        args.insert(args.end() - 2, more.begin(), more.end());
        return batch(args);
    };
    // Without a CRS, and without a placement.
    for (const auto& [from, more] :
         {std::pair{project, std::vector<std::string>{"--set", "CRS="}}, std::pair{plainProject, std::vector<std::string>{}}}) {
        ASSERT_EQ(exportTo(project, bmp).status, 0);
        ASSERT_EQ(exportTo(project, folder.path() + "other.bmp").status, 0);
        ASSERT_TRUE(std::filesystem::exists(prj));
        // Refused (a CRS GDAL does not know): nothing changes.
        EXPECT_EQ(exportTo(from, bmp, {"--set", "CRS=EPSG:99999999"}).status, 1);
        EXPECT_TRUE(std::filesystem::exists(prj));
        const BatchResult result = exportTo(from, bmp, more);
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_TRUE(std::filesystem::exists(folder.path() + "map.bpw"));
        EXPECT_FALSE(std::filesystem::exists(prj)) << from;
        EXPECT_TRUE(std::filesystem::exists(folder.path() + "other.prj")) << "another picture's";
    }
    // A folder of that name is not a leftover of an export.
    std::filesystem::create_directory(prj);
    EXPECT_EQ(exportTo(plainProject, bmp).status, 0);
    EXPECT_TRUE(std::filesystem::is_directory(prj));
}

TEST_F(GeoExport, WithoutAPlacementTheExportIsLocalAndSaysSo)
{
    const std::string tif = folder.path() + "local.tif";
    const BatchResult result = batch({"export", "geotiff", "--project", plainProject, "--time", "2500", "--to", tif});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, tif + "\nThe project has no site placement: the export is in the model's local coordinates (x, y), "
                                "without a CRS.\n");
    const std::string info = commandOutput("gdalinfo " + ShellQuoted(tif));
    EXPECT_EQ(info.find("PROJCRS"), std::string::npos);
    EXPECT_NE(info.find("Origin = (-1.000000000000000,31.000000000000000)\nPixel Size = (2.000000000000000,-2.000000000000000)"),
              std::string::npos)
        << info;

    // The placement changes no Surfer grid and no table.
    for (const std::string kind : {"grd", "txt"}) {
        ASSERT_EQ(batch({"export", kind, "--project", plainProject, "--file", folder.path() + "KAVRIN/L/T2500.txt", "--to",
                         folder.path() + "plain"})
                      .status,
                  0);
        ASSERT_EQ(batch({"export", kind, "--project", project, "--file", folder.path() + "KAVRIN/P/T2500.txt", "--to",
                         folder.path() + "placed"})
                      .status,
                  0);
        EXPECT_EQ(ReadBytes(folder.path() + "plain." + kind), ReadBytes(folder.path() + "placed." + kind)) << kind;
    }
}

TEST_F(GeoExport, EachRefusalSaysWhyAndWritesNothing)
{
    struct Case {
        std::vector<std::string> args;
        std::string message;
        const char* skipDriver = nullptr;
    };
    const std::string out = folder.path() + "out.gpkg";
    const std::vector<std::string> tiff = {"export", "geotiff", "--project", project, "--time", "2500", "--to", out};
    const auto with = [&](std::vector<std::string> more) {
        std::vector<std::string> args = tiff;
        args.insert(args.end() - 2, more.begin(), more.end());
        return args;
    };
    const Case cases[] = {
        {with({"--set", "Azimuth=inf"}), "Azimuth takes a finite number of degrees clockwise from grid north, not \"inf\"."},
        {with({"--set", "Easting=x"}), "Easting takes a finite number of metres, not \"x\"."},
        {{"export", "mapworld", "--project", project, "--time", "2500", "--set", "Azimuth=nan", "--to", out},
         "Azimuth takes a finite number of degrees clockwise from grid north, not \"nan\"."},
        {with({"--set", "Northing=1e999"}), "Northing takes a finite number of metres, not \"1e999\"."},
        {with({"--set", "CRS=EPSG:99999999"}), "The CRS \"EPSG:99999999\" is not one GDAL knows ("},
        {with({"--north-up", "0"}), "The north-up cell size must be a number greater than zero, not 0; nothing was written."},
        {with({"--north-up", "0.001"}), "more than 10000 × 10000; nothing was written."},
        {{"export", "contours", "--project", project, "--time", "2500", "--levels", "0.1,-1", "--to", out},
         "A contour level must be a number greater than zero, not -1; nothing was written."},
        {tiff, "The GDAL of this machine has no GTiff driver; nothing was written.", "GTiff"},
        {{"export", "contours", "--project", project, "--time", "2500", "--to", out},
         "The GDAL of this machine has no GPKG driver; nothing was written.",
         "GPKG"},
        {{"export", "geotiff", "--project", project, "--time", "2500", "--to", project}, " is a file the export reads"},
        {{"export", "geotiff", "--project", project, "--time", "2500", "--to", folder.path() + "KAVRIN/P/x.tif"},
         "lies in the project's results folder"},
    };
    const std::string projectBytes = ReadBytes(project);
    for (const Case& c : cases) {
        if (c.skipDriver) ::setenv("GDAL_SKIP", c.skipDriver, 1);
        const BatchResult result = batch(c.args);
        ::unsetenv("GDAL_SKIP");
        EXPECT_EQ(result.status, 1) << c.message;
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
        EXPECT_FALSE(std::filesystem::exists(out)) << c.message;
        EXPECT_FALSE(std::filesystem::exists(folder.path() + "KAVRIN/P/x.tif"));
        EXPECT_EQ(ReadBytes(project), projectBytes);
        for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
            EXPECT_EQ(entry.path().filename().string().find(".partial"), std::string::npos) << entry.path();
    }
}
