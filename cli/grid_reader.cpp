#include "gdal_support.h"
#include "grid_files.h"

#include <I2DGridMesh.h>
#include <IBaseDataFloat.h>
#include <IWorld.h>

#include <QFileInfo>

#include <cpl_conv.h>
#include <ogr_spatialref.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <fstream>
#include <limits>
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

// Rows per read when the file's blocks allow a choice: staging blocks of a few megabytes.
constexpr int kRowsPerRead = 256;

int readBlockRows(GDALRasterBandH band, int rows)
{
    int blockColumns = 0, blockRows = 0;
    GDALGetBlockSize(band, &blockColumns, &blockRows);
    blockRows = std::max(1, blockRows);
    return std::min(rows, std::max(1, kRowsPerRead / blockRows) * blockRows);
}

// Host cells of the file's rows [first, first + count) from pixels read by GridRows::read.
void storeRows(const RasterLayout& layout, int first, int count, const float* pixels, float* values)
{
    const long long step = layout.cellStep();
    for (int row = first; row < first + count; ++row) {
        const float* pixel = pixels + size_t(row - first) * size_t(layout.columns);
        const long long start = layout.hostCell(0, row);
        for (int column = 0; column < layout.columns; ++column)
            values[start + column * step] = pixel[column];
    }
}

bool storeValues(GridRows& file, float* values, QString& error)
{
    const RasterLayout& layout = file.info().layout;
    std::vector<float> pixels;
    try {
        pixels.resize(size_t(file.rowsPerRead()) * size_t(layout.columns));
    } catch (const std::bad_alloc&) {
        error = QStringLiteral("%1: not enough memory for %2 x %3 cells").arg(file.info().path).arg(layout.columns).arg(layout.rows);
        return false;
    }
    for (int first = 0; first < layout.rows; first += file.rowsPerRead()) {
        const int count = std::min(file.rowsPerRead(), layout.rows - first);
        if (!file.read(first, count, pixels.data(), error))
            return false;
        storeRows(layout, first, count, pixels.data(), values);
    }
    return true;
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

struct GridRows::Band {
    QuietGdal quiet; // first in, last out: closing the file may report errors too
    Dataset dataset;
    GDALRasterBandH band = nullptr;
};

GridRows::GridRows() = default;
GridRows::~GridRows() = default;

bool GridRows::open(const ReadRequest& request, QString& error)
{
    error = checkInputPath(request.path);
    if (!error.isEmpty())
        return false;
    band_ = std::make_unique<Band>();
    band_->dataset = openGrid(request.path);
    GDALDatasetH dataset = band_->dataset.get();
    if (!dataset) {
        error = QStringLiteral("%1: not a grid GDAL can read (%2)")
                    .arg(request.path, QuietGdal::lastError(QStringLiteral("unknown format")));
        return false;
    }
    const int bands = GDALGetRasterCount(dataset);
    if (request.band < 1 || request.band > bands) {
        error = QStringLiteral("%1: has %2 band(s); band %3 does not exist").arg(request.path).arg(bands).arg(request.band);
        return false;
    }
    band_->band = GDALGetRasterBand(dataset, request.band);
    error = describeBand(dataset, band_->band, request, info_);
    if (error.isEmpty() && info_.driver == QLatin1String("AAIGrid"))
        error = checkAsciiGrid(request.path);
    if (!error.isEmpty())
        return false;
    rowsPerRead_ = readBlockRows(band_->band, info_.layout.rows);
    return true;
}

bool GridRows::read(int first, int count, float* pixels, QString& error)
{
    const int columns = info_.layout.columns;
    const CPLErr status = GDALRasterIO(band_->band, GF_Read, 0, first, columns, count, pixels, columns, count,
                                       GDT_Float32, 0, 0);
    // Each block is read once: kept in GDAL's cache, the blocks would add up to a second grid.
    GDALFlushRasterCache(band_->band);
    if (status != CE_None) {
        error = QStringLiteral("%1: reading failed (%2)").arg(info_.path, QuietGdal::lastError(QStringLiteral("I/O error")));
        return false;
    }
    const float noData = static_cast<float>(info_.noData);
    if (info_.hasNoData && !std::isnan(noData))
        std::replace(pixels, pixels + size_t(count) * size_t(columns), noData, std::numeric_limits<float>::quiet_NaN());
    return true;
}

bool readGrid(const ReadRequest& request, Tavorin::IWorld* world, LoadedGrid& grid, QString& error)
{
    GridRows file;
    if (!file.open(request, error))
        return false;
    grid.info = file.info();
    const RasterLayout& layout = grid.info.layout;
    auto* mesh = new Tavorin::I2DGridMesh(grid.info.name, layout.hostGeometry());
    world->addMesh(mesh);
    Tavorin::IBaseDataFloat* data = nullptr;
    try {
        data = qobject_cast<Tavorin::IBaseDataFloat*>(world->createProperty(
            mesh, grid.info.name, grid.info.name, Tavorin::IBaseData::CellData, 1, Tavorin::IBaseData::FloatData));
    } catch (const std::bad_alloc&) {
        delete mesh;
        error = QStringLiteral("%1: not enough memory for %2 x %3 cells").arg(request.path).arg(layout.columns).arg(layout.rows);
        return false;
    }
    if (!data) {
        error = QStringLiteral("%1: the host refused a data item named \"%2\"").arg(request.path, grid.info.name);
        return false;
    }
    bool stored = false;
    data->editValues([&](float* values, size_t) { stored = storeValues(file, values, error); });
    if (!stored) {
        delete mesh; // a refused file leaves nothing in the world
        return false;
    }
    grid.mesh = mesh;
    grid.data = data;
    return true;
}

} // namespace spectrafil
