#pragma once
// Parameters a filter cannot do good work with are refused before any work, with the option, the
// value, the allowed range and the reason; parameters that work but give a result the user may not
// expect get a warning that says what the result will be.

#include "filter_request.h"

#include <QString>
#include <QStringList>

namespace Tavorin {
class I2DGridGeometry;
}

namespace spectrafil {

// Values no grid could make sense of: the first refusal's message, or empty.
QString refuseParameters(const FilterSpec& filter, const FilterRequest& request);

// The complete values judged against the grid's cells and extent: a refusal's message, or empty;
// warnings gets one line per parameter whose result deserves a word.
QString checkParametersOnGrid(const FilterSpec& filter, const QVariantMap& values,
                              const Tavorin::I2DGridGeometry& geometry, const QString& lengthUnit, QStringList& warnings);

} // namespace spectrafil
