// The tilt derivative, higher vertical derivatives, residual, band pass and directional filter
// against independent truths: closed-form fields of a sphere, sums of sinusoids, and the spectrum
// of white noise taken with a plain DFT.

#include "filter_fixture.h"

#include "fourier_filters.h"

#include "sphere_survey.h"

#include <complex>
#include <random>

using namespace Tavorin;
using namespace I2DFourierFilters;
using namespace sphere_survey;

namespace {

constexpr double Pi = 3.141592653589793;
constexpr double Degree = Pi / 180;

// The closed-form tests' sphere survey, at any height.
double anomaly(double x, double y, double z = 0) { return synth::totalFieldAnomaly(Body, Field, {x, y, z}); }

} // namespace

TEST_F(FilterTest, TiltAndVerticalDerivativesMatchTheClosedForm)
{
    I2DGridMesh* grid = makeGrid(Cells, Cells, CellSize, CellSize, {0, 0});
    IBaseDataFloat* source = makeData(grid, "TMI", [](double x, double y) { return anomaly(x, y); });
    ASSERT_TRUE(tiltDerivative(grid, source, false, "") && verticalDerivative(grid, source, 2, false, "")
                && verticalDerivative(grid, source, 3, false, ""));
    EXPECT_EQ(logTexts().count(" ************* DUVERU2_fwd ************* "), 3); // the tilt's three runs share one

    // The engine's derivatives are positive downward. The tilt magnifies the edge effects where the
    // field is weak, near the edges: the middle half counts.
    const double tiltError = interiorRms(grid, item(grid, "TMI tilt"), [](double x, double y) {
        const synth::Vec3 g = synth::totalFieldGradient(Body, Field, {x, y, 0});
        return std::atan2(-g.z, std::hypot(g.x, g.y)) / Degree;
    }, 16).error;
    // Differences of the closed form over heights 5 m apart.
    const double h = 5;
    const Rms vd2 = interiorRms(grid, item(grid, "TMI vd2 filtered"), [h](double x, double y) {
        return (anomaly(x, y, h) - 2 * anomaly(x, y) + anomaly(x, y, -h)) / (h * h);
    });
    const Rms vd3 = interiorRms(grid, item(grid, "TMI vd3 filtered"), [h](double x, double y) {
        return (anomaly(x, y, -2 * h) - 2 * anomaly(x, y, -h) + 2 * anomaly(x, y, h) - anomaly(x, y, 2 * h))
               / (2 * h * h * h);
    });
    const double vd2Error = vd2.error / vd2.truth, vd3Error = vd3.error / vd3.truth;
    EXPECT_LT(tiltError, 2.0);
    EXPECT_LT(vd2Error, 0.05);
    EXPECT_LT(vd3Error, 0.05);

    ASSERT_TRUE(verticalDerivative(grid, source, 1, true, "order 1")
                && firstVerticalDerivative(grid, source, true, ""));
    for (unsigned int id = 0; id < grid->cellCount(); ++id)
        ASSERT_EQ(item(grid, "order 1")->value(id), item(grid, "TMI vd filtered")->value(id)) << id;
}

TEST_F(FilterTest, ResidualAndBandPassSeparateThreeBands)
{
    // On 256 by 256 cells of 10 m over a level of 1000: 800 m along x, 120 m at azimuth 30 and 30 m
    // along y. The cut-offs 60 and 400 m lie between them; the edges ring over a cut-off's length.
    const Field2D middle = [](double x, double y) {
        return 10 * std::cos(2 * Pi * (x * std::sin(30 * Degree) + y * std::cos(30 * Degree)) / 120 + 0.4);
    };
    const Field2D shortBand = [](double, double y) { return 5 * std::sin(2 * Pi * y / 30 + 1.1); };
    I2DGridMesh* grid = makeGrid(256, 256, 10, 10, {0, 0});
    IBaseDataFloat* source = makeData(grid, "TMI", [&](double x, double y) {
        return 1000 + 20 * std::sin(2 * Pi * x / 800) + middle(x, y) + shortBand(x, y);
    });
    ASSERT_TRUE(bandPass(grid, source, 60, 400, "") && residual(grid, source, 400, "")
                && lowPass(grid, source, 400, ""));
    EXPECT_EQ(logTexts().count(" ************* DUVERU2_fwd ************* "), 3); // the band pass's two runs share one

    const IBaseDataFloat* band = item(grid, "TMI band pass filtered");
    const IBaseDataFloat* rest = item(grid, "TMI residual");
    const Rms bandRms = interiorRms(grid, band, middle, 32);
    const Rms restRms = interiorRms(grid, rest, [&](double x, double y) { return middle(x, y) + shortBand(x, y); }, 32);
    double bandMean = 0, restMean = 0, worstSum = 0;
    for (unsigned int id = 0; id < grid->cellCount(); ++id) {
        bandMean += band->value(id) / grid->cellCount();
        restMean += rest->value(id) / grid->cellCount();
        const double sum = item(grid, "TMI low pass filtered")->value(id) + rest->value(id);
        worstSum = std::max(worstSum, std::fabs(sum - source->value(id)));
    }
    EXPECT_LT(bandRms.error / bandRms.truth, 0.05);
    EXPECT_LT(restRms.error / restRms.truth, 0.05);
    EXPECT_LT(std::fabs(bandMean), 0.05 * bandRms.truth); // the level of 1000 is gone
    EXPECT_LT(std::fabs(restMean), 0.05 * bandRms.truth);
    EXPECT_LE(worstSum, 1100 * std::numeric_limits<float>::epsilon()); // one rounding of values near 1000
}

