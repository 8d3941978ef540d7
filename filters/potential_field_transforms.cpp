// Apparent susceptibility, apparent density and pseudo-gravity: equivalent-layer transforms that
// share one implementation and differ in their filter lines.

#include "fourier_filters.h"

#include "filter_pipeline.h"
#include "single_result_filter.h"

using namespace Tavorin;
using namespace filter_codes;

namespace I2DFourierFilters {

namespace {

enum class Transform { ApparentSusceptibility = 0, ApparentDensity = 1, PseudoGravity = 2 };

struct TransformParameters {
    float height = 0;        // of the observations above the equivalent layer
    float fieldStrength = 0; // the engine divides the response by it
    MagneticDirections directions;
    Transform kind = Transform::ApparentSusceptibility;
    bool attenuate = false;
    Stabilisation stabilisation{Stabilisation::None, 0}; // as applied, never Auto
    std::function<QString()> rejection;                    // the parameter checks
    bool logsStabilisation = false;                        // the stabilised operations say which they apply
};

TransformParameters parameters(float height, float fieldStrength, const MagneticDirections& directions,
                               Transform kind, bool attenuate)
{
    TransformParameters p;
    p.height = height;
    p.fieldStrength = fieldStrength;
    p.directions = directions;
    p.kind = kind;
    p.attenuate = attenuate;
    return p;
}

// The eleven operations' transforms: induced, the plain division, the field direction checked.
TransformParameters seedParameters(float height, float fieldStrength, float inclination, float declination,
                                   Transform kind, bool attenuate)
{
    TransformParameters p =
        parameters(height, fieldStrength, inducedDirections(inclination, declination), kind, attenuate);
    p.rejection = [=] { return directionRejection(inclination, declination); };
    return p;
}

TransformParameters stableParameters(float height, float fieldStrength, const MagneticDirections& directions,
                                     Transform kind, bool attenuate, const Stabilisation& requested)
{
    TransformParameters p = parameters(height, fieldStrength, directions, kind, attenuate);
    p.stabilisation = resolveStabilisation(requested, directions);
    p.rejection = [=] { return stableRejection(directions, requested); };
    p.logsStabilisation = true;
    return p;
}

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

// The plain transforms' lines; the stabilised ones (codes 16 and 15) add the limit inclination at
// the end of the direction line.
std::string transformLines(const TransformParameters& p, double w0)
{
    const double h = p.height, f = p.fieldStrength;
    const std::string directions = directionFields(p.directions);
    const bool stable = p.stabilisation.method != Stabilisation::None;
    const std::string limit = stable ? formatLine(" %.9g", p.stabilisation.value) : std::string();
    switch (p.kind) {
    case Transform::ApparentSusceptibility: {
        const int code = stable ? StableLayerSusceptibility : LayerSusceptibility;
        return (p.attenuate ? formatLine("%d %d %f %f \n", code, LowPass, 4.5 * w0, 3.0 * w0)
                            : formatLine("%d %d 0 0 \n", code, NoWindow))
               + formatLine("%f ", h) + directions + formatLine(" %f", f) + limit + "\n";
    }
    case Transform::ApparentDensity:
        return (p.attenuate ? formatLine("%d %d %f %f \n", LayerDensity, LowPass, 4.5 * w0, 3.0 * w0)
                            : formatLine("%d %d 0 0\n", LayerDensity, NoWindow))
               + formatLine("%f %f %f %f %f %f\n", 0.0, 0.0, 0.0, 0.0, 0.0, 0.0);
    case Transform::PseudoGravity:
        break;
    }
    return pseudoGravityLines(p.directions, p.fieldStrength, p.stabilisation);
}

bool potentialFieldTransform(I2DGridMesh* grid, IBaseData* data, const TransformParameters& p,
                             const QString& suffix, QString resultName)
{
    SingleResultFilter filter;
    filter.suffix = suffix;
    filter.rejection = p.rejection;
    // The engine scales these responses itself; the factor is shown for reference only.
    filter.afterGridCheck = [grid, p] {
        const I2DGridGeometry& geometry = grid->get2DGridGeometry();
        const double scale = derivativeScale(geometry.uSize(), geometry.vSize());
        logInfo(QStringLiteral("AIRFILT scaling factor is %1").arg(scale));
        if (p.logsStabilisation)
            logStabilisation(p.stabilisation);
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
    const TransformParameters p = seedParameters(height, fieldStrength, inclination, declination,
                                                 Transform::ApparentSusceptibility, attenuate);
    return potentialFieldTransform(grid, data, p, QStringLiteral(" apparent susc filtered"), resultName);
}

bool apparentDensity(I2DGridMesh* grid, IBaseData* data, bool attenuate, QString resultName)
{
    const TransformParameters p = seedParameters(0.0f, 0.0f, 0.0f, 0.0f, Transform::ApparentDensity, attenuate);
    return potentialFieldTransform(grid, data, p, QStringLiteral(" apparent density filtered"), resultName);
}

bool pseudoGravity(I2DGridMesh* grid, IBaseData* data, float fieldStrength, float inclination, float declination,
                   QString resultName)
{
    const TransformParameters p = seedParameters(0.0f, fieldStrength, inclination, declination,
                                                 Transform::PseudoGravity, false);
    return potentialFieldTransform(grid, data, p, QStringLiteral(" pseudo gravity filtered"), resultName);
}

bool apparentSusceptibilityStable(I2DGridMesh* grid, IBaseData* data, float height, float fieldStrength,
                                  const MagneticDirections& directions, bool attenuate,
                                  const Stabilisation& stabilisation, QString resultName)
{
    const TransformParameters p = stableParameters(height, fieldStrength, directions,
                                                   Transform::ApparentSusceptibility, attenuate, stabilisation);
    return potentialFieldTransform(grid, data, p, QStringLiteral(" apparent susc filtered"), resultName);
}

bool pseudoGravityStable(I2DGridMesh* grid, IBaseData* data, float fieldStrength,
                         const MagneticDirections& directions, const Stabilisation& stabilisation,
                         QString resultName)
{
    const TransformParameters p = stableParameters(0.0f, fieldStrength, directions, Transform::PseudoGravity, false,
                                                   stabilisation);
    return potentialFieldTransform(grid, data, p, QStringLiteral(" pseudo gravity filtered"), resultName);
}

std::string pseudoGravityLines(const MagneticDirections& directions, float fieldStrength, const Stabilisation& applied)
{
    const bool stable = applied.method != Stabilisation::None;
    return formatLine("%d %d 0 0\n", stable ? StablePseudoGravity : PseudoGravity, NoWindow) +
           directionFields(directions) + formatLine(" %f", double(fieldStrength)) +
           (stable ? formatLine(" %.9g", applied.value) : std::string()) + "\n";
}

} // namespace I2DFourierFilters
