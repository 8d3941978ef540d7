#include "forward_test_support.h"
#include "scratch_dir.h"

#include <filesystem>

namespace {

const double BASE_MEMORY = 2 * 32768 * 8.0 + 2 * 32769 * 8.0; // D and the two range tables

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

FilterPoints Plane(int nx, int ny)
{
    return GridPoints(nx, ny, 100, 200, 10, 10, [](int i, int j) { return 1.0 + i + 2.0 * j; });
}

} // namespace

// The level is the mean when asked for (the data window's test); the optional tables open only on request.
TEST(ForwardRunInput, OptionalTablesOpenOnRequest)
{
    ScratchDir dir;
    std::vector<std::string> lines = SpectrumSection(100, 140, 200, 230, 10, 10);
    WriteLines("FILTER.INP", lines);
    FilterPoints points = Plane(5, 4);
    ASSERT_TRUE(RunForward(&points).ok);
    EXPECT_FALSE(std::filesystem::exists("fpt3_2D_FWD_AMPSP_FILTER.csv"));

    lines[11] = "1 1";
    WriteLines("FILTER.INP", lines);
    ASSERT_TRUE(RunForward(&points).ok);
    EXPECT_EQ(fileBytes("fpt4_2D_FWD_EXTRAPOL_RAW_FILTER.csv").rfind("X, Y, VAL\n", 0), 0u);
    // LX = 8, LY = 4: (LY/2 + 2) (LX + 1) rows after the header; LINE of ky = 0 is 10000.
    std::string table = fileBytes("fpt3_2D_FWD_AMPSP_FILTER.csv");
    EXPECT_EQ(std::count(table.begin(), table.end(), '\n'), 1 + 4 * 9);
    EXPECT_TRUE(Contains(table, "           10000\n"));
    EXPECT_TRUE(std::filesystem::exists("fpt10_2D_FWD_TAPE10_FILTER.DAT"));
}

TEST(ForwardRunInput, DataFileIsReadUntilAShortLine)
{
    ScratchDir dir;
    WriteLines("FILTER.INP", SpectrumSection(0, 20, 0, 10, 10, 10));
    WriteLines("points.xyz", {"0 0 1", "10,0,2", "\"20\" 0 3", "0 10", "10 10 5", "20 10 6"});
    RunOutcome run = RunForward(nullptr);
    ASSERT_TRUE(run.ok) << run.err;
    EXPECT_TRUE(Contains(run.log, " NDATA = 3\n")) << run.log;
    EXPECT_TRUE(Contains(run.log, " NX =     3,   NY =     1\n")) << run.log;
}

TEST(ForwardRunInput, MissingFilesAndLongNamesFailCleanly)
{
    ScratchDir dir;
    EXPECT_TRUE(Contains(RunForward(nullptr, 0, "NOPE.INP").err, " *** Open File Error: NOPE.INP \n"));
    WriteLines("FILTER.INP", SpectrumSection(0, 20, 0, 10, 10, 10));
    RunOutcome noData = RunForward(nullptr);
    EXPECT_FALSE(noData.ok);
    EXPECT_TRUE(Contains(noData.log, " *** Open File Error: points.xyz \n"));
    FilterPoints points = Plane(3, 3);
    RunOutcome tooLong = RunForward(&points, 0, std::string(1100, 'a').c_str());
    EXPECT_FALSE(tooLong.ok);
    EXPECT_TRUE(Contains(tooLong.err, "Control file name longer than 1023 characters")) << tooLong.err;
}

// Each work table is checked against the limit where it is allocated.
TEST(ForwardRunFailures, AllocationsBeyondTheMemoryLimitStopTheRun)
{
    ScratchDir dir;
    // 65 x 65 cells without tails: V takes 33 808 bytes, STORE (LY = 128) 65 x 65 x 16 = 67 600.
    WriteLines("FILTER.INP", SpectrumSection(0, 640, 0, 640, 10, 10));
    FilterPoints points = GridPoints(65, 65, 0, 0, 10, 10, [](int i, int j) { return 1.0 + i + 2.0 * j; });
    // 20 x 20 cells with tails of 8 cells: 640 entries of 32 bytes in UNIT8_ARR, V 36 x 36 cells.
    FilterPoints small = GridPoints(20, 20, 0, 0, 10, 10, [](int i, int) { return i; });
    const struct {
        const FilterPoints* points;
        double limit;
        const char* message;
    } cases[] = {
        {&points, 1000, " Error for variable D:  Insufficient memory - Execute\n"},
        {&points, BASE_MEMORY + 20000, " *** Allocate memory Error for variable V: Execute \n"},
        {&points, BASE_MEMORY + 66 * 8 + 33808 + 40000, " *** Memory allocation error: Variable STORE\n"},
        {&small, BASE_MEMORY + 37 * 8 + 36 * 36 * 8 + 8 + 10000, " *** Allocate memory Error for variable UNIT8_ARR: Execute \n"},
    };
    for (const auto& c : cases) {
        if (c.points == &small)
            WriteLines("FILTER.INP", SpectrumSection(0, 190, 0, 190, 10, 10, "1000 1000"));
        RunOutcome run = RunForward(c.points, static_cast<size_t>(c.limit));
        EXPECT_FALSE(run.ok) << c.message;
        EXPECT_TRUE(Contains(run.err + run.log, c.message)) << run.err << run.log;
    }
}
