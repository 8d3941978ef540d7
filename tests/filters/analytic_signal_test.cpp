// The analytic signal: one spectrum, three derivative items, their amplitude.

#include "filter_fixture.h"

#include "fourier_filters.h"

#include "synth_fields.h"

using namespace Tavorin;
using namespace I2DFourierFilters;

namespace {

// A sphere magnetised by a field of inclination 60 and declination 20, 300 m below the middle of a
// 32 by 32 grid of 25 m cells from (0, 0), with a hole 100 m around (200, 600).
double dipoleWithHole(double x, double y)
{
    if ((x - 200) * (x - 200) + (y - 600) * (y - 600) <= 100 * 100)
        return NoValue;
    const synth::InducingField field{60, 20, 50000};
    const synth::Dipole body = synth::inducedSphere({400, 400, -300}, 100, 0.05, field);
    return synth::totalFieldAnomaly(body, field, {x, y, 0});
}

} // namespace

TEST_F(FilterTest, AnalyticSignalIsTheAmplitudeOfItsThreeDerivativeItems)
{
    I2DGridMesh* grid = makeGrid(32, 32, 25, 25, {0, 0});
    IBaseDataFloat* source = makeData(grid, "TMI", dipoleWithHole);
    ASSERT_TRUE(analyticSignal(grid, source, false, ""));

    QStringList names;
    for (const IBaseData* data : grid->DataList()->items())
        names << data->Name();
    EXPECT_EQ(names, QStringList({"TMI", "TMI_VD", "TMI_HDX", "TMI_HDY", "TMI analytic signal"}));

    const QStringList log = logTexts();
    EXPECT_EQ(log.count(" ************* DUVERU2_fwd ************* "), 1);
    EXPECT_EQ(log.filter("DUVERU2_inv").size(), 3);
    EXPECT_TRUE(logTexts(1).isEmpty() && logTexts(2).isEmpty());

    const IBaseDataFloat* vd = item(grid, "TMI_VD");
    const IBaseDataFloat* hdx = item(grid, "TMI_HDX");
    const IBaseDataFloat* hdy = item(grid, "TMI_HDY");
    const IBaseDataFloat* amplitude = item(grid, "TMI analytic signal");
    ASSERT_TRUE(vd && hdx && hdy && amplitude);
    EXPECT_LT(amplitude->valueCount(), grid->cellCount());
    for (unsigned int id = 0; id < grid->cellCount(); ++id) {
        ASSERT_EQ(amplitude->hasValue(id), source->hasValue(id)) << id;
        if (!source->hasValue(id))
            continue;
        const double expected = std::hypot(std::hypot(vd->value(id), hdx->value(id)), hdy->value(id));
        EXPECT_NEAR(amplitude->value(id), expected, 1e-6 * expected + 1e-9);
    }

    // Each derivative item is what the single derivative operation gives for the same direction.
    ASSERT_TRUE(firstVerticalDerivative(grid, source, false, ""));
    ASSERT_TRUE(firstHorizontalDerivative(grid, source, EastWest, false, "x"));
    ASSERT_TRUE(firstHorizontalDerivative(grid, source, NorthSouth, false, "y"));
    const std::pair<const IBaseDataFloat*, const IBaseDataFloat*> pairs[] = {
        {vd, item(grid, "TMI vd filtered")}, {hdx, item(grid, "x")}, {hdy, item(grid, "y")}};
    for (const auto& [stored, single] : pairs) {
        ASSERT_NE(single, nullptr);
        EXPECT_EQ(single->valueCount(), stored->valueCount());
        for (unsigned int id = 0; id < grid->cellCount(); ++id) {
            if (source->hasValue(id)) {
                EXPECT_FLOAT_EQ(single->value(id), stored->value(id)) << stored->Name().toStdString() << " " << id;
            }
        }
    }
    // An explicit name goes to the amplitude only.
    ASSERT_TRUE(analyticSignal(grid, source, false, "AS"));
    EXPECT_NE(item(grid, "AS"), nullptr);
}
