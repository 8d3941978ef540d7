#pragma once
// The points exchanged between the grid operations and the engine runs:
// a flat array of (x, y, value) triples, so its length is a multiple of 3.

#include <vector>

using FilterPoints = std::vector<double>;
