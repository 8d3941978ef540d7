#pragma once
// Realistic synthetic surveys: several spheres on a planar regional trend, plus reproducible
// noise. Conventions as in synth_fields.h.

#include "synth_fields.h"
#include "synth_grid.h"

#include <cstdint>
#include <random>
#include <vector>

namespace synth {

// level + slope_x*(x - x0) + slope_y*(y - y0); slopes in field units per metre.
struct PlanarTrend {
    double level = 0;
    double slope_x = 0;
    double slope_y = 0;
    double x0 = 0;
    double y0 = 0;

    double at(double x, double y) const { return level + slope_x * (x - x0) + slope_y * (y - y0); }
};

// Total-field anomaly of several magnetised spheres in one inducing field, plus a trend (nT).
struct MagneticSurvey {
    InducingField field;
    std::vector<Dipole> bodies;
    PlanarTrend trend;

    double operator()(const Vec3& p) const;
    Vec3 gradient(const Vec3& p) const; // (d/dx, d/dy, d/dz_up), nT/m
};

// Vertical gravity of several spheres, plus a trend (mGal).
struct GravitySurvey {
    std::vector<DenseSphere> bodies;
    PlanarTrend trend;

    double operator()(const Vec3& p) const;
    Vec3 gradient(const Vec3& p) const; // (d/dx, d/dy, d/dz_up), mGal/m
};

// Deterministic noise: the same seed gives the same sequence on every platform, since both the
// Mersenne twister and the Box-Muller transform used here are fully specified.
class Noise {
public:
    static constexpr std::uint32_t kDefaultSeed = 20240611u;

    explicit Noise(std::uint32_t seed = kDefaultSeed) : engine_(seed) {}

    double uniform();              // in (0, 1)
    double gaussian(double sigma); // mean 0, standard deviation sigma

private:
    std::mt19937 engine_;
    bool has_spare_ = false;
    double spare_ = 0;
};

// Adds Gaussian noise of the given standard deviation to every cell that has a value.
void addNoise(Grid& grid, double sigma, std::uint32_t seed = Noise::kDefaultSeed);

} // namespace synth
