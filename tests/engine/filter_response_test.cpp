// The response kernel against hand-derived values: window shapes, directional window edges, the
// derivative and continuation factors and the behaviour at the origin.

#include "filter_response.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const double TWOPI = 6.283185307179586;

struct Value {
    double re, im;
};

Value Apply(const FilterParams& p, double u, double v, int IND, int ITYP, Value in = {1.0, 0.0})
{
    double z[2] = {in.re, in.im};
    FilterResponse(p, u, v, z, IND, ITYP);
    return {z[0], z[1]};
}

FilterParams Units()
{
    FilterParams p;
    p.C1 = TWOPI * 10.0;
    p.C2 = p.C1 * p.C1;
    p.scale.DX = p.scale.DY = 10.0;
    return p;
}

}   // namespace

TEST(FilterResponse, OriginAndIntegration)
{
    FilterParams p = Units();
    p.dir = {0.3, 0.5, -0.81};
    p.mag = {0.3, 0.5, -0.81};
    for (int IND : {5, 6, 11}) {
        Value z = Apply(p, 0.0, 0.0, IND, 0);
        EXPECT_EQ(z.re, 0.0) << "IND " << IND;
        EXPECT_EQ(z.im, 0.0) << "IND " << IND;
    }
    p.IDIR = 3;
    EXPECT_EQ(Apply(p, 0.0, 0.0, 10, 0).re, 0.0);
    // The vertical derivative keeps c1 * 1e-7 of the mean.
    EXPECT_NEAR(Apply(p, 0.0, 0.0, 2, 0).re, p.C1 * 1e-7, 1e-12);
    p.IDIR = 1;
    Value dx = Apply(p, 0.0, 0.0, 2, 0);
    EXPECT_EQ(dx.re, 0.0);
    EXPECT_EQ(dx.im, 0.0);
    // Away from it, integration along x undoes d/dx (2 pi i u per 10 units).
    dx = Apply(p, 0.003, -0.004, 2, 0);
    EXPECT_NEAR(dx.im, p.C1 * 0.003, 1e-12);
    Value integral = Apply(p, 0.003, -0.004, 10, 0, dx);
    EXPECT_NEAR(integral.re, 1.0, 1e-12);
    EXPECT_NEAR(integral.im, 0.0, 1e-12);
}

TEST(FilterResponse, RadialWindowsAreFlatToTheHeadAndHalfAtTheShoulder)
{
    FilterParams p = Units();
    p.HEAD = 1.0 / 400.0;
    p.SHLD = 1.0 / 200.0;
    // Low pass: unchanged at exactly 1/WHEAD, one half at 1/WSHLD, unchanged below.
    EXPECT_EQ(Apply(p, p.HEAD, 0.0, 1, 1).re, 1.0);
    EXPECT_NEAR(Apply(p, 0.0, p.SHLD, 1, 1).re, 0.5, 1e-4);
    EXPECT_NEAR(Apply(p, 0.6 * p.SHLD, 0.8 * p.SHLD, 1, 1).re, 0.5, 1e-4);
    EXPECT_EQ(Apply(p, 0.5 * p.HEAD, 0.0, 1, 1).re, 1.0);
    EXPECT_LT(Apply(p, 4.0 * p.SHLD, 0.0, 1, 1).re, 1e-6);
    // High pass: flat above 1/WHEAD, one half at the lower shoulder.
    p.HEAD = 1.0 / 200.0;
    p.SHLD = 1.0 / 400.0;
    EXPECT_EQ(Apply(p, 2.0 * p.HEAD, 0.0, 1, 2).re, 1.0);
    EXPECT_NEAR(Apply(p, p.SHLD, 0.0, 1, 2).re, 0.5, 1e-4);
    // ITYP 3 is no window at all.
    EXPECT_EQ(Apply(p, p.SHLD, 0.0, 1, 3).re, 1.0);
}

