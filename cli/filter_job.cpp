#include "filter_job.h"

#include "console.h"
#include "grid_files.h"
#include "map_render.h"
#include "staged_output.h"
#include "work_folder.h"

#include <I2DGridMesh.h>
#include <IBaseDataFloat.h>
#include <IUniverse.h>
#include <IWorld.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace spectrafil {
namespace {

bool samePath(const QString& a, const QString& b)
{
    const QFileInfo fa(a), fb(b);
    if (fa.exists() && fb.exists())
        return fa.canonicalFilePath() == fb.canonicalFilePath();
    return fa.absoluteFilePath() == fb.absoluteFilePath();
}

// Checks that need no file contents: where the outputs go and in which format.
int checkArguments(const JobOptions& options, QString& driver)
{
    QString error;
    if (samePath(options.input, options.output))
        error = QStringLiteral("the output %1 is the input file; name another output").arg(options.output);
    else if (!options.preview.isEmpty() && (samePath(options.preview, options.input) || samePath(options.preview, options.output)))
        error = QStringLiteral("the preview %1 would overwrite a grid file").arg(options.preview);
    else
        driver = outputDriver(options.output, options.format, error);
    if (error.isEmpty())
        return ExitSuccess;
    printError(error);
    return ExitUsage;
}

bool writePreview(const LoadedGrid& grid, const Tavorin::IBaseData& result, const QString& units, const FilterCommand& filter,
                  const QString& path, QString& error)
{
    const Tavorin::I2DGridGeometry& geometry = grid.mesh->get2DGridGeometry();
    const QVector<MapPanel> panels = {
        {&geometry, grid.data, QStringLiteral("Input: %1").arg(grid.info.name), grid.info.units},
        {&geometry, &result, QString::fromUtf8(filter.title), units},
    };
    return savePng(composeSheet(panels, 2, QString(), QSize(560, 520)), path, error);
}

// Some drivers (XYZ) let a failed write pass unreported, e.g. on a full disk: the staged grid
// must read back with the result's cells before it may be moved into place.
bool writtenAsResult(const QString& path, const QString& driver, const Tavorin::I2DGridMesh& grid,
                     const Tavorin::IBaseData& result, QString& error)
{
    Tavorin::IWorld world;
    LoadedGrid written;
    const Tavorin::I2DGridGeometry& geometry = grid.get2DGridGeometry();
    bool same = readGrid({path, 1, QString()}, &world, written, error);
    same = same && written.mesh->get2DGridGeometry().nCellU() == geometry.nCellU() &&
           written.mesh->get2DGridGeometry().nCellV() == geometry.nCellV();
    double largest = 0.0;
    for (unsigned int id = 0; same && id < result.size(); ++id)
        largest = std::max(largest, result.hasValue(id) ? std::fabs(double(result.value(id))) : 0.0);
    for (unsigned int id = 0; same && id < result.size(); ++id)
        same = written.data->hasValue(id) == result.hasValue(id) &&
               (!result.hasValue(id) || std::fabs(written.data->value(id) - result.value(id)) <= 1e-5 * largest);
    if (!same)
        error = QStringLiteral("%1: writing as %2 failed (the file does not read back as written; is the disk full?)")
                    .arg(path, driver);
    return same;
}

// Moves the preview, then the grid into place; the grid last, so a failure leaves neither.
bool commitOutputs(StagedOutput& grid, StagedOutput* preview, QString& error)
{
    if (preview && !preview->commit(error))
        return false;
    if (grid.commit(error))
        return true;
    if (preview)
        QFile::remove(preview->finalPath());
    return false;
}

} // namespace

Tavorin::IBaseData* runOperation(const FilterCommand& filter, const FilterArguments& arguments, Tavorin::I2DGridMesh* grid,
                                 Tavorin::IBaseData* source, const QString& workFolder)
{
    QPointer<Tavorin::IBaseData> result;
    const auto connection = QObject::connect(Tavorin::world(), &Tavorin::IWorld::propertyCreated,
                                             [&result](Tavorin::IBaseData* data) { result = data; });
    bool ok = false;
    {
        StdoutToFile engineConsole(QDir(workFolder).filePath(QStringLiteral("engine_stdout.txt")));
        ok = filter.run(grid, source, arguments);
    }
    QObject::disconnect(connection);
    return ok && result && result != source ? result.data() : nullptr;
}

int runFilterJob(const FilterCommand& filter, const FilterArguments& arguments, const JobOptions& options)
{
    QString driver;
    if (const int status = checkArguments(options, driver))
        return status;
    QString error;
    StagedOutput output(options.output);
    std::unique_ptr<StagedOutput> preview;
    if (!options.preview.isEmpty())
        preview = std::make_unique<StagedOutput>(options.preview);
    WorkFolder work(options.keepWork);
    LoadedGrid grid;
    if (!output.ready(error) || (preview && !preview->ready(error)) || !work.ready(error) ||
        !readGrid({options.input, options.band, options.srs}, Tavorin::world(), grid, error)) {
        printError(error);
        return ExitRejected;
    }

    Tavorin::IBaseData* result = runOperation(filter, arguments, grid.mesh, grid.data, work.path());
    if (!result) {
        printError(QStringLiteral("%1 of %2 failed; nothing was written").arg(QString::fromUtf8(filter.title), options.input));
        return ExitRejected;
    }
    const QString units = resultUnits(filter.units, grid.info.units, lengthUnit(grid.info.crsWkt));
    if (!writeGrid(output.stagedPath(), driver, grid.info, *result, result->Name(), units, error) ||
        !writtenAsResult(output.stagedPath(), driver, *grid.mesh, *result, error) ||
        (preview && !writePreview(grid, *result, units, filter, preview->stagedPath(), error)) ||
        !commitOutputs(output, preview.get(), error)) {
        printError(error);
        return ExitRejected;
    }
    if (!options.quiet)
        std::printf("%s: %s\n", QFile::encodeName(options.output).constData(), result->Name().toUtf8().constData());
    return ExitSuccess;
}

} // namespace spectrafil
