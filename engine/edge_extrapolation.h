#pragma once
// Shared by the edge extrapolation and the re-centering of the extended grid.

#include "forward_state.h"

#include <algorithm>

// Second-pass tail values (column, row, value) of one column, in collection order; grows as needed.
struct SecondPassList {
    struct Entry {
        int32_t column;
        int32_t row;
        double value;
    };
    Entry* entries = nullptr;
    int64_t n = 0;
    int64_t capacity = 0;

    bool Append(ForwardState& s, int32_t column, int32_t row, double value);
    void Free(ForwardState& s);
    static size_t Bytes(int64_t count) { return static_cast<size_t>(count) * sizeof(Entry); }
};

// Bounding box of the cells the second pass filled.
struct FilledBox {
    int32_t IXMIN = 1000000, IXMAX = -1000000, IYMIN = 1000000, IYMAX = -1000000;
    bool Empty() const { return IXMIN > IXMAX; }
    void Widen(int32_t ix, int32_t iy)
    {
        IXMIN = std::min(IXMIN, ix);
        IXMAX = std::max(IXMAX, ix);
        IYMIN = std::min(IYMIN, iy);
        IYMAX = std::max(IYMAX, iy);
    }
};

// Takes the extended grid from the box of the second-pass values, shifts the range tables to it,
// sizes the transform, allocates STORE and writes the spectrum-file header.
bool RecenterGrid(ForwardState& s, FilledBox filled);
