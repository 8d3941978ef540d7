#include "combined_filter.h"

#include "filter_pipeline.h"
#include "single_result_filter.h"

#include "I2DGridMesh.h"
#include "IBaseData.h"
#include "IProgressBarWidget.h"

using namespace Tavorin;

namespace I2DFourierFilters {

namespace {

// Every run of one spectrum returns the points of the same footprint in the same order.
bool sameFootprint(const std::vector<FilterPoints>& outputs)
{
    for (const FilterPoints& output : outputs)
        if (output.size() != outputs.front().size()) {
            logError(QStringLiteral("The engine runs returned %1 and %2 values for one spectrum")
                         .arg(outputs.front().size())
                         .arg(output.size()));
            return false;
        }
    return true;
}

// (x, y, combined value) for every output point in a cell with a source value.
FilterPoints combineOutputs(const std::vector<FilterPoints>& outputs, const I2DGridMesh* grid, const IBaseData* data,
                            const CombinedFilter& filter)
{
    const I2DGridGeometry& geometry = grid->get2DGridGeometry();
    const FilterPoints& first = outputs.front();
    FilterPoints combined;
    std::vector<double> values(outputs.size());
    for (size_t i = 0; i + 2 < first.size(); i += 3) {
        const unsigned int id = geometry.cellID(I3DVector(first[i], first[i + 1], 0.0));
        if (id == I2DGridGeometry::InvalidCellID || !data->hasValue(id))
            continue;
        for (size_t run = 0; run < outputs.size(); ++run)
            values[run] = outputs[run][i + 2];
        combined.push_back(first[i]);
        combined.push_back(first[i + 1]);
        combined.push_back(filter.combine(values, data->value(id)));
    }
    return combined;
}

} // namespace

bool runCombinedFilter(I2DGridMesh* grid, IBaseData* data, QString resultName, const CombinedFilter& filter)
{
    if (!givenObjects(grid, data))
        return false;
    TempFolderScope folder;
    if (!acceptedForFiltering(grid, data, resultName, filter.suffix, filter.rejection))
        return false;

    const std::vector<std::string> runs = filter.runs();
    IProgressBarWidget progress;
    startProgress(progress, static_cast<int>(runs.size()) + 1);
    FilterPoints points;
    if (!prepareEngineInput(grid, data, points))
        return false;

    std::vector<FilterPoints> outputs;
    WorkBlock carried;
    for (size_t run = 0; run < runs.size(); ++run) {
        // The inverse run reads the first filter section of FILTER.INP: each later run rewrites it.
        if (run > 0 && !writeSpectrumSection(grid, data)) {
            logError(QStringLiteral("Error writing spectrum control file"));
            return false;
        }
        logInfo(QStringLiteral("Writing control file for applying filter..."));
        if (!writeFilterSection(runs[run]))
            return false;
        if (!runFilterEngine(points, run == 0, carried)) {
            logError(QStringLiteral("Could not run 2D filtering"));
            return false;
        }
        outputs.push_back(points);
        progress.incrementProgressPos();
    }
    if (!sameFootprint(outputs))
        return false;
    if (!loadFilteredData(combineOutputs(outputs, grid, data, filter), grid, data, resultName, 1.0f)) {
        logError(QStringLiteral("Could not load filtered data"));
        return false;
    }
    progress.incrementProgressPos();
    return true;
}

} // namespace I2DFourierFilters
