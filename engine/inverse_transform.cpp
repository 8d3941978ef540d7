// One transform pass: filter the stored half spectrum row by row, transform back along x, then
// along y column by column, and emit the values inside the data footprint.

#include "inverse_run.h"
#include "filter_codes.h"

#include "complex_fft.h"
#include "engine_threads.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>
#include <cstdlib>

using namespace filter_codes;

namespace {

const int32_t COLUMN_BLOCK = 8; // columns gathered together: 8 complex values span two cache lines
const int32_t ROW_BLOCK = 64;   // spectrum rows read, filtered and transformed together

}   // namespace

bool InverseRun::TransformPass()
{
    return FilterRows(request.p) && TransformColumns();
}

// Row phase: spectrum row j (ky = j-1) is filtered at v = (j-1) dv; entries 1..LX2 hold
// kx = 0..LX2-1, entries LX2+1..LX the negative wavenumbers -LX2..-1 (Nyquist as -LX2), so
// kx = m and kx = -m are entries m+1 and LX+1-m. The rows are read ROW_BLOCK at a time, a reader
// thread reading the next block while the engine's threads filter and transform this one.
bool InverseRun::FilterRows(const FilterParams& params)
{
    printf("\nREAD SPECTRUM FROM TAPE15, THEN FILTER - LX = %d LY21 = %d \n", LX, LY21);
    const size_t blockLength = 2 * (size_t)LX * ROW_BLOCK;
    double* blocks = (double*)malloc(sizeof(double) * 2 * blockLength);
    if (!blocks)
        return Fail("**** Allocate memory error: spectrum rows \n");
    // Complete rows of the block from row j0 read into `into`.
    auto readBlock = [&](int32_t j0, double* into) {
        size_t count = (size_t)std::min(ROW_BLOCK, LY21 - j0 + 1);
        return (int32_t)(fread(into, 2 * sizeof(double), (size_t)LX * count, fpt15) / LX);
    };
    bool ok = true;
    int32_t complete = readBlock(1, blocks);
    for (int32_t j0 = 1, index = 0; j0 <= LY21 && ok; j0 += ROW_BLOCK, ++index) {
        int32_t count = std::min(ROW_BLOCK, LY21 - j0 + 1), next = j0 + ROW_BLOCK, nextComplete = 0;
        double* rows = blocks + (index % 2) * blockLength;
        double* nextRows = blocks + ((index + 1) % 2) * blockLength;
        bool readNext = complete == count && next <= LY21;
        std::thread reader;
        if (readNext) {
            try {
                reader = std::thread([&] { nextComplete = readBlock(next, nextRows); });
            } catch (const std::system_error&) {
                nextComplete = readBlock(next, nextRows);
            }
        }
        ok = FilterAndTransformRows(params, j0, complete, rows);
        if (reader.joinable())
            reader.join();
        if (ok && complete < count)
            ok = Fail("**** fpt15 Read Error: %s ends inside spectrum row %d of %d \n", spectrumFileName, j0 + complete,
                      LY21);
        complete = nextComplete;
    }
    free(blocks);
    return ok;
}

