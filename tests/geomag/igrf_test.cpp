#include "igrf_location.h"
#include "igrf_model.h"
#include "main_field.h"
#include "scratch_dir.h"
#include "spherical_harmonics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

using namespace geomag;

namespace {

std::string bundledPath()
{
    std::string path, error;
    EXPECT_TRUE(findIgrfCoefficients(path, error)) << error;
    return path;
}

IgrfModel bundledModel()
{
    IgrfModel model;
    std::string error;
    EXPECT_TRUE(loadIgrfModel(bundledPath(), model, error)) << error;
    return model;
}

MainField fieldAt(const IgrfModel& model, double latitude, double longitude, double year)
{
    MainField field;
    std::string error;
    EXPECT_TRUE(igrfField(model, latitude, longitude, 0.0, year, field, error)) << error;
    return field;
}

// A geocentric dipole in Cartesian form, apart from any Legendre function: V = a^3 (G . r) / r^3
// with G = (g11, h11, g10) along (lambda = 0, lambda = 90 E, north), so B = a^3 (3 (G . u) u - G) / r^3.
FieldComponents closedFormDipole(double g10, double g11, double h11, const SphericalPoint& p)
{
    const double cl = std::cos(p.longitudeRad), sl = std::sin(p.longitudeRad);
    const double up[3] = {p.sinTheta * cl, p.sinTheta * sl, p.cosTheta};
    const double north[3] = {-p.cosTheta * cl, -p.cosTheta * sl, p.sinTheta};
    const double east[3] = {-sl, cl, 0.0};
    const double G[3] = {g11, h11, g10};
    const double scale = std::pow(kIgrfReferenceRadiusKm / p.radiusKm, 3);
    auto dot = [](const double* a, const double* b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; };
    auto along = [&](const double* u) { return scale * (3.0 * dot(G, up) * dot(up, u) - dot(G, u)); };
    return {along(north), along(east), -along(up)};
}

// North, east and down of a field (MainField or FieldComponents) against another's.
template <typename Actual, typename Expected>
void expectSameComponents(const Actual& actual, const Expected& expected, double tolerance)
{
    EXPECT_NEAR(actual.north, expected.north, tolerance);
    EXPECT_NEAR(actual.east, expected.east, tolerance);
    EXPECT_NEAR(actual.down, expected.down, tolerance);
}

} // namespace

TEST(Igrf, MatchesTheCheckValuesAndStaysFiniteAtThePoles)
{
    const IgrfModel model = bundledModel();
    struct Check { double latitude, longitude, year, total, declination, inclination; };
    for (const Check& c : {Check{-21.958, 140.667, 1990.5, 51995.9, 6.670, -53.178},
                           Check{45.0, 15.0, 2010.0, 47403.3, 2.772, 61.466}}) {
        const MainField f = fieldAt(model, c.latitude, c.longitude, c.year);
        EXPECT_NEAR(f.total, c.total, 0.05);
        EXPECT_NEAR(f.declination, c.declination, 0.001);
        EXPECT_NEAR(f.inclination, c.inclination, 0.001);
    }
    // At a pole the field is the limit along the given meridian.
    for (double pole : {90.0, -90.0}) {
        const MainField at = fieldAt(model, pole, 30.0, 2020.0);
        expectSameComponents(at, fieldAt(model, pole - std::copysign(1e-7, pole), 30.0, 2020.0), 0.01);
    }
}

TEST(SphericalHarmonics, DipoleTermsMatchTheClosedFormDipole)
{
    const GaussCoefficients dipole{1, {0.0, -29350.0, -1410.3}, {0.0, 0.0, 4545.5}};
    const double colatitudes[][2] = {{1.0, 0.0}, {-1.0, 0.0}, {std::cos(0.3), std::sin(0.3)},
                                     {0.0, 1.0}, {std::cos(2.5), std::sin(2.5)}};
    for (double radius : {kIgrfReferenceRadiusKm, 8000.0})
        for (const auto& theta : colatitudes)
            for (double lambda : {-2.0, 0.0, 1.0, 3.0}) {
                const SphericalPoint p{radius, theta[0], theta[1], lambda};
                expectSameComponents(sphericalHarmonicField(dipole, p), closedFormDipole(-29350.0, -1410.3, 4545.5, p), 1e-8);
            }
}

