#include "grid_layout.h"

#include <I2DGridGeometry.h>

#include <algorithm>
#include <cmath>

namespace spectrafil {
namespace {

constexpr double kTolerance = 1e-9; // relative to the cell size

bool negligible(double part, double length) { return std::fabs(part) <= kTolerance * length; }

// Axis sizes and flips once the transform is known to be a permutation of the pixels.
void fillHostAxes(RasterLayout& l)
{
    const double* g = l.geoTransform;
    if (!l.swapped) {
        l.nCellU = l.columns;
        l.nCellV = l.rows;
        l.uSize = std::fabs(g[1]);
        l.vSize = std::fabs(g[5]);
        l.flipU = g[1] < 0;
        l.flipV = g[5] < 0; // rows stored from the north
    } else {
        l.nCellU = l.rows;
        l.nCellV = l.columns;
        l.uSize = std::fabs(g[2]);
        l.vSize = std::fabs(g[4]);
        l.flipU = g[2] < 0;
        l.flipV = g[4] < 0;
    }
    l.originX = g[0] + std::min(0.0, l.columns * g[1]) + std::min(0.0, l.rows * g[2]);
    l.originY = g[3] + std::min(0.0, l.columns * g[4]) + std::min(0.0, l.rows * g[5]);
}

} // namespace

unsigned int RasterLayout::hostCell(int column, int row) const
{
    int along = swapped ? row : column;   // index along x
    int across = swapped ? column : row;  // index along y
    int u = flipU ? nCellU - 1 - along : along;
    int v = flipV ? nCellV - 1 - across : across;
    return static_cast<unsigned int>(v) * static_cast<unsigned int>(nCellU) + static_cast<unsigned int>(u);
}

long long RasterLayout::cellStep() const
{
    if (swapped)
        return flipV ? -(long long)nCellU : (long long)nCellU;
    return flipU ? -1 : 1;
}

Tavorin::I2DGridGeometry RasterLayout::hostGeometry() const
{
    return Tavorin::I2DGridGeometry(Tavorin::I3DVector(originX, originY, 0.0), uSize, vSize, nCellU, nCellV);
}

QString makeLayout(int columns, int rows, const double geoTransform[6], RasterLayout& layout)
{
    layout = RasterLayout();
    layout.columns = columns;
    layout.rows = rows;
    std::copy(geoTransform, geoTransform + 6, layout.geoTransform);
    const double* g = layout.geoTransform;
    if (!std::all_of(g, g + 6, [](double x) { return std::isfinite(x); }))
        return QStringLiteral("its geotransform is not finite");

    const double columnStep = std::hypot(g[1], g[4]);
    const double rowStep = std::hypot(g[2], g[5]);
    if (columnStep == 0.0 || rowStep == 0.0)
        return QStringLiteral("its cell size is zero");
    if (!negligible(g[1] * g[2] + g[4] * g[5], columnStep * rowStep))
        return QStringLiteral("its geotransform is sheared (the grid axes are not perpendicular); "
                              "only grids with perpendicular axes can be filtered");
    if (negligible(g[4], columnStep) && negligible(g[2], rowStep)) {
        layout.swapped = false;
    } else if (negligible(g[1], columnStep) && negligible(g[5], rowStep)) {
        layout.swapped = true;
    } else {
        const double angle = std::atan2(g[4], g[1]) * 180.0 / M_PI;
        return QStringLiteral("it is rotated by %1 degrees; only rotations by multiples of 90 degrees "
                              "can be filtered").arg(angle, 0, 'g', 6);
    }
    if (columns <= 0 || rows <= 0)
        return QStringLiteral("it has no cells");
    if (columns > kMaxCellsPerAxis || rows > kMaxCellsPerAxis)
        return QStringLiteral("it has %1 x %2 cells; at most %3 cells along each axis can be filtered")
            .arg(columns).arg(rows).arg(kMaxCellsPerAxis);
    // Finite steps can still carry the far corner past the largest double.
    if (!std::isfinite(g[0] + columns * g[1] + rows * g[2]) || !std::isfinite(g[3] + columns * g[4] + rows * g[5]))
        return QStringLiteral("its extent is not finite (cell size %1 x %2 from %3, %4)")
            .arg(columnStep, 0, 'g', 6).arg(rowStep, 0, 'g', 6).arg(g[0], 0, 'g', 6).arg(g[3], 0, 'g', 6);
    fillHostAxes(layout);
    return QString();
}

RasterLayout northUpLayout(const Tavorin::I2DGridGeometry& geometry)
{
    const double g[6] = {geometry.origin().x, geometry.uSize(), 0.0,
                         geometry.origin().y + geometry.nCellV() * geometry.vSize(), 0.0, -geometry.vSize()};
    RasterLayout layout;
    makeLayout(geometry.nCellU(), geometry.nCellV(), g, layout);
    return layout;
}

} // namespace spectrafil
