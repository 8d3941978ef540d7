// The gathering and loading steps read a float item's storage by the grid's layout; an item of
// another class goes cell by cell through the host's calls. Both must give the same points, mean
// and stored values, bit for bit, on grids turned by any angle and with cells without value. And a
// grid turned by a quarter turn is filtered as the same cells unturned.

#include "engine_threads.h"
#include "filter_pipeline.h"
#include "fourier_filters.h"

#include "filter_fixture.h"
#include "sphere_survey.h"

#include <algorithm>
#include <cstring>

using namespace Tavorin;
using namespace I2DFourierFilters;
using namespace sphere_survey;

namespace {

// The same cells behind the plain per-cell interface.
class PerCellItem : public IBaseData {
public:
    explicit PerCellItem(const IBaseDataFloat& source)
        : IBaseData(source.mesh(), QStringLiteral("per cell"), QString(), CellData, 1), source_(source)
    {
    }
    int dataType() const override { return FloatData; }
    unsigned int size() const override { return source_.size(); }
    bool hasValue(unsigned int id) const override { return source_.hasValue(id); }
    float value(unsigned int id) const override { return source_.value(id); }

private:
    const IBaseDataFloat& source_;
};

double anomaly(double x, double y)
{
    return synth::totalFieldAnomaly(Body, Field, {x, y, 0});
}

bool sameBits(const std::vector<float>& a, const std::vector<float>& b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

} // namespace

class GridCellsTest : public FilterTest {};

TEST_F(GridCellsTest, LayoutPassesMatchPerCellCalls)
{
    const int32_t threads = engineThreads();
    setEngineThreads(2);
    for (double rotation : {0.0, 90.0, 180.0, 270.00001, 33.3}) {
        SCOPED_TRACE(testing::Message() << "rotation " << rotation);
        I2DGridMesh* grid = makeGrid(270, 250, 0.1, 0.3, {-12345.678, 987.654321}, rotation);
        IBaseDataFloat* data = makeData(grid, "TMI", [](double x, double y) {
            return std::fmod(std::fabs(x * 7.0 + y), 5.0) < 1.0 ? NoValue : std::sin(x) * 1e3 + y;
        });
        const PerCellItem perCell(*data);

        FilterPoints fast, slow;
        ASSERT_TRUE(gatherCellValues(grid, data, fast));
        ASSERT_TRUE(gatherCellValues(grid, &perCell, slow));
        ASSERT_EQ(fast.size(), slow.size());
        EXPECT_EQ(std::memcmp(fast.data(), slow.data(), fast.size() * sizeof(double)), 0);
        EXPECT_EQ(gridAverage(grid, data), gridAverage(grid, &perCell));

        // Points as the engine returns them, column by column and enough for several chunks; then
        // reversed, so that a cell named twice keeps the later value; a point outside is dropped.
        for (bool columnOrder : {true, false}) {
            FilterPoints points = fast;
            for (size_t i = 2; i < points.size(); i += 3)
                points[i] = points[i] * 3.0 + static_cast<double>(i);
            if (!columnOrder) {
                points.insert(points.end(), {points[0], points[1], -1.0, 1e9, 1e9, 5.0});
                FilterPoints reversed;
                for (size_t i = points.size(); i >= 3; i -= 3)
                    reversed.insert(reversed.end(), points.begin() + static_cast<long>(i) - 3, points.begin() + static_cast<long>(i));
                points.swap(reversed);
            }
            IBaseDataFloat* a = loadFilteredData(points, grid, data, "fast", 7.0f);
            IBaseDataFloat* b = loadFilteredData(points, grid, &perCell, "slow", 7.0f);
            ASSERT_TRUE(a && b);
            EXPECT_TRUE(sameBits(a->values(), b->values())) << "column order " << columnOrder;
            EXPECT_EQ(a->valueCount(), fast.size() / 3);
        }
    }
    setEngineThreads(threads);
}

TEST_F(GridCellsTest, QuarterTurnedGridGivesTheSameValuesAtTheSameCentres)
{
    // The turned grid's u axis points north and its v axis west, over the same square of cells.
    I2DGridMesh* plain = makeGrid(Cells, Cells, CellSize, CellSize, {0, 0});
    I2DGridMesh* turned = makeGrid(Cells, Cells, CellSize, CellSize, {Cells * CellSize, 0}, 90);
    IBaseDataFloat* plainSource = makeData(plain, "TMI", anomaly);
    IBaseDataFloat* turnedSource = makeData(turned, "TMI", anomaly);
    ASSERT_TRUE(rtp(plain, plainSource, 60, 20, ""));
    ASSERT_TRUE(rtp(turned, turnedSource, 60, 20, ""));
    const IBaseDataFloat* expected = item(plain, "TMI rtp filtered");
    const IBaseDataFloat* result = item(turned, "TMI rtp filtered");
    ASSERT_TRUE(expected && result);

    double largest = 0;
    for (unsigned int id = 0; id < expected->size(); ++id)
        largest = std::max(largest, double(std::fabs(expected->value(id))));
    const I2DGridGeometry& g = turned->get2DGridGeometry();
    for (unsigned int id = 0; id < turned->cellCount(); ++id) {
        const unsigned int same = plain->get2DGridGeometry().cellID(g.cellCenter(static_cast<int>(id)));
        ASSERT_NE(same, I2DGridGeometry::InvalidCellID);
        if (id == 0) {
            EXPECT_EQ(same, unsigned(Cells - 1)); // the turned grid's first cell is the plain grid's south-east one
        }
        EXPECT_NEAR(result->value(id), expected->value(same), 1e-5 * largest) << id;
    }
}
