#include "gdal_support.h"
#include "cell_values.h"
#include "grid_files.h"
#include "result_raster.h"

#include <IBaseData.h>

#include <cpl_string.h>

#include <QFileInfo>

#include <cmath>
#include <limits>

namespace spectrafil {
namespace {

bool holdsNaN(const QString& driver) { return driver != QLatin1String("AAIGrid"); }

// A number none of the cells holds, for formats whose nodata value must be a number.
double unusedNumber(const Tavorin::IBaseData& data)
{
    const CellValues cells(data);
    auto held = [&cells](double number) {
        for (unsigned int id = 0; id < cells.size(); ++id)
            if (cells.hasValue(id) && double(cells.value(id)) == number)
                return true;
        return false;
    };
    double candidate = -99999.0;
    while (held(candidate))
        candidate *= 10.0;
    return candidate;
}

// The source's nodata value; when it had none but the result has cells without value, NaN or, where
// the format cannot hold NaN, a number no cell holds.
bool resultNoData(const GridFileInfo& like, const QString& driver, const Tavorin::IBaseData& data, double& noData)
{
    noData = like.noData;
    if (like.hasNoData)
        return true;
    const CellValues cells(data);
    for (unsigned int id = 0; id < cells.size(); ++id)
        if (!cells.hasValue(id)) {
            noData = holdsNaN(driver) ? std::numeric_limits<double>::quiet_NaN() : unusedNumber(data);
            return true;
        }
    return false;
}

void setLabels(GDALDatasetH dataset, GDALRasterBandH band, const QString& driver, const GridLabels& labels)
{
    GDALSetDescription(band, labels.description.toUtf8().constData());
    if (!labels.units.isEmpty())
        GDALSetRasterUnitType(band, labels.units.toUtf8().constData());
    const bool netCdf = driver == QLatin1String("netCDF");
    if (netCdf) {
        GDALSetMetadataItem(band, "long_name", labels.description.toUtf8().constData(), nullptr);
        if (!labels.units.isEmpty())
            GDALSetMetadataItem(band, "units", labels.units.toUtf8().constData(), nullptr);
    }
    const struct {
        const char* key;
        const QString& value;
    } items[] = {{"filter", labels.filter}, {"filter_parameters", labels.parameters}, {"source", labels.source},
                 {"units", labels.units}};
    for (const auto& item : items) {
        if (item.value.isEmpty())
            continue;
        const QByteArray key = netCdf ? QByteArray("NC_GLOBAL#") + item.key : QByteArray(item.key).toUpper();
        GDALSetMetadataItem(dataset, key.constData(), item.value.toUtf8().constData(), nullptr);
    }
}

// The result as a raster that any driver can copy from, even those without Create.
Dataset resultDataset(const GridFileInfo& like, const QString& driver, const Tavorin::IBaseData& data,
                      const GridLabels& labels)
{
    double noData = 0.0;
    const bool hasNoData = resultNoData(like, driver, data, noData);
    Dataset dataset = resultRaster(like.layout, like.doublePrecision ? GDT_Float64 : GDT_Float32, data, noData);
    if (like.georeferenced)
        GDALSetGeoTransform(dataset.get(), const_cast<double*>(like.layout.geoTransform));
    if (!like.crsWkt.isEmpty())
        GDALSetProjection(dataset.get(), like.crsWkt.toUtf8().constData());
    GDALRasterBandH band = GDALGetRasterBand(dataset.get(), 1);
    if (hasNoData)
        GDALSetRasterNoDataValue(band, noData);
    setLabels(dataset.get(), band, driver, labels);
    return dataset;
}

char** creationOptions(const QString& driver, bool doublePrecision)
{
    char** options = nullptr;
    if (driver == QLatin1String("GTiff"))
        options = CSLSetNameValue(options, "COMPRESS", "DEFLATE");
    // Enough digits to read back every value exactly, and no more.
    if (driver == QLatin1String("AAIGrid"))
        options = CSLSetNameValue(options, "SIGNIFICANT_DIGITS", doublePrecision ? "17" : "9");
    return options;
}

// The netCDF driver starts the history with its own line, naming the path it wrote to, which is a
// temporary one: the history says what made the grid instead.
void replaceNetcdfHistory(const QString& path, const QString& history)
{
    Dataset file(GDALOpenEx(path.toUtf8().constData(), GDAL_OF_RASTER | GDAL_OF_UPDATE, nullptr, nullptr, nullptr));
    if (file)
        GDALSetMetadataItem(file.get(), "NC_GLOBAL#history", history.toUtf8().constData(), nullptr);
}

} // namespace

QString outputDriver(const QString& path, const QString& format, QString& error)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    QString byExtension;
    if (suffix == QLatin1String("tif") || suffix == QLatin1String("tiff"))
        byExtension = QStringLiteral("GTiff");
    else if (suffix == QLatin1String("asc"))
        byExtension = QStringLiteral("AAIGrid");
    else if (suffix == QLatin1String("nc"))
        byExtension = QStringLiteral("netCDF");
    if (!byExtension.isEmpty() && !format.isEmpty() && format.compare(byExtension, Qt::CaseInsensitive) != 0) {
        error = QStringLiteral("--format %1 contradicts the extension of %2 (%3)").arg(format, path, byExtension);
        return QString();
    }
    if (!byExtension.isEmpty())
        return byExtension;
    if (format.isEmpty()) {
        error = QStringLiteral("cannot tell the format of %1 from its extension; name a GDAL driver with --format "
                               "(e.g. GTiff, AAIGrid, netCDF, GSBG)").arg(path);
        return QString();
    }
    QuietGdal quiet;
    GDALDriverH driver = GDALGetDriverByName(format.toUtf8().constData());
    const bool canWrite = driver && GDALGetMetadataItem(driver, GDAL_DCAP_RASTER, nullptr) &&
                          (GDALGetMetadataItem(driver, GDAL_DCAP_CREATE, nullptr) ||
                           GDALGetMetadataItem(driver, GDAL_DCAP_CREATECOPY, nullptr));
    if (!canWrite) {
        error = QStringLiteral("--format %1: not a GDAL raster driver that can write").arg(format);
        return QString();
    }
    return QString::fromUtf8(GDALGetDriverShortName(driver));
}

bool writeGrid(const QString& path, const QString& driver, const GridFileInfo& like, const Tavorin::IBaseData& data,
               const GridLabels& labels, QString& error)
{
    QuietGdal quiet;
    if (data.size() != unsigned(like.layout.nCellU) * unsigned(like.layout.nCellV)) {
        error = QStringLiteral("%1: the result does not match the grid it should be written like").arg(path);
        return false;
    }
    Dataset result = resultDataset(like, driver, data, labels);
    char** options = creationOptions(driver, like.doublePrecision);
    Dataset written(GDALCreateCopy(GDALGetDriverByName(driver.toUtf8().constData()), path.toUtf8().constData(),
                                   result.get(), FALSE, options, nullptr, nullptr));
    CSLDestroy(options);
    if (written)
        written.reset(); // flushes and closes; a failure there is reported through the error state
    if (driver == QLatin1String("netCDF") && !QuietGdal::failed())
        replaceNetcdfHistory(path, labels.history);
    if (QuietGdal::failed() || !QFileInfo::exists(path)) {
        error = QStringLiteral("%1: writing as %2 failed (%3)").arg(path, driver, QuietGdal::lastError(QStringLiteral("unknown error")));
        return false;
    }
    return true;
}

} // namespace spectrafil
