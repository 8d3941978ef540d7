#pragma once
// Grid files in and out through GDAL. Any raster GDAL reads becomes a north-up host grid with one
// float data item; the file's nodata value and NaN become cells without value. A written grid
// takes its size, geotransform, CRS and nodata from the grid it was read from, so a result lies
// exactly on its source.

#include "grid_layout.h"

#include <QString>

namespace Tavorin {
class I2DGridMesh;
class IBaseData;
class IBaseDataFloat;
class IWorld;
} // namespace Tavorin

namespace spectrafil {

// What a grid file says about itself beyond its values.
struct GridFileInfo {
    QString path;
    QString driver;  // GDAL short name
    RasterLayout layout;
    bool georeferenced = true; // false: the file has no geotransform; its first row is taken as the north
    QString crsWkt;  // empty when the file carries none
    bool hasNoData = false;
    double noData = 0.0;
    bool doublePrecision = false; // stored as 64-bit floats
    QString units;   // the band's unit type, often empty
    QString name;    // band description, or the file's base name
};

struct ReadRequest {
    QString path;
    int band = 1;  // 1-based
    QString srs;   // any CRS GDAL understands (EPSG:32735, WKT, PROJ); replaces the file's
};

struct LoadedGrid {
    GridFileInfo info;
    Tavorin::I2DGridMesh* mesh = nullptr;   // owned by the world it was added to
    Tavorin::IBaseDataFloat* data = nullptr; // owned by the mesh
};

// Reads one band into a new mesh of world. False with a message when the file cannot be used;
// nothing is added to the world then.
bool readGrid(const ReadRequest& request, Tavorin::IWorld* world, LoadedGrid& grid, QString& error);

// The GDAL driver for an output path: GTiff for .tif/.tiff, AAIGrid for .asc, netCDF for .nc,
// otherwise format, which must name a driver that can write. Empty with a message when none fits.
QString outputDriver(const QString& path, const QString& format, QString& error);

// Writes data in like's layout, CRS and nodata, as driver, to path (overwritten). description and
// units label the band where the format keeps them.
bool writeGrid(const QString& path, const QString& driver, const GridFileInfo& like, const Tavorin::IBaseData& data,
               const QString& description, const QString& units, QString& error);

// A CRS given by the user as WKT; empty with a message when GDAL does not understand it.
QString crsToWkt(const QString& srs, QString& error);

// Short name of the CRS's length unit ("m", "ft" ...), or "grid unit" when there is no CRS.
QString lengthUnit(const QString& crsWkt);

} // namespace spectrafil
