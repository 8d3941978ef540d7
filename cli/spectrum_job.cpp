#include "spectrum_job.h"

#include "console.h"
#include "filter_job.h"
#include "grid_files.h"
#include "map_render.h"
#include "spectrum_plot.h"
#include "staged_output.h"
#include "work_folder.h"

#include <power_spectrum.h>

#include <IBaseDataFloat.h>
#include <IUniverse.h>
#include <IWorld.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cmath>
#include <cstdio>
#include <memory>

namespace spectrafil {

namespace F = I2DFourierFilters;

namespace {

bool samePath(const QString& a, const QString& b)
{
    return QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

// "K1-K2,K3-K4" in the shown unit; false with a message when a range is no pair of numbers.
bool parseRanges(const QString& text, std::vector<F::WavenumberRange>& ranges, QString& error)
{
    for (const QString& item : text.split(QLatin1Char(','))) {
        const QStringList bounds = item.trimmed().split(QLatin1Char('-'));
        bool fromOk = false, toOk = false;
        const double from = bounds.size() == 2 ? bounds[0].trimmed().toDouble(&fromOk) : 0.0;
        const double to = bounds.size() == 2 ? bounds[1].trimmed().toDouble(&toOk) : 0.0;
        if (!fromOk || !toOk) {
            error = QStringLiteral("--ranges %1: '%2' is not a range K1-K2 of two wavenumbers").arg(text, item);
            return false;
        }
        ranges.push_back({from, to});
    }
    return true;
}

// Checks that need no grid: ensemble count, ranges, where the outputs go.
bool checkArguments(const SpectrumOptions& options, std::vector<F::WavenumberRange>& ranges, QString& error)
{
    if (!options.ranges.isEmpty()) {
        if (!parseRanges(options.ranges, ranges, error))
            return false;
        error = F::rangesRejection(ranges, {1.0, QString()}); // as given, before the grid tells the unit
        if (!error.isEmpty()) {
            error = QStringLiteral("--ranges: %1").arg(error);
            return false;
        }
        if (options.depthsGiven && options.depths != int(ranges.size())) {
            error = QStringLiteral("--depths %1 but %2 --ranges given: one range per ensemble")
                        .arg(options.depths)
                        .arg(ranges.size());
            return false;
        }
    } else if (options.depths < 1 || options.depths > F::MaxEnsembles) {
        error = QStringLiteral("--depths %1: 1 to %2 source ensembles can be fitted").arg(options.depths).arg(F::MaxEnsembles);
        return false;
    }
    if (options.hasNoData && !std::isfinite(options.noData)) {
        error = QStringLiteral("--nodata %1: not a finite number").arg(options.noData);
        return false;
    }
    if (!options.csv.isEmpty() && samePath(options.csv, options.input))
        error = QStringLiteral("the CSV %1 is the input file; name another").arg(options.csv);
    else if (!options.plot.isEmpty() && (samePath(options.plot, options.input) || samePath(options.plot, options.csv)))
        error = QStringLiteral("the plot %1 would overwrite another file of the run").arg(options.plot);
    else if (!options.plot.isEmpty() && !imageFormatProblem(options.plot).isEmpty())
        error = QStringLiteral("--plot ") + imageFormatProblem(options.plot);
    return error.isEmpty();
}

bool readAcceptedGrid(const SpectrumOptions& options, LoadedGrid& grid, QString& error)
{
    ReadRequest request(options.input, options.band, options.srs);
    request.units = options.units;
    request.hasNoData = options.hasNoData;
    request.noData = options.noData;
    if (!readGrid(request, Tavorin::world(), grid, error))
        return false;
    error = geographicRefusal(grid.info);
    if (!error.isEmpty())
        return false;
    for (const QString& warning : gridWarnings(grid.info))
        printWarning(warning);
    return true;
}

bool writeBytes(const QString& path, const QByteArray& bytes, QString& error)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush())
        return true;
    error = QStringLiteral("%1: cannot write (%2)").arg(path, file.errorString());
    return false;
}

// Both outputs staged, then moved into place, the CSV last; a failure leaves neither.
bool writeOutputs(StagedOutput* csv, StagedOutput* plot, const QByteArray& table, const QImage& image, QString& error)
{
    if ((csv && !writeBytes(csv->stagedPath(), table, error)) || (plot && !saveImage(image, plot->stagedPath(), error)))
        return false;
    if (plot && !plot->commit(error))
        return false;
    if (!csv || csv->commit(error))
        return true;
    if (plot)
        QFile::remove(plot->finalPath());
    return false;
}

std::unique_ptr<StagedOutput> stagedFor(const QString& path)
{
    return path.isEmpty() ? nullptr : std::make_unique<StagedOutput>(path);
}

} // namespace

