#pragma once
// Schmidt semi-normalised associated Legendre functions P_n^m(cos theta), without the
// Condon-Shortley phase, and their derivatives d/dtheta, as geomagnetism uses them.

#include <vector>

namespace geomag {

// P_n^m and dP_n^m/dtheta for 0 <= m <= n <= maxDegree at harmonicIndex(n, m) of p and dp.
void schmidtLegendre(int maxDegree, double cosTheta, double sinTheta, std::vector<double>& p,
                     std::vector<double>& dp);

} // namespace geomag
