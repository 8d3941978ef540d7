// Bad input through the engine runs: every case ends with a clear message or a sound result,
// never a crash, and the input files are left as they were.

#include "engine_runs.h"
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

// Line n (1-based) of the small grid's spectrum section replaced by `line`.
std::string WithLine(int n, const std::string& line)
{
    std::istringstream in(SpectrumSection(8, 6));
    std::string out, current;
    for (int k = 1; std::getline(in, current); ++k)
        out += (k == n ? line : current) + "\n";
    return out;
}

std::string Lines(int count)
{
    std::istringstream in(SpectrumSection(8, 6));
    std::string out, current;
    for (int k = 0; k < count && std::getline(in, current); ++k)
        out += current + "\n";
    return out;
}

} // namespace

TEST(EngineBadInput, ControlFileDefectsStopTheForwardRun)
{
    ScratchDir dir;
    std::string garbage;
    for (int c = 0; c < 256; ++c)
        garbage += static_cast<char>(c);
    const Case cases[] = {
        {"empty", "", "Line 3 of control file FILTER.INP is missing"},
        {"cut after line 11", Lines(11), "Line 12 of control file FILTER.INP is missing"},
        {"binary", garbage, "Line 3 of control file FILTER.INP is missing"},
        {"letters for numbers", WithLine(4, "ten 10"), "Line 4 of control file FILTER.INP is missing or does not"},
        {"NaN cell", WithLine(4, "nan 10"), "Line 4 of control file FILTER.INP: the cell sizes must be positive"},
        {"infinite extent", WithLine(3, "1070 2000 inf 70"), "Line 3 of control file FILTER.INP: the window"},
        {"zero position", WithLine(6, "0"), "Line 6 of control file FILTER.INP: a data position"},
        {"infinite tail", WithLine(10, "inf 20"), "Line 10 of control file FILTER.INP: the tail lengths"},
        {"NaN level", WithLine(11, "nan"), "Line 11 of control file FILTER.INP: AMBF must be finite"},
    };
    FilterPoints points = GridPoints(8, 6);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes("FILTER.INP", c.text);
        std::string before = Digest("FILTER.INP");
        Outcome o = Forward(&points);
        EXPECT_FALSE(o.ok);
        EXPECT_NE(o.err.find(c.message), std::string::npos) << o.err;
        EXPECT_EQ(Digest("FILTER.INP"), before);
    }
}

// A level or a value too large for the cell markers' rounding (beyond an int32 once the level is
// removed) used to reach undefined behaviour in the extrapolation; the reader refuses the level
// and skips such values, as it skips non-finite ones.
TEST(EngineBadInput, HugeLevelsAndValuesAreRefusedOrSkipped)
{
    ScratchDir dir;
    FilterPoints points = GridPoints(8, 6);
    WriteBytes("FILTER.INP", SpectrumSection(8, 6, "1e20"));
    Outcome o = Forward(&points);
    EXPECT_FALSE(o.ok);
    EXPECT_NE(o.err.find("Line 11 of control file FILTER.INP: AMBF must be finite, at most 1e8"), std::string::npos);

    WriteBytes("FILTER.INP", SpectrumSection(8, 6, "-999999") + "Perform filtering\n2 0 0 1\n1 0 0 0\n");
    const double bad[] = {1e308, -1e300, 3e9, HUGE_VAL, NAN};
    for (size_t k = 0; k < std::size(bad); ++k)
        points[2 + 3 * (20 + k)] = bad[k];   // cells inside the grid: the gap fill covers them
    ASSERT_TRUE(Forward(&points).ok);
    Outcome out = Inverse();
    ASSERT_TRUE(out.ok) << out.err;
    ASSERT_EQ(out.points.size(), points.size() - 3 * std::size(bad));   // the footprint of the usable cells
    for (double v : out.points)
        EXPECT_TRUE(std::isfinite(v));
}

TEST(EngineBadInput, DataFileDefects)
{
    ScratchDir dir;
    WriteBytes("FILTER.INP", LowPass(8, 6));
    std::string rows;
    for (int j = 0; j < 6; ++j)
        for (int i = 0; i < 8; ++i)
            rows += std::to_string(1000 + 10 * i) + " " + std::to_string(2000 + 10 * j) + " " + std::to_string(i + j) + "\n";
    const struct {
        const char* name;
        std::string data;
        bool ok;
        size_t points;   // emitted by the inverse run after a sound forward run
        const char* message;
    } cases[] = {
        {"outside the window", "0 0 5\n10 10 6\n", false, 0, "NO DATA DETECTED IN DESIGNATED AREA"},
        {"binary", std::string("\x01\xff\x00\x7f,,\"\n\t\r", 10), false, 0, "NO DATA DETECTED IN DESIGNATED AREA"},
        {"truncated row", rows.substr(0, rows.size() - 4), true, 47 * 3, nullptr},
        {"NaN, infinite and huge values", rows + "1000 2000 nan\n1010 2000 inf\n1020 2000 1e300\n", true, 48 * 3, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteBytes("points.xyz", c.data);
        std::string before = Digest("points.xyz");
        Outcome fwd = Forward(nullptr);
        EXPECT_EQ(fwd.ok, c.ok);
        if (c.message) {
            EXPECT_NE(fwd.err.find(c.message), std::string::npos) << fwd.err;
        }
        EXPECT_EQ(Digest("points.xyz"), before);
        if (!c.ok)
            continue;
        Outcome inv = Inverse();
        EXPECT_TRUE(inv.ok) << inv.err;
        EXPECT_EQ(inv.points.size(), c.points);
    }
}
