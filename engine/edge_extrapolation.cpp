// Edge extrapolation: from every data edge the field is continued outward by mirroring the data
// (2 V(e) - V(m)) under a Gaussian taper that falls to 1e-3 over the tail. Tails along columns and
// rows are collected in UNIT8_ARR, sorted by cell and merged with weights 1/k^2; a second,
// border-aware pass along the columns then fills the corners.

#include "edge_extrapolation.h"

#include "engine_threads.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <vector>

namespace {

// One column (cells indexed by row) or one row (cells indexed by column) of V.
struct Line {
    double** V;
    int32_t fixed;
    bool isColumn;
    int32_t bound;
    int32_t NTAIL;
    const double* taper; // Taper of steps 1..NTAIL, by step
    double& At(int32_t p) const { return isColumn ? V[fixed][p] : V[p][fixed]; }
};

// Taper weight of step k: w(1) = 1, w(NTAIL) = 1e-3.
double Taper(const ForwardState& s, int32_t k, double GRAD)
{
    double x = (k - 1) * GRAD;
    return std::exp(-x * x * s.C);
}

// The weights of steps 1..NTAIL along columns (y) and rows (x), computed once: every tail takes
// them from here.
struct TaperTables {
    std::vector<double> x, y;
};

std::vector<double> TaperTable(const ForwardState& s, int32_t NTAIL, double GRAD)
{
    std::vector<double> table(static_cast<size_t>(std::max(NTAIL, 0)) + 1, 0.0);
    for (int32_t k = 1; k <= NTAIL; ++k)
        table[static_cast<size_t>(k)] = Taper(s, k, GRAD);
    return table;
}

// UNIT8_ARR entries; with no storage (the first of two passes) they are only counted.
struct Unit8 {
    Unit8Entry* UNIT8_ARR = nullptr;
    int64_t n = 0;
    void Append(int32_t column, int32_t row, double value, int32_t k)
    {
        UNIT8_ARR[n++] = Unit8Entry{value, static_cast<uint16_t>(column), static_cast<uint16_t>(row),
                                    static_cast<uint16_t>(k)};
    }
};

void TailFromEdge(const Line& line, int32_t e, int32_t sign, Unit8& out)
{
    for (int32_t k = 1; k <= line.NTAIL; ++k) {
        int32_t m = e - sign * k;
        int32_t t = e + sign * k;
        if (m < 1 || m > line.bound || t < 1 || t > line.bound)
            break; // both only move farther out
        if (IsEmptyCell(line.At(m)) || !IsEmptyCell(line.At(t)))
            continue;
        if (!out.UNIT8_ARR) { // counting: the value is not needed
            ++out.n;
            continue;
        }
        double value = line.taper[k] * (2.0 * line.At(e) - line.At(m));
        int32_t column = line.isColumn ? line.fixed : t;
        int32_t row = line.isColumn ? t : line.fixed;
        out.Append(column, row, value, k);
    }
}

// Walks the line from `from` to `to`; every change between empty and data is an edge.
void ScanLine(const Line& line, int32_t from, int32_t to, Unit8& out)
{
    int32_t sign = -1;
    for (int32_t p = from; p <= to; ++p) {
        bool empty = p > line.bound || IsEmptyCell(line.At(p));
        if (sign < 0 && !empty) {
            TailFromEdge(line, p, -1, out);
            sign = 1;
        } else if (sign > 0 && empty) {
            TailFromEdge(line, p - 1, 1, out);
            sign = -1;
        }
    }
}

// The lines scanned for tails, in collection order: the columns, then the rows.
int64_t TailColumns(const ForwardState& s) { return s.NTAILY > 0 ? s.IXMAX - s.IXMIN + 1 : 0; }
int64_t TailLines(const ForwardState& s) { return TailColumns(s) + (s.NTAILX > 0 ? s.IYMAX - s.IYMIN + 1 : 0); }

void ScanTailLine(const ForwardState& s, const TaperTables& tapers, int64_t index, Unit8& out)
{
    int64_t columns = TailColumns(s);
    if (index < columns) {
        int32_t c = static_cast<int32_t>(s.IXMIN + index);
        ScanLine(Line{s.V, c, true, s.NTOTY, s.NTAILY, tapers.y.data()}, s.IYMIN, s.IYMAX + 1, out);
    } else {
        int32_t r = static_cast<int32_t>(s.IYMIN + index - columns);
        ScanLine(Line{s.V, r, false, s.NTOTX, s.NTAILX, tapers.x.data()}, s.IXMIN, s.IXMAX + 1, out);
    }
}

const int64_t LINES_PER_CHUNK = 64;

// Entries of every line, counted on the engine's threads; lineStart[i] becomes the place of
// line i's first entry and lineStart[lines] the total.
void CountTails(const ForwardState& s, const TaperTables& tapers, std::vector<int64_t>& lineStart)
{
    int64_t lines = TailLines(s);
    lineStart.assign(lines + 1, 0);
    ParallelFor(lines, LINES_PER_CHUNK, [&](int64_t first, int64_t last, int32_t) {
        for (int64_t i = first; i < last; ++i) {
            Unit8 counted;
            ScanTailLine(s, tapers, i, counted);
            lineStart[i + 1] = counted.n;
        }
    });
    for (int64_t i = 1; i <= lines; ++i)
        lineStart[i] += lineStart[i - 1];
}

// Every line's entries in its own place, so that UNIT8_ARR holds them in collection order.
void CollectTails(const ForwardState& s, const TaperTables& tapers, const std::vector<int64_t>& lineStart,
                  Unit8Entry* UNIT8_ARR)
{
    ParallelFor(TailLines(s), LINES_PER_CHUNK, [&](int64_t first, int64_t last, int32_t) {
        for (int64_t i = first; i < last; ++i) {
            Unit8 line;
            line.UNIT8_ARR = UNIT8_ARR + lineStart[i];
            ScanTailLine(s, tapers, i, line);
        }
    });
}

// Consecutive entries of one cell merge to sum(v/k^2) / sum(1/k^2). A blocked first entry gives
// way to the next one; later blocked entries are dropped.
void MergeEntries(ForwardState& s, const Unit8Entry* UNIT8_ARR, int64_t n)
{
    int64_t i = 0;
    while (i < n) {
        int32_t column = UNIT8_ARR[i].column;
        int32_t row = UNIT8_ARR[i].row;
        double sumVW = 0, sumW = 0, first = 0;
        int64_t count = 0;
        for (; i < n && UNIT8_ARR[i].column == column && UNIT8_ARR[i].row == row; ++i) {
            double v = UNIT8_ARR[i].value;
            double w = 1.0 / (static_cast<double>(UNIT8_ARR[i].k) * UNIT8_ARR[i].k);
            if (count == 1 && IsBlockedCell(first)) {
                sumVW = sumW = 0;
                count = 0;
            } else if (count >= 1 && IsBlockedCell(v)) {
                continue;
            }
            if (count == 0)
                first = v;
            sumVW += v * w;
            sumW += w;
            ++count;
        }
        s.V[column][row] = sumVW / sumW;
    }
}

bool FirstExtrapolation(ForwardState& s, const TaperTables& tapers)
{
    std::vector<int64_t> lineStart;
    CountTails(s, tapers, lineStart);
    int64_t n = lineStart.back();
    size_t bytes = static_cast<size_t>(n) * sizeof(Unit8Entry);
    Unit8Entry* UNIT8_ARR = static_cast<Unit8Entry*>(RunCalloc(s, static_cast<size_t>(n), sizeof(Unit8Entry)));
    if (!UNIT8_ARR) {
        LogErr(s, " *** Allocate memory Error for variable UNIT8_ARR: Execute \n");
        return false;
    }
    PrepareFreshMemory(UNIT8_ARR, bytes);
    CollectTails(s, tapers, lineStart, UNIT8_ARR);
    LogOut(s, "Call - SORTER_ARR\n");
    SORTER_ARR(n, UNIT8_ARR);
    MergeEntries(s, UNIT8_ARR, n);
    RunFree(s, UNIT8_ARR, bytes);
    return true;
}

// Second-pass tail of column c from edge e. A tail without room for all its steps keeps the
// weights of the last steps, so it ends at the grid border as a full tail would.
bool SecondTail(ForwardState& s, const double* taper, int32_t c, int32_t e, int32_t sign, SecondPassList& list)
{
    double* column = s.V[c];
    int32_t room = sign < 0 ? e - 1 : s.NTOTY - e;
    if (room <= 0)
        return true;
    int32_t k0 = std::max(1, s.NTAILY - room + 1);
    for (int32_t step = 1, k = k0; k <= s.NTAILY; ++step, ++k) {
        int32_t t = e + sign * step;
        int32_t m = e - sign * step;
        if (m < 1 || m > s.NTOTY || IsEmptyCell(column[m]) || IsBlockedCell(column[m]))
            continue;
        if (IsEmptyCell(column[t])) {
            double value = taper[k] * (2.0 * column[e] - column[m]);
            if (!list.Append(s, c, t, value))
                return false;
        } else if (IsBlockedCell(column[t])) {
            column[t] = EMPTY_CELL;
            break;
        }
    }
    return true;
}

bool SecondPassColumn(ForwardState& s, const double* taper, int32_t c, SecondPassList& list)
{
    int32_t from = std::max(1, s.IYMIN - s.NTAILY);
    int32_t to = std::min(s.NTOTY, s.IYMAX + s.NTAILY);
    double* column = s.V[c];
    int32_t sign = -1;
    for (int32_t p = from; p <= to; ++p) {
        if (IsBlockedCell(column[p])) {
            column[p] = EMPTY_CELL;
            sign = -sign;
            continue;
        }
        bool empty = IsEmptyCell(column[p]);
        bool ok = true;
        if (sign < 0 && !empty) {
            ok = SecondTail(s, taper, c, p, -1, list);
            sign = 1;
        } else if (sign > 0 && empty) {
            ok = SecondTail(s, taper, c, p - 1, 1, list);
            sign = -1;
        }
        if (!ok)
            return false;
    }
    return true;
}

} // namespace

