// One transform pass: filter the stored half spectrum row by row, transform back along x, then
// along y column by column, and emit the values inside the data footprint.

#include "inverse_run.h"

#include "complex_fft.h"

#include <algorithm>
#include <cstdlib>

namespace {

const int32_t COLUMN_BLOCK = 8; // columns gathered together: 8 complex values span two cache lines

} // namespace

bool InverseRun::TransformPass()
{
    return FilterRows(request.p) && TransformColumns();
}

// Row phase: spectrum row j (ky = j-1) is filtered at v = (j-1) dv; entries 1..LX2 hold
// kx = 0..LX2-1, entries LX2+1..LX the negative wavenumbers -LX2..-1 (Nyquist as -LX2), so
// kx = m and kx = -m are entries m+1 and LX+1-m.
bool InverseRun::FilterRows(const FilterParams& params)
{
    printf("\nREAD SPECTRUM FROM TAPE15, THEN FILTER - LX = %d LY21 = %d \n", LX, LY21);
    double du = 1.0 / (LX * scale.DX), dv = 1.0 / (LY * scale.DY);   // cycles per grid unit
    bool unfiltered = request.IND == 11 && request.p.IDIR == 4;
    for (int32_t j = 1; j <= LY21; ++j) {
        if (fread(Work(1), 2 * sizeof(double), LX, fpt15) != (size_t)LX)
            return Fail("**** fpt15 Read Error: %s ends inside spectrum row %d of %d \n", spectrumFileName, j, LY21);
        if (!unfiltered) {
            double v = (j - 1) * dv;
            FilterResponse(params, 0 * du, v, Work(1), request.IND, request.ITYP);
            FilterResponse(params, -LX2 * du, v, Work(LX2 + 1), request.IND, request.ITYP);
            for (int32_t m = 1; m < LX2; ++m)
                FilterResponsePair(params, m * du, v, Work(m + 1), Work(LX + 1 - m), request.IND, request.ITYP);
            if (fpt16) {
                for (int32_t i = 1; i <= LX; ++i)
                    fprintf(fpt16, "(%lg, %lg) ", Work(i)[0], Work(i)[1]);
                fprintf(fpt16, "\n");
                fflush(fpt16);
            }
        }
        if (ComplexFFT(0, LX, Work(1)) != 0)
            return Fail("**** Transform Error: LX = %d \n", LX);
        std::copy(Work(1), Work(NX + 1), Cell(j, 1));
    }
    return true;
}

// Column phase: each needed column is completed from the half spectrum by conjugate symmetry,
// F(-ky) = conj F(ky), and transformed back along y.
bool InverseRun::TransformColumns()
{
    if (output)
        output->clear();
    VMIN = 1e20;
    VMAX = -1e20;
    int32_t first = std::max(IS - 1, 1), last = std::min(std::min(IF + 1, LX), NX);
    // A grid row is NX complex values long, so one column touches a new cache line and page in
    // every row: the columns are gathered COLUMN_BLOCK at a time, a cache line of each row.
    double* block = (double*)malloc(2 * sizeof(double) * COLUMN_BLOCK * (size_t)LY21);
    if (!block)
        return Fail("**** Allocate memory error: column block \n");
    bool ok = true;
    for (int32_t x0 = first; x0 <= last && ok; x0 += COLUMN_BLOCK) {
        int32_t count = std::min(COLUMN_BLOCK, last - x0 + 1);
        for (int32_t k = 1; k <= LY21; ++k)
            for (int32_t b = 0; b < count; ++b)
                std::copy(Cell(k, x0 + b), Cell(k, x0 + b) + 2, block + 2 * ((size_t)b * LY21 + k - 1));
        for (int32_t b = 0; b < count && ok; ++b)
            ok = TransformColumn(x0 + b, block + 2 * (size_t)b * LY21);
    }
    free(block);
    if (ok)
        Log(" MIN = %lg,   MAX = %lg\n", VMIN, VMAX);
    return ok;
}

// Column x, its half spectrum gathered in `half` (LY21 complex values): completed by conjugate
// symmetry, transformed back along y, then kept, parked or emitted.
bool InverseRun::TransformColumn(int32_t x, const double* half)
{
    std::copy(half, half + 2 * (size_t)LY21, Work(1));
    for (int32_t k = LY21 + 1; k <= LY; ++k) {
        Work(k)[0] = Work(LY - k + 2)[0];
        Work(k)[1] = -Work(LY - k + 2)[1];
    }
    if (ComplexFFT(0, LY, Work(1)) != 0)
        return Fail("**** Transform Error: LY = %d \n", LY);
    // The transform is periodic: row 0 is row LY and row LY+1 is row 1.
    std::copy(Work(LY), Work(LY) + 2, Work(0));
    std::copy(Work(1), Work(1) + 2, Work(LY + 1));
    if (std::abs(PKPIK) == 1 || IOUT > 1)
        KeepColumn(x);
    if (request.IND >= 11 && request.IND <= 13)
        return ParkColumn(x);
    EmitColumn(x);
    return true;
}

