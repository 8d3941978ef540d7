// Forward run then inverse run on grids sampled from closed-form fields, compared with the
// closed-form result on the grid interior (a border of 16 cells left out, where the padding
// shows). Errors are RMS differences relative to the RMS of the truth, both with their interior
// mean removed (the zero wavenumber of a finite window is not the field's), except where noted.

#include "forward_test_support.h"
#include "inverse_run.h"
#include "scratch_dir.h"
#include "synth_grid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>
#include <vector>

namespace {

const int BORDER = 16;

const synth::GridGeometry GEOMETRY{128, 128, 10000.0, 20000.0, 25.0, 25.0};

const synth::Vec3 CENTRE = {10000.0 + 64 * 25.0, 20000.0 + 64 * 25.0, -300.0};

// The spectrum section as the grid operations write it: window, cell size, tails, mean.
void WriteSpectrumSection(const synth::Grid& grid)
{
    double sum = 0.0;
    for (double v : grid.values)
        sum += v;
    double width = (grid.nx - 1) * grid.dx, height = (grid.ny - 1) * grid.dy;
    WriteLines("FILTER.INP", SpectrumSection(grid.xAt(0), grid.xAt(grid.nx - 1), grid.yAt(0), grid.yAt(grid.ny - 1),
                                             grid.dx, grid.dy,
                                             std::to_string(std::ceil(0.15 * width)) + " " + std::to_string(std::ceil(0.15 * height)),
                                             std::to_string(sum / grid.values.size())));
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
    return synth::sampleGrid(GEOMETRY, height, f).values;
}

// Per 10 m: the derivative unit of 25 m cells (10^NINT(log10 25)).
const double UNIT = 10.0;

}   // namespace

// One sphere induced by a field of inclination 60, declination 10 (45 and 20 for the reduction to
// the pole and pseudo-gravity), each filter against the closed form of the transformed field. The
// single derivatives and the upward continuation are checked exactly on waves by the inverse-run
// tests, and against this sphere's closed forms through the grid operations by the filter tests.
TEST(EndToEnd, FiltersOfAnInducedSphereMatchTheClosedForms)
{
    ScratchDir dir;
    const synth::InducingField field{60, 10}, inclined{45, 20}, pole{90, 0};
    synth::Dipole body = synth::inducedSphere(CENTRE, 100.0, 0.05, field);
    synth::Dipole tilted = synth::inducedSphere(CENTRE, 100.0, 0.05, inclined);
    synth::Dipole vertical = synth::inducedSphere(CENTRE, 100.0, 0.05, pole);
    auto anomaly = [&](const synth::Vec3& p) { return synth::totalFieldAnomaly(body, field, p); };
    auto gradient = [&](const synth::Vec3& p) { return synth::totalFieldGradient(body, field, p); };
    synth::Grid grid = synth::sampleGrid(GEOMETRY, 0.0, anomaly);
    synth::Grid tiltedGrid = synth::sampleGrid(GEOMETRY, 0.0, [&](const synth::Vec3& p) {
        return synth::totalFieldAnomaly(tilted, inclined, p);
    });
    struct Case {
        const char* name;
        const synth::Grid* input;
        const char* lines;
        std::vector<double> truth;
        double tolerance;
        bool demean = true;
    };
    const Case cases[] = {
        {"RTP", &tiltedGrid, "5 0 0 0\n20 45 20 45\n",
         Sample([&](const synth::Vec3& p) { return synth::totalFieldAnomaly(vertical, pole, p); }), 0.02},
        {"down 25", &grid, "3 0 0 0\n-25\n", Sample(anomaly, -25.0), 0.02},
        {"total horizontal gradient", &grid, "12 0 0 0\n0\n", Sample([&](const synth::Vec3& p) {
             synth::Vec3 g = gradient(p);
             return UNIT * std::hypot(g.x, g.y);
         }), 0.01, false},
    };
    for (const Case& c : cases) {
        double error = RelativeError(*c.input, RunFilter(*c.input, c.lines), c.truth, c.demean);
        EXPECT_LT(error, c.tolerance) << c.name;
    }

    // Pseudo-gravity follows the sphere's gravity.
    synth::DenseSphere dense{CENTRE, 100.0, 300.0};
    auto gravity = Sample([&](const synth::Vec3& p) { return synth::gravityZ(dense, p); });
    double r = Correlation(tiltedGrid, RunFilter(tiltedGrid, "6 0 0 0\n20 45 20 45 1\n"), gravity);
    EXPECT_GT(r, 0.999);

    // The field components, from the points file.
    RunFilter(grid, "11 0 0 0\n10 60\n", true);
    std::ifstream points("fpt17_2D_INV_FLT_FILTER.TXT");
    std::string header;
    std::getline(points, header);
    EXPECT_EQ(header, "EAST NORTH BX BY BZ BTP BTM");
    std::vector<double> components[3];
    for (auto& component : components)
        component.assign(grid.values.size(), NAN);
    double X, Y, B[3], BTP, BTM;
    while (points >> X >> Y >> B[0] >> B[1] >> B[2] >> BTP >> BTM) {
        size_t i = grid.index((int)std::lround((X - grid.x0) / grid.dx), (int)std::lround((Y - grid.y0) / grid.dy));
        for (int axis = 0; axis < 3; ++axis)
            components[axis][i] = B[axis];
    }
    double synth::Vec3::*axes[] = {&synth::Vec3::x, &synth::Vec3::y, &synth::Vec3::z};
    for (int axis = 0; axis < 3; ++axis) {
        double error = RelativeError(grid, components[axis], Sample([&](const synth::Vec3& p) {
                                         return synth::anomalousField(body, p).*axes[axis];
                                     }));
        EXPECT_LT(error, 0.03) << "component " << axis;
    }
}
