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

TEST(ForwardRunInput, WellFormedSectionIsLoggedAndOptionalTablesOpenOnRequest)
{
    ScratchDir dir;
    std::vector<std::string> lines = SpectrumSection(100, 140, 200, 230, 10, 10, "20 20", "-999999.2");
    lines[1] = "  does-not-exist.xyz \t";
    WriteLines("FILTER.INP", lines);
    FilterPoints points = Plane(5, 4);
    RunOutcome run = RunForward(&points);
    ASSERT_TRUE(run.ok) << run.err;
    for (const char* line : {" Successfully open File : does-not-exist.xyz \n", "XECS = 140, YECS = 200, YPEXT = 30, XPEXT = 40\n",
                             " NDATA = 20\n", " NX =     5,   NY =     4\n",
                             "AV or AMBIENT READING =  6.000000E+00"})   // the mean of 1 + i + 2j
        EXPECT_TRUE(Contains(run.log, line)) << line << run.log;
    EXPECT_TRUE(std::filesystem::exists("fpt15_2D_FWD_SPEC_FILTER.BIN"));
    EXPECT_FALSE(std::filesystem::exists("fpt4_2D_FWD_EXTRAPOL_RAW_FILTER.csv"));
    EXPECT_FALSE(std::filesystem::exists("fpt3_2D_FWD_AMPSP_FILTER.csv"));
    EXPECT_FALSE(std::filesystem::exists("fpt10_2D_FWD_TAPE10_FILTER.DAT"));

    lines = SpectrumSection(100, 140, 200, 230, 10, 10);
    lines[11] = "1 1";
    WriteLines("FILTER.INP", lines);
    ASSERT_TRUE(RunForward(&points).ok);
    EXPECT_EQ(ReadAll("fpt4_2D_FWD_EXTRAPOL_RAW_FILTER.csv").rfind("X, Y, VAL\n", 0), 0u);
    // LX = 8, LY = 4: (LY/2 + 2) (LX + 1) rows after the header; LINE of ky = 0 is 10000.
    std::string table = ReadAll("fpt3_2D_FWD_AMPSP_FILTER.csv");
    EXPECT_EQ(std::count(table.begin(), table.end(), '\n'), 1 + 4 * 9);
    EXPECT_TRUE(Contains(table, "           10000\n"));
    EXPECT_TRUE(std::filesystem::exists("fpt10_2D_FWD_TAPE10_FILTER.DAT"));
}

TEST(ForwardRunInput, BadParameterLinesFailTheRunNamingTheLine)
{
    struct Case {
        int line;
        std::string text;
        const char* message;
    };
    const Case cases[] = {
        {4, "ten ten", " *** Line 4 of control file FILTER.INP is missing or does not hold DXP DYP\n"},
        {7, "", " *** Line 7 of control file FILTER.INP is missing or does not hold a data position\n"},
        {10, "5 ! only one", " *** Line 10 of control file FILTER.INP is missing or does not hold TAILX TAILY\n"},
        {4, "0 10", " *** Line 4 of control file FILTER.INP: the cell sizes must be positive\n"},
        {6, "0", " *** Line 6 of control file FILTER.INP: a data position counts columns from 1\n"},
    };
    FilterPoints points = Plane(5, 4);
    for (const Case& c : cases) {
        ScratchDir dir;
        std::vector<std::string> lines = SpectrumSection(100, 140, 200, 230, 10, 10);
        lines[c.line - 1] = c.text;
        WriteLines("FILTER.INP", lines);
        RunOutcome run = RunForward(&points);
        EXPECT_FALSE(run.ok) << c.line;
        EXPECT_TRUE(Contains(run.err, c.message) && Contains(run.log, c.message)) << run.err;
    }
    ScratchDir dir;
    std::vector<std::string> lines = SpectrumSection(100, 140, 200, 230, 10, 10);
    lines.resize(11); // no line 12
    WriteLines("FILTER.INP", lines);
    RunOutcome run = RunForward(&points);
    EXPECT_FALSE(run.ok);
    EXPECT_TRUE(Contains(run.err, "Line 12 of control file FILTER.INP is missing")) << run.err;
}

