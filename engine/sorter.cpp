// SORTER_ARR: orders the extrapolation entries by column, then by row, so that the entries of
// one cell follow each other. Arrays are 1-based; the sort is an index quicksort (median of
// three, insertion sort for short partitions, explicit stack), not stable.

#include "forward_state.h"

#include <cstdlib>
#include <utility>

namespace {

const int64_t SHORT_PARTITION = 7;
const int NSTACK = 64;

void InsertionSortIndex(const double* key, int64_t* index, int64_t l, int64_t ir)
{
    for (int64_t j = l + 1; j <= ir; ++j) {
        int64_t moving = index[j];
        double a = key[moving];
        int64_t i = j - 1;
        for (; i >= l && key[index[i]] > a; --i)
            index[i + 1] = index[i];
        index[i + 1] = moving;
    }
}

// Partitions index[l..ir] around the median of key at l, middle and ir; returns the pivot's place.
int64_t Partition(const double* key, int64_t* index, int64_t l, int64_t ir)
{
    std::swap(index[(l + ir) / 2], index[l + 1]);
    if (key[index[l]] > key[index[ir]])
        std::swap(index[l], index[ir]);
    if (key[index[l + 1]] > key[index[ir]])
        std::swap(index[l + 1], index[ir]);
    if (key[index[l]] > key[index[l + 1]])
        std::swap(index[l], index[l + 1]);
    int64_t i = l + 1, j = ir;
    int64_t pivot = index[l + 1];
    double a = key[pivot];
    for (;;) {
        do
            ++i;
        while (key[index[i]] < a);
        do
            --j;
        while (key[index[j]] > a);
        if (j < i)
            break;
        std::swap(index[i], index[j]);
    }
    index[l + 1] = index[j];
    index[j] = pivot;
    return j;
}

// index[1..n] such that key[index[1]] <= key[index[2]] <= ...
void IndexSort(int64_t n, const double* key, int64_t* index)
{
    for (int64_t j = 1; j <= n; ++j)
        index[j] = j;
    int64_t stack[NSTACK + 1];
    int jstack = 0;
    int64_t l = 1, ir = n;
    for (;;) {
        if (ir - l + 1 < SHORT_PARTITION) {
            InsertionSortIndex(key, index, l, ir);
            if (jstack == 0)
                return;
            ir = stack[jstack--];
            l = stack[jstack--];
            continue;
        }
        int64_t j = Partition(key, index, l, ir);
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

// Sorts arrays[0][1..n] and carries the other arrays along. False when out of memory.
bool SortTogether(ForwardState& s, int64_t n, double** arrays, int count, const char* indexError,
                  const char* workError)
{
    size_t indexBytes = (static_cast<size_t>(n) + 1) * sizeof(int64_t);
    size_t workBytes = (static_cast<size_t>(n) + 1) * sizeof(double);
    int64_t* IWKSP = static_cast<int64_t*>(RunCalloc(s, static_cast<size_t>(n) + 1, sizeof(int64_t)));
    if (!IWKSP) {
        std::fputs(indexError, stderr);
        return false;
    }
    double* WKSP = static_cast<double*>(RunCalloc(s, static_cast<size_t>(n) + 1, sizeof(double)));
    if (!WKSP) {
        std::fputs(workError, stderr);
        RunFree(s, IWKSP, indexBytes);
        return false;
    }
    IndexSort(n, arrays[0], IWKSP);
    for (int a = 0; a < count; ++a) {
        double* array = arrays[a];
        for (int64_t j = 1; j <= n; ++j)
            WKSP[j] = array[IWKSP[j]];
        for (int64_t j = 1; j <= n; ++j)
            array[j] = WKSP[j];
    }
    RunFree(s, WKSP, workBytes);
    RunFree(s, IWKSP, indexBytes);
    return true;
}

void Sort4(ForwardState& s, int64_t n, double* column, double* row, double* k2, double* value)
{
    double* arrays[] = {column, row, k2, value};
    SortTogether(s, n, arrays, 4, "Memory allocation error in Sort4 with IWKSP\n",
                 "Memory allocation error in Sort4 with WKSP\n");
}

void Sort3(ForwardState& s, int64_t n, double* row, double* k2, double* value)
{
    double* arrays[] = {row, k2, value};
    SortTogether(s, n, arrays, 3, " Error in Sort3 with IWKSP\n", " Error in Sort3 with WKSP\n");
}

} // namespace

void SORTER_ARR(ForwardState& s, int64_t n, double* UNIT8_ARR)
{
    if (n < 2)
        return;
    size_t arrayBytes = (static_cast<size_t>(n) + 1) * sizeof(double);
    double* block = static_cast<double*>(RunCalloc(s, 4 * (static_cast<size_t>(n) + 1), sizeof(double)));
    if (!block) {
        std::fputs("Memory allocation error in SORTER_ARR\n", stderr);
        return;
    }
    double* column = block;
    double* row = column + n + 1;
    double* k2 = row + n + 1;
    double* value = k2 + n + 1;
    for (int64_t i = 1; i <= n; ++i) {
        const double* entry = UNIT8_ARR + 4 * (i - 1);
        column[i] = entry[0];
        row[i] = entry[1];
        value[i] = entry[2];
        k2[i] = entry[3];
    }
    Sort4(s, n, column, row, k2, value);
    for (int64_t first = 1; first <= n;) {
        int64_t last = first;
        while (last < n && NINT(column[last + 1] * 10000) == NINT(column[first] * 10000))
            ++last;
        if (last > first)
            Sort3(s, last - first + 1, row + first - 1, k2 + first - 1, value + first - 1);
        first = last + 1;
    }
    for (int64_t i = 1; i <= n; ++i) {
        double* entry = UNIT8_ARR + 4 * (i - 1);
        entry[0] = column[i];
        entry[1] = row[i];
        entry[2] = value[i];
        entry[3] = k2[i];
    }
    RunFree(s, block, 4 * arrayBytes);
}
