// Whole inverse runs on hand-made spectrum files: identity and footprint, rotation, windows,
// derivatives and continuation of sinusoids against their analytic values.

#include "inverse_run.h"
#include "inverse_run_fixture.h"
#include "scratch_dir.h"

#include <gtest/gtest.h>

using namespace inverse_test;

namespace {

const char* const LOG_NAME = "fpt6_2D_INV_AIRFILT_FILTER.OUT";

bool RunInverse(FilterPoints* points)
{
    InverseRun run("FILTER.INP", points);
    return run.DUVERU2_inv();
}

// A smooth but irregular test grid.
double Bumpy(int ix, int iy)
{
    return 30.0 * std::sin(0.37 * ix) * std::cos(0.23 * iy) + 0.8 * ix - 0.5 * iy + ((ix * 7 + iy * 13) % 5);
}

// cos(2 pi (mx (ix-1)/LX + my (iy-1)/LY)): one exact Fourier component of a periodic grid.
struct Wave {
    int mx, my;
    const SpectrumGrid* grid;
    double phase(int ix, int iy) const { return TWOPI * (mx * (ix - 1.0) / grid->LX + my * (iy - 1.0) / grid->LY); }
    double u() const { return mx / (grid->LX * grid->DX); }   // cycles per grid unit
    double v() const { return my / (grid->LY * grid->DY); }
    double k() const { return std::hypot(u(), v()); }
};

// Runs the filter lines on grid and returns the points by cell.
std::map<std::pair<int, int>, double> Filtered(const SpectrumGrid& grid, const std::string& lines)
{
    grid.Write();
    WriteControlFile(lines);
    FilterPoints points = {1.0, 2.0, 3.0};
    EXPECT_TRUE(RunInverse(&points));
    EXPECT_EQ(points.size() % 3, 0u);
    return PointsByCell(grid, points);
}

}   // namespace

TEST(InverseRun, IdentityReturnsTheFootprintWithTheLevelRestored)
{
    ScratchDir dir;
    SpectrumGrid grid;
    grid.Fill(24, 20, 32, 32, Bumpy);
    grid.AV = 250.0;
    // L-shaped data area: the north-east corner is missing; cell (8, 8) is a hole inside it.
    auto data = [](int ix, int iy) { return !(ix > 14 && iy > 12) && !(ix == 8 && iy == 8); };
    grid.SetFootprint(4, 20, 3, 17, data);
    auto cells = Filtered(grid, "2 0 0 1\n1 0 0 0\n");
    size_t expected = 0;
    for (int ix = 4; ix <= 20; ++ix)
        for (int iy = 3; iy <= 17; ++iy) {
            bool inCorner = ix > 14 && iy > 12;
            auto found = cells.find({ix, iy});
            ASSERT_EQ(found != cells.end(), !inCorner) << ix << ", " << iy;
            if (inCorner)
                continue;
            ++expected;
            EXPECT_NEAR(found->second, grid.at(ix, iy) + 250.0, 1e-9) << ix << ", " << iy;
        }
    EXPECT_EQ(cells.size(), expected);   // the hole (8, 8) is among them
    EXPECT_NE(ReadText(LOG_NAME).find(" MIN = "), std::string::npos);
}

TEST(InverseRun, RotatedOutputAndPointsFile)
{
    ScratchDir dir;
    SpectrumGrid grid;
    grid.Fill(16, 16, 16, 16, Bumpy);
    grid.CT = std::cos(0.5);
    grid.ST = std::sin(0.5);
    grid.SetFootprint(3, 12, 4, 10, [](int, int) { return true; });
    grid.Write();
    WriteControlFile("2 0 0 1\n0 5 0 0\n");   // IND 0 means the window alone, and no window
    InverseRun run("FILTER.INP", nullptr);
    ASSERT_TRUE(run.DUVERU2_inv());
    run.Close();
    std::istringstream text(ReadText("fpt17_2D_INV_FLT_FILTER.TXT"));
    double X, Y, value;
    int count = 0;
    while (text >> X >> Y >> value) {
        // Undo X' = CT X + ST Y, Y' = CT Y - ST X, then find the cell.
        double gx = grid.CT * X - grid.ST * Y, gy = grid.ST * X + grid.CT * Y;
        int ix = (int)std::lround((gx - grid.XPMIN) / grid.DX) + 1;
        int iy = (int)std::lround((gy - grid.YPMIN) / grid.DY) + 1;
        EXPECT_NEAR(gx, grid.X(ix), 1e-3);
        EXPECT_NEAR(gy, grid.Y(iy), 1e-3);
        EXPECT_NEAR(value, grid.at(ix, iy), 1e-5 * std::fabs(value) + 1e-12);
        ++count;
    }
    EXPECT_EQ(count, 10 * 7);
}

