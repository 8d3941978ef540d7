#pragma once
// Closed-form potential fields of spheres (Blakely, "Potential Theory in Gravity and Magnetic
// Applications", ch. 3, 4, 7): the independent truth the filters are tested against.
//
// Conventions, followed by every function of this library:
//  - x east, y north, z up (elevation, m). A buried body's centre has a negative z; the observation
//    height is the z of the observation point.
//  - Inclination is positive below the horizontal, declination clockwise from north, both in
//    degrees. A direction (I, D) has the unit vector (L, M, N) = (cos I sin D, cos I cos D, -sin I)
//    in (x, y, z): N is negative for a field that dips downward, because z is up.
//  - Magnetic fields in nT, gravity in mGal with gz positive for a downward attraction, lengths in
//    m, magnetisation in A/m, susceptibility in SI, density contrast in kg/m^3.
//  - Derivatives are per metre, and every z derivative is d/dz with z UP. A vertical derivative that
//    is positive downward (the filter engine's) is minus it: dT/dz_down = -dT/dz_up.
//  - The total-field anomaly dT is the projection of the anomalous field on the inducing-field
//    direction: dT = Bx*L + By*M + Bz*N, with Bz the upward component.
//
// Field functions need the observation point outside the sphere; at its centre they throw
// std::domain_error.

namespace synth {

struct Vec3 {
    double x = 0;
    double y = 0;
    double z = 0;
};

inline constexpr double kMu0Over4Pi = 1e-7;                 // T m / A
inline constexpr double kGravitationalConstant = 6.6743e-11; // m^3 / (kg s^2)

// Unit vector (L, M, N) of a direction, z up.
Vec3 directionCosines(double inclination_deg, double declination_deg);

// The Earth's field that induces magnetisation and along which the total field is measured.
struct InducingField {
    double inclination = 90; // degrees, positive downward
    double declination = 0;  // degrees, clockwise from north
    double strength = 50000; // nT; only used to induce magnetisation
};

// Outside itself a uniformly magnetised sphere has the field of a point dipole at its centre.
struct Dipole {
    Vec3 centre;
    Vec3 moment; // A m^2
};

// Sphere of the given radius magnetised with the given intensity (A/m) along (I, D): induced or
// remanent alike. Throws std::invalid_argument for a radius that is not positive.
Dipole magnetisedSphere(const Vec3& centre, double radius, double magnetisation,
                        double inclination_deg, double declination_deg);
// Sphere magnetised by induction alone: M = susceptibility * F / mu0, along the inducing field.
Dipole inducedSphere(const Vec3& centre, double radius, double susceptibility,
                     const InducingField& field);

// Anomalous field (Bx east, By north, Bz up), nT.
Vec3 anomalousField(const Dipole& body, const Vec3& p);
// Total-field anomaly dT, nT.
double totalFieldAnomaly(const Dipole& body, const InducingField& field, const Vec3& p);
// (d dT/dx, d dT/dy, d dT/dz_up), nT/m.
Vec3 totalFieldGradient(const Dipole& body, const InducingField& field, const Vec3& p);

struct DenseSphere {
    Vec3 centre;
    double radius = 0;  // m
    double density = 0; // contrast, kg/m^3
};

// Vertical attraction gz, mGal, positive downward (positive above a dense body).
double gravityZ(const DenseSphere& body, const Vec3& p);
// (d gz/dx, d gz/dy, d gz/dz_up), mGal/m.
Vec3 gravityZGradient(const DenseSphere& body, const Vec3& p);

} // namespace synth
