// FILTER.INP as each operation leaves it, byte for byte, the derivatives' divisor in it, and the
// order of the pipeline's messages. Every operation gives the same result on one engine thread as
// on several: the same values bit for bit, and the same control file, spectrum file and engine logs
// byte for byte.

#include "filter_fixture.h"

#include "engine_setting.h"
#include "filter_pipeline.h"
#include "fourier_filters.h"

#include "synth_fields.h"

#include "IProgressBarWidget.h"

#include <QDirIterator>

#include <boost/math/policies/error_handling.hpp>

#include <cstring>
#include <map>
#include <thread>
#include <vector>

using namespace Tavorin;
using namespace I2DFourierFilters;

namespace {

// 30 columns of 25 and 20 rows of 20 from (1000, 2000) holding 10 + column + row (mean 34).
const char* const SpectrumSection = "Temporary SPECTRM control file\n"
                                    "FFinput.dat\n"
                                    "1737.5 2010 380 725  !  bottom right corner and grid extents, NS then EW\n"
                                    "25 20 ! dx, dy\n"
                                    "1\n2\n3\n1\n"
                                    "0\n"
                                    "109.000 57.000 ! X extension, Y extension\n"
                                    "34.000  !  Average \n"
                                    "0 0\n"
                                    "Perform filtering\n"
                                    "2 0 0 1\n";

struct Case {
    const char* label;
    std::function<bool(I2DGridMesh*, IBaseData*)> run;
    const char* suffix;
    const char* filterLines; // null: several control files, checked by the operation's own test
};

std::vector<Case> cases()
{
    // W0 = 22.5; the derivative scale of cells 25 by 20 is 10.
    return {
        {"low pass", [](auto g, auto d) { return lowPass(g, d, 500, ""); }, " low pass filtered",
         "1 1 750.000000 500.000000\n"},
        {"high pass", [](auto g, auto d) { return highPass(g, d, 500, ""); }, " high pass filtered",
         "1 2 333.333333 500.000000\n"},
        {"rtp", [](auto g, auto d) { return rtp(g, d, 60, -15, ""); }, " rtp filtered",
         "5 0 0 0\n-15.000000 60.000000 -15.000000 60.000000\n"},
        {"vd attenuated", [](auto g, auto d) { return firstVerticalDerivative(g, d, true, ""); }, " vd filtered",
         "2 1 135.000000 90.000000\n3\n0\n"},
        {"hd total", [](auto g, auto d) { return firstHorizontalDerivative(g, d, TotalHorizontal, false, ""); },
         " hd filtered", "12 1 90.000000 45.000000\n1\n0\n"},
        {"hd east-west", [](auto g, auto d) { return firstHorizontalDerivative(g, d, EastWest, true, ""); },
         " hd filtered", "2 1 135.000000 90.000000\n1\n0\n"},
        {"hd north-south", [](auto g, auto d) { return firstHorizontalDerivative(g, d, NorthSouth, false, ""); },
         " hd filtered", "2 1 90.000000 45.000000\n2\n0\n"},
        {"upward", [](auto g, auto d) { return continuation(g, d, 100, false, ""); }, " cont filtered",
         "3 1 90.000000 45.000000\n100.000000\n"},
        {"zero distance", [](auto g, auto d) { return continuation(g, d, 0, false, ""); }, " cont filtered",
         "3 1 270.000000 135.000000\n0.000000\n"},
        {"downward attenuated", [](auto g, auto d) { return continuation(g, d, -50, true, ""); }, " cont filtered",
         "3 1 810.000000 405.000000\n-50.000000\n"},
        {"strike", [](auto g, auto d) { return strike(g, d, 30, 20, 500, ""); }, " strike filtered",
         "1 6 750.000000 500.000000 30.000000 10.000000\n"},
        {"strike, negative tolerance", [](auto g, auto d) { return strike(g, d, 30, -20, 500, ""); },
         " strike filtered", "1 4 30.000000 10.000000\n"},
        {"app susc attenuated",
         [](auto g, auto d) { return apparentSusceptibility(g, d, 100, 50000, 60, -15, true, ""); },
         " apparent susc filtered",
         "7 1 101.250000 67.500000 \n100.000000 -15.000000 60.000000 -15.000000 60.000000 50000.000000\n"},
        {"app density", [](auto g, auto d) { return apparentDensity(g, d, false, ""); }, " apparent density filtered",
         "8 0 0 0\n0.000000 0.000000 0.000000 0.000000 0.000000 0.000000\n"},
        {"pseudo gravity", [](auto g, auto d) { return pseudoGravity(g, d, 50000, 60, -15, ""); },
         " pseudo gravity filtered", "6 0 0 0\n-15.000000 60.000000 -15.000000 60.000000 50000.000000\n"},
        // The stabilised operations: the limit inclination ends the direction line of codes 14 to
        // 16; steep directions keep the plain codes, with the magnetisation's own direction.
        {"rtp stable, remanent", [](auto g, auto d) { return rtpStable(g, d, {5, -15, 30, -60}, {}, ""); },
         " rtp filtered", "14 0 0 0\n-15.000000 5.000000 -60.000000 30.000000 7.5\n"},
        {"pseudo gravity stable",
         [](auto g, auto d) {
             return pseudoGravityStable(g, d, 50000, inducedDirections(60, 10), {Stabilisation::LimitedGain, 5}, "");
         },
         " pseudo gravity filtered", "15 0 0 0\n10.000000 60.000000 10.000000 60.000000 50000.000000 5\n"},
        {"app susc stable",
         [](auto g, auto d) {
             return apparentSusceptibilityStable(g, d, 100, 50000, inducedDirections(0, 0), false, {}, "");
         },
         " apparent susc filtered",
         "16 0 0 0 \n100.000000 0.000000 0.000000 0.000000 0.000000 50000.000000 7.5\n"},
        {"app susc stable, steep",
         [](auto g, auto d) {
             return apparentSusceptibilityStable(g, d, 100, 50000, {60, -15, 45, 20}, true, {}, "");
         },
         " apparent susc filtered",
         "7 1 101.250000 67.500000 \n100.000000 -15.000000 60.000000 20.000000 45.000000 50000.000000\n"},
        {"analytic signal", [](auto g, auto d) { return analyticSignal(g, d, false, ""); }, " analytic signal", nullptr},
    };
}

// A sphere's anomaly on 150 x 120 cells of 25 m with a ragged footprint (a cut corner and a
// notched edge) and two holes, so the engine extrapolates from uneven edges and fills gaps. The
// padded transforms are long enough for several batches of columns and rows per run.
double raggedDipole(double x, double y)
{
    auto inDisc = [&](double cx, double cy, double r) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; };
    if (x + y < 900 || (y > 2600 && static_cast<int>(x / 200) % 2 == 1) || inDisc(1500, 1500, 180)
        || inDisc(2900, 700, 90))
        return NoValue;
    const synth::InducingField field{60, 20, 50000};
    const synth::Dipole body = synth::inducedSphere({1900, 1500, -400}, 150, 0.05, field);
    return synth::totalFieldAnomaly(body, field, {x, y, 0});
}

