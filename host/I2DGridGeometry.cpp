#include "I2DGridGeometry.h"

#include <cmath>
#include <limits>

namespace Tavorin {

namespace {

constexpr double EdgeTolerance = 1e-9; // in cells

// Quarter turns get exact cosines and sines, so axis-parallel grids have no rounding from trigonometry.
void rotationAxes(double degrees, double& c, double& s)
{
    double turn = std::fmod(degrees, 360.0);
    if (turn < 0.0)
        turn += 360.0;
    if (turn == 0.0) {
        c = 1.0, s = 0.0;
    } else if (turn == 90.0) {
        c = 0.0, s = 1.0;
    } else if (turn == 180.0) {
        c = -1.0, s = 0.0;
    } else if (turn == 270.0) {
        c = 0.0, s = -1.0;
    } else {
        const double radians = degrees * (3.14159265358979323846 / 180.0);
        c = std::cos(radians);
        s = std::sin(radians);
    }
}

// Index of the cell holding fractional position f (in cells) along an axis of n cells, or -1.
int cellIndex(double f, int n)
{
    if (!(f >= -EdgeTolerance && f <= n + EdgeTolerance))
        return -1;
    if (f < 0.0)
        return 0;
    const int index = static_cast<int>(std::floor(f));
    return index < n ? index : n - 1;
}

} // namespace

I2DGridGeometry::I2DGridGeometry(const I3DVector& origin, double uSize, double vSize, int nCellU, int nCellV,
                                 double rotation)
    : origin_(origin)
    , uSize_(uSize)
    , vSize_(vSize)
    , nCellU_(nCellU)
    , nCellV_(nCellV)
    , rotation_(rotation)
{
    rotationAxes(rotation, cos_, sin_);
}

unsigned int I2DGridGeometry::cellCount() const
{
    if (nCellU_ <= 0 || nCellV_ <= 0 || !(uSize_ > 0.0) || !(vSize_ > 0.0))
        return 0;
    return static_cast<unsigned int>(nCellU_) * static_cast<unsigned int>(nCellV_);
}

unsigned int I2DGridGeometry::cellID(int u, int v) const
{
    if (isEmpty() || u < 0 || v < 0 || u >= nCellU_ || v >= nCellV_)
        return InvalidCellID;
    return static_cast<unsigned int>(v) * static_cast<unsigned int>(nCellU_) + static_cast<unsigned int>(u);
}

unsigned int I2DGridGeometry::cellID(const I3DVector& point) const
{
    if (isEmpty())
        return InvalidCellID;
    const double dx = point.x - origin_.x;
    const double dy = point.y - origin_.y;
    const double a = dx * cos_ + dy * sin_;
    const double b = -dx * sin_ + dy * cos_;
    const int u = cellIndex(a / uSize_, nCellU_);
    const int v = cellIndex(b / vSize_, nCellV_);
    return u < 0 || v < 0 ? InvalidCellID : cellID(u, v);
}

bool I2DGridGeometry::cellUV(unsigned int id, int& u, int& v) const
{
    if (id >= cellCount())
        return false;
    u = static_cast<int>(id % static_cast<unsigned int>(nCellU_));
    v = static_cast<int>(id / static_cast<unsigned int>(nCellU_));
    return true;
}

I3DVector I2DGridGeometry::cellCenter(int id) const
{
    int u = 0;
    int v = 0;
    if (id < 0 || !cellUV(static_cast<unsigned int>(id), u, v)) {
        const double nan = std::numeric_limits<double>::quiet_NaN();
        return {nan, nan, origin_.z};
    }
    return toWorld((u + 0.5) * uSize_, (v + 0.5) * vSize_);
}

IBoundingBox I2DGridGeometry::boundingBox() const
{
    const double width = nCellU_ > 0 ? nCellU_ * uSize_ : 0.0;
    const double height = nCellV_ > 0 ? nCellV_ * vSize_ : 0.0;
    IBoundingBox box;
    box.extend(toWorld(0.0, 0.0));
    box.extend(toWorld(width, 0.0));
    box.extend(toWorld(0.0, height));
    box.extend(toWorld(width, height));
    return box;
}

I3DVector I2DGridGeometry::toWorld(double a, double b) const
{
    return {origin_.x + a * cos_ - b * sin_, origin_.y + a * sin_ + b * cos_, origin_.z};
}

} // namespace Tavorin
