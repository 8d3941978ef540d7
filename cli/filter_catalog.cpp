#include "filter_catalog.h"

#include <fourier_filters.h>

namespace spectrafil {
namespace {

namespace F = I2DFourierFilters;
using Tavorin::I2DGridMesh;
using Tavorin::IBaseData;
using A = FilterArguments;

// The operations name their results themselves (source name and a suffix).
bool lowPass(I2DGridMesh* g, IBaseData* d, const A& a) { return F::lowPass(g, d, a.cutoff, QString()); }
bool highPass(I2DGridMesh* g, IBaseData* d, const A& a) { return F::highPass(g, d, a.cutoff, QString()); }
// Steep induced fields with the default stabilisation give the eleven operations' results exactly.
bool rtp(I2DGridMesh* g, IBaseData* d, const A& a)
{
    return F::rtpStable(g, d, magneticDirections(a), a.stabilisation, QString());
}
bool susceptibility(I2DGridMesh* g, IBaseData* d, const A& a)
{
    return F::apparentSusceptibilityStable(g, d, a.height, a.field, magneticDirections(a), a.attenuate, a.stabilisation,
                                           QString());
}
bool density(I2DGridMesh* g, IBaseData* d, const A& a) { return F::apparentDensity(g, d, a.attenuate, QString()); }
bool pseudoGravity(I2DGridMesh* g, IBaseData* d, const A& a)
{
    return F::pseudoGravityStable(g, d, a.field, magneticDirections(a), a.stabilisation, QString());
}
bool vd(I2DGridMesh* g, IBaseData* d, const A& a) { return F::firstVerticalDerivative(g, d, a.attenuate, QString()); }
bool hd(I2DGridMesh* g, IBaseData* d, const A& a)
{
    return F::firstHorizontalDerivative(g, d, static_cast<F::HDMethod>(a.method), a.attenuate, QString());
}
bool continuation(I2DGridMesh* g, IBaseData* d, const A& a) { return F::continuation(g, d, a.height, a.attenuate, QString()); }
bool strike(I2DGridMesh* g, IBaseData* d, const A& a) { return F::strike(g, d, a.strike, a.tolerance, a.cutoff, QString()); }
bool analyticSignal(I2DGridMesh* g, IBaseData* d, const A& a) { return F::analyticSignal(g, d, a.attenuate, QString()); }

} // namespace

const std::vector<FilterCommand>& filterCatalog()
{
    // The responses as the engine computes them: k in cycles per grid unit, W0 the mean cell size
    // ("cells" below), Gaussian roll-offs exp(-pi (0.4697 (k - k1) / (k1 - k2))^2).
    static const std::vector<FilterCommand> catalog = {
        {"lowpass", "Keep wavelengths longer than the cut-off", "Low pass",
         "Response: 1 for wavelengths longer than 1.5 x the cut-off, then a Gaussian roll-off that is one half at "
         "the cut-off and falls towards 0 at shorter wavelengths.",
         CutoffOption, ResultUnits::Same, lowPass},
        {"highpass", "Keep wavelengths shorter than the cut-off", "High pass",
         "Response: 1 for wavelengths shorter than the cut-off / 1.5, then a Gaussian roll-off that is one half at "
         "the cut-off and falls towards 0 at longer wavelengths. The survey mean is kept: the result is the short "
         "wavelengths plus the mean of the input.",
         CutoffOption, ResultUnits::Same, highPass},
        {"rtp", "Reduce a total-field anomaly to the pole", "Reduced to the pole",
         "Response: divides by the direction factors of the field and the magnetisation (along the field unless "
         "--mag-inclination and --mag-declination say otherwise) and multiplies by those of a vertical field; no "
         "roll-off. The plain division grows without bound as an inclination nears 0: below 15 degrees the default "
         "--stabilise auto limits its gain to the one it has at an inclination of 7.5 degrees (--stabilise limit=DEG "
         "sets that inclination; off keeps the plain division). --igrf YEAR takes the field from IGRF-14 at the "
         "grid's centre.",
         DirectionOption, ResultUnits::Same, rtp},
        {"susceptibility", "Apparent susceptibility of a total-field anomaly", "Apparent susceptibility",
         "Result in 10^-6 cgs units (µcgs; x 4 pi 10^-6 for SI) of vertical square prisms one cell wide, reaching "
         "from --height below the observations to infinite depth, magnetised by the inducing field (nT input, grid "
         "in metres): reduced to the pole, continued down to the prisms' tops and divided by the field strength. No "
         "built-in roll-off; --attenuate adds a low pass flat to wavelengths of 4.5 cells, one half at 3 cells. "
         "Magnetisation, stabilisation and the field from IGRF as for rtp.",
         ObservationOption | FieldOption | DirectionOption | AttenuateOption, ResultUnits::MicroCgs, susceptibility},
        {"density", "Apparent density of a gravity anomaly", "Apparent density",
         "Result: the density contrast in g/cm3 of vertical square prisms one cell wide, from the observation level to "
         "infinite depth (mGal input, grid in metres): the response is k times 1e-5 / G. No built-in roll-off; "
         "--attenuate adds a low pass flat to wavelengths of 4.5 cells, one half at 3 cells.",
         AttenuateOption, ResultUnits::GramPerCc, density},
        {"pseudogravity", "Pseudo-gravity of a total-field anomaly", "Pseudo-gravity",
         "Result in mGal (nT input, grid in metres): the gravity of bodies whose density contrast in g/cm3 is 1000 "
         "times their susceptibility in cgs units (1 g/cm3 per 4 pi 10^-3 SI), magnetised by the inducing field "
         "alone: reduced to the pole, integrated once vertically and scaled by 6.67 / field. No roll-off. "
         "Magnetisation, stabilisation and the field from IGRF as for rtp.",
         FieldOption | DirectionOption, ResultUnits::Milligal, pseudoGravity},
        {"vd", "First vertical derivative", "Vertical derivative",
         "Response: 2 pi k, with a built-in low pass flat to wavelengths of 4 cells and one half at 2 cells; "
         "--attenuate moves these to 6 and 4 cells.",
         AttenuateOption, ResultUnits::PerLength, vd},
        {"hd", "First horizontal derivative", "Horizontal derivative",
         "Response: 2 pi i kx (ew), 2 pi i ky (ns), or the amplitude of both (total), with a built-in low pass flat "
         "to wavelengths of 4 cells and one half at 2 cells; --attenuate moves these to 6 and 4 cells.",
         MethodOption | AttenuateOption, ResultUnits::PerLength, hd},
        {"continuation", "Upward (positive height) or downward continuation", "Continuation",
         "Response: exp(-2 pi k H). Upward (H > 0) with a built-in low pass flat to wavelengths of 4 cells and one "
         "half at 2 cells; downward (H < 0) flat to 12 cells and one half at 6, since it amplifies short "
         "wavelengths; --attenuate triples these lengths. H = 0 applies the roll-off alone.",
         ContinuationOption | AttenuateOption, ResultUnits::Same, continuation},
        {"strike", "Remove features striking along S at wavelengths below the cut-off", "Strike filtered",
         "Response: wavelengths longer than 1.5 x the cut-off pass unchanged. Shorter ones are removed inside a "
         "hard-edged wedge of directions within about 4 x the tolerance of the direction across the strike (where "
         "such features have their energy): one half at the tolerance, and at any angle in the wedge the low pass's "
         "Gaussian roll-off (one half at the cut-off). A negative tolerance instead keeps features striking along S, "
         "at every wavelength, with the response one half at |tolerance| from the strike.",
         StrikeOption | CutoffOption, ResultUnits::Same, strike},
        {"analytic-signal", "Amplitude of the analytic signal", "Analytic signal",
         "Result: sqrt(dx^2 + dy^2 + dz^2) of the three first derivatives, each with a built-in low pass flat to "
         "wavelengths of 4 cells and one half at 2 cells; --attenuate moves these to 6 and 4 cells.",
         AttenuateOption, ResultUnits::PerLength, analyticSignal},
    };
    return catalog;
}

QString resultUnits(ResultUnits rule, const QString& sourceUnits, const QString& lengthUnit)
{
    switch (rule) {
    case ResultUnits::Same:
        return sourceUnits;
    case ResultUnits::PerLength:
        return sourceUnits.isEmpty() ? QString() : QStringLiteral("%1/%2").arg(sourceUnits, lengthUnit);
    case ResultUnits::Milligal:
        return QStringLiteral("mGal");
    case ResultUnits::MicroCgs:
        return QStringLiteral("\u00b5cgs");
    case ResultUnits::GramPerCc:
        return QStringLiteral("g/cm3");
    }
    return QString();
}

I2DFourierFilters::MagneticDirections magneticDirections(const FilterArguments& a)
{
    I2DFourierFilters::MagneticDirections directions = I2DFourierFilters::inducedDirections(a.inclination, a.declination);
    if (a.magnetisationGiven) {
        directions.magInclination = a.magInclination;
        directions.magDeclination = a.magDeclination;
    }
    return directions;
}

QString lengthPhrase(double value, const QString& lengthUnit)
{
    const QString unit = lengthUnit == QLatin1String("grid unit") ? QStringLiteral("grid units") : lengthUnit;
    return QStringLiteral("%1 %2").arg(QString::number(value, 'g', 7), unit);
}

QStringList describeParameters(const FilterCommand& filter, const FilterArguments& a, const QString& lengthUnit)
{
    const unsigned o = filter.options;
    auto number = [](float value) { return QString::number(double(value), 'g', 7); };
    QStringList phrases;
    if (o & CutoffOption)
        phrases << QStringLiteral("cutoff %1").arg(lengthPhrase(a.cutoff, lengthUnit));
    if (o & StrikeOption)
        phrases << QStringLiteral("strike %1 deg").arg(number(a.strike))
                << QStringLiteral("tolerance %1 deg").arg(number(a.tolerance));
    if (o & (ObservationOption | ContinuationOption))
        phrases << QStringLiteral("height %1").arg(lengthPhrase(a.height, lengthUnit));
    if (o & FieldOption)
        phrases << QStringLiteral("field %1 nT").arg(number(a.field));
    if (o & DirectionOption)
        phrases << QStringLiteral("inclination %1 deg").arg(number(a.inclination))
                << QStringLiteral("declination %1 deg").arg(number(a.declination));
    if ((o & DirectionOption) && a.magnetisationGiven)
        phrases << QStringLiteral("magnetisation inclination %1 deg").arg(number(a.magInclination))
                << QStringLiteral("magnetisation declination %1 deg").arg(number(a.magDeclination));
    if ((o & DirectionOption) && a.igrf)
        phrases << QStringLiteral("field from IGRF-14 at %1").arg(a.igrfYear, 0, 'f', 2);
    if (o & DirectionOption) {
        const F::Stabilisation applied = F::resolveStabilisation(a.stabilisation, magneticDirections(a));
        if (applied.method == F::Stabilisation::LimitedGain)
            phrases << QStringLiteral("stabilised (limit inclination %1 deg)").arg(applied.value);
    }
    if (o & MethodOption)
        phrases << QStringLiteral("method %1").arg(a.method == 1 ? "ew" : a.method == 2 ? "ns" : "total");
    if ((o & AttenuateOption) && a.attenuate)
        phrases << QStringLiteral("attenuated");
    return phrases;
}

} // namespace spectrafil
