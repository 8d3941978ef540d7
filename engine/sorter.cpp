// SORTER_ARR: orders the extrapolation entries by column, then by row, so that the entries of
// one cell follow each other. The sort is a quicksort (median of three, insertion sort for short
// partitions, explicit stack), not stable. It moves the 16-byte entries themselves, so it needs
// neither copies of the entries nor an index table. The merge sums a cell's entries in the order
// the sort leaves them, so that order is part of the results: the partitioning below must stay
// as it is, including its index arithmetic.

#include "engine_threads.h"
#include "forward_state.h"

#include <utility>
#include <vector>

namespace {

const int64_t SHORT_PARTITION = 7;
const int NSTACK = 64;

struct ColumnKey {
    int32_t operator()(const Unit8Entry& entry) const { return entry.column; }
};
struct RowKey {
    int32_t operator()(const Unit8Entry& entry) const { return entry.row; }
};

// Positions are 1-based: position p is a[p - 1].
template <class Key>
void InsertionSort(Unit8Entry* a, int64_t l, int64_t ir, Key key)
{
    for (int64_t j = l + 1; j <= ir; ++j) {
        Unit8Entry moving = a[j - 1];
        int32_t k = key(moving);
        int64_t i = j - 1;
        for (; i >= l && key(a[i - 1]) > k; --i)
            a[i] = a[i - 1];
        a[i] = moving;
    }
}

// Partitions positions l..ir around the median of the keys at l, the middle and ir; returns the
// pivot's place.
template <class Key>
int64_t Partition(Unit8Entry* a, int64_t l, int64_t ir, Key key)
{
    auto at = [a](int64_t p) -> Unit8Entry& { return a[p - 1]; };
    std::swap(at((l + ir) / 2), at(l + 1));
    if (key(at(l)) > key(at(ir)))
        std::swap(at(l), at(ir));
    if (key(at(l + 1)) > key(at(ir)))
        std::swap(at(l + 1), at(ir));
    if (key(at(l)) > key(at(l + 1)))
        std::swap(at(l), at(l + 1));
    int64_t i = l + 1, j = ir;
    Unit8Entry pivot = at(l + 1);
    int32_t k = key(pivot);
    for (;;) {
        do
            ++i;
        while (key(at(i)) < k);
        do
            --j;
        while (key(at(j)) > k);
        if (j < i)
            break;
        std::swap(at(i), at(j));
    }
    at(l + 1) = at(j);
    at(j) = pivot;
    return j;
}

// Sorts positions l..ir by key.
template <class Key>
void QuickSort(Unit8Entry* a, int64_t l, int64_t ir, Key key)
{
    int64_t stack[NSTACK + 1];
    int jstack = 0;
    for (;;) {
        if (ir - l + 1 < SHORT_PARTITION) {
            InsertionSort(a, l, ir, key);
            if (jstack == 0)
                return;
            ir = stack[jstack--];
            l = stack[jstack--];
            continue;
        }
        int64_t j = Partition(a, l, ir, key);
        // The larger part waits on the stack, so its depth stays below 2 log2(n) <= 64.
        jstack += 2;
        if (ir - j >= j - l) {
            stack[jstack] = ir;
            stack[jstack - 1] = j + 1;
            ir = j - 1;
        } else {
            stack[jstack] = j - 1;
            stack[jstack - 1] = l;
            l = j + 1;
        }
    }
}

// Positions (first, last) of a part of the array.
struct Part {
    int64_t l;
    int64_t ir;
};

// The quicksort of positions 1..n on the engine's threads. The parts a partition leaves are
// sorted independently of each other, so partitioning level by level, each level's parts at
// once, then sorting the parts at once moves every entry as the serial sort would.
template <class Key>
void ParallelQuickSort(Unit8Entry* a, int64_t n, Key key)
{
    const int64_t SPLIT_FROM = 4096; // shorter parts are not worth a level
    const size_t parts = 4 * static_cast<size_t>(engineThreads());
    std::vector<Part> level{{1, n}};
    while (level.size() < parts) {
        std::vector<Part> next(2 * level.size(), Part{1, 0});
        ParallelFor(static_cast<int64_t>(level.size()), 1, [&](int64_t first, int64_t last, int32_t) {
            for (int64_t p = first; p < last; ++p) {
                Part part = level[p];
                if (part.ir - part.l + 1 < SPLIT_FROM) {
                    next[2 * p] = part;
                    continue;
                }
                int64_t j = Partition(a, part.l, part.ir, key);
                next[2 * p] = Part{part.l, j - 1};
                next[2 * p + 1] = Part{j + 1, part.ir};
            }
        });
        size_t before = level.size();
        level.clear();
        for (const Part& part : next)
            if (part.l <= part.ir)
                level.push_back(part);
        if (level.size() == before)
            break;
    }
    ParallelFor(static_cast<int64_t>(level.size()), 1, [&](int64_t first, int64_t last, int32_t) {
        for (int64_t p = first; p < last; ++p)
            QuickSort(a, level[p].l, level[p].ir, key);
    });
}

} // namespace

void SORTER_ARR(int64_t n, Unit8Entry* UNIT8_ARR)
{
    if (n < 2)
        return;
    ParallelQuickSort(UNIT8_ARR, n, ColumnKey());
    // Runs of one column, each sorted by row on its own.
    std::vector<int64_t> runs;
    for (int64_t first = 0; first < n; ++first)
        if (first == 0 || UNIT8_ARR[first].column != UNIT8_ARR[first - 1].column)
            runs.push_back(first);
    runs.push_back(n);
    ParallelFor(static_cast<int64_t>(runs.size()) - 1, 16, [&](int64_t first, int64_t last, int32_t) {
        for (int64_t r = first; r < last; ++r)
            if (runs[r + 1] - runs[r] > 1)
                QuickSort(UNIT8_ARR + runs[r], 1, runs[r + 1] - runs[r], RowKey());
    });
}
