#include "grid_cells.h"

#include "engine_threads.h"

#include "I2DGridMesh.h"
#include "IBaseDataFloat.h"

#include <algorithm>
#include <cmath>
#include <vector>

using namespace Tavorin;

namespace I2DFourierFilters {

namespace {

constexpr int64_t RowsPerChunk = 16;
constexpr int64_t PointsPerChunk = 1 << 16;

bool defined(float value) { return !std::isnan(value); }

// Start of each row's points (in points, not numbers), and their total at the end.
std::vector<size_t> rowStarts(const I2DGridGeometry& geometry, const float* values)
{
    const int columns = geometry.nCellU();
    std::vector<size_t> starts(static_cast<size_t>(geometry.nCellV()) + 1, 0);
    ParallelFor(geometry.nCellV(), RowsPerChunk, [&](int64_t first, int64_t last, int32_t) {
        for (int64_t v = first; v < last; ++v) {
            const float* row = values + static_cast<size_t>(v) * static_cast<size_t>(columns);
            starts[static_cast<size_t>(v) + 1] = static_cast<size_t>(std::count_if(row, row + columns, defined));
        }
    });
    for (size_t v = 1; v < starts.size(); ++v)
        starts[v] += starts[v - 1];
    return starts;
}

// Room for exactly `length` numbers; new memory, in large pages, is faulted in by all workers
// rather than by the one thread that fills it with zeros.
void sizeExactly(FilterPoints& points, size_t length)
{
    points.clear();
    if (points.capacity() < length) {
        points.shrink_to_fit();
        points.reserve(length);
        PrepareFreshMemory(points.data(), length * sizeof(double));
    }
    points.resize(length);
}

// Each chunk of points in column order: by column, then by row within it. Points in that order
// throughout name each cell once, so chunks can store theirs independently.
struct ChunkOrder {
    bool ascending = true;
    int64_t first = -1; // column-order index of the chunk's first and last stored point
    int64_t last = -1;
};

bool ascendingThroughout(const std::vector<ChunkOrder>& chunks)
{
    int64_t previous = -1;
    for (const ChunkOrder& chunk : chunks) {
        if (!chunk.ascending || (chunk.first >= 0 && chunk.first <= previous))
            return false;
        if (chunk.last >= 0)
            previous = chunk.last;
    }
    return true;
}

// Stores the points [first, last) in order; the column-order index of each stored point goes to order.
void storeRange(const FilterPoints& points, size_t first, size_t last, const I2DGridGeometry& geometry,
                const float* source, double divisor, float* result, ChunkOrder* order)
{
    const unsigned int columns = static_cast<unsigned int>(geometry.nCellU());
    const int64_t rows = geometry.nCellV();
    for (size_t i = first; i < last; ++i) {
        const unsigned int id = geometry.cellID(I3DVector(points[3 * i], points[3 * i + 1], 0.0));
        if (id == I2DGridGeometry::InvalidCellID || !defined(source[id]))
            continue;
        // Chunks out of order may meet at a cell: the store is atomic, and the serial pass that
        // follows such chunks decides the value.
        float value = static_cast<float>(points[3 * i + 2] / divisor);
        __atomic_store(&result[id], &value, __ATOMIC_RELAXED);
        if (!order)
            continue;
        const int64_t index = static_cast<int64_t>(id % columns) * rows + static_cast<int64_t>(id / columns);
        order->ascending = order->ascending && index > order->last;
        if (order->first < 0)
            order->first = index;
        order->last = index;
    }
}

} // namespace

const float* cellValues(const I2DGridMesh* grid, const IBaseData* data)
{
    const auto* floats = qobject_cast<const IBaseDataFloat*>(data);
    if (!floats || floats->values().size() < grid->cellCount())
        return nullptr;
    return floats->values().data();
}

void gatherDefinedCells(const I2DGridGeometry& geometry, const float* values, FilterPoints& points)
{
    const std::vector<size_t> starts = rowStarts(geometry, values);
    sizeExactly(points, 3 * starts.back());
    const int columns = geometry.nCellU();
    ParallelFor(geometry.nCellV(), RowsPerChunk, [&](int64_t first, int64_t last, int32_t) {
        for (int v = static_cast<int>(first); v < last; ++v) {
            const float* row = values + static_cast<size_t>(v) * static_cast<size_t>(columns);
            double* out = points.data() + 3 * starts[static_cast<size_t>(v)];
            for (int u = 0; u < columns; ++u) {
                if (!defined(row[u]))
                    continue;
                // The centre as cellCenter computes it.
                const I3DVector centre = geometry.toWorld((u + 0.5) * geometry.uSize(), (v + 0.5) * geometry.vSize());
                *out++ = centre.x;
                *out++ = centre.y;
                *out++ = static_cast<double>(row[u]);
            }
        }
    });
}

void storeOnCells(const FilterPoints& points, const I2DGridGeometry& geometry, const float* source, float divisor,
                  float* result)
{
    const size_t count = points.size() / 3;
    const double by = static_cast<double>(divisor);
    std::vector<ChunkOrder> chunks(static_cast<size_t>((count + PointsPerChunk - 1) / PointsPerChunk));
    ParallelFor(static_cast<int64_t>(count), PointsPerChunk, [&](int64_t first, int64_t last, int32_t) {
        storeRange(points, static_cast<size_t>(first), static_cast<size_t>(last), geometry, source, by, result,
                   &chunks[static_cast<size_t>(first / PointsPerChunk)]);
    });
    // Points out of column order may name a cell twice: storing them again in order lets the last win.
    if (!ascendingThroughout(chunks))
        storeRange(points, 0, count, geometry, source, by, result, nullptr);
}

} // namespace I2DFourierFilters
