// The filter section of the control file, read by an inverse run on a sound spectrum file.

#include "fuzz_support.h"
#include "inverse_run.h"

#include <cstdlib>
#include <string>

namespace {
std::string spectrumSection;
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::EnterScratchFolder("fuzz_filter_section");
    if (!fuzz::WriteSpectrumFile(8, 6))
        std::abort();
    spectrumSection = fuzz::SpectrumSection(8, 6) + "Perform filtering\n";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::WriteFile("FILTER.INP", spectrumSection + std::string(reinterpret_cast<const char*>(data), size));
    FilterPoints output;
    InverseRun run("FILTER.INP", &output);
    run.DUVERU2_inv();
    return 0;
}