TEST(ForwardRunInput, DataFileIsReadUntilAShortLine)
{
    ScratchDir dir;
    WriteLines("FILTER.INP", SpectrumSection(0, 20, 0, 10, 10, 10));
    WriteLines("points.xyz", {"0 0 1", "10,0,2", "\"20\" 0 3", "0 10", "10 10 5", "20 10 6"});
    RunOutcome run = RunForward(nullptr);
    ASSERT_TRUE(run.ok) << run.err;
    EXPECT_TRUE(Contains(run.err, "Specified data position is larger than the number of columns in the data file!\n"));
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

TEST(ForwardRunFailures, EmptyWindowStops)
{
    ScratchDir dir;
    WriteLines("FILTER.INP", SpectrumSection(0, 20, 0, 10, 10, 10));
    FilterPoints points = GridPoints(3, 3, 1000, 1000, 10, 10, [](int, int) { return 1.0; });
    RunOutcome run = RunForward(&points);
    EXPECT_FALSE(run.ok);
    EXPECT_TRUE(Contains(run.log, " NDATA = 0\n ***** NO DATA DETECTED IN DESIGNATED AREA *****\n *** STOP CALLED ***\n"
                                  " *** Error 10"));
    EXPECT_EQ(run.err, " *** Error 10");
    EXPECT_TRUE(std::filesystem::exists("fpt15_2D_FWD_SPEC_FILTER.BIN")); // left as it is
}

TEST(ForwardRunFailures, AllocationsBeyondTheMemoryLimitStopTheRun)
{
    ScratchDir dir;
    // 65 x 65 cells without tails: V takes 33 808 bytes, STORE (LY = 128) 65 x 65 x 16 = 67 600.
    WriteLines("FILTER.INP", SpectrumSection(0, 640, 0, 640, 10, 10));
    FilterPoints points = Plane(65, 65);
    for (int i = 0; i < 65 * 65; ++i) { // shift the plane into the window
        points[3 * i] -= 100;
        points[3 * i + 1] -= 200;
    }
    RunOutcome noD = RunForward(&points, 1000);
    EXPECT_FALSE(noD.ok);
    EXPECT_EQ(noD.err, " Error for variable D:  Insufficient memory - Execute\n");

    RunOutcome noV = RunForward(&points, static_cast<size_t>(BASE_MEMORY + 20000));
    EXPECT_FALSE(noV.ok);
    EXPECT_TRUE(Contains(noV.log, " *** Allocate memory Error for variable V: Execute \n"));
    EXPECT_EQ(noV.err, " *** Allocate memory Error for variable V: Execute \n");

    RunOutcome noStore = RunForward(&points, static_cast<size_t>(BASE_MEMORY + 66 * 8 + 33808 + 40000));
    EXPECT_FALSE(noStore.ok);
    EXPECT_TRUE(Contains(noStore.log, " *** Memory allocation error: Variable STORE\n")) << noStore.log;

    // 20 x 20 cells with tails of 8 cells: 640 entries of 32 bytes in UNIT8_ARR, V 36 x 36 cells.
    WriteLines("FILTER.INP", SpectrumSection(0, 190, 0, 190, 10, 10, "1000 1000"));
    FilterPoints small = GridPoints(20, 20, 0, 0, 10, 10, [](int i, int) { return i; });
    RunOutcome noUnit8 = RunForward(&small, static_cast<size_t>(BASE_MEMORY + 37 * 8 + 36 * 36 * 8 + 8 + 10000));
    EXPECT_FALSE(noUnit8.ok);
    EXPECT_TRUE(Contains(noUnit8.log, " *** Allocate memory Error for variable UNIT8_ARR: Execute \n"))
        << noUnit8.log;
}
