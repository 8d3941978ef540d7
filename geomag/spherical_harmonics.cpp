#include "spherical_harmonics.h"

#include "schmidt_legendre.h"

#include <cmath>

namespace geomag {
namespace {

// P_n^m / sin(theta), which the east component needs. P_n^m carries a factor sin^m(theta), so on
// the axis the quotient vanishes for m >= 2 and is dP_n^1/dtheta for m = 1, signed by the pole.
double overSinTheta(double p, double dp, int m, const SphericalPoint& point)
{
    if (point.sinTheta != 0.0)
        return p / point.sinTheta;
    return m == 1 ? (point.cosTheta > 0.0 ? dp : -dp) : 0.0;
}

} // namespace

// X = (1/r) dV/dtheta,  Y = -1/(r sin theta) dV/dlambda,  Z = dV/dr.
FieldComponents sphericalHarmonicField(const GaussCoefficients& coefficients, const SphericalPoint& point)
{
    std::vector<double> p;
    std::vector<double> dp;
    schmidtLegendre(coefficients.maxDegree, point.cosTheta, point.sinTheta, p, dp);
    const double ratio = kIgrfReferenceRadiusKm / point.radiusKm;
    FieldComponents field;
    double radial = ratio * ratio; // (a/r)^(n+2), starting at n = 0
    for (int n = 1; n <= coefficients.maxDegree; ++n) {
        radial *= ratio;
        for (int m = 0; m <= n; ++m) {
            const std::size_t k = static_cast<std::size_t>(harmonicIndex(n, m));
            const double cosML = std::cos(m * point.longitudeRad);
            const double sinML = std::sin(m * point.longitudeRad);
            const double g = coefficients.g[k];
            const double h = coefficients.h[k];
            const double inPhase = g * cosML + h * sinML;
            field.north += radial * inPhase * dp[k];
            field.east += radial * m * (g * sinML - h * cosML) * overSinTheta(p[k], dp[k], m, point);
            field.down -= (n + 1) * radial * inPhase * p[k];
        }
    }
    return field;
}

} // namespace geomag
