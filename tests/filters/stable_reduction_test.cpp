// The stabilised reduction to the pole against the closed-form field at the pole: several
// magnetised spheres at a few depths, observed with 2 % noise at every latitude and with
// remanence, reduced, and compared with the same spheres magnetised and observed vertically.

#include "filter_fixture.h"

#include "fourier_filters.h"

#include "synth_survey.h"

#include <vector>

using namespace Tavorin;
using namespace I2DFourierFilters;

namespace {

// 128 by 128 cells of 50 m from (0, 0); the spheres lie within the middle half.
constexpr int Cells = 128;
constexpr double CellSize = 50;
constexpr int Border = 32; // cells left out of the comparison on every side: the middle half is compared

struct Sphere {
    synth::Vec3 centre;
    double radius, magnetisation;
};
const Sphere Spheres[] = {{{2400, 2800, -250}, 100, 2.0},  {{4000, 3600, -400}, 150, 1.5},
                          {{3200, 4400, -600}, 200, 1.0},  {{3700, 2200, -350}, 120, 2.5},
                          {{2600, 4000, -500}, 180, 1.2}};

// Total-field anomaly of the spheres magnetised along `magnetisation`, measured along `field`.
std::function<double(double, double)> anomaly(synth::InducingField field, synth::InducingField magnetisation)
{
    std::vector<synth::Dipole> bodies;
    for (const Sphere& s : Spheres)
        bodies.push_back(synth::magnetisedSphere(s.centre, s.radius, s.magnetisation, magnetisation.inclination,
                                                 magnetisation.declination));
    return [=](double x, double y) {
        double sum = 0;
        for (const synth::Dipole& b : bodies)
            sum += synth::totalFieldAnomaly(b, field, {x, y, 0});
        return sum;
    };
}

const synth::InducingField Pole{90, 0, 50000};

// Values at the cell centres, cell by cell.
std::vector<double> sampled(const I2DGridMesh* grid, const std::function<double(double, double)>& f)
{
    std::vector<double> values;
    for (unsigned int id = 0; id < grid->cellCount(); ++id) {
        const I3DVector c = grid->get2DGridGeometry().cellCenter(static_cast<int>(id));
        values.push_back(f(c.x, c.y));
    }
    return values;
}

// Gaussian noise of 2 % of the anomaly's RMS, the same draw for every case.
std::vector<double> withNoise(std::vector<double> values)
{
    double power = 0;
    for (double v : values)
        power += v * v;
    const double sigma = 0.02 * std::sqrt(power / values.size());
    synth::Noise noise;
    for (double& v : values)
        v += noise.gaussian(sigma);
    return values;
}

struct Agreement {
    double error;       // interior RMS of (result - truth) / RMS of truth, each less its interior mean
    double correlation; // interior correlation coefficient
};

Agreement agreement(const I2DGridMesh* grid, const IBaseDataFloat* result, const std::vector<double>& truth)
{
    const I2DGridGeometry& g = grid->get2DGridGeometry();
    double n = 0, sr = 0, st = 0, srr = 0, stt = 0, srt = 0;
    for (int v = Border; v < Cells - Border; ++v) {
        for (int u = Border; u < Cells - Border; ++u) {
            const unsigned int id = g.cellID(u, v);
            const double r = result->value(id), t = truth[id];
            n += 1;
            sr += r;
            st += t;
            srr += r * r;
            stt += t * t;
            srt += r * t;
        }
    }
    const double vr = srr - sr * sr / n, vt = stt - st * st / n, crt = srt - sr * st / n;
    return {std::sqrt((vr + vt - 2 * crt) / vt), crt / std::sqrt(vr * vt)};
}

} // namespace

