// Every operation gives the same result on one engine thread as on several: the same values bit
// for bit, and the same control file, spectrum file and engine logs byte for byte.

#include "filter_fixture.h"

#include "engine_setting.h"
#include "fourier_filters.h"

#include "synth_fields.h"

#include <QDirIterator>

#include <cstring>

#include <map>
#include <thread>
#include <vector>

using namespace Tavorin;
using namespace I2DFourierFilters;

namespace {

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

using Operation = std::function<bool(I2DGridMesh*, IBaseData*)>;

std::vector<std::pair<const char*, Operation>> operations()
{
    return {
        {"low pass", [](auto g, auto d) { return lowPass(g, d, 500, "result"); }},
        {"high pass", [](auto g, auto d) { return highPass(g, d, 500, "result"); }},
        {"rtp", [](auto g, auto d) { return rtp(g, d, 60, -15, "result"); }},
        {"vd", [](auto g, auto d) { return firstVerticalDerivative(g, d, true, "result"); }},
        {"hd total", [](auto g, auto d) { return firstHorizontalDerivative(g, d, TotalHorizontal, false, "result"); }},
        {"hd east-west", [](auto g, auto d) { return firstHorizontalDerivative(g, d, EastWest, true, "result"); }},
        {"continuation", [](auto g, auto d) { return continuation(g, d, -50, true, "result"); }},
        {"strike", [](auto g, auto d) { return strike(g, d, 30, 20, 500, "result"); }},
        {"app susc", [](auto g, auto d) { return apparentSusceptibility(g, d, 100, 50000, 60, -15, true, "result"); }},
        {"app density", [](auto g, auto d) { return apparentDensity(g, d, false, "result"); }},
        {"pseudo gravity", [](auto g, auto d) { return pseudoGravity(g, d, 50000, 60, -15, "result"); }},
        {"analytic signal", [](auto g, auto d) { return analyticSignal(g, d, false, "result"); }},
    };
}

struct Outcome {
    std::vector<float> values; // NaN where the result has no value
    std::map<QString, QByteArray> files;
};

class ThreadCountTest : public FilterTest {
protected:
    Outcome runWith(int threads, const Operation& operation)
    {
        setEngineThreads(threads);
        I2DGridMesh* grid = makeGrid(150, 120, 25, 25, {0, 0});
        IBaseDataFloat* source = makeData(grid, "TMI", raggedDipole);
        Outcome outcome;
        EXPECT_TRUE(operation(grid, source));
        const IBaseDataFloat* result = item(grid, "result");
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

TEST_F(ThreadCountTest, EveryOperationGivesTheSameResultOnOneAndOnSeveralThreads)
{
    for (const auto& [label, operation] : operations()) {
        SCOPED_TRACE(label);
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
