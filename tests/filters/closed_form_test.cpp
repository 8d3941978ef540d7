// A grid turned by a quarter turn is filtered as the same cells unturned: the anomaly of a magnetised
// sphere on both, reduced to the pole, agrees at every cell centre.

#include "filter_fixture.h"

#include "fourier_filters.h"

#include "sphere_survey.h"
#include "synth_fields.h"

using namespace Tavorin;
using namespace I2DFourierFilters;
using namespace sphere_survey;

namespace {

double anomaly(double x, double y)
{
    return synth::totalFieldAnomaly(Body, Field, {x, y, 0});
}

} // namespace

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
