#pragma once
// Axis-aligned box in world coordinates. A default box is empty (invalid) until a point is added.

#include "I3DVector.h"

namespace Tavorin {

class IBoundingBox {
public:
    IBoundingBox() = default;
    IBoundingBox(const I3DVector& min, const I3DVector& max);

    const I3DVector& min() const { return min_; }
    const I3DVector& max() const { return max_; }
    bool isValid() const { return valid_; }

    // Grows the box so that it holds the point.
    void extend(const I3DVector& point);
    bool contains(const I3DVector& point) const;

private:
    I3DVector min_;
    I3DVector max_;
    bool valid_ = false;
};

} // namespace Tavorin
