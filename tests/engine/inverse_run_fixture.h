#pragma once
// Builds the inputs of an inverse run by hand: a spectrum file in its exact binary layout, with
// the half spectrum computed by the DFT definition from a known grid, and a control file with a
// filter section. Also reads back what a run wrote.

#include "forward_test_support.h"
#include "inverse_run.h"

#include <algorithm>
#include <complex>
#include <map>
#include <utility>

namespace inverse_test {

const double TWOPI = 6.283185307179586;

// The extended grid of a forward run: g(ix, iy), 1-based, level AV removed, plus its footprint.
struct SpectrumGrid {
    int32_t NX = 32, NY = 32, LX = 32, LY = 32;
    double DX = 10.0, DY = 10.0, XPMIN = 1000.0, YPMIN = 2000.0, AV = 0.0, CT = 1.0, ST = 0.0;
    int32_t NTAILX = 0, NTAILY = 0, IS = 1, IF = 32, JS = 1, JF = 32;
    std::vector<int32_t> colFirst, colLast, rowFirst, rowLast;
    std::vector<double> g;

    double& at(int ix, int iy) { return g[(size_t)(iy - 1) * NX + (ix - 1)]; }
    double at(int ix, int iy) const { return g[(size_t)(iy - 1) * NX + (ix - 1)]; }
    double X(int ix) const { return (ix - 1) * DX + XPMIN; }
    double Y(int iy) const { return (iy - 1) * DY + YPMIN; }

    // Sizes the grid and fills it with f(ix, iy).
    void Fill(int32_t nx, int32_t ny, int32_t lx, int32_t ly, const std::function<double(int, int)>& f)
    {
        NX = nx, NY = ny, LX = lx, LY = ly;
        g.assign((size_t)NX * NY, 0.0);
        for (int iy = 1; iy <= NY; ++iy)
            for (int ix = 1; ix <= NX; ++ix)
                at(ix, iy) = f(ix, iy);
        SetFootprint(1, NX, 1, NY, [](int, int) { return true; });
    }

    // Footprint tables of the cells of IS..IF x JS..JF for which `data` holds, as binning makes
    // them: first and last data row of each column, first and last data column of each row.
    void SetFootprint(int32_t is, int32_t if_, int32_t js, int32_t jf, const std::function<bool(int, int)>& data)
    {
        IS = is, IF = if_, JS = js, JF = jf;
        colFirst.assign(IF - IS + 1, 1000000);
        colLast.assign(IF - IS + 1, -1000000);
        rowFirst.assign(JF - JS + 1, 1000000);
        rowLast.assign(JF - JS + 1, -1000000);
        for (int ix = IS; ix <= IF; ++ix)
            for (int iy = JS; iy <= JF; ++iy)
                if (data(ix, iy)) {
                    colFirst[ix - IS] = std::min(colFirst[ix - IS], iy);
                    colLast[ix - IS] = std::max(colLast[ix - IS], iy);
                    rowFirst[iy - JS] = std::min(rowFirst[iy - JS], ix);
                    rowLast[iy - JS] = std::max(rowLast[iy - JS], ix);
                }
    }

    // F(kx, ky) = sum g(ix, iy) exp(-2 pi i (kx (ix-1)/LX + ky (iy-1)/LY)), ky = 0..LY/2.
    std::vector<std::complex<double>> HalfSpectrum() const
    {
        int rows = LY / 2 + 1;
        std::vector<std::complex<double>> byColumn((size_t)rows * NX), F((size_t)rows * LX);
        for (int ky = 0; ky < rows; ++ky)
            for (int ix = 1; ix <= NX; ++ix) {
                std::complex<double> s = 0.0;
                for (int iy = 1; iy <= NY; ++iy)
                    s += at(ix, iy) * std::polar(1.0, -TWOPI * ky * (iy - 1) / LY);
                byColumn[(size_t)ky * NX + ix - 1] = s;
            }
        for (int ky = 0; ky < rows; ++ky)
            for (int kx = 0; kx < LX; ++kx) {
                std::complex<double> s = 0.0;
                for (int ix = 1; ix <= NX; ++ix)
                    s += byColumn[(size_t)ky * NX + ix - 1] * std::polar(1.0, -TWOPI * kx * (ix - 1) / LX);
                F[(size_t)ky * LX + kx] = s;
            }
        return F;
    }

    // The spectrum file, item by item; `keepBytes` >= 0 cuts it short (the spectrum is then
    // computed only when some of it is kept).
    void Write(const std::string& name = "fpt15_2D_FWD_SPEC_FILTER.BIN", long keepBytes = -1) const
    {
        std::string bytes;
        auto put = [&bytes](const auto& item) { bytes.append((const char*)&item, sizeof item); };
        for (double d : {X(IS), X(IF), Y(JS), Y(JF), DX, DY, XPMIN, YPMIN})
            put(d);
        for (int32_t n : {NX, NY, LX, LY})
            put(n);
        for (double d : {AV, CT, ST})
            put(d);
        for (int32_t n : {NTAILX, NTAILY, IS, IF, JS, JF})
            put(n);
        for (const auto* table : {&colFirst, &colLast, &rowFirst, &rowLast})
            for (int32_t n : *table)
                put(n);
        if (keepBytes < 0 || keepBytes > (long)bytes.size())
            for (const std::complex<double>& f : HalfSpectrum()) {
                put(f.real());
                put(f.imag());
            }
        if (keepBytes >= 0)
            bytes.resize((size_t)keepBytes);
        std::ofstream(name, std::ios::binary) << bytes;
    }

    long HeaderBytes() const { return 8 * 8 + 4 * 4 + 3 * 8 + 6 * 4; }
    long TableBytes() const { return 8L * (IF - IS + 1) + 8L * (JF - JS + 1); }
};

// FILTER.INP: a spectrum section the inverse run skips, then the filter lines.
inline void WriteControlFile(const std::string& filterLines, bool withMarker = true)
{
    WriteLines("FILTER.INP", SpectrumSection(0, 0, 0, 0, 10, 10));
    std::ofstream("FILTER.INP", std::ios::app) << (withMarker ? "Perform filtering\n" : "") << filterLines;
}

const char* const LOG_NAME = "fpt6_2D_INV_AIRFILT_FILTER.OUT";
const char* const POINTS_NAME = "fpt17_2D_INV_FLT_FILTER.TXT";

inline bool RunInverse(FilterPoints* points)
{
    InverseRun run("FILTER.INP", points);
    return run.DUVERU2_inv();
}

// Returned points keyed by their grid cell (ix, iy), for grid-frame coordinates.
inline std::map<std::pair<int, int>, double> PointsByCell(const SpectrumGrid& grid, const std::vector<double>& points)
{
    std::map<std::pair<int, int>, double> cells;
    for (size_t i = 0; i + 2 < points.size(); i += 3) {
        int ix = (int)std::lround((points[i] - grid.XPMIN) / grid.DX) + 1;
        int iy = (int)std::lround((points[i + 1] - grid.YPMIN) / grid.DY) + 1;
        cells[{ix, iy}] = points[i + 2];
    }
    return cells;
}

// Runs the filter lines on grid and returns the points by cell.
inline std::map<std::pair<int, int>, double> Filtered(const SpectrumGrid& grid, const std::string& lines)
{
    grid.Write();
    WriteControlFile(lines);
    FilterPoints points = {1.0, 2.0, 3.0};
    EXPECT_TRUE(RunInverse(&points)) << lines;
    EXPECT_EQ(points.size() % 3, 0u);
    return PointsByCell(grid, points);
}

}   // namespace inverse_test
