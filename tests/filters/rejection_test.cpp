// Refused parameters and grids, failing engine runs and host failures: each is reported with its
// message, makes nothing, and leaves the current directory where it was.

#include "filter_fixture.h"

#include "fourier_filters.h"

#include "scratch_dir.h"

using namespace Tavorin;
using namespace I2DFourierFilters;

namespace {

struct Rejection {
    const char* label;
    std::function<bool(I2DGridMesh*, IBaseData*)> run;
    const char* message;
};

const char* const Cutoff = "Wavelength cut-off must be greater than zero";
const char* const Inclination = "Inclination must be between -90 and +90";
const char* const Declination = "Declination must be between -360 and +360";

} // namespace

TEST_F(FilterTest, RefusedParametersAreReportedBeforeTheGridIsExamined)
{
    const std::vector<Rejection> rejections = {
        {"negative low-pass cut-off", [](auto g, auto d) { return lowPass(g, d, -1, ""); }, Cutoff},
        {"inclination before declination", [](auto g, auto d) { return rtp(g, d, 90.01f, 400, ""); }, Inclination},
        {"declination above", [](auto g, auto d) { return rtp(g, d, 45, 360.5f, ""); }, Declination},
        {"strike beyond -90", [](auto g, auto d) { return strike(g, d, -90.5f, 20, 500, ""); },
         "Strike must be within range of +/- 90 degrees"},
        {"tolerance too small", [](auto g, auto d) { return strike(g, d, 30, 0.05f, 500, ""); },
         "Strike tolerance must be > 0"},
        {"tolerance too high", [](auto g, auto d) { return strike(g, d, 30, 89.5f, 500, ""); },
         "Strike tolerance too high"},
        {"pseudo-gravity declination", [](auto g, auto d) { return pseudoGravity(g, d, 50000, 60, -400, ""); },
         Declination},
        {"magnetisation inclination", [](auto g, auto d) { return rtpStable(g, d, {45, 0, -91, 0}, {}, ""); },
         "Magnetisation inclination -91 must be between -90 and +90"},
        {"field inclination not a number",
         [](auto g, auto d) { return rtpStable(g, d, inducedDirections(NAN, 0), {}, ""); },
         "Field inclination nan must be between -90 and +90"},
        {"limit inclination",
         [](auto g, auto d) {
             return pseudoGravityStable(g, d, 50000, inducedDirections(5, 0), {Stabilisation::LimitedGain, -1}, "");
         },
         "Limit inclination -1 must be between 0 and 90"},
        {"derivative order", [](auto g, auto d) { return verticalDerivative(g, d, 4, false, ""); },
         "Derivative order 4 must be 1, 2 or 3"},
        {"residual cut-off", [](auto g, auto d) { return residual(g, d, 0, ""); },
         "Wavelength cut-off 0 must be greater than zero and finite"},
        {"band pass cut-offs in turn", [](auto g, auto d) { return bandPass(g, d, 500, 200, ""); },
         "Long cut-off 200 must be greater than the short cut-off 500"},
        {"directional tolerance", [](auto g, auto d) { return directionalFilter(g, d, 30, 0, 0, false, ""); },
         "Strike tolerance 0 must be greater than 0 and at most 90 degrees"},
        {"directional cut-off", [](auto g, auto d) { return directionalFilter(g, d, 30, 20, -1, true, ""); },
         "Wavelength cut-off -1 must be 0 (every wavelength) or greater"},
    };
    I2DGridMesh* grid = makeGrid(25, 25, 25, 25);
    IBaseDataFloat* source = makeRamp(grid);
    for (const Rejection& r : rejections) {
        SCOPED_TRACE(r.label);
        clearLog();
        EXPECT_FALSE(r.run(grid, source));
        EXPECT_EQ(logTexts(2), QStringList({r.message}));
        const QStringList log = logTexts();
        EXPECT_FALSE(log.contains("Checking grid suitability for 2D filtering..."));
        EXPECT_EQ(log.last(), "Switching back current directory to " + startDir);
        EXPECT_FALSE(QFile::exists(tempFile("FILTER.INP")));
        EXPECT_EQ(grid->DataList()->count(), 1);
    }

    // The limits themselves pass.
    EXPECT_TRUE(rtp(grid, source, 90, -360, ""));
    EXPECT_TRUE(strike(grid, source, 90, 89, 500, ""));
    EXPECT_TRUE(directionalFilter(grid, source, -180, 90, 0, true, ""));
}

