#pragma once
// What the command line asks of a catalogue filter, and how its parameters read in messages,
// metadata and map titles.

#include <filter_catalogue.h>
#include <fourier_filters.h>

#include <QString>
#include <QStringList>
#include <QVariantMap>

namespace spectrafil {

using I2DFourierFilters::FilterSpec;

struct FilterRequest {
    QVariantMap given;   // the parameters on the command line, by catalogue key (numbers as typed)
    bool igrf = false;   // the field's direction and strength not given come from IGRF-14
    double igrfYear = 0; // decimal year
    double altitude = 0; // of the survey above the ellipsoid, m
};

// A length with its unit: "5000 m", or "5000 grid units" for a grid without CRS.
QString lengthPhrase(double value, const QString& lengthUnit);

// The parameters as "name value unit" phrases in the row's order, for metadata, map titles and
// history lines; the stabilisation only where it changes the division.
QStringList describeParameters(const FilterSpec& filter, const QVariantMap& values, const QString& lengthUnit);

// The stabilisation a magnetic row's values resolve to: Auto made None or LimitedGain.
I2DFourierFilters::Stabilisation appliedStabilisation(const QVariantMap& values);

} // namespace spectrafil
