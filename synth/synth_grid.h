#pragma once
// A regular grid sampled from a field function, in the shape the filters consume: cells row by
// row from the south, each row from the west, cell 0 the south-west cell; cell centres at
// (x0 + col*dx, y0 + row*dy). Conventions as in synth_fields.h.

#include "synth_fields.h"

#include <cstddef>
#include <functional>
#include <vector>

namespace synth {

// Any field: value at an observation point (x east, y north, z up).
using FieldFunction = std::function<double(const Vec3& p)>;

struct GridGeometry {
    int nx = 0;     // columns, west to east
    int ny = 0;     // rows, south to north
    double x0 = 0;  // centre of the south-west cell
    double y0 = 0;
    double dx = 1;  // cell size, m
    double dy = 1;
};

struct Grid : GridGeometry {
    std::vector<double> values;        // nx*ny; NaN where the cell has no value
    std::vector<unsigned char> nodata; // nx*ny; 1 where the cell has no value

    std::size_t index(int col, int row) const
    {
        return std::size_t(row) * std::size_t(nx) + std::size_t(col);
    }
    double xAt(int col) const { return x0 + col * dx; }
    double yAt(int row) const { return y0 + row * dy; }
    bool hasValue(int col, int row) const { return nodata[index(col, row)] == 0; }
    double at(int col, int row) const { return values[index(col, row)]; }
};

// Where the survey has no data: the union of closed rectangles, closed discs and the predicate
// (true for a cell centre without data).
struct NoDataRegions {
    struct Rectangle {
        double xmin, ymin, xmax, ymax;
    };
    struct Disc {
        double x, y, radius;
    };
    std::vector<Rectangle> rectangles;
    std::vector<Disc> discs;
    std::function<bool(double x, double y)> predicate;

    bool covers(double x, double y) const;
};

// The field at every cell centre at the given height, except where the regions cover the centre.
// Throws std::invalid_argument for a non-positive size or cell size.
Grid sampleGrid(const GridGeometry& geometry, double height, const FieldFunction& field,
                const NoDataRegions& holes = {});

// (x, y, value) of the cells with a value, row by row from the south: the engine's point list.
std::vector<double> valuedTriples(const Grid& grid);

} // namespace synth