// Rows j0 .. j0+count-1, read into `rows`: filtered (and recorded in order when asked), then
// transformed back along x into the grid.
bool InverseRun::FilterAndTransformRows(const FilterParams& params, int32_t j0, int32_t count, double* rows)
{
    const size_t length = 2 * (size_t)LX;
    const double du = 1.0 / (LX * scale.DX), dv = 1.0 / (LY * scale.DY);   // cycles per grid unit
    const bool filtered = !(request.IND == FieldComponents && request.p.IDIR == AlongAzimuth);
    auto filter = [&](int32_t r) {
        double* row = rows + r * length;
        double v = (j0 + r - 1) * dv;
        FilterResponse(params, 0 * du, v, row, request.IND, request.ITYP);
        FilterResponse(params, -LX2 * du, v, row + 2 * LX2, request.IND, request.ITYP);
        for (int32_t m = 1; m < LX2; ++m)
            FilterResponsePair(params, m * du, v, row + 2 * m, row + 2 * (LX - m), request.IND, request.ITYP);
    };
    std::atomic<bool> transformed{true};
    auto transform = [&](int32_t r) {
        double* row = rows + r * length;
        if (ComplexFFT(0, LX, row) != 0)
            transformed = false;
        std::copy(row, row + 2 * (size_t)NX, Cell(j0 + r, 1));
    };
    // The filtered-spectrum record is written row by row between the two steps.
    bool recorded = filtered && fpt16;
    ParallelFor(count, 1, [&](int64_t r0, int64_t r1, int32_t) {
        for (int64_t r = r0; r < r1; ++r) {
            if (filtered)
                filter((int32_t)r);
            if (!recorded)
                transform((int32_t)r);
        }
    });
    if (recorded) {
        for (int32_t r = 0; r < count; ++r) {
            for (int32_t i = 0; i < LX; ++i)
                fprintf(fpt16, "(%lg, %lg) ", rows[r * length + 2 * i], rows[r * length + 2 * i + 1]);
            fprintf(fpt16, "\n");
            fflush(fpt16);
        }
        ParallelFor(count, 1, [&](int64_t r0, int64_t r1, int32_t) {
            for (int64_t r = r0; r < r1; ++r)
                transform((int32_t)r);
        });
    }
    if (!transformed)
        return Fail("**** Transform Error: LX = %d \n", LX);
    return true;
}

// Column phase: each needed column is completed from the half spectrum by conjugate symmetry,
// F(-ky) = conj F(ky), and transformed back along y. A grid row is NX complex values long, so
// one column touches a new cache line and page in every row: each worker gathers COLUMN_BLOCK
// columns at a time, a cache line of each row. A batch of columns is transformed on the
// engine's threads, then its output is handed on in column order.
bool InverseRun::TransformColumns()
{
    if (output)
        output->clear();
    VMIN = 1e20;
    VMAX = -1e20;
    int32_t first = std::max(IS - 1, 1), last = std::min(std::min(IF + 1, LX), NX);
    const int32_t workers = engineThreads();
    const size_t gatherLength = 2 * (size_t)COLUMN_BLOCK * LY21, columnLength = 2 * ((size_t)LY + 2);
    double* buffers = (double*)malloc(sizeof(double) * (gatherLength + columnLength) * workers);
    if (!buffers)
        return Fail("**** Allocate memory error: column block \n");
    const int32_t batch = COLUMN_BLOCK * 4 * workers;
    std::vector<ColumnOutput> outputs(batch);
    std::atomic<bool> transformed{true};
    bool ok = true;
    for (int32_t b0 = first; b0 <= last && ok; b0 += batch) {
        int32_t columns = std::min(batch, last - b0 + 1);
        ParallelFor(columns, COLUMN_BLOCK, [&](int64_t c0, int64_t c1, int32_t worker) {
            double* block = buffers + worker * (gatherLength + columnLength);
            double* column = block + gatherLength;
            int32_t x0 = b0 + (int32_t)c0, count = (int32_t)(c1 - c0);
            for (int32_t k = 1; k <= LY21; ++k)
                for (int32_t b = 0; b < count; ++b)
                    std::copy(Cell(k, x0 + b), Cell(k, x0 + b) + 2, block + 2 * ((size_t)b * LY21 + k - 1));
            for (int32_t b = 0; b < count; ++b)
                if (!TransformColumn(x0 + b, block + 2 * (size_t)b * LY21, column, outputs[c0 + b]))
                    transformed = false;
        });
        if (!transformed)
            ok = Fail("**** Transform Error: LY = %d \n", LY);
        for (int32_t c = 0; c < columns && ok; ++c)
            ok = HandOnColumn(outputs[c]);
    }
    free(buffers);
    if (ok)
        Log(" MIN = %lg,   MAX = %lg\n", VMIN, VMAX);
    return ok;
}

