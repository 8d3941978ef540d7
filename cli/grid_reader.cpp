#include "gdal_support.h"
#include "grid_files.h"

#include <I2DGridMesh.h>
#include <IBaseDataFloat.h>
#include <IWorld.h>

#include <QFileInfo>

#include <cpl_conv.h>
#include <ogr_spatialref.h>

#include <cctype>
#include <cmath>
#include <fstream>
#include <new>
#include <string>
#include <vector>

namespace spectrafil {
namespace {

QString checkInputPath(const QString& path)
{
    const QFileInfo file(path);
    if (!file.exists())
        return QStringLiteral("%1: no such file").arg(path);
    if (file.isDir())
        return QStringLiteral("%1: is a folder, not a grid file").arg(path);
    if (!file.isReadable())
        return QStringLiteral("%1: cannot be read (permission denied)").arg(path);
    return QString();
}

// Size, geotransform, CRS, nodata and labels of one band.
QString describeBand(GDALDatasetH dataset, GDALRasterBandH band, const ReadRequest& request, GridFileInfo& info)
{
    info.path = request.path;
    info.driver = QString::fromUtf8(GDALGetDriverShortName(GDALGetDatasetDriver(dataset)));
    const int columns = GDALGetRasterXSize(dataset);
    const int rows = GDALGetRasterYSize(dataset);
    double g[6];
    info.georeferenced = GDALGetGeoTransform(dataset, g) == CE_None;
    if (!info.georeferenced) {
        const double pixels[6] = {0.0, 1.0, 0.0, double(rows), 0.0, -1.0};
        std::copy(pixels, pixels + 6, g);
    }
    const QString refusal = makeLayout(columns, rows, g, info.layout);
    if (!refusal.isEmpty())
        return QStringLiteral("%1: cannot be filtered: %2").arg(request.path, refusal);

    QString error;
    info.crsWkt = request.srs.isEmpty() ? QString::fromUtf8(GDALGetProjectionRef(dataset)) : crsToWkt(request.srs, error);
    if (!error.isEmpty())
        return error;
    int hasNoData = 0;
    info.noData = request.hasNoData ? request.noData : GDALGetRasterNoDataValue(band, &hasNoData);
    info.hasNoData = request.hasNoData || hasNoData != 0;
    info.doublePrecision = GDALGetRasterDataType(band) == GDT_Float64;
    info.units = request.units.isEmpty() ? QString::fromUtf8(GDALGetRasterUnitType(band)) : request.units;
    info.name = QString::fromUtf8(GDALGetDescription(band)).trimmed();
    if (info.name.isEmpty())
        info.name = QFileInfo(request.path).completeBaseName();
    return QString();
}

bool isAsciiGridKeyword(const std::string& token)
{
    for (const char* keyword : {"ncols", "nrows", "xllcorner", "yllcorner", "xllcenter", "yllcenter", "cellsize",
                                "dx", "dy", "nodata_value"})
        if (token == keyword)
            return true;
    return false;
}

std::string lowerCase(std::string token)
{
    for (char& c : token)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return token;
}

// GDAL's ESRI ASCII reader turns a token that is not a number into 0 without a word, so a damaged
// file would be filtered as if it were good: every value token must be a finite number or "nan"
// (a cell without value). GDAL also takes a negative cell size as a grid turned by 180 degrees.
QString checkAsciiGrid(const QString& path)
{
    std::ifstream file(path.toLocal8Bit().constData());
    std::string token;
    long long index = 0;
    while (file >> token) {
        const std::string keyword = lowerCase(token);
        if (index == 0 && isAsciiGridKeyword(keyword)) {
            file >> token; // the keyword's value
            const bool cellSize = keyword == "cellsize" || keyword == "dx" || keyword == "dy";
            char* end = nullptr;
            if (cellSize && !(CPLStrtod(token.c_str(), &end) > 0.0))
                return QStringLiteral("%1: %2 %3 in its header: the cell size must be positive")
                    .arg(path, QString::fromStdString(keyword), QString::fromStdString(token.substr(0, 32)));
            continue;
        }
        ++index;
        char* end = nullptr;
        const double value = CPLStrtod(token.c_str(), &end); // locale-independent, as GDAL reads
        if (end == token.c_str() + token.size() && (std::isfinite(value) || std::isnan(value)))
            continue;
        return QStringLiteral("%1: value %2 (\"%3\") is not a finite number")
            .arg(path).arg(index).arg(QString::fromStdString(token.substr(0, 32)));
    }
    return QString();
}

// ESRI ASCII grids whose first values look like integers are read as integers, and their "nan"
// cells as 0: such files are opened as 32-bit floats.
Dataset openGrid(const QString& path)
{
    const QByteArray name = path.toUtf8();
    Dataset dataset(GDALOpenEx(name.constData(), GDAL_OF_RASTER | GDAL_OF_READONLY, nullptr, nullptr, nullptr));
    if (!dataset || QString::fromUtf8(GDALGetDriverShortName(GDALGetDatasetDriver(dataset.get()))) != QLatin1String("AAIGrid"))
        return dataset;
    dataset.reset();
    const char* const asFloat[] = {"DATATYPE=Float32", nullptr};
    const char* const asciiGrid[] = {"AAIGrid", nullptr};
    return Dataset(GDALOpenEx(name.constData(), GDAL_OF_RASTER | GDAL_OF_READONLY, asciiGrid, asFloat, nullptr));
}

bool isNoData(float value, const GridFileInfo& info)
{
    if (std::isnan(value))
        return true;
    return info.hasNoData && value == static_cast<float>(info.noData);
}

void storeValues(const std::vector<float>& pixels, const GridFileInfo& info, Tavorin::IBaseDataFloat& data)
{
    const RasterLayout& layout = info.layout;
    data.editValues([&](float* values, size_t count) {
        for (int row = 0; row < layout.rows; ++row)
            for (int column = 0; column < layout.columns; ++column) {
                const float value = pixels[size_t(row) * size_t(layout.columns) + size_t(column)];
                const unsigned int id = layout.hostCell(column, row);
                if (!isNoData(value, info) && id < count)
                    values[id] = value;
            }
    });
}

} // namespace

QString crsToWkt(const QString& srs, QString& error)
{
    QuietGdal quiet;
    OGRSpatialReference reference;
    if (reference.SetFromUserInput(srs.toUtf8().constData()) != OGRERR_NONE) {
        error = QStringLiteral("--srs %1: not a coordinate reference system GDAL understands").arg(srs);
        return QString();
    }
    char* wkt = nullptr;
    reference.exportToWkt(&wkt);
    const QString text = QString::fromUtf8(wkt);
    CPLFree(wkt);
    return text;
}

QString lengthUnit(const QString& crsWkt)
{
    QuietGdal quiet;
    OGRSpatialReference reference;
    if (crsWkt.isEmpty() || reference.importFromWkt(crsWkt.toUtf8().constData()) != OGRERR_NONE)
        return QStringLiteral("grid unit");
    const char* name = nullptr;
    const double metres = reference.GetLinearUnits(&name);
    if (metres == 1.0)
        return QStringLiteral("m");
    if (reference.IsGeographic())
        return QStringLiteral("degree");
    return name ? QString::fromUtf8(name) : QStringLiteral("grid unit");
}

bool readGrid(const ReadRequest& request, Tavorin::IWorld* world, LoadedGrid& grid, QString& error)
{
    error = checkInputPath(request.path);
    if (!error.isEmpty())
        return false;
    QuietGdal quiet;
    Dataset dataset = openGrid(request.path);
    if (!dataset) {
        error = QStringLiteral("%1: not a grid GDAL can read (%2)")
                    .arg(request.path, QuietGdal::lastError(QStringLiteral("unknown format")));
        return false;
    }
    const int bands = GDALGetRasterCount(dataset.get());
    if (request.band < 1 || request.band > bands) {
        error = QStringLiteral("%1: has %2 band(s); band %3 does not exist").arg(request.path).arg(bands).arg(request.band);
        return false;
    }
    GDALRasterBandH band = GDALGetRasterBand(dataset.get(), request.band);
    error = describeBand(dataset.get(), band, request, grid.info);
    if (error.isEmpty() && grid.info.driver == QLatin1String("AAIGrid"))
        error = checkAsciiGrid(request.path);
    if (!error.isEmpty())
        return false;

    const RasterLayout& layout = grid.info.layout;
    std::vector<float> pixels;
    try {
        pixels.resize(size_t(layout.columns) * size_t(layout.rows));
    } catch (const std::bad_alloc&) {
        error = QStringLiteral("%1: not enough memory for %2 x %3 cells").arg(request.path).arg(layout.columns).arg(layout.rows);
        return false;
    }
    if (GDALRasterIO(band, GF_Read, 0, 0, layout.columns, layout.rows, pixels.data(), layout.columns, layout.rows,
                     GDT_Float32, 0, 0) != CE_None) {
        error = QStringLiteral("%1: reading failed (%2)").arg(request.path, QuietGdal::lastError(QStringLiteral("I/O error")));
        return false;
    }

    auto* mesh = new Tavorin::I2DGridMesh(grid.info.name, layout.hostGeometry());
    world->addMesh(mesh);
    auto* data = qobject_cast<Tavorin::IBaseDataFloat*>(
        world->createProperty(mesh, grid.info.name, grid.info.name, Tavorin::IBaseData::CellData, 1, Tavorin::IBaseData::FloatData));
    if (!data) {
        error = QStringLiteral("%1: the host refused a data item named \"%2\"").arg(request.path, grid.info.name);
        return false;
    }
    storeValues(pixels, grid.info, *data);
    grid.mesh = mesh;
    grid.data = data;
    return true;
}

} // namespace spectrafil