TEST(InverseRun, LowAndHighPassSeparateTwoWaves)
{
    ScratchDir dir;
    SpectrumGrid grid;
    Wave longWave{1, 0, &grid}, shortWave{0, 16, &grid};   // 640 and 40 grid units
    grid.Fill(64, 64, 64, 64, [&](int ix, int iy) {
        return 3.0 * std::cos(longWave.phase(ix, iy)) + 2.0 * std::cos(shortWave.phase(ix, iy));
    });
    grid.AV = 100.0;
    auto low = Filtered(grid, "2 0 0 1\n1 1 600 300\n");
    auto high = Filtered(grid, "2 0 0 1\n1 2 50 60\n");
    ASSERT_EQ(low.size(), 64u * 64u);
    ASSERT_EQ(high.size(), 64u * 64u);
    double worstLow = 0.0, worstHigh = 0.0;
    for (const auto& [cell, value] : low) {
        double keep = 100.0 + 3.0 * std::cos(longWave.phase(cell.first, cell.second));
        worstLow = std::max(worstLow, std::fabs(value - keep));
    }
    for (const auto& [cell, value] : high) {
        // The mean is removed by the high pass; the run restores the stored level.
        double keep = 100.0 + 2.0 * std::cos(shortWave.phase(cell.first, cell.second));
        worstHigh = std::max(worstHigh, std::fabs(value - keep));
    }
    EXPECT_LT(worstLow, 1e-6);
    EXPECT_LT(worstHigh, 1e-6);
}

TEST(InverseRun, DerivativesAndContinuationOfAWave)
{
    ScratchDir dir;
    SpectrumGrid grid;
    Wave wave{3, 2, &grid};
    grid.Fill(32, 32, 32, 32, [&](int ix, int iy) { return 5.0 * std::cos(wave.phase(ix, iy)); });
    grid.AV = 40.0;   // not restored by derivatives
    // Cell size 10: derivatives per 10^1 grid units, c1 = 2 pi 10.
    const double c1 = TWOPI * 10.0;
    struct Case {
        const char* lines;
        std::function<double(double)> truth;   // of the phase
    };
    const double h = 15.0;
    const Case cases[] = {
        {"2 0 0 1\n2 0 0 0\n1\n0\n", [&](double p) { return -5.0 * c1 * wave.u() * std::sin(p); }},
        {"2 0 0 1\n2 0 0 0\n2\n0\n", [&](double p) { return -5.0 * c1 * wave.v() * std::sin(p); }},
        // Along the azimuth 90 degrees is along x.
        {"2 0 0 1\n2 0 0 0\n4\n90\n0\n", [&](double p) { return -5.0 * c1 * wave.u() * std::sin(p); }},
        {"2 0 0 1\n2 0 0 0\n3\n0\n", [&](double p) { return 5.0 * c1 * wave.k() * std::cos(p); }},
        {"2 0 0 1\n3 0 0 0\n15\n",
         [&](double p) { return 40.0 + 5.0 * std::exp(-TWOPI * wave.k() * h) * std::cos(p); }},
        {"2 0 0 1\n3 0 0 0\n-15\n",
         [&](double p) { return 40.0 + 5.0 * std::exp(TWOPI * wave.k() * h) * std::cos(p); }},
    };
    for (const Case& c : cases) {
        auto cells = Filtered(grid, c.lines);
        ASSERT_EQ(cells.size(), 32u * 32u) << c.lines;
        double worst = 0.0;
        for (const auto& [cell, value] : cells)
            worst = std::max(worst, std::fabs(value - c.truth(wave.phase(cell.first, cell.second))));
        EXPECT_LT(worst, 1e-8) << c.lines;
    }
}
