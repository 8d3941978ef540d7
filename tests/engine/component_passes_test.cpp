// Multi-pass responses: total horizontal gradient (IND 12, 13) and field components (IND 11).

#include "inverse_run.h"
#include "inverse_run_fixture.h"
#include "scratch_dir.h"

#include <gtest/gtest.h>

using namespace inverse_test;

namespace {

const double DEGREE = 0.017453292519943295;

bool RunInverse(FilterPoints* points)
{
    InverseRun run("FILTER.INP", points);
    return run.DUVERU2_inv();
}

}   // namespace

TEST(ComponentPasses, GradientOfAFieldVaryingAlongXIsTheAbsoluteXDerivative)
{
    ScratchDir dir;
    SpectrumGrid grid;
    const double u = 3.0 / (32 * 10.0), h = 10.0, c1 = TWOPI * 10.0;
    auto phase = [](int ix) { return TWOPI * 3.0 * (ix - 1) / 32.0; };
    grid.Fill(32, 32, 32, 32, [&](int ix, int) { return 5.0 * std::cos(phase(ix)); });
    grid.AV = 17.0;
    grid.Write();
    // The line after cont.Z is not part of the request.
    WriteControlFile("2 0 0 1\n12 0 0 0\n10\n77\n");
    FilterPoints points;
    ASSERT_TRUE(RunInverse(&points));
    auto cells = PointsByCell(grid, points);
    ASSERT_EQ(cells.size(), 32u * 32u);
    double worst = 0.0;
    for (const auto& [cell, value] : cells) {
        double truth = std::fabs(5.0 * c1 * u * std::exp(-TWOPI * u * h) * std::sin(phase(cell.first)));
        worst = std::max(worst, std::fabs(value - truth));
    }
    EXPECT_LT(worst, 1e-8);
    EXPECT_NE(ReadText("fpt6_2D_INV_AIRFILT_FILTER.OUT").find("IND=12  cont.Z=10\n"), std::string::npos);
    // The y-derivative scratch grid: one record of JF-JS+3 rows per transformed column, all 0.
    std::string y = ReadText("fpt20_YDER");
    ASSERT_EQ(y.size(), 32u * 34u * sizeof(double));
    const double* record = reinterpret_cast<const double*>(y.data());
    for (size_t i = 0; i < 32u * 34u; ++i)
        ASSERT_NEAR(record[i], 0.0, 1e-9);
}

TEST(ComponentPasses, PseudoGravityGradientReadsItsDirectionsThenTheHeight)
{
    ScratchDir dir;
    SpectrumGrid grid;
    grid.Fill(32, 32, 32, 32, [](int ix, int iy) { return 20.0 * std::exp(-((ix - 16) * (ix - 16) + (iy - 15) * (iy - 15)) / 8.0); });
    grid.Write();
    WriteControlFile("2 0 0 1\n13 0 0 0\n0 90 0 90 1\n25\n");
    FilterPoints points;
    ASSERT_TRUE(RunInverse(&points));
    EXPECT_EQ(points.size(), 3u * 32u * 32u);
    std::string log = ReadText("fpt6_2D_INV_AIRFILT_FILTER.OUT");
    EXPECT_NE(log.find("Temporarily set IND=6\n"), std::string::npos);
    EXPECT_NE(log.find("IND=13  cont.Z=25\n"), std::string::npos);
    EXPECT_NE(log.find("Preparing for y-derivative ...\n"), std::string::npos);
    for (size_t i = 2; i < points.size(); i += 3)
        ASSERT_GE(points[i], 0.0);
}

TEST(ComponentPasses, ComponentsRecomposeTheInputInThePointsFile)
{
    ScratchDir dir;
    SpectrumGrid grid;
    grid.Fill(24, 24, 32, 32, [](int ix, int iy) {
        return 80.0 * std::exp(-((ix - 12) * (ix - 12) + (iy - 10) * (iy - 10)) / 10.0) - 30.0 * std::exp(-((ix - 6) * (ix - 6) + (iy - 18) * (iy - 18)) / 6.0);
    });
    grid.AV = 5.0;
    grid.SetFootprint(3, 21, 4, 20, [](int ix, int iy) { return ix + iy < 38; });
    grid.Write();
    WriteControlFile("2 0 0 1\n11 0 0 0\n20 60\n");
    InverseRun run("FILTER.INP", nullptr);
    ASSERT_TRUE(run.DUVERU2_inv());
    run.Close();
    double L = std::cos(60 * DEGREE) * std::sin(20 * DEGREE), M = std::cos(60 * DEGREE) * std::cos(20 * DEGREE),
           N = -std::sin(60 * DEGREE);
    std::istringstream text(ReadText("fpt17_2D_INV_FLT_FILTER.TXT"));
    std::string header;
    std::getline(text, header);
    EXPECT_EQ(header, "EAST NORTH BX BY BZ BTP BTM");
    double X, Y, BX, BY, BZ, BTP, BTM;
    int rows = 0;
    while (text >> X >> Y >> BX >> BY >> BZ >> BTP >> BTM) {
        EXPECT_NEAR(L * BX + M * BY + N * BZ, BTM, 1e-5 * (std::fabs(BX) + std::fabs(BY) + std::fabs(BZ)) + 1e-9);
        int ix = (int)std::lround((X - grid.XPMIN) / grid.DX) + 1, iy = (int)std::lround((Y - grid.YPMIN) / grid.DY) + 1;
        EXPECT_NEAR(BTM, grid.at(ix, iy), 1e-5 * std::fabs(BTM) + 1e-9);   // input less its level
        ++rows;
    }
    int expected = 0;
    for (int ix = 3; ix <= 21; ++ix)
        for (int iy = 4; iy <= 20; ++iy)
            expected += ix + iy < 38;
    EXPECT_EQ(rows, expected);
    EXPECT_NE(ReadText("fpt17_2D_INV_FLT_FILTER.TXT").find("\n SHIFTMIN = "), std::string::npos);
}
