// Forward run then inverse run on grids sampled from closed-form fields, compared with the
// closed-form result on the grid interior (a border of 16 cells left out, where the padding
// shows). Errors are RMS differences relative to the RMS of the truth, both with their interior
// mean removed (the zero wavenumber of a finite window is not the field's), except where noted.

#include "forward_run.h"
#include "inverse_run.h"
#include "scratch_dir.h"
#include "synth_grid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const int BORDER = 16;
const double PI = 3.141592653589793;

synth::GridGeometry Geometry()
{
    synth::GridGeometry g;
    g.nx = g.ny = 128;
    g.x0 = 10000.0;
    g.y0 = 20000.0;
    g.dx = g.dy = 25.0;
    return g;
}

const synth::Vec3 CENTRE = {10000.0 + 64 * 25.0, 20000.0 + 64 * 25.0, -300.0};

// The spectrum section as the grid operations write it: window, cell size, tails, mean.
void WriteSpectrumSection(const synth::Grid& grid)
{
    double sum = 0.0;
    for (double v : grid.values)
        sum += v;
    double width = (grid.nx - 1) * grid.dx, height = (grid.ny - 1) * grid.dy;
    std::ofstream file("FILTER.INP");
    char line[512];
    snprintf(line, sizeof line, "%.17g %.17g %.17g %.17g  !  corner and extents\n", grid.xAt(grid.nx - 1), grid.yAt(0),
             height, width);
    file << "Temporary SPECTRM control file\nFFinput.dat\n" << line;
    snprintf(line, sizeof line, "%.17g %.17g ! dx, dy\n1\n2\n3\n1\n0\n", grid.dx, grid.dy);
    file << line;
    snprintf(line, sizeof line, "%.3f %.3f ! X extension, Y extension\n%.3f  !  Average \n0 0\n",
             std::ceil(0.15 * width), std::ceil(0.15 * height), sum / grid.values.size());
    file << line;
}

// Both runs on the grid with the given filter lines. Without an output vector the inverse run
// writes its points file. Returns the values by cell (NaN where none came back).
std::vector<double> RunFilter(const synth::Grid& grid, const std::string& lines, bool toFile = false)
{
    WriteSpectrumSection(grid);
    FilterPoints points = synth::valuedTriples(grid);
    {
        ForwardRun forward("FILTER.INP", &points);
        EXPECT_TRUE(forward.Execute());
    }
    std::ofstream("FILTER.INP", std::ios::app) << "Perform filtering\n2 0 0 1\n" << lines;
    InverseRun inverse("FILTER.INP", toFile ? nullptr : &points);
    EXPECT_TRUE(inverse.DUVERU2_inv());
    inverse.Close();
    std::vector<double> values(grid.values.size(), NAN);
    for (size_t i = 0; !toFile && i + 2 < points.size(); i += 3) {
        int col = (int)std::lround((points[i] - grid.x0) / grid.dx);
        int row = (int)std::lround((points[i + 1] - grid.y0) / grid.dy);
        if (col >= 0 && col < grid.nx && row >= 0 && row < grid.ny)
            values[grid.index(col, row)] = points[i + 2];
    }
    return values;
}

double InteriorMean(const synth::Grid& grid, const std::vector<double>& v)
{
    double sum = 0.0;
    int n = 0;
    for (int row = BORDER; row < grid.ny - BORDER; ++row)
        for (int col = BORDER; col < grid.nx - BORDER; ++col, ++n)
            sum += v[grid.index(col, row)];
    return sum / n;
}

// RMS(result - truth) / RMS(truth) over the interior, optionally each less its interior mean.
double RelativeError(const synth::Grid& grid, const std::vector<double>& result, const std::vector<double>& truth,
                     bool demean = true)
{
    double mr = demean ? InteriorMean(grid, result) : 0.0, mt = demean ? InteriorMean(grid, truth) : 0.0;
    double err = 0.0, ref = 0.0;
    for (int row = BORDER; row < grid.ny - BORDER; ++row)
        for (int col = BORDER; col < grid.nx - BORDER; ++col) {
            size_t i = grid.index(col, row);
            double t = truth[i] - mt;
            err += (result[i] - mr - t) * (result[i] - mr - t);
            ref += t * t;
        }
    return std::sqrt(err / ref);
}

