#pragma once
// Where the pixels of a raster file land on the host's grid. The host grid is always north-up:
// cell (0, 0) is the south-west cell, u runs east and v runs north. A raster may store its rows
// from the north or from the south, its columns from the west or the east, or be turned by a
// multiple of 90 degrees (columns along y); every such layout is a permutation of the pixels.

#include <QString>

namespace Tavorin {
class I2DGridGeometry;
}

namespace spectrafil {

// The largest grid, per axis, that the filters accept; larger files are refused before reading.
inline constexpr int kMaxCellsPerAxis = 5459;

struct RasterLayout {
    int columns = 0; // as stored in the file
    int rows = 0;
    double geoTransform[6] = {0, 1, 0, 0, 0, -1}; // GDAL's: X = g0 + col g1 + row g2, Y = g3 + col g4 + row g5

    bool swapped = false; // file columns run along y
    bool flipU = false;   // the host's u index runs against the file's index along x
    bool flipV = false;
    int nCellU = 0;
    int nCellV = 0;
    double uSize = 0;
    double vSize = 0;
    double originX = 0; // south-west corner
    double originY = 0;

    // Host cell id (v * nCellU + u) of the file pixel (column, row).
    unsigned int hostCell(int column, int row) const;
    // What the host cell id changes by from one pixel of a file row to the next: hostCell(column,
    // row) is hostCell(0, row) + column * cellStep().
    long long cellStep() const;
    Tavorin::I2DGridGeometry hostGeometry() const;
};

// Fills layout from a raster's size and geotransform; returns an empty string when the layout is
// usable, otherwise why not (sheared, turned by other than 90 degrees, degenerate, too large).
QString makeLayout(int columns, int rows, const double geoTransform[6], RasterLayout& layout);

// The north-up layout (first row the northern edge) of a host grid that is not turned.
RasterLayout northUpLayout(const Tavorin::I2DGridGeometry& geometry);

} // namespace spectrafil