struct Outcome {
    std::vector<float> values; // NaN where the result has no value
    std::map<QString, QByteArray> files;
};

class ThreadCountTest : public FilterTest {
protected:
    Outcome runWith(int threads, const Case& operation)
    {
        setEngineThreads(threads);
        I2DGridMesh* grid = makeGrid(150, 120, 25, 25, {0, 0});
        IBaseDataFloat* source = makeData(grid, "TMI", raggedDipole);
        Outcome outcome;
        EXPECT_TRUE(operation.run(grid, source));
        const IBaseDataFloat* result = item(grid, QString("TMI") + operation.suffix);
        if (!result)
            return outcome;
        for (unsigned int id = 0; id < grid->cellCount(); ++id)
            outcome.values.push_back(result->hasValue(id) ? result->value(id) : std::nanf(""));
        for (QDirIterator it(temp.path(), QDir::Files); it.hasNext();) {
            QFile file(it.next());
            if (file.open(QIODevice::ReadOnly))
                outcome.files[it.fileName()] = file.readAll();
        }
        return outcome;
    }
    void TearDown() override
    {
        setEngineThreads(static_cast<int>(std::thread::hardware_concurrency()));
        FilterTest::TearDown();
    }
};

} // namespace

TEST_F(FilterTest, EachOperationWritesItsControlFileAndNamesItsResult)
{
    I2DGridMesh* grid = makeGrid(30, 20, 25, 20);
    IBaseDataFloat* source = makeRamp(grid);
    for (const Case& c : cases()) {
        SCOPED_TRACE(c.label);
        clearLog();
        ASSERT_TRUE(c.run(grid, source));
        if (c.filterLines) {
            EXPECT_EQ(readTempFile("FILTER.INP"), QString(SpectrumSection) + c.filterLines);
        }
        const IBaseDataFloat* result = item(grid, QString("TMI") + c.suffix);
        ASSERT_NE(result, nullptr);
        EXPECT_EQ(result->valueCount(), 600u);
        grid->DataList()->remove(const_cast<IBaseDataFloat*>(result));
        EXPECT_TRUE(logTexts(1).isEmpty() && logTexts(2).isEmpty()) << logTexts(1).join('|').toStdString();
    }
}

TEST_F(ThreadCountTest, EveryOperationGivesTheSameResultOnOneAndOnSeveralThreads)
{
    for (const Case& operation : cases()) {
        SCOPED_TRACE(operation.label);
        const Outcome one = runWith(1, operation);
        const Outcome several = runWith(3, operation);
        ASSERT_EQ(one.values.size(), 150u * 120u);
        ASSERT_EQ(several.values.size(), one.values.size());
        for (size_t i = 0; i < one.values.size(); ++i)
            ASSERT_EQ(std::memcmp(&one.values[i], &several.values[i], sizeof(float)), 0) << "cell " << i;
        EXPECT_GE(one.files.size(), 4u); // the control file, the spectrum file and both logs
        for (const auto& [name, bytes] : one.files)
            EXPECT_TRUE(several.files.count(name) && several.files.at(name) == bytes) << name.toStdString();
    }
}

