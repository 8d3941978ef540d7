#include "IBoundingBox.h"

#include <algorithm>

namespace Tavorin {

IBoundingBox::IBoundingBox(const I3DVector& min, const I3DVector& max)
{
    extend(min);
    extend(max);
}

void IBoundingBox::extend(const I3DVector& point)
{
    if (!valid_) {
        min_ = max_ = point;
        valid_ = true;
        return;
    }
    min_ = {std::min(min_.x, point.x), std::min(min_.y, point.y), std::min(min_.z, point.z)};
    max_ = {std::max(max_.x, point.x), std::max(max_.y, point.y), std::max(max_.z, point.z)};
}

bool IBoundingBox::contains(const I3DVector& point) const
{
    return valid_ && point.x >= min_.x && point.x <= max_.x && point.y >= min_.y && point.y <= max_.y
        && point.z >= min_.z && point.z <= max_.z;
}

} // namespace Tavorin
