#pragma once
// The survey the closed-form tests filter: 64 by 64 cells of 50 m from (0, 0) over a sphere of
// radius 150 m and susceptibility 0.05, 400 m below the middle, and the comparison of a result
// with its truth away from the grid's edges.

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

// A value for each cell, given its id and centre.
using CellValue = std::function<double(unsigned id, const Tavorin::I3DVector& centre)>;

// RMS of (a - b) over the interior cells, relative to the RMS of b there.
inline double relativeRmsDifference(const Tavorin::I2DGridMesh* grid, const CellValue& a, const CellValue& b)
{
    const Tavorin::I2DGridGeometry& g = grid->get2DGridGeometry();
    double error = 0, norm = 0;
    for (int v = Border; v < g.nCellV() - Border; ++v)
        for (int u = Border; u < g.nCellU() - Border; ++u) {
            const unsigned int id = g.cellID(u, v);
            const Tavorin::I3DVector c = g.cellCenter(static_cast<int>(id));
            const double t = b(id, c);
            error += (a(id, c) - t) * (a(id, c) - t);
            norm += t * t;
        }
    return std::sqrt(error / norm);
}

inline CellValue valuesOf(const Tavorin::IBaseDataFloat* item)
{
    return [item](unsigned id, const Tavorin::I3DVector&) { return double(item->value(id)); };
}

} // namespace sphere_survey
