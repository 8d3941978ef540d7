#pragma once
// A filter made of several inverse runs on one spectrum, their outputs combined cell by cell into
// one result property: the one spectrum keeps the runs consistent and costs one forward run.

#include <QString>

#include <functional>
#include <string>
#include <vector>

namespace Tavorin {
class I2DGridMesh;
class IBaseData;
} // namespace Tavorin

namespace I2DFourierFilters {

struct CombinedFilter {
    // Appended to the source name when no result name is given.
    QString suffix;
    // Runs the parameter checks in order; the first failing check's message, or empty to go on.
    std::function<QString()> rejection;
    // The filter lines of each inverse run, in run order; the first run computes the spectrum.
    std::function<std::vector<std::string>()> runs;
    // A cell's result from the runs' values there, in run order, and the source value.
    std::function<double(const std::vector<double>& values, double source)> combine;
};

bool runCombinedFilter(Tavorin::I2DGridMesh* grid, Tavorin::IBaseData* data, QString resultName,
                       const CombinedFilter& filter);

} // namespace I2DFourierFilters
