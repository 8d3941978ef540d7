#pragma once
// The radial power spectrum as the tool shows it: wavenumbers in cycles per km for grids in
// metres (cycles per 1000 grid units otherwise), a CSV table, a plot drawn with QPainter (needs a
// QGuiApplication for fonts) and one line per depth estimate.

#include <power_spectrum.h>

#include <QByteArray>
#include <QImage>
#include <QString>

#include <vector>

namespace spectrafil {

struct SpectrumScale {
    double perGridUnit = 1000;                     // shown wavenumber per cycle per grid unit
    QString wavenumberUnit = QStringLiteral("cycles/km");
    QString lengthUnit = QStringLiteral("m");      // of the depths
    int decimals = 2;                              // of wavenumbers in depth lines
};

// For a grid whose length unit is lengthUnit ("m", "ft", or "grid unit" without CRS), with
// wavenumbers shown to a few digits of the spectrum's ring width.
SpectrumScale spectrumScale(const QString& lengthUnit, double ringWidth);
I2DFourierFilters::WavenumberUnit wavenumberUnit(const SpectrumScale& scale);

// Header "wavenumber_<unit>,ln_power,count", then one ring per row.
QByteArray spectrumCsv(const I2DFourierFilters::RadialSpectrum& spectrum, const SpectrumScale& scale);

// "depth 152 m (wavenumbers 0.80-9.50 cycles/km)"
QString depthLine(const I2DFourierFilters::DepthSegment& segment, const SpectrumScale& scale);

// ln P against wavenumber with the fitted segments drawn and labelled with their depths.
QImage spectrumPlot(const I2DFourierFilters::RadialSpectrum& spectrum,
                    const std::vector<I2DFourierFilters::DepthSegment>& segments, const SpectrumScale& scale,
                    const QString& title, const QSize& size);

} // namespace spectrafil
