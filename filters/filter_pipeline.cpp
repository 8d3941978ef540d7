#include "filter_pipeline.h"

#include "engine_setting.h"
#include "engine_threads.h"
#include "forward_run.h"
#include "grid_cells.h"
#include "inverse_run.h"

#include "I2DGridMesh.h"
#include "IBaseDataFloat.h"
#include "ILogger.h"
#include "IPreventDataUpdates.h"
#include "IProgressBarWidget.h"
#include "ISettings.h"
#include "IUniverse.h"
#include "IWorld.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <boost/math/special_functions/round.hpp>

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <memory>

using namespace Tavorin;

namespace I2DFourierFilters {

namespace {

const char* const ControlFileName = "FILTER.INP";
const char* const ForwardLogName = "fpt6_2D_FWD_SPECTRM_FILTER.OUT";
const char* const InverseLogName = "fpt6_2D_INV_AIRFILT_FILTER.OUT";
constexpr double MaxPaddedCells = 8192.0;

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};
using CFile = std::unique_ptr<FILE, FileCloser>;

QString& namedEngineFolder()
{
    static QString folder;
    return folder;
}

QByteArray engineFileName(const char* name) { return QFile::encodeName(engineFilePath(name)); }

// Cells along an axis once the engine has added its tails and edge rows.
double paddedCells(int n)
{
    const double cells = n;
    return std::ceil(cells * 0.125) * 4.0 + cells + 1.0;
}

bool writeText(FILE* file, const std::string& text)
{
    return std::fputs(text.c_str(), file) >= 0;
}

template <typename Real>
Real scaleForCellSize(Real dx, Real dy)
{
    const Real exponent = boost::math::round(std::log10(std::min(dx, dy)));
    return std::pow(Real(10), exponent);
}

} // namespace

void logInfo(const QString& text)
{
    ILogger::write2Log(text, ILogger::Information);
}

void logWarning(const QString& text)
{
    ILogger::write2Log(text, ILogger::Warning);
}

void logError(const QString& text)
{
    ILogger::write2Log(text, ILogger::Error);
}

std::string formatLine(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    std::string text(length > 0 ? static_cast<size_t>(length) : 0, '\0');
    if (length > 0)
        std::vsnprintf(text.data(), text.size() + 1, format, args);
    va_end(args);
    return text;
}

EngineFolderScope::EngineFolderScope(const QString& folder) { namedEngineFolder() = folder; }

EngineFolderScope::~EngineFolderScope() { namedEngineFolder().clear(); }

QString EngineFolderScope::folder() { return namedEngineFolder(); }

QString engineFilePath(const char* name)
{
    const QString file = QString::fromLatin1(name);
    const QString& folder = namedEngineFolder();
    return folder.isEmpty() ? file : QDir(folder).filePath(file);
}

TempFolderScope::TempFolderScope()
{
    if (!EngineFolderScope::folder().isEmpty())
        return;
    saved_ = QDir::current().absolutePath();
    const QString temp = ISettings::getTempDir();
    const QDir folder(temp);
    const bool usable = folder.exists() && folder.isReadable() && QFileInfo(temp).isWritable();
    if (usable && QDir::setCurrent(temp)) {
        logInfo(QStringLiteral("Switching current directory to %1").arg(temp));
        return;
    }
    if (usable)
        logWarning(QStringLiteral("Unable to switch current directory to %1 !").arg(temp));
    logError(ILogger::tr("Unable to use temporary project folder for intermediate files!"));
}

TempFolderScope::~TempFolderScope()
{
    if (saved_.isEmpty())
        return;
    QDir::setCurrent(saved_);
    logInfo(QStringLiteral("Switching back current directory to %1").arg(saved_));
}

bool checkGridSuitability(const I2DGridMesh* grid)
{
    logInfo(QStringLiteral("Checking grid suitability for 2D filtering..."));
    const I2DGridGeometry& geometry = grid->get2DGridGeometry();
    const double offAxis = std::fabs(std::fmod(geometry.rotation(), 90.0));
    if (offAxis > 0.001 && 90.0 - offAxis > 0.001) {
        logError(QStringLiteral("Provided grid does not have axes parallel to x-y directions"));
        return false;
    }
    if (paddedCells(geometry.nCellU()) > MaxPaddedCells || paddedCells(geometry.nCellV()) > MaxPaddedCells) {
        logError(QStringLiteral("Maximum padded grid dimension is 8192"));
        return false;
    }
    logInfo(QStringLiteral("Grid is ok"));
    return true;
}

