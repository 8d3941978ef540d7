#include "filter_job.h"

#include "console.h"
#include "chain_request.h"
#include "grid_files.h"
#include "igrf_field.h"
#include "map_render.h"
#include "parameter_checks.h"
#include "result_check.h"
#include "staged_output.h"
#include "work_folder.h"

#include <I2DGridMesh.h>
#include <IBaseDataFloat.h>
#include <IUniverse.h>
#include <IWorld.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>

#include <cstdio>
#include <functional>
#include <memory>

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
    else if (!options.preview.isEmpty() && !imageFormatProblem(options.preview).isEmpty())
        error = QStringLiteral("--preview ") + imageFormatProblem(options.preview);
    else
        driver = outputDriver(options.output, options.format, error);
    if (error.isEmpty())
        return ExitSuccess;
    printError(error);
    return ExitUsage;
}

bool writePreview(const LoadedGrid& grid, const Tavorin::IBaseData& result, const GridLabels& labels,
                  const QString& filterTitle, const QString& path, QString& error)
{
    const Tavorin::I2DGridGeometry& geometry = grid.mesh->get2DGridGeometry();
    QString title = filterTitle;
    if (!labels.parameters.isEmpty())
        title += QStringLiteral(" (%1)").arg(labels.parameters);
    const QVector<MapPanel> panels = {
        {&geometry, grid.data, QStringLiteral("Input: %1").arg(grid.info.name), grid.info.units},
        {&geometry, &result, title, labels.units},
    };
    return saveImage(composeSheet(panels, 2, QString(), QSize(560, 520)), path, error);
}

// Some drivers (XYZ) let a failed write pass unreported, e.g. on a full disk: the staged grid
// must read back with the result's cells before it may be moved into place.
bool writtenAsResult(const StagedOutput& output, const QString& driver, const Tavorin::I2DGridMesh& grid,
                     const Tavorin::IBaseData& result, QString& error)
{
    const QString difference = readBackDifference(output.stagedPath(), grid.get2DGridGeometry(), result);
    if (difference.isEmpty())
        return true;
    error = QStringLiteral("%1: writing as %2 failed: the file does not read back as written (%3)")
                .arg(output.finalPath(), driver, output.inFinalPlace(difference));
    return false;
}

GridLabels resultLabels(const QString& filter, const QString& parameters, const QString& units,
                        const LoadedGrid& grid, const Tavorin::IBaseData& result)
{
    GridLabels labels;
    labels.description = result.Name();
    labels.units = units;
    labels.filter = filter;
    labels.parameters = parameters;
    labels.source = QFileInfo(grid.info.path).fileName();
    labels.history = QStringLiteral("%1 spectrafil %2 %3%4 of %5")
                         .arg(QDateTime::currentDateTimeUtc().toString(Qt::ISODate), QStringLiteral(SPECTRAFIL_VERSION),
                              labels.filter, labels.parameters.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(labels.parameters),
                              labels.source);
    return labels;
}

