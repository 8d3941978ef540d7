#include "igrf_at_grid.h"

#include "grid_files.h"

#include <igrf_location.h>
#include <main_field.h>

#include <cmath>
#include <memory>

namespace spectrafil {
namespace {

// The coefficient file is read once per process, at the first lookup that finds it.
const geomag::IgrfModel* igrfModel(QString& error)
{
    static std::unique_ptr<geomag::IgrfModel> model;
    if (model)
        return model.get();
    std::string path;
    std::string problem;
    auto loaded = std::make_unique<geomag::IgrfModel>();
    if (!geomag::findIgrfCoefficients(path, problem) || !geomag::loadIgrfModel(path, *loaded, problem)) {
        error = QString::fromStdString(problem);
        return nullptr;
    }
    model = std::move(loaded);
    return model.get();
}

QString hemisphereDegrees(double value, char positive, char negative)
{
    return QStringLiteral("%1°%2").arg(std::fabs(value), 0, 'f', 3).arg(QLatin1Char(value < 0 ? negative : positive));
}

} // namespace

bool igrfAtGridCentre(const GridFileInfo& file, double year, double altitude, IgrfAtGrid& field, QString& error)
{
    if (file.crsWkt.isEmpty()) {
        error = QStringLiteral("%1 carries no coordinate reference system, so the latitude and longitude of the "
                               "grid's centre are unknown")
                    .arg(file.path);
        return false;
    }
    if (!gridCentreLonLat(file, field.longitude, field.latitude, error))
        return false;
    const geomag::IgrfModel* model = igrfModel(error);
    if (!model)
        return false;
    geomag::MainField main;
    std::string problem;
    if (!geomag::igrfField(*model, field.latitude, field.longitude, altitude, year, main, problem)) {
        error = QString::fromStdString(problem);
        return false;
    }
    field.year = year;
    field.inclination = main.inclination;
    field.declination = main.declination;
    field.intensity = main.total;
    return true;
}

QString describeIgrf(const IgrfAtGrid& field)
{
    return QStringLiteral("IGRF-14 at %1 %2, %3: inclination %4°, declination %5°, intensity %6 nT")
        .arg(hemisphereDegrees(field.latitude, 'N', 'S'), hemisphereDegrees(field.longitude, 'E', 'W'))
        .arg(field.year, 0, 'f', 2)
        .arg(field.inclination, 0, 'f', 2)
        .arg(field.declination, 0, 'f', 2)
        .arg(field.intensity, 0, 'f', 0);
}

} // namespace spectrafil
