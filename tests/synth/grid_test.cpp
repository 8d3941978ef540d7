#include "synth_grid.h"
#include "synth_survey.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>
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

    EXPECT_THROW(sampleGrid(GridGeometry{0, 3, 0, 0, 1, 1}, 0.0, position), std::invalid_argument);
    EXPECT_THROW(sampleGrid(GridGeometry{3, 3, 0, 0, 1, -1}, 0.0, position), std::invalid_argument);
    EXPECT_THROW(sampleGrid(kSmall, 0.0, FieldFunction{}), std::invalid_argument);
}

TEST(SyntheticSurvey, BodiesAddOnTheTrendAndGradientsFollowTheSum)
{
    MagneticSurvey mag;
    mag.field = {62.0, -8.0, 51000.0};
    mag.bodies = {inducedSphere({0, 0, -200}, 60, 0.03, mag.field),
                  magnetisedSphere({400, 300, -350}, 90, 2.0, -20.0, 170.0)};
    mag.trend = {45.0, 0.01, -0.02, 100.0, 50.0};
    GravitySurvey grav;
    grav.bodies = {{{0, 0, -200}, 60, 300}, {{400, 300, -350}, 90, -200}};
    grav.trend = {-3.0, 1e-4, 2e-4, 0.0, 0.0};

    const Vec3 p{150.0, 120.0, 40.0};
    EXPECT_NEAR(mag(p), 45.0 + 0.01 * 50.0 - 0.02 * 70.0 + totalFieldAnomaly(mag.bodies[0], mag.field, p)
                            + totalFieldAnomaly(mag.bodies[1], mag.field, p), 1e-9);
    EXPECT_NEAR(grav(p), -3.0 + 1e-4 * 150.0 + 2e-4 * 120.0 + gravityZ(grav.bodies[0], p)
                             + gravityZ(grav.bodies[1], p), 1e-12);

    const double h = 0.5;
    for (const auto& [field, gradient] :
         {std::pair<FieldFunction, Vec3>{mag, mag.gradient(p)}, {grav, grav.gradient(p)}}) {
        const Vec3 numeric{(field({p.x + h, p.y, p.z}) - field({p.x - h, p.y, p.z})) / (2 * h),
                           (field({p.x, p.y + h, p.z}) - field({p.x, p.y - h, p.z})) / (2 * h),
                           (field({p.x, p.y, p.z + h}) - field({p.x, p.y, p.z - h})) / (2 * h)};
        const double tolerance = 1e-4 * (std::abs(numeric.x) + std::abs(numeric.y) + std::abs(numeric.z));
        EXPECT_NEAR(gradient.x, numeric.x, tolerance);
        EXPECT_NEAR(gradient.y, numeric.y, tolerance);
        EXPECT_NEAR(gradient.z, numeric.z, tolerance);
    }
}

TEST(SyntheticNoise, ReproducibleGaussianOnValuedCellsOnly)
{
    Noise a(7), c(8);
    EXPECT_NE(a.gaussian(1.0), c.gaussian(1.0));
    Noise noise;
    const int n = 200000;
    double sum = 0, sumSquares = 0;
    for (int i = 0; i < n; ++i) {
        const double g = noise.gaussian(2.0);
        sum += g;
        sumSquares += g * g;
    }
    const double mean = sum / n;
    EXPECT_NEAR(mean, 0.0, 0.02);                                   // 4 standard errors
    EXPECT_NEAR(std::sqrt(sumSquares / n - mean * mean), 2.0, 0.02);

    NoDataRegions holes;
    holes.discs.push_back({100.0, 200.0, 1.0});
    Grid grid = sampleGrid(kSmall, 0.0, [](const Vec3&) { return 10.0; }, holes);
    Grid same = grid;
    addNoise(grid, 0.5, 99);
    addNoise(same, 0.5, 99);
    EXPECT_TRUE(std::isnan(grid.values[0]));
    for (std::size_t i = 1; i < grid.values.size(); ++i) {
        EXPECT_NE(grid.values[i], 10.0);
        EXPECT_EQ(grid.values[i], same.values[i]);
    }
}
