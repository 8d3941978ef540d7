// The stabilised division by the direction factors: when it is needed, how strong it is, and the
// checks of the directions and the stabilisation the stabilised operations take.

#include "fourier_filters.h"

#include "filter_pipeline.h"
#include "single_result_filter.h"

#include <cmath>

namespace I2DFourierFilters {

namespace {

bool inRange(double value, double low, double high)
{
    return value >= low && value <= high;   // false for NaN
}

} // namespace

MagneticDirections inducedDirections(float inclination, float declination)
{
    return {inclination, declination, inclination, declination};
}

Stabilisation resolveStabilisation(const Stabilisation& requested, const MagneticDirections& directions)
{
    Stabilisation applied = requested;
    if (applied.method == Stabilisation::Auto) {
        const bool steep = std::fabs(directions.fieldInclination) >= SteepInclination
                           && std::fabs(directions.magInclination) >= SteepInclination;
        applied = {steep ? Stabilisation::None : Stabilisation::LimitedGain, 0};
    }
    if (applied.method == Stabilisation::LimitedGain && applied.value == 0)
        applied.value = DefaultLimitInclination;
    return applied;
}

QString stableRejection(const MagneticDirections& d, const Stabilisation& s)
{
    const struct {
        float value;
        double limit;
        const char* what;
    } angles[] = {{d.fieldInclination, 90, "Field inclination"},
                  {d.fieldDeclination, 360, "Field declination"},
                  {d.magInclination, 90, "Magnetisation inclination"},
                  {d.magDeclination, 360, "Magnetisation declination"}};
    for (const auto& a : angles)
        if (!inRange(a.value, -a.limit, a.limit))
            return QStringLiteral("%1 %2 must be between -%3 and +%3").arg(QLatin1String(a.what)).arg(a.value).arg(a.limit);
    if (s.method == Stabilisation::LimitedGain && !inRange(s.value, 0, 90))
        return QStringLiteral("Limit inclination %1 must be between 0 and 90").arg(s.value);
    return QString();
}

std::string directionFields(const MagneticDirections& d)
{
    return formatLine("%f %f %f %f", double(d.fieldDeclination), double(d.fieldInclination),
                      double(d.magDeclination), double(d.magInclination));
}

void logStabilisation(const Stabilisation& applied)
{
    if (applied.method == Stabilisation::None)
        logInfo(QStringLiteral("Dividing by the direction factors without stabilisation"));
    else
        logInfo(QStringLiteral("Dividing by the direction factors with the gain of inclination %1 at most")
                    .arg(applied.value));
}

} // namespace I2DFourierFilters
