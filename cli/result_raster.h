#pragma once
// A result as a GDAL raster in the pixel order of the file it was read from. Its rows are made from
// the data item as a driver reads them, so copying it to a file takes no whole-grid buffer.

#include "gdal_support.h"
#include "grid_layout.h"

namespace Tavorin {
class IBaseData;
}

namespace spectrafil {

// Cells without value read as noData; type is the band's (Float32 or Float64). The raster keeps
// references to layout and data, which must outlive it. Georeferencing, CRS, nodata value, units
// and labels are set through GDAL's calls, as on any dataset.
Dataset resultRaster(const RasterLayout& layout, GDALDataType type, const Tavorin::IBaseData& data, double noData);

} // namespace spectrafil