double Correlation(const synth::Grid& grid, const std::vector<double>& a, const std::vector<double>& b)
{
    double ma = InteriorMean(grid, a), mb = InteriorMean(grid, b), ab = 0.0, aa = 0.0, bb = 0.0;
    for (int row = BORDER; row < grid.ny - BORDER; ++row)
        for (int col = BORDER; col < grid.nx - BORDER; ++col) {
            size_t i = grid.index(col, row);
            ab += (a[i] - ma) * (b[i] - mb);
            aa += (a[i] - ma) * (a[i] - ma);
            bb += (b[i] - mb) * (b[i] - mb);
        }
    return ab / std::sqrt(aa * bb);
}

std::vector<double> Sample(const synth::FieldFunction& f, double height = 0.0)
{
    return synth::sampleGrid(Geometry(), height, f).values;
}

synth::InducingField Field(double inclination, double declination)
{
    synth::InducingField field;
    field.inclination = inclination;
    field.declination = declination;
    return field;
}

// Per 10 m: the derivative unit of 25 m cells (10^NINT(log10 25)).
const double UNIT = 10.0;

}   // namespace

TEST(EndToEnd, LowAndHighPassSplitTwoWaves)
{
    ScratchDir dir;
    auto longWave = [](const synth::Vec3& p) { return 30.0 * std::cos(2 * PI * (p.x - 10000.0) / 1600.0); };
    auto shortWave = [](const synth::Vec3& p) { return 10.0 * std::sin(2 * PI * (p.x + p.y) / (100.0 * std::sqrt(2.0))); };
    synth::Grid grid = synth::sampleGrid(Geometry(), 0.0, [&](const synth::Vec3& p) { return longWave(p) + shortWave(p); });
    double low = RelativeError(grid, RunFilter(grid, "1 1 1000 500\n"), Sample(longWave));
    double high = RelativeError(grid, RunFilter(grid, "1 2 120 150\n"), Sample(shortWave));
    printf("EndToEnd low pass %.5f high pass %.5f\n", low, high);
    EXPECT_LT(low, 0.01);
    EXPECT_LT(high, 0.01);
}

TEST(EndToEnd, ReductionToThePoleOfAnInducedSphere)
{
    ScratchDir dir;
    synth::Dipole inclined = synth::inducedSphere(CENTRE, 100.0, 0.05, Field(45, 20));
    synth::Dipole vertical = synth::inducedSphere(CENTRE, 100.0, 0.05, Field(90, 0));
    synth::Grid grid = synth::sampleGrid(Geometry(), 0.0, [&](const synth::Vec3& p) {
        return synth::totalFieldAnomaly(inclined, Field(45, 20), p);
    });
    auto truth = Sample([&](const synth::Vec3& p) { return synth::totalFieldAnomaly(vertical, Field(90, 0), p); });
    double error = RelativeError(grid, RunFilter(grid, "5 0 0 0\n20 45 20 45\n"), truth);
    printf("EndToEnd RTP %.5f\n", error);
    EXPECT_LT(error, 0.02);
}

TEST(EndToEnd, ContinuationUpAndDown)
{
    ScratchDir dir;
    synth::Dipole body = synth::inducedSphere(CENTRE, 100.0, 0.05, Field(60, 10));
    auto field = [&](const synth::Vec3& p) { return synth::totalFieldAnomaly(body, Field(60, 10), p); };
    synth::Grid grid = synth::sampleGrid(Geometry(), 0.0, field);
    double up = RelativeError(grid, RunFilter(grid, "3 0 0 0\n50\n"), Sample(field, 50.0));
    double down = RelativeError(grid, RunFilter(grid, "3 0 0 0\n-25\n"), Sample(field, -25.0));
    printf("EndToEnd continuation up 50 %.5f down 25 %.5f\n", up, down);
    EXPECT_LT(up, 0.005);
    EXPECT_LT(down, 0.02);
}