TEST_F(FilterTest, GridCheckTakesQuarterTurnsAndThePaddedSizeLimit)
{
    struct GridCase {
        int nx;
        double rotation;
        const char* refusal; // null when the grid passes
    };
    const GridCase gridCases[] = {
        {4, 90.0005, nullptr},
        {5459, 0, nullptr},
        {4, 0.002, "Provided grid does not have axes parallel to x-y directions"},
        {4, 45, "Provided grid does not have axes parallel to x-y directions"},
        {5460, 0, "Maximum padded grid dimension is 8192"},
    };
    for (const GridCase& c : gridCases) {
        SCOPED_TRACE(testing::Message() << c.nx << " columns, rotation " << c.rotation);
        clearLog();
        I2DGridMesh* grid = makeGrid(c.nx, 3, 10, 10, {0, 0}, c.rotation);
        IBaseDataFloat* source = makeRamp(grid);
        // A zero cut-off is a data dump: it goes through the check, writes the control file and
        // stops before the engine, making no result.
        EXPECT_FALSE(lowPass(grid, source, 0, ""));
        EXPECT_EQ(grid->DataList()->count(), 1);
        if (c.refusal) {
            EXPECT_EQ(logTexts(2), QStringList({c.refusal, "Selected grid is not suitable for 2D filtering"}));
        } else {
            EXPECT_TRUE(logTexts().contains("Grid is ok"));
            EXPECT_TRUE(logTexts().contains("Completed data dump"));
            EXPECT_TRUE(readTempFile("FILTER.INP").endsWith("Perform filtering\n2 0 0 1\n1 1 0.000000 0.000000\n"));
            EXPECT_FALSE(QFile::exists(tempFile("fpt6_2D_FWD_SPECTRM_FILTER.OUT")));
        }
    }

    clearLog();
    I2DGridMesh* turned = makeGrid(4, 3, 10, 10, {0, 0}, 45);
    EXPECT_FALSE(analyticSignal(turned, makeRamp(turned), false, ""));
    EXPECT_EQ(logTexts(2).last(), QString("Selected voxet is not suitable for 2D filtering"));
}

TEST_F(FilterTest, EngineFailuresAreReportedAndTheDirectoryRestored)
{
    I2DGridMesh* grid = makeGrid(25, 25, 25, 25);
    IBaseDataFloat* source = makeRamp(grid);

    // A folder where the spectrum file should go stops the forward run; the inverse run never starts.
    ASSERT_TRUE(QDir(temp.path()).mkdir("fpt15_2D_FWD_SPEC_FILTER.BIN"));
    EXPECT_FALSE(lowPass(grid, source, 500, ""));
    EXPECT_EQ(logTexts(2), QStringList({"Spectrum calculation failed!", "Could not run 2D filtering"}));
    EXPECT_EQ(logTexts().last(), "Switching back current directory to " + startDir);
    EXPECT_EQ(grid->DataList()->count(), 1);
    ASSERT_TRUE(QDir(temp.path()).rmdir("fpt15_2D_FWD_SPEC_FILTER.BIN"));

    // A folder in place of the inverse run's log stops it, and its log cannot be copied.
    clearLog();
    ASSERT_TRUE(QDir(temp.path()).mkdir("fpt6_2D_INV_AIRFILT_FILTER.OUT"));
    EXPECT_FALSE(lowPass(grid, source, 500, ""));
    EXPECT_EQ(logTexts(1), QStringList({"Unable to read console output file fpt6_2D_INV_AIRFILT_FILTER.OUT"}));
    EXPECT_EQ(logTexts(2), QStringList({"Filter application failed!", "Could not run 2D filtering"}));
    EXPECT_EQ(grid->DataList()->count(), 1);
}

TEST_F(FilterTest, ResultThatTheHostCannotMakeFailsTheLoading)
{
    I2DGridMesh* grid = makeGrid(25, 25, 25, 25, {0, 0}, 0, false);
    IBaseDataFloat* source = makeRamp(grid);
    EXPECT_FALSE(lowPass(grid, source, 500, ""));
    EXPECT_EQ(logTexts(2), QStringList({"Unable to create new property TMI low pass filtered!",
                                        "Could not load filtered data"}));
    EXPECT_EQ(grid->DataList()->count(), 1);
}

TEST_F(FilterTest, UnusableTemporaryFolderLeavesTheFilesInTheCurrentDirectory)
{
    ScratchDir scratchDir;
    const QDir scratch(QString::fromStdString(scratchDir.path().string()));
    QFile blocker(scratch.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ISettings::setTempDir(scratch.filePath("blocker/project"));

    I2DGridMesh* grid = makeGrid(25, 25, 25, 25);
    EXPECT_TRUE(highPass(grid, makeRamp(grid), 400, ""));
    EXPECT_EQ(logTexts(2), QStringList({"Unable to use temporary project folder for intermediate files!"}));
    EXPECT_TRUE(QFile::exists(scratch.filePath("fpt6_2D_INV_AIRFILT_FILTER.OUT")));
    EXPECT_EQ(QDir::currentPath(), scratch.path());
    EXPECT_NE(item(grid, "TMI high pass filtered"), nullptr);
}
