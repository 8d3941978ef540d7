#include "schmidt_legendre.h"

#include "igrf_model.h"

#include <cmath>

namespace geomag {

// Recursions (Langel, "The main field", in Geomagnetism vol. 1, 1987):
//   sectoral:  P_n^n = sqrt((2n-1)/2n) sin(theta) P_{n-1}^{n-1}            (n >= 2; P_1^1 = sin theta)
//   along n:   P_n^m = [(2n-1) cos(theta) P_{n-1}^m - sqrt((n-1)^2 - m^2) P_{n-2}^m] / sqrt(n^2 - m^2)
// and the same recursions differentiated with respect to theta.
void schmidtLegendre(int maxDegree, double cosTheta, double sinTheta, std::vector<double>& p,
                     std::vector<double>& dp)
{
    const std::size_t count = static_cast<std::size_t>(harmonicCount(maxDegree));
    p.assign(count, 0.0);
    dp.assign(count, 0.0);
    p[0] = 1.0;
    for (int m = 0; m <= maxDegree; ++m) {
        const int mm = harmonicIndex(m, m);
        if (m == 1) {
            p[mm] = sinTheta;
            dp[mm] = cosTheta;
        } else if (m >= 2) {
            const int previous = harmonicIndex(m - 1, m - 1);
            const double factor = std::sqrt((2.0 * m - 1.0) / (2.0 * m));
            p[mm] = factor * sinTheta * p[previous];
            dp[mm] = factor * (cosTheta * p[previous] + sinTheta * dp[previous]);
        }
        for (int n = m + 1; n <= maxDegree; ++n) {
            const int k = harmonicIndex(n, m);
            const int k1 = harmonicIndex(n - 1, m);
            const double norm = std::sqrt(static_cast<double>(n * n - m * m));
            p[k] = (2.0 * n - 1.0) * cosTheta * p[k1];
            dp[k] = (2.0 * n - 1.0) * (cosTheta * dp[k1] - sinTheta * p[k1]);
            if (n >= m + 2) {
                const int k2 = harmonicIndex(n - 2, m);
                const double back = std::sqrt(static_cast<double>((n - 1) * (n - 1) - m * m));
                p[k] -= back * p[k2];
                dp[k] -= back * dp[k2];
            }
            p[k] /= norm;
            dp[k] /= norm;
        }
    }
}

} // namespace geomag
