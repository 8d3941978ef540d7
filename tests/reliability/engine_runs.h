#pragma once
// Engine runs for the bad-input tests: the spectrum section of a small grid, its points, and
// forward and inverse runs on "FILTER.INP" in the current folder with their streams captured.

#include "filter_points.h"
#include "forward_run.h"
#include "inverse_run.h"
#include "reliability_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

namespace reliability {

const char* const SPECTRUM_FILE = "fpt15_2D_FWD_SPEC_FILTER.BIN";

// nx x ny cells of 10 from (1000, 2000), value f(i, j) (a smooth field by default).
inline FilterPoints GridPoints(int nx, int ny, double (*f)(int, int) = nullptr)
{
    FilterPoints points;
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i < nx; ++i)
            points.insert(points.end(), {1000.0 + 10 * i, 2000.0 + 10 * j,
                                         f ? f(i, j) : 50 * std::sin(0.7 * i) * std::cos(0.4 * j)});
    return points;
}

// Spectrum section whose window holds GridPoints(nx, ny); data file "points.xyz".
inline std::string SpectrumSection(int nx, int ny, const std::string& ambf = "0")
{
    std::ostringstream s;
    s << "Reliability\npoints.xyz\n" << 1000 + 10 * (nx - 1) << " 2000 " << 10 * (ny - 1) << " " << 10 * (nx - 1)
      << "  ! corner and extents\n10 10 ! dx, dy\n1\n2\n3\n1\n0\n20 20\n" << ambf << "\n0 0\n";
    return s.str();
}

inline std::string LowPass(int nx, int ny)
{
    return SpectrumSection(nx, ny) + "Perform filtering\n2 0 0 1\n1 1 50 25\n";
}

struct Outcome {
    bool ok = false;
    std::string err;   // standard error, then the run's log
    FilterPoints points;
};

inline Outcome Forward(const FilterPoints* points, size_t memoryLimit = 0)
{
    Outcome o;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    {
        ForwardRun run("FILTER.INP", points);
        if (memoryLimit)
            run.SetMemoryLimit(memoryLimit);
        o.ok = run.Execute();
    }
    o.err = testing::internal::GetCapturedStderr() + ReadBytes("fpt6_2D_FWD_SPECTRM_FILTER.OUT");
    testing::internal::GetCapturedStdout();
    return o;
}

inline Outcome Inverse()
{
    Outcome o;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    {
        InverseRun run("FILTER.INP", &o.points);
        o.ok = run.DUVERU2_inv();
    }
    o.err = testing::internal::GetCapturedStderr() + ReadBytes("fpt6_2D_INV_AIRFILT_FILTER.OUT");
    testing::internal::GetCapturedStdout();
    return o;
}

} // namespace reliability
