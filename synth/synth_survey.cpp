#include "synth_survey.h"

#include <cmath>

namespace synth {
namespace {

void accumulate(Vec3& sum, const Vec3& term)
{
    sum.x += term.x;
    sum.y += term.y;
    sum.z += term.z;
}

} // namespace

double MagneticSurvey::operator()(const Vec3& p) const
{
    double value = trend.at(p.x, p.y);
    for (const Dipole& body : bodies)
        value += totalFieldAnomaly(body, field, p);
    return value;
}

Vec3 MagneticSurvey::gradient(const Vec3& p) const
{
    Vec3 sum{trend.slope_x, trend.slope_y, 0.0};
    for (const Dipole& body : bodies)
        accumulate(sum, totalFieldGradient(body, field, p));
    return sum;
}

double GravitySurvey::operator()(const Vec3& p) const
{
    double value = trend.at(p.x, p.y);
    for (const DenseSphere& body : bodies)
        value += gravityZ(body, p);
    return value;
}

Vec3 GravitySurvey::gradient(const Vec3& p) const
{
    Vec3 sum{trend.slope_x, trend.slope_y, 0.0};
    for (const DenseSphere& body : bodies)
        accumulate(sum, gravityZGradient(body, p));
    return sum;
}

double Noise::uniform()
{
    // Centre of one of 2^32 equal bins: never 0, so the logarithm below stays finite.
    return (double(engine_()) + 0.5) / 4294967296.0;
}

// Box-Muller: two uniforms give two independent normal deviates; the second is kept for the
// next call.
double Noise::gaussian(double sigma)
{
    if (has_spare_) {
        has_spare_ = false;
        return sigma * spare_;
    }
    const double radius = std::sqrt(-2.0 * std::log(uniform()));
    const double angle = 2.0 * 3.141592653589793 * uniform();
    spare_ = radius * std::sin(angle);
    has_spare_ = true;
    return sigma * radius * std::cos(angle);
}

void addNoise(Grid& grid, double sigma, std::uint32_t seed)
{
    Noise noise(seed);
    for (std::size_t i = 0; i < grid.values.size(); ++i)
        if (grid.nodata[i] == 0)
            grid.values[i] += noise.gaussian(sigma);
}

} // namespace synth
