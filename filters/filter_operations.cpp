// The wavenumber windows, the reduction to the pole, the derivatives, the continuation and the
// strike filter: each one only says what makes it different and leaves the order to the pipeline.

#include "fourier_filters.h"

#include "filter_pipeline.h"
#include "single_result_filter.h"

#include <cmath>

using namespace Tavorin;
using namespace filter_codes;

namespace I2DFourierFilters {

namespace {

const QString CutoffMessage = QStringLiteral("Wavelength cut-off must be greater than zero");

void announceDataDump()
{
    logInfo(QStringLiteral("Implementing data dump"));
}

} // namespace

// The derivatives are returned per grid unit rather than per 10^n grid units.
std::function<float()> derivativeDivisor(const I2DGridMesh* grid)
{
    return [grid] {
        const I2DGridGeometry& geometry = grid->get2DGridGeometry();
        const float scale = derivativeScale(static_cast<float>(geometry.uSize()),
                                            static_cast<float>(geometry.vSize()));
        logInfo(QStringLiteral("scaling factor is %1").arg(scale));
        return scale;
    };
}

// Low-pass window of the derivatives: flat to 4 W0 (6 W0 attenuated) and half at 2 W0 (4 W0), so
// the noise at the grid's shortest wavelengths is not amplified.
std::string derivativeWindow(Response response, const I2DGridMesh* grid, bool attenuate)
{
    const double w0 = meanCellSize(grid);
    return attenuate ? formatLine("%d %d %f %f\n", response, LowPass, 6 * w0, 4 * w0)
                     : formatLine("%d %d %f %f\n", response, LowPass, 4 * w0, 2 * w0);
}

std::string directionLines(Direction direction)
{
    return formatLine("%d\n0\n", direction);
}

std::string lowPassLine(float cutoff)
{
    return formatLine("%d %d %f %f\n", WindowOnly, LowPass, 1.5 * cutoff, double(cutoff));
}

std::string highPassLine(float cutoff)
{
    return formatLine("%d %d %f %f\n", WindowOnly, HighPass, cutoff / 1.5, double(cutoff));
}

std::string reductionToPoleLines(const MagneticDirections& directions, const Stabilisation& applied)
{
    if (applied.method == Stabilisation::None)
        return formatLine("%d %d 0 0\n", ReductionToPole, NoWindow) + directionFields(directions) + "\n";
    return formatLine("%d %d 0 0\n", StableReductionToPole, NoWindow) + directionFields(directions) +
           formatLine(" %.9g\n", applied.value);
}

std::string continuationLines(const I2DGridMesh* grid, float distance, bool attenuate)
{
    const double w0 = meanCellSize(grid);
    const double f = distance > 0.0f ? 1.0 : 3.0;
    const std::string window = attenuate ? formatLine("%d %d %f %f\n", Continuation, LowPass, 12 * f * w0, 6 * f * w0)
                                         : formatLine("%d %d %f %f\n", Continuation, LowPass, 4 * f * w0, 2 * f * w0);
    return window + formatLine("%f\n", double(distance));
}

std::string strikeLines(float strike, float tolerance, float cutoff)
{
    if (tolerance < 0.0f) {
        const float halfResponse = strike - std::fabs(tolerance);
        return formatLine("%d %d %f %f\n", WindowOnly, StrikePass, double(strike), double(halfResponse));
    }
    const float halfResponse = strike - tolerance;
    return formatLine("%d %d %f %f %f %f\n", WindowOnly, ShortStrikeReject, 1.5 * cutoff, double(cutoff),
                      double(strike), double(halfResponse));
}

bool lowPass(I2DGridMesh* grid, IBaseData* data, float cutoff, QString resultName)
{
    SingleResultFilter filter;
    filter.suffix = QStringLiteral(" low pass filtered");
    filter.dataDump = cutoff == 0.0f;
    filter.rejection = [cutoff] {
        if (cutoff < 0.0f)
            return CutoffMessage;
        if (cutoff == 0.0f)
            announceDataDump();
        return QString();
    };
    filter.filterLines = [cutoff] { return lowPassLine(cutoff); };
    return runSingleResultFilter(grid, data, resultName, filter);
}

bool highPass(I2DGridMesh* grid, IBaseData* data, float cutoff, QString resultName)
{
    SingleResultFilter filter;
    filter.suffix = QStringLiteral(" high pass filtered");
    filter.rejection = [cutoff] { return cutoff <= 0.0f ? CutoffMessage : QString(); };
    filter.filterLines = [cutoff] { return highPassLine(cutoff); };
    return runSingleResultFilter(grid, data, resultName, filter);
}

bool rtp(I2DGridMesh* grid, IBaseData* data, float inclination, float declination, QString resultName)
{
    SingleResultFilter filter;
    filter.suffix = QStringLiteral(" rtp filtered");
    filter.rejection = [=] { return directionRejection(inclination, declination); };
    // Field and magnetisation share the direction: induced magnetisation.
    filter.filterLines = [=] {
        return "5 0 0 0\n"
               + formatLine("%f %f %f %f\n", double(declination), double(inclination), double(declination),
                            double(inclination));
    };
    return runSingleResultFilter(grid, data, resultName, filter);
}

bool rtpStable(I2DGridMesh* grid, IBaseData* data, const MagneticDirections& directions,
               const Stabilisation& stabilisation, QString resultName)
{
    const Stabilisation applied = resolveStabilisation(stabilisation, directions);
    SingleResultFilter filter;
    filter.suffix = QStringLiteral(" rtp filtered");
    filter.rejection = [=] { return stableRejection(directions, stabilisation); };
    filter.afterGridCheck = [=] { logStabilisation(applied); };
    filter.filterLines = [=] { return reductionToPoleLines(directions, applied); };
    return runSingleResultFilter(grid, data, resultName, filter);
}

bool firstVerticalDerivative(I2DGridMesh* grid, IBaseData* data, bool attenuate, QString resultName)
{
    SingleResultFilter filter;
    filter.suffix = QStringLiteral(" vd filtered");
    filter.divisor = derivativeDivisor(grid);
    // Direction z, no continuation.
    filter.filterLines = [=] { return derivativeWindow(Derivative, grid, attenuate) + directionLines(Vertical); };
    return runSingleResultFilter(grid, data, resultName, filter);
}

bool firstHorizontalDerivative(I2DGridMesh* grid, IBaseData* data, HDMethod method, bool attenuate,
                               QString resultName)
{
    SingleResultFilter filter;
    filter.suffix = QStringLiteral(" hd filtered");
    filter.divisor = derivativeDivisor(grid);
    filter.filterLines = [=] {
        switch (method) {
        case EastWest:
            return derivativeWindow(Derivative, grid, attenuate) + directionLines(AlongX);
        case NorthSouth:
            return derivativeWindow(Derivative, grid, attenuate) + directionLines(AlongY);
        case TotalHorizontal:
            break;
        }
        // The total gradient reads one line, its continuation height: one grid unit upward. The
        // trailing "0" keeps the layout of the directional derivatives and is not read.
        return derivativeWindow(HorizontalGradient, grid, attenuate) + directionLines(AlongX);
    };
    return runSingleResultFilter(grid, data, resultName, filter);
}

bool continuation(I2DGridMesh* grid, IBaseData* data, float distance, bool attenuate, QString resultName)
{
    SingleResultFilter filter;
    filter.suffix = QStringLiteral(" cont filtered");
    filter.filterLines = [=] { return continuationLines(grid, distance, attenuate); };
    return runSingleResultFilter(grid, data, resultName, filter);
}

bool strike(I2DGridMesh* grid, IBaseData* data, float strike, float tolerance, float cutoff, QString resultName)
{
    SingleResultFilter filter;
    filter.suffix = QStringLiteral(" strike filtered");
    filter.dataDump = cutoff == 0.0f;
    // A negative tolerance asks for the plain directional reject, without the low-pass roll-off.
    const bool plainReject = tolerance < 0.0f;
    filter.rejection = [=] {
        if (cutoff < 0.0f)
            return CutoffMessage;
        if (cutoff == 0.0f)
            announceDataDump();
        if (strike < -90.0f || strike > 90.0f)
            return QStringLiteral("Strike must be within range of +/- 90 degrees");
        if (plainReject)
            return QString();
        if (tolerance < 0.1f)
            return QStringLiteral("Strike tolerance must be > 0");
        if (tolerance > 89.0f)
            return QStringLiteral("Strike tolerance too high");
        return QString();
    };
    filter.filterLines = [=] { return strikeLines(strike, tolerance, cutoff); };
    return runSingleResultFilter(grid, data, resultName, filter);
}

} // namespace I2DFourierFilters
