#pragma once
// Geometry of a regular 2D grid: nCellU columns of width uSize along the u axis and nCellV rows of
// height vSize along the v axis, starting at the origin (the grid's lower-left corner). The axes are
// turned counter-clockwise by rotation() degrees about the origin; any angle is kept as given.
//
// Cell ids run row by row: id = v * nCellU + u. A cell owns its lower u and v edges, so a point on
// an edge shared by two cells belongs to the cell with the higher index along that axis; the last
// column and the last row also own the grid's far outer edges. A point up to 1e-9 of a cell
// width outside an outer edge counts as on it, so corners computed in floating point fall inside.

#include "I3DVector.h"
#include "IBoundingBox.h"

namespace Tavorin {

class I2DGridGeometry {
public:
    static constexpr unsigned int InvalidCellID = 0xFFFFFFFFu;

    I2DGridGeometry() = default;
    // Non-positive counts or sizes make an empty grid (no cells).
    I2DGridGeometry(const I3DVector& origin, double uSize, double vSize, int nCellU, int nCellV,
                    double rotation = 0.0);

    const I3DVector& origin() const { return origin_; }
    double rotation() const { return rotation_; }
    int nCellU() const { return nCellU_; }
    int nCellV() const { return nCellV_; }
    double uSize() const { return uSize_; }
    double vSize() const { return vSize_; }
    unsigned int cellCount() const;

    // InvalidCellID (0xFFFFFFFF) for a cell or point outside the grid.
    unsigned int cellID(int u, int v) const;
    unsigned int cellID(const I3DVector& point) const;
    // Column and row of a cell; false for an id outside the grid.
    bool cellUV(unsigned int id, int& u, int& v) const;
    // Centre of the cell in world coordinates (z of the origin); NaN x and y for an id outside.
    I3DVector cellCenter(int id) const;

    // Axis-aligned box around the (possibly rotated) grid, flat at the origin's z.
    IBoundingBox boundingBox() const;

    // World point at distances a along u and b along v from the origin.
    I3DVector toWorld(double a, double b) const;

private:
    bool isEmpty() const { return cellCount() == 0; }

    I3DVector origin_;
    double uSize_ = 0.0;
    double vSize_ = 0.0;
    int nCellU_ = 0;
    int nCellV_ = 0;
    double rotation_ = 0.0;
    double cos_ = 1.0; // of the rotation, exact for multiples of 90 degrees
    double sin_ = 0.0;
};

} // namespace Tavorin