bool gatherCellValues(const I2DGridMesh* grid, const IBaseData* data, FilterPoints& points)
{
    logInfo(QStringLiteral("Gathering data..."));
    points.clear();
    const I2DGridGeometry& geometry = grid->get2DGridGeometry();
    if (const float* values = cellValues(grid, data)) {
        gatherDefinedCells(geometry, values, points);
    } else {
        for (int v = 0; v < geometry.nCellV(); ++v) {
            for (int u = 0; u < geometry.nCellU(); ++u) {
                const unsigned int id = geometry.cellID(u, v);
                if (!data->hasValue(id))
                    continue;
                const I3DVector centre = geometry.cellCenter(static_cast<int>(id));
                points.push_back(centre.x);
                points.push_back(centre.y);
                points.push_back(static_cast<double>(data->value(id)));
            }
        }
    }
    if (points.empty()) {
        logError(QStringLiteral("Entire data set was NDV"));
        return false;
    }
    return true;
}

double gridAverage(const I2DGridMesh* grid, const IBaseData* data)
{
    double sum = 0.0;
    unsigned int count = 0;
    const unsigned int cells = grid->cellCount();
    if (const float* values = cellValues(grid, data)) {
        for (unsigned int id = 0; id < cells; ++id) {
            if (!std::isnan(values[id])) {
                sum += values[id];
                ++count;
            }
        }
    } else {
        for (unsigned int id = 0; id < cells; ++id) {
            if (data->hasValue(id)) {
                sum += data->value(id);
                ++count;
            }
        }
    }
    return count > 0 ? sum / count : -99999.0;
}

void startProgress(IProgressBarWidget& progress, int steps)
{
    progress.SetProgressCaption(QCoreApplication::translate("Spectrafil", "Filtering data, please wait..."));
    progress.SetProgressRange(0, steps);
    progress.SetProgressVisible(true);
}

bool prepareEngineInput(const I2DGridMesh* grid, const IBaseData* data, FilterPoints& points)
{
    if (!gatherCellValues(grid, data, points)) {
        logError(QStringLiteral("Error exporting data"));
        return false;
    }
    if (!writeSpectrumSection(grid, data)) {
        logError(QStringLiteral("Error writing spectrum control file"));
        return false;
    }
    return true;
}

bool writeSpectrumSection(const I2DGridMesh* grid, const IBaseData* data)
{
    logInfo(QStringLiteral("Writing control file for computing spectrum..."));
    const IBoundingBox box = grid->boundingBox();
    const double average = gridAverage(grid, data);
    const double dx = grid->get2DGridGeometry().uSize();
    const double dy = grid->get2DGridGeometry().vSize();

    CFile file(std::fopen(engineFileName(ControlFileName).constData(), "wt"));
    if (!file) {
        logError(QStringLiteral("Can not open spectrm control file for writing!"));
        return false;
    }
    // The window is given by its cell centres: the south-east one and the extents between centres.
    const double extentX = box.max().x - box.min().x - dx;
    const double extentY = box.max().y - box.min().y - dy;
    std::string text = "Temporary SPECTRM control file\nFFinput.dat\n";
    text += formatLine("%.17g %.17g %.17g %.17g  !  bottom right corner and grid extents, NS then EW\n",
                       box.max().x - dx / 2, box.min().y + dy / 2, extentY, extentX);
    text += formatLine("%.17g %.17g ! dx, dy\n", dx, dy);
    text += "1\n2\n3\n1\n0\n";
    text += formatLine("%.3f %.3f ! X extension, Y extension\n", std::ceil(0.15 * extentX), std::ceil(0.15 * extentY));
    text += formatLine("%.3f  !  Average \n", average);
    text += "0 0\n";
    return writeText(file.get(), text);
}

bool writeFilterSection(const std::string& filterLines, const QString& announceAfterHeader)
{
    CFile file(std::fopen(engineFileName(ControlFileName).constData(), "at"));
    if (!file) {
        logError(QStringLiteral("Can not open file for writing filtering control file!"));
        return false;
    }
    // Rotated-back output coordinates, no peak picking, no spectrum record, every point returned.
    bool written = writeText(file.get(), "Perform filtering\n2 0 0 1\n");
    if (!announceAfterHeader.isEmpty())
        logInfo(announceAfterHeader);
    written = writeText(file.get(), filterLines) && written;
    return written;
}