// Keeps the space-domain column in the filtered grid; rows outside JS-1..JF+1 are marked.
void InverseRun::KeepColumn(int32_t x)
{
    for (int32_t y = 1; y <= NROWS; ++y) {
        Cell(y, x)[0] = -99999.0;
        Cell(y, x)[1] = 0.0;
    }
    for (int32_t y = std::max(JS - 1, 1); y <= JF + 1; ++y)
        std::copy(Work(y), Work(y) + 2, Cell(y, x));
}

void InverseRun::EmitColumn(int32_t x)
{
    bool restoreLevel = RestoresLevel(request);
    ForEachFootprintRow(x, [&](int32_t y) {
        double value = Work(y)[0] + (restoreLevel ? scale.AV : 0.0);
        double X, Y;
        PointCoordinates(x, y, X, Y);
        VMIN = std::min(VMIN, value);
        VMAX = std::max(VMAX, value);
        AppendPoint(X, Y, value);
    });
}

// Only the levels that the response leaves in data units get the removed mean back: the window
// alone, continuation and reduction to the pole, and a composite of these alone.
bool InverseRun::RestoresLevel(const ResponseRequest& r) const
{
    if (r.IND != 18)
        return r.IND == 1 || r.IND == 3 || r.IND == 5 || r.IND == 14;
    for (int32_t i = 0; i < r.p.NPARTS; ++i)
        if (!RestoresLevel(r.p.PARTS[i]))
            return false;
    return true;
}

// Rows of column x that held data: within JS..JF and the column's own range.
void InverseRun::FootprintRows(int32_t x, int32_t& first, int32_t& last) const
{
    first = std::max(JS, COLRNG[x][0]);
    last = std::min(JF, COLRNG[x][1]);
}

bool InverseRun::InRowRange(int32_t x, int32_t y) const
{
    return x >= ROWRNG[y][0] && x <= ROWRNG[y][1];
}

// Grid-frame coordinates of cell (x, y), rotated back to the survey frame when OMODE is 2:
// X' = CT X + ST Y, Y' = CT Y - ST X.
void InverseRun::PointCoordinates(int32_t x, int32_t y, double& X, double& Y) const
{
    double gx = (x - 1) * scale.DX + XPMIN;
    double gy = (y - 1) * scale.DY + YPMIN;
    X = gx;
    Y = gy;
    if (OMODE == 2) {
        X = angle.CT * gx + angle.ST * gy;
        Y = angle.CT * gy - angle.ST * gx;
    }
}

void InverseRun::AppendPoint(double X, double Y, double value)
{
    ++NPTS;
    if (IOUT != 1)
        return;
    if (output) {
        output->push_back(X);
        output->push_back(Y);
        output->push_back(value);
    } else if (fpt17) {
        fprintf(fpt17, "%15.4f %15.4f %13.6E\n", X, Y, value);
    }
}

void InverseRun::WriteSpectrumRecordHeader()
{
    fprintf(fpt16, "XMIN=%lg, XMAX=%lg, YMIN=%lg, YMAX=%lg, scale.DX=%lg, scale.DY=%lg\n", XMIN, XMAX, YMIN, YMAX,
            scale.DX, scale.DY);
    fprintf(fpt16, "XPMIN=%lg, YPMIN=%lg\n", XPMIN, YPMIN);
    fprintf(fpt16, "NX=%d, NY=%d\n", NX, NY);
    fprintf(fpt16, "LX = %d, LY = %d, scale.AV = %lg\n", LX, LY, scale.AV);
    fprintf(fpt16, "angle.CT = %lg, angle.ST = %lg\n", angle.CT, angle.ST);
    fprintf(fpt16, "NTAILX = %d, NTAILY = %d\n", NTAILX, NTAILY);
    fprintf(fpt16, "IS = %d, IF = %d, JS = %d, JF = %d\n", IS, IF, JS, JF);
    for (int32_t bound = 0; bound < 2; ++bound) {
        for (int32_t x = IS; x <= IF; ++x)
            fprintf(fpt16, "%d ", COLRNG[x][bound]);
        fprintf(fpt16, "\n");
    }
    for (int32_t bound = 0; bound < 2; ++bound) {
        for (int32_t y = JS; y <= JF; ++y)
            fprintf(fpt16, "%d ", ROWRNG[y][bound]);
        fprintf(fpt16, "\n");
    }
    fflush(fpt16);
}

// The kept grid as a table, without the restored level and without the footprint mask.
void InverseRun::DumpGrid()
{
    for (int32_t y = JS; y <= JF; ++y) {
        for (int32_t x = IS; x <= IF; ++x)
            fprintf(fpt17, "%13.6E ", Cell(y, x)[0]);
        fprintf(fpt17, "\n");
    }
}
