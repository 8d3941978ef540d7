#pragma once
// The survey the closed-form tests filter: 64 by 64 cells of 50 m from (0, 0) over a sphere of
// radius 150 m and susceptibility 0.05, 400 m below the middle, and the comparison of a result
// with its truth away from the grid's edges (which any filter test may use).

#include "synth_fields.h"

#include "I2DGridMesh.h"
#include "IBaseDataFloat.h"

#include <cmath>
#include <functional>

namespace sphere_survey {

constexpr int Cells = 64;
constexpr double CellSize = 50;
constexpr int Border = 10; // cells left out of the comparisons on every side
const synth::InducingField Field{60, 20, 50000};
const synth::Vec3 Centre{1600, 1600, -400};
const synth::Dipole Body = synth::inducedSphere(Centre, 150, 0.05, Field);

using Field2D = std::function<double(double x, double y)>;

struct Rms {
    double error, truth;
};

// RMS of (result - truth) over the cells at least border cells from the edges, and that of the truth.
inline Rms interiorRms(const Tavorin::I2DGridMesh* grid, const Tavorin::IBaseDataFloat* result, const Field2D& truth,
                       int border = Border)
{
    const Tavorin::I2DGridGeometry& g = grid->get2DGridGeometry();
    double error = 0, norm = 0, n = 0;
    for (int v = border; v < g.nCellV() - border; ++v)
        for (int u = border; u < g.nCellU() - border; ++u) {
            const unsigned int id = g.cellID(u, v);
            const Tavorin::I3DVector c = g.cellCenter(static_cast<int>(id));
            const double t = truth(c.x, c.y);
            error += (result->value(id) - t) * (result->value(id) - t);
            norm += t * t;
            ++n;
        }
    return {std::sqrt(error / n), std::sqrt(norm / n)};
}

inline double relativeRms(const Tavorin::I2DGridMesh* grid, const Tavorin::IBaseDataFloat* result, const Field2D& truth)
{
    const Rms rms = interiorRms(grid, result, truth);
    return rms.error / rms.truth;
}

// The item's values as a field over the grid.
inline Field2D valuesOf(const Tavorin::I2DGridMesh* grid, const Tavorin::IBaseDataFloat* item)
{
    return [grid, item](double x, double y) { return double(item->value(grid->get2DGridGeometry().cellID(Tavorin::I3DVector(x, y)))); };
}

} // namespace sphere_survey
