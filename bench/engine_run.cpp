// spectrafil-engine-run [--forward-only] [--holes] [--blocked] [--threads N] NX[xNY] [DIR]
// Bench driver of the two engine runs. A smooth field on NX x NY cells of 25 m is handed over as
// the grid operations hand it (cell centres row by row from the south), with the control file
// they write (tails of 15 % of the extent, the mean as the level, a low pass of 20 cells); the
// forward run and, unless --forward-only, the inverse run are made in DIR (default: here).
//   --holes    leaves out a corner, a notch and three discs (an irregular footprint with holes)
//   --blocked  adds a few cells holding the blocked marker after level removal
//   --threads  engine threads (default: all cores)
// Standard error gets one line: the cell count, the wall time of each run and a checksum of the
// filtered points. The engine's own messages go to standard output.

#include "engine_threads.h"
#include "forward_run.h"
#include "inverse_run.h"

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

const double CELL = 25.0;
const double X0 = 500000.0, Y0 = 7000000.0;

struct Options {
    bool forwardOnly = false, holes = false, blocked = false;
    int nx = 0, ny = 0, threads = 0;
    std::string dir = ".";
};

bool Parse(int argc, char** argv, Options& o)
{
    int positional = 0;
    for (int a = 1; a < argc; ++a) {
        std::string arg = argv[a];
        if (arg == "--forward-only")
            o.forwardOnly = true;
        else if (arg == "--holes")
            o.holes = true;
        else if (arg == "--blocked")
            o.blocked = true;
        else if (arg == "--threads" && a + 1 < argc)
            o.threads = std::atoi(argv[++a]);
        else if (positional == 0) {
            if (std::sscanf(arg.c_str(), "%dx%d", &o.nx, &o.ny) < 1)
                return false;
            o.ny = o.ny > 0 ? o.ny : o.nx;
            ++positional;
        } else if (positional == 1) {
            o.dir = arg;
            ++positional;
        } else {
            return false;
        }
    }
    return o.nx >= 2 && o.ny >= 2;
}

// Holes: a cut south-west corner, a notch from the north edge and three discs.
bool Missing(const Options& o, int i, int j)
{
    double u = double(i) / o.nx, v = double(j) / o.ny;
    auto disc = [&](double cu, double cv, double r) { return (u - cu) * (u - cu) + (v - cv) * (v - cv) < r * r; };
    return u + v < 0.25 || (v > 0.8 && u > 0.45 && u < 0.5) || disc(0.3, 0.6, 0.07) || disc(0.7, 0.3, 0.04)
        || disc(0.62, 0.7, 0.012);
}

// Separable smooth field: a regional wave times a second wave plus a Gaussian body and a trend.
FilterPoints Field(const Options& o, double& mean)
{
    std::vector<double> a(o.nx), b(o.nx), c(o.ny), d(o.ny);
    for (int i = 0; i < o.nx; ++i) {
        double u = (i - o.nx / 3.0) / (0.2 * o.nx);
        a[i] = 80.0 * std::sin(i / 37.0);
        b[i] = 60.0 * std::exp(-u * u) + 0.02 * i;
    }
    for (int j = 0; j < o.ny; ++j) {
        double v = (j - o.ny / 2.0) / (0.25 * o.ny);
        c[j] = std::cos(j / 53.0);
        d[j] = std::exp(-v * v);
    }
    FilterPoints points;
    points.reserve(3 * size_t(o.nx) * o.ny);
    double sum = 0;
    for (int j = 0; j < o.ny; ++j)
        for (int i = 0; i < o.nx; ++i)
            if (!o.holes || !Missing(o, i, j)) {
                double value = 1000.0 + a[i] * c[j] + b[i] * d[j] - 0.01 * j;
                points.insert(points.end(), {X0 + i * CELL, Y0 + j * CELL, value});
                sum += value;
            }
    mean = sum / (points.size() / 3);
    if (o.blocked) // marker values after removal of the level written below
        for (size_t p = 3 * 7; p < points.size(); p += 3 * 997)
            points[p + 2] = mean - 888888.0;
    return points;
}

bool WriteControlFile(const Options& o, double mean)
{
    FILE* f = std::fopen("FILTER.INP", "w");
    if (!f)
        return false;
    double xExtent = (o.nx - 1) * CELL, yExtent = (o.ny - 1) * CELL;
    std::fprintf(f, "Temporary SPECTRM control file\nFFinput.dat\n");
    std::fprintf(f, "%.17g %.17g %.17g %.17g  !  bottom right corner and grid extents, NS then EW\n",
                 X0 + xExtent, Y0, yExtent, xExtent);
    std::fprintf(f, "%.17g %.17g ! dx, dy\n1\n2\n3\n1\n0\n", CELL, CELL);
    std::fprintf(f, "%.3f %.3f ! X extension, Y extension\n", std::ceil(0.15 * xExtent), std::ceil(0.15 * yExtent));
    std::fprintf(f, "%.3f  !  Average \n0 0\n", mean);
    std::fprintf(f, "Perform filtering\n2 0 0 1\n1 1 %f %f\n", 30 * CELL, 20 * CELL);
    return std::fclose(f) == 0;
}

uint64_t Checksum(const FilterPoints& points)
{
    uint64_t h = 1469598103934665603ull;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(points.data());
    for (size_t i = 0; i < points.size() * sizeof(double); ++i)
        h = (h ^ p[i]) * 1099511628211ull;
    return h;
}

double Seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

} // namespace

int main(int argc, char** argv)
{
    Options o;
    if (!Parse(argc, argv, o)) {
        std::fprintf(stderr, "usage: spectrafil-engine-run [--forward-only] [--holes] [--blocked] [--threads N] NX[xNY] [DIR]\n");
        return 2;
    }
    std::error_code error;
    std::filesystem::create_directories(o.dir, error);
    std::filesystem::current_path(o.dir, error);
    if (error) {
        std::fprintf(stderr, "Cannot enter %s: %s\n", o.dir.c_str(), error.message().c_str());
        return 1;
    }
    double mean = 0;
    FilterPoints points = Field(o, mean);
    if (!WriteControlFile(o, mean)) {
        std::fprintf(stderr, "Cannot write FILTER.INP in %s\n", o.dir.c_str());
        return 1;
    }
    if (o.threads > 0)
        setEngineThreads(o.threads);
    auto start = std::chrono::steady_clock::now();
    bool ok;
    WorkBlock transformBlock; // handed on as the module does
    {
        ForwardRun run("FILTER.INP", &points);
        ok = run.Execute();
        transformBlock = run.TakeTransformBlock();
    }
    double forward = Seconds(start), inverse = 0;
    if (ok && !o.forwardOnly) {
        start = std::chrono::steady_clock::now();
        InverseRun run("FILTER.INP", &points);
        run.ReuseBlock(std::move(transformBlock));
        ok = run.DUVERU2_inv();
        inverse = Seconds(start);
    }
    std::fprintf(stderr, "cells %lld forward %.3f s inverse %.3f s points %zu checksum %016llx%s\n",
                 static_cast<long long>(o.nx) * o.ny, forward, inverse, points.size() / 3,
                 static_cast<unsigned long long>(Checksum(points)), ok ? "" : " FAILED");
    return ok ? 0 : 1;
}
