// End to end against closed-form fields: the anomaly of a magnetised sphere on a host grid, filtered
// by the operations, compared with the exact transformed field away from the grid's edges.

#include "filter_fixture.h"

#include "fourier_filters.h"

#include "sphere_survey.h"
#include "synth_fields.h"

#include <iostream>

using namespace Tavorin;
using namespace I2DFourierFilters;
using namespace sphere_survey;

namespace {

double anomaly(double x, double y)
{
    return synth::totalFieldAnomaly(Body, Field, {x, y, 0});
}

// RMS of (result - truth) over the interior cells, relative to the RMS of the truth there.
double relativeRmsError(const I2DGridMesh* grid, const IBaseDataFloat* result,
                        const std::function<double(double x, double y)>& truth)
{
    return relativeRmsDifference(grid, valuesOf(result), [&](unsigned, const I3DVector& c) { return truth(c.x, c.y); });
}

} // namespace

TEST_F(FilterTest, SphereAnomalyMatchesTheClosedFormTransforms)
{
    I2DGridMesh* grid = makeGrid(Cells, Cells, CellSize, CellSize, {0, 0});
    IBaseDataFloat* source = makeData(grid, "TMI", anomaly);

    ASSERT_TRUE(rtp(grid, source, float(Field.inclination), float(Field.declination), ""));
    const synth::InducingField vertical{90, 0, Field.strength};
    const synth::Dipole pole = synth::inducedSphere(Centre, 150, 0.05, vertical);
    const double rtpError = relativeRmsError(grid, item(grid, "TMI rtp filtered"), [&](double x, double y) {
        return synth::totalFieldAnomaly(pole, vertical, {x, y, 0});
    });

    // The engine's vertical derivative is positive downward, per grid unit once scaled.
    ASSERT_TRUE(firstVerticalDerivative(grid, source, false, ""));
    const double vdError = relativeRmsError(grid, item(grid, "TMI vd filtered"), [](double x, double y) {
        return -synth::totalFieldGradient(Body, Field, {x, y, 0}).z;
    });

    ASSERT_TRUE(continuation(grid, source, 100, false, ""));
    const double upError = relativeRmsError(grid, item(grid, "TMI cont filtered"), [](double x, double y) {
        return synth::totalFieldAnomaly(Body, Field, {x, y, 100});
    });

    std::cout << "[ figures  ] relative interior RMS error: rtp " << rtpError << ", vd " << vdError
              << ", upward 100 m " << upError << std::endl;
    EXPECT_LT(rtpError, 0.02);
    EXPECT_LT(vdError, 0.02);
    EXPECT_LT(upError, 0.01);
}

TEST_F(FilterTest, QuarterTurnedGridGivesTheSameValuesAtTheSameCentres)
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
