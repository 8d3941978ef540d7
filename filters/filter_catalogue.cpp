#include "filter_catalogue.h"

#include "filter_chain.h"


#include <QStringList>

#include <cmath>
#include <limits>

namespace I2DFourierFilters {
namespace {

using Tavorin::I2DGridMesh;
using Tavorin::IBaseData;

constexpr double kAny = std::numeric_limits<double>::infinity();

float number(const QVariantMap& v, const char* key) { return v.value(QLatin1String(key)).toFloat(); }
bool flag(const QVariantMap& v, const char* key) { return v.value(QLatin1String(key)).toBool(); }

// The parameters that recur across rows.
ParameterSpec cutoff(const char* label = "Wavelength cut-off")
{
    return {"cutoff", label, ParameterKind::Wavelength, "grid units", 0, kAny, true, QVariant(),
            "Cut-off wavelength, grid units", "the cut-off wavelength must be positive (grid units)"};
}
ParameterSpec attenuate(const char* help = "Stronger roll-off of the short wavelengths (noisy data)")
{
    return {"attenuate", "Attenuate high frequencies", ParameterKind::Flag, "", 0, 1, false, false, help, nullptr};
}
ParameterSpec fieldStrength()
{
    return {"field", "Inducing field strength", ParameterKind::Number, "nT", 0, kAny, true, QVariant(),
            "Inducing field strength, nT", "the inducing field strength must be positive (nT)"};
}
std::vector<ParameterSpec> directions()
{
    return {
        {"inclination", "Inclination", ParameterKind::Angle, "degrees", -90, 90, false, QVariant(),
         "Field inclination, degrees (-90 to 90)", "must be within -90 to 90 degrees"},
        {"declination", "Declination", ParameterKind::Angle, "degrees", -360, 360, false, QVariant(),
         "Field declination, degrees (-360 to 360)", "must be within -360 to 360 degrees"},
        {"mag-inclination", "Magnetisation inclination", ParameterKind::Angle, "degrees", -90, 90, false, QVariant(),
         "Magnetisation inclination, degrees (default: the field's)", "must be within -90 to 90 degrees", nullptr,
         true},
        {"mag-declination", "Magnetisation declination", ParameterKind::Angle, "degrees", -360, 360, false, QVariant(),
         "Magnetisation declination, degrees (default: the field's)", "must be within -360 to 360 degrees", nullptr,
         true},
        {"stabilise", "Stabilisation", ParameterKind::Text, "", 0, 0, false, QStringLiteral("auto"),
         "auto (the plain division where both inclinations are 15 degrees or steeper, limited gain below), off, "
         "or limit[=DEG] (gain limited to that at inclination DEG, default 7.5)",
         nullptr},
    };
}

template <typename... More>
std::vector<ParameterSpec> join(std::vector<ParameterSpec> first, More... more)
{
    (first.insert(first.end(), more.begin(), more.end()), ...);
    return first;
}

QString checkMagnetic(const QVariantMap& v)
{
    Stabilisation unused;
    const QString word = v.value(QStringLiteral("stabilise")).toString();
    if (!parseStabilisation(word, unused))
        return QStringLiteral("--stabilise %1: must be auto, off, or limit[=DEG] with DEG above 0 and at most 90 "
                              "degrees").arg(word);
    if (v.contains(QStringLiteral("mag-inclination")) != v.contains(QStringLiteral("mag-declination")))
        return QStringLiteral("--mag-inclination and --mag-declination go together: give both or neither");
    return QString();
}

QString checkStrike(const QVariantMap& v)
{
    const float tolerance = number(v, "tolerance");
    if (tolerance > 89 || (tolerance >= 0 && tolerance < 0.1f))
        return QStringLiteral("--tolerance %1: must be within 0.1 to 89 degrees (negative keeps that strike instead)")
            .arg(double(tolerance), 0, 'g', 7);
    return QString();
}

// The plain division with the magnetisation along the field is what the module's own operations
// compute: they run it, so that such results are theirs to the last bit and log line.
bool plainInduced(const QVariantMap& v)
{
    return !v.contains(QStringLiteral("mag-inclination")) &&
           resolveStabilisation(stabilisationOf(v), magneticDirectionsOf(v)).method == Stabilisation::None;
}

bool runLowPass(I2DGridMesh* g, IBaseData* d, const QVariantMap& v, const QString& name)
{
    return lowPass(g, d, number(v, "cutoff"), name);
}
bool runHighPass(I2DGridMesh* g, IBaseData* d, const QVariantMap& v, const QString& name)
{
    return highPass(g, d, number(v, "cutoff"), name);
}
bool runRtp(I2DGridMesh* g, IBaseData* d, const QVariantMap& v, const QString& name)
{
    if (plainInduced(v))
        return rtp(g, d, number(v, "inclination"), number(v, "declination"), name);
    return rtpStable(g, d, magneticDirectionsOf(v), stabilisationOf(v), name);
}
bool runSusceptibility(I2DGridMesh* g, IBaseData* d, const QVariantMap& v, const QString& name)
{
    if (plainInduced(v))
        return apparentSusceptibility(g, d, number(v, "height"), number(v, "field"), number(v, "inclination"),
                                      number(v, "declination"), flag(v, "attenuate"), name);
    return apparentSusceptibilityStable(g, d, number(v, "height"), number(v, "field"), magneticDirectionsOf(v),
                                        flag(v, "attenuate"), stabilisationOf(v), name);
}
bool runDensity(I2DGridMesh* g, IBaseData* d, const QVariantMap& v, const QString& name)
{
    return apparentDensity(g, d, flag(v, "attenuate"), name);
}
bool runPseudoGravity(I2DGridMesh* g, IBaseData* d, const QVariantMap& v, const QString& name)
{
    if (plainInduced(v))
        return pseudoGravity(g, d, number(v, "field"), number(v, "inclination"), number(v, "declination"), name);
    return pseudoGravityStable(g, d, number(v, "field"), magneticDirectionsOf(v), stabilisationOf(v), name);
}
bool runVerticalDerivative(I2DGridMesh* g, IBaseData* d, const QVariantMap& v, const QString& name)
{
    const int order = v.value(QStringLiteral("order"), 1).toInt();
    if (order == 1)
        return firstVerticalDerivative(g, d, flag(v, "attenuate"), name);
    return verticalDerivative(g, d, order, flag(v, "attenuate"), name);
}
bool runHorizontalDerivative(I2DGridMesh* g, IBaseData* d, const QVariantMap& v, const QString& name)
{
    const QString method = v.value(QStringLiteral("method")).toString();
    const HDMethod m = method == QLatin1String("ew") ? EastWest : method == QLatin1String("ns") ? NorthSouth
                                                                                              : TotalHorizontal;
    return firstHorizontalDerivative(g, d, m, flag(v, "attenuate"), name);
}
bool runContinuation(I2DGridMesh* g, IBaseData* d, const QVariantMap& v, const QString& name)
{
    return continuation(g, d, number(v, "height"), flag(v, "attenuate"), name);
}
bool runStrike(I2DGridMesh* g, IBaseData* d, const QVariantMap& v, const QString& name)
{
    return strike(g, d, number(v, "strike"), number(v, "tolerance"), number(v, "cutoff"), name);
}
bool runTilt(I2DGridMesh* g, IBaseData* d, const QVariantMap& v, const QString& name)
{
    return tiltDerivative(g, d, flag(v, "attenuate"), name);
}
bool runResidual(I2DGridMesh* g, IBaseData* d, const QVariantMap& v, const QString& name)
{
    return residual(g, d, number(v, "cutoff"), name);
}
bool runBandPass(I2DGridMesh* g, IBaseData* d, const QVariantMap& v, const QString& name)
{
    return bandPass(g, d, number(v, "short"), number(v, "long"), name);
}
bool runDirectional(I2DGridMesh* g, IBaseData* d, const QVariantMap& v, const QString& name)
{
    // Without a cut-off the taper applies at every wavelength.
    return directionalFilter(g, d, number(v, "strike"), number(v, "tolerance"), number(v, "cutoff"), flag(v, "keep"),
                             name);
}

QString checkBand(const QVariantMap& v)
{
    if (number(v, "long") > number(v, "short"))
        return QString();
    return QStringLiteral("--long %1: must be longer than --short %2, the band lies between them")
        .arg(double(number(v, "long")), 0, 'g', 7).arg(double(number(v, "short")), 0, 'g', 7);
}

bool runAnalyticSignal(I2DGridMesh* g, IBaseData* d, const QVariantMap& v, const QString& name)
{
    return analyticSignal(g, d, flag(v, "attenuate"), name);
}

std::vector<FilterSpec> makeCatalogue()
{
    // The responses as the engine computes them: k in cycles per grid unit; "cells" are the mean cell
    // size; the roll-offs are Gaussian, one half where stated.
    std::vector<FilterSpec> rows = {
        {"lowpass", "Low pass", "Keep wavelengths longer than the cut-off",
         "Response: 1 for wavelengths longer than 1.5 x the cut-off, then a Gaussian roll-off that is one half at "
         "the cut-off and falls towards 0 at shorter wavelengths.",
         {cutoff()}, " low pass filtered", ResultUnits::Same, false,
         {0, "Low Pass Fourier Filter", WavelengthGroup}, runLowPass},
        {"highpass", "High pass", "Keep wavelengths shorter than the cut-off",
         "Response: 1 for wavelengths shorter than the cut-off / 1.5, then a Gaussian roll-off that is one half at "
         "the cut-off and falls towards 0 at longer wavelengths. The survey mean is kept: the result is the short "
         "wavelengths plus the mean of the input.",
         {cutoff()}, " high pass filtered", ResultUnits::Same, false,
         {1, "High Pass Fourier Filter", WavelengthGroup}, runHighPass},
        {"rtp", "Reduced to the pole", "Reduce a total-field anomaly to the pole",
         "Response: divides by the direction factors of the field and the magnetisation (along the field unless "
         "--mag-inclination and --mag-declination say otherwise) and multiplies by those of a vertical field; no "
         "roll-off. The plain division grows without bound as an inclination nears 0: below 15 degrees the default "
         "--stabilise auto limits its gain to the one it has at an inclination of 7.5 degrees (--stabilise limit=DEG "
         "sets that inclination; off keeps the plain division). --igrf YEAR takes the field from IGRF-14 at the "
         "grid's centre.",
         directions(), " rtp filtered", ResultUnits::Same, true, {2, "RTP Fourier Filter", DirectionGroup}, runRtp,
         checkMagnetic},
        {"susceptibility", "Apparent susceptibility", "Apparent susceptibility of a total-field anomaly",
         "Result in 10^-6 cgs units (\u00b5cgs; x 4 pi 10^-6 for SI) of vertical square prisms one cell wide, "
         "reaching from --height below the observations to infinite depth, magnetised by the inducing field (nT "
         "input, grid in metres): reduced to the pole, continued down to the prisms' tops and divided by the field "
         "strength. No built-in roll-off; --attenuate adds a low pass flat to wavelengths of 4.5 cells, one half at "
         "3 cells. Magnetisation, stabilisation and the field from IGRF as for rtp.",
         join(std::vector<ParameterSpec>{
                  {"height", "Observation height", ParameterKind::Length, "grid units", 0, kAny, false, QVariant(),
                   "Observation height above the sources, grid units",
                   "the height of the observations above the sources must be 0 or more (grid units)"},
                  fieldStrength()},
              directions(), std::vector<ParameterSpec>{attenuate()}),
         " apparent susc filtered", ResultUnits::MicroCgs, true,
         {3, "Apparent Susceptibility", ObservationGroup | InducingFieldGroup | DirectionGroup | AttenuateGroup,
          DataTip::Magnetic},
         runSusceptibility, checkMagnetic},
        {"density", "Apparent density", "Apparent density of a gravity anomaly",
         "Result: the density contrast in g/cm3 of vertical square prisms one cell wide, from the observation level "
         "to infinite depth (mGal input, grid in metres): the response is k times 1e-5 / G. No built-in roll-off; "
         "--attenuate adds a low pass flat to wavelengths of 4.5 cells, one half at 3 cells.",
         {attenuate()}, " apparent density filtered", ResultUnits::GramPerCc, false,
         {4, "Apparent Density", AttenuateGroup, DataTip::Gravity}, runDensity},
        {"pseudogravity", "Pseudo-gravity", "Pseudo-gravity of a total-field anomaly",
         "Result in mGal (nT input, grid in metres): the gravity of bodies whose density contrast in g/cm3 is 1000 "
         "times their susceptibility in cgs units (1 g/cm3 per 4 pi 10^-3 SI), magnetised by the inducing field "
         "alone: reduced to the pole, integrated once vertically and scaled by 6.67 / field. No roll-off. "
         "Magnetisation, stabilisation and the field from IGRF as for rtp.",
         join(std::vector<ParameterSpec>{fieldStrength()}, directions()), " pseudo gravity filtered",
         ResultUnits::Milligal, true, {5, "Pseudo-gravity", InducingFieldGroup | DirectionGroup, DataTip::Magnetic},
         runPseudoGravity, checkMagnetic},
        {"vd", "Vertical derivative", "Vertical derivative of order 1 to 3",
         "Response: (2 pi k)^order, positive downward, with a built-in low pass flat to wavelengths of 4 cells and "
         "one half at 2 cells; --attenuate moves these to 6 and 4 cells.",
         {{"order", "Order", ParameterKind::Integer, "", 1, 3, false, 1, "Order of the derivative, 1 to 3",
           "must be 1, 2 or 3"},
          attenuate()},
         " vd filtered", ResultUnits::PerLength, false,
         {6, "1st Vertical Derivative Fourier Filter", AttenuateGroup}, runVerticalDerivative},
        {"hd", "Horizontal derivative", "First horizontal derivative",
         "Response: 2 pi i kx (ew), 2 pi i ky (ns), or the amplitude of both (total), with a built-in low pass flat "
         "to wavelengths of 4 cells and one half at 2 cells; --attenuate moves these to 6 and 4 cells.",
         {{"method", "Method", ParameterKind::Choice, "", 0, 0, false, QStringLiteral("total"),
           "Total, east-west or north-south derivative", "must be total, ew or ns", "total|ew|ns"},
          attenuate()},
         " hd filtered", ResultUnits::PerLength, false,
         {7, "1st Horizontal Derivative Fourier Filter", MethodGroup | AttenuateGroup}, runHorizontalDerivative},
        {"continuation", "Continuation", "Upward (positive height) or downward continuation",
         "Response: exp(-2 pi k H). Upward (H > 0) with a built-in low pass flat to wavelengths of 4 cells and one "
         "half at 2 cells; downward (H < 0) flat to 12 cells and one half at 6, since it amplifies short "
         "wavelengths; --attenuate triples these lengths. H = 0 applies the roll-off alone.",
         {{"height", "Continuation distance", ParameterKind::Length, "grid units", -kAny, kAny, false, QVariant(),
           "Continuation distance, grid units, positive upward", nullptr},
          attenuate("Stronger roll-off of the short wavelengths (noisy data continued downward)")},
         " cont filtered", ResultUnits::Same, false,
         {8, "Continuation Fourier Filter", ContinuationGroup | AttenuateGroup, DataTip::None, "Wavelength cutoff :",
          true},
         runContinuation},
        {"strike", "Strike filtered", "Remove features striking along S at wavelengths below the cut-off",
         "Response: wavelengths longer than 1.5 x the cut-off pass unchanged. Shorter ones are removed inside a "
         "hard-edged wedge of directions within about 4 x the tolerance of the direction across the strike (where "
         "such features have their energy): one half at the tolerance, and at any angle in the wedge the low pass's "
         "Gaussian roll-off (one half at the cut-off). A negative tolerance instead keeps features striking along S, "
         "at every wavelength, with the response one half at |tolerance| from the strike.",
         {{"strike", "Strike", ParameterKind::Angle, "degrees", -90, 90, false, QVariant(),
           "Strike, degrees east of north (-90 to 90)", "must be within -90 to 90 degrees east of north"},
          {"tolerance", "Tolerance", ParameterKind::Angle, "degrees", -kAny, kAny, false, QVariant(),
           "Strike tolerance, degrees (0.1 to 89; negative keeps that strike instead)", nullptr},
          cutoff("Low pass wavelength")},
         " strike filtered", ResultUnits::Same, false,
         {9, "Strike Fourier Filter", StrikeGroup | WavelengthGroup, DataTip::None, "Low pass wavelength :"},
         runStrike, checkStrike},
        {"analytic-signal", "Analytic signal", "Amplitude of the analytic signal",
         "Result: sqrt(dx^2 + dy^2 + dz^2) of the three first derivatives, each with a built-in low pass flat to "
         "wavelengths of 4 cells and one half at 2 cells; --attenuate moves these to 6 and 4 cells.",
         {attenuate()}, " analytic signal", ResultUnits::PerLength, false,
         {10, "Compute Analytic Signal Using Fourier Filtering Derivatives", AttenuateGroup}, runAnalyticSignal},
        {"tilt", "Tilt derivative", "Tilt derivative in degrees",
         "Result: atan(vd / thd) in degrees, -90 to 90, the vertical derivative over the total horizontal "
         "derivative, all three from one spectrum with the derivatives' built-in low pass (flat to wavelengths of 4 "
         "cells, one half at 2; --attenuate 6 and 4). Zero over the edges of sources whatever their depth.",
         {attenuate()}, " tilt", ResultUnits::Degrees, false, {}, runTilt},
        {"residual", "Residual", "The input minus its low pass at the cut-off",
         "Result: the input minus lowpass at the same cut-off, so that the two add up to the input; it has no "
         "mean. Response: 1 - the low pass's (0 at wavelengths longer than 1.5 x the cut-off, one half at it).",
         {cutoff()}, " residual", ResultUnits::Same, false, {}, runResidual},
        {"bandpass", "Band pass", "Keep wavelengths between two cut-offs",
         "Result: lowpass at --short minus lowpass at --long, both from one spectrum: the wavelengths between the "
         "two, without the mean; each edge a Gaussian roll-off one half at its cut-off.",
         {{"short", "Short cut-off", ParameterKind::Wavelength, "grid units", 0, kAny, true, QVariant(),
           "Shortest wavelength kept, grid units", "the cut-off wavelength must be positive (grid units)"},
          {"long", "Long cut-off", ParameterKind::Wavelength, "grid units", 0, kAny, true, QVariant(),
           "Longest wavelength kept, grid units", "the cut-off wavelength must be positive (grid units)"}},
         " band pass filtered", ResultUnits::Same, false, {}, runBandPass, checkBand},
        {"directional", "Directional filter", "Remove (or keep) features striking along S",
         "Response: a smooth angular taper 1 - exp(-ln2 (theta/T)^2) of the angle theta from the direction across "
         "the strike: 0 there, one half at the tolerance T, 0.998 at 3 T; at every wavelength, or with --cutoff only "
         "at shorter wavelengths (through the low pass's roll-off). --keep keeps those features and removes the "
         "others instead. The mean is kept.",
         {{"strike", "Strike", ParameterKind::Angle, "degrees", -90, 90, false, QVariant(),
           "Strike, degrees clockwise from north (-90 to 90)", "must be within -90 to 90 degrees east of north"},
          {"tolerance", "Tolerance", ParameterKind::Angle, "degrees", 0, 90, true, QVariant(),
           "Half-response angle from the strike, degrees (above 0, at most 90)", "must be above 0 and at most 90 degrees"},
          {"cutoff", "Wavelength cut-off", ParameterKind::Wavelength, "grid units", 0, kAny, true, QVariant(),
           "Apply the taper only below this wavelength, grid units (default: every wavelength)",
           "the cut-off wavelength must be positive (grid units)", nullptr, true},
          {"keep", "Keep the features", ParameterKind::Flag, "", 0, 1, false, false,
           "Keep the features along the strike and remove the others", nullptr}},
         " directional filtered", ResultUnits::Same, false, {}, runDirectional},
    };
    attachChainSteps(rows);
    return rows;
}

QString rangeMessage(const ParameterSpec& p, double value)
{
    const QString shown = QString::number(value, 'g', 7);
    if (p.rangeText)
        return QStringLiteral("--%1 %2: %3").arg(QLatin1String(p.key), shown, QLatin1String(p.rangeText));
    return QStringLiteral("--%1 %2: must be within %3 to %4 %5")
        .arg(QLatin1String(p.key), shown, QString::number(p.minimum), QString::number(p.maximum), QLatin1String(p.unit));
}

// The value converted to the parameter's kind; an invalid QVariant with a message when it cannot be.
QVariant checkedValue(const ParameterSpec& p, const QVariant& given, QString& error)
{
    switch (p.kind) {
    case ParameterKind::Flag:
        return given.toBool();
    case ParameterKind::Text:
        return given.toString();
    case ParameterKind::Choice:
        if (QString::fromLatin1(p.choices).split(QLatin1Char('|')).contains(given.toString()))
            return given.toString();
        error = QStringLiteral("--%1 %2: %3").arg(QLatin1String(p.key), given.toString(), QLatin1String(p.rangeText));
        return QVariant();
    default:
        break;
    }
    bool isNumber = false;
    const double value = given.toDouble(&isNumber);
    if (!isNumber || !std::isfinite(value)) {
        error = QStringLiteral("--%1 %2: not a finite number").arg(QLatin1String(p.key), given.toString());
        return QVariant();
    }
    if (p.kind == ParameterKind::Integer && value != std::floor(value)) {
        error = QStringLiteral("--%1 %2: not a whole number").arg(QLatin1String(p.key), given.toString());
        return QVariant();
    }
    const bool aboveMinimum = p.exclusiveMinimum ? value > p.minimum : value >= p.minimum;
    if (!aboveMinimum || value > p.maximum) {
        error = rangeMessage(p, value);
        return QVariant();
    }
    return value;
}

} // namespace

// auto, off, or limit[=DEG] with DEG in (0, 90].
bool parseStabilisation(const QString& word, Stabilisation& stabilisation)
{
    const QString method = word.section(QLatin1Char('='), 0, 0);
    const QString value = word.section(QLatin1Char('='), 1);
    bool isNumber = true;
    stabilisation.value = value.isEmpty() ? 0.0 : value.toDouble(&isNumber);
    if (method == QLatin1String("auto") && value.isEmpty())
        stabilisation.method = Stabilisation::Auto;
    else if (method == QLatin1String("off") && value.isEmpty())
        stabilisation.method = Stabilisation::None;
    else if (method == QLatin1String("limit") && isNumber &&
             (value.isEmpty() || (stabilisation.value > 0 && stabilisation.value <= 90)))
        stabilisation.method = Stabilisation::LimitedGain;
    else
        return false;
    return true;
}

MagneticDirections magneticDirectionsOf(const QVariantMap& v)
{
    MagneticDirections d = inducedDirections(number(v, "inclination"), number(v, "declination"));
    if (v.contains(QStringLiteral("mag-inclination"))) {
        d.magInclination = number(v, "mag-inclination");
        d.magDeclination = number(v, "mag-declination");
    }
    return d;
}

Stabilisation stabilisationOf(const QVariantMap& v)
{
    Stabilisation s;
    parseStabilisation(v.value(QStringLiteral("stabilise"), QStringLiteral("auto")).toString(), s);
    return s;
}

const std::vector<FilterSpec>& filterCatalogue()
{
    static const std::vector<FilterSpec> rows = makeCatalogue();
    return rows;
}

const FilterSpec* findFilter(const QString& id)
{
    for (const FilterSpec& row : filterCatalogue())
        if (id == QLatin1String(row.id))
            return &row;
    return nullptr;
}

const FilterSpec* dialogFilter(int filterType)
{
    for (const FilterSpec& row : filterCatalogue())
        if (row.dialog.filterType == filterType && filterType >= 0)
            return &row;
    return nullptr;
}

QVariantMap completeParameters(const FilterSpec& filter, const QVariantMap& given, QString& error, bool missingAllowed)
{
    QVariantMap values;
    for (const ParameterSpec& p : filter.parameters) {
        const QString key = QLatin1String(p.key);
        if (!given.contains(key)) {
            if (p.defaultValue.isValid())
                values.insert(key, p.defaultValue);
            else if (!p.optional && !missingAllowed) {
                error = QStringLiteral("%1 needs --%2").arg(QLatin1String(filter.id), key);
                return {};
            }
            continue;
        }
        const QVariant value = checkedValue(p, given.value(key), error);
        if (!value.isValid())
            return {};
        values.insert(key, value);
    }
    for (auto it = given.begin(); it != given.end(); ++it)
        if (!values.contains(it.key())) {
            error = QStringLiteral("%1 takes no parameter \"%2\"").arg(QLatin1String(filter.id), it.key());
            return {};
        }
    if (filter.check && !missingAllowed)
        error = filter.check(values);
    return error.isEmpty() ? values : QVariantMap();
}

QString resultUnits(const FilterSpec& filter, const QVariantMap& values, const QString& sourceUnits,
                    const QString& lengthUnit)
{
    switch (filter.units) {
    case ResultUnits::Same:
        return sourceUnits;
    case ResultUnits::PerLength: {
        // Derivatives of higher order are per length to their order.
        const int order = values.value(QStringLiteral("order"), 1).toInt();
        const QString power = order > 1 ? QString::number(order) : QString();
        return sourceUnits.isEmpty() ? QString() : QStringLiteral("%1/%2%3").arg(sourceUnits, lengthUnit, power);
    }
    case ResultUnits::Degrees:
        return QStringLiteral("degrees");
    case ResultUnits::Milligal:
        return QStringLiteral("mGal");
    case ResultUnits::MicroCgs:
        return QStringLiteral("\u00b5cgs");
    case ResultUnits::GramPerCc:
        return QStringLiteral("g/cm3");
    }
    return QString();
}

} // namespace I2DFourierFilters
