#include "igrf_field.h"

#include <igrf_location.h>
#include <main_field.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace spectrafil {
namespace {

QString degrees(double value, char positive, char negative)
{
    return QStringLiteral("%1\u00b0%2").arg(std::fabs(value), 0, 'f', 3).arg(QLatin1Char(value < 0 ? negative : positive));
}

} // namespace

bool fieldFromIgrf(const GridFileInfo& grid, const FilterSpec& filter, const FilterRequest& request,
                   QVariantMap& values, QString& line, QString& error)
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
        !geomag::igrfField(model, latitude, longitude, request.altitude, request.igrfYear, field, message)) {
        error = QStringLiteral("--igrf: %1").arg(QString::fromStdString(message));
        return false;
    }
    const struct {
        const char* key;
        double value;
    } fromModel[] = {{"inclination", field.inclination}, {"declination", field.declination}, {"field", field.total}};
    for (const auto& [key, value] : fromModel) {
        const bool taken = std::any_of(filter.parameters.begin(), filter.parameters.end(),
                                       [key = key](const auto& p) { return std::strcmp(p.key, key) == 0; });
        if (taken && !values.contains(QLatin1String(key)))
            values.insert(QLatin1String(key), value);
    }
    line = QStringLiteral("IGRF-14 at %1 %2, %3: inclination %4\u00b0, declination %5\u00b0, intensity %6 nT")
               .arg(degrees(latitude, 'N', 'S'), degrees(longitude, 'E', 'W'))
               .arg(request.igrfYear, 0, 'f', 2)
               .arg(field.inclination, 0, 'f', 2)
               .arg(field.declination, 0, 'f', 2)
               .arg(field.total, 0, 'f', 0);
    return true;
}

} // namespace spectrafil
