// The spectrum file read by the inverse run. The first byte picks the filter section, so that
// the single pass, the multi-pass responses (which read the header again) and peak picking all
// read the fuzzed file; the rest of the input is the file.

#include "fuzz_support.h"
#include "inverse_run.h"

#include <string>

namespace {

const char* const FILTER_SECTIONS[] = {
    "2 0 0 1\n1 1 50 25\n",                       // low pass
    "2 0 0 1\n2 0 0 0\n3\n0\n",                   // vertical derivative
    "2 1 0 2\n3 0 0 0\n-10\n",                    // continuation with peak picking, grid kept
    "2 0 0 1\n11 0 0 0\n10 60\n",                 // field components
    "2 0 0 1\n12 0 0 0\n5\n",                     // horizontal gradient
    "2 0 1 1\n5 0 0 0\n10 60 10 60\n",            // reduction to the pole with the spectrum record
};
const size_t SECTION_COUNT = sizeof FILTER_SECTIONS / sizeof FILTER_SECTIONS[0];

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::EnterScratchFolder("fuzz_spectrum_file");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    std::string control = fuzz::SpectrumSection(8, 6) + "Perform filtering\n" + FILTER_SECTIONS[data[0] % SECTION_COUNT];
    fuzz::WriteFile("FILTER.INP", control);
    fuzz::WriteFile("fpt15_2D_FWD_SPEC_FILTER.BIN", data + 1, size - 1);
    FilterPoints output;
    InverseRun run("FILTER.INP", &output);
    run.DUVERU2_inv();
    return 0;
}
