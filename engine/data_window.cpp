// Data window and binning: selects the points of the rotated window, removes the level, sizes the
// grid with room for the tails and bins the points into V, recording each row's and column's data
// range. The points are read twice: the first pass sizes, the second fills.

#include "forward_state.h"

#include "engine_threads.h"


#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

const double TOLERANCE = 0.001; // accepted distance outside the window
const double EDGE = 1e-6;

struct Extremes {
    double min = 1e12;
    double max = -1e12;
    void Widen(double v)
    {
        min = std::min(min, v);
        max = std::max(max, v);
    }
};

// Next point with finite coordinates and value, rotated into the window's frame.
bool NextRotatedPoint(ForwardState& s, double& xr, double& yr, double& value)
{
    double x, y;
    while (NextPoint(s, x, y, value)) {
        if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(value))
            continue;
        xr = x * s.CT - y * s.ST;
        yr = x * s.ST + y * s.CT;
        return true;
    }
    return false;
}

bool FirstPass(ForwardState& s)
{
    Log(s, "\nStart to read input data\n\n");
    s.XR = s.XECS * s.CT - s.YECS * s.ST;
    s.YR = s.XECS * s.ST + s.YECS * s.CT;
    Extremes x0, y0, xAll, yAll;
    double sum = 0;
    s.NDATA = 0;
    double x, y, value;
    while (NextRotatedPoint(s, x, y, value)) {
        if (y - TOLERANCE > s.YR + s.YPEXT || s.XR - s.XPEXT > x + TOLERANCE || x - TOLERANCE > s.XR
            || s.YR > y + TOLERANCE)
            continue;
        if (x >= (s.XR - s.XPEXT) - EDGE)
            x0.min = std::min(x0.min, x);
        if (x <= s.XR + EDGE)
            x0.max = std::max(x0.max, x);
        if (y >= s.YR - EDGE)
            y0.min = std::min(y0.min, y);
        if (y <= s.YR + s.YPEXT + EDGE)
            y0.max = std::max(y0.max, y);
        xAll.Widen(x);
        yAll.Widen(y);
        sum += value;
        ++s.NDATA;
    }
    Log(s, " NDATA = %d\n", s.NDATA);
    if (s.NDATA < 1) {
        Log(s, " ***** NO DATA DETECTED IN DESIGNATED AREA *****\n *** STOP CALLED ***\n");
        LogErr(s, " *** Error 10");
        return false;
    }
    // Points accepted only through the tolerance do not move the extremes; when no point inside
    // the window did, the extremes of all accepted points stand in.
    if (x0.min > x0.max)
        x0 = xAll;
    if (y0.min > y0.max)
        y0 = yAll;
    s.DXPMIN = x0.min;
    s.XPMAXW = x0.max;
    s.DYPMIN = y0.min;
    s.YPMAXW = y0.max;
    s.AV = NINT(s.AMBF) == -999999 ? sum / s.NDATA : s.AMBF;
    return true;
}

int32_t CellCount(const ForwardState& s, double extent, double cell)
{
    double r = extent / cell;
    return r < s.DIM1 ? NINT(r) + 1 : s.DIM1;
}

// Cuts of the grid to DIM1 and of the tails to a quarter of the data.
void FitTails(ForwardState& s)
{
    if (s.NX >= s.DIM1) {
        s.NX = s.DIM1;
        s.NTAILX = 0;
        Log(s, "**** NX RE-SET TO %5d,  NTAILX RE-SET TO %5d ****\n", s.NX, s.NTAILX);
    }
    if (s.NY >= s.DIM1) {
        s.NY = s.DIM1;
        s.NTAILY = 0;
        Log(s, " **** NY RE-SET TO %5d,  NTAILY RE-SET TO %5d ****\n", s.NY, s.NTAILY);
    }
    s.NTAILX = std::min((s.NX - 1) / 4, s.NTAILX);
    s.NTAILY = std::min((s.NY - 1) / 4, s.NTAILY);
    s.NTOTX = s.NX + 4 * s.NTAILX;
    if (s.NTOTX > s.DIM1) {
        s.NTOTX = s.DIM1;
        s.NTAILX = (s.DIM1 - s.NX) / 4;
        Log(s, " **** NTAILX RE-SET TO %5d ****\n", s.NTAILX);
    }
    s.NTOTY = s.NY + 4 * s.NTAILY;
    if (s.NTOTY > s.DIM1) {
        s.NTOTY = s.DIM1;
        s.NTAILY = (s.DIM1 - s.NY) / 4;
        Log(s, " **** NTAILY RE-SET TO %5d ****\n", s.NTAILY);
    }
    Log(s, " FINAL NTOTX =%5d  FINAL NTOTY =%5d\n", s.NTOTX, s.NTOTY);
}

bool SizeGrid(ForwardState& s)
{
    s.NX = CellCount(s, s.XPMAXW - s.DXPMIN, s.DXP);
    s.NY = CellCount(s, s.YPMAXW - s.DYPMIN, s.DYP);
    Log(s, " NX = %5d,   NY = %5d\n", s.NX, s.NY);
    Log(s, " Final DXPMIN = %12.2f, Final DYPMIN = %12.2f\n", s.DXPMIN, s.DYPMIN);
    FitTails(s);
    if (!AllocateGrid(s)) {
        LogErr(s, " *** Allocate memory Error for variable V: Execute \n");
        return false;
    }
    Log(s, " FINAL NTAILX =%5d  FINAL NTAILY =%5d\n", s.NTAILX, s.NTAILY);
    s.NTAILX *= 2;
    s.NTAILY *= 2;
    s.GRADX = s.NTAILX > 1 ? 1.0 / (s.NTAILX - 1) : 1.0 / s.NTAILX;
    s.GRADY = s.NTAILY > 1 ? 1.0 / (s.NTAILY - 1) : 1.0 / s.NTAILY;
    Log(s, " GRADX =%13.6E,   GRADY =%13.6E\n", s.GRADX, s.GRADY);
    s.II = s.NTAILX + 1;
    s.IF = s.NTAILX + s.NX;
    s.JI = s.NTAILY + 1;
    s.JF = s.NTAILY + s.NY;
    Log(s, " II =%5d  IF =%5d  JI =%5d  JF =%5d\n", s.II, s.IF, s.JI, s.JF);
    return true;
}

