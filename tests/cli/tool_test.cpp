// The `spectrafil` tool as a user meets it: run as a subprocess on files made with GDAL.

#include "raster_fixture.h"
#include "scratch_dir.h"

#include <fourier_filters.h>
#include <grid_files.h>

#include <I2DGridMesh.h>
#include <IBaseDataFloat.h>
#include <ISettings.h>
#include <IUniverse.h>
#include <IWorld.h>

#include <QFile>
#include <QImage>

#include <gdal.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace fs = std::filesystem;
namespace F = I2DFourierFilters;
using Tavorin::I2DGridMesh;
using Tavorin::IBaseData;

namespace {

// The result item of the operation run directly on the file's grid.
const IBaseData* runDirectly(const std::string& path, const std::string& work,
                             const std::function<bool(I2DGridMesh*, IBaseData*)>& operation)
{
    spectrafil::LoadedGrid grid;
    QString error;
    if (!spectrafil::readGrid({QString::fromStdString(path), 1, QString()}, Tavorin::universe()->resetWorld(), grid, error))
        return nullptr;
    Tavorin::ISettings::setTempDir(QString::fromStdString(work));
    const IBaseData* result = nullptr;
    QObject::connect(Tavorin::world(), &Tavorin::IWorld::propertyCreated, [&result](IBaseData* data) { result = data; });
    const bool ok = operation(grid.mesh, grid.data);
    Tavorin::ISettings::setTempDir(QString());
    return ok ? result : nullptr;
}

// A metadata item of the file, or of its first band; empty when absent.
std::string metadata(const std::string& path, const char* key, bool ofBand = false)
{
    GDALDatasetH file = GDALOpen(path.c_str(), GA_ReadOnly);
    const char* value = GDALGetMetadataItem(ofBand ? GDALGetRasterBand(file, 1) : file, key, nullptr);
    const std::string text = value ? value : "";
    GDALClose(file);
    return text;
}

struct Subcommand {
    std::string name;
    QStringList options;
    std::function<bool(I2DGridMesh*, IBaseData*)> direct;
};

} // namespace

TEST(Tool, EachSubcommandWritesWhatItsOperationMakesOnTheSameGrid)
{
    ScratchDir scratch;
    const std::string in = scratch.file("bump.tif");
    writeRaster(in, "GTiff", bumpGrid(24, 20));
    const QString none;
    const std::vector<Subcommand> subcommands = {
        {"lowpass", {"--cutoff", "900"}, [&](auto g, auto d) { return F::lowPass(g, d, 900, none); }},
        {"highpass", {"--cutoff", "900"}, [&](auto g, auto d) { return F::highPass(g, d, 900, none); }},
        {"rtp", {"--inclination", "-60", "--declination", "-15"}, [&](auto g, auto d) { return F::rtp(g, d, -60, -15, none); }},
        {"susceptibility", {"--height", "80", "--field", "29000", "--inclination", "-60", "--declination", "-15", "--attenuate"},
         [&](auto g, auto d) { return F::apparentSusceptibility(g, d, 80, 29000, -60, -15, true, none); }},
        {"density", {}, [&](auto g, auto d) { return F::apparentDensity(g, d, false, none); }},
        {"pseudogravity", {"--field", "29000", "--inclination", "-60", "--declination", "-15"},
         [&](auto g, auto d) { return F::pseudoGravity(g, d, 29000, -60, -15, none); }},
        {"vd", {"--attenuate"}, [&](auto g, auto d) { return F::firstVerticalDerivative(g, d, true, none); }},
        {"hd", {"--method", "ns"}, [&](auto g, auto d) { return F::firstHorizontalDerivative(g, d, F::NorthSouth, false, none); }},
        {"continuation", {"--height", "200"}, [&](auto g, auto d) { return F::continuation(g, d, 200, false, none); }},
        {"strike", {"--strike", "30", "--tolerance", "20", "--cutoff", "600"},
         [&](auto g, auto d) { return F::strike(g, d, 30, 20, 600, none); }},
        {"analytic-signal", {"--threads", "1"}, [&](auto g, auto d) { return F::analyticSignal(g, d, false, none); }},
    };
    for (const Subcommand& sub : subcommands) {
        SCOPED_TRACE(sub.name);
        const std::string out = scratch.file(sub.name + ".tif");
        const ToolRun run = runTool(args({sub.name, in, out}) + sub.options);
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        const IBaseData* direct = runDirectly(in, scratch.file("direct"), sub.direct);
        ASSERT_TRUE(direct);
        const Raster written = readRaster(out);
        EXPECT_EQ(written.geoTransform, readRaster(in).geoTransform);
        const spectrafil::RasterLayout layout = spectrafil::northUpLayout(
            static_cast<I2DGridMesh*>(direct->mesh())->get2DGridGeometry());
        for (int row = 0; row < written.rows; ++row)
            for (int column = 0; column < written.columns; ++column) {
                const unsigned id = layout.hostCell(column, row);
                const double value = written.values[size_t(row) * size_t(written.columns) + size_t(column)];
                ASSERT_EQ(value, direct->hasValue(id) ? double(direct->value(id)) : written.noData) << row << " " << column;
            }
    }
}

