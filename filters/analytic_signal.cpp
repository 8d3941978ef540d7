// Amplitude of the analytic signal: the spectrum is computed once, the three first derivatives are
// taken from it and kept as properties of their own, then combined cell by cell.

#include "fourier_filters.h"

#include "engine_threads.h"
#include "filter_pipeline.h"
#include "grid_cells.h"
#include "single_result_filter.h"

#include "I2DGridMesh.h"
#include "IBaseDataFloat.h"
#include "IPreventDataUpdates.h"
#include "IProgressBarWidget.h"
#include "IUniverse.h"
#include "IWorld.h"


#include <cmath>

using namespace Tavorin;

namespace I2DFourierFilters {

namespace {

struct DerivativeRuns {
    I2DGridMesh* grid;
    IBaseData* data;
    FilterPoints& points;
    std::string window; // the derivatives' low-pass line
    float scale;        // derivativeScale
    IProgressBarWidget& progress;
    WorkBlock carried;  // the engine's work block, from one derivative to the next
};

// One derivative (direction code 3 z, 1 x, 2 y) stored as its own property. The first one computes
// the spectrum; the later ones rewrite FILTER.INP and reuse the spectrum file the first one left.
IBaseDataFloat* derivativeItem(DerivativeRuns& runs, filter_codes::Direction direction, const QString& name,
                               bool computeSpectrum)
{
    if (!computeSpectrum && !writeSpectrumSection(runs.grid, runs.data)) {
        logError(QStringLiteral("Error writing spectrum control file"));
        return nullptr;
    }
    logInfo(QStringLiteral("Writing control file for applying filter..."));
    if (!writeFilterSection(runs.window + directionLines(direction)))
        return nullptr;
    if (computeSpectrum)
        runs.progress.incrementProgressPos();
    if (!runFilterEngine(runs.points, computeSpectrum, runs.carried)) {
        logError(QStringLiteral("Could not run 2D filtering"));
        return nullptr;
    }
    runs.progress.incrementProgressPos();
    IBaseDataFloat* item = loadFilteredData(runs.points, runs.grid, runs.data, name, runs.scale);
    if (!item) {
        logError(QStringLiteral("Could not load filtered data"));
        return nullptr;
    }
    runs.progress.incrementProgressPos();
    return item;
}

bool storeAmplitude(I2DGridMesh* grid, const QString& resultName, const IBaseDataFloat* x,
                    const IBaseDataFloat* y, const IBaseDataFloat* z, IProgressBarWidget& progress)
{
    IBaseDataFloat* result = createResultProperty(grid, resultName);
    if (!result)
        return false;
    IPreventDataUpdates hold(result);
    const unsigned int cells = grid->cellCount();
    auto amplitude = [](double dx, double dy, double dz) { return static_cast<float>(std::sqrt((dy * dy + dx * dx) + dz * dz)); };
    const float* xs = cellValues(grid, x);
    const float* ys = cellValues(grid, y);
    const float* zs = cellValues(grid, z);
    if (xs && ys && zs && result->size() >= cells) {
        // Cells without value are NaN in all three and stay NaN in the result.
        result->editValues([&](float* values, size_t) {
            ParallelFor(cells, 1 << 16, [&](int64_t first, int64_t last, int32_t) {
                for (int64_t id = first; id < last; ++id)
                    if (!std::isnan(xs[id]) && !std::isnan(ys[id]) && !std::isnan(zs[id]))
                        values[id] = amplitude(xs[id], ys[id], zs[id]);
            });
        });
    } else {
        for (unsigned int id = 0; id < cells; ++id)
            if (x->hasValue(id) && y->hasValue(id) && z->hasValue(id))
                result->setValue(id, amplitude(x->value(id), y->value(id), z->value(id)));
    }
    progress.incrementProgressPos();
    world()->paintDataCurrentView(result);
    return true;
}

} // namespace

bool analyticSignal(I2DGridMesh* grid, IBaseData* data, bool attenuate, QString resultName)
{
    if (!grid || !data) {
        logError(QStringLiteral("No grid or no data item given for 2D filtering"));
        return false;
    }
    TempFolderScope folder;
    if (resultName.isEmpty())
        resultName = data->Name() + QStringLiteral(" analytic signal");
    if (!checkGridSuitability(grid)) {
        logError(QStringLiteral("Selected voxet is not suitable for 2D filtering"));
        return false;
    }

    IProgressBarWidget progress;
    startProgress(progress, 8);
    const QString vdName = data->Name() + QStringLiteral("_VD");
    const QString hdxName = data->Name() + QStringLiteral("_HDX");
    const QString hdyName = data->Name() + QStringLiteral("_HDY");
    FilterPoints points;

    if (!prepareEngineInput(grid, data, points))
        return false;
    const I2DGridGeometry& geometry = grid->get2DGridGeometry();
    const float scale = derivativeScale(static_cast<float>(geometry.uSize()), static_cast<float>(geometry.vSize()));
    logInfo(QStringLiteral("AIRFILT scaling factor is %1").arg(scale));
    const std::string window = derivativeWindow(filter_codes::Derivative, grid, attenuate);
    DerivativeRuns runs{grid, data, points, window, scale, progress, WorkBlock()};

    const IBaseDataFloat* vd = derivativeItem(runs, filter_codes::Vertical, vdName, true);
    if (!vd)
        return false;
    const IBaseDataFloat* hdx = derivativeItem(runs, filter_codes::AlongX, hdxName, false);
    if (!hdx)
        return false;
    const IBaseDataFloat* hdy = derivativeItem(runs, filter_codes::AlongY, hdyName, false);
    if (!hdy)
        return false;
    logInfo(QStringLiteral("Completed derivative computation"));
    return storeAmplitude(grid, resultName, hdx, hdy, vd, progress);
}

} // namespace I2DFourierFilters
