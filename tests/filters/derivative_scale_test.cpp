// The derivatives' divisor: from the cell size, and as seen between the engine output and the result.

#include "filter_fixture.h"

#include "filter_pipeline.h"
#include "fourier_filters.h"
#include "inverse_run.h"

#include <boost/math/policies/error_handling.hpp>

using namespace Tavorin;
using namespace I2DFourierFilters;

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

TEST_F(FilterTest, VerticalDerivativeIsTheEngineOutputDividedByTheScale)
{
    const struct {
        int nx, ny;
        double dx, dy;
        float scale;
    } grids[] = {{25, 25, 25, 25, 10}, {40, 25, 50, 20, 10}, {25, 25, 50, 50, 100}};
    for (const auto& g : grids) {
        SCOPED_TRACE(testing::Message() << g.dx << " by " << g.dy);
        world = IUniverse::Instance()->resetWorld();
        clearLog();
        I2DGridMesh* grid = makeGrid(g.nx, g.ny, g.dx, g.dy);
        IBaseDataFloat* source = makeData(grid, "G", [](double x, double y) {
            return 100.0 * std::exp(-((x - 1500) * (x - 1500) + (y - 2400) * (y - 2400)) / 1.0e5);
        });
        ASSERT_TRUE(firstVerticalDerivative(grid, source, false, ""));
        EXPECT_TRUE(logTexts().contains(QString("scaling factor is %1").arg(g.scale)));
        const IBaseDataFloat* result = item(grid, "G vd filtered");
        ASSERT_NE(result, nullptr);

        // The same filter section run again on the spectrum the operation left behind.
        FilterPoints raw;
        {
            InFolder folder(temp.path());
            InverseRun run("FILTER.INP", &raw);
            ASSERT_TRUE(run.DUVERU2_inv());
        }
        ASSERT_EQ(raw.size(), 3u * grid->cellCount());
        for (size_t i = 0; i < raw.size(); i += 3) {
            const unsigned int id = grid->get2DGridGeometry().cellID(I3DVector(raw[i], raw[i + 1]));
            ASSERT_TRUE(result->hasValue(id));
            EXPECT_EQ(result->value(id), static_cast<float>(raw[i + 2] / g.scale));
        }
    }
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
