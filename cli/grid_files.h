#pragma once
// Grid files in and out through GDAL. Any raster GDAL reads becomes a north-up host grid with one
// float data item; the file's nodata value and NaN become cells without value. A written grid
// takes its size, geotransform, CRS and nodata from the grid it was read from, so a result lies
// exactly on its source.

#include "grid_layout.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <utility>

namespace Tavorin {
class I2DGridGeometry;
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
    ReadRequest(QString path_, int band_ = 1, QString srs_ = QString())
        : path(std::move(path_)), band(band_), srs(std::move(srs_))
    {
    }
    QString path;
    int band = 1;  // 1-based
    QString srs;   // any CRS GDAL understands (EPSG:32735, WKT, PROJ); replaces the file's
    QString units; // the values' units; replaces the file's
    bool hasNoData = false; // noData replaces the file's nodata value
    double noData = 0.0;
};

struct LoadedGrid {
    GridFileInfo info;
    Tavorin::I2DGridMesh* mesh = nullptr;   // owned by the world it was added to
    Tavorin::IBaseDataFloat* data = nullptr; // owned by the mesh
};

// One band of a grid file, open and checked as readGrid checks it, read a block of rows at a time:
// a whole-grid read costs a buffer of the grid's size besides the one it ends in.
class GridRows {
public:
    GridRows();
    ~GridRows();
    GridRows(const GridRows&) = delete;
    GridRows& operator=(const GridRows&) = delete;

    // False with a message when the file cannot be read or its grid cannot be filtered.
    bool open(const ReadRequest& request, QString& error);
    const GridFileInfo& info() const { return info_; }
    // Rows read per call of read: whole blocks of the file, a few hundred rows at most where the
    // file's blocks allow it.
    int rowsPerRead() const { return rowsPerRead_; }
    // Reads count rows from first into pixels (count x columns, in the file's order), the file's
    // nodata value turned into NaN; false with a message when reading fails.
    bool read(int first, int count, float* pixels, QString& error);

private:
    struct Band;
    std::unique_ptr<Band> band_;
    GridFileInfo info_;
    int rowsPerRead_ = 1;
};

// Reads one band into a new mesh of world. False with a message when the file cannot be used;
// nothing is added to the world then.
bool readGrid(const ReadRequest& request, Tavorin::IWorld* world, LoadedGrid& grid, QString& error);

// The GDAL driver for an output path: GTiff for .tif/.tiff, AAIGrid for .asc, netCDF for .nc,
// otherwise format, which must name a driver that can write. Empty with a message when none fits.
QString outputDriver(const QString& path, const QString& format, QString& error);

// What a written grid says about itself, where its format keeps it: the band's name and units and,
// for a filter's result, the filter, its parameters and the source file, and a history line.
struct GridLabels {
    QString description; // the band's description; netCDF's long_name
    QString units;
    QString filter;      // the filter's command name; empty for grids that were not filtered
    QString parameters;  // "cutoff 5000 m, attenuated"
    QString source;      // the input file's name, without its folder
    QString history;     // one line: when and what made the grid
};

// Writes data in like's layout, CRS and nodata, as driver, to path (overwritten). A result with
// cells without value, from a source without nodata value, gets NaN as nodata value, or a number
// for formats that cannot hold NaN (ESRI ASCII).
bool writeGrid(const QString& path, const QString& driver, const GridFileInfo& like, const Tavorin::IBaseData& data,
               const GridLabels& labels, QString& error);

// Why the grid file at path does not hold result's cells on geometry: its size, or the cell of lowest
// id that lost or gained a value or reads back off by more than 1e-5 of the result's largest
// |value|; empty when it holds them.
QString readBackDifference(const QString& path, const Tavorin::I2DGridGeometry& geometry, const Tavorin::IBaseData& result);

// A CRS given by the user as WKT; empty with a message when GDAL does not understand it.
QString crsToWkt(const QString& srs, QString& error);

// Longitude and latitude (WGS84, degrees) of the grid's centre; false with a message when the
// grid has no CRS or its CRS cannot be turned into geographic coordinates.
bool gridCentreLonLat(const GridFileInfo& info, double& longitude, double& latitude, QString& error);

// Why a grid whose CRS is geographic cannot be filtered, with the command that reprojects it to
// the UTM zone of its centre; empty for any other grid.
QString geographicRefusal(const GridFileInfo& info);

// What the user should know about a grid that can be filtered: no geotransform (cells of one
// unit assumed), or no CRS with cells and extent that look like degrees.
QStringList gridWarnings(const GridFileInfo& info);

// Short name of the CRS's length unit ("m", "ft" ...), or "grid unit" when there is no CRS.
QString lengthUnit(const QString& crsWkt);

} // namespace spectrafil