TEST(Tool, UsageErrorsExitWith2)
{
    ScratchDir scratch;
    const std::string in = scratch.file("in.tif");
    writeRaster(in, "GTiff", bumpGrid(8, 6));
    const std::string out = scratch.file("out.tif");
    const std::vector<QStringList> usages = {
        {},
        {"frobnicate"},
        args({"lowpass", in, out}),
        args({"lowpass", in, out, "--cutoff", "nan"}),
        args({"rtp", in, out, "--inclination", "60"}),
        args({"lowpass", in, in, "--cutoff", "1000"}),
        args({"lowpass", in, scratch.file("out.grid"), "--cutoff", "1000"}),
        args({"lowpass", in, out, "--cutoff", "1000", "--format", "NoSuchDriver"}),
        args({"lowpass", in, out, "--cutoff", "1000", "--band", "0"}),
        args({"lowpass", in, out, "--cutoff", "1000", "--preview", scratch.file("p.pdf")}),
        {"rpt"},
        args({"lowpass", in, out, "--cutoff", "1000", "--threads", "0"}),
    };
    const std::string before = fileBytes(in);
    for (const QStringList& usage : usages) {
        SCOPED_TRACE(usage.join(' ').toStdString());
        const ToolRun run = runTool(usage);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_FALSE(run.err.isEmpty());
        EXPECT_FALSE(fs::exists(out));
    }
    EXPECT_TRUE(runTool(args({"lowpass", in, out, "--cutoff", "1000", "--threads", "1.5"})).err.contains("1.5"));
    EXPECT_EQ(fileBytes(in), before);
    EXPECT_TRUE(runTool({"rpt", "a.tif", "b.tif"}).err.contains(QStringLiteral("unknown command 'rpt'; did you mean 'rtp'?")));
}

// --igrf takes the field at the grid's centre from IGRF-14 and says what it took; an explicit
// value overrides the model's.
TEST(Tool, FieldFromIgrfAtTheGridsCentre)
{
    ScratchDir scratch;
    Raster grid = bumpGrid(24, 20);
    grid.crsWkt = epsgWkt(32754); // centred on 21.958 S 140.667 E
    grid.geoTransform = {{465617.206 - 1200.0, 100, 0, 7571784.480 + 1000.0, 0, -100}};
    writeRaster(scratch.file("in.tif"), "GTiff", grid);
    const ToolRun run = runTool(args({"pseudogravity", scratch.file("in.tif"), scratch.file("out.tif"), "--igrf", "1990.5",
                                      "--declination", "10", "-q"}));
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.err, QStringLiteral("IGRF-14 at 21.958\u00b0S 140.667\u00b0E, 1990.50: inclination -53.18\u00b0, "
                                      "declination 6.67\u00b0, intensity 51996 nT\n"));
    const std::string parameters = metadata(scratch.file("out.tif"), "FILTER_PARAMETERS");
    EXPECT_EQ(parameters.rfind("field 51995.88 nT, inclination -53.17847 deg, declination 10 deg", 0), 0u) << parameters;
}

