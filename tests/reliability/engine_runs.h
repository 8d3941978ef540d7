#pragma once
// The engine bad-input tests' small smooth grid and its spectrum section as one text, on the
// forward-run tests' helpers.

#include "forward_test_support.h"
#include "reliability_support.h"

namespace reliability {

const char* const SPECTRUM_FILE = "fpt15_2D_FWD_SPEC_FILTER.BIN";

// nx x ny cells of 10 from (1000, 2000) holding a smooth field.
inline FilterPoints SmoothGrid(int nx, int ny)
{
    return GridPoints(nx, ny, 1000, 2000, 10, 10, [](int i, int j) { return 50 * std::sin(0.7 * i) * std::cos(0.4 * j); });
}

// The spectrum section whose window holds SmoothGrid(nx, ny), tails of 20, data file "points.xyz".
inline std::string SpectrumText(int nx, int ny, const std::string& ambf = "0")
{
    std::string text;
    for (const std::string& line : SpectrumSection(1000, 1000 + 10 * (nx - 1), 2000, 2000 + 10 * (ny - 1), 10, 10, "20 20", ambf))
        text += line + "\n";
    return text;
}

inline std::string LowPass(int nx, int ny)
{
    return SpectrumText(nx, ny) + "Perform filtering\n2 0 0 1\n1 1 50 25\n";
}

} // namespace reliability
