#include "synth_grid.h"

#include <limits>
#include <stdexcept>

namespace synth {

bool NoDataRegions::covers(double x, double y) const
{
    for (const Rectangle& r : rectangles)
        if (x >= r.xmin && x <= r.xmax && y >= r.ymin && y <= r.ymax)
            return true;
    for (const Disc& d : discs)
        if ((x - d.x) * (x - d.x) + (y - d.y) * (y - d.y) <= d.radius * d.radius)
            return true;
    return predicate && predicate(x, y);
}

Grid sampleGrid(const GridGeometry& geometry, double height, const FieldFunction& field,
                const NoDataRegions& holes)
{
    if (geometry.nx <= 0 || geometry.ny <= 0)
        throw std::invalid_argument("synth: grid needs at least one column and one row");
    if (!(geometry.dx > 0.0) || !(geometry.dy > 0.0))
        throw std::invalid_argument("synth: grid cell size must be positive");
    if (!field)
        throw std::invalid_argument("synth: grid needs a field function");

    Grid grid{geometry, {}, {}};
    const std::size_t cells = std::size_t(grid.nx) * std::size_t(grid.ny);
    grid.values.assign(cells, std::numeric_limits<double>::quiet_NaN());
    grid.nodata.assign(cells, 1);
    for (int row = 0; row < grid.ny; ++row) {
        for (int col = 0; col < grid.nx; ++col) {
            const double x = grid.xAt(col), y = grid.yAt(row);
            if (holes.covers(x, y))
                continue;
            grid.values[grid.index(col, row)] = field({x, y, height});
            grid.nodata[grid.index(col, row)] = 0;
        }
    }
    return grid;
}

std::vector<double> valuedTriples(const Grid& grid)
{
    std::vector<double> points;
    for (int row = 0; row < grid.ny; ++row) {
        for (int col = 0; col < grid.nx; ++col) {
            if (!grid.hasValue(col, row))
                continue;
            points.push_back(grid.xAt(col));
            points.push_back(grid.yAt(row));
            points.push_back(grid.at(col, row));
        }
    }
    return points;
}

} // namespace synth
