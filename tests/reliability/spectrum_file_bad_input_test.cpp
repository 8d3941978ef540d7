// The spectrum file as the inverse run meets it: empty, cut, from another grid, claiming a huge
// grid in a few bytes; and the forward run writing it into a folder it cannot write or fill.

#include "engine_runs.h"
#include "scratch_dir.h"

#include <sys/stat.h>

#include <cstdint>
#include <cstring>

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

TEST(SpectrumFileBadInput, CutOrForeignFilesAreRefusedOrReadAsTheyClaim)
{
    ScratchDir dir;
    SoundSpectrum(8, 6);
    const std::string sound = ReadBytes(SPECTRUM_FILE);
    const struct {
        const char* name;
        std::string bytes;
        const char* message;
    } cases[] = {
        {"empty", "", "ends inside its header"},
        {"cut in the header", sound.substr(0, 100), "ends inside its header"},
        {"cut in the rows", sound.substr(0, sound.size() - 100), "ends inside spectrum row"},
        {"cut to the tables", sound.substr(0, sound.size() - 16 * 16 * 9), "ends inside spectrum row 1 of 9"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes(SPECTRUM_FILE, c.bytes);
        std::string before = Digest(SPECTRUM_FILE);
        Outcome o = Inverse();
        EXPECT_FALSE(o.ok);
        EXPECT_TRUE(o.points.empty());
        EXPECT_NE(o.err.find(c.message), std::string::npos) << o.err;
        EXPECT_EQ(Digest(SPECTRUM_FILE), before);
    }

    // The spectrum of another grid is read as its own header says: the points of that grid.
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

// A full disk, made portable with a file-size limit: the forward run does not see its write
// errors, but the inverse run finds the spectrum file short and stops with a message.
TEST(SpectrumFileBadInput, FullDiskLeavesASpectrumTheInverseRunRefuses)
{
    ScratchDir dir;
    WriteBytes("FILTER.INP", LowPass(8, 6));
    int status = RunInChild(
        [] {
            FilterPoints points = GridPoints(8, 6);
            ForwardRun run("FILTER.INP", &points);
            run.Execute();
            return 0;
        },
        {0, 1024, false});
    ASSERT_EQ(status, 0);
    EXPECT_EQ(std::filesystem::file_size(SPECTRUM_FILE), 1024u);
    Outcome o = Inverse();
    EXPECT_FALSE(o.ok);
    EXPECT_TRUE(o.points.empty());
    EXPECT_NE(o.err.find("ends inside spectrum row"), std::string::npos) << o.err;
}