namespace {

void copyLogLines(const char* name)
{
    QFile log(engineFilePath(name));
    if (!log.open(QIODevice::ReadOnly | QIODevice::Text)) {
        logWarning(QStringLiteral("Unable to read console output file %1").arg(QString::fromLatin1(name)));
        return;
    }
    QTextStream in(&log);
    while (!in.atEnd())
        logInfo(in.readLine());
}

void copyLogWhole(const char* name)
{
    QFile log(engineFilePath(name));
    if (!log.open(QIODevice::ReadOnly | QIODevice::Text)) {
        logWarning(QStringLiteral("Unable to read console output file %1").arg(QString::fromLatin1(name)));
        return;
    }
    logInfo(QTextStream(&log).readAll());
}

// The forward run; its transform block goes to `kept` when given, for the inverse run to follow.
bool runForwardKeeping(const FilterPoints& points, WorkBlock* kept)
{
    logInfo(QStringLiteral("Computing spectrum, this may take a few minutes..."));
    bool computed = false;
    {
        // The log is complete only once the run is destroyed.
        ForwardRun run(engineFileName(ControlFileName).constData(), &points);
        computed = run.Execute();
        if (computed && kept)
            *kept = run.TakeTransformBlock();
    }
    copyLogLines(ForwardLogName);
    if (!computed) {
        logError(QStringLiteral("Spectrum calculation failed!"));
        return false;
    }
    logInfo(QStringLiteral("Finished spectrum calculation"));
    return true;
}

} // namespace

bool runForwardEngine(const FilterPoints& points)
{
    return runForwardKeeping(points, nullptr);
}

void setEngineThreads(int threads)
{
    ::setEngineThreads(threads);
}

bool runFilterEngine(FilterPoints& points, bool computeSpectrum)
{
    WorkBlock block;
    return runFilterEngine(points, computeSpectrum, block);
}

bool runFilterEngine(FilterPoints& points, bool computeSpectrum, WorkBlock& carried)
{
    if (!QFile(engineFilePath(ControlFileName)).open(QIODevice::ReadOnly | QIODevice::Text)) {
        logError(QStringLiteral("Couldn't open spectrum control file."));
        return false;
    }
    if (computeSpectrum && !runForwardKeeping(points, &carried))
        return false;
    logInfo(QStringLiteral("Applying filter, this may take a few minutes..."));
    bool filtered = false;
    {
        InverseRun run(engineFileName(ControlFileName).constData(), &points);
        run.ReuseBlock(std::move(carried));
        filtered = run.DUVERU2_inv();
        run.Close();
        carried = run.TakeSpareBlock();
    }
    copyLogWhole(InverseLogName);
    if (!filtered) {
        logError(QStringLiteral("Filter application failed!"));
        return false;
    }
    logInfo(QStringLiteral("Finished filter application"));
    return true;
}

IBaseDataFloat* createResultProperty(I2DGridMesh* grid, const QString& resultName)
{
    const int components = 1;
    auto* result = qobject_cast<IBaseDataFloat*>(
        world()->createProperty(grid, resultName, resultName, IBaseData::CellData, components, IBaseData::FloatData));
    if (!result)
        logError(QStringLiteral("Unable to create new property %1!").arg(resultName));
    return result;
}

IBaseDataFloat* loadFilteredData(const FilterPoints& points, I2DGridMesh* grid, const IBaseData* data,
                                 const QString& resultName, float divisor)
{
    logInfo(QStringLiteral("Loading filtered data..."));
    IBaseDataFloat* result = createResultProperty(grid, resultName);
    if (!result)
        return nullptr;
    IPreventDataUpdates hold(result);
    const I2DGridGeometry& geometry = grid->get2DGridGeometry();
    // The engine fills gaps and pads the grid; only cells that had a value get one back.
    const float* source = cellValues(grid, data);
    if (source && result->size() >= grid->cellCount()) {
        result->editValues([&](float* values, size_t) { storeOnCells(points, geometry, source, divisor, values); });
    } else {
        for (size_t i = 0; i + 2 < points.size(); i += 3) {
            const unsigned int id = geometry.cellID(I3DVector(points[i], points[i + 1], 0.0));
            if (id == I2DGridGeometry::InvalidCellID || !data->hasValue(id))
                continue;
            result->setValue(id, static_cast<float>(points[i + 2] / static_cast<double>(divisor)));
        }
    }
    world()->paintDataCurrentView(result);
    return result;
}

float derivativeScale(float dx, float dy)
{
    return scaleForCellSize(dx, dy);
}

double derivativeScale(double dx, double dy)
{
    return scaleForCellSize(dx, dy);
}

float meanCellSize(const I2DGridMesh* grid)
{
    const I2DGridGeometry& geometry = grid->get2DGridGeometry();
    const float sum = static_cast<float>(geometry.uSize()) + static_cast<float>(geometry.vSize());
    return static_cast<float>(0.5 * sum);
}

} // namespace I2DFourierFilters
