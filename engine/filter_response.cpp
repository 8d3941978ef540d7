// Filter response kernel. Conventions of every formula below:
//   - u, v are wavenumbers in cycles per grid unit along x (east) and y (north);
//     k = sqrt(u^2 + v^2 + 1e-14) never vanishes (1e-7 at the origin), k0^2 = u^2 + v^2.
//   - The stored spectrum was taken with exp(-2 pi i (u x + v y)), so d/dx is the factor
//     2 pi i u; c1 = 2 pi 10^n makes derivatives come out per 10^n grid units.
//   - z is positive downward for derivatives: d/dz is the factor 2 pi k; heights Z are positive
//     upward, so continuation by Z is exp(-2 pi k Z).

#include "filter_response.h"
#include "filter_codes.h"

#include <cmath>


namespace {

const double TWOPI = 6.283185307179586;
const double PI = 3.141592653589793;
const double DEGREE = 0.017453292519943295;   // pi/180
const double KTINY = 1e-7;                    // k at the origin; below it, integrals are 0
const double LN2 = 0.6931471805599453;

struct Cplx {
    double re, im;
};

Cplx Times(Cplx a, double s) { return {a.re * s, a.im * s}; }
// a * (i s)
Cplx TimesI(Cplx a, double s) { return {-a.im * s, a.re * s}; }
Cplx Mul(Cplx a, Cplx b) { return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re}; }

// Smith's scaled division; a zero divisor, or one with a NaN part, gives NaN in both parts.
Cplx Div(Cplx a, Cplx b)
{
    if ((b.re == 0.0 && b.im == 0.0) || std::isnan(b.re) || std::isnan(b.im))
        return {NAN, NAN};
    if (std::fabs(b.re) >= std::fabs(b.im)) {
        double r = b.im / b.re, den = b.re + b.im * r;
        return {(a.re + a.im * r) / den, (a.im - a.re * r) / den};
    }
    double r = b.re / b.im, den = b.re * r + b.im;
    return {(a.re * r + a.im) / den, (a.im * r - a.re) / den};
}

// E(Z) = exp(-2 pi k Z): upward continuation by Z grid units (downward when Z < 0).
// Without continuation the exponent is a zero and E exactly 1: the call is skipped.
double Continuation(double k, double Z) { return Z == 0.0 ? 1.0 : std::exp(-TWOPI * k * Z); }

// Below this exponent exp underflows to exactly 0 (its smallest result, 4.9e-324, is exp(-744.4)).
const double EXP_UNDERFLOW = -750.0;

// Radial roll-off exp(-pi sigma^2 d^2); far beyond the shoulder it is exactly 0 without the call.
double RollOff(double sigma, double d)
{
    double exponent = -PI * sigma * sigma * d * d;
    return exponent < EXP_UNDERFLOW ? 0.0 : std::exp(exponent);
}

// Direction factor of the unit vector (L, M, N) = (cos I sin D, cos I cos D, -sin I):
// Theta = -N k + i (L u + M v), the derivative along that direction divided by 2 pi.
Cplx Theta(double L, double M, double N, double u, double v, double k)
{
    return {-N * k, L * u + M * v};
}

// z / (Theta Theta'): the field and magnetisation projections removed.
__attribute__((always_inline)) inline Cplx RemoveDirections(const FilterParams& p, double u, double v, double k, Cplx z)
{
    Cplx field = Theta(p.dir.T1, p.dir.T2, p.dir.T3, u, v, k);
    Cplx magn = Theta(p.mag.T1, p.mag.T2, p.mag.T3, u, v, k);
    return Div(z, Mul(field, magn));
}

