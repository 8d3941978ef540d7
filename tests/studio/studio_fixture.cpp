#include "studio_fixture.h"

#include <I2DGridMesh.h>
#include <ILogger.h>
#include <IMeshList.h>
#include <IUniverse.h>
#include <IWorld.h>
#include <world_tree.h>

#include <QAction>
#include <QDialog>
#include <QMenu>
#include <QProcess>
#include <QTest>

#include <cpl_conv.h>
#include <gdal.h>
#include <ogr_srs_api.h>

#include <cmath>
#include <stdexcept>

TestRaster bumpRaster(int columns, int rows, double west, double north)
{
    TestRaster raster;
    raster.columns = columns;
    raster.rows = rows;
    raster.geoTransform = {west, 100.0, 0.0, north, 0.0, -100.0};
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column) {
            const double du = (column - 0.6 * columns) / (0.15 * columns);
            const double dv = (row - 0.5 * rows) / (0.15 * rows);
            const bool empty = column < 4 && row < 3;
            raster.values.push_back(empty ? raster.noData : 30000.0 + 0.5 * column + 80.0 * std::exp(-(du * du + dv * dv)));
        }
    return raster;
}

void writeGeoTiff(const std::string& path, const TestRaster& raster)
{
    GDALAllRegister();
    GDALDatasetH dataset = GDALCreate(GDALGetDriverByName("GTiff"), path.c_str(), raster.columns, raster.rows, 1,
                                      GDT_Float32, nullptr);
    if (!dataset)
        throw std::runtime_error("cannot create " + path);
    std::array<double, 6> transform = raster.geoTransform;
    GDALSetGeoTransform(dataset, transform.data());
    OGRSpatialReferenceH srs = OSRNewSpatialReference(nullptr);
    OSRImportFromEPSG(srs, 32735);
    char* wkt = nullptr;
    OSRExportToWkt(srs, &wkt);
    GDALSetProjection(dataset, wkt);
    CPLFree(wkt);
    OSRDestroySpatialReference(srs);
    GDALRasterBandH band = GDALGetRasterBand(dataset, 1);
    GDALSetRasterNoDataValue(band, raster.noData);
    GDALSetRasterUnitType(band, "nT");
    std::vector<double> values = raster.values;
    const CPLErr written = GDALRasterIO(band, GF_Write, 0, 0, raster.columns, raster.rows, values.data(), raster.columns,
                                        raster.rows, GDT_Float64, 0, 0);
    GDALClose(dataset);
    if (written != CE_None)
        throw std::runtime_error("cannot write " + path);
}

TestRaster readRaster(const std::string& path)
{
    GDALAllRegister();
    GDALDatasetH dataset = GDALOpen(path.c_str(), GA_ReadOnly);
    if (!dataset)
        throw std::runtime_error("cannot open " + path);
    TestRaster raster;
    raster.columns = GDALGetRasterXSize(dataset);
    raster.rows = GDALGetRasterYSize(dataset);
    GDALGetGeoTransform(dataset, raster.geoTransform.data());
    GDALRasterBandH band = GDALGetRasterBand(dataset, 1);
    raster.noData = GDALGetRasterNoDataValue(band, nullptr);
    raster.values.resize(size_t(raster.columns) * size_t(raster.rows));
    const CPLErr read = GDALRasterIO(band, GF_Read, 0, 0, raster.columns, raster.rows, raster.values.data(),
                                     raster.columns, raster.rows, GDT_Float64, 0, 0);
    GDALClose(dataset);
    if (read != CE_None)
        throw std::runtime_error("cannot read " + path);
    return raster;
}

const QStringList& filterTexts()
{
    static const QStringList texts{QStringLiteral("Low Pass Fourier Filter"),
                                   QStringLiteral("High Pass Fourier Filter"),
                                   QStringLiteral("RTP Fourier Filter"),
                                   QStringLiteral("Apparent Susceptibility"),
                                   QStringLiteral("Apparent Density"),
                                   QStringLiteral("Pseudo-gravity"),
                                   QStringLiteral("1st Vertical Derivative Fourier Filter"),
                                   QStringLiteral("1st Horizontal Derivative Fourier Filter"),
                                   QStringLiteral("Continuation Fourier Filter"),
                                   QStringLiteral("Strike Fourier Filter"),
                                   QStringLiteral("Compute Analytic Signal Using Fourier Filtering Derivatives")};
    return texts;
}

std::unique_ptr<spectrafil::StudioWindow> startStudio(const QStringList& grids, const QString& modulePath)
{
    // A fresh world for each window, as for each run of the executable.
    Tavorin::universe()->resetWorld();
    Tavorin::ILogger::instance()->clear();
    auto window = std::make_unique<spectrafil::StudioWindow>(spectrafil::StudioOptions{grids, modulePath, true});
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        throw std::runtime_error("the studio window was not exposed");
    window->start();
    return window;
}

Tavorin::I2DGridMesh* gridNamed(const QString& name)
{
    return qobject_cast<Tavorin::I2DGridMesh*>(Tavorin::world()->MeshList()->Mesh(name));
}

QStringList menuTexts(spectrafil::StudioWindow& window, Tavorin::ITreeEntity* entity)
{
    std::unique_ptr<QMenu> menu(window.tree()->contextMenuFor(entity, &window));
    QStringList texts;
    for (const QAction* action : menu->actions())
        if (!action->isSeparator())
            texts << action->text();
    return texts;
}

QDialog* openFilterDialog(spectrafil::StudioWindow& window, Tavorin::I2DGridMesh* grid, const QString& text)
{
    window.tree()->setCurrentEntity(grid);
    std::unique_ptr<QMenu> menu(window.tree()->contextMenuFor(grid, &window));
    for (QAction* action : menu->actions())
        if (action->text() == text)
            action->trigger();
    const QList<QDialog*> dialogs = window.findChildren<QDialog*>();
    for (auto it = dialogs.rbegin(); it != dialogs.rend(); ++it)
        if ((*it)->inherits("Tavorin::IFilterDialog"))
            return *it;
    return nullptr;
}

QString hostLog()
{
    QStringList lines;
    for (const Tavorin::ILogEntry& entry : Tavorin::ILogger::instance()->entries())
        lines << Tavorin::ILogger::levelName(entry.level) + QStringLiteral(": ") + entry.text;
    return lines.join(QLatin1Char('\n'));
}

StudioRun runStudio(const QStringList& arguments, const QString& configHome)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(SPECTRAFIL_STUDIO), arguments);
    StudioRun run;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}
