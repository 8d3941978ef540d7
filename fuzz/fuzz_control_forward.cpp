// The spectrum section of the control file, read by a forward run that is handed its points.

#include "forward_run.h"
#include "fuzz_support.h"

namespace {
FilterPoints points;
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::EnterScratchFolder("fuzz_control_forward");
    points = fuzz::SmallGrid(8, 6);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::WriteFile("FILTER.INP", data, size);
    ForwardRun run("FILTER.INP", &points);
    run.SetMemoryLimit(fuzz::RUN_MEMORY_LIMIT);
    run.Execute();
    return 0;
}