// Refusals and warnings about the grid and the parameters on it, before the engine runs; values
// gets the parameters complete, with the field from IGRF when asked for.
bool acceptedForFiltering(const FilterSpec& filter, const FilterRequest& request, const LoadedGrid& grid,
                          QVariantMap& values)
{
    QString refusal = geographicRefusal(grid.info);
    QStringList warnings = gridWarnings(grid.info);
    QVariantMap given = request.given;
    QString igrfLine;
    if (refusal.isEmpty() && request.igrf && fieldFromIgrf(grid.info, filter, request, given, igrfLine, refusal))
        printNote(igrfLine);
    if (refusal.isEmpty())
        values = I2DFourierFilters::completeParameters(filter, given, refusal);
    if (refusal.isEmpty())
        refusal = checkParametersOnGrid(filter, values, grid.mesh->get2DGridGeometry(), lengthUnit(grid.info.crsWkt),
                                        warnings);
    for (const QString& warning : warnings)
        printWarning(warning);
    if (refusal.isEmpty())
        return true;
    printError(refusal);
    return false;
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

namespace {

// Runs one grid operation with the engine's console output sent to a file of the work folder; the
// new data item (the last one the world made), or null when the operation failed.
Tavorin::IBaseData* runCapturingResult(const std::function<bool()>& operation, Tavorin::IBaseData* source,
                                       const QString& workFolder)
{
    QPointer<Tavorin::IBaseData> result;
    const auto connection = QObject::connect(Tavorin::world(), &Tavorin::IWorld::propertyCreated,
                                             [&result](Tavorin::IBaseData* data) { result = data; });
    bool ok = false;
    {
        StdoutToFile engineConsole(QDir(workFolder).filePath(QStringLiteral("engine_stdout.txt")));
        ok = operation();
    }
    QObject::disconnect(connection);
    return ok && result && result != source ? result.data() : nullptr;
}

} // namespace

Tavorin::IBaseData* runOperation(const FilterSpec& filter, const QVariantMap& values, Tavorin::I2DGridMesh* grid,
                                 Tavorin::IBaseData* source, const QString& workFolder)
{
    return runCapturingResult([&] { return filter.run(grid, source, values, QString()); }, source, workFolder);
}

Tavorin::IBaseData* runChain(const std::vector<I2DFourierFilters::ChainStep>& steps, Tavorin::I2DGridMesh* grid,
                             Tavorin::IBaseData* source, const QString& workFolder)
{
    return runCapturingResult([&] { return I2DFourierFilters::chain(grid, source, steps, QString()); }, source,
                              workFolder);
}

namespace {

// The outputs and the input grid of a job, made ready before anything runs.
struct JobFiles {
    explicit JobFiles(const JobOptions& options)
        : output(options.output), work(options.keepWork)
    {
        if (!options.preview.isEmpty())
            preview = std::make_unique<StagedOutput>(options.preview);
    }
    StagedOutput output;
    std::unique_ptr<StagedOutput> preview;
    WorkFolder work;
    LoadedGrid grid;
};

bool openJob(const JobOptions& options, JobFiles& files, QString& error)
{
    ReadRequest file(options.input, options.band, options.srs);
    file.units = options.units;
    file.hasNoData = options.hasNoData;
    file.noData = options.noData;
    return files.output.ready(error) && (!files.preview || files.preview->ready(error)) && files.work.ready(error) &&
           readGrid(file, Tavorin::world(), files.grid, error);
}

// Checks the result and writes it (and the preview) whole or not at all.
int finishJob(const JobOptions& options, const QString& driver, JobFiles& files, const Tavorin::IBaseData& result,
              const GridLabels& labels, const QString& title)
{
    QString error;
    const QString problem = resultProblem(result);
    if (!problem.isEmpty()) {
        printError(QStringLiteral("%1; nothing was written").arg(problem));
        return ExitRejected;
    }
    StagedOutput* preview = files.preview.get();
    if (!writeGrid(files.output.stagedPath(), driver, files.grid.info, result, labels, error) ||
        !writtenAsResult(files.output, driver, *files.grid.mesh, result, error) ||
        (preview && !writePreview(files.grid, result, labels, title, preview->stagedPath(), error)) ||
        !commitOutputs(files.output, preview, error)) {
        printError(preview ? preview->inFinalPlace(files.output.inFinalPlace(error)) : files.output.inFinalPlace(error));
        return ExitRejected;
    }
    if (!options.quiet)
        std::printf("%s: %s\n", QFile::encodeName(options.output).constData(), result.Name().toUtf8().constData());
    return ExitSuccess;
}

} // namespace

int runFilterJob(const FilterSpec& filter, FilterRequest request, const JobOptions& options)
{
    QString driver;
    if (const int status = checkArguments(options, driver))
        return status;
    QString error = refuseParameters(filter, request);
    if (!error.isEmpty()) {
        printError(error);
        return ExitRejected;
    }
    JobFiles files(options);
    if (!openJob(options, files, error)) {
        printError(error);
        return ExitRejected;
    }
    QVariantMap values;
    if (!acceptedForFiltering(filter, request, files.grid, values))
        return ExitRejected;

    Tavorin::IBaseData* result = runOperation(filter, values, files.grid.mesh, files.grid.data, files.work.path());
    if (!result) {
        printError(QStringLiteral("%1 of %2 failed; nothing was written").arg(QString::fromUtf8(filter.title), options.input));
        return ExitRejected;
    }
    const QString length = lengthUnit(files.grid.info.crsWkt);
    const GridLabels labels = resultLabels(QString::fromUtf8(filter.id), describeParameters(filter, values, length).join(QStringLiteral(", ")),
                                           I2DFourierFilters::resultUnits(filter, values, files.grid.info.units, length),
                                           files.grid, *result);
    return finishJob(options, driver, files, *result, labels, QString::fromUtf8(filter.title));
}

int runChainJob(const std::vector<I2DFourierFilters::ChainStep>& given, const JobOptions& options)
{
    QString driver;
    if (const int status = checkArguments(options, driver))
        return status;
    std::vector<I2DFourierFilters::ChainStep> steps;
    QString error = completeChain(given, steps);
    JobFiles files(options);
    if (!error.isEmpty() || !openJob(options, files, error)) {
        printError(error);
        return ExitRejected;
    }
    QString refusal = geographicRefusal(files.grid.info);
    QStringList warnings = gridWarnings(files.grid.info);
    const QString length = lengthUnit(files.grid.info.crsWkt);
    for (size_t i = 0; i < steps.size() && refusal.isEmpty(); ++i) {
        refusal = checkParametersOnGrid(*steps[i].filter, steps[i].values, files.grid.mesh->get2DGridGeometry(), length,
                                        warnings);
        if (!refusal.isEmpty())
            refusal = QStringLiteral("step %1 (%2): %3").arg(i + 1).arg(QLatin1String(steps[i].filter->id), refusal);
    }
    for (const QString& warning : warnings)
        printWarning(warning);
    if (!refusal.isEmpty()) {
        printError(refusal);
        return ExitRejected;
    }
    Tavorin::IBaseData* result = runChain(steps, files.grid.mesh, files.grid.data, files.work.path());
    if (!result) {
        printError(QStringLiteral("the chain on %1 failed; nothing was written").arg(options.input));
        return ExitRejected;
    }
    const GridLabels labels = resultLabels(QStringLiteral("chain"), describeChain(steps, length),
                                           I2DFourierFilters::chainUnits(steps, files.grid.info.units, length),
                                           files.grid, *result);
    return finishJob(options, driver, files, *result, labels, QStringLiteral("Chain"));
}

} // namespace spectrafil
