// Gap fill: Jacobi sweeps that move every cell away from the data towards the mean of its four
// neighbours, taken across the grid border by wrap-around, so the tails smooth out and opposite
// borders join. Data cells and a one-cell margin around each row's and column's data stay fixed.
//
// V is stored column by column, so a sweep goes through bands of BAND rows and, within a band,
// column by column. That visits every pair of neighbouring cells in the same order as a sweep row
// by row would (left before right, lower before upper, and across the wrap-around row 1 before
// the top row and column 1 before the last), so the empty neighbours turned to 0 on the way, and
// with them the cells relaxed, are the same. The misfit sums are still taken row by row.

#include "forward_state.h"

#include <algorithm>
#include <cmath>

namespace {

const int ILAP = 5;
const int32_t BAND = 16;
// A column's band segment is fetched this many columns early: neighbouring columns lie a page
// apart, beyond what the processor's own prefetcher follows.
const int32_t PREFETCH_AHEAD = 4;

// A neighbour that is empty or blocked counts as 0 and becomes 0 at once.
double Neighbour(double& cell)
{
    if (IsEmptyCell(cell) || IsBlockedCell(cell))
        cell = 0.0;
    return cell;
}

bool NearData(const RangePair& range, int32_t index)
{
    return index >= range.first - 1 && index <= range.last + 1;
}

struct Sweep {
    ForwardState& s;
    int32_t NX, NY, NDX, NDY;
    double** V;
    int32_t NTOTX, NTOTY;
    size_t stride;     // of the band rows below
    double* residual;  // band residuals, row by row, 0 where nothing was relaxed
    double* magnitude; // |v| of the relaxed cells, same layout
    double* lastRow;   // residuals of a band's top row, added once the next band has used it
    double* firstRow;  // residuals of row 1, added at the end: the last row wraps onto it
    double SOLD = 0, SRES = 0;
    int64_t relaxed = 0;

    // Residual of cell (i, j); false when the cell is not relaxed.
    bool Relax(int32_t i, int32_t j, double& residualOut, double& magnitudeOut)
    {
        int32_t c = i - NDX, r = j - NDY;
        double& v = V[c][r];
        if (IsEmptyCell(v))
            return false;
        if (IsBlockedCell(v)) {
            v = EMPTY_CELL;
            return false;
        }
        if (NearData(s.rowRange[r], i) || NearData(s.columnRange[c], j))
            return false;
        int32_t right = c == NTOTX ? 1 : c + 1, left = c == 1 ? NTOTX : c - 1;
        int32_t up = r == NTOTY ? 1 : r + 1, down = r == 1 ? NTOTY : r - 1;
        double sum = Neighbour(V[right][r]) + Neighbour(V[c][up]) + Neighbour(V[left][r]) + Neighbour(V[c][down]);
        residualOut = sum / 4.0 - v;
        magnitudeOut = std::fabs(v);
        ++relaxed;
        return true;
    }

    // A hint only: the band's cells of column i, when that column exists.
    void PrefetchBand(int32_t i, int32_t j0, int32_t rows) const
    {
        int32_t c = i - NDX;
        if (c < 1 || c > NTOTX)
            return;
        const double* first = V[c] + (j0 - NDY);
        __builtin_prefetch(first);
        __builtin_prefetch(first + (rows - 1));
    }

    void RelaxBand(int32_t j0, int32_t rows)
    {
        for (int32_t i = 1; i <= NX; ++i) {
            PrefetchBand(i + PREFETCH_AHEAD, j0, rows);
            for (int32_t n = 0; n < rows; ++n) {
                double& res = residual[n * stride + i];
                double& mag = magnitude[n * stride + i];
                if (!Relax(i, j0 + n, res, mag))
                    res = mag = 0.0;
            }
        }
        for (int32_t n = 0; n < rows; ++n) {
            const double* res = residual + n * stride;
            const double* mag = magnitude + n * stride;
            for (int32_t i = 1; i <= NX; ++i) {
                SOLD += mag[i];
                SRES += std::fabs(res[i]);
            }
        }
    }

    // The band has used the old values of the row below it: that row and the band's rows up to
    // its last but one take their residuals; the top row waits for the next band, row 1 for the end.
    void AddBandResiduals(int32_t j0, int32_t rows, bool rowBelowWaits)
    {
        int32_t j1 = j0 + rows - 1;
        int32_t from = j0 == 1 ? 1 : 0; // band row index of the first row added now
        for (int32_t i = 1; i <= NX; ++i) {
            double* column = V[i - NDX];
            const double* res = residual + i;
            if (rowBelowWaits)
                column[j0 - 1 - NDY] += lastRow[i];
            for (int32_t n = from; n < rows - 1; ++n)
                column[j0 + n - NDY] += res[n * stride];
            if (j0 == 1)
                firstRow[i] = res[0];
            if (j1 != 1)
                lastRow[i] = res[(rows - 1) * stride];
        }
    }

    void AddRow(const double* kept, int32_t j)
    {
        for (int32_t i = 1; i <= NX; ++i)
            V[i - NDX][j - NDY] += kept[i];
    }
};

} // namespace

size_t LaplaceBufferSize(const ForwardState& s)
{
    return (2 * static_cast<size_t>(BAND) + 2) * (static_cast<size_t>(s.DIM1) + 1);
}

double LAPLACE(ForwardState& s, int32_t NX, int32_t NY, int32_t NDX, int32_t NDY, double** V, int32_t NTOTX,
               int32_t NTOTY, double* residuals)
{
    size_t row = static_cast<size_t>(s.DIM1) + 1;
    Sweep sweep{s, NX, NY, NDX, NDY, V, NTOTX, NTOTY, row, residuals, residuals + BAND * row,
                residuals + 2 * BAND * row, residuals + (2 * BAND + 1) * row};
    for (int32_t j0 = 1; j0 <= NY; j0 += BAND) {
        int32_t rows = std::min(BAND, NY - j0 + 1);
        sweep.RelaxBand(j0, rows);
        sweep.AddBandResiduals(j0, rows, j0 > 1 && j0 - 1 != 1);
    }
    if (NY >= 2)
        sweep.AddRow(sweep.lastRow, NY);
    sweep.AddRow(sweep.firstRow, 1);
    // With nothing relaxed there is no misfit to measure.
    return sweep.relaxed == 0 ? 0.0 : sweep.SRES / sweep.SOLD;
}

bool GapFill(ForwardState& s)
{
    size_t count = LaplaceBufferSize(s);
    double* residuals = static_cast<double*>(RunCalloc(s, count, sizeof(double)));
    if (!residuals) {
        LogErr(s, " *** Allocate memory Error for the LAPLACE residuals: Execute \n");
        return false;
    }
    std::printf("Call - LAPLACE\n");
    for (int sweep = 1; sweep <= ILAP; ++sweep) {
        double misfit = LAPLACE(s, s.NX, s.NY, s.NDX, s.NDY, s.V, s.NTOTX, s.NTOTY, residuals);
        Log(s, " *** MISFIT MEASURE FROM SUBR. LAPLACE = %13.6E  ***\n", misfit);
    }
    std::printf("End Call - LAPLACE\n");
    RunFree(s, residuals, count * sizeof(double));
    return true;
}
