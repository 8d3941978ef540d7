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
bool rtp(I2DGridMesh* g, IBaseData* d, const A& a) { return F::rtp(g, d, a.inclination, a.declination, QString()); }
bool susceptibility(I2DGridMesh* g, IBaseData* d, const A& a)
{
    return F::apparentSusceptibility(g, d, a.height, a.field, a.inclination, a.declination, a.attenuate, QString());
}
bool density(I2DGridMesh* g, IBaseData* d, const A& a) { return F::apparentDensity(g, d, a.attenuate, QString()); }
bool pseudoGravity(I2DGridMesh* g, IBaseData* d, const A& a)
{
    return F::pseudoGravity(g, d, a.field, a.inclination, a.declination, QString());
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

const std::vector<FilterSpec>& filterCatalog()
{
    static const std::vector<FilterSpec> catalog = {
        {"lowpass", "Keep wavelengths longer than the cut-off", "Low pass", CutoffOption, ResultUnits::Same, lowPass},
        {"highpass", "Keep wavelengths shorter than the cut-off", "High pass", CutoffOption, ResultUnits::Same, highPass},
        {"rtp", "Reduce a total-field anomaly to the pole", "Reduced to the pole", DirectionOption, ResultUnits::Same, rtp},
        {"susceptibility", "Apparent susceptibility of a total-field anomaly", "Apparent susceptibility",
         ObservationOption | FieldOption | DirectionOption | AttenuateOption, ResultUnits::Unknown, susceptibility},
        {"density", "Apparent density of a gravity anomaly", "Apparent density", AttenuateOption, ResultUnits::Unknown,
         density},
        {"pseudogravity", "Pseudo-gravity of a total-field anomaly", "Pseudo-gravity",
         FieldOption | DirectionOption, ResultUnits::Milligal, pseudoGravity},
        {"vd", "First vertical derivative", "Vertical derivative", AttenuateOption, ResultUnits::PerLength, vd},
        {"hd", "First horizontal derivative", "Horizontal derivative", MethodOption | AttenuateOption,
         ResultUnits::PerLength, hd},
        {"continuation", "Upward (positive height) or downward continuation", "Continuation",
         ContinuationOption | AttenuateOption, ResultUnits::Same, continuation},
        {"strike", "Remove features striking along S at wavelengths below the cut-off", "Strike filtered",
         StrikeOption | CutoffOption, ResultUnits::Same, strike},
        {"analytic-signal", "Amplitude of the analytic signal", "Analytic signal", AttenuateOption,
         ResultUnits::PerLength, analyticSignal},
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
    case ResultUnits::Unknown:
        break;
    }
    return QString();
}

} // namespace spectrafil
