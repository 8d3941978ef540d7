// The 2D transform of the extended grid, Y first into STORE (half spectrum, g is real), then X row
// by row straight into the spectrum file; optionally the extended grid as a table and the
// logarithmic amplitude spectrum.

#include "complex_fft.h"
#include "forward_state.h"

#include <algorithm>
#include <cmath>

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

// Column ix of the extended grid, transformed along Y; coefficients 0..LY/2 go to STORE.
void TransformColumn(ForwardState& s, int32_t ix)
{
    double* D = s.D;
    std::fill(D, D + 2 * static_cast<size_t>(s.LY), 0.0);
    const double* column = s.V[ix - s.NDX];
    for (int32_t iy = 1; iy <= s.NY; ++iy) {
        double g = column[iy - s.NDY];
        if (IsEmptyCell(g))
            continue;
        D[2 * (iy - 1)] = g;
        if (s.fpt4)
            std::fprintf(s.fpt4, "%13.2f, %13.2f, %13.2f\n", s.XPMIN + (ix - 1) * s.DXP, s.YPMIN + (iy - 1) * s.DYP, g);
    }
    ComplexFFT(1, s.LY, D);
    for (int32_t ky = 0; ky < s.LY21; ++ky) {
        double* cell = s.STORE + 2 * (static_cast<size_t>(ky) * s.NX + (ix - 1));
        cell[0] = D[2 * ky];
        cell[1] = D[2 * ky + 1];
    }
}

// Row ky of STORE, zero-filled to LX and transformed along X: spectrum record ky.
bool TransformRow(ForwardState& s, int32_t ky)
{
    double* D = s.D;
    const double* row = s.STORE + 2 * static_cast<size_t>(ky) * s.NX;
    std::copy(row, row + 2 * static_cast<size_t>(s.NX), D);
    std::fill(D + 2 * static_cast<size_t>(s.NX), D + 2 * static_cast<size_t>(s.LX), 0.0);
    ComplexFFT(1, s.LX, D);
    return std::fwrite(D, 2 * sizeof(double), s.LX, s.fpt15) == static_cast<size_t>(s.LX);
}

// Columns of V, rows of STORE whose pages go back to the system at once, after their transform.
const int32_t RELEASE_COLUMNS = 64;
const int32_t RELEASE_ROWS = 64;

// Rows first..last of STORE.
void ReleaseStoreRows(ForwardState& s, int32_t first, int32_t last)
{
    ReleasePages(s.STORE + 2 * static_cast<size_t>(first) * s.NX, s.STORE + 2 * (static_cast<size_t>(last) + 1) * s.NX);
}

} // namespace

bool TransformAndWriteSpectrum(ForwardState& s)
{
    // V is not read after the Y transform: the columns already taken give their memory back as
    // the rows of STORE fill, so the two are never held whole at the same time.
    for (int32_t ix = 1; ix <= s.NX; ++ix) {
        TransformColumn(s, ix);
        if (ix % RELEASE_COLUMNS == 0)
            ReleaseGridColumns(s, ix - RELEASE_COLUMNS + 1 - s.NDX, ix - s.NDX);
    }
    FreeGrid(s);
    std::printf("FFT called\n");
    std::printf("Call STY\n");
    AmplitudeRange range;
    bool written = true;
    // Likewise STORE's transformed rows: the spectrum file's pages in the system's cache take
    // their place instead of adding to them.
    for (int32_t ky = 0; ky < s.LY21 && written; ++ky) {
        written = TransformRow(s, ky);
        if (s.IAMP == 1)
            WriteAmplitudes(s, s.D, ky, range);
        if ((ky + 1) % RELEASE_ROWS == 0)
            ReleaseStoreRows(s, ky + 1 - RELEASE_ROWS, ky);
    }
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
