#include "parameter_checks.h"

#include <I2DGridGeometry.h>

#include <algorithm>
#include <cmath>

namespace spectrafil {
namespace {

namespace F = I2DFourierFilters;

QString number(double value) { return QString::number(value, 'g', 7); }

bool is(const FilterSpec& filter, const char* id) { return QLatin1String(filter.id) == QLatin1String(id); }

// What a cut-off below the grid's shortest wavelength, or beyond its extent, makes of the result.
const char* shortCutoffResult(const FilterSpec& filter)
{
    if (is(filter, "lowpass"))
        return "the low pass would return the input unchanged";
    if (is(filter, "highpass"))
        return "the high pass would remove everything but the mean";
    return "the filter would change nothing";
}

const char* longCutoffResult(const FilterSpec& filter)
{
    if (is(filter, "lowpass"))
        return "the result will be little more than the input's mean";
    if (is(filter, "highpass"))
        return "the result will be nearly the input";
    return "the filter acts on every wavelength the grid holds";
}

QString checkWavelength(const FilterSpec& filter, const char* key, double wavelength,
                        const Tavorin::I2DGridGeometry& geometry, const QString& unit, QStringList& warnings)
{
    const double cell = std::min(geometry.uSize(), geometry.vSize());
    if (wavelength < 2.0 * cell)
        return QStringLiteral("--%1 %2: shorter than two cells (2 x %3), the shortest wavelength the grid holds; %4")
            .arg(QLatin1String(key), number(wavelength), lengthPhrase(cell, unit), QLatin1String(shortCutoffResult(filter)));
    // The engine adds tails of 15 % of the extent on each side before the transform.
    const double padded = 1.3 * std::max(geometry.uSize() * geometry.nCellU(), geometry.vSize() * geometry.nCellV());
    if (wavelength > padded)
        warnings << QStringLiteral("--%1 %2 is longer than the grid with its tails (about %3): %4")
                        .arg(QLatin1String(key), number(wavelength), lengthPhrase(std::round(padded), unit),
                             QLatin1String(longCutoffResult(filter)));
    return QString();
}

} // namespace

QString refuseParameters(const FilterSpec& filter, const FilterRequest& request)
{
    if (request.igrf && !(request.igrfYear >= 1900 && request.igrfYear <= 2030))
        return QStringLiteral("--igrf %1: IGRF-14 covers the years 1900 to 2030").arg(number(request.igrfYear));
    QString error;
    F::completeParameters(filter, request.given, error, request.igrf);
    return error;
}

QString checkParametersOnGrid(const FilterSpec& filter, const QVariantMap& values,
                              const Tavorin::I2DGridGeometry& geometry, const QString& lengthUnit, QStringList& warnings)
{
    // A negative strike tolerance keeps a strike at every wavelength: the cut-off is not used then.
    const bool keepsStrike = is(filter, "strike") && values.value(QStringLiteral("tolerance")).toDouble() < 0;
    for (const F::ParameterSpec& p : filter.parameters) {
        if (p.kind != F::ParameterKind::Wavelength || keepsStrike || !values.contains(QLatin1String(p.key)))
            continue;
        const QString refusal =
            checkWavelength(filter, p.key, values.value(QLatin1String(p.key)).toDouble(), geometry, lengthUnit, warnings);
        if (!refusal.isEmpty())
            return refusal;
    }
    if (filter.magnetic) {
        const F::MagneticDirections directions = F::magneticDirectionsOf(values);
        const F::Stabilisation applied = appliedStabilisation(values);
        if (F::stabilisationOf(values).method == F::Stabilisation::Auto && applied.method == F::Stabilisation::LimitedGain)
            warnings << QStringLiteral("inclination %1 deg (magnetisation %2 deg) is shallower than %3 deg: the "
                                       "stabilised division is applied, its gain limited to that at an inclination "
                                       "of %4 deg (--stabilise off for the plain division)")
                            .arg(double(directions.fieldInclination), 0, 'g', 4)
                            .arg(double(directions.magInclination), 0, 'g', 4)
                            .arg(double(F::SteepInclination)).arg(applied.value);
    }
    if (is(filter, "continuation") && values.value(QStringLiteral("height")).toDouble() == 0)
        warnings << QStringLiteral("--height 0: no continuation; only the built-in roll-off is applied (one half at "
                                   "wavelengths of %1 cells)")
                        .arg(values.value(QStringLiteral("attenuate")).toBool() ? 18 : 6);
    return QString();
}

} // namespace spectrafil
