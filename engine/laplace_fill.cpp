// Gap fill: Jacobi sweeps that move every cell away from the data towards the mean of its four
// neighbours, taken across the grid border by wrap-around, so the tails smooth out and opposite
// borders join. Data cells and a one-cell margin around each row's and column's data stay fixed.
//
// V is stored column by column, so a sweep goes through bands of BAND rows and, within a band,
// column by column. That visits every pair of neighbouring cells in the same order as a sweep row
// by row would (left before right, lower before upper, and across the wrap-around row 1 before
// the top row and column 1 before the last), so the empty neighbours turned to 0 on the way, and
// with them the cells relaxed, are the same. The misfit sums are still taken row by row.
//
// A band adds each column's residuals as soon as no cell reads that column any more (those of
// its top row wait for the band above, which reads that row). On several threads the bands run as a
// wavefront: a band relaxes column i once the band below has done column i + 1, which keeps every
// neighbour's visiting order, and the bands take their misfit sums one after the other in row
// order, so the results are bit-identical whatever the band height.
// Each worker has its own residual buffers (a slot), used by its bands one after the other: a
// slot handed from core to core would move megabytes of cache lines with every band. Only a
// band's top row, kept for the band above, goes to the other core.

#include "forward_state.h"

#include "engine_threads.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

namespace {

const int ILAP = 5;
// Rows of a band: enough work between two bands' hand-overs, few enough residual rows in flight.
const int32_t BAND = 64;
// A column's band segment is fetched this many columns early: neighbouring columns lie a page
// apart, beyond what the processor's own prefetcher follows.
const int32_t PREFETCH_AHEAD = 4;
// A band tells the band above how far it has come every this many columns: each telling moves a
// cache line from core to core, which costs about as much as relaxing a band's column.
const int32_t PUBLISH_EVERY = 16;

// A neighbour that is empty or blocked counts as 0 and becomes 0 at once. Two bands of a
// wavefront may meet at one such cell (across the wrap-around column), so it is read and written
// as an atomic value; both write the same 0.
inline __attribute__((always_inline)) double Neighbour(double& cell)
{
    double value;
    __atomic_load(&cell, &value, __ATOMIC_RELAXED);
    if (MayBeMarker(value) && (IsEmptyCell(value) || IsBlockedCell(value))) {
        value = 0.0;
        __atomic_store(&cell, &value, __ATOMIC_RELAXED);
    }
    return value;
}

// A pause in a spin-wait loop, where the processor has one.
inline void CpuRelax()
{
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#endif
}

bool NearData(const RangePair& range, int32_t index)
{
    return index >= range.first - 1 && index <= range.last + 1;
}

// Buffers of one band: residuals and |v| of its rows, row by row, 0 where nothing was relaxed.
struct BandSlot {
    double* residual;
    double* magnitude;
};

// Rows of residuals in one worker's slot.
const size_t SLOT_ROWS = 2 * static_cast<size_t>(BAND);

int64_t BandCount(int32_t NY)
{
    return (std::max(NY, 0) + BAND - 1) / BAND;
}

struct Sweep {
    ForwardState& s;
    int32_t NX, NY, NDX, NDY;
    double** V;
    int32_t NTOTX, NTOTY;
    size_t stride;   // of the band rows
    double* slots;    // SLOT_ROWS rows for each worker
    double* topRows;  // a row for each band
    double* firstRow; // residuals of row 1, added at the end: the last row wraps onto it
    bool everyCell;  // every cell keeps and adds its residual, 0 where not relaxed
    double SOLD = 0, SRES = 0;
    int64_t relaxed = 0;

