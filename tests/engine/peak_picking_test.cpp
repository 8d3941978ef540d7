// Peak picking after an identity run: well-separated Gaussian bumps on a tilted plane (so that
// round-off never decides a comparison), maxima and minima.

#include "inverse_run_fixture.h"
#include "scratch_dir.h"

using namespace inverse_test;

namespace {

struct Peak {
    double PROD, AMPL;
};

double Bumps(int ix, int iy)
{
    auto bump = [&](double height, int cx, int cy) {
        return height * std::exp(-((ix - cx) * (ix - cx) + (iy - cy) * (iy - cy)) / 4.5);
    };
    return 0.5 * ix + 0.3 * iy + bump(60.0, 10, 10) + bump(30.0, 22, 7) + bump(-40.0, 21, 20);
}

// The peaks of the known grid, found directly: PROD is the product of the primes 2 (x),
// 3 (north-east), 5 (y), 7 (north-west) of the directions in which the point exceeds both
// neighbours; AMPL the largest of the smaller drops.
std::map<std::pair<int, int>, Peak> DirectPeaks(const SpectrumGrid& grid, double sign, double& mean, double& sd)
{
    const int pairs[4][5] = {{2, -1, 0, 1, 0}, {3, 1, 1, -1, -1}, {5, 0, 1, 0, -1}, {7, -1, 1, 1, -1}};
    std::map<std::pair<int, int>, Peak> peaks;
    std::vector<double> amplitudes;
    for (int ix = grid.IS; ix <= grid.IF; ++ix)
        for (int iy = grid.JS; iy <= grid.JF; ++iy) {
            double c = sign * grid.at(ix, iy);
            Peak peak{1.0, 0.0};
            for (const auto& p : pairs) {
                double a = sign * grid.at(ix + p[1], iy + p[2]), b = sign * grid.at(ix + p[3], iy + p[4]);
                if (a < c && b < c) {
                    peak.PROD *= p[0];
                    peak.AMPL = std::max(peak.AMPL, std::min(c - a, c - b));
                }
            }
            amplitudes.push_back(peak.AMPL);
            if (peak.PROD != 1.0)
                peaks[{ix, iy}] = peak;
        }
    double n = (double)amplitudes.size(), sum = 0.0, squares = 0.0;
    for (double a : amplitudes)
        sum += a;
    mean = sum / n;
    for (double a : amplitudes)
        squares += (a - mean) * (a - mean);
    sd = std::sqrt(squares / (n - 1.0));
    return peaks;
}

double LoggedFigure(const std::string& log, const std::string& label)
{
    size_t at = log.find(label);
    return at == std::string::npos ? NAN : std::atof(log.c_str() + at + label.size());
}

}   // namespace

TEST(PeakPicking, MaximaAndMinimaOfSeparatedBumps)
{
    ScratchDir dir;
    SpectrumGrid grid;
    grid.Fill(32, 28, 32, 32, Bumps);
    grid.AV = 1000.0;   // the picked grid is the filtered one, without the level
    grid.SetFootprint(2, 31, 2, 27, [](int, int) { return true; });
    grid.Write();
    for (int PKPIK : {1, -1}) {
        WriteControlFile("0 " + std::to_string(PKPIK) + " 0 0\n1 0 0 0\n");
        FilterPoints points;
        ASSERT_TRUE(RunInverse(&points));
        double mean = 0.0, sd = 0.0;
        auto truth = DirectPeaks(grid, PKPIK, mean, sd);
        std::istringstream csv(fileBytes("fpt18_2D_INV_PKPIK_FILTER.csv"));
        std::string header;
        std::getline(csv, header);
        EXPECT_EQ(header, "XO, YO, Z, PROD, AMPL");
        std::map<std::pair<int, int>, Peak> picked;
        double X, Y, Z, PROD, AMPL;
        char comma;
        while (csv >> X >> comma >> Y >> comma >> Z >> comma >> PROD >> comma >> AMPL) {
            EXPECT_EQ(Z, 0.0);
            picked[{(int)std::lround((X - grid.XPMIN) / grid.DX) + 1, (int)std::lround((Y - grid.YPMIN) / grid.DY) + 1}] =
                {PROD, AMPL};
        }
        ASSERT_EQ(picked.size(), truth.size()) << "PKPIK " << PKPIK;
        for (const auto& [cell, peak] : truth) {
            ASSERT_EQ(picked.count(cell), 1u) << cell.first << ", " << cell.second;
            EXPECT_EQ(picked[cell].PROD, peak.PROD);
            EXPECT_NEAR(picked[cell].AMPL, peak.AMPL, 1e-5 * peak.AMPL);
        }
        std::string log = fileBytes(LOG_NAME);
        EXPECT_NEAR(LoggedFigure(log, "PK amplitude mean = "), mean, 1e-5 * mean);
        EXPECT_NEAR(LoggedFigure(log, "PK amplitude sd = "), sd, 1e-5 * sd);
    }
}
