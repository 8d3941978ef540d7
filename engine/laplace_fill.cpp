// Gap fill: Jacobi sweeps that move every cell away from the data towards the mean of its four
// neighbours, taken across the grid border by wrap-around, so the tails smooth out and opposite
// borders join. Data cells and a one-cell margin around each row's and column's data stay fixed.

#include "forward_state.h"

#include <algorithm>
#include <cmath>

namespace {

const int ILAP = 5;

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

void AddResiduals(double** V, double* residual, int32_t NX, int32_t NDX, int32_t r)
{
    for (int32_t i = 1; i <= NX; ++i) {
        V[i - NDX][r] += residual[i];
        residual[i] = 0.0;
    }
}

} // namespace

size_t LaplaceBufferSize(const ForwardState& s)
{
    return 3 * (static_cast<size_t>(s.DIM1) + 1);
}

double LAPLACE(ForwardState& s, int32_t NX, int32_t NY, int32_t NDX, int32_t NDY, double** V, int32_t NTOTX,
               int32_t NTOTY, double* residuals)
{
    // Rows wait for their residuals until the next row has used their old values; the first row
    // waits until the end, since the last row wraps onto it.
    size_t stride = static_cast<size_t>(s.DIM1) + 1;
    std::fill(residuals, residuals + 3 * stride, 0.0);
    double* firstRow = residuals;
    double* rolling[2] = {residuals + stride, residuals + 2 * stride};
    double SOLD = 0, SRES = 0;
    int64_t relaxed = 0;
    for (int32_t j = 1; j <= NY; ++j) {
        int32_t r = j - NDY;
        double* kept = j == 1 ? firstRow : rolling[j % 2];
        for (int32_t i = 1; i <= NX; ++i) {
            int32_t c = i - NDX;
            double& v = V[c][r];
            if (IsEmptyCell(v))
                continue;
            if (IsBlockedCell(v)) {
                v = EMPTY_CELL;
                continue;
            }
            if (NearData(s.rowRange[r], i) || NearData(s.columnRange[c], j))
                continue;
            int32_t right = c == NTOTX ? 1 : c + 1, left = c == 1 ? NTOTX : c - 1;
            int32_t up = r == NTOTY ? 1 : r + 1, down = r == 1 ? NTOTY : r - 1;
            double sum = Neighbour(V[right][r]) + Neighbour(V[c][up]) + Neighbour(V[left][r]) + Neighbour(V[c][down]);
            double residual = sum / 4.0 - v;
            SOLD += std::fabs(v);
            SRES += std::fabs(residual);
            kept[i] = residual;
            ++relaxed;
        }
        if (j >= 3)
            AddResiduals(V, rolling[(j - 1) % 2], NX, NDX, j - 1 - NDY);
    }
    if (NY >= 2)
        AddResiduals(V, rolling[NY % 2], NX, NDX, NY - NDY);
    AddResiduals(V, firstRow, NX, NDX, 1 - NDY);
    // With nothing relaxed there is no misfit to measure.
    return relaxed == 0 ? 0.0 : SRES / SOLD;
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
