// The extended grid: the block filled by the tails, its origin, its transform lengths, the
// range tables moved into its indices, and the spectrum-file header that describes it.

#include "edge_extrapolation.h"

#include <algorithm>

namespace {

void WriteDouble(ForwardState& s, double value)
{
    std::fwrite(&value, sizeof value, 1, s.fpt15);
}

void WriteInt(ForwardState& s, int32_t value)
{
    std::fwrite(&value, sizeof value, 1, s.fpt15);
}

// Step 7 has put the collected values into V. The box of the filled cells is widened to the data
// block, so that no data fall outside the extended grid; without any collected value it is the
// nominal block of data and tails.
FilledBox ExtendedBlock(const ForwardState& s, FilledBox box)
{
    if (box.Empty()) {
        box.Widen(std::max(1, s.IXMIN - s.NTAILX), std::max(1, s.IYMIN - s.NTAILY));
        box.Widen(std::min(s.NTOTX, s.IXMAX + s.NTAILX), std::min(s.NTOTY, s.IYMAX + s.NTAILY));
    }
    box.Widen(s.IXMIN, s.IYMIN);
    box.Widen(s.IXMAX, s.IYMAX);
    return box;
}

void ShiftRanges(ForwardState& s)
{
    for (int32_t c = s.IXMIN; c <= s.IXMAX; ++c) {
        s.columnRange[c].first += s.NDY;
        s.columnRange[c].last += s.NDY;
    }
    for (int32_t r = s.IYMIN; r <= s.IYMAX; ++r) {
        s.rowRange[r].first += s.NDX;
        s.rowRange[r].last += s.NDX;
    }
}

// Steps 8 to 12: origin, shift and size of the extended grid; header items 1 to 10.
void PlaceExtendedGrid(ForwardState& s, const FilledBox& box)
{
    Log(s, " IXN = %5d  IXMIN = %5d  IXX = %5d  IXMAX = %5d DXPMIN = %g\n", s.IXMIN - s.NTAILX, box.IXMIN,
        s.IXMAX + s.NTAILX, box.IXMAX, s.DXPMIN);
    Log(s, " IYN = %5d  IYMIN = %5d  IYX = %5d  IYMAX = %5d\n", s.IYMIN - s.NTAILY, box.IYMIN,
        s.IYMAX + s.NTAILY, box.IYMAX);
    s.XPMIN = s.DXPMIN + (box.IXMIN - s.II) * s.DXP;
    double DARG = (s.DXPMIN - s.XPMIN) / s.DXP;
    s.NDX = NINT(DARG) - s.NTAILX;
    Log(s, " DUBX = %g NINT(DARG) = %d NTAILX = %4d\n", s.XPMIN, NINT(DARG), s.NTAILX);
    s.YPMIN = s.DYPMIN + (box.IYMIN - s.JI) * s.DYP;
    DARG = (s.DYPMIN - s.YPMIN) / s.DYP;
    s.NDY = NINT(DARG) - s.NTAILY;
    Log(s, " NINT(DARG) = %d NTAILY = %4d\n", NINT(DARG), s.NTAILY);
    Log(s, " NDX = %4d   NDY = %4d\n", s.NDX, s.NDY);
    ShiftRanges(s);

    s.XPMAX = s.DXPMIN + (box.IXMAX - s.II) * s.DXP;
    s.YPMAX = s.DYPMIN + (box.IYMAX - s.JI) * s.DYP;
    Log(s, " XPMIN = %13.2f  XPMAX = %13.2f  YPMIN = %13.2f  YPMAX = %13.2f\n", s.XPMIN, s.XPMAX, s.YPMIN,
        s.YPMAX);
    for (double item : {s.XMIN, s.XMAX, s.YMIN, s.YMAX, s.DXP, s.DYP, s.XPMIN, s.YPMIN})
        WriteDouble(s, item);
    s.NY = NINT((s.YPMAX - s.YPMIN) / s.DYP) + 1;
    s.NX = NINT((s.XPMAX - s.XPMIN) / s.DXP) + 1;
    WriteInt(s, s.NX);
    WriteInt(s, s.NY);
    Log(s, " NEW NX = %d   NEW NY =%d\n", s.NX, s.NY);
}

// Steps 16 and 17: the data block and its footprint in extended indices (items 18 to 25), then
// empty ranges for the rows and columns without data.
void WriteFootprint(ForwardState& s)
{
    s.II = s.IXMIN + s.NDX;
    s.IF = s.IXMAX + s.NDX;
    s.JI = s.IYMIN + s.NDY;
    s.JF = s.IYMAX + s.NDY;
    for (int32_t item : {s.II, s.IF, s.JI, s.JF})
        WriteInt(s, item);
    for (int32_t c = s.IXMIN; c <= s.IXMAX; ++c)
        WriteInt(s, s.columnRange[c].first);
    for (int32_t c = s.IXMIN; c <= s.IXMAX; ++c)
        WriteInt(s, s.columnRange[c].last);
    for (int32_t r = s.IYMIN; r <= s.IYMAX; ++r)
        WriteInt(s, s.rowRange[r].first);
    for (int32_t r = s.IYMIN; r <= s.IYMAX; ++r)
        WriteInt(s, s.rowRange[r].last);

    for (int32_t r = 1; r <= s.NY; ++r)
        if (s.rowRange[r].first == 0)
            s.rowRange[r] = {s.NX, 1};
    for (int32_t c = 1; c <= s.NX; ++c)
        if (s.columnRange[c].first == 0)
            s.columnRange[c] = {s.NY, 1};
}

} // namespace