// z / (Theta Theta') with the gain limited. Theta Theta' / k^2 is 1 in size at the pole and falls
// to 0 at a low inclination along the wavenumbers across the horizontal field, where the plain
// division blows up. Below the floor F k^2 (F = sin^2 of the limit inclination) the value becomes
// z conj(Theta Theta') / (F k^2)^2, whose gain falls from 1/F to 0 at the zero; elsewhere it is
// IND 5's division exactly. F = 0 is IND 5's division everywhere.
Cplx RemoveDirectionsLimited(const FilterParams& p, double u, double v, double k, Cplx z)
{
    Cplx factor = Mul(Theta(p.dir.T1, p.dir.T2, p.dir.T3, u, v, k), Theta(p.mag.T1, p.mag.T2, p.mag.T3, u, v, k));
    double floor = p.FLOOR * k * k;
    if (std::hypot(factor.re, factor.im) >= floor)
        return Div(z, factor);
    return Times(Mul(z, {factor.re, -factor.im}), 1.0 / (floor * floor));
}

// Equivalent-layer step with factor A: B = exp(2 pi k Z) k0^2 A / (sinc(u DX) sinc(v DY)),
// z <- z B / (2 pi); the sincs undo the cell averaging of the binned grid.
Cplx LayerStep(const FilterParams& p, double u, double v, double k, double A, Cplx z)
{
    double sx = 1.0, sy = 1.0;
    if (std::fabs(u) > KTINY)
        sx = std::sin(PI * u * p.scale.DX) / (PI * u * p.scale.DX);
    if (std::fabs(v) > KTINY)
        sy = std::sin(PI * v * p.scale.DY) / (PI * v * p.scale.DY);
    double B = std::exp(TWOPI * k * p.cont.Z) * (u * u + v * v) * A / (sy * sx);
    return Times(z, B / TWOPI);
}

// Pseudo-gravity of z with the direction factors removed: (k - 1e-7) * 6.67 / (2 pi F), mGal
// from nT for a density/susceptibility ratio F; 0 at the origin.
Cplx PseudoGravity(const FilterParams& p, double k, Cplx removed)
{
    if (!(k > KTINY))
        return {0.0, 0.0};
    return Times(removed, (k - KTINY) * 6.67 / (TWOPI * p.FACTOR));
}

// Reduction to the pole of z with the direction factors removed: k^2, 0 at the origin.
Cplx ReductionToPole(double k, Cplx removed)
{
    return k > KTINY ? Times(removed, (k - KTINY) * k) : Cplx{0.0, 0.0};
}

// Continued first derivative of the total horizontal gradient passes:
// E(Z) times i c1 u (IDIR 1), i c1 v (IDIR 2) or c1 k (vertical).
__attribute__((always_inline)) inline Cplx ContinuedDerivative(const FilterParams& p, double u, double v, double k, Cplx z)
{
    z = Times(z, Continuation(k, p.cont.Z));
    if (p.IDIR == filter_codes::AlongX)
        return TimesI(z, p.C1 * u);
    if (p.IDIR == filter_codes::AlongY)
        return TimesI(z, p.C1 * v);
    return Times(z, p.C1 * k);
}

// First derivative along IDIR with continuation: i c1 D(u, v) E(Z), or c1 k E(Z) along z.
__attribute__((always_inline)) inline Cplx FirstDerivative(const FilterParams& p, double u, double v, double k, Cplx z)
{
    double E = Continuation(k, p.cont.Z);
    if (p.IDIR == filter_codes::Vertical)
        return Times(z, p.C1 * k * E);
    double D = u;
    if (p.IDIR == filter_codes::AlongY)
        D = v;
    else if (p.IDIR == filter_codes::AlongAzimuth)
        D = u * p.SG + v * p.CG;
    return TimesI(z, p.C1 * D * E);
}

// Second derivative: -(c1 u)^2, -(c1 v)^2, +(c1 k0)^2 (Laplace: d2/dz2 = -(d2/dx2 + d2/dy2)).
__attribute__((always_inline)) inline Cplx SecondDerivative(const FilterParams& p, double u, double v, Cplx z)
{
    if (p.IDIR == filter_codes::AlongY)
        return Times(z, -p.C2 * v * v);
    if (p.IDIR == filter_codes::Vertical)
        return Times(z, p.C2 * (u * u + v * v));
    if (p.IDIR == filter_codes::AlongAzimuth) {
        double D = p.C1 * (u * p.SG + v * p.CG);
        return Times(z, -D * D);
    }
    return Times(z, -p.C2 * u * u);
}

