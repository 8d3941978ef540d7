#pragma once
// The forward engine run DUVERU2_fwd: bins the data points of the control file's window onto a
// grid, extends it with tapered tails, relaxes the gaps and stores the padded 2D spectrum in the
// spectrum file. Construct, Execute once, destroy; the files are closed at destruction.

#include "filter_points.h"
#include "work_block.h"

#include <cstddef>

struct ForwardState;

class ForwardRun {
public:
    // points may be null: then the data file named on line 2 of the control file is read.
    ForwardRun(const char* controlFileName, const FilterPoints* points);
    ~ForwardRun();
    ForwardRun(const ForwardRun&) = delete;
    ForwardRun& operator=(const ForwardRun&) = delete;

    // The whole run; true when the spectrum file was completed.
    bool Execute();

    // After Execute: the block that held the half spectrum, sized for the filtered grid of an
    // inverse run on this spectrum (InverseRun::ReuseBlock). Empty when the run kept none.
    WorkBlock TakeTransformBlock();

    // Most memory the run may hold at once (default: the machine's physical memory). A table
    // that would pass it is refused like a failed allocation, before the system overcommits.
    void SetMemoryLimit(size_t bytes);

private:
    ForwardState* state;
};
