// Whole inverse runs on hand-made spectrum files: identity and footprint, rotation, windows,
// derivatives and continuation of sinusoids against their analytic values.

#include "inverse_run_fixture.h"
#include "scratch_dir.h"

using namespace inverse_test;

namespace {

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

// Largest deviation of the filtered cells from truth(ix, iy); every cell of the grid must come back.
double WorstError(const SpectrumGrid& grid, const std::string& lines, const std::function<double(int, int)>& truth)
{
    auto cells = Filtered(grid, lines);
    EXPECT_EQ(cells.size(), (size_t)grid.NX * grid.NY) << lines;
    double worst = 0.0;
    for (const auto& [cell, value] : cells)
        worst = std::max(worst, std::fabs(value - truth(cell.first, cell.second)));
    return worst;
}

}   // namespace

TEST(InverseRun, IdentityReturnsTheFootprintWithTheLevelRestored)
{
    ScratchDir dir;
    SpectrumGrid grid;
    grid.Fill(24, 20, 32, 32, Bumpy);
    grid.AV = 250.0;
    // L-shaped data area: the north-east corner is missing; cell (8, 8) is a hole inside it.
    grid.SetFootprint(4, 20, 3, 17, [](int ix, int iy) { return !(ix > 14 && iy > 12) && !(ix == 8 && iy == 8); });
    auto cells = Filtered(grid, "2 0 0 1\n1 0 0 0\n");
    size_t expected = 0;
    for (int ix = 4; ix <= 20; ++ix)
        for (int iy = 3; iy <= 17; ++iy) {
            bool inCorner = ix > 14 && iy > 12;
            auto found = cells.find({ix, iy});
            ASSERT_EQ(found != cells.end(), !inCorner) << ix << ", " << iy;
            if (!inCorner) {
                ++expected;
                EXPECT_NEAR(found->second, grid.at(ix, iy) + 250.0, 1e-9) << ix << ", " << iy;
            }
        }
    EXPECT_EQ(cells.size(), expected);   // the hole (8, 8) is among them
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
    ASSERT_TRUE(RunInverse(nullptr));
    std::istringstream text(fileBytes(POINTS_NAME));
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
    auto a = [&](int ix, int iy) { return 3.0 * std::cos(longWave.phase(ix, iy)); };
    auto b = [&](int ix, int iy) { return 2.0 * std::cos(shortWave.phase(ix, iy)); };
    grid.Fill(64, 64, 64, 64, [&](int ix, int iy) { return a(ix, iy) + b(ix, iy); });
    grid.AV = 100.0;   // removed with the mean by the high pass, restored by the run
    EXPECT_LT(WorstError(grid, "2 0 0 1\n1 1 600 300\n", [&](int ix, int iy) { return 100.0 + a(ix, iy); }), 1e-6);
    EXPECT_LT(WorstError(grid, "2 0 0 1\n1 2 50 60\n", [&](int ix, int iy) { return 100.0 + b(ix, iy); }), 1e-6);
}

TEST(InverseRun, DerivativesContinuationAndGradientOfAWave)
{
    ScratchDir dir;
    SpectrumGrid grid;
    Wave wave{3, 2, &grid}, alongX{3, 0, &grid};
    grid.Fill(32, 32, 32, 32, [&](int ix, int iy) { return 5.0 * std::cos(wave.phase(ix, iy)); });
    grid.AV = 40.0;   // not restored by derivatives
    // Cell size 10: derivatives per 10^1 grid units, c1 = 2 pi 10.
    const double c1 = TWOPI * 10.0, h = 15.0;
    const std::pair<const char*, std::function<double(double)>> cases[] = {   // truth of the phase
        {"2 0 0 1\n2 0 0 0\n1\n0\n", [&](double p) { return -5.0 * c1 * wave.u() * std::sin(p); }},
        {"2 0 0 1\n2 0 0 0\n2\n0\n", [&](double p) { return -5.0 * c1 * wave.v() * std::sin(p); }},
        // Along the azimuth 90 degrees is along x.
        {"2 0 0 1\n2 0 0 0\n4\n90\n0\n", [&](double p) { return -5.0 * c1 * wave.u() * std::sin(p); }},
        {"2 0 0 1\n2 0 0 0\n3\n0\n", [&](double p) { return 5.0 * c1 * wave.k() * std::cos(p); }},
        {"2 0 0 1\n3 0 0 0\n15\n", [&](double p) { return 40.0 + 5.0 * std::exp(-TWOPI * wave.k() * h) * std::cos(p); }},
        {"2 0 0 1\n3 0 0 0\n-15\n", [&](double p) { return 40.0 + 5.0 * std::exp(TWOPI * wave.k() * h) * std::cos(p); }},
    };
    for (const auto& [lines, truth] : cases)
        EXPECT_LT(WorstError(grid, lines, [&](int ix, int iy) { return truth(wave.phase(ix, iy)); }), 1e-8) << lines;

    // Total horizontal gradient (IND 12) of a wave along x, continued up 10: |d/dx|. The line after
    // the height is not part of the request.
    grid.Fill(32, 32, 32, 32, [&](int ix, int iy) { return 5.0 * std::cos(alongX.phase(ix, iy)); });
    EXPECT_LT(WorstError(grid, "2 0 0 1\n12 0 0 0\n10\n77\n", [&](int ix, int iy) {
                  return std::fabs(5.0 * c1 * alongX.u() * std::exp(-TWOPI * alongX.u() * 10.0)
                                   * std::sin(alongX.phase(ix, iy)));
              }), 1e-8);
    // IND 13 reads its directions before the height, and gives a gradient: nowhere negative.
    auto cells = Filtered(grid, "2 0 0 1\n13 0 0 0\n0 90 0 90 1\n25\n");
    EXPECT_EQ(cells.size(), 32u * 32u);
    for (const auto& cell : cells)
        ASSERT_GE(cell.second, 0.0);
    EXPECT_NE(fileBytes(LOG_NAME).find("IND=13  cont.Z=25\n"), std::string::npos);
}
