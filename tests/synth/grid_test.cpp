#include "synth_grid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

using namespace synth;

namespace {

// Encodes the sampling point so each cell tells where it was evaluated.
double position(const Vec3& p) { return p.x + 1000.0 * p.y + 1e6 * p.z; }

const GridGeometry kSmall{4, 3, 100.0, 200.0, 10.0, 20.0};

} // namespace

TEST(SampledGrid, CellsRunEastThenNorthAndHolesAreLeftOutOfTheTriples)
{
    NoDataRegions holes;
    holes.rectangles.push_back({95.0, 195.0, 112.0, 205.0});                      // cells 0 and 1
    holes.discs.push_back({130.0, 240.0, 0.5});                                   // cell 11
    holes.predicate = [](double x, double y) { return x == 120.0 && y == 220.0; }; // cell 6
    const Grid grid = sampleGrid(kSmall, 7.0, position, holes);
    ASSERT_EQ(grid.values.size(), 12u);
    const std::vector<int> empty{0, 1, 6, 11};
    for (int i = 0; i < 12; ++i) {
        const bool expectEmpty = std::find(empty.begin(), empty.end(), i) != empty.end();
        EXPECT_EQ(grid.nodata[i] != 0, expectEmpty) << "cell " << i;
        if (!expectEmpty) {
            EXPECT_DOUBLE_EQ(grid.values[i], position({100.0 + 10 * (i % 4), 200.0 + 20 * (i / 4), 7.0})) << i;
        } else {
            EXPECT_TRUE(std::isnan(grid.values[i])) << "cell " << i;
        }
    }
    const std::vector<double> triples = valuedTriples(grid);
    ASSERT_EQ(triples.size(), 3u * 8u);
    EXPECT_EQ(std::vector<double>(triples.begin(), triples.begin() + 3), (std::vector<double>{120, 200, grid.values[2]}));
    EXPECT_EQ(std::vector<double>(triples.end() - 3, triples.end()), (std::vector<double>{120, 240, grid.values[10]}));

}