// The forward log arrives line by line, the inverse log as one entry.
TEST_F(FilterTest, LowPassCopiesBothEngineLogsAndReportsProgress)
{
    I2DGridMesh* grid = makeGrid(30, 20, 25, 20);
    IBaseDataFloat* source = makeRamp(grid);
    std::vector<IProgressState> progress;
    IProgressBarWidget::setTextSink([&progress](const IProgressState& s) { progress.push_back(s); });
    ASSERT_TRUE(lowPass(grid, source, 500, "abc"));
    IProgressBarWidget::setTextSink({});
    ASSERT_NE(item(grid, "abc"), nullptr);

    const QStringList log = logTexts();
    const int forwardFirst = log.indexOf("Computing spectrum, this may take a few minutes...") + 1;
    const int forwardEnd = log.indexOf("Finished spectrum calculation");
    EXPECT_EQ(log.mid(forwardFirst, forwardEnd - forwardFirst).join("\n") + "\n",
              readTempFile("fpt6_2D_FWD_SPECTRM_FILTER.OUT"));
    const int inverse = log.indexOf("Applying filter, this may take a few minutes...") + 1;
    EXPECT_EQ(log.value(inverse), readTempFile("fpt6_2D_INV_AIRFILT_FILTER.OUT"));
    EXPECT_EQ(log.last(), "Switching back current directory to " + startDir);

    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back().position, 3);
    EXPECT_EQ(progress.back().maximum, 3);
    EXPECT_FALSE(progress.back().visible);
}

// A caller that must not move the process's current directory names the engine's folder: every
// engine file goes there (the total derivative's scratch files too), the operation stays where it
// is, and the result is the one the operation gives in the temporary project folder.
TEST_F(FilterTest, NamedEngineFolderTakesEveryEngineFileAndChangesNoResult)
{
    I2DGridMesh* grid = makeGrid(30, 20, 25, 20);
    IBaseDataFloat* source = makeRamp(grid);
    QTemporaryDir named;
    ASSERT_TRUE(named.isValid());
    {
        EngineFolderScope folder(named.path());
        ASSERT_TRUE(firstHorizontalDerivative(grid, source, TotalHorizontal, false, "in named folder"));
    }
    for (const char* file : {"FILTER.INP", "fpt15_2D_FWD_SPEC_FILTER.BIN", "fpt6_2D_INV_AIRFILT_FILTER.OUT", "fpt10_XDER"})
        EXPECT_TRUE(QFile::exists(QDir(named.path()).filePath(file))) << file;
    EXPECT_TRUE(QDir(temp.path()).isEmpty());
    EXPECT_FALSE(logTexts().join('\n').contains("current directory"));

    ASSERT_TRUE(firstHorizontalDerivative(grid, source, TotalHorizontal, false, "in temporary folder"));
    const IBaseDataFloat* expected = item(grid, "in temporary folder");
    const IBaseDataFloat* result = item(grid, "in named folder");
    for (unsigned int id = 0; id < grid->cellCount(); ++id)
        ASSERT_EQ(result->value(id), expected->value(id)) << id;
}

// The derivatives' divisor, from the cell size.
TEST(DerivativeScale, IsTenToTheRoundedLogarithmOfTheSmallerCellSize)
{
    const struct {
        double dx, dy, scale;
    } cases[] = {{3.16, 5, 1}, {3.17, 5, 10}, {0.04, 1, 0.1}, {316, 1000, 100}, {317, 1000, 1000}};
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(derivativeScale(c.dx, c.dy), c.scale) << c.dx << " by " << c.dy;
        EXPECT_FLOAT_EQ(derivativeScale(float(c.dx), float(c.dy)), float(c.scale)) << c.dx << " by " << c.dy;
    }
    EXPECT_THROW(derivativeScale(0.0, 1.0), boost::math::rounding_error);
    EXPECT_THROW(derivativeScale(1.0f, -1.0f), boost::math::rounding_error);
}

TEST_F(FilterTest, CellSizeWithoutFiniteLogarithmThrowsWithTheDirectoryRestored)
{
    const double infinite = std::numeric_limits<double>::infinity();
    I2DGridMesh* grid = makeGrid(2, 2, infinite, infinite);
    IBaseDataFloat* source = makeData(grid, "TMI", [](double, double) { return 1.0; });
    EXPECT_THROW(firstVerticalDerivative(grid, source, false, ""), boost::math::rounding_error);
    EXPECT_EQ(QDir::currentPath(), startDir);
    EXPECT_EQ(logTexts().last(), "Switching back current directory to " + startDir);

    EXPECT_EQ(grid->DataList()->count(), 1);
}
