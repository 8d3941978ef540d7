#include "synth_fields.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

using namespace synth;

namespace {

constexpr double kPi = 3.141592653589793;

struct MagneticCase {
    InducingField field;
    Dipole body;
};

// Induced and remanent spheres under low, high and southern-hemisphere fields.
std::vector<MagneticCase> magneticCases()
{
    const Vec3 centre{120.0, -80.0, -300.0};
    const InducingField north{65.0, 12.0, 52000.0};
    const InducingField south{-30.0, -100.0, 31000.0};
    const InducingField low{5.0, 200.0, 40000.0};
    return {
        {north, inducedSphere(centre, 100.0, 0.02, north)},
        {south, inducedSphere(centre, 100.0, 0.05, south)},
        {low, inducedSphere(centre, 100.0, 0.01, low)},
        {north, magnetisedSphere(centre, 100.0, 3.0, -40.0, 150.0)},
    };
}

const DenseSphere kDense{{-60.0, 40.0, -250.0}, 90.0, 400.0};

// Observation points at two heights, above and beside the source, none nearer than 250 m.
std::vector<Vec3> observationPoints()
{
    return {{120.0, -80.0, 0.0}, {300.0, 50.0, 0.0}, {-200.0, -300.0, 60.0}, {500.0, -80.0, 60.0}};
}

using Scalar = std::function<double(const Vec3&)>;

Vec3 centralDifferences(const Scalar& f, const Vec3& p, double h)
{
    return {(f({p.x + h, p.y, p.z}) - f({p.x - h, p.y, p.z})) / (2 * h),
            (f({p.x, p.y + h, p.z}) - f({p.x, p.y - h, p.z})) / (2 * h),
            (f({p.x, p.y, p.z + h}) - f({p.x, p.y, p.z - h})) / (2 * h)};
}

void expectGradientMatches(const Vec3& analytic, const Vec3& numeric)
{
    const double scale = std::abs(numeric.x) + std::abs(numeric.y) + std::abs(numeric.z);
    const double tolerance = 1e-5 * scale;
    EXPECT_NEAR(analytic.x, numeric.x, tolerance);
    EXPECT_NEAR(analytic.y, numeric.y, tolerance);
    EXPECT_NEAR(analytic.z, numeric.z, tolerance);
}

// Sum of the second differences along x, y and z, and the sum of their magnitudes for scale.
std::pair<double, double> laplacian(const Scalar& f, const Vec3& p, double h)
{
    const double f0 = f(p);
    const double dxx = f({p.x + h, p.y, p.z}) - 2 * f0 + f({p.x - h, p.y, p.z});
    const double dyy = f({p.x, p.y + h, p.z}) - 2 * f0 + f({p.x, p.y - h, p.z});
    const double dzz = f({p.x, p.y, p.z + h}) - 2 * f0 + f({p.x, p.y, p.z - h});
    return {(dxx + dyy + dzz) / (h * h), (std::abs(dxx) + std::abs(dyy) + std::abs(dzz)) / (h * h)};
}

} // namespace

// Each field's gradient against central differences, and Laplace's equation away from the source.
TEST(SphereFields, GradientsMatchCentralDifferencesAndFieldsAreHarmonic)
{
    std::vector<std::pair<Scalar, std::function<Vec3(const Vec3&)>>> fields;
    for (const MagneticCase& c : magneticCases())
        fields.push_back({[c](const Vec3& p) { return totalFieldAnomaly(c.body, c.field, p); },
                          [c](const Vec3& p) { return totalFieldGradient(c.body, c.field, p); }});
    fields.push_back({[](const Vec3& p) { return gravityZ(kDense, p); },
                      [](const Vec3& p) { return gravityZGradient(kDense, p); }});
    for (const auto& [f, gradient] : fields)
        for (const Vec3& p : observationPoints()) {
            expectGradientMatches(gradient(p), centralDifferences(f, p, 0.5));
            const auto [sum, scale] = laplacian(f, p, 2.0);
            EXPECT_LT(std::abs(sum), 1e-3 * scale);
        }
}

TEST(SphereClosedForms, GravityPeakAboveTheSphereIsGMOverDSquared)
{
    const DenseSphere body{{100.0, -50.0, -400.0}, 150.0, 300.0};
    const double mass = 300.0 * 4.0 / 3.0 * kPi * 150.0 * 150.0 * 150.0;
    const double d = 420.0;
    const double peak = gravityZ(body, {100.0, -50.0, 20.0});
    EXPECT_NEAR(peak, 6.6743e-11 * mass / (d * d) * 1e5, 1e-9 * peak);
    EXPECT_GT(peak, gravityZ(body, {110.0, -50.0, 20.0}));

}

TEST(SphereClosedForms, PoleAnomalyAboveTheSphereIsTwiceMu0MOverFourPiDCubed)
{
    const InducingField pole{90.0, 0.0, 50000.0};
    const double radius = 80.0, d = 350.0;
    const Vec3 centre{-40.0, 70.0, -300.0};
    const Vec3 above{-40.0, 70.0, 50.0};

    // Magnetisation given as an intensity: m = M V.
    const double M = 2.5;
    const double m = M * 4.0 / 3.0 * kPi * radius * radius * radius;
    const double expected = 2.0 * 1e-7 * m / (d * d * d) * 1e9;
    EXPECT_NEAR(totalFieldAnomaly(magnetisedSphere(centre, radius, M, 90.0, 0.0), pole, above), expected,
                1e-9 * expected);

    // Induced: M = k F / mu0, so the peak is (2/3) k F a^3 / d^3 whatever mu0 is.
    const double k = 0.03;
    const double induced = 2.0 / 3.0 * k * pole.strength * std::pow(radius / d, 3);
    EXPECT_NEAR(totalFieldAnomaly(inducedSphere(centre, radius, k, pole), pole, above), induced,
                1e-9 * induced);
}
