// The radial power spectrum and the depths from it, on fields whose spectrum is known.

#include "filter_fixture.h"

#include "complex_fft.h"
#include "power_spectrum.h"

#include <QFile>

#include <algorithm>
#include <complex>
#include <random>
#include <vector>

namespace F = I2DFourierFilters;

namespace {

constexpr double Pi = 3.14159265358979323846;

// Real part of the inverse 2D transform of sqrt(P(|k|)) with random phases, n by n cells of
// size dx: a stationary field whose radial power spectrum is proportional to P.
std::vector<double> randomField(int n, double dx, const std::function<double(double)>& power, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> phase(0.0, 2 * Pi);
    std::vector<std::complex<double>> f(size_t(n) * size_t(n));
    auto signedIndex = [n](int i) { return i <= n / 2 ? i : i - n; };
    for (int iy = 0; iy < n; ++iy)
        for (int ix = 0; ix < n; ++ix) {
            const double k = std::hypot(signedIndex(ix), signedIndex(iy)) / (n * dx);
            f[size_t(iy) * size_t(n) + size_t(ix)] = k > 0 ? std::polar(std::sqrt(power(k)), phase(random)) : 0.0;
        }
    std::vector<std::complex<double>> line(static_cast<size_t>(n));
    auto transform = [&](size_t start, size_t step) {
        for (size_t i = 0; i < size_t(n); ++i)
            line[i] = f[start + i * step];
        ComplexFFT(0, n, reinterpret_cast<double*>(line.data()));
        for (size_t i = 0; i < size_t(n); ++i)
            f[start + i * step] = line[i];
    };
    for (int row = 0; row < n; ++row)
        transform(size_t(row) * size_t(n), 1);
    for (int column = 0; column < n; ++column)
        transform(size_t(column), size_t(n));
    std::vector<double> field(f.size());
    std::transform(f.begin(), f.end(), field.begin(), [](const std::complex<double>& c) { return c.real(); });
    return field;
}

class PowerSpectrumTest : public FilterTest {
protected:
    Tavorin::IBaseDataFloat* makeField(Tavorin::I2DGridMesh* grid, const std::vector<double>& values)
    {
        const Tavorin::I2DGridGeometry& g = grid->get2DGridGeometry();
        return makeData(grid, "field", [&](double x, double y) {
            int u = 0, v = 0;
            g.cellUV(g.cellID(Tavorin::I3DVector(x, y)), u, v);
            return values[size_t(v) * size_t(g.nCellU()) + size_t(u)];
        });
    }
};

} // namespace

TEST_F(PowerSpectrumTest, DepthsOfTwoEnsemblesComeBackFromARandomFieldOfTheirSpectrum)
{
    // Deep sources at 2000 m and shallow ones at 200 m, equally strong near 0.5 cycles/km.
    const double z1 = 2000, z2 = 200, kCross = 0.5e-3;
    const double a2 = std::exp(-4 * Pi * (z1 - z2) * kCross);
    auto power = [&](double k) { return std::exp(-4 * Pi * z1 * k) + a2 * std::exp(-4 * Pi * z2 * k); };
    const int n = 256;
    for (unsigned seed : {1u, 2u}) {
        SCOPED_TRACE(seed);
        Tavorin::I2DGridMesh* grid = makeGrid(n, n, 100, 100);
        Tavorin::IBaseDataFloat* data = makeField(grid, randomField(n, 100, power, seed));
        for (unsigned int id = 0; id < grid->cellCount(); id += 97) // scattered holes the gap fill closes
            data->clearValue(id);
        F::RadialSpectrum spectrum;
        ASSERT_TRUE(F::radialPowerSpectrum(grid, data, spectrum)) << logTexts(2).join("\n").toStdString();
        std::vector<F::DepthSegment> segments;
        QString error;
        ASSERT_TRUE(F::estimateDepths(spectrum, 2, {}, segments, error)) << error.toStdString();
        ASSERT_EQ(segments.size(), 2u);
        EXPECT_NEAR(segments[0].depth, z1, 0.15 * z1);
        EXPECT_NEAR(segments[1].depth, z2, 0.15 * z2);
        EXPECT_LT(segments[0].range.to, segments[1].range.from);
    }
}

TEST_F(PowerSpectrumTest, ASinusoidLandsInItsRingAndBadRangesOrFilesAreRefused)
{
    const double wavelength = 800; // 1.25 cycles/km on 100 m cells
    Tavorin::I2DGridMesh* grid = makeGrid(64, 48, 100, 100);
    Tavorin::IBaseDataFloat* data = makeData(grid, "wave", [&](double x, double y) {
        return 5 + std::cos(2 * Pi * (0.6 * x + 0.8 * y) / wavelength);
    });
    F::RadialSpectrum spectrum;
    ASSERT_TRUE(F::radialPowerSpectrum(grid, data, spectrum));
    ASSERT_FALSE(spectrum.rings.empty());
    EXPECT_GT(spectrum.rings.front().wavenumber, 0.5 * spectrum.ringWidth); // no DC ring
    EXPECT_LE(spectrum.rings.back().wavenumber, 0.5 / 100 + 0.5 * spectrum.ringWidth);
    const auto peak = std::max_element(spectrum.rings.begin(), spectrum.rings.end(),
                                       [](const auto& a, const auto& b) { return a.lnPower < b.lnPower; });
    EXPECT_NEAR(peak->wavenumber, 1 / wavelength, 0.5 * spectrum.ringWidth);
    // The data window's edges spread some power to longer waves, none to much shorter ones.
    for (const F::SpectrumRing& ring : spectrum.rings) {
        if (ring.wavenumber > 1.5 / wavelength) {
            EXPECT_LT(ring.lnPower, peak->lnPower - 4) << ring.wavenumber;
        }
    }

    std::vector<F::DepthSegment> segments;
    QString error;
    const double k = 1e-3; // cycles per metre
    EXPECT_FALSE(F::estimateDepths(spectrum, 2, {{0.4 * k, 2 * k}, {1.5 * k, 3 * k}}, segments, error));
    EXPECT_TRUE(error.contains("overlap")) << error.toStdString();
    EXPECT_FALSE(F::estimateDepths(spectrum, 1, {{2 * k, 2 * k}}, segments, error));
    EXPECT_TRUE(error.contains("empty")) << error.toStdString();
    EXPECT_FALSE(F::estimateDepths(spectrum, 1, {{2 * k, 2.1 * k}}, segments, error));
    EXPECT_TRUE(error.contains("at least 3")) << error.toStdString();
    EXPECT_FALSE(F::estimateDepths(spectrum, 5, {}, segments, error));
    EXPECT_TRUE(error.contains("1 to 4")) << error.toStdString();
    EXPECT_TRUE(segments.empty());

    // A spectrum file cut short is refused, not averaged.
    QFile file(tempFile("fpt15_2D_FWD_SPEC_FILTER.BIN"));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.resize(file.size() - 16));
    file.close();
    EXPECT_FALSE(F::readRadialSpectrum(file.fileName(), spectrum, error));
    EXPECT_TRUE(error.contains("not a complete spectrum file")) << error.toStdString();
}
