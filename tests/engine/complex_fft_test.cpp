#include "complex_fft.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <random>
#include <vector>

namespace {

const long double PI_L = 3.141592653589793238462643383279502884L;

std::vector<double> RandomSignal(int32_t n, unsigned seed)
{
    std::mt19937 gen(seed);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    std::vector<double> x(2 * n);
    for (double& v : x)
        v = u(gen);
    return x;
}

// The transform's definition summed in long double: sign -1 and no scale forward, +1 and 1/N back.
std::vector<double> DirectDft(int forward, const std::vector<double>& x)
{
    const int32_t n = static_cast<int32_t>(x.size() / 2);
    const long double sign = forward ? -1.0L : 1.0L;
    std::vector<std::complex<long double>> root(n);
    for (int32_t t = 0; t < n; ++t)
        root[t] = std::polar(1.0L, sign * 2.0L * PI_L * t / n);
    std::vector<double> y(2 * n);
    for (int32_t k = 0; k < n; ++k) {
        std::complex<long double> sum = 0.0L;
        for (int32_t j = 0; j < n; ++j)
            sum += std::complex<long double>(x[2 * j], x[2 * j + 1]) * root[(int64_t(j) * k) % n];
        if (!forward)
            sum /= static_cast<long double>(n);
        y[2 * k] = static_cast<double>(sum.real());
        y[2 * k + 1] = static_cast<double>(sum.imag());
    }
    return y;
}

// Largest deviation relative to the largest component of the reference.
double RelativeError(const std::vector<double>& got, const std::vector<double>& want)
{
    double err = 0.0, scale = 0.0;
    for (size_t i = 0; i < want.size(); ++i) {
        err = std::max(err, std::fabs(got[i] - want[i]));
        scale = std::max(scale, std::fabs(want[i]));
    }
    return err / scale;
}

double Energy(const std::vector<double>& x)
{
    double e = 0.0;
    for (double v : x)
        e += v * v;
    return e;
}

} // namespace

// Lengths 2 to 1024 cover the radix-8 pass alone (8), with the radix-2 (16) and radix-4 (32)
// closing passes, and up to three radix-8 passes.
TEST(ComplexFFT, MatchesDirectDftForLengthsUpTo1024)
{
    for (int32_t m = 1; m <= 10; ++m) {
        const int32_t n = 1 << m;
        for (int forward : {1, 0}) {
            const std::vector<double> x = RandomSignal(n, 100 * m + forward);
            std::vector<double> y = x;
            ASSERT_EQ(ComplexFFT(forward, n, y.data()), 0);
            EXPECT_LT(RelativeError(y, DirectDft(forward, x)), 1e-12) << "N = " << n << " forward = " << forward;
        }
    }
}

// Longest lengths, largest first so that smaller transforms reuse the grown work arrays.
TEST(ComplexFFT, LongTransformsRoundTripAndKeepEnergy)
{
    for (int32_t m = 15; m >= 11; --m) {
        const int32_t n = 1 << m;
        const std::vector<double> x = RandomSignal(n, m);
        std::vector<double> y = x;
        ASSERT_EQ(ComplexFFT(1, n, y.data()), 0);
        // Parseval: sum |Y_k|^2 = N sum |x_j|^2 for the unscaled forward transform.
        EXPECT_NEAR(Energy(y) / (n * Energy(x)), 1.0, 1e-12) << "N = " << n;
        ASSERT_EQ(ComplexFFT(0, n, y.data()), 0);
        EXPECT_LT(RelativeError(y, x), 1e-12) << "N = " << n;
    }
}

TEST(ComplexFFT, RejectsUnsupportedLengthsAndLeavesDataAlone)
{
    const std::vector<double> x = RandomSignal(65536, 7);
    for (int32_t n : {1, 65536, 12, -8}) {
        for (int forward : {1, 0}) {
            std::vector<double> y = x;
            EXPECT_EQ(ComplexFFT(forward, n, y.data()), -1) << "N = " << n;
            EXPECT_EQ(y, x) << "N = " << n;
        }
    }
}