bool SecondPassList::Append(ForwardState& s, int32_t column, int32_t row, double value)
{
    if (n == capacity) {
        int64_t grown = std::max<int64_t>(1024, 2 * capacity);
        void* block = RunRealloc(s, entries, Bytes(capacity), Bytes(grown));
        if (!block) {
            LogErr(s, " *** Allocate memory Error for the second-pass lists: Execute \n");
            return false;
        }
        entries = static_cast<Entry*>(block);
        capacity = grown;
    }
    entries[n++] = Entry{column, row, value};
    return true;
}

void SecondPassList::Free(ForwardState& s)
{
    RunFree(s, entries, Bytes(capacity));
    entries = nullptr;
    n = capacity = 0;
}

namespace {

// Step 7 for one column: its second-pass values, collected over the whole column first, enter V
// in collection order (a later value for a cell replaces an earlier one). A column reads and
// writes only its own cells, so the columns run on the engine's workers, each with its own list.
bool SecondPass(ForwardState& s, const TaperTables& tapers, FilledBox& filled)
{
    const int32_t from = std::max(1, s.IXMIN - s.NTAILX);
    const int32_t to = std::min(s.NTOTX, s.IXMAX + s.NTAILX);
    std::vector<SecondPassList> lists(static_cast<size_t>(engineThreads()));
    std::vector<FilledBox> boxes(lists.size());
    std::atomic<bool> ok{true};
    ParallelFor(to - from + 1, 16, [&](int64_t first, int64_t last, int32_t worker) {
        SecondPassList& list = lists[static_cast<size_t>(worker)];
        for (int32_t c = from + static_cast<int32_t>(first); c < from + last && ok; ++c) {
            list.n = 0;
            if (!SecondPassColumn(s, tapers.y.data(), c, list)) {
                ok = false;
                return;
            }
            for (int64_t n = 0; n < list.n; ++n) {
                const SecondPassList::Entry& e = list.entries[n];
                s.V[e.column][e.row] = e.value;
                boxes[static_cast<size_t>(worker)].Widen(e.column, e.row);
            }
        }
    });
    for (size_t w = 0; w < lists.size(); ++w) {
        lists[w].Free(s);
        if (boxes[w].Empty())
            continue;
        filled.Widen(boxes[w].IXMIN, boxes[w].IYMIN);
        filled.Widen(boxes[w].IXMAX, boxes[w].IYMAX);
    }
    return ok;
}

} // namespace

bool ExtrapolateEdges(ForwardState& s)
{
    const TaperTables tapers{TaperTable(s, s.NTAILX, s.GRADX), TaperTable(s, s.NTAILY, s.GRADY)};
    FilledBox filled;
    return FirstExtrapolation(s, tapers) && SecondPass(s, tapers, filled) && RecenterGrid(s, filled);
}
