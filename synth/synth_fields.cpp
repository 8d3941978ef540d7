#include "synth_fields.h"

#include <cmath>
#include <stdexcept>

namespace synth {
namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kDegree = kPi / 180.0;
constexpr double kTeslaToNanotesla = 1e9;
constexpr double kSiToMilligal = 1e5;
// mu0 / (4 pi) in nT m^3 / (A m^2): the dipole field's constant.
constexpr double kDipoleConstant = kMu0Over4Pi * kTeslaToNanotesla;

double dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

Vec3 scaled(const Vec3& a, double s) { return {a.x * s, a.y * s, a.z * s}; }

// Vector from the source to the observation point, which must not be the source itself.
Vec3 offsetFrom(const Vec3& source, const Vec3& p)
{
    Vec3 r{p.x - source.x, p.y - source.y, p.z - source.z};
    if (dot(r, r) == 0.0)
        throw std::domain_error("synth: observation point at the centre of the source");
    return r;
}

double sphereVolume(double radius)
{
    if (!(radius > 0.0))
        throw std::invalid_argument("synth: sphere radius must be positive");
    return 4.0 / 3.0 * kPi * radius * radius * radius;
}

} // namespace

Vec3 directionCosines(double inclination_deg, double declination_deg)
{
    const double I = inclination_deg * kDegree;
    const double D = declination_deg * kDegree;
    return {std::cos(I) * std::sin(D), std::cos(I) * std::cos(D), -std::sin(I)};
}

Dipole magnetisedSphere(const Vec3& centre, double radius, double magnetisation,
                        double inclination_deg, double declination_deg)
{
    const double m = magnetisation * sphereVolume(radius);
    return {centre, scaled(directionCosines(inclination_deg, declination_deg), m)};
}

Dipole inducedSphere(const Vec3& centre, double radius, double susceptibility,
                     const InducingField& field)
{
    // H = F / mu0 with F in tesla; 4 pi * 1e-7 is mu0.
    const double H = field.strength / kTeslaToNanotesla / (4.0 * kPi * kMu0Over4Pi);
    return magnetisedSphere(centre, radius, susceptibility * H, field.inclination, field.declination);
}

// B = mu0/(4 pi) * (3 (m.r) r / r^5 - m / r^3)
Vec3 anomalousField(const Dipole& body, const Vec3& p)
{
    const Vec3 r = offsetFrom(body.centre, p);
    const double r2 = dot(r, r);
    const double r3 = r2 * std::sqrt(r2);
    const double a = 3.0 * dot(body.moment, r) / r2;
    return scaled({a * r.x - body.moment.x, a * r.y - body.moment.y, a * r.z - body.moment.z},
                  kDipoleConstant / r3);
}

// dT = t.B = mu0/(4 pi) * (3 (m.r)(t.r) / r^5 - (m.t) / r^3)
double totalFieldAnomaly(const Dipole& body, const InducingField& field, const Vec3& p)
{
    const Vec3 r = offsetFrom(body.centre, p);
    const Vec3 t = directionCosines(field.inclination, field.declination);
    const double r2 = dot(r, r);
    const double r3 = r2 * std::sqrt(r2);
    return kDipoleConstant
           * (3.0 * dot(body.moment, r) * dot(t, r) / (r3 * r2) - dot(body.moment, t) / r3);
}

// d dT/dr_j = mu0/(4 pi) * (3 (m_j (t.r) + t_j (m.r)) / r^5 - 15 (m.r)(t.r) r_j / r^7
//                          + 3 (m.t) r_j / r^5)
Vec3 totalFieldGradient(const Dipole& body, const InducingField& field, const Vec3& p)
{
    const Vec3 r = offsetFrom(body.centre, p);
    const Vec3 t = directionCosines(field.inclination, field.declination);
    const Vec3& m = body.moment;
    const double r2 = dot(r, r);
    const double r5 = r2 * r2 * std::sqrt(r2);
    const double mr = dot(m, r), tr = dot(t, r), mt = dot(m, t);
    const double radial = 3.0 * mt - 15.0 * mr * tr / r2;
    auto component = [&](double mj, double tj, double rj) {
        return kDipoleConstant * (3.0 * (mj * tr + tj * mr) + radial * rj) / r5;
    };
    return {component(m.x, t.x, r.x), component(m.y, t.y, r.y), component(m.z, t.z, r.z)};
}

// gz = G M dz / r^3, with dz the height of the observation point above the centre.
double gravityZ(const DenseSphere& body, const Vec3& p)
{
    const double GM = kGravitationalConstant * body.density * sphereVolume(body.radius);
    const Vec3 r = offsetFrom(body.centre, p);
    const double r2 = dot(r, r);
    return kSiToMilligal * GM * r.z / (r2 * std::sqrt(r2));
}

// d gz/dx = -3 G M dz dx / r^5, d gz/dz_up = G M (1/r^3 - 3 dz^2 / r^5)
Vec3 gravityZGradient(const DenseSphere& body, const Vec3& p)
{
    const double GM = kGravitationalConstant * body.density * sphereVolume(body.radius);
    const Vec3 r = offsetFrom(body.centre, p);
    const double r2 = dot(r, r);
    const double r5 = r2 * r2 * std::sqrt(r2);
    const double k = kSiToMilligal * GM / r5;
    return {-3.0 * k * r.z * r.x, -3.0 * k * r.z * r.y, k * (r2 - 3.0 * r.z * r.z)};
}

} // namespace synth
