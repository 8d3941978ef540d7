// SORTER_ARR: orders the extrapolation entries by column, then by row, so that the entries of
// one cell follow each other. The sort is a quicksort (median of three, insertion sort for short
// partitions, explicit stack), not stable. It moves the 16-byte entries themselves, so it needs
// neither copies of the entries nor an index table. The merge sums a cell's entries in the order
// the sort leaves them, so that order is part of the results: the partitioning below must stay
// as it is, including its index arithmetic.

#include "forward_state.h"

#include <utility>

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

// Sorts a[0 .. n-1] by key.
template <class Key>
void QuickSort(Unit8Entry* a, int64_t n, Key key)
{
    int64_t stack[NSTACK + 1];
    int jstack = 0;
    int64_t l = 1, ir = n;
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

} // namespace

void SORTER_ARR(int64_t n, Unit8Entry* UNIT8_ARR)
{
    if (n < 2)
        return;
    QuickSort(UNIT8_ARR, n, ColumnKey());
    for (int64_t first = 0; first < n;) {
        int64_t last = first;
        while (last + 1 < n && UNIT8_ARR[last + 1].column == UNIT8_ARR[first].column)
            ++last;
        if (last > first)
            QuickSort(UNIT8_ARR + first, last - first + 1, RowKey());
        first = last + 1;
    }
}
