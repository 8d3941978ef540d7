// Apparent susceptibility, apparent density and pseudo-gravity: equivalent-layer transforms that
// share one implementation and differ in their filter lines.

#include "fourier_filters.h"

#include "filter_pipeline.h"
#include "single_result_filter.h"

using namespace Tavorin;

namespace I2DFourierFilters {

namespace {

enum class Transform { ApparentSusceptibility = 0, ApparentDensity = 1, PseudoGravity = 2 };

struct TransformParameters {
    float height = 0;        // of the observations above the equivalent layer
    float fieldStrength = 0; // the engine divides the response by it
    float inclination = 0;
    float declination = 0;
    Transform kind = Transform::ApparentSusceptibility;
    bool attenuate = false;
};

QString announcement(Transform kind)
{
    switch (kind) {
    case Transform::ApparentSusceptibility:
        return QStringLiteral("Writing control file for app susc filter...");
    case Transform::ApparentDensity:
        return QStringLiteral("Writing control file for app density filter...");
    case Transform::PseudoGravity:
        break;
    }
    return QStringLiteral("Writing control file for pseudo gravity filter...");
}

std::string transformLines(const TransformParameters& p, double w0)
{
    const double h = p.height, f = p.fieldStrength, i = p.inclination, d = p.declination;
    switch (p.kind) {
    case Transform::ApparentSusceptibility:
        return (p.attenuate ? formatLine("7 1 %f %f \n", 4.5 * w0, 3.0 * w0) : std::string("7 0 0 0 \n"))
               + formatLine("%f %f %f %f %f %f\n", h, d, i, d, i, f);
    case Transform::ApparentDensity:
        return (p.attenuate ? formatLine("8 1 %f %f \n", 4.5 * w0, 3.0 * w0) : std::string("8 0 0 0\n"))
               + formatLine("%f %f %f %f %f %f\n", 0.0, 0.0, 0.0, 0.0, 0.0, 0.0);
    case Transform::PseudoGravity:
        break;
    }
    return "6 0 0 0\n" + formatLine("%f %f %f %f %f\n", d, i, d, i, f);
}

bool potentialFieldTransform(I2DGridMesh* grid, IBaseData* data, const TransformParameters& p,
                             const QString& suffix, QString resultName)
{
    SingleResultFilter filter;
    filter.suffix = suffix;
    filter.rejection = [p] { return directionRejection(p.inclination, p.declination); };
    // The engine scales these responses itself; the factor is shown for reference only.
    filter.afterGridCheck = [grid] {
        const I2DGridGeometry& geometry = grid->get2DGridGeometry();
        const double scale = derivativeScale(geometry.uSize(), geometry.vSize());
        logInfo(QStringLiteral("AIRFILT scaling factor is %1").arg(scale));
    };
    filter.ownAnnouncement = announcement(p.kind);
    filter.filterLines = [grid, p] {
        const I2DGridGeometry& geometry = grid->get2DGridGeometry();
        return transformLines(p, 0.5 * (geometry.uSize() + geometry.vSize()));
    };
    return runSingleResultFilter(grid, data, resultName, filter);
}

} // namespace

bool apparentSusceptibility(I2DGridMesh* grid, IBaseData* data, float height, float fieldStrength,
                            float inclination, float declination, bool attenuate, QString resultName)
{
    const TransformParameters p{height, fieldStrength, inclination, declination,
                                Transform::ApparentSusceptibility, attenuate};
    return potentialFieldTransform(grid, data, p, QStringLiteral(" apparent susc filtered"), resultName);
}

bool apparentDensity(I2DGridMesh* grid, IBaseData* data, bool attenuate, QString resultName)
{
    const TransformParameters p{0.0f, 0.0f, 0.0f, 0.0f, Transform::ApparentDensity, attenuate};
    return potentialFieldTransform(grid, data, p, QStringLiteral(" apparent density filtered"), resultName);
}

bool pseudoGravity(I2DGridMesh* grid, IBaseData* data, float fieldStrength, float inclination, float declination,
                   QString resultName)
{
    const TransformParameters p{0.0f, fieldStrength, inclination, declination, Transform::PseudoGravity, false};
    return potentialFieldTransform(grid, data, p, QStringLiteral(" pseudo gravity filtered"), resultName);
}

} // namespace I2DFourierFilters
