// A disk that fills up while the engine writes (a file-size limit in a child process): the
// operation fails with a message and makes no result item; the source item is untouched.

#include "fourier_filters.h"
#include "filter_fixture.h"
#include "reliability_support.h"

#include <cmath>

using namespace reliability;

class FiltersBadInput : public FilterTest {};

TEST_F(FiltersBadInput, FullDiskFailsTheOperation)
{
    Tavorin::I2DGridMesh* grid = makeGrid(40, 30, 25.0, 25.0);
    Tavorin::IBaseDataFloat* data = makeData(grid, "TMI", [](double x, double y) { return std::sin(x / 80) + y / 1000; });
    int status = RunInChild(
        [&] {
            bool ok = I2DFourierFilters::lowPass(grid, data, 100.0f, "result");
            bool messages = logTexts().join("\n").contains("Could not run 2D filtering");
            return !ok && messages && grid->DataList()->count() == 1 ? 0 : 1;
        },
        {0, 4096, false});
    EXPECT_EQ(status, 0);
    EXPECT_EQ(grid->DataList()->count(), 1);
}
