#pragma once
// Fourier-domain filters for a float cell property of a 2D grid. Each function runs the spectral
// engine on the grid's defined cells and stores the filtered values as a new property of the grid,
// named resultName, or the source name plus the filter's suffix when resultName is empty.
// Every step and every failure is reported through the host log; the result says whether the new
// property was made and filled. Not re-entrant: the operations share the current directory and
// the engine's fixed file names.

#include "filters_export.h"

#include "I2DGridMesh.h"
#include "IBaseData.h"

#include <QString>

namespace I2DFourierFilters {

enum HDMethod { TotalHorizontal = 0, EastWest = 1, NorthSouth = 2 };

SPECTRAFIL_FILTERS_EXPORT bool lowPass(Tavorin::I2DGridMesh* grid, Tavorin::IBaseData* data, float cutoff,
                                       QString resultName);
SPECTRAFIL_FILTERS_EXPORT bool highPass(Tavorin::I2DGridMesh* grid, Tavorin::IBaseData* data, float cutoff,
                                        QString resultName);
SPECTRAFIL_FILTERS_EXPORT bool rtp(Tavorin::I2DGridMesh* grid, Tavorin::IBaseData* data, float inclination,
                                   float declination, QString resultName);
SPECTRAFIL_FILTERS_EXPORT bool apparentSusceptibility(Tavorin::I2DGridMesh* grid, Tavorin::IBaseData* data,
                                                      float height, float fieldStrength, float inclination,
                                                      float declination, bool attenuate, QString resultName);
SPECTRAFIL_FILTERS_EXPORT bool apparentDensity(Tavorin::I2DGridMesh* grid, Tavorin::IBaseData* data,
                                               bool attenuate, QString resultName);
SPECTRAFIL_FILTERS_EXPORT bool pseudoGravity(Tavorin::I2DGridMesh* grid, Tavorin::IBaseData* data,
                                             float fieldStrength, float inclination, float declination,
                                             QString resultName);
SPECTRAFIL_FILTERS_EXPORT bool firstVerticalDerivative(Tavorin::I2DGridMesh* grid, Tavorin::IBaseData* data,
                                                       bool attenuate, QString resultName);
SPECTRAFIL_FILTERS_EXPORT bool firstHorizontalDerivative(Tavorin::I2DGridMesh* grid, Tavorin::IBaseData* data,
                                                         HDMethod method, bool attenuate, QString resultName);
SPECTRAFIL_FILTERS_EXPORT bool continuation(Tavorin::I2DGridMesh* grid, Tavorin::IBaseData* data, float distance,
                                            bool attenuate, QString resultName);
SPECTRAFIL_FILTERS_EXPORT bool strike(Tavorin::I2DGridMesh* grid, Tavorin::IBaseData* data, float strike,
                                      float tolerance, float cutoff, QString resultName);
SPECTRAFIL_FILTERS_EXPORT bool analyticSignal(Tavorin::I2DGridMesh* grid, Tavorin::IBaseData* data,
                                              bool attenuate, QString resultName);

// Products of the same spectral engine beyond the eleven filters.

// Tilt derivative in degrees, -90 to 90: the arctangent of the first vertical derivative (positive
// downward) over the total horizontal derivative, the three derivatives taken from one spectrum
// with the derivatives' low-pass window. Suffix " tilt".
SPECTRAFIL_FILTERS_EXPORT bool tiltDerivative(Tavorin::I2DGridMesh* grid, Tavorin::IBaseData* data, bool attenuate,
                                              QString resultName);
// Vertical derivative of order 1 to 3, positive downward, in data units per grid unit^order, with
// the derivatives' low-pass window. Order 1 is firstVerticalDerivative. Suffixes " vd filtered",
// " vd2 filtered", " vd3 filtered".
SPECTRAFIL_FILTERS_EXPORT bool verticalDerivative(Tavorin::I2DGridMesh* grid, Tavorin::IBaseData* data, int order,
                                                  bool attenuate, QString resultName);
// The source minus its low pass at cutoff (lowPass's), so that the two add up to the source.
// Suffix " residual".
SPECTRAFIL_FILTERS_EXPORT bool residual(Tavorin::I2DGridMesh* grid, Tavorin::IBaseData* data, float cutoff,
                                        QString resultName);
// The low pass at shortCutoff minus the low pass at longCutoff, both from one spectrum: the
// wavelengths between the two cut-offs, without the mean. Suffix " band pass filtered".
SPECTRAFIL_FILTERS_EXPORT bool bandPass(Tavorin::I2DGridMesh* grid, Tavorin::IBaseData* data, float shortCutoff,
                                        float longCutoff, QString resultName);
// Removes the features striking along strike (degrees clockwise from north) with a smooth angular
// taper: 0 for the wavenumbers across the strike, one half at tolerance degrees from them,
// 1 - 2^-9 at three times that. keep passes those features and removes the others instead
// (1 minus the taper). cutoff 0 applies the taper at every wavelength; a cut-off wavelength
// applies it only to the shorter ones, through the low pass's roll-off at that cut-off.
// Suffix " directional filtered".
SPECTRAFIL_FILTERS_EXPORT bool directionalFilter(Tavorin::I2DGridMesh* grid, Tavorin::IBaseData* data,
                                                 float strike, float tolerance, float cutoff, bool keep,
                                                 QString resultName);

// The directions of the reduction to the pole and its kin, in degrees (inclination positive
// downward, declination clockwise from north): the inducing field along which the total field was
// measured, and the sources' magnetisation, which differs from it where they carry remanence.
struct MagneticDirections {
    float fieldInclination = 90;
    float fieldDeclination = 0;
    float magInclination = 90;
    float magDeclination = 0;
};
// Induced magnetisation: the magnetisation along the field.
SPECTRAFIL_FILTERS_EXPORT MagneticDirections inducedDirections(float inclination, float declination);

// How the division by the field and magnetisation direction factors is kept finite. The plain
// division (None, the eleven operations' kernel) grows without bound as an inclination nears 0,
// along the wavenumbers across the horizontal field.
struct Stabilisation {
    enum Method {
        None,        // the plain division
        Auto,        // None where both inclinations are steep, LimitedGain otherwise
        LimitedGain  // the plain division, its gain limited to the one it has at the limit inclination
    };
    Method method = Auto;
    // LimitedGain: the limit inclination in degrees, in (0, 90]; 0 for DefaultLimitInclination.
    // Where the direction factors stay above those of an induced field at this inclination, the
    // division is the plain one, exactly.
    double value = 0;
};
// Both inclinations at least this steep (degrees, either sign): Auto keeps the plain division.
constexpr float SteepInclination = 15;
// The limit inclination that Auto and a LimitedGain without value apply.
constexpr double DefaultLimitInclination = 7.5;
// The stabilisation an operation applies for the given directions: Auto resolved to None or to
// LimitedGain, and a LimitedGain value of 0 replaced by DefaultLimitInclination. A caller can
// compare the method with its request to tell the user which division is applied.
SPECTRAFIL_FILTERS_EXPORT Stabilisation resolveStabilisation(const Stabilisation& requested,
                                                             const MagneticDirections& directions);

// The reduction to the pole, pseudo-gravity and apparent susceptibility with a magnetisation
// direction of their own and a stabilised division. With None and induced directions they give
// the results of rtp, pseudoGravity and apparentSusceptibility exactly.
SPECTRAFIL_FILTERS_EXPORT bool rtpStable(Tavorin::I2DGridMesh* grid, Tavorin::IBaseData* data,
                                         const MagneticDirections& directions,
                                         const Stabilisation& stabilisation, QString resultName);
SPECTRAFIL_FILTERS_EXPORT bool pseudoGravityStable(Tavorin::I2DGridMesh* grid, Tavorin::IBaseData* data,
                                                   float fieldStrength, const MagneticDirections& directions,
                                                   const Stabilisation& stabilisation, QString resultName);
SPECTRAFIL_FILTERS_EXPORT bool apparentSusceptibilityStable(Tavorin::I2DGridMesh* grid, Tavorin::IBaseData* data,
                                                            float height, float fieldStrength,
                                                            const MagneticDirections& directions, bool attenuate,
                                                            const Stabilisation& stabilisation,
                                                            QString resultName);

} // namespace I2DFourierFilters
