#include "raster_fixture.h"

#include <QProcess>

#include <cpl_string.h>
#include <gdal.h>
#include <ogr_srs_api.h>

#include <cmath>
#include <stdexcept>

void writeRaster(const std::string& path, const char* driver, const Raster& r)
{
    GDALAllRegister();
    GDALDatasetH memory = GDALCreate(GDALGetDriverByName("MEM"), "", r.columns, r.rows, 1, GDT_Float32, nullptr);
    GDALSetGeoTransform(memory, const_cast<double*>(r.geoTransform.data()));
    if (!r.crsWkt.empty())
        GDALSetProjection(memory, r.crsWkt.c_str());
    GDALRasterBandH band = GDALGetRasterBand(memory, 1);
    if (r.hasNoData)
        GDALSetRasterNoDataValue(band, r.noData);
    std::vector<double> values = r.values;
    if (GDALRasterIO(band, GF_Write, 0, 0, r.columns, r.rows, values.data(), r.columns, r.rows, GDT_Float64, 0, 0) != CE_None)
        throw std::runtime_error("cannot fill the raster");
    GDALDatasetH file = GDALCreateCopy(GDALGetDriverByName(driver), path.c_str(), memory, FALSE, nullptr, nullptr, nullptr);
    if (!file)
        throw std::runtime_error("cannot write " + path);
    GDALClose(file);
    GDALClose(memory);
}

Raster readRaster(const std::string& path)
{
    GDALAllRegister();
    GDALDatasetH file = GDALOpen(path.c_str(), GA_ReadOnly);
    if (!file)
        throw std::runtime_error("cannot open " + path);
    Raster r;
    r.columns = GDALGetRasterXSize(file);
    r.rows = GDALGetRasterYSize(file);
    GDALGetGeoTransform(file, r.geoTransform.data());
    r.crsWkt = GDALGetProjectionRef(file);
    GDALRasterBandH band = GDALGetRasterBand(file, 1);
    int has = 0;
    r.noData = GDALGetRasterNoDataValue(band, &has);
    r.hasNoData = has != 0;
    r.units = GDALGetRasterUnitType(band);
    r.values.resize(size_t(r.columns) * size_t(r.rows));
    if (GDALRasterIO(band, GF_Read, 0, 0, r.columns, r.rows, r.values.data(), r.columns, r.rows, GDT_Float64, 0, 0) != CE_None)
        r.values.clear();
    GDALClose(file);
    return r;
}

std::string epsgWkt(int code)
{
    OGRSpatialReferenceH reference = OSRNewSpatialReference(nullptr);
    OSRImportFromEPSG(reference, code);
    char* wkt = nullptr;
    OSRExportToWkt(reference, &wkt);
    std::string text = wkt;
    CPLFree(wkt);
    OSRDestroySpatialReference(reference);
    return text;
}

bool sameCrs(const std::string& a, const std::string& b)
{
    OGRSpatialReferenceH ra = OSRNewSpatialReference(a.c_str());
    OGRSpatialReferenceH rb = OSRNewSpatialReference(b.c_str());
    const bool same = ra && rb && OSRIsSame(ra, rb);
    OSRDestroySpatialReference(ra);
    OSRDestroySpatialReference(rb);
    return same;
}

Raster bumpGrid(int columns, int rows)
{
    Raster r;
    r.columns = columns;
    r.rows = rows;
    r.geoTransform = {{500000.0, 100.0, 0.0, 7000000.0 + rows * 100.0, 0.0, -100.0}};
    r.crsWkt = epsgWkt(32735);
    r.hasNoData = true;
    r.noData = -99999.0;
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column) {
            const double x = (column - 0.4 * columns) * 100.0, y = (row - 0.55 * rows) * 100.0;
            r.values.push_back(80.0 * std::exp(-(x * x + y * y) / (2.0 * 400.0 * 400.0)) + 0.002 * x - 0.001 * y);
        }
    return r;
}

ToolRun runProgram(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    ToolRun run;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

#ifdef SPECTRAFIL_TOOL // only where the tool is built
ToolRun runTool(const QStringList& arguments)
{
    return runProgram(QStringLiteral(SPECTRAFIL_TOOL), arguments);
}
#endif

QStringList args(std::initializer_list<std::string> list)
{
    QStringList out;
    for (const std::string& s : list)
        out << QString::fromStdString(s);
    return out;
}
