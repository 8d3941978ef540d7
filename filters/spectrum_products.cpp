// The tilt derivative, the vertical derivatives of higher order, the residual, the band pass and
// the directional filter: the engine's responses put to further use.

#include "fourier_filters.h"

#include "combined_filter.h"
#include "filter_pipeline.h"
#include "single_result_filter.h"

#include <cmath>

using namespace Tavorin;
using namespace filter_codes;

namespace I2DFourierFilters {

namespace {

const double Degree = 0.017453292519943295; // pi/180

// A wavelength or angle that must be a positive number.
QString positiveRejection(const char* what, float value)
{
    if (value > 0.0f && std::isfinite(value))
        return QString();
    return QStringLiteral("%1 %2 must be greater than zero and finite").arg(QLatin1String(what)).arg(value);
}

} // namespace

bool tiltDerivative(I2DGridMesh* grid, IBaseData* data, bool attenuate, QString resultName)
{
    CombinedFilter filter;
    filter.suffix = QStringLiteral(" tilt");
    // The derivatives along z, x and y; their common scale cancels in the ratio.
    filter.runs = [=] {
        const std::string window = derivativeWindow(Derivative, grid, attenuate);
        return std::vector<std::string>{window + directionLines(Vertical), window + directionLines(AlongX),
                                        window + directionLines(AlongY)};
    };
    filter.combine = [](const std::vector<double>& d, double) {
        return std::atan2(d[0], std::hypot(d[1], d[2])) / Degree;
    };
    return runCombinedFilter(grid, data, resultName, filter);
}

bool verticalDerivative(I2DGridMesh* grid, IBaseData* data, int order, bool attenuate, QString resultName)
{
    SingleResultFilter filter;
    filter.suffix = order == 1 ? QStringLiteral(" vd filtered") : QStringLiteral(" vd%1 filtered").arg(order);
    filter.rejection = [order] {
        if (order >= 1 && order <= 3)
            return QString();
        return QStringLiteral("Derivative order %1 must be 1, 2 or 3").arg(order);
    };
    // Each order takes the engine's units per 10^n grid units once more.
    filter.divisor = [=] {
        const float scale = derivativeDivisor(grid)();
        return order == 1 ? scale : std::pow(scale, static_cast<float>(order));
    };
    filter.filterLines = [=] { return verticalDerivativeLines(grid, order, attenuate); };
    return runSingleResultFilter(grid, data, resultName, filter);
}

bool residual(I2DGridMesh* grid, IBaseData* data, float cutoff, QString resultName)
{
    CombinedFilter filter;
    filter.suffix = QStringLiteral(" residual");
    filter.rejection = [cutoff] { return positiveRejection("Wavelength cut-off", cutoff); };
    filter.runs = [cutoff] { return std::vector<std::string>{lowPassLine(cutoff)}; };
    filter.combine = [](const std::vector<double>& lowPass, double source) { return source - lowPass[0]; };
    return runCombinedFilter(grid, data, resultName, filter);
}

bool bandPass(I2DGridMesh* grid, IBaseData* data, float shortCutoff, float longCutoff, QString resultName)
{
    CombinedFilter filter;
    filter.suffix = QStringLiteral(" band pass filtered");
    filter.rejection = [=] {
        QString message = positiveRejection("Short cut-off", shortCutoff);
        if (message.isEmpty())
            message = positiveRejection("Long cut-off", longCutoff);
        if (message.isEmpty() && !(longCutoff > shortCutoff))
            message = QStringLiteral("Long cut-off %1 must be greater than the short cut-off %2")
                          .arg(longCutoff)
                          .arg(shortCutoff);
        return message;
    };
    filter.runs = [=] { return std::vector<std::string>{lowPassLine(shortCutoff), lowPassLine(longCutoff)}; };
    filter.combine = [](const std::vector<double>& lowPass, double) { return lowPass[0] - lowPass[1]; };
    return runCombinedFilter(grid, data, resultName, filter);
}

bool directionalFilter(I2DGridMesh* grid, IBaseData* data, float strike, float tolerance, float cutoff, bool keep,
                       QString resultName)
{
    SingleResultFilter filter;
    filter.suffix = QStringLiteral(" directional filtered");
    filter.rejection = [=] {
        if (!(strike >= -180.0f && strike <= 180.0f))
            return QStringLiteral("Strike %1 must be between -180 and +180 degrees").arg(strike);
        if (!(tolerance > 0.0f && tolerance <= 90.0f))
            return QStringLiteral("Strike tolerance %1 must be greater than 0 and at most 90 degrees").arg(tolerance);
        if (!(cutoff >= 0.0f && std::isfinite(cutoff)))
            return QStringLiteral("Wavelength cut-off %1 must be 0 (every wavelength) or greater").arg(cutoff);
        return QString();
    };
    filter.filterLines = [=] { return directionalLines(strike, tolerance, cutoff, keep); };
    return runSingleResultFilter(grid, data, resultName, filter);
}

std::string verticalDerivativeLines(const I2DGridMesh* grid, int order, bool attenuate)
{
    if (order == 1)
        return derivativeWindow(Derivative, grid, attenuate) + directionLines(Vertical);
    if (order == 2)
        return derivativeWindow(SecondDerivative, grid, attenuate) + formatLine("%d\n", Vertical);
    return derivativeWindow(ThirdVerticalDerivative, grid, attenuate);
}

std::string directionalLines(float strike, float tolerance, float cutoff, bool keep)
{
    return formatLine("%d %d %.9g %.9g %.9g %.9g\n", WindowOnly, keep ? TaperKeep : TaperReject, 1.5 * cutoff,
                      double(cutoff), double(strike), double(strike) - double(tolerance));
}

} // namespace I2DFourierFilters