// A result says what it is: units, filter, parameters and source, where its format keeps them,
// and nowhere the hidden folder it was written in.
TEST(Tool, ResultsCarryTheirUnitsFilterAndSource)
{
    ScratchDir scratch;
    const std::string in = scratch.file("survey.tif");
    Raster survey = bumpGrid(20, 16);
    survey.units.clear();
    writeRaster(in, "GTiff", survey);
    ASSERT_EQ(runTool(args({"lowpass", in, scratch.file("low.tif"), "--cutoff", "800", "--units", "nT"})).exitCode, 0);
    EXPECT_EQ(readRaster(scratch.file("low.tif")).units, "nT");
    EXPECT_EQ(metadata(scratch.file("low.tif"), "FILTER"), "lowpass");
    EXPECT_EQ(metadata(scratch.file("low.tif"), "FILTER_PARAMETERS"), "cutoff 800 m");
    EXPECT_EQ(metadata(scratch.file("low.tif"), "SOURCE"), "survey.tif");

    ASSERT_EQ(runTool(args({"density", in, scratch.file("density.nc")})).exitCode, 0);
    EXPECT_EQ(readRaster(scratch.file("density.nc")).units, "g/cm3");
    EXPECT_EQ(metadata(scratch.file("density.nc"), "long_name", true), "survey apparent density filtered");
    const std::string history = metadata(scratch.file("density.nc"), "NC_GLOBAL#history");
    EXPECT_NE(history.find("density of survey.tif"), std::string::npos) << history;
    EXPECT_EQ(history.find(".spectrafil-"), std::string::npos) << history;
}

TEST(Tool, ChainListsItsStepsAndReadsTheSameStepsFromARecipe)
{
    ScratchDir scratch;
    const std::string in = scratch.file("survey.tif");
    writeRaster(in, "GTiff", bumpGrid(20, 16));
    const std::string words = scratch.file("words.tif"), recipe = scratch.file("recipe.tif");
    ASSERT_EQ(runTool(args({"chain", in, words, "rtp:inclination=-53,declination=7", "vd", "--units", "nT"})).exitCode, 0);
    EXPECT_EQ(metadata(words, "FILTER"), "chain");
    EXPECT_EQ(metadata(words, "FILTER_PARAMETERS"), "rtp (inclination -53 deg, declination 7 deg) > vd (order 1)");
    EXPECT_EQ(readRaster(words).units, "nT/m");

    auto writeRecipe = [&scratch](const char* name, const char* text) {
        QFile out(QString::fromStdString(scratch.file(name)));
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(text);
        return scratch.file(name);
    };
    const std::string good = writeRecipe("good.json", "{\"steps\": [{\"filter\": \"rtp\", \"inclination\": -53, "
                                                      "\"declination\": 7}, {\"filter\": \"vd\"}]}");
    ASSERT_EQ(runTool(args({"chain", in, recipe, "--recipe", good, "--units", "nT"})).exitCode, 0);
    EXPECT_EQ(readRaster(recipe).values, readRaster(words).values);

    const std::string middle = writeRecipe("middle.json", "{\"steps\": [{\"filter\": \"tilt\"}, {\"filter\": \"vd\"}]}");
    const ToolRun refused = runTool(args({"chain", in, scratch.file("refused.tif"), "--recipe", middle}));
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains("step 1: tilt is not linear and can only be the last step of a chain"));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(scratch.file("refused.tif"))));
}

TEST(Tool, AsciiGridWithSrsGivesGeoTiffAndPreview)
{
    ScratchDir scratch;
    Raster ascii = bumpGrid(20, 16);
    ascii.crsWkt.clear();
    writeRaster(scratch.file("in.asc"), "AAIGrid", ascii);
    const ToolRun run = runTool(args({"lowpass", scratch.file("in.asc"), scratch.file("out.tif"), "--cutoff", "800",
                                      "--srs", "EPSG:32735", "--preview", scratch.file("p.png"), "-v"}));
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QString::fromStdString(scratch.file("out.tif")) + ": in low pass filtered\n"); // engine chatter kept out
    EXPECT_TRUE(run.err.contains(QStringLiteral("Gathering data...")));
    EXPECT_TRUE(sameCrs(readRaster(scratch.file("out.tif")).crsWkt, epsgWkt(32735)));

    const QImage preview(QString::fromStdString(scratch.file("p.png")));
    ASSERT_FALSE(preview.isNull());
    EXPECT_EQ(preview.width(), 2 * 560);
    int darkViolet = 0, yellow = 0;
    for (int y = 0; y < preview.height(); ++y)
        for (int x = 0; x < preview.width(); ++x) {
            const QColor c = preview.pixelColor(x, y);
            darkViolet += c.red() < 80 && c.green() < 20 && c.blue() > 70;
            yellow += c.red() > 240 && c.green() > 220 && c.blue() < 50;
        }
    EXPECT_GT(darkViolet, 100); // both ends of the colour map are used
    EXPECT_GT(yellow, 100);

    const ToolRun version = runTool({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.out.contains(QStringLiteral(SPECTRAFIL_VERSION)));
}
