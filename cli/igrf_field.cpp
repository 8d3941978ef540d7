#include "igrf_field.h"

#include <igrf_location.h>
#include <main_field.h>

#include <cmath>

namespace spectrafil {
namespace {

QString degrees(double value, char positive, char negative)
{
    return QStringLiteral("%1\u00b0%2").arg(std::fabs(value), 0, 'f', 3).arg(QLatin1Char(value < 0 ? negative : positive));
}

} // namespace

bool fieldFromIgrf(const GridFileInfo& grid, FilterArguments& a, QString& line, QString& error)
{
    double longitude = 0, latitude = 0;
    if (!gridCentreLonLat(grid, longitude, latitude, error)) {
        error = QStringLiteral("--igrf needs the grid's place on the Earth: %1").arg(error);
        return false;
    }
    std::string path, message;
    geomag::IgrfModel model;
    geomag::MainField field;
    if (!geomag::findIgrfCoefficients(path, message) || !geomag::loadIgrfModel(path, model, message) ||
        !geomag::igrfField(model, latitude, longitude, a.altitude, a.igrfYear, field, message)) {
        error = QStringLiteral("--igrf: %1").arg(QString::fromStdString(message));
        return false;
    }
    if (!a.inclinationGiven)
        a.inclination = float(field.inclination);
    if (!a.declinationGiven)
        a.declination = float(field.declination);
    if (!a.fieldGiven)
        a.field = float(field.total);
    line = QStringLiteral("IGRF-14 at %1 %2, %3: inclination %4\u00b0, declination %5\u00b0, intensity %6 nT")
               .arg(degrees(latitude, 'N', 'S'), degrees(longitude, 'E', 'W'))
               .arg(a.igrfYear, 0, 'f', 2)
               .arg(field.inclination, 0, 'f', 2)
               .arg(field.declination, 0, 'f', 2)
               .arg(field.total, 0, 'f', 0);
    return true;
}

} // namespace spectrafil
