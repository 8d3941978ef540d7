// Chains of filters: against the closed-form fields of a magnetised sphere, against the same steps
// run one after another, and the refusals of steps and recipes that cannot form a chain.

#include "filter_fixture.h"

#include "filter_chain.h"
#include "fourier_filters.h"

#include "sphere_survey.h"
#include "synth_fields.h"


using namespace Tavorin;
using namespace I2DFourierFilters;
using namespace sphere_survey;

namespace {

const synth::InducingField Vertical{90, 0, 50000};
const synth::Dipole Pole = synth::inducedSphere(Centre, 150, 0.05, Vertical);

ChainStep step(const char* id, const QVariantMap& given = {})
{
    QString error;
    const FilterSpec* filter = findFilter(QLatin1String(id));
    const QVariantMap values = completeParameters(*filter, given, error);
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    return {filter, values};
}

const QVariantMap Directions{{"inclination", Field.inclination}, {"declination", Field.declination}};


} // namespace

TEST_F(FilterTest, ChainsMatchTheClosedFormDerivativesOfTheSphere)
{
    I2DGridMesh* grid = makeGrid(Cells, Cells, CellSize, CellSize, {0, 0});
    IBaseDataFloat* source =
        makeData(grid, "TMI", [](double x, double y) { return synth::totalFieldAnomaly(Body, Field, {x, y, 0}); });

    // The engine's vertical derivative is positive downward: minus d/dz up.
    ASSERT_TRUE(chain(grid, source, {step("rtp", Directions), step("vd")}, "rtp vd"));
    const double rtpVd = relativeRms(grid, item(grid, "rtp vd"), [](double x, double y) {
        return -synth::totalFieldGradient(Pole, Vertical, {x, y, 0}).z;
    });
    ASSERT_TRUE(chain(grid, source, {step("continuation", {{"height", 200}}), step("vd")}, "up vd"));
    const double upVd = relativeRms(grid, item(grid, "up vd"), [](double x, double y) {
        return -synth::totalFieldGradient(Body, Field, {x, y, 200}).z;
    });
    EXPECT_LT(rtpVd, 0.03);
    EXPECT_LT(upVd, 0.03);
}

TEST_F(FilterTest, ChainEqualsItsStepsRunOneAfterAnother)
{
    I2DGridMesh* grid = makeGrid(Cells, Cells, CellSize, CellSize, {0, 0});
    IBaseDataFloat* source =
        makeData(grid, "TMI", [](double x, double y) { return synth::totalFieldAnomaly(Body, Field, {x, y, 0}); });

    // One step: the composite of one request is that request, to the last bit, mean restored or not.
    ASSERT_TRUE(firstVerticalDerivative(grid, source, false, "vd"));
    ASSERT_TRUE(chain(grid, source, {step("vd")}, "chain vd"));
    ASSERT_TRUE(rtp(grid, source, float(Field.inclination), float(Field.declination), "rtp"));
    ASSERT_TRUE(chain(grid, source, {step("rtp", Directions)}, "chain rtp"));
    for (unsigned id = 0; id < grid->cellCount(); ++id) {
        ASSERT_EQ(item(grid, "chain vd")->value(id), item(grid, "vd")->value(id)) << "cell " << id;
        ASSERT_EQ(item(grid, "chain rtp")->value(id), item(grid, "rtp")->value(id)) << "cell " << id;
    }

    // Two steps, the second on the first's result, against the product of one run; and a
    // non-linear last step on the product.
    ASSERT_TRUE(firstVerticalDerivative(grid, item(grid, "rtp"), false, "rtp then vd"));
    ASSERT_TRUE(chain(grid, source, {step("rtp", Directions), step("vd")}, "rtp > vd"));
    ASSERT_TRUE(continuation(grid, source, 100, false, "up"));
    ASSERT_TRUE(tiltDerivative(grid, item(grid, "up"), false, "up then tilt"));
    ASSERT_TRUE(chain(grid, source, {step("continuation", {{"height", 100}}), step("tilt")}, "up > tilt"));
    const double linear = relativeRms(grid, item(grid, "rtp > vd"), valuesOf(grid, item(grid, "rtp then vd")));
    const double tilt = relativeRms(grid, item(grid, "up > tilt"), valuesOf(grid, item(grid, "up then tilt")));
    EXPECT_LT(linear, 0.01);
    EXPECT_LT(tilt, 0.01);
}

TEST_F(FilterTest, StepsAndRecipesThatCannotFormAChainAreRefused)
{
    // A tilt before the last step: the tool's chain test, through a recipe.
    EXPECT_EQ(chainRefusal({step("hd"), step("vd")}).toStdString(),
              "step 1: hd --method total is not linear and can only be the last step of a chain");
    EXPECT_TRUE(chainRefusal({step("residual", {{"cutoff", 500}})}).startsWith("step 1: residual cannot be a step"));
    EXPECT_TRUE(chainRefusal({step("hd", {{"method", "ew"}}), step("analytic-signal")}).isEmpty());

    const QString path = QDir(temp.path()).filePath("recipe.json");
    auto read = [&path](const char* text) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        file.close();
        QString error;
        readRecipe(path, error);
        return error.mid(path.size() + 9).toStdString(); // after "recipe PATH: "
    };
    EXPECT_EQ(read("{\"steps\": [{\"filter\": \"rtp\"}, {\"filter\": \"vdd\"}]}"),
              "unknown filter 'vdd' in step 2; did you mean 'vd'?");
    EXPECT_EQ(read("{\"steps\": [{\"order\": 2}]}"), "step 1 names no \"filter\"");
    EXPECT_EQ(read("{\"steps\": []}"), "needs \"steps\", a list of at least one {\"filter\": NAME, ...}");
    EXPECT_EQ(read("{\"steps\": [{\"filter\": \"vd\"}"), "not JSON (unterminated array at character 27)");

    // A written recipe reads back as the same steps.
    QString error;
    ASSERT_TRUE(writeRecipe(path, {step("rtp", Directions), step("vd", {{"order", 2}})}, error));
    const std::vector<ChainStep> back = readRecipe(path, error);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0].filter, findFilter("rtp"));
    EXPECT_EQ(back[0].values.value("inclination").toDouble(), Field.inclination);
    EXPECT_EQ(back[1].values.value("order").toInt(), 2);
}