// Third derivative along z: c1^3 k k0^2, the cube of c1 k without the origin's 1e-7.
Cplx ThirdVerticalDerivative(const FilterParams& p, double u, double v, double k, Cplx z)
{
    return Times(z, p.C1 * p.C2 * k * (u * u + v * v));
}

// Third derivative: (i c1 u)^3 = -i c1^3 u^3, likewise v; along z as above.
Cplx ThirdDerivative(const FilterParams& p, double u, double v, double k, Cplx z)
{
    if (p.IDIR == filter_codes::AlongY)
        return TimesI(z, -p.C1 * p.C2 * v * v * v);
    if (p.IDIR == filter_codes::Vertical)
        return ThirdVerticalDerivative(p, u, v, k, z);
    return TimesI(z, -p.C1 * p.C2 * u * u * u);
}

// Integration: the inverse of the first derivative, 0 where it vanishes.
Cplx Integration(const FilterParams& p, double u, double v, double k, Cplx z)
{
    if (p.IDIR == filter_codes::AlongY)
        return std::fabs(v) > KTINY ? Div(z, {0.0, p.C1 * v}) : Cplx{0.0, 0.0};
    if (p.IDIR == filter_codes::Vertical)
        return k > KTINY ? Div(z, {p.C1 * k, 0.0}) : Cplx{0.0, 0.0};
    return std::fabs(u) > KTINY ? Div(z, {0.0, p.C1 * u}) : Cplx{0.0, 0.0};
}

// Field component of a total-field anomaly: i u / Theta (x), i v / Theta (y), -k / Theta (z).
Cplx Component(const FilterParams& p, double u, double v, double k, Cplx z)
{
    if (!(k > KTINY))
        return {0.0, 0.0};
    Cplx field = Theta(p.dir.T1, p.dir.T2, p.dir.T3, u, v, k);
    Cplx factor = {0.0, u};
    if (p.IDIR == filter_codes::AlongY)
        factor = {0.0, v};
    else if (p.IDIR == filter_codes::Vertical)
        factor = {-k, 0.0};
    return Div(Mul(factor, z), field);
}

Cplx Composite(const FilterParams& p, double u, double v, double k, Cplx z);

// Inlined into its callers, as are the common responses it calls: a call passes z through the
// stack for every spectral value, and reading it back as one vector waits for both halves.
__attribute__((always_inline)) inline Cplx Response(const FilterParams& p, double u, double v, double k, Cplx z,
                                                    int32_t IND)
{
    switch (IND) {
    case filter_codes::WindowOnly:
        return z;
    case filter_codes::Continuation:
        return Times(z, Continuation(k, p.cont.Z));
    case filter_codes::SecondDerivative:
        return SecondDerivative(p, u, v, z);
    case filter_codes::ReductionToPole:
        return ReductionToPole(k, RemoveDirections(p, u, v, k, z));
    case filter_codes::PseudoGravity:
        return PseudoGravity(p, k, RemoveDirections(p, u, v, k, z));
    case filter_codes::LayerSusceptibility:
        return LayerStep(p, u, v, k, 1e6 / p.FACTOR, RemoveDirections(p, u, v, k, z));
    case filter_codes::LayerDensity:
        return LayerStep(p, u, v, k, 150.0, Times(z, TWOPI / k));
    case filter_codes::ThirdDerivative:
        return ThirdDerivative(p, u, v, k, z);
    case filter_codes::Integration:
        return Integration(p, u, v, k, z);
    case filter_codes::FieldComponents:
        return Component(p, u, v, k, z);
    case filter_codes::HorizontalGradient:
        return ContinuedDerivative(p, u, v, k, z);
    case filter_codes::PseudoGravityGradient:
        return ContinuedDerivative(p, u, v, k, PseudoGravity(p, k, RemoveDirections(p, u, v, k, z)));
    case filter_codes::StableReductionToPole:
        return ReductionToPole(k, RemoveDirectionsLimited(p, u, v, k, z));
    case filter_codes::StablePseudoGravity:
        return PseudoGravity(p, k, RemoveDirectionsLimited(p, u, v, k, z));
    case filter_codes::StableLayerSusceptibility:
        return LayerStep(p, u, v, k, 1e6 / p.FACTOR, RemoveDirectionsLimited(p, u, v, k, z));
    case filter_codes::ThirdVerticalDerivative:
        return ThirdVerticalDerivative(p, u, v, k, z);
    case filter_codes::Composite:
        return Composite(p, u, v, k, z);
    default:
        return FirstDerivative(p, u, v, k, z);
    }
}

