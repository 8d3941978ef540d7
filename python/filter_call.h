#pragma once
// One catalogue filter applied to an array of values, as the command-line tool applies it to a grid
// file: the same checks, refusals and warnings, the same host grid and operation, the same check of
// the result. Runs on the engine thread; knows nothing of Python.

#include <filter_catalogue.h>

#include <QString>
#include <QVariantMap>

#include <utility>
#include <vector>

namespace spectrafil {

struct ArrayGrid {
    int columns = 0;
    int rows = 0;
    const double* values = nullptr; // rows x columns, row after row; NaN: a cell without value
    double geoTransform[6] = {0, 1, 0, 0, 0, 1}; // GDAL's: X = g0 + col g1 + row g2, Y = g3 + col g4 + row g5
    QString name;  // the source's name, in messages and the result's name
    QString units; // of the values; may be empty
    QString crs;   // any CRS GDAL understands; empty for none
};

enum class CallError { None, Type, Value, Failure };

enum class LogLevel { Debug, Information, Warning, Error };

struct FilterCall {
    std::vector<float> values; // the result in the input's layout; NaN where there is no value
    QString resultName;
    QString units;
    QString parameters; // "cutoff 5000 m, attenuate"
    std::vector<std::pair<LogLevel, QString>> log;
    CallError error = CallError::None;
    QString message;
};

// given: the caller's values by catalogue key; numbers as doubles, flags as bools, words as strings.
FilterCall applyFilter(const I2DFourierFilters::FilterSpec& filter, const ArrayGrid& grid, const QVariantMap& given);

} // namespace spectrafil
