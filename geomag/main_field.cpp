#include "main_field.h"

#include "number_text.h"
#include "spherical_harmonics.h"

#include <cmath>

namespace geomag {
namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kDegree = kPi / 180.0;
constexpr double kWgs84SemiMajorKm = 6378.137;
constexpr double kWgs84Flattening = 1.0 / 298.257223563;
// Below the core-mantle boundary the field's sources are inside the sphere and the series fails.
constexpr double kCoreRadiusKm = 3485.0;
// Beyond about ten Earth radii the magnetosphere's own currents dominate the field.
constexpr double kHighestAltitudeKm = 60000.0;

// A geodetic place as a geocentric point, with the angle delta = geodetic - geocentric latitude
// that turns the geocentric vertical into the ellipsoid normal.
struct GeocentricPlace {
    SphericalPoint point;
    double cosDelta = 1.0;
    double sinDelta = 0.0;
};

GeocentricPlace geocentricPlace(double latitudeRad, double longitudeRad, double altitudeKm)
{
    const double e2 = kWgs84Flattening * (2.0 - kWgs84Flattening);
    const double sinLat = std::sin(latitudeRad);
    const double cosLat = std::cos(latitudeRad);
    const double primeVertical = kWgs84SemiMajorKm / std::sqrt(1.0 - e2 * sinLat * sinLat);
    const double rho = (primeVertical + altitudeKm) * cosLat;            // from the axis
    const double z = (primeVertical * (1.0 - e2) + altitudeKm) * sinLat; // from the equator
    const double r = std::hypot(rho, z);
    GeocentricPlace place;
    place.point = {r, z / r, rho / r, longitudeRad};
    // cos(geocentric latitude) = sin(theta), sin(geocentric latitude) = cos(theta).
    place.cosDelta = cosLat * place.point.sinTheta + sinLat * place.point.cosTheta;
    place.sinDelta = sinLat * place.point.sinTheta - cosLat * place.point.cosTheta;
    return place;
}

MainField fromComponents(double north, double east, double down)
{
    MainField field;
    field.north = north;
    field.east = east;
    field.down = down;
    field.horizontal = std::hypot(north, east);
    field.total = std::hypot(field.horizontal, down);
    field.inclination = std::atan2(down, field.horizontal) / kDegree;
    field.declination = std::atan2(east, north) / kDegree;
    return field;
}

bool validPlace(double latitudeDeg, double longitudeDeg, double altitudeMetres, std::string& error)
{
    if (!(latitudeDeg >= -90.0 && latitudeDeg <= 90.0))
        error = "latitude " + numberText(latitudeDeg) + " is outside -90 to 90 degrees";
    else if (!std::isfinite(longitudeDeg))
        error = "longitude " + numberText(longitudeDeg) + " is not a number of degrees";
    else if (!std::isfinite(altitudeMetres))
        error = "altitude " + numberText(altitudeMetres) + " is not a number of metres";
    else
        return true;
    return false;
}

} // namespace

bool igrfField(const IgrfModel& model, double latitudeDeg, double longitudeDeg, double altitudeMetres,
               double decimalYear, MainField& field, std::string& error)
{
    GaussCoefficients coefficients;
    if (!validPlace(latitudeDeg, longitudeDeg, altitudeMetres, error)
        || !igrfCoefficientsAt(model, decimalYear, coefficients, error))
        return false;
    const GeocentricPlace place =
        geocentricPlace(latitudeDeg * kDegree, longitudeDeg * kDegree, altitudeMetres / 1000.0);
    if (!(place.point.radiusKm > kCoreRadiusKm && altitudeMetres <= kHighestAltitudeKm * 1000.0)) {
        error = "altitude " + numberText(altitudeMetres) + " m is inside the Earth's core or beyond "
                + numberText(kHighestAltitudeKm) + " km, where the main-field model does not hold";
        return false;
    }
    const FieldComponents geocentric = sphericalHarmonicField(coefficients, place.point);
    // Turn the meridian-plane components from the geocentric radius to the ellipsoid normal.
    const double north = geocentric.north * place.cosDelta + geocentric.down * place.sinDelta;
    const double down = -geocentric.north * place.sinDelta + geocentric.down * place.cosDelta;
    field = fromComponents(north, geocentric.east, down);
    return true;
}

} // namespace geomag
