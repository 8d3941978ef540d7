#pragma once
// The inducing field from IGRF-14 at the grid's centre, for `--igrf YEAR`.

#include "filter_request.h"
#include "grid_files.h"

#include <QString>

namespace spectrafil {

// Adds to values the field's inclination, declination and (where the filter takes it) strength that
// the user did not give, from IGRF-14 at the centre of the grid, and returns the line that says what
// the model gave. False with a message when the grid has no CRS, the coefficients cannot be read or
// the model refuses the place.
bool fieldFromIgrf(const GridFileInfo& grid, const FilterSpec& filter, const FilterRequest& request,
                   QVariantMap& values, QString& line, QString& error);

} // namespace spectrafil
