#include "parameter_checks.h"

#include <I2DGridGeometry.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace spectrafil {
namespace {

QString number(double value) { return QString::number(value, 'g', 7); }

QString outside(const char* option, float value, const char* range)
{
    return QStringLiteral("%1 %2: must be within %3").arg(QLatin1String(option), number(value), QLatin1String(range));
}

bool is(const FilterCommand& filter, const char* command) { return std::strcmp(filter.command, command) == 0; }

// What a cut-off below the grid's shortest wavelength, or beyond its extent, makes of the result.
const char* shortCutoffResult(const FilterCommand& filter)
{
    if (is(filter, "lowpass"))
        return "the low pass would return the input unchanged";
    if (is(filter, "highpass"))
        return "the high pass would remove everything but the mean";
    return "the filter would change nothing";
}

const char* longCutoffResult(const FilterCommand& filter)
{
    if (is(filter, "lowpass"))
        return "the result will be little more than the input's mean";
    if (is(filter, "highpass"))
        return "the result will be nearly the input";
    return "the filter acts on every wavelength the grid holds";
}

QString checkCutoff(const FilterCommand& filter, float cutoff, const Tavorin::I2DGridGeometry& geometry,
                    const QString& unit, QStringList& warnings)
{
    const double cell = std::min(geometry.uSize(), geometry.vSize());
    if (cutoff < 2.0 * cell)
        return QStringLiteral("--cutoff %1: shorter than two cells (2 x %2), the shortest wavelength the grid holds; %3")
            .arg(number(cutoff), lengthPhrase(cell, unit), QLatin1String(shortCutoffResult(filter)));
    // The engine adds tails of 15 % of the extent on each side before the transform.
    const double padded = 1.3 * std::max(geometry.uSize() * geometry.nCellU(), geometry.vSize() * geometry.nCellV());
    if (cutoff > padded)
        warnings << QStringLiteral("--cutoff %1 is longer than the grid with its tails (about %2): %3")
                        .arg(number(cutoff), lengthPhrase(std::round(padded), unit), QLatin1String(longCutoffResult(filter)));
    return QString();
}

} // namespace

QString refuseParameters(const FilterCommand& filter, const FilterArguments& a)
{
    const unsigned o = filter.options;
    if ((o & CutoffOption) && a.cutoff <= 0)
        return QStringLiteral("--cutoff %1: the cut-off wavelength must be positive (grid units)").arg(number(a.cutoff));
    if ((o & FieldOption) && a.fieldGiven && a.field <= 0)
        return QStringLiteral("--field %1: the inducing field strength must be positive (nT)").arg(number(a.field));
    if ((o & ObservationOption) && a.height < 0)
        return QStringLiteral("--height %1: the height of the observations above the sources must be 0 or more (grid units)")
            .arg(number(a.height));
    if ((o & DirectionOption) && a.inclinationGiven && std::fabs(a.inclination) > 90)
        return outside("--inclination", a.inclination, "-90 to 90 degrees");
    if ((o & DirectionOption) && a.declinationGiven && std::fabs(a.declination) > 360)
        return outside("--declination", a.declination, "-360 to 360 degrees");
    if ((o & DirectionOption) && a.magnetisationGiven && std::fabs(a.magInclination) > 90)
        return outside("--mag-inclination", a.magInclination, "-90 to 90 degrees");
    if ((o & DirectionOption) && a.magnetisationGiven && std::fabs(a.magDeclination) > 360)
        return outside("--mag-declination", a.magDeclination, "-360 to 360 degrees");
    if ((o & DirectionOption) && a.igrf && !(a.igrfYear >= 1900 && a.igrfYear <= 2030))
        return QStringLiteral("--igrf %1: IGRF-14 covers the years 1900 to 2030").arg(number(a.igrfYear));
    if ((o & StrikeOption) && std::fabs(a.strike) > 90)
        return outside("--strike", a.strike, "-90 to 90 degrees east of north");
    if ((o & StrikeOption) && (a.tolerance > 89 || (a.tolerance >= 0 && a.tolerance < 0.1f)))
        return outside("--tolerance", a.tolerance, "0.1 to 89 degrees (negative keeps that strike instead)");
    return QString();
}

QString checkParametersOnGrid(const FilterCommand& filter, const FilterArguments& a,
                              const Tavorin::I2DGridGeometry& geometry, const QString& lengthUnit, QStringList& warnings)
{
    const unsigned o = filter.options;
    // A negative tolerance keeps a strike at every wavelength: the cut-off is not used then.
    const bool cutoffUsed = (o & CutoffOption) && !((o & StrikeOption) && a.tolerance < 0);
    if (cutoffUsed) {
        const QString refusal = checkCutoff(filter, a.cutoff, geometry, lengthUnit, warnings);
        if (!refusal.isEmpty())
            return refusal;
    }
    if (o & DirectionOption) {
        namespace F = I2DFourierFilters;
        const F::MagneticDirections directions = magneticDirections(a);
        const F::Stabilisation applied = F::resolveStabilisation(a.stabilisation, directions);
        if (a.stabilisation.method == F::Stabilisation::Auto && applied.method == F::Stabilisation::LimitedGain)
            warnings << QStringLiteral("inclination %1 deg (magnetisation %2 deg) is shallower than %3 deg: the "
                                       "stabilised division is applied, its gain limited to that at an inclination "
                                       "of %4 deg (--stabilise off for the plain division)")
                            .arg(number(directions.fieldInclination), number(directions.magInclination))
                            .arg(double(F::SteepInclination)).arg(applied.value);
    }
    if ((o & ContinuationOption) && a.height == 0)
        warnings << QStringLiteral("--height 0: no continuation; only the built-in roll-off is applied (one half at "
                                   "wavelengths of %1 cells)").arg(a.attenuate ? 18 : 6);
    return QString();
}

} // namespace spectrafil
