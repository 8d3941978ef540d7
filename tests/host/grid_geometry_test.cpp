#include "I2DGridGeometry.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace Tavorin;

namespace {

constexpr unsigned int Outside = 0xFFFFFFFFu;

// 4 columns of 10, 3 rows of 20, lower-left corner at (100, 200).
I2DGridGeometry sampleGrid(double rotation = 0.0)
{
    return I2DGridGeometry(I3DVector(100.0, 200.0, 5.0), 10.0, 20.0, 4, 3, rotation);
}

void expectPoint(const I3DVector& actual, double x, double y)
{
    EXPECT_NEAR(actual.x, x, 1e-9);
    EXPECT_NEAR(actual.y, y, 1e-9);
}

} // namespace

TEST(GridGeometry, CellIdsRunRowByRowAndEdgesBelongToTheHigherCell)
{
    const I2DGridGeometry grid = sampleGrid();
    EXPECT_EQ(grid.cellID(3, 2), 11u);
    EXPECT_EQ(grid.cellID(4, 0), Outside);
    const struct {
        double x, y;
        unsigned int id;
    } points[] = {
        {110.0, 205.0, 1},  {105.0, 220.0, 4}, {110.0, 220.0, 5},  // shared column edge, row edge, corner of four
        {100.0, 200.0, 0},  {140.0, 260.0, 11}, {140.0, 230.0, 7}, // outer corner and edge
        {140.001, 230.0, Outside}, {120.0, 199.999, Outside}, {NAN, 230.0, Outside},
    };
    for (const auto& p : points)
        EXPECT_EQ(grid.cellID(I3DVector(p.x, p.y)), p.id) << p.x << ", " << p.y;
    EXPECT_EQ(I2DGridGeometry(I3DVector(), 0.0, 1.0, 3, 3).cellCount(), 0u);
}

TEST(GridGeometry, QuarterTurnsMapCentresAndBoxes)
{
    // Centre of cell (u, v) lies (u + 0.5) * 10 along the turned u axis and (v + 0.5) * 20 along v.
    struct Turn {
        double degrees;
        double ux, uy; // unit u axis in world coordinates
        double minX, minY, maxX, maxY;
    };
    const Turn turns[] = {
        {0.0, 1.0, 0.0, 100.0, 200.0, 140.0, 260.0},
        {90.0, 0.0, 1.0, 40.0, 200.0, 100.0, 240.0},
        {180.0, -1.0, 0.0, 60.0, 140.0, 100.0, 200.0},
        {-90.0, 0.0, -1.0, 100.0, 160.0, 160.0, 200.0},
    };
    for (const Turn& turn : turns) {
        SCOPED_TRACE(turn.degrees);
        const I2DGridGeometry grid = sampleGrid(turn.degrees);
        for (unsigned int id = 0; id < grid.cellCount(); ++id) {
            const double a = (id % 4 + 0.5) * 10.0;
            const double b = (id / 4 + 0.5) * 20.0;
            // v axis is u turned a further quarter counter-clockwise: (-uy, ux).
            expectPoint(grid.cellCenter(static_cast<int>(id)), 100.0 + a * turn.ux - b * turn.uy,
                        200.0 + a * turn.uy + b * turn.ux);
            EXPECT_EQ(grid.cellID(grid.cellCenter(static_cast<int>(id))), id);
        }
        const IBoundingBox box = grid.boundingBox();
        expectPoint(box.min(), turn.minX, turn.minY);
        expectPoint(box.max(), turn.maxX, turn.maxY);
    }
    // After a quarter turn a shared edge still goes to the cell with the higher index.
    EXPECT_EQ(sampleGrid(90.0).cellID(I3DVector(95.0, 210.0)), 1u);
}

TEST(GridGeometry, ObliqueRotationBoxesTheTurnedCorners)
{
    const double c = std::cos(30.0 * M_PI / 180.0);
    const double s = std::sin(30.0 * M_PI / 180.0);
    const I2DGridGeometry grid = sampleGrid(390.0);
    // Corners: origin, 40 along u, 60 along v, both.
    const IBoundingBox box = grid.boundingBox();
    expectPoint(box.min(), 100.0 - 60.0 * s, 200.0);
    expectPoint(box.max(), 100.0 + 40.0 * c, 200.0 + 40.0 * s + 60.0 * c);
    for (unsigned int id = 0; id < grid.cellCount(); ++id)
        EXPECT_EQ(grid.cellID(grid.cellCenter(static_cast<int>(id))), id);
    EXPECT_EQ(grid.cellID(I3DVector(130.0, 205.0)), Outside); // inside the box, below the turned grid
}