// Cell of a coordinate within the data block first..last. Rounding and the window tolerance can
// put a point one cell beyond the block: it is kept in the edge cell. Farther (a grid cut to
// DIM1) it is dropped.
bool CellOf(int32_t first, int32_t last, double offset, int32_t& cell)
{
    if (!(offset > -1.5 && offset < (last - first) + 1.5))
        return false;
    cell = std::min(last, std::max(first, first + NINT(offset)));
    return true;
}

void Widen(RangePair& range, int32_t index)
{
    range.first = std::min(range.first, index);
    range.last = std::max(range.last, index);
}

void SecondPass(ForwardState& s)
{
    for (int32_t ix = s.II; ix <= s.IF; ++ix)
        s.columnRange[ix] = {1000000, -1000000};
    for (int32_t iy = s.JI; iy <= s.JF; ++iy)
        s.rowRange[iy] = {1000000, -1000000};
    s.IXMIN = s.IYMIN = 1000000;
    s.IXMAX = s.IYMAX = -1000000;
    s.XMIN = s.YMIN = 1e7;
    s.XMAX = s.YMAX = -1e7;
    RewindPoints(s);
    Log(s, "Read input data file again\n");

    int32_t dropped = 0;
    double x, y, value;
    while (NextRotatedPoint(s, x, y, value)) {
        if (s.DXPMIN > x + TOLERANCE || s.DYPMIN > y + TOLERANCE || y - TOLERANCE > s.YPMAXW
            || x - TOLERANCE > s.XPMAXW)
            continue;
        int32_t IX, IY;
        if (!CellOf(s.II, s.IF, (x + EDGE - s.DXPMIN) / s.DXP, IX)
            || !CellOf(s.JI, s.JF, (y + EDGE - s.DYPMIN) / s.DYP, IY)) {
            ++dropped;
            continue;
        }
        s.IXMIN = std::min(s.IXMIN, IX);
        s.IXMAX = std::max(s.IXMAX, IX);
        s.IYMIN = std::min(s.IYMIN, IY);
        s.IYMAX = std::max(s.IYMAX, IY);
        s.XMIN = std::min(s.XMIN, x);
        s.XMAX = std::max(s.XMAX, x);
        s.YMIN = std::min(s.YMIN, y);
        s.YMAX = std::max(s.YMAX, y);
        Widen(s.columnRange[IX], IY);
        Widen(s.rowRange[IY], IX);
        s.V[IX][IY] = value - s.AV;
    }
    if (dropped > 0)
        LogOut(s, " *** %d POINTS BEYOND THE GRID DROPPED\n", dropped);
    Log(s, " XMIN = %13.6E   XMAX = %13.6E\n", s.XMIN, s.XMAX);
    Log(s, " YMIN = %13.6E   YMAX = %13.6E\n", s.YMIN, s.YMAX);
    Log(s, " NDATA = %8d,    AV or AMBIENT READING = %13.6E\n", s.NDATA, s.AV);
    Log(s, " IXMIN = %5d  IXMAX = %5d  IYMIN = %5d  IYMAX = %5d\n", s.IXMIN, s.IXMAX, s.IYMIN, s.IYMAX);
}

} // namespace

bool AllocateGrid(ForwardState& s)
{
    size_t cells = static_cast<size_t>(s.NTOTX) * static_cast<size_t>(s.NTOTY);
    s.V = static_cast<double**>(RunCalloc(s, static_cast<size_t>(s.NTOTX) + 1, sizeof(double*)));
    s.VBLOCK = s.V ? static_cast<double*>(RunCalloc(s, cells + 1, sizeof(double))) : nullptr;
    if (!s.VBLOCK) {
        FreeGrid(s);
        return false;
    }
    for (int32_t ix = 1; ix <= s.NTOTX; ++ix)
        s.V[ix] = s.VBLOCK + static_cast<size_t>(ix - 1) * s.NTOTY;
    PrepareFreshMemory(s.VBLOCK, (cells + 1) * sizeof(double));
    ParallelFor(s.NTOTX, 64, [&](int64_t first, int64_t last, int32_t) {
        std::fill(s.V[first + 1] + 1, s.V[last] + s.NTOTY + 1, EMPTY_CELL); // rows 1..NTOTY
    });
    return true;
}

void ReleaseGridColumns(ForwardState& s, int32_t first, int32_t last)
{
    first = std::max(first, 1);
    last = std::min(last, s.NTOTX);
    if (s.V && first <= last)
        ReleasePages(s.V[first] + 1, s.V[last] + s.NTOTY + 1);
}

void FreeGrid(ForwardState& s)
{
    size_t cells = static_cast<size_t>(s.NTOTX) * static_cast<size_t>(s.NTOTY);
    RunFree(s, s.VBLOCK, (cells + 1) * sizeof(double));
    RunFree(s, s.V, (static_cast<size_t>(s.NTOTX) + 1) * sizeof(double*));
    s.VBLOCK = nullptr;
    s.V = nullptr;
}

bool WindowAndBin(ForwardState& s)
{
    return FirstPass(s) && SizeGrid(s) && (SecondPass(s), true);
}
