#pragma once
// Shared by the edge extrapolation and the re-centering of the extended grid.

#include "forward_state.h"

// Second-pass tail values (column, row, value), in collection order; grows as needed.
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

// Writes the second-pass values into V, takes the extended grid from their bounding box, shifts the
// range tables to it, sizes the transform, allocates STORE and writes the spectrum-file header.
bool RecenterGrid(ForwardState& s, const SecondPassList& list);
