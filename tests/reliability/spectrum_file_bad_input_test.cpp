// The spectrum file as the inverse run meets it: from another grid, or claiming a huge grid in a
// few bytes; and the forward run writing it into a folder it cannot write.

#include "engine_runs.h"
#include "scratch_dir.h"

#include <sys/stat.h>

#include <cstdint>

using namespace reliability;

namespace {

void SoundSpectrum(int nx, int ny)
{
    FilterPoints points = GridPoints(nx, ny);
    WriteBytes("FILTER.INP", LowPass(nx, ny));
    ASSERT_TRUE(Forward(&points).ok);
}

// A header claiming NX = NY = LX = LY = 32768 (about 10^9 cells, 8.6 GB of filtered grid) with
// one data cell and its four range entries, and nothing after.
std::string HugeClaim()
{
    std::string bytes;
    auto put = [&bytes](const auto& v) { bytes.append(reinterpret_cast<const char*>(&v), sizeof v); };
    for (double d : {0.0, 1.0, 0.0, 1.0, 10.0, 10.0, 0.0, 0.0})
        put(d);
    for (int32_t n : {32768, 32768, 32768, 32768})
        put(n);
    for (double d : {0.0, 1.0, 0.0})
        put(d);
    for (int32_t n : {0, 0, 1, 1, 1, 1, 1, 1, 1, 1})
        put(n);
    return bytes;
}

} // namespace

// The spectrum of another grid is read as its own header says: the points of that grid.
TEST(SpectrumFileBadInput, ForeignSpectrumIsReadAsItClaims)
{
    ScratchDir dir;
    SoundSpectrum(12, 9);
    WriteBytes("FILTER.INP", LowPass(8, 6));
    Outcome foreign = Inverse();
    ASSERT_TRUE(foreign.ok) << foreign.err;
    EXPECT_EQ(foreign.points.size(), 12u * 9 * 3);
}

// A few bytes claiming 10^9 cells used to size the 8.6 GB filtered grid before the first row
// was read. Under an address-space cap the run must end with its own message, not an
// allocation failure or a crash.
TEST(SpectrumFileBadInput, HugeClaimIsRefusedBeforeAllocating)
{
    ScratchDir dir;
    WriteBytes("FILTER.INP", LowPass(8, 6));
    WriteBytes(SPECTRUM_FILE, HugeClaim());
    int status = RunInChild(
        [] {
            FilterPoints output;
            InverseRun run("FILTER.INP", &output);
            bool ok = run.DUVERU2_inv();
            std::string log = ReadBytes("fpt6_2D_INV_AIRFILT_FILTER.OUT");
            return !ok && output.empty() && log.find("ends inside spectrum row 1 of 16385") != std::string::npos ? 0 : 1;
        },
        {256, -1, false});
    EXPECT_EQ(status, 0);
}

// The forward run in a folder it may not write: the spectrum file cannot be opened. Root is
// dropped in a child so that the folder's permissions apply.
TEST(SpectrumFileBadInput, UnwritableFolderStopsTheForwardRun)
{
    ScratchDir dir;
    WriteBytes("FILTER.INP", LowPass(8, 6));
    ASSERT_EQ(chmod(".", 0555), 0);
    ASSERT_EQ(chmod("FILTER.INP", 0444), 0);
    int status = RunInChild(
        [] {
            FilterPoints points = GridPoints(8, 6);
            ForwardRun run("FILTER.INP", &points);
            return run.Execute() ? 1 : 0;
        },
        {0, -1, true});
    chmod(".", 0700);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(Listing("."), std::set<std::string>{"FILTER.INP"});
}
