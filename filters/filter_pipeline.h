#pragma once
// The steps every grid filter operation is made of: working in the temporary project folder,
// checking the grid, handing its defined cells to the engine through FILTER.INP and an in-memory
// point list, running both engine runs and storing their output as a new property.

#include "filter_points.h"
#include "filters_export.h"
#include "work_block.h"

#include <QString>

#include <string>

namespace Tavorin {
class I2DGridMesh;
class IBaseData;
class IBaseDataFloat;
class IProgressBarWidget;
} // namespace Tavorin

namespace I2DFourierFilters {

// The engine's files are named relative to the current directory, so an operation works in the
// host's temporary project folder and goes back to where it was on every exit, throws included.
// Within an EngineFolderScope it stays where it is.
class SPECTRAFIL_FILTERS_EXPORT TempFolderScope {
public:
    TempFolderScope();
    ~TempFolderScope();
    TempFolderScope(const TempFolderScope&) = delete;
    TempFolderScope& operator=(const TempFolderScope&) = delete;

private:
    QString saved_;
};

// Where the engine's files go: the current directory, where an operation's TempFolderScope has
// switched, unless a caller that must not change the process's current directory (other threads
// rely on it) names a folder for the runs of this scope's life; the operations then stay where they
// are. Process-wide, like the engine's own state: one caller at a time.
class SPECTRAFIL_FILTERS_EXPORT EngineFolderScope {
public:
    explicit EngineFolderScope(const QString& folder);
    ~EngineFolderScope();
    EngineFolderScope(const EngineFolderScope&) = delete;
    EngineFolderScope& operator=(const EngineFolderScope&) = delete;

    // The folder named, or empty for the current directory.
    static QString folder();
};
// One of the engine's fixed file names in the engine's folder; the bare name by default.
SPECTRAFIL_FILTERS_EXPORT QString engineFilePath(const char* name);

// Axes parallel to x and y (to 0.001 degree) and a padded size the engine can transform.
SPECTRAFIL_FILTERS_EXPORT bool checkGridSuitability(const Tavorin::I2DGridMesh* grid);
// (x, y, value) of every cell with a value, row by row; false when there is none.
SPECTRAFIL_FILTERS_EXPORT bool gatherCellValues(const Tavorin::I2DGridMesh* grid, const Tavorin::IBaseData* data,
                                                FilterPoints& points);
// Gathering and the spectrum section, one after the other, each failure logged with its step's
// message; the points then hold the grid's defined cells.
bool prepareEngineInput(const Tavorin::I2DGridMesh* grid, const Tavorin::IBaseData* data, FilterPoints& points);
// Mean of the defined cells, or -99999.0 when there is none.
SPECTRAFIL_FILTERS_EXPORT double gridAverage(const Tavorin::I2DGridMesh* grid, const Tavorin::IBaseData* data);
// Truncates FILTER.INP and writes the part that the forward run reads.
SPECTRAFIL_FILTERS_EXPORT bool writeSpectrumSection(const Tavorin::I2DGridMesh* grid,
                                                    const Tavorin::IBaseData* data);
// Appends "Perform filtering", the output line and the filter's own lines. announceAfterHeader,
// when given, is logged once the header lines are written (the potential-field transforms' way).
SPECTRAFIL_FILTERS_EXPORT bool writeFilterSection(const std::string& filterLines,
                                                  const QString& announceAfterHeader = QString());
// The forward run alone, its log copied into the host log; true when it wrote the spectrum file,
// SpectrumFileName in the engine's folder.
bool runForwardEngine(const FilterPoints& points);
constexpr const char* SpectrumFileName = "fpt15_2D_FWD_SPEC_FILTER.BIN";
// The forward run (when computeSpectrum) and the inverse run, their logs copied into the host log.
// The points go in as the grid's cells and come back as the filtered points.
SPECTRAFIL_FILTERS_EXPORT bool runFilterEngine(FilterPoints& points, bool computeSpectrum);
// The same for one of several runs of an operation: `carried` takes the engine's large work block
// from one run to the next, so that its pages stay in the process between them.
bool runFilterEngine(FilterPoints& points, bool computeSpectrum, WorkBlock& carried);
// A new float cell property of the grid named resultName; null, with the error logged, when the
// host cannot make it.
Tavorin::IBaseDataFloat* createResultProperty(Tavorin::I2DGridMesh* grid, const QString& resultName);
// A new float property holding value / divisor in the cell of each point, only where the source
// has a value; null when the host cannot make the property.
SPECTRAFIL_FILTERS_EXPORT Tavorin::IBaseDataFloat* loadFilteredData(const FilterPoints& points,
                                                                    Tavorin::I2DGridMesh* grid,
                                                                    const Tavorin::IBaseData* data,
                                                                    const QString& resultName, float divisor);

// Derivatives leave the engine in data units per 10^n grid units, n the rounded decimal logarithm
// of the smaller cell size; dividing by 10^n brings them back to per grid unit. Throws
// boost::math::rounding_error when that logarithm is not finite.
SPECTRAFIL_FILTERS_EXPORT float derivativeScale(float dx, float dy);
SPECTRAFIL_FILTERS_EXPORT double derivativeScale(double dx, double dy);

// The engine-facing numbers a derivative takes from the grid: W0 = 0.5 (dx + dy) in single precision.
SPECTRAFIL_FILTERS_EXPORT float meanCellSize(const Tavorin::I2DGridMesh* grid);

// printf-style text for FILTER.INP, formatted by the C library as the engine reads it back, so
// both sides agree on the number format.
std::string formatLine(const char* format, ...) __attribute__((format(printf, 1, 2)));

// An operation's progress widget: its caption, 0 to steps, shown.
void startProgress(Tavorin::IProgressBarWidget& progress, int steps);

// Host log shorthands: information, warning, error.
void logInfo(const QString& text);
void logWarning(const QString& text);
void logError(const QString& text);

} // namespace I2DFourierFilters