int runSpectrumJob(const SpectrumOptions& options)
{
    std::vector<F::WavenumberRange> ranges;
    QString error;
    if (!checkArguments(options, ranges, error)) {
        printError(error);
        return ExitUsage;
    }
    const auto csv = stagedFor(options.csv);
    const auto plot = stagedFor(options.plot);
    WorkFolder work(options.keepWork);
    LoadedGrid grid;
    if ((csv && !csv->ready(error)) || (plot && !plot->ready(error)) || !work.ready(error)
        || !readAcceptedGrid(options, grid, error)) {
        printError(error);
        return ExitRejected;
    }
    F::RadialSpectrum spectrum;
    bool computed = false;
    {
        StdoutToFile engineConsole(QDir(work.path()).filePath(QStringLiteral("engine_stdout.txt")));
        computed = F::radialPowerSpectrum(grid.mesh, grid.data, spectrum);
    }
    if (!computed) {
        printError(QStringLiteral("the power spectrum of %1 failed; nothing was written").arg(options.input));
        return ExitRejected;
    }
    const SpectrumScale scale = spectrumScale(lengthUnit(grid.info.crsWkt), spectrum.ringWidth);
    for (F::WavenumberRange& range : ranges)
        range = {range.from / scale.perGridUnit, range.to / scale.perGridUnit};
    std::vector<F::DepthSegment> segments;
    if (!F::estimateDepths(spectrum, options.depths, ranges, segments, error, wavenumberUnit(scale))) {
        printError(QStringLiteral("%1; nothing was written").arg(error));
        return ExitRejected;
    }
    const QString title = QStringLiteral("Radially averaged power spectrum of %1").arg(grid.info.name);
    if (!writeOutputs(csv.get(), plot.get(), csv ? spectrumCsv(spectrum, scale) : QByteArray(),
                      plot ? spectrumPlot(spectrum, segments, scale, title, QSize(960, 640)) : QImage(), error)) {
        printError(plot ? plot->inFinalPlace(csv ? csv->inFinalPlace(error) : error) : csv->inFinalPlace(error));
        return ExitRejected;
    }
    for (auto segment = segments.rbegin(); segment != segments.rend(); ++segment)
        std::printf("%s\n", depthLine(*segment, scale).toUtf8().constData());
    return ExitSuccess;
}

SpectrumCommand::SpectrumCommand(CLI::App& app)
    : command_(app.add_subcommand("spectrum", "Radially averaged power spectrum and depths to source ensembles"))
{
    command_->footer("Averages |F|^2 of the grid's spectrum, as the filters prepare it (mean removed, tails, gaps "
                     "filled), over rings of wavenumber, and fits ln P = c - 4 pi z k (k in cycles per unit; Spector "
                     "and Grant) to straight segments: one depth z per segment, printed shallowest first. "
                     "Wavenumbers are in cycles/km for grids in metres, else cycles per 1000 grid units.");
    command_->fallthrough();
    command_->add_option("IN", fields_.input, "Input grid (any raster GDAL reads)")->required();
    command_->add_option("--csv", fields_.csv, "Write the spectrum here: wavenumber, ln of the mean power, values in the ring");
    command_->add_option("--plot", fields_.plot, "Draw ln P against wavenumber with the fitted segments to this PNG");
    command_->add_option("--depths", fields_.depths, "Number of source ensembles to fit (1 to 4)")->capture_default_str();
    command_->add_option("--ranges", fields_.ranges, "Wavenumber ranges K1-K2,... of the segments, instead of automatic breaks");
    command_->add_option("--band", fields_.band, "Band of the input (from 1)")->check(CLI::PositiveNumber)->capture_default_str();
    command_->add_option("--keep-work", fields_.keepWork, "Keep FILTER.INP, the engine log and the spectrum file in this folder");
    command_->add_option("--srs", fields_.srs, "CRS of the input (e.g. EPSG:32735), for files like .asc that carry none");
    command_->add_option("--units", fields_.units, "Units of the input's values (e.g. nT, mGal), for files that carry none");
    command_->add_option("--nodata", fields_.noData, "No-data value of the input, for files that carry none");
}

int SpectrumCommand::run() const
{
    auto text = [](const std::string& s) { return QString::fromStdString(s); };
    SpectrumOptions options;
    options.input = text(fields_.input);
    options.csv = text(fields_.csv);
    options.plot = text(fields_.plot);
    options.keepWork = text(fields_.keepWork);
    options.srs = text(fields_.srs);
    options.units = text(fields_.units);
    options.ranges = text(fields_.ranges);
    options.depths = fields_.depths;
    options.depthsGiven = command_->get_option("--depths")->count() > 0;
    options.hasNoData = command_->get_option("--nodata")->count() > 0;
    options.noData = fields_.noData;
    options.band = fields_.band;
    return runSpectrumJob(options);
}

} // namespace spectrafil
