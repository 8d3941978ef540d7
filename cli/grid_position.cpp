// Where on the Earth a grid lies, and whether its coordinates are lengths at all: the filters
// take distances in grid units, so a grid in degrees would be filtered as if degrees were metres.

#include "gdal_support.h"
#include "grid_files.h"

#include <ogr_spatialref.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace spectrafil {
namespace {

bool centreInCrs(const RasterLayout& layout, double& x, double& y)
{
    x = layout.originX + 0.5 * layout.nCellU * layout.uSize;
    y = layout.originY + 0.5 * layout.nCellV * layout.vSize;
    return std::isfinite(x) && std::isfinite(y);
}

// EPSG code of the WGS84 / UTM zone around a point: 326zz north of the equator, 327zz south.
int utmZoneCode(double longitude, double latitude)
{
    const double wrapped = longitude - 360.0 * std::floor((longitude + 180.0) / 360.0);
    const int zone = std::min(60, int(std::floor((wrapped + 180.0) / 6.0)) + 1);
    return (latitude < 0 ? 32700 : 32600) + zone;
}

} // namespace

bool gridCentreLonLat(const GridFileInfo& info, double& longitude, double& latitude, QString& error)
{
    QuietGdal quiet;
    OGRSpatialReference crs;
    if (info.crsWkt.isEmpty() || crs.importFromWkt(info.crsWkt.toUtf8().constData()) != OGRERR_NONE) {
        error = QStringLiteral("%1 carries no coordinate reference system; give it with --srs").arg(info.path);
        return false;
    }
    OGRSpatialReference wgs84;
    wgs84.SetWellKnownGeogCS("WGS84");
    crs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    wgs84.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    std::unique_ptr<OGRCoordinateTransformation> toWgs84(OGRCreateCoordinateTransformation(&crs, &wgs84));
    double x = 0, y = 0;
    if (!toWgs84 || !centreInCrs(info.layout, x, y) || !toWgs84->Transform(1, &x, &y) || !std::isfinite(x) ||
        !std::isfinite(y)) {
        error = QStringLiteral("%1: the centre of the grid cannot be placed in longitude and latitude (%2)")
                    .arg(info.path, QuietGdal::lastError(QStringLiteral("no transformation to WGS84")));
        return false;
    }
    longitude = x;
    latitude = y;
    return true;
}

QString geographicRefusal(const GridFileInfo& info)
{
    QuietGdal quiet;
    OGRSpatialReference crs;
    if (info.crsWkt.isEmpty() || crs.importFromWkt(info.crsWkt.toUtf8().constData()) != OGRERR_NONE ||
        !crs.IsGeographic())
        return QString();
    QString reprojection = QStringLiteral("EPSG:<the UTM zone of the grid>");
    double longitude = 0, latitude = 0;
    QString unused;
    if (gridCentreLonLat(info, longitude, latitude, unused))
        reprojection = QStringLiteral("EPSG:%1").arg(utmZoneCode(longitude, latitude));
    return QStringLiteral("%1: its coordinates are geographic (degrees), and the filters measure wavelengths, "
                          "heights and derivatives in the grid's length unit; reproject it first, e.g. "
                          "gdalwarp -t_srs %2 %1 projected.tif")
        .arg(info.path, reprojection);
}

QStringList gridWarnings(const GridFileInfo& info)
{
    QStringList warnings;
    const RasterLayout& l = info.layout;
    if (!info.georeferenced)
        warnings << QStringLiteral("%1 has no geotransform: cells of 1 x 1 grid unit are assumed, its first row "
                                   "the northern one").arg(info.path);
    const double east = l.originX + l.nCellU * l.uSize, north = l.originY + l.nCellV * l.vSize;
    const bool degreeLike = info.georeferenced && l.uSize < 0.1 && l.vSize < 0.1 && l.originX >= -180 && east <= 360 &&
                            l.originY >= -90 && north <= 90;
    if (info.crsWkt.isEmpty() && degreeLike)
        warnings << QStringLiteral("%1 carries no CRS, and its cells (%2 x %3) and extent look like degrees: the "
                                   "filters would take them as lengths; if they are degrees, reproject the grid "
                                   "(gdalwarp -t_srs EPSG:<UTM zone> ...) or name its CRS with --srs")
                        .arg(info.path).arg(l.uSize, 0, 'g', 6).arg(l.vSize, 0, 'g', 6);
    return warnings;
}

} // namespace spectrafil
