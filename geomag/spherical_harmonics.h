#pragma once
// The main field of a set of Gauss coefficients at a point in geocentric spherical coordinates.

#include "igrf_model.h"

namespace geomag {

inline constexpr double kIgrfReferenceRadiusKm = 6371.2;

// Geocentric position: radius, colatitude theta given by its cosine and sine, east longitude.
struct SphericalPoint {
    double radiusKm = kIgrfReferenceRadiusKm;
    double cosTheta = 1.0;
    double sinTheta = 0.0;
    double longitudeRad = 0.0;
};

// Field components, nT: north, east and down (along the frame's meridian and vertical).
struct FieldComponents {
    double north = 0;
    double east = 0;
    double down = 0;
};

// B = -grad V with V = a sum_n (a/r)^(n+1) sum_m (g cos m lambda + h sin m lambda) P_n^m(cos theta),
// in the geocentric frame. On the axis (sin theta = 0) the east component is its limit along the
// point's meridian.
FieldComponents sphericalHarmonicField(const GaussCoefficients& coefficients, const SphericalPoint& point);

} // namespace geomag
