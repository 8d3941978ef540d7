#pragma once
// A point or direction in world coordinates. The fields are public: callers read x, y and z directly.

namespace Tavorin {

class I3DVector {
public:
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    I3DVector() = default;
    I3DVector(double x_, double y_, double z_ = 0.0) : x(x_), y(y_), z(z_) {}

    I3DVector operator+(const I3DVector& o) const { return {x + o.x, y + o.y, z + o.z}; }
    I3DVector operator-(const I3DVector& o) const { return {x - o.x, y - o.y, z - o.z}; }
    I3DVector operator*(double s) const { return {x * s, y * s, z * s}; }
    bool operator==(const I3DVector& o) const { return x == o.x && y == o.y && z == o.z; }
    bool operator!=(const I3DVector& o) const { return !(*this == o); }
};

} // namespace Tavorin