namespace {

using Spectrum = std::vector<std::complex<double>>;

// Plain DFT of an n by n grid, exp(-2 pi i (ku u + kv v) / n), under a Hann window that keeps the
// leakage of the grid's edges from blurring the spectrum.
Spectrum dft(const IBaseDataFloat* data, const I2DGridGeometry& g)
{
    const int n = g.nCellU();
    std::vector<double> hann(n);
    for (int j = 0; j < n; ++j)
        hann[j] = 0.5 - 0.5 * std::cos(2 * Pi * (j + 0.5) / n);
    Spectrum rows(n * n), result(n * n);
    for (int v = 0; v < n; ++v)
        for (int ku = 0; ku < n; ++ku)
            for (int u = 0; u < n; ++u)
                rows[v * n + ku] += hann[u] * hann[v] * data->value(g.cellID(u, v))
                                    * std::polar(1.0, -2 * Pi * ku * u / n);
    for (int kv = 0; kv < n; ++kv)
        for (int ku = 0; ku < n; ++ku)
            for (int v = 0; v < n; ++v)
                result[kv * n + ku] += rows[v * n + ku] * std::polar(1.0, -2 * Pi * kv * v / n);
    return result;
}

// The largest difference, over 5 degree bins of the angle theta between a wavenumber and the normal
// to the strike, between the measured response sqrt(output power / input power) and the wanted
// one, over the wavenumbers of radius rmin to rmax DFT bins.
double largestDifference(const Spectrum& in, const Spectrum& out, int n, double strike, int rmin, int rmax,
                         const std::function<double(double theta)>& wanted)
{
    std::vector<double> inPower(18), outPower(18), wantedPower(18);
    const double s = std::sin(strike * Degree), c = std::cos(strike * Degree);
    for (int kv = 0; kv < n; ++kv)
        for (int ku = 0; ku < n; ++ku) {
            const double u = ku < n / 2 ? ku : ku - n, v = kv < n / 2 ? kv : kv - n;
            if (std::hypot(u, v) < rmin || std::hypot(u, v) > rmax)
                continue;
            const double theta = std::atan2(std::fabs(s * u + c * v), std::fabs(c * u - s * v)) / Degree;
            const int bin = std::min(17, int(theta / 5));
            inPower[bin] += std::norm(in[kv * n + ku]);
            outPower[bin] += std::norm(out[kv * n + ku]);
            wantedPower[bin] += wanted(theta) * wanted(theta) * std::norm(in[kv * n + ku]);
        }
    double largest = 0;
    for (int bin = 0; bin < 18; ++bin)
        largest = std::max(largest, std::fabs(std::sqrt(outPower[bin] / inPower[bin])
                                              - std::sqrt(wantedPower[bin] / inPower[bin])));
    return largest;
}

} // namespace

TEST_F(FilterTest, DirectionalTaperMeasuredOnWhiteNoise)
{
    const int n = 128;
    I2DGridMesh* grid = makeGrid(n, n, 10, 10, {0, 0});
    std::mt19937 random(19);
    std::normal_distribution<double> normal(0, 1);
    IBaseDataFloat* noise = makeData(grid, "noise", [&](double, double) { return normal(random); });
    const double strike = 30, tolerance = 15;
    ASSERT_TRUE(directionalFilter(grid, noise, strike, tolerance, 0, false, "")
                && directionalFilter(grid, noise, strike, tolerance, 0, true, "kept")
                && directionalFilter(grid, noise, strike, tolerance, 200, false, "short only"));

    // The stated taper: 0 across the strike, 1/2 at the tolerance, 1 - 2^-9 at three times it.
    const auto removed = [=](double theta) { return 1 - std::pow(2.0, -(theta / tolerance) * (theta / tolerance)); };
    const auto kept = [=](double theta) { return 1 - removed(theta); };
    const I2DGridGeometry& g = grid->get2DGridGeometry();
    const Spectrum in = dft(noise, g), shortOnly = dft(item(grid, "short only"), g);
    // With a cut-off of 200 m, wavelengths below 80 m (radius 16) are tapered, above 320 m (radius 4) not.
    const double differences[] = {
        largestDifference(in, dft(item(grid, "noise directional filtered"), g), n, strike, 4, 60, removed),
        largestDifference(in, dft(item(grid, "kept"), g), n, strike, 4, 60, kept),
        largestDifference(in, shortOnly, n, strike, 16, 60, removed),
        largestDifference(in, shortOnly, n, strike, 1, 4, [](double) { return 1.0; })};
    for (double difference : differences)
        EXPECT_LT(difference, 0.03);
}
