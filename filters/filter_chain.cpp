// Chains of filters: each row's request as a factor of the product, the composite request that
// multiplies them, and the operation that runs it.

#include "filter_chain.h"

#include "combined_filter.h"
#include "filter_pipeline.h"
#include "single_result_filter.h"

#include "I2DGridMesh.h"
#include "IBaseData.h"

#include <cmath>
#include <memory>

using namespace Tavorin;
using namespace filter_codes;

namespace I2DFourierFilters {

namespace {

const double Degree = 0.017453292519943295; // pi/180

float number(const QVariantMap& v, const char* key) { return v.value(QLatin1String(key)).toFloat(); }
bool flag(const QVariantMap& v, const char* key) { return v.value(QLatin1String(key)).toBool(); }

ChainContribution linear(const std::string& request, float divisor = 1.0f)
{
    ChainContribution c;
    c.requests = {request};
    c.divisor = divisor;
    return c;
}

float gridDerivativeScale(const I2DGridMesh* grid)
{
    const I2DGridGeometry& geometry = grid->get2DGridGeometry();
    return derivativeScale(static_cast<float>(geometry.uSize()), static_cast<float>(geometry.vSize()));
}

// The requests below are those the rows' operations write, each with exactly the lines its
// response reads, so that a composite can tell where the next one starts.

ChainContribution lowPassStep(const I2DGridMesh*, const QVariantMap& v)
{
    return linear(lowPassLine(number(v, "cutoff")));
}

ChainContribution highPassStep(const I2DGridMesh*, const QVariantMap& v)
{
    return linear(highPassLine(number(v, "cutoff")));
}

ChainContribution rtpStep(const I2DGridMesh*, const QVariantMap& v)
{
    const MagneticDirections directions = magneticDirectionsOf(v);
    return linear(reductionToPoleLines(directions, resolveStabilisation(stabilisationOf(v), directions)));
}

ChainContribution pseudoGravityStep(const I2DGridMesh*, const QVariantMap& v)
{
    const MagneticDirections directions = magneticDirectionsOf(v);
    return linear(pseudoGravityLines(directions, number(v, "field"), resolveStabilisation(stabilisationOf(v), directions)));
}

// Orders 1 to 3 along z; each order takes the engine's units per 10^n grid units once more.
ChainContribution verticalDerivativeStep(const I2DGridMesh* grid, const QVariantMap& v)
{
    const int order = v.value(QStringLiteral("order"), 1).toInt();
    return linear(verticalDerivativeLines(grid, order, flag(v, "attenuate")),
                  std::pow(gridDerivativeScale(grid), static_cast<float>(order)));
}

// East-west and north-south are linear; the total is the amplitude of both, each continued one
// grid unit upward as the total gradient's response does.
ChainContribution horizontalDerivativeStep(const I2DGridMesh* grid, const QVariantMap& v)
{
    const QString method = v.value(QStringLiteral("method")).toString();
    const std::string window = derivativeWindow(Derivative, grid, flag(v, "attenuate"));
    const float scale = gridDerivativeScale(grid);
    if (method == QLatin1String("ew"))
        return linear(window + directionLines(AlongX), scale);
    if (method == QLatin1String("ns"))
        return linear(window + directionLines(AlongY), scale);
    ChainContribution c;
    c.requests = {window + formatLine("%d\n1\n", AlongX), window + formatLine("%d\n1\n", AlongY)};
    c.divisor = scale;
    c.combine = [](const std::vector<double>& d) { return std::hypot(d[0], d[1]); };
    return c;
}

ChainContribution continuationStep(const I2DGridMesh* grid, const QVariantMap& v)
{
    return linear(continuationLines(grid, number(v, "height"), flag(v, "attenuate")));
}

ChainContribution strikeStep(const I2DGridMesh*, const QVariantMap& v)
{
    return linear(strikeLines(number(v, "strike"), number(v, "tolerance"), number(v, "cutoff")));
}

ChainContribution directionalStep(const I2DGridMesh*, const QVariantMap& v)
{
    return linear(directionalLines(number(v, "strike"), number(v, "tolerance"), number(v, "cutoff"), flag(v, "keep")));
}

// The first derivatives along z, x and y of the product, with the derivatives' window.
std::vector<std::string> gradientRequests(const I2DGridMesh* grid, const QVariantMap& v)
{
    const std::string window = derivativeWindow(Derivative, grid, flag(v, "attenuate"));
    return {window + directionLines(Vertical), window + directionLines(AlongX), window + directionLines(AlongY)};
}

ChainContribution tiltStep(const I2DGridMesh* grid, const QVariantMap& v)
{
    ChainContribution c;
    c.requests = gradientRequests(grid, v);
    c.combine = [](const std::vector<double>& d) { return std::atan2(d[0], std::hypot(d[1], d[2])) / Degree; };
    return c;
}

ChainContribution analyticSignalStep(const I2DGridMesh* grid, const QVariantMap& v)
{
    ChainContribution c;
    c.requests = gradientRequests(grid, v);
    c.divisor = gridDerivativeScale(grid);
    c.combine = [](const std::vector<double>& d) { return std::sqrt((d[2] * d[2] + d[1] * d[1]) + d[0] * d[0]); };
    return c;
}

struct StepOfRow {
    const char* id;
    ChainContribution (*step)(const I2DGridMesh*, const QVariantMap&);
    bool lastOnly;
};

const StepOfRow kSteps[] = {
    {"lowpass", lowPassStep, false},
    {"highpass", highPassStep, false},
    {"rtp", rtpStep, false},
    {"pseudogravity", pseudoGravityStep, false},
    {"vd", verticalDerivativeStep, false},
    {"hd", horizontalDerivativeStep, false},
    {"continuation", continuationStep, false},
    {"strike", strikeStep, false},
    {"directional", directionalStep, false},
    {"tilt", tiltStep, true},
    {"analytic-signal", analyticSignalStep, true},
};

bool isTotalGradient(const ChainStep& step)
{
    return QLatin1String(step.filter->id) == QLatin1String("hd")
           && step.values.value(QStringLiteral("method"), QStringLiteral("total")).toString() == QLatin1String("total");
}

bool lastOnly(const ChainStep& step)
{
    return step.filter->chainLastOnly || isTotalGradient(step);
}

// The composite of the linear requests, then `last` as its final factor when given.
std::string compositeRequest(const std::vector<std::string>& factors, const std::string& last = std::string())
{
    std::string lines = formatLine("%d %d 0 0\n%d\n", Composite, NoWindow, int(factors.size() + (last.empty() ? 0 : 1)));
    for (const std::string& factor : factors)
        lines += factor;
    return lines + last;
}

} // namespace

void attachChainSteps(std::vector<FilterSpec>& rows)
{
    for (FilterSpec& row : rows)
        for (const StepOfRow& s : kSteps)
            if (QLatin1String(row.id) == QLatin1String(s.id)) {
                row.chainStep = s.step;
                row.chainLastOnly = s.lastOnly;
            }
}

QString chainRefusal(const std::vector<ChainStep>& steps)
{
    if (steps.empty())
        return QStringLiteral("a chain needs at least one step");
    for (size_t i = 0; i < steps.size(); ++i) {
        const ChainStep& step = steps[i];
        const QString id = QLatin1String(step.filter->id);
        if (!step.filter->chainStep)
            return QStringLiteral("step %1: %2 cannot be a step of a chain (it is not one response of the "
                                  "spectrum); run it on its own").arg(i + 1).arg(id);
        if (lastOnly(step) && i + 1 < steps.size())
            return QStringLiteral("step %1: %2 is not linear and can only be the last step of a chain")
                .arg(i + 1).arg(isTotalGradient(step) ? QStringLiteral("hd --method total") : id);
    }
    if (steps.size() > size_t(8))
        return QStringLiteral("a chain of %1 steps: at most 8 steps").arg(steps.size());
    return QString();
}

bool chain(I2DGridMesh* grid, IBaseData* data, const std::vector<ChainStep>& steps, QString resultName)
{
    CombinedFilter filter;
    filter.suffix = QStringLiteral(" chain");
    filter.rejection = [&steps] { return chainRefusal(steps); };
    // Filled when the runs are asked for, after the checks: the steps' requests need the grid.
    auto product = std::make_shared<ChainContribution>();
    auto divisor = std::make_shared<double>(1.0);
    filter.runs = [=, &steps] {
        std::vector<std::string> factors;
        for (const ChainStep& step : steps) {
            const ChainContribution c = step.filter->chainStep(grid, step.values);
            *divisor *= static_cast<double>(c.divisor);
            if (c.combine)
                *product = c;
            else
                factors.push_back(c.requests.front());
        }
        if (!product->combine)
            return std::vector<std::string>{compositeRequest(factors)};
        std::vector<std::string> runs;
        for (const std::string& last : product->requests)
            runs.push_back(compositeRequest(factors, last));
        return runs;
    };
    filter.combine = [=](const std::vector<double>& values, double) {
        if (!product->combine)
            return values.front() / *divisor;
        std::vector<double> scaled(values.size());
        for (size_t i = 0; i < values.size(); ++i)
            scaled[i] = values[i] / *divisor;
        return product->combine(scaled);
    };
    for (const ChainStep& step : steps)
        logInfo(QStringLiteral("Chain step: %1").arg(QLatin1String(step.filter->id)));
    return runCombinedFilter(grid, data, resultName, filter);
}

QString chainUnits(const std::vector<ChainStep>& steps, const QString& sourceUnits, const QString& lengthUnit)
{
    QString units = sourceUnits;
    for (const ChainStep& step : steps)
        units = resultUnits(*step.filter, step.values, units, lengthUnit);
    return units;
}

} // namespace I2DFourierFilters