// The directional taper itself is measured on white noise by the directional filter's test; here
// its edges: the origin, and windows so wide that they pass everything.
TEST(FilterResponse, DirectionalWindowsKeepTheOriginAndWideWindowsPassEverything)
{
    FilterParams p = Units();
    p.pass.STRIKE = 0.0;
    p.pass.HASTR = 30.0;
    EXPECT_EQ(Apply(p, 0.0, 0.0, 1, 4).re, 1.0);
    // A window of half-width 45 degrees or more leaves everything, even a continuation, unchanged.
    p.pass = {45.0, 45.0005};
    p.cont.Z = 100.0;
    p.HEAD = 0.001;
    p.SHLD = 0.002;
    for (int ITYP : {4, 5, 6}) {
        Value z = Apply(p, 0.01, 0.02, 3, ITYP, {0.7, -0.2});
        EXPECT_EQ(z.re, 0.7) << "ITYP " << ITYP;
        EXPECT_EQ(z.im, -0.2) << "ITYP " << ITYP;
    }
}

TEST(FilterResponse, ReductionToThePole)
{
    FilterParams p = Units();
    // Vertical field and magnetisation: Theta = -N k, so RTP is (k - 1e-7) k / k^2, about 1.
    p.dir = {0.0, 0.0, -1.0};
    p.mag = {0.0, 0.0, -1.0};
    EXPECT_NEAR(Apply(p, 0.003, 0.004, 5, 0).re, 1.0, 1e-4);
    // Horizontal field pointing north: Theta vanishes wherever v = 0.
    p.dir = {0.0, 1.0, 0.0};
    p.mag = {0.0, 1.0, 0.0};
    Value z = Apply(p, 0.003, 0.0, 5, 0);
    EXPECT_TRUE(std::isnan(z.re));
    EXPECT_TRUE(std::isnan(z.im));
    EXPECT_FALSE(std::isnan(Apply(p, 0.003, 0.002, 5, 0).re));

    // The limited gain: 0 at the zero, never above 1/F, and IND 5's value wherever
    // |Theta Theta'| / k^2 = (v/k)^2 reaches F; F = 0 is IND 5 everywhere.
    EXPECT_TRUE(std::isnan(Apply(p, 0.003, 0.0, 14, 0).re));
    p.FLOOR = std::pow(std::sin(7.5 * M_PI / 180.0), 2);
    z = Apply(p, 0.003, 0.0, 14, 0);
    EXPECT_EQ(z.re, 0.0);
    EXPECT_EQ(z.im, 0.0);
    for (double azimuth = 0.0; azimuth < 180.0; azimuth += 0.25) {
        double u = 0.005 * std::sin(azimuth * M_PI / 180.0), v = 0.005 * std::cos(azimuth * M_PI / 180.0);
        Value limited = Apply(p, u, v, 14, 0), plain = Apply(p, u, v, 5, 0);
        EXPECT_LE(std::hypot(limited.re, limited.im), 1.0 / p.FLOOR) << azimuth;
        if (v * v / (u * u + v * v) >= 1.001 * p.FLOOR) {
            EXPECT_EQ(limited.re, plain.re) << azimuth;
            EXPECT_EQ(limited.im, plain.im) << azimuth;
        }
    }
}

// The paired kernel must give, bit for bit, what two single calls at u and -u give, for every
// window and response: the inverse run's results rest on it.
TEST(FilterResponse, PairMatchesSingleValuesExactly)
{
    FilterParams p = Units();
    p.HEAD = 0.004;
    p.SHLD = 0.008;
    p.pass = {30.0, 60.0};
    p.cont.Z = 25.0;
    p.dir = {0.3, 0.6, -0.74};
    p.mag = {0.2, 0.5, -0.84};
    p.FACTOR = 0.05;
    p.FLOOR = 0.6;   // limits the gain of IND 14 to 16 somewhere in the sample
    p.IDIR = 1;
    const Value in = {0.37, -1.25};
    for (int ITYP : {-2, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10})
        for (int IND = 1; IND <= 17; ++IND)
            for (double u : {0.0, 0.001, 0.0045, 0.013})
                for (double v : {0.0, 0.002, 0.009}) {
                    double plus[2] = {in.re, in.im}, minus[2] = {-in.im, in.re};
                    FilterResponsePair(p, u, v, plus, minus, IND, ITYP);
                    Value one = Apply(p, u, v, IND, ITYP, in), other = Apply(p, -u, v, IND, ITYP, {-in.im, in.re});
                    const auto same = [](double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); };
                    EXPECT_TRUE(same(plus[0], one.re) && same(plus[1], one.im) && same(minus[0], other.re) &&
                                same(minus[1], other.im))
                        << "ITYP " << ITYP << " IND " << IND << " u " << u << " v " << v;
                }
}
