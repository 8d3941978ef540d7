#pragma once
// Whole-grid passes of the gathering and loading steps over a host float item's cell storage, in
// place of one host call per cell. Every coordinate and cell id comes from the grid geometry's own
// functions, so the points and the stored values are those of the per-cell calls, bit for bit.

#include "filter_points.h"

namespace Tavorin {
class I2DGridGeometry;
class I2DGridMesh;
class IBaseData;
} // namespace Tavorin

namespace I2DFourierFilters {

// The values of data by cell id (NaN where a cell has none) when data is a host float item with a
// slot for every cell of grid; null otherwise, and the caller asks cell by cell.
const float* cellValues(const Tavorin::I2DGridMesh* grid, const Tavorin::IBaseData* data);

// (x, y, value) of every cell with a value, row by row, in points sized exactly to them.
void gatherDefinedCells(const Tavorin::I2DGridGeometry& geometry, const float* values, FilterPoints& points);

// Stores value / divisor of each point in result at the point's cell, for cells where source has a
// value; a later point in the same cell overwrites an earlier one.
void storeOnCells(const FilterPoints& points, const Tavorin::I2DGridGeometry& geometry, const float* source,
                  float divisor, float* result);

} // namespace I2DFourierFilters
