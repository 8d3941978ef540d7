// The data file of a forward run that is given no points: window 0..1000 by 0..1000, cells of 50,
// X, Y and value in columns 1 to 3.

#include "forward_run.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::EnterScratchFolder("fuzz_data_file");
    fuzz::WriteFile("FILTER.INP", "Fuzz data file\ndata.xyz\n1000 0 1000 1000\n50 50\n1\n2\n3\n1\n0\n"
                                  "150 150\n-999999\n0 0\n");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::WriteFile("data.xyz", data, size);
    ForwardRun run("FILTER.INP", nullptr);
    run.SetMemoryLimit(fuzz::RUN_MEMORY_LIMIT);
    run.Execute();
    return 0;
}
