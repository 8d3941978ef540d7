// The derivatives' divisor, from the cell size.

#include "filter_fixture.h"

#include "filter_pipeline.h"
#include "fourier_filters.h"

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
