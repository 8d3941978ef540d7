// The 2D transform of the extended grid, Y first into STORE (half spectrum, g is real), then X row
// by row straight into the spectrum file; optionally the extended grid as a table and the
// logarithmic amplitude spectrum.

#include "complex_fft.h"
#include "engine_threads.h"
#include "forward_state.h"

#include <algorithm>
#include <cmath>
#include <system_error>
#include <thread>

namespace {

struct AmplitudeRange {
    double AMIN = 1e20;
    double AMAX = -1e20;
};

// Rows kx, ky, log10(|F| + 1) of one spectrum row, kx from -LX/2 to LX/2 (the Nyquist element
// appears at both ends).
void WriteAmplitudes(ForwardState& s, const double* D, int32_t ky, AmplitudeRange& range)
{
    if (!s.fpt10)
        return;
    auto write = [&](int32_t k, int32_t kx) {
        double A = std::log10(std::hypot(D[2 * (k - 1)], D[2 * (k - 1) + 1]) + 1.0);
        range.AMIN = std::min(range.AMIN, A);
        range.AMAX = std::max(range.AMAX, A);
        std::fprintf(s.fpt10, "%15.4f %15.4f %15.4f\n", static_cast<double>(kx), static_cast<double>(ky), A);
    };
    for (int32_t k = s.LX / 2 + 1; k <= s.LX; ++k)
        write(k, k - s.LX - 1);
    for (int32_t k = 1; k <= s.LX / 2 + 1; ++k)
        write(k, k - 1);
}

void WriteAmplitudeTable(ForwardState& s, const AmplitudeRange& range)
{
    if (!s.fpt10 || !s.fpt3)
        return;
    int32_t e = std::min(NINT(std::log10(2 * s.DXP)) + 1, NINT(std::log10(2 * s.DYP)) + 1);
    double SCALE = 1000.0 * std::pow(10.0, e);
    std::rewind(s.fpt10);
    std::printf("Read data from Unit fpt10\n");
    double kx, ky, A;
    while (std::fscanf(s.fpt10, "%lg %lg %lg", &kx, &ky, &A) == 3) {
        double FX = kx * SCALE / (s.LX * s.DXP);
        double FY = ky * SCALE / (s.LY * s.DYP);
        std::fprintf(s.fpt3, "%15.4f, %15.4f, %15.4f, %15d\n", FX, FY, A, static_cast<int32_t>((ky + 1000) * 10));
    }
    Log(s, " AMIN = %13.6E,   AMAX = %13.6E  DV = %13.6E\n", range.AMIN, range.AMAX, range.AMAX - range.AMIN);
}

// The extended grid as a table, column by column, rows ascending within a column.
void WriteRawTable(ForwardState& s)
{
    for (int32_t ix = 1; ix <= s.NX; ++ix) {
        const double* column = s.V[ix - s.NDX];
        for (int32_t iy = 1; iy <= s.NY; ++iy) {
            double g = column[iy - s.NDY];
            if (!IsEmptyCell(g))
                std::fprintf(s.fpt4, "%13.2f, %13.2f, %13.2f\n", s.XPMIN + (ix - 1) * s.DXP, s.YPMIN + (iy - 1) * s.DYP, g);
        }
    }
}

// STORE holds the half spectra along Y of the grid columns in tiles of TILE_COLUMNS columns, one
// tile after the other, each tile row by row: a batch of Y transforms fills one tile, contiguous,
// and a record (a row of STORE) is a short contiguous run in each tile.
const int32_t TILE_COLUMNS = 64;

struct StoreTile {
    double* cells;  // LY21 rows of `width` interleaved complex values
    int32_t column; // its first grid column
    int32_t width;
};

StoreTile TileOf(ForwardState& s, int32_t ix)
{
    int32_t first = (ix - 1) / TILE_COLUMNS * TILE_COLUMNS + 1;
    return StoreTile{s.STORE + 2 * static_cast<size_t>(first - 1) * s.LY21, first,
                     std::min(TILE_COLUMNS, s.NX - first + 1)};
}

int32_t TileCount(const ForwardState& s)
{
    return (s.NX + TILE_COLUMNS - 1) / TILE_COLUMNS;
}

// Column ix of the extended grid, transformed along Y in D; coefficients 0..LY/2 go to STORE.
void TransformColumn(ForwardState& s, int32_t ix, double* D)
{
    std::fill(D, D + 2 * static_cast<size_t>(s.LY), 0.0);
    const double* column = s.V[ix - s.NDX];
    for (int32_t iy = 1; iy <= s.NY; ++iy) {
        double g = column[iy - s.NDY];
        if (!IsEmptyCell(g))
            D[2 * (iy - 1)] = g;
    }
    ComplexFFT(1, s.LY, D);
    const StoreTile tile = TileOf(s, ix);
    double* cell = tile.cells + 2 * static_cast<size_t>(ix - tile.column);
    for (int32_t ky = 0; ky < s.LY21; ++ky, cell += 2 * static_cast<size_t>(tile.width)) {
        cell[0] = D[2 * ky];
        cell[1] = D[2 * ky + 1];
    }
}

// Records transformed and then written as one batch, and on one worker at a time.
const int32_t RECORD_BATCH = 64;
const int32_t GATHERED_RECORDS = 8;
// Records ky0 .. ky0+count-1 (rows of STORE), each zero-filled to LX and transformed along X in
// its own vector of `records`: spectrum records ky0 ...
void TransformRecords(ForwardState& s, int32_t ky0, int32_t count, double* records)
{
    const size_t length = 2 * static_cast<size_t>(s.LX);
    for (int32_t t = 0; t < TileCount(s); ++t) {
        const StoreTile tile = TileOf(s, t * TILE_COLUMNS + 1);
        for (int32_t r = 0; r < count; ++r) {
            const double* row = tile.cells + 2 * static_cast<size_t>(ky0 + r) * tile.width;
            std::copy(row, row + 2 * static_cast<size_t>(tile.width), records + r * length + 2 * (tile.column - 1));
        }
    }
    for (int32_t r = 0; r < count; ++r) {
        double* D = records + r * length;
        std::fill(D + 2 * static_cast<size_t>(s.NX), D + length, 0.0);
        ComplexFFT(1, s.LX, D);
    }
}

// All columns along Y, a tile at a time on the engine's threads, each with its own work vector.
// Each batch faults in its tile of STORE at once and, as V is not read after this stage, gives
// V's columns back, so V and STORE are never held whole at the same time.
bool TransformColumns(ForwardState& s)
{
    const size_t length = 2 * static_cast<size_t>(s.LY);
    const int32_t workers = engineThreads();
    double* vectors = static_cast<double*>(RunCalloc(s, workers * length, sizeof(double)));
    if (!vectors) {
        LogErr(s, " *** Memory allocation error: transform work vectors\n");
        return false;
    }
    if (s.fpt4)
        WriteRawTable(s);
    ParallelFor(s.NX, TILE_COLUMNS, [&](int64_t first, int64_t last, int32_t worker) {
        const StoreTile tile = TileOf(s, static_cast<int32_t>(first + 1));
        PrepareFreshMemory(tile.cells, 2 * sizeof(double) * static_cast<size_t>(tile.width) * s.LY21);
        for (int64_t ix = first + 1; ix <= last; ++ix)
            TransformColumn(s, static_cast<int32_t>(ix), vectors + worker * length);
        if (last % TILE_COLUMNS == 0)
            ReleaseGridColumns(s, static_cast<int32_t>(first + 1 - s.NDX), static_cast<int32_t>(last - s.NDX));
    });
    RunFree(s, vectors, workers * length * sizeof(double));
    return true;
}

// A batch of consecutive spectrum records, transformed and waiting to be written.
struct RecordBatch {
    double* records = nullptr;
    int32_t first = 0;
    int32_t count = 0;
};

// Writes the batch's records, and with IAMP = 1 their amplitude rows, in record order.
bool WriteRecords(ForwardState& s, const RecordBatch& batch, AmplitudeRange& range)
{
    const size_t length = 2 * static_cast<size_t>(s.LX);
    if (std::fwrite(batch.records, 2 * sizeof(double), length / 2 * batch.count, s.fpt15) != length / 2 * batch.count)
        return false;
    if (s.IAMP == 1)
        for (int32_t r = 0; r < batch.count; ++r)
            WriteAmplitudes(s, batch.records + r * length, batch.first + r, range);
    return true;
}

// Rows of STORE along X into the spectrum file. A batch is transformed on the engine's threads
// while a writer thread writes the one before it, in record order.
// buffers holds two batches of RECORD_BATCH records.
bool TransformRowsAndWrite(ForwardState& s, double* buffers, AmplitudeRange& range)
{
    const size_t length = 2 * static_cast<size_t>(s.LX);
    const size_t batchDoubles = length * RECORD_BATCH;
    bool written = true;
    std::thread writer;
    RecordBatch batch;
    for (int32_t first = 0, index = 0; first < s.LY21; first += RECORD_BATCH, ++index) {
        batch.records = buffers + (index % 2) * batchDoubles;
        batch.first = first;
        batch.count = std::min(RECORD_BATCH, s.LY21 - first);
        ParallelFor(batch.count, GATHERED_RECORDS, [&](int64_t r0, int64_t r1, int32_t) {
            TransformRecords(s, static_cast<int32_t>(first + r0), static_cast<int32_t>(r1 - r0),
                             batch.records + r0 * length);
        });
        if (writer.joinable())
            writer.join();
        if (!written)
            break;
        try {
            writer = std::thread([&s, &range, &written, batch] { written = WriteRecords(s, batch, range); });
        } catch (const std::system_error&) {
            written = WriteRecords(s, batch, range);
        }
    }
    if (writer.joinable())
        writer.join();
    // The closing amplitude rows of IAMP = 1 are taken from D, which holds the last record.
    if (written)
        std::copy(batch.records + (batch.count - 1) * length, batch.records + batch.count * length, s.D);
    return written;
}

} // namespace

bool TransformAndWriteSpectrum(ForwardState& s)
{
    if (!TransformColumns(s))
        return false;
    FreeGrid(s);
    const size_t batches = 2 * 2 * static_cast<size_t>(s.LX) * RECORD_BATCH;
    double* buffers = static_cast<double*>(RunCalloc(s, batches, sizeof(double)));
    if (!buffers) {
        LogErr(s, " *** Memory allocation error: spectrum record batches\n");
        return false;
    }
    std::printf("FFT called\n");
    std::printf("Call STY\n");
    AmplitudeRange range;
    bool written = TransformRowsAndWrite(s, buffers, range);
    RunFree(s, buffers, batches * sizeof(double));
    std::printf("End Call STY\n");
    if (!written || std::fflush(s.fpt15) != 0 || std::ferror(s.fpt15)) {
        LogErr(s, " *** Write error on the spectrum file\n");
        return false;
    }
    std::printf(" IAMP = %d, IXP = %d\n", s.IAMP, 0);
    if (s.IAMP == 1) {
        std::printf("Call STX\n");
        WriteAmplitudes(s, s.D, s.LY / 2, range);
        std::printf("End Call STX\n");
        WriteAmplitudeTable(s, range);
    }
    return true;
}