TEST(IgrfModel, InterpolatesBetweenEpochsAndExtrapolatesWithTheSecularVariation)
{
    const IgrfModel model = bundledModel();
    GaussCoefficients c;
    std::string error;
    // Past the last epoch, its coefficients move on with the secular variation (the file's rows g 1 0
    // and h 1 1); the epochs themselves are read right if the check values above come out.
    ASSERT_TRUE(igrfCoefficientsAt(model, 2027.5, c, error)) << error;
    EXPECT_NEAR(c.g[harmonicIndex(1, 0)], -29350.0 + 2.5 * 12.6, 1e-9);
    EXPECT_NEAR(c.h[harmonicIndex(1, 1)], 4545.5 + 2.5 * -21.5, 1e-9);
    // The components are linear in the coefficients, so mid-way they are the mean of both ends.
    for (double start : {1990.0, 2025.0}) {
        const MainField a = fieldAt(model, -30.0, 25.0, start);
        const MainField b = fieldAt(model, -30.0, 25.0, start + 5.0);
        expectSameComponents(fieldAt(model, -30.0, 25.0, start + 2.5),
                             FieldComponents{(a.north + b.north) / 2, (a.east + b.east) / 2, (a.down + b.down) / 2}, 1e-6);
    }
}

TEST(Igrf, RefusesYearsAndPlacesOutsideTheModel)
{
    const IgrfModel model = bundledModel();
    MainField f;
    std::string error;
    EXPECT_FALSE(igrfField(model, 0.0, 0.0, 0.0, 1899.9, f, error));
    EXPECT_NE(error.find("year 1899.9 is outside 1900 to 2030"), std::string::npos) << error;
    EXPECT_FALSE(igrfField(model, 0.0, 0.0, 0.0, 2030.1, f, error));
    EXPECT_NE(error.find("year 2030.1 is outside 1900 to 2030"), std::string::npos) << error;
    EXPECT_FALSE(igrfField(model, 0.0, 0.0, 0.0, std::nan(""), f, error));
    EXPECT_TRUE(igrfField(model, 0.0, 0.0, 0.0, 1900.0, f, error)) << error;
    EXPECT_TRUE(igrfField(model, 0.0, 0.0, 0.0, 2030.0, f, error)) << error;
    EXPECT_FALSE(igrfField(model, 90.5, 0.0, 0.0, 2000.0, f, error));
    EXPECT_NE(error.find("latitude 90.5"), std::string::npos) << error;
    EXPECT_FALSE(igrfField(model, 0.0, 0.0, -4e6, 2000.0, f, error));
    EXPECT_NE(error.find("-4000000"), std::string::npos) << error;
}

TEST(IgrfModel, RefusesDamagedFilesNamingTheLine)
{
    std::ifstream in(bundledPath());
    std::stringstream whole;
    whole << in.rdbuf();
    const std::string text = whole.str();
    auto replaced = [&text](const std::string& from, const std::string& to) {
        std::string damaged = text;
        return damaged.replace(damaged.find(from), from.size(), to);
    };
    struct Damage { std::string text, expected; };
    const Damage damages[] = {
        {text.substr(0, text.size() - 25), "line 199: h 13 13 has"}, // cut inside a row
        {text.substr(0, text.find("g 11 ")), "line 124: the coefficients end at degree 10"},
        {replaced("-29403.41", "-29403.4l"), "line 5: '-29403.4l' in g 1 0"},
        {replaced("g/h n m", "#"), "line 5: coefficient row before the header"},
        {replaced("h 13 13", "h 13 12"), "line 199: a second row for h 13 12"},
        {"", "no header line"},
    };
    ScratchDir scratch;
    for (const Damage& d : damages) {
        std::ofstream(scratch.file("damaged.txt")) << d.text;
        IgrfModel model;
        std::string error;
        EXPECT_FALSE(loadIgrfModel(scratch.file("damaged.txt"), model, error));
        EXPECT_NE(error.find(d.expected), std::string::npos) << error;
    }
}

TEST(IgrfLocation, TheEnvironmentOverridesTheInstalledFile)
{
    std::string path;
    std::string error;
    unsetenv("SPECTRAFIL_IGRF");
    ASSERT_TRUE(findIgrfCoefficients(path, error)) << error;
    EXPECT_NE(path.find("share/spectrafil/igrf14coeffs.txt"), std::string::npos) << path;
    setenv("SPECTRAFIL_IGRF", "/nonexistent/igrf.txt", 1);
    EXPECT_FALSE(findIgrfCoefficients(path, error));
    EXPECT_NE(error.find("/nonexistent/igrf.txt"), std::string::npos) << error;
    ScratchDir scratch;
    std::ofstream(scratch.file("own.txt")) << "# own coefficients\n";
    setenv("SPECTRAFIL_IGRF", scratch.file("own.txt").c_str(), 1);
    EXPECT_TRUE(findIgrfCoefficients(path, error)) << error;
    EXPECT_EQ(path, scratch.file("own.txt"));
    unsetenv("SPECTRAFIL_IGRF");
}
