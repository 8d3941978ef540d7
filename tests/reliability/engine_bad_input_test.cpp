// Bad input through the engine runs: every case ends with a clear message or a sound result,
// never a crash, and the input files are left as they were.

#include "engine_runs.h"
#include "inverse_run_fixture.h"
#include "scratch_dir.h"

#include <iterator>
#include <vector>

using namespace reliability;

namespace {

struct Case {
    const char* name;
    std::string text;
    const char* message;   // expected in stderr or the log
};

// The small grid's spectrum section, its line n (1-based) replaced by `line`, cut after `count` lines.
std::string Section(int n = 0, const std::string& line = "", size_t count = 12)
{
    std::vector<std::string> lines = SpectrumSection(1000, 1070, 2000, 2050, 10, 10, "20 20");
    if (n > 0)
        lines[n - 1] = line;
    std::string text;
    for (size_t k = 0; k < count; ++k)
        text += lines[k] + "\n";
    return text;
}

} // namespace

TEST(EngineBadInput, ControlFileDefectsStopTheForwardRun)
{
    ScratchDir dir;
    std::string garbage;
    for (int c = 0; c < 256; ++c)
        garbage += static_cast<char>(c);
    const Case cases[] = {
        {"cut after line 11", Section(0, "", 11), "Line 12 of control file FILTER.INP is missing"},
        {"binary", garbage, "Line 3 of control file FILTER.INP is missing"},
        {"letters for numbers", Section(4, "ten 10"), "Line 4 of control file FILTER.INP is missing or does not"},
        {"NaN cell", Section(4, "nan 10"), "Line 4 of control file FILTER.INP: the cell sizes must be positive"},
        {"infinite extent", Section(3, "1070 2000 inf 70"), "Line 3 of control file FILTER.INP: the window"},
        {"zero position", Section(6, "0"), "Line 6 of control file FILTER.INP: a data position"},
        {"infinite tail", Section(10, "inf 20"), "Line 10 of control file FILTER.INP: the tail lengths"},
        {"NaN level", Section(11, "nan"), "Line 11 of control file FILTER.INP: AMBF must be finite"},
    };
    FilterPoints points = SmoothGrid(8, 6);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes("FILTER.INP", c.text);
        std::string before = Digest("FILTER.INP");
        RunOutcome o = RunForward(&points);
        EXPECT_FALSE(o.ok);
        EXPECT_NE((o.err + o.log).find(c.message), std::string::npos) << o.err << o.log;
        EXPECT_EQ(Digest("FILTER.INP"), before);
    }
}

// A level or a value too large for the cell markers' rounding (beyond an int32 once the level is
// removed) used to reach undefined behaviour in the extrapolation; the reader refuses the level
// and skips such values, as it skips non-finite ones.
TEST(EngineBadInput, HugeLevelsAndValuesAreRefusedOrSkipped)
{
    ScratchDir dir;
    FilterPoints points = SmoothGrid(8, 6);
    WriteBytes("FILTER.INP", SpectrumText(8, 6, "1e20"));
    RunOutcome o = RunForward(&points);
    EXPECT_FALSE(o.ok);
    EXPECT_NE((o.err + o.log).find("Line 11 of control file FILTER.INP: AMBF must be finite, at most 1e8"), std::string::npos);

    WriteBytes("FILTER.INP", SpectrumText(8, 6, "-999999") + "Perform filtering\n2 0 0 1\n1 0 0 0\n");
    const double bad[] = {1e308, -1e300, 3e9, HUGE_VAL, NAN};
    for (size_t k = 0; k < std::size(bad); ++k)
        points[2 + 3 * (20 + k)] = bad[k];   // cells inside the grid: the gap fill covers them
    ASSERT_TRUE(RunForward(&points).ok);
    FilterPoints out;
    ASSERT_TRUE(inverse_test::RunInverse(&out)) << fileBytes(inverse_test::LOG_NAME);
    ASSERT_EQ(out.size(), points.size() - 3 * std::size(bad));   // the footprint of the usable cells
    for (double v : out)
        EXPECT_TRUE(std::isfinite(v));
}

// A data file with no point inside the window, or no number at all, stops the forward run. (A short
// line ends the reading, and values that are not finite or too large are skipped: see the forward
// run's input tests and the huge values above.)
TEST(EngineBadInput, DataFileWithoutUsablePointsStopsTheForwardRun)
{
    ScratchDir dir;
    WriteBytes("FILTER.INP", LowPass(8, 6));
    for (const std::string& data : {std::string("0 0 5\n10 10 6\n"), std::string("\x01\xff\x00\x7f,,\"\n\t\r", 10)}) {
        WriteBytes("points.xyz", data);
        const std::string before = Digest("points.xyz");
        RunOutcome o = RunForward(nullptr);
        EXPECT_FALSE(o.ok);
        EXPECT_NE((o.err + o.log).find("NO DATA DETECTED IN DESIGNATED AREA"), std::string::npos) << o.err << o.log;
        EXPECT_EQ(Digest("points.xyz"), before);
    }
}