TEST(EndToEnd, DerivativesOfASphereAnomaly)
{
    ScratchDir dir;
    synth::Dipole body = synth::inducedSphere(CENTRE, 100.0, 0.05, Field(60, 10));
    auto field = [&](const synth::Vec3& p) { return synth::totalFieldAnomaly(body, Field(60, 10), p); };
    auto gradient = [&](const synth::Vec3& p) { return synth::totalFieldGradient(body, Field(60, 10), p); };
    synth::Grid grid = synth::sampleGrid(Geometry(), 0.0, field);
    // Vertical derivative positive downward: minus d/dz_up.
    double dz = RelativeError(grid, RunFilter(grid, "2 0 0 0\n3\n0\n"),
                              Sample([&](const synth::Vec3& p) { return -UNIT * gradient(p).z; }));
    double dx = RelativeError(grid, RunFilter(grid, "2 0 0 0\n1\n0\n"),
                              Sample([&](const synth::Vec3& p) { return UNIT * gradient(p).x; }));
    double dy = RelativeError(grid, RunFilter(grid, "2 0 0 0\n2\n0\n"),
                              Sample([&](const synth::Vec3& p) { return UNIT * gradient(p).y; }));
    double thg = RelativeError(grid, RunFilter(grid, "12 0 0 0\n0\n"), Sample([&](const synth::Vec3& p) {
                                   synth::Vec3 g = gradient(p);
                                   return UNIT * std::hypot(g.x, g.y);
                               }),
                               false);
    printf("EndToEnd dz %.5f dx %.5f dy %.5f total horizontal gradient %.5f\n", dz, dx, dy, thg);
    EXPECT_LT(dz, 0.01);
    EXPECT_LT(dx, 0.01);
    EXPECT_LT(dy, 0.01);
    EXPECT_LT(thg, 0.01);
}

TEST(EndToEnd, PseudoGravityFollowsTheSpheresGravity)
{
    ScratchDir dir;
    synth::Dipole body = synth::inducedSphere(CENTRE, 100.0, 0.05, Field(45, 20));
    synth::Grid grid = synth::sampleGrid(Geometry(), 0.0, [&](const synth::Vec3& p) {
        return synth::totalFieldAnomaly(body, Field(45, 20), p);
    });
    synth::DenseSphere dense{CENTRE, 100.0, 300.0};
    auto gravity = Sample([&](const synth::Vec3& p) { return synth::gravityZ(dense, p); });
    double r = Correlation(grid, RunFilter(grid, "6 0 0 0\n20 45 20 45 1\n"), gravity);
    printf("EndToEnd pseudo-gravity correlation %.5f\n", r);
    EXPECT_GT(r, 0.999);
}

TEST(EndToEnd, FieldComponentsOfATotalFieldAnomaly)
{
    ScratchDir dir;
    synth::Dipole body = synth::inducedSphere(CENTRE, 100.0, 0.05, Field(60, 10));
    synth::Grid grid = synth::sampleGrid(Geometry(), 0.0, [&](const synth::Vec3& p) {
        return synth::totalFieldAnomaly(body, Field(60, 10), p);
    });
    RunFilter(grid, "11 0 0 0\n10 60\n", true);
    std::ifstream points("fpt17_2D_INV_FLT_FILTER.TXT");
    std::string header;
    std::getline(points, header);
    std::vector<double> bx(grid.values.size(), NAN), by = bx, bz = bx;
    double X, Y, BX, BY, BZ, BTP, BTM;
    while (points >> X >> Y >> BX >> BY >> BZ >> BTP >> BTM) {
        size_t i = grid.index((int)std::lround((X - grid.x0) / grid.dx), (int)std::lround((Y - grid.y0) / grid.dy));
        bx[i] = BX, by[i] = BY, bz[i] = BZ;
    }
    auto component = [&](double synth::Vec3::*axis) {
        return Sample([&](const synth::Vec3& p) { return synth::anomalousField(body, p).*axis; });
    };
    double ex = RelativeError(grid, bx, component(&synth::Vec3::x));
    double ey = RelativeError(grid, by, component(&synth::Vec3::y));
    double ez = RelativeError(grid, bz, component(&synth::Vec3::z));
    printf("EndToEnd components BX %.5f BY %.5f BZ %.5f\n", ex, ey, ez);
    EXPECT_LT(ex, 0.03);
    EXPECT_LT(ey, 0.03);
    EXPECT_LT(ez, 0.03);
}