// Column x, its half spectrum gathered in `half` (LY21 complex values): completed by conjugate
// symmetry in `column` (LY+2 complex values, rows 0..LY+1), transformed back along y, kept, and
// its output made ready to be parked or emitted.
bool InverseRun::TransformColumn(int32_t x, const double* half, double* column, ColumnOutput& out) const
{
    auto row = [column](int32_t y) { return column + 2 * (size_t)y; };
    std::copy(half, half + 2 * (size_t)LY21, row(1));
    for (int32_t k = LY21 + 1; k <= LY; ++k) {
        row(k)[0] = row(LY - k + 2)[0];
        row(k)[1] = -row(LY - k + 2)[1];
    }
    if (ComplexFFT(0, LY, row(1)) != 0)
        return false;
    // The transform is periodic: row 0 is row LY and row LY+1 is row 1.
    std::copy(row(LY), row(LY) + 2, row(0));
    std::copy(row(1), row(1) + 2, row(LY + 1));
    if (std::abs(PKPIK) == 1 || IOUT > 1)
        KeepColumn(x, column);
    if (request.IND >= 11 && request.IND <= 13)
        ParkedRecord(x, column, out);
    else
        EmittedPoints(x, column, out);
    return true;
}

// Keeps the space-domain column in the filtered grid; rows outside JS-1..JF+1 are marked.
void InverseRun::KeepColumn(int32_t x, const double* column) const
{
    for (int32_t y = 1; y <= NROWS; ++y) {
        Cell(y, x)[0] = -99999.0;
        Cell(y, x)[1] = 0.0;
    }
    for (int32_t y = std::max(JS - 1, 1); y <= JF + 1; ++y)
        std::copy(column + 2 * (size_t)y, column + 2 * (size_t)y + 2, Cell(y, x));
}

// Only the levels that the response leaves in data units get the removed mean back: the window
// alone, continuation and reduction to the pole, and a composite of these alone.
bool InverseRun::RestoresLevel(const ResponseRequest& r) const
{
    if (r.IND != 18)
        return r.IND == WindowOnly || r.IND == Continuation || r.IND == ReductionToPole || r.IND == StableReductionToPole;
    for (int32_t i = 0; i < r.p.NPARTS; ++i)
        if (!RestoresLevel(r.p.PARTS[i]))
            return false;
    return true;
}

// The footprint points of column x as (X, Y, value) triples, with their least and greatest
// value, the removed mean restored where the response keeps the level.
void InverseRun::EmittedPoints(int32_t x, const double* column, ColumnOutput& out) const
{
    bool restoreLevel = RestoresLevel(request);
    out.values.clear();
    out.VMIN = 1e20;
    out.VMAX = -1e20;
    ForEachFootprintRow(x, [&](int32_t y) {
        double value = column[2 * (size_t)y] + (restoreLevel ? scale.AV : 0.0);
        double X, Y;
        PointCoordinates(x, y, X, Y);
        out.VMIN = std::min(out.VMIN, value);
        out.VMAX = std::max(out.VMAX, value);
        out.values.insert(out.values.end(), {X, Y, value});
    });
}

// The column's output in column order: its points emitted, or its record parked.
bool InverseRun::HandOnColumn(const ColumnOutput& out)
{
    if (request.IND >= 11 && request.IND <= 13)
        return ParkColumn(out);
    VMIN = std::min(VMIN, out.VMIN);
    VMAX = std::max(VMAX, out.VMAX);
    NPTS += (long)(out.values.size() / 3);
    if (IOUT != 1)
        return true;
    if (output)
        output->insert(output->end(), out.values.begin(), out.values.end());
    else if (fpt17)
        for (size_t i = 0; i < out.values.size(); i += 3)
            fprintf(fpt17, "%15.4f %15.4f %13.6E\n", out.values[i], out.values[i + 1], out.values[i + 2]);
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
