// The spectrum file as the inverse run meets it: from another grid, or claiming a huge grid in a
// few bytes; and the forward run writing it into a folder it cannot write.

#include "engine_runs.h"
#include "inverse_run_fixture.h"
#include "scratch_dir.h"

#include <sys/stat.h>

using namespace reliability;

// The spectrum of another grid is read as its own header says: the points of that grid.
TEST(SpectrumFileBadInput, ForeignSpectrumIsReadAsItClaims)
{
    ScratchDir dir;
    FilterPoints points = SmoothGrid(12, 9);
    WriteBytes("FILTER.INP", LowPass(12, 9));
    ASSERT_TRUE(RunForward(&points).ok);
    WriteBytes("FILTER.INP", LowPass(8, 6));
    FilterPoints foreign;
    ASSERT_TRUE(inverse_test::RunInverse(&foreign)) << fileBytes(inverse_test::LOG_NAME);
    EXPECT_EQ(foreign.size(), 12u * 9 * 3);
}

// A few bytes claiming 10^9 cells used to size the 8.6 GB filtered grid before the first row
// was read. Under an address-space cap the run must end with its own message, not an
// allocation failure or a crash.
TEST(SpectrumFileBadInput, HugeClaimIsRefusedBeforeAllocating)
{
    ScratchDir dir;
    WriteBytes("FILTER.INP", LowPass(8, 6));
    // NX = NY = LX = LY = 32768 (about 10^9 cells, 8.6 GB of filtered grid), one data cell, and
    // nothing after the header and the range tables.
    inverse_test::SpectrumGrid huge;
    huge.NX = huge.NY = huge.LX = huge.LY = 32768;
    huge.SetFootprint(1, 1, 1, 1, [](int, int) { return true; });
    huge.Write(SPECTRUM_FILE, huge.HeaderBytes() + huge.TableBytes());
    int status = RunInChild(
        [] {
            FilterPoints output;
            InverseRun run("FILTER.INP", &output);
            bool ok = run.DUVERU2_inv();
            std::string log = fileBytes("fpt6_2D_INV_AIRFILT_FILTER.OUT");
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
            FilterPoints points = SmoothGrid(8, 6);
            ForwardRun run("FILTER.INP", &points);
            return run.Execute() ? 1 : 0;
        },
        {0, -1, true});
    chmod(".", 0700);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(Listing("."), std::set<std::string>{"FILTER.INP"});
}