// Auto at every latitude: the limited gain below 15 degrees, the plain division, exactly, from 15
// on; and the plain division with a remanent magnetisation of its own.
TEST_F(FilterTest, StabilisedReductionToThePoleMeetsItsTargetsAtEveryLatitude)
{
    I2DGridMesh* grid = makeGrid(Cells, Cells, CellSize, CellSize, {0, 0});
    const std::vector<double> truth = sampled(grid, anomaly(Pole, Pole));
    auto reduce = [&](synth::InducingField field, synth::InducingField magnetisation) {
        const std::vector<double> tmi = withNoise(sampled(grid, anomaly(field, magnetisation)));
        IBaseDataFloat* source = makeData(grid, "TMI", [&, id = 0u](double, double) mutable { return tmi[id++]; });
        const MagneticDirections directions{float(field.inclination), float(field.declination),
                                            float(magnetisation.inclination), float(magnetisation.declination)};
        EXPECT_TRUE(rtpStable(grid, source, directions, Stabilisation(), "stable"));
        return source;
    };
    auto forget = [&](std::initializer_list<const char*> names) {
        for (const char* name : names)
            grid->DataList()->remove(grid->DataList()->Data(name));
    };

    // Targets by inclination: largest error, least correlation.
    const struct {
        float inclination;
        double error, correlation;
    } targets[] = {{0, 0.40, 0.92}, {0.5f, 0.40, 0.92}, {2, 0.40, 0.92}, {5, 0.30, 0.95}, {10, 0.12, 0}};
    for (float declination : {0.0f, 45.0f, 90.0f}) {
        for (const auto& t : targets) {
            const synth::InducingField field{t.inclination, declination, 50000};
            reduce(field, field);
            const Agreement a = agreement(grid, item(grid, "stable"), truth);
            EXPECT_LE(a.error, t.error) << t.inclination << " " << declination;
            EXPECT_GE(a.correlation, t.correlation) << t.inclination << " " << declination;
            forget({"TMI", "stable"});
        }
        // From 15 degrees on, the plain reduction's values.
        IBaseDataFloat* source = reduce({15, declination, 50000}, {15, declination, 50000});
        ASSERT_TRUE(rtp(grid, source, 15, declination, "plain"));
        const IBaseDataFloat *stable = item(grid, "stable"), *plain = item(grid, "plain");
        for (unsigned int id = 0; id < grid->cellCount(); ++id)
            ASSERT_EQ(stable->value(id), plain->value(id)) << declination << " " << id;
        forget({"TMI", "stable", "plain"});
    }

    reduce({-53, 7, 50000}, {30, -60, 50000});
    const Agreement remanent = agreement(grid, item(grid, "stable"), truth);
    EXPECT_LE(remanent.error, 0.03);
}

// Pseudo-gravity and apparent susceptibility share the stabilised division: at 2 degrees they
// come close to the plain transforms of the field at the pole. Without noise, which the downward
// continuation of the susceptibility would amplify beyond any comparison.
TEST_F(FilterTest, StabilisedPseudoGravityAndSusceptibilityMatchThemAtThePole)
{
    I2DGridMesh* grid = makeGrid(Cells, Cells, CellSize, CellSize, {0, 0});
    IBaseDataFloat* pole = makeData(grid, "pole", anomaly(Pole, Pole));
    const synth::InducingField low{2, 45, 50000};
    IBaseDataFloat* source = makeData(grid, "TMI", anomaly(low, low));
    const MagneticDirections directions = inducedDirections(2, 45);

    ASSERT_TRUE(pseudoGravity(grid, pole, 50000, 90, 0, "gravity at the pole"));
    ASSERT_TRUE(pseudoGravityStable(grid, source, 50000, directions, {}, "gravity"));
    ASSERT_TRUE(apparentSusceptibility(grid, pole, 100, 50000, 90, 0, true, "susceptibility at the pole"));
    ASSERT_TRUE(apparentSusceptibilityStable(grid, source, 100, 50000, directions, true, {}, "susceptibility"));
    const IBaseDataFloat* results[2][2] = {{item(grid, "gravity"), item(grid, "gravity at the pole")},
                                           {item(grid, "susceptibility"), item(grid, "susceptibility at the pole")}};
    for (const auto& pair : results) {
        const Agreement a = agreement(grid, pair[0], sampled(grid, [&](double x, double y) {
            return pair[1]->value(grid->get2DGridGeometry().cellID(I3DVector(x, y)));
        }));
        EXPECT_LE(a.error, 0.40) << pair[0]->Name().toStdString();
        EXPECT_GE(a.correlation, 0.92) << pair[0]->Name().toStdString();
    }
}
