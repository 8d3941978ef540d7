#pragma once
// The radially averaged power spectrum of a grid as the forward run prepares it for filtering
// (level removed, tails added, gaps filled, padded), and depths to the top of source ensembles
// from straight segments of its logarithm: ln P(k) = c - 4 pi z k for sources at depth z, with k
// in cycles per grid unit (Spector and Grant, 1970).

#include "filters_export.h"

#include <QString>

#include <vector>

namespace Tavorin {
class I2DGridMesh;
class IBaseData;
} // namespace Tavorin

namespace I2DFourierFilters {

// One ring of radial wavenumber, |k| within half a ring width of ring index x ring width.
struct SpectrumRing {
    double wavenumber = 0; // mean |k| of the ring's spectral values, cycles per grid unit
    double lnPower = 0;    // natural logarithm of the mean |F|^2 of the unscaled transform
    int count = 0;         // spectral values in the ring
};

struct RadialSpectrum {
    // Ring 1 upward to the lower of the two Nyquist wavenumbers; the DC ring and rings without
    // power are left out.
    std::vector<SpectrumRing> rings;
    double ringWidth = 0;      // the coarser of the transform's two wavenumber steps, cycles per grid unit
    double lowestReliable = 0; // 1 / the shorter side of the data: longer waves come from the tails
};

// Runs the forward run on the grid's defined cells, as the filter operations do, in the host's
// temporary project folder, and averages |F|^2 of its spectrum file over the rings. False, with
// the reason in the host log, when the grid cannot be transformed or shows no variation.
SPECTRAFIL_FILTERS_EXPORT bool radialPowerSpectrum(const Tavorin::I2DGridMesh* grid, const Tavorin::IBaseData* data,
                                                   RadialSpectrum& spectrum);

// The same averages from a spectrum file written by the forward run; false with a message when
// the file is not one.
SPECTRAFIL_FILTERS_EXPORT bool readRadialSpectrum(const QString& spectrumFile, RadialSpectrum& spectrum,
                                                  QString& error);

struct WavenumberRange {
    double from = 0; // cycles per grid unit
    double to = 0;
};

// A straight segment of ln P over a range of rings and the depth its slope gives.
struct DepthSegment {
    WavenumberRange range; // wavenumbers of its first and last ring
    int rings = 0;
    double slope = 0;      // d ln P / dk, per cycle per grid unit
    double intercept = 0;
    double depth = 0;      // -slope / (4 pi), grid units
};

// How wavenumbers are shown in messages: a multiple of cycles per grid unit and its name.
struct WavenumberUnit {
    double perGridUnit = 1;
    QString name = QStringLiteral("cycles/grid unit");
};

constexpr int MaxEnsembles = 4;
constexpr int MinRingsPerSegment = 3;

// Why the ranges cannot be fitted, whatever the grid: empty, reversed or overlapping; or empty.
SPECTRAFIL_FILTERS_EXPORT QString rangesRejection(const std::vector<WavenumberRange>& ranges,
                                                   const WavenumberUnit& unit = WavenumberUnit());

// Fits one straight segment per ensemble, ordered from deep (low k) to shallow (high k). Without
// ranges the breaks are the ones with the least total squared residual over the rings from
// lowestReliable up to the noise floor; with ranges, one segment per range (their count is the
// number of ensembles). False with a message when the rings cannot carry the fit or a segment
// does not fall with wavenumber.
SPECTRAFIL_FILTERS_EXPORT bool estimateDepths(const RadialSpectrum& spectrum, int ensembles,
                                              std::vector<WavenumberRange> ranges,
                                              std::vector<DepthSegment>& segments, QString& error,
                                              const WavenumberUnit& unit = WavenumberUnit());

} // namespace I2DFourierFilters