// Directional factor g of ITYP 4 to 7 and from 10 on; false when the window is degenerate
// (STRIKE and HASTR within 0.001 degree), in which case the value must be left alone.
bool DirectionalFactor(const FilterParams& p, double u, double v, int32_t ITYP, double& g)
{
    double w = std::fabs(p.pass.STRIKE - p.pass.HASTR);
    if (w <= 0.001)
        return false;
    double a = p.pass.STRIKE * DEGREE;
    double along = std::sin(a) * u + std::cos(a) * v;    // p: component along the strike
    double across = std::cos(a) * u - std::sin(a) * v;   // q: component across it
    // NINT(|q| 1e8) != 0 exactly when |q| 1e8 >= 0.5; comparing avoids an int overflow.
    double theta;
    if (std::fabs(across) * 1e8 >= 0.5)
        theta = std::atan(-along / across) / DEGREE;
    else if (std::fabs(along) * 1e8 >= 0.5)
        theta = 90.0;
    else
        return true;   // origin: g stays 1
    // Gaussian in azimuth, one half at theta = w: exp(-pi (0.4697/w)^2 theta^2).
    double s = 0.4697 / w;
    g = std::exp(-PI * s * s * theta * theta);
    if (ITYP == filter_codes::StrikeReject || ITYP == filter_codes::ShortStrikeReject)
        g = 1.0 - g;
    return true;
}

// Radial windows (ITYP 3 and below): rho = exp(-pi sigma^2 d^2), sigma = 0.4697/|h - s1|,
// d = k - h: 1 at the head wavenumber h, one half (pi 0.4697^2 = 0.6931) at the shoulder s1.
// Low pass (1) beyond the head, high pass (2, negative) below it, none (0, 3): exactly 1 where
// the value is left alone. rho is computed only where it is applied: one exp per value is most
// of the kernel.
double RadialWindow(const FilterParams& p, double k, int32_t ITYP)
{
    if (ITYP == filter_codes::NoWindow || ITYP == filter_codes::UnitWindow)
        return 1.0;
    double sigma = 0.4697 / std::fabs(p.HEAD - p.SHLD), d = k - p.HEAD;
    if (ITYP == filter_codes::LowPass)
        return k > p.HEAD ? RollOff(sigma, d) : 1.0;
    return k < p.HEAD ? RollOff(sigma, d) : 1.0;
}

// Windows of ITYP 4 to 7 and from 10 on: the directional factor g, with the radial roll-off of
// ITYP 6 (low pass) and 7 and from 10 on (high pass). False when the value must be left alone.
bool DirectionalWindow(const FilterParams& p, double u, double v, double k, int32_t ITYP, Cplx& value)
{
    double g = 1.0;
    if (!DirectionalFactor(p, u, v, ITYP, g))
        return false;
    double sigma = 0.0, d = 0.0;
    if (ITYP != 4 && ITYP != 5) {
        sigma = 0.4697 / std::fabs(p.HEAD - p.SHLD);
        d = k - p.HEAD;
    }
    if (ITYP == filter_codes::StrikePass || ITYP == filter_codes::StrikeReject)
        value = Times(value, g);
    else if (ITYP == filter_codes::ShortStrikeReject) {
        if (k > p.HEAD)
            value = Times(value, g > 0.99999 ? g : g * RollOff(sigma, d));
    } else if (k < p.HEAD) {
        value = Times(value, g * RollOff(sigma, d));
    }
    return true;
}