int32_t TransformLength(ForwardState& s, int32_t n)
{
    int32_t L = 4;
    while (L < n) {
        if (L > s.DIM1) {
            Log(s, " **** DATA LENGTH EXCEEDS LMAX (%d)\n *** STOP CALLED ***\n", s.DIM1);
            break;
        }
        L *= 2;
    }
    return L;
}

namespace {

// STORE's size: its LY21 x NX complex values, or if more, the filtered grid of an inverse run
// on this spectrum (rows 0..max(LY21, JF + 1), columns 0..NX), which may then take it over.
size_t StoreDoubles(const ForwardState& s)
{
    const size_t halfSpectrum = 2 * static_cast<size_t>(s.LY21) * s.NX;
    const int32_t JF = s.IYMAX + s.NDY;
    const size_t filteredGrid = 2 * (static_cast<size_t>(std::max(s.LY21, JF + 1)) + 1) * (static_cast<size_t>(s.NX) + 1);
    return std::max(halfSpectrum, filteredGrid);
}

} // namespace

bool RecenterGrid(ForwardState& s, FilledBox filled)
{
    PlaceExtendedGrid(s, ExtendedBlock(s, filled));

    s.LX = TransformLength(s, s.NX);
    s.LY = TransformLength(s, s.NY);
    WriteInt(s, s.LX);
    WriteInt(s, s.LY);
    WriteDouble(s, s.AV);
    Log(s, " LX = %d   LY = %d\n", s.LX, s.LY);
    s.LX21 = s.LX / 2 + 1;
    s.LY21 = s.LY / 2 + 1;
    s.NX1 = s.NX + 1;

    std::printf("allocate memory to STORE\n");
    s.STOREDOUBLES = StoreDoubles(s);
    s.STORE = static_cast<double*>(RunCalloc(s, s.STOREDOUBLES, sizeof(double)));
    if (!s.STORE) {
        LogErr(s, " *** Memory allocation error: Variable STORE\n");
        return false;
    }
    WriteDouble(s, s.CT);
    WriteDouble(s, s.ST);
    WriteInt(s, s.NTAILX);
    WriteInt(s, s.NTAILY);
    LogOut(s, "CT = %13.2f, ST = %13.2f\n", s.CT, s.ST);
    LogOut(s, "NTAILX = %d, NTAILY = %d\n", s.NTAILX, s.NTAILY);
    WriteFootprint(s);
    return true;
}
