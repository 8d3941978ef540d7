#include "result_check.h"

#include "cell_values.h"

#include <IBaseData.h>

#include <cmath>

namespace spectrafil {
namespace {

struct FilterKind {
    const char* suffix; // of the result's name
    const char* title;
    const char* cause;  // why such a filter gives values that are not finite
};

const char* const kDirectionCause =
    "an inclination too close to 0: the response divides by the field's direction factors, which vanish at "
    "the magnetic equator";

const FilterKind kKinds[] = {
    {" low pass filtered", "Low pass", nullptr},
    {" high pass filtered", "High pass", nullptr},
    {" rtp filtered", "Reduction to the pole", kDirectionCause},
    {" apparent susc filtered", "Apparent susceptibility",
     "an inclination too close to 0, or an observation height so large that continuing the field down to the "
     "sources overflows"},
    {" apparent density filtered", "Apparent density", nullptr},
    {" pseudo gravity filtered", "Pseudo-gravity", kDirectionCause},
    {" vd filtered", "Vertical derivative", nullptr},
    {" hd filtered", "Horizontal derivative", nullptr},
    {" cont filtered", "Continuation",
     "a downward continuation too deep for the grid's cells: it amplifies short wavelengths exponentially"},
    {" strike filtered", "Strike filter", nullptr},
    {" analytic signal", "Analytic signal", nullptr},
    {" vd2 filtered", "Second vertical derivative", nullptr},
    {" vd3 filtered", "Third vertical derivative", nullptr},
    {" tilt", "Tilt derivative", nullptr},
    {" residual", "Residual", nullptr},
    {" band pass filtered", "Band pass", nullptr},
    {" directional filtered", "Directional filter", nullptr},
};

const char* const kGeneralCause = "input values so large that the filtered values leave the range of 32-bit floats";

const FilterKind* kindOf(const QString& name)
{
    for (const FilterKind& kind : kKinds)
        if (name.endsWith(QLatin1String(kind.suffix)))
            return &kind;
    return nullptr;
}

} // namespace

bool namesFilterResult(const QString& name) { return kindOf(name) != nullptr; }

ResultCensus takeCensus(const Tavorin::IBaseData& result)
{
    ResultCensus census;
    const CellValues cells(result);
    for (unsigned int id = 0; id < cells.size(); ++id) {
        if (!cells.hasValue(id))
            continue;
        ++census.defined;
        if (!std::isfinite(cells.value(id)))
            ++census.nonFinite;
    }
    return census;
}

QString resultProblem(const Tavorin::IBaseData& result)
{
    const ResultCensus census = takeCensus(result);
    if (census.defined > 0 && census.nonFinite == 0)
        return QString();
    const FilterKind* kind = kindOf(result.Name());
    const QString title = kind ? QString::fromUtf8(kind->title) : result.Name();
    const QString cause = QString::fromUtf8(kind && kind->cause ? kind->cause : kGeneralCause);
    if (census.defined == 0)
        return QStringLiteral("%1: the result has no defined cell; likely cause: %2").arg(title, cause);
    return QStringLiteral("%1: %2 of the result's %3 cells are NaN or infinite; likely cause: %4")
        .arg(title).arg(census.nonFinite).arg(census.defined).arg(cause);
}

} // namespace spectrafil
