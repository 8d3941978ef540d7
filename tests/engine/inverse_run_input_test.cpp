// The inverse run's inputs: the filter section, and spectrum files that are missing, short or
// absurd. A failed run returns false, says why, and hands back nothing.

#include "inverse_run_fixture.h"
#include "scratch_dir.h"

#include <filesystem>

using namespace inverse_test;

namespace {

SpectrumGrid SmallGrid()
{
    SpectrumGrid grid;
    grid.Fill(12, 10, 16, 16, [](int ix, int iy) { return ix * 0.5 - iy * 0.25; });
    grid.SetFootprint(2, 11, 2, 9, [](int, int) { return true; });
    return grid;
}

// Runs on a broken input and checks that nothing came back and the log names the cause.
void ExpectRefused(const std::string& logText)
{
    FilterPoints points = {1.0, 2.0, 3.0};
    EXPECT_FALSE(RunInverse(&points)) << logText;
    EXPECT_EQ(points, (FilterPoints{1.0, 2.0, 3.0})) << logText;
    EXPECT_NE(fileBytes(LOG_NAME).find(logText), std::string::npos) << fileBytes(LOG_NAME);
}

}   // namespace

TEST(InverseRunInput, FilterSectionDecidesWhatComesBack)
{
    ScratchDir dir;
    SpectrumGrid grid = SmallGrid();
    grid.Write();
    // Without the marker the run emits nothing and succeeds, though the identity ran (IOUT 0).
    WriteControlFile("2 0 0 1\n2 0 0 0\n1\n0\n", false);
    FilterPoints points = {1.0, 2.0, 3.0};
    EXPECT_TRUE(RunInverse(&points));
    EXPECT_TRUE(points.empty());
    EXPECT_NE(fileBytes(LOG_NAME).find(" MIN = -1.25,   MAX = 5\n"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(POINTS_NAME));

    // Recording the spectrum of a gradient is refused before any pass.
    WriteControlFile("2 0 1 1\n12 0 0 0\n10\n");
    EXPECT_FALSE(RunInverse(&points));
    EXPECT_FALSE(std::filesystem::exists("fpt10_XDER"));

    grid.AV = 9.0;
    grid.Write();
    // Spectrum record: seven header lines, four footprint lines, then LY/2+1 rows of LX values;
    // the dump holds rows JS..JF of columns IS..IF, without the level.
    WriteControlFile("0 0 1 2\n1 0 0 0\n");
    ASSERT_TRUE(RunInverse(nullptr));
    std::istringstream record(fileBytes("fpt16_2D_INV_OUTSPEC_FILTER.TXT"));
    std::string line;
    int lines = 0;
    while (std::getline(record, line)) {
        if (++lines == 12) {
            EXPECT_EQ(std::count(line.begin(), line.end(), '('), 16);
        }
    }
    EXPECT_EQ(lines, 7 + 4 + 9);
    std::istringstream dump(fileBytes(POINTS_NAME));
    for (int iy = 2; iy <= 9; ++iy)
        for (int ix = 2; ix <= 11; ++ix) {
            double value = 0.0;
            ASSERT_TRUE(dump >> value);
            EXPECT_NEAR(value, grid.at(ix, iy), 1e-5);
        }
}

TEST(InverseRunInput, MissingAndUnopenableFilesStopTheRun)
{
    ScratchDir dir;
    ExpectRefused("**** fpt1 Open File Error: FILTER.INP \n");
    WriteControlFile("2 0 0 1\n11 0 0 0\n10 60\n");
    ExpectRefused("**** fpt15 Open File Error: fpt15_2D_FWD_SPEC_FILTER.BIN \n");
    SmallGrid().Write();
    std::filesystem::create_directory("fpt30_ZDER");   // a folder cannot be opened as a file
    ExpectRefused("**** fpt30 Open File Error: fpt30_ZDER \n");
}

TEST(InverseRunInput, ShortSpectrumFilesStopTheRun)
{
    ScratchDir dir;
    SpectrumGrid grid = SmallGrid();
    WriteControlFile("2 0 0 1\n1 0 0 0\n");
    long full = grid.HeaderBytes() + grid.TableBytes() + 16L * 16 * 9;
    const std::pair<long, const char*> cuts[] = {
        {0, "ends inside its header"},
        {grid.HeaderBytes() + 8, "ends inside its column range table"},
        {grid.HeaderBytes() + grid.TableBytes() - 4, "ends inside its row range table"},
        {full - 16, "ends inside spectrum row 9 of 9"},
    };
    for (const auto& [bytes, message] : cuts) {
        grid.Write("fpt15_2D_FWD_SPEC_FILTER.BIN", bytes);
        ExpectRefused(message);
    }
    grid.Write();
    EXPECT_EQ((long)std::filesystem::file_size("fpt15_2D_FWD_SPEC_FILTER.BIN"), full);
}

TEST(InverseRunInput, AbsurdHeadersAreRefused)
{
    ScratchDir dir;
    WriteControlFile("2 0 0 1\n1 0 0 0\n");
    auto all = [](int, int) { return true; };
    const std::function<void(SpectrumGrid&)> breakages[] = {
        [](SpectrumGrid& g) { g.LX = 24; },
        [](SpectrumGrid& g) { g.LY = 65536; },
        [](SpectrumGrid& g) { g.NX = 20; },             // more columns than LX
        [](SpectrumGrid& g) { g.NY = -3; },
        [&](SpectrumGrid& g) { g.SetFootprint(2, 13, 2, 9, all); },
        [&](SpectrumGrid& g) { g.SetFootprint(2, 11, 5, 4, all); },
        [](SpectrumGrid& g) { g.DY = 0.0; },
    };
    for (const auto& breakage : breakages) {
        SpectrumGrid grid = SmallGrid();
        breakage(grid);
        grid.Write("fpt15_2D_FWD_SPEC_FILTER.BIN", grid.HeaderBytes() + grid.TableBytes());
        ExpectRefused("**** fpt15 Header Error: fpt15_2D_FWD_SPEC_FILTER.BIN: ");
    }
}