    BandSlot Slot(int32_t worker) const
    {
        double* base = slots + static_cast<size_t>(worker) * SLOT_ROWS * stride;
        return BandSlot{base, base + BAND * stride};
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

    // Column i of the band; returns the number of cells relaxed. A cell is relaxed unless it is
    // empty, blocked (it becomes empty) or next to data along its row or column; its residual is the
    // mean of its four neighbours, across the border by wrap-around, less its value.
    int32_t RelaxColumn(int32_t i, int32_t j0, int32_t rows, const BandSlot& slot)
    {
        PrefetchBand(i + PREFETCH_AHEAD, j0, rows);
        const int32_t c = i - NDX;
        double* column = V[c];
        double* right = V[c == NTOTX ? 1 : c + 1];
        double* left = V[c == 1 ? NTOTX : c - 1];
        const RangePair columnData = s.columnRange[c];
        int32_t count = 0;
        for (int32_t n = 0; n < rows; ++n) {
            const int32_t j = j0 + n, r = j - NDY;
            const bool rowNear = NearData(s.rowRange[r], i);
            if (!rowNear || everyCell)
                slot.residual[n * stride + i] = slot.magnitude[n * stride + i] = 0.0;
            double& v = column[r];
            if (MayBeMarker(v)) {
                if (IsEmptyCell(v))
                    continue;
                if (IsBlockedCell(v)) {
                    v = EMPTY_CELL;
                    continue;
                }
            }
            if (rowNear || NearData(columnData, j))
                continue;
            const int32_t up = r == NTOTY ? 1 : r + 1, down = r == 1 ? NTOTY : r - 1;
            double sum = Neighbour(right[r]) + Neighbour(column[up]) + Neighbour(left[r]) + Neighbour(column[down]);
            slot.residual[n * stride + i] = sum / 4.0 - v;
            slot.magnitude[n * stride + i] = std::fabs(v);
            ++count;
        }
        return count;
    }

    // Columns of row j next to its data, whose cells are never relaxed and whose residuals are
    // neither kept nor added: first > last when none.
    RangePair SkippedColumns(int32_t j) const
    {
        if (everyCell)
            return RangePair{1, 0};
        const RangePair data = s.rowRange[j - NDY];
        return RangePair{std::max(data.first - 1, 1), std::min(data.last + 1, NX)};
    }

    int32_t FirstRow(int64_t band) const { return static_cast<int32_t>(band * BAND + 1); }
    int32_t Rows(int64_t band) const { return std::min(BAND, NY - FirstRow(band) + 1); }

    // What a band's residual adds need: its rows, the top row the band below keeps for it (null
    // when that is row 1, or there is none), where its own top row is kept (null when it is row
    // 1) and, by row, the columns whose residuals are skipped.
    struct BandRows {
        int32_t j0, rows;
        const double* below;
        double* top;
        RangePair skipped[BAND];
        bool Relaxable(int32_t n, int32_t i) const { return i < skipped[n].first || i > skipped[n].last; }
    };

    void DescribeBand(int64_t band, BandRows& b) const
    {
        b.j0 = FirstRow(band);
        b.rows = Rows(band);
        b.below = b.j0 > 1 && b.j0 - 1 != 1 ? topRows + static_cast<size_t>(band - 1) * stride : nullptr;
        b.top = b.j0 + b.rows - 1 != 1 ? topRows + static_cast<size_t>(band) * stride : nullptr;
        for (int32_t n = 0; n < b.rows; ++n)
            b.skipped[n] = SkippedColumns(b.j0 + n);
    }

    // The band's misfit sums, row by row, over the columns whose residuals were kept.
    void SumBand(const BandRows& b, const BandSlot& slot)
    {
        for (int32_t n = 0; n < b.rows; ++n) {
            const double* res = slot.residual + n * stride;
            const double* mag = slot.magnitude + n * stride;
            auto add = [&](int32_t from, int32_t to) {
                for (int32_t i = from; i <= to; ++i) {
                    SOLD += mag[i];
                    SRES += std::fabs(res[i]);
                }
            };
            if (b.skipped[n].first > b.skipped[n].last) {
                add(1, NX);
            } else {
                add(1, b.skipped[n].first - 1);
                add(b.skipped[n].last + 1, NX);
            }
        }
    }

    // Column i's residuals, once no cell of the band reads the column any more: the top row of
    // the band below, which the band has used, and the band's rows but its top one, which is kept
    // for the band above; row 1 waits for the end. The residuals were written a column ago and
    // are still in the cache.
    void AddColumn(int32_t i, const BandRows& b, const BandSlot& slot)
    {
        double* column = V[i - NDX];
        const double* res = slot.residual + i;
        if (b.below)
            column[b.j0 - 1 - NDY] += b.below[i];
        for (int32_t n = b.j0 == 1 ? 1 : 0; n < b.rows - 1; ++n)
            if (b.Relaxable(n, i))
                column[b.j0 + n - NDY] += res[n * stride];
        if (b.j0 == 1)
            firstRow[i] = b.Relaxable(0, i) ? res[0] : 0.0;
        if (b.top)
            b.top[i] = b.Relaxable(b.rows - 1, i) ? res[(b.rows - 1) * stride] : 0.0;
    }

    // Relaxes the band column by column and adds each column's residuals once the next column
    // has been relaxed. Grid column 1, which the last grid column reads across the border, and
    // the band's last column are added at the end. before(i) runs before column i is relaxed,
    // done(i) after it and the adds that follow it; done(NX) comes after the last adds.
    template <class Before, class Done>
    int64_t RelaxAndAdd(const BandRows& b, const BandSlot& slot, Before before, Done done)
    {
        const int32_t wrapped = 1 + NDX; // the sweep's column of grid column 1
        int64_t count = 0;
        for (int32_t i = 1; i <= NX; ++i) {
            before(i);
            count += RelaxColumn(i, b.j0, b.rows, slot);
            if (i >= 2 && i - 1 != wrapped)
                AddColumn(i - 1, b, slot);
            if (i < NX)
                done(i);
        }
        if (NX != wrapped)
            AddColumn(NX, b, slot);
        if (wrapped >= 1 && wrapped <= NX)
            AddColumn(wrapped, b, slot);
        done(NX);
        return count;
    }

    void AddRow(const double* kept, int32_t j)
    {
        for (int32_t i = 1; i <= NX; ++i)
            V[i - NDX][j - NDY] += kept[i];
    }

    int64_t Bands() const { return BandCount(NY); }

    void RunSerially()
    {
        auto nothing = [](int32_t) {};
        for (int64_t band = 0; band < Bands(); ++band) {
            const BandSlot slot = Slot(0);
            BandRows b;
            DescribeBand(band, b);
            relaxed += RelaxAndAdd(b, slot, nothing, nothing);
            SumBand(b, slot);
        }
    }

    // Each band adds its residuals column by column as it goes (they go to cells no other band
    // reads any more), but its misfit sums only after those of the band below.
    void RunAsWavefront()
    {
        std::vector<std::atomic<int32_t>> columnsDone(Bands());
        for (std::atomic<int32_t>& done : columnsDone)
            done = 0;
        std::atomic<int64_t> bandsSummed{0};
        std::atomic<int64_t> relaxedCount{0};
        // The band below is usually a column or so ahead: a short spin sees it move sooner than
        // a system call would; a longer wait gives the core away.
        auto waitFor = [](auto& counter, int64_t value) {
            int64_t seen;
            for (int spins = 0; (seen = counter.load(std::memory_order_acquire)) < value; ++spins) {
                if (spins < 256)
                    CpuRelax();
                else
                    std::this_thread::yield();
            }
            return seen;
        };
        // A worker finishes a band, sums included, before it takes the next: its slot is free.
        ParallelFor(Bands(), 1, [&](int64_t first, int64_t last, int32_t worker) {
            for (int64_t band = first; band < last; ++band) {
                const BandSlot slot = Slot(worker);
                // The band below's progress is read again only when the last reading is used up.
                int64_t belowDone = band > 0 ? 0 : NX;
                auto before = [&](int32_t i) {
                    if (belowDone < std::min(i + 1, NX))
                        belowDone = waitFor(columnsDone[band - 1], std::min(i + 1, NX));
                };
                auto done = [&](int32_t i) {
                    if (i % PUBLISH_EVERY == 0 || i == NX)
                        columnsDone[band].store(i, std::memory_order_release);
                };
                BandRows b;
                DescribeBand(band, b);
                relaxedCount += RelaxAndAdd(b, slot, before, done);
                waitFor(bandsSummed, band);
                SumBand(b, slot);
                bandsSummed.store(band + 1, std::memory_order_release);
            }
        });
        relaxed = relaxedCount;
    }
};

} // namespace

size_t LaplaceBufferSize(int32_t NX, int32_t NY, int32_t workers)
{
    size_t rows = SLOT_ROWS * static_cast<size_t>(std::max(workers, 1)) + static_cast<size_t>(BandCount(NY)) + 1;
    return rows * (static_cast<size_t>(std::max(NX, 0)) + 1);
}

double LAPLACE(ForwardState& s, int32_t NX, int32_t NY, int32_t NDX, int32_t NDY, double** V, int32_t NTOTX,
               int32_t NTOTY, double* residuals, int32_t workers, bool everyCell)
{
    size_t row = static_cast<size_t>(NX) + 1;
    workers = std::max(workers, 1);
    double* topRows = residuals + SLOT_ROWS * workers * row;
    Sweep sweep{s,       NX,      NY, NDX, NDY, V, NTOTX, NTOTY, row, residuals,
                topRows, topRows + static_cast<size_t>(BandCount(NY)) * row, everyCell};
    // Every worker ParallelFor may name needs a slot.
    if (engineThreads() > 1 && workers >= engineThreads() && sweep.Bands() > 1)
        sweep.RunAsWavefront();
    else
        sweep.RunSerially();
    if (NY >= 2)
        sweep.AddRow(sweep.topRows + static_cast<size_t>(sweep.Bands() - 1) * row, NY);
    sweep.AddRow(sweep.firstRow, 1);
    // With nothing relaxed there is no misfit to measure.
    return sweep.relaxed == 0 ? 0.0 : sweep.SRES / sweep.SOLD;
}

namespace {

// A cell next to its row's data is never relaxed: its residual is 0, and adding it changes the
// cell only when the cell holds -0 (which becomes +0). Only a grid holding -0 needs every cell's
// residual added.
bool HoldsNegativeZero(const ForwardState& s)
{
    std::atomic<bool> found{false};
    ParallelFor(s.NTOTX, 64, [&](int64_t first, int64_t last, int32_t) {
        for (int64_t c = first + 1; c <= last && !found.load(std::memory_order_relaxed); ++c) {
            const double* column = s.V[c];
            if (std::any_of(column + 1, column + s.NTOTY + 1, [](double v) { return v == 0.0 && std::signbit(v); }))
                found = true;
        }
    });
    return found;
}

} // namespace

bool GapFill(ForwardState& s)
{
    const int32_t workers = engineThreads();
    size_t count = LaplaceBufferSize(s.NX, s.NY, workers);
    double* residuals = static_cast<double*>(RunCalloc(s, count, sizeof(double)));
    if (!residuals) {
        LogErr(s, " *** Allocate memory Error for the LAPLACE residuals: Execute \n");
        return false;
    }
    std::printf("Call - LAPLACE\n");
    const bool everyCell = HoldsNegativeZero(s);
    for (int sweep = 1; sweep <= ILAP; ++sweep) {
        double misfit = LAPLACE(s, s.NX, s.NY, s.NDX, s.NDY, s.V, s.NTOTX, s.NTOTY, residuals, workers, everyCell);
        Log(s, " *** MISFIT MEASURE FROM SUBR. LAPLACE = %13.6E  ***\n", misfit);
    }
    std::printf("End Call - LAPLACE\n");
    RunFree(s, residuals, count * sizeof(double));
    return true;
}
