// Bad input that only the grid operations meet: cells without value, non-finite and absurd cell
// values, degenerate grids, and a disk that fills up. A refused operation leaves no result item.

#include "fourier_filters.h"
#include "filter_fixture.h"
#include "reliability_support.h"

#include <cmath>
#include <limits>

using namespace reliability;

class FiltersBadInput : public FilterTest {};

TEST_F(FiltersBadInput, UnusableValuesAreRefusedWithoutAResult)
{
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        const char* name;
        std::function<double(double, double)> value;
        const char* message;
    } cases[] = {
        {"no cell with a value", [](double, double) { return NAN; }, "Entire data set was NDV"},
        {"an infinite cell", [inf](double x, double y) { return x < 1030 && y < 2030 ? inf : 5.0; },
         "AMBF must be finite"},
        {"one absurd cell", [](double x, double y) { return x < 1030 && y < 2030 ? 3e30 : 5.0; },
         "AMBF must be finite, at most 1e8"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Tavorin::I2DGridMesh* grid = makeGrid(12, 10, 25.0, 25.0);
        Tavorin::IBaseDataFloat* data = makeData(grid, "TMI", c.value);
        Tavorin::ILogger::instance()->clear();
        EXPECT_FALSE(I2DFourierFilters::lowPass(grid, data, 100.0f, QString()));
        EXPECT_EQ(grid->DataList()->count(), 1);
        EXPECT_TRUE(logTexts().join("\n").contains(c.message)) << logTexts().join("\n").toStdString();
    }
}

TEST_F(FiltersBadInput, DegenerateGridsKeepTheirValues)
{
    const struct {
        const char* name;
        int nx, ny;
        std::function<double(double, double)> value;
    } cases[] = {
        {"one row", 20, 1, [](double, double) { return 12.0; }},
        {"one column", 1, 15, [](double, double) { return 12.0; }},
        {"one defined cell", 9, 9, [](double x, double y) { return x == 1112.5 && y == 2112.5 ? 12.0 : NAN; }},
        {"all cells equal", 14, 11, [](double, double) { return 12.0; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Tavorin::I2DGridMesh* grid = makeGrid(c.nx, c.ny, 25.0, 25.0);
        Tavorin::IBaseDataFloat* data = makeData(grid, "TMI", c.value);
        ASSERT_TRUE(I2DFourierFilters::lowPass(grid, data, 100.0f, "result")) << logTexts().join("\n").toStdString();
        auto* result = qobject_cast<Tavorin::IBaseDataFloat*>(grid->DataList()->Data("result"));
        ASSERT_NE(result, nullptr);
        int filled = 0;
        for (unsigned int id = 0; id < grid->cellCount(); ++id) {
            EXPECT_EQ(result->hasValue(id), data->hasValue(id));
            if (result->hasValue(id)) {
                EXPECT_NEAR(result->value(id), 12.0, 1e-4);
                ++filled;
            }
        }
        EXPECT_GT(filled, 0);
    }
}

// A disk that fills up while the engine writes (a file-size limit in a child process): the
// operation fails with a message and makes no result item; the source item is untouched.
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
