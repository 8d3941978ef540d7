#pragma once
// A filter's result is checked before it is written or shown: one without a defined cell, or with
// a defined cell that is NaN or infinite, answers nothing, and must not pass for a map.

#include <QString>

namespace Tavorin {
class IBaseData;
}

namespace spectrafil {

struct ResultCensus {
    unsigned defined = 0;   // cells with a value
    unsigned nonFinite = 0; // of those, NaN or infinite
};

ResultCensus takeCensus(const Tavorin::IBaseData& result);

// True when name is that of a grid operation's result (it ends with one of their suffixes).
bool namesFilterResult(const QString& name);

// Empty when the result can be used; otherwise what is wrong with it, naming the filter (known from
// the suffix the grid operations give their results) and the likely cause.
QString resultProblem(const Tavorin::IBaseData& result);

} // namespace spectrafil
