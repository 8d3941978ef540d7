#pragma once
// Helpers of the forward-run tests: control files, point grids, a run with its streams captured.

#include "filter_points.h"
#include "forward_run.h"
#include "forward_state.h"
#include "scratch_dir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

// The twelve lines of a spectrum section for a window of cell centres (x0..x1, y0..y1).
inline std::vector<std::string> SpectrumSection(double x0, double x1, double y0, double y1, double dx, double dy,
                                                const std::string& tails = "0 0", const std::string& ambf = "0")
{
    std::ostringstream window, cells;
    window.precision(17);
    cells.precision(17);
    window << x1 << " " << y0 << " " << (y1 - y0) << " " << (x1 - x0) << "  ! corner and extents";
    cells << dx << " " << dy << " ! dx, dy";
    return {"Test section", "points.xyz", window.str(), cells.str(), "1", "2", "3", "1", "0", tails, ambf, "0 0"};
}

inline void WriteLines(const std::string& path, const std::vector<std::string>& lines)
{
    std::ofstream out(path);
    for (const std::string& line : lines)
        out << line << "\n";
}

// Points at the cell centres x0 + i dx, y0 + j dy (i < nx, j < ny) where `has` holds, row by row.
inline FilterPoints GridPoints(int nx, int ny, double x0, double y0, double dx, double dy,
                               const std::function<double(int, int)>& value,
                               const std::function<bool(int, int)>& has = nullptr)
{
    FilterPoints points;
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i < nx; ++i)
            if (!has || has(i, j))
                points.insert(points.end(), {x0 + i * dx, y0 + j * dy, value(i, j)});
    return points;
}

struct RunOutcome {
    bool ok = false;
    std::string err;
    std::string log;
};

// One forward run on "FILTER.INP" in the current folder; memoryLimit 0 keeps the default.
inline RunOutcome RunForward(const FilterPoints* points, size_t memoryLimit = 0,
                             const char* control = "FILTER.INP")
{
    RunOutcome outcome;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    {
        ForwardRun run(control, points);
        if (memoryLimit)
            run.SetMemoryLimit(memoryLimit);
        outcome.ok = run.Execute();
    }
    outcome.err = testing::internal::GetCapturedStderr();
    testing::internal::GetCapturedStdout();
    outcome.log = fileBytes("fpt6_2D_FWD_SPECTRM_FILTER.OUT");
    return outcome;
}

// A forward-run state with its work tables, for driving single stages.
struct Stage {
    ForwardState s;
    Stage()
    {
        s.memoryLimit = SIZE_MAX;
        s.D = static_cast<double*>(RunCalloc(s, 2 * static_cast<size_t>(s.DIM1), sizeof(double)));
        s.columnRange = static_cast<RangePair*>(RunCalloc(s, s.DIM1 + 1, sizeof(RangePair)));
        s.rowRange = static_cast<RangePair*>(RunCalloc(s, s.DIM1 + 1, sizeof(RangePair)));
        s.C = 3 * std::log(10.0);
    }
    ~Stage()
    {
        FreeGrid(s);
        std::free(s.D);
        std::free(s.columnRange);
        std::free(s.rowRange);
        std::free(s.STORE);
        if (s.fpt15)
            std::fclose(s.fpt15);
    }
    Stage(const Stage&) = delete;
    Stage& operator=(const Stage&) = delete;
};
