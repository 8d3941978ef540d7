#pragma once
// Colours for maps: a perceptually uniform colour map and the value range a map spreads over it.

#include <QRgb>

namespace Tavorin {
class IBaseData;
}

namespace spectrafil {

// The "viridis" colour map of van der Walt and Smith (2015), dark blue-violet at 0 to yellow at 1;
// t outside [0, 1] is clamped.
QRgb viridis(double t);

struct ValueRange {
    double low = 0.0;
    double high = 1.0;
    bool empty = true; // the item has no value at all

    // Position of a value in the range, 0 at low and 1 at high (not clamped).
    double position(double value) const { return (value - low) / (high - low); }
};

// From the 2nd to the 98th percentile of the item's values, so that a few extreme cells (edges of
// a derivative, spikes) do not wash out the map; widened when all values are equal.
ValueRange displayRange(const Tavorin::IBaseData& data);

} // namespace spectrafil