// Smooth directional taper of ITYP 8 (reject) and 9 (keep). theta, 0 to 90 degrees, is the angle
// of (u, v) from the normal to the strike, where the energy of features striking along it lies.
// The pass factor exp(-ln 2 (theta/T)^2) is 1 there and 1/2 at T; the reject is its complement.
// With a cut-off the low pass's roll-off rho lets the long wavelengths through: a + (1 - a) rho.
double DirectionalTaper(const FilterParams& p, double u, double v, double k, int32_t ITYP)
{
    double T = std::fabs(p.pass.STRIKE - p.pass.HASTR);
    bool cutoff = p.HEAD > 0.0;
    if (T == 0.0 || (u == 0.0 && v == 0.0) || (cutoff && k <= p.HEAD))
        return 1.0;
    double a = p.pass.STRIKE * DEGREE;
    double along = std::fabs(std::sin(a) * u + std::cos(a) * v);
    double across = std::fabs(std::cos(a) * u - std::sin(a) * v);
    double ratio = std::atan2(along, across) / DEGREE / T;
    double pass = std::exp(-LN2 * ratio * ratio);
    double taper = ITYP == filter_codes::TaperKeep ? pass : 1.0 - pass;
    if (cutoff)
        taper += (1.0 - taper) * RollOff(0.4697 / std::fabs(p.HEAD - p.SHLD), k - p.HEAD);
    return taper;
}

void Store(Cplx value, double z[2])
{
    z[0] = value.re;
    z[1] = value.im;
}

// The window of ITYP applied to value; false when the window leaves the value alone, response
// included.
bool Windowed(const FilterParams& p, double u, double v, double k, int32_t ITYP, Cplx& value)
{
    if (IsDirectionalTaper(ITYP))
        value = Times(value, DirectionalTaper(p, u, v, k, ITYP));
    else if (ITYP > 3)
        return DirectionalWindow(p, u, v, k, ITYP, value);
    else
        value = Times(value, RadialWindow(p, k, ITYP));
    return true;
}

// IND 18: each part's window and response in turn, as a run of that part alone applies them.
Cplx Composite(const FilterParams& p, double u, double v, double k, Cplx z)
{
    for (int32_t i = 0; i < p.NPARTS; ++i) {
        const ResponseRequest& part = p.PARTS[i];
        Cplx value = z;
        if (Windowed(part.p, u, v, k, part.ITYP, value))
            z = Response(part.p, u, v, k, value, part.IND);
    }
    return z;
}

}   // namespace

bool IsDirectionalTaper(int32_t ITYP)
{
    return ITYP == filter_codes::TaperReject || ITYP == filter_codes::TaperKeep;
}

void FilterResponse(const FilterParams& p, double u, double v, double z[2], int32_t IND, int32_t ITYP)
{
    double k = std::sqrt(u * u + v * v + 1e-14);
    Cplx value = {z[0], z[1]};
    if (Windowed(p, u, v, k, ITYP, value))
        Store(Response(p, u, v, k, value, IND), z);
}

void FilterResponsePair(const FilterParams& p, double u, double v, double zPlus[2], double zMinus[2], int32_t IND,
                        int32_t ITYP)
{
    if (ITYP > 3) {   // directional windows differ between u and -u
        FilterResponse(p, u, v, zPlus, IND, ITYP);
        FilterResponse(p, -u, v, zMinus, IND, ITYP);
        return;
    }
    double k = std::sqrt(u * u + v * v + 1e-14);
    double window = RadialWindow(p, k, ITYP);
    Store(Response(p, u, v, k, Times({zPlus[0], zPlus[1]}, window), IND), zPlus);
    Store(Response(p, -u, v, k, Times({zMinus[0], zMinus[1]}, window), IND), zMinus);
}
