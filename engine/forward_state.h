#pragma once
// State of one forward run, shared by its stage files. Indices are 1-based as in the formulas:
// V[ix][iy] for ix = 1..NTOTX, iy = 1..NTOTY; the range tables are indexed 1..DIM1.

#include "filter_points.h"
#include "nint.h"
#include "text_input.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <mutex>

constexpr double EMPTY_CELL = -999999.0;
constexpr double BLOCKED_CELL = -888888.0;
const int32_t NAME_SIZE = 1024;

// A marker is any value NINT rounds to it: the half-open interval of width 1 around it (the
// comparisons are those NINT(v) == marker reduces to, without its branch on the sign).
inline bool RoundsTo(double v, double marker) { return v > marker - 0.5 && v <= marker + 0.5; }
inline bool IsEmptyCell(double v) { return RoundsTo(v, EMPTY_CELL); }
inline bool IsBlockedCell(double v) { return RoundsTo(v, BLOCKED_CELL); }
// False for every value above both markers' intervals: one comparison clears the common case.
static_assert(EMPTY_CELL < BLOCKED_CELL, "the blocked marker is the higher one");
inline bool MayBeMarker(double v) { return v <= BLOCKED_CELL + 0.5; }

// (first, last) cell holding data in one column (rows) or one row (columns).
struct RangePair {
    int32_t first;
    int32_t last;
};

struct ForwardState {
    // Files, closed in this order at destruction.
    FILE* fpt1 = nullptr;    // control file
    FILE* fptData = nullptr; // data file of line 2, only without points
    FILE* fpt3 = nullptr;    // amplitude-spectrum table
    FILE* fpt4 = nullptr;    // extrapolated-raw table
    FILE* fpt6 = nullptr;    // console log
    FILE* fpt10 = nullptr;   // amplitude scratch file
    FILE* fpt15 = nullptr;   // spectrum file

    int32_t DIM1 = 32768;
    char controlName[NAME_SIZE] = {};
    bool controlNameTooLong = false;
    char TITLE[NAME_SIZE] = {};
    char dataName[NAME_SIZE] = {};
    DataPositions positions;

    // Spectrum section of the control file.
    double XECS = 0, YECS = 0, YPEXT = 0, XPEXT = 0, DXP = 0, DYP = 0;
    double THETA = 0, TAILX = 0, TAILY = 0, AMBF = 0, CT = 1, ST = 0;
    int32_t IRAW = 0, IAMP = 0;

    // Data points handed over by the caller (not owned), and the reading position in them.
    const FilterPoints* points = nullptr;
    size_t nextPoint = 0;

    // Data window and binning.
    double XR = 0, YR = 0;
    int32_t NDATA = 0;
    double AV = 0;
    double DXPMIN = 0, DYPMIN = 0, XPMAXW = 0, YPMAXW = 0; // first-pass extremes
    int32_t NX = 0, NY = 0, NTAILX = 0, NTAILY = 0, NTOTX = 0, NTOTY = 0;
    double GRADX = 0, GRADY = 0, C = 0;
    int32_t II = 0, IF = 0, JI = 0, JF = 0;
    double XMIN = 0, XMAX = 0, YMIN = 0, YMAX = 0;
    int32_t IXMIN = 0, IXMAX = 0, IYMIN = 0, IYMAX = 0;
    RangePair* columnRange = nullptr; // first and last row of each column
    RangePair* rowRange = nullptr;    // first and last column of each row
    double** V = nullptr;             // NTOTX + 1 column pointers into one block
    double* VBLOCK = nullptr;

    // Extended grid and transform.
    int32_t NDX = 0, NDY = 0;
    double XPMIN = 0, XPMAX = 0, YPMIN = 0, YPMAX = 0;
    int32_t LX = 0, LY = 0, LX21 = 0, LY21 = 0, NX1 = 0;
    double* D = nullptr;     // work vector, DIM1 interleaved complex values
    double* STORE = nullptr; // LY21 x NX interleaved complex values, in tiles of columns
    size_t STOREDOUBLES = 0; // allocated, enough for the filtered grid of an inverse run

    // Memory accounting: every table of the run is charged here and refused beyond the limit.
    // Workers may charge it at the same time, hence the lock.
    size_t memoryLimit = 0;
    size_t memoryInUse = 0;
    std::mutex memoryLock;
};

// Allocation charged to the run; null (and nothing charged) when the limit would be passed.
void* RunCalloc(ForwardState& s, size_t count, size_t size);
void* RunRealloc(ForwardState& s, void* block, size_t oldBytes, size_t newBytes);
void RunFree(ForwardState& s, void* block, size_t bytes);
// Returns the whole memory pages between begin and end to the system: the values there are no
// longer needed and read as 0 afterwards. The block stays allocated until it is freed.
void ReleasePages(const void* begin, const void* end);

// Messages: to the console log (when it opened) and to stdout or stderr as well.
void Log(ForwardState& s, const char* format, ...);
void LogOut(ForwardState& s, const char* format, ...);
void LogErr(ForwardState& s, const char* format, ...);

// Data input: the caller's points, or the data file of line 2.
bool NextPoint(ForwardState& s, double& x, double& y, double& value);
void RewindPoints(ForwardState& s);

// Stages, in their order. Each returns false after reporting when the run must end.
bool ReadSpectrumSection(ForwardState& s);
bool WindowAndBin(ForwardState& s);
bool ExtrapolateEdges(ForwardState& s);
bool GapFill(ForwardState& s);
bool TransformAndWriteSpectrum(ForwardState& s);

// One relaxation sweep of the gap fill; returns the misfit. With buffers for as many workers as
// there are engine threads (more than one) the bands of rows run as a wavefront. Cells next to
// their row's data take no residual unless everyCell (the only difference: -0 there stays -0).
double LAPLACE(ForwardState& s, int32_t NX, int32_t NY, int32_t NDX, int32_t NDY, double** V,
               int32_t NTOTX, int32_t NTOTY, double* residuals, int32_t workers = 1, bool everyCell = false);
// Residual buffer LAPLACE needs for NX x NY cells and that many workers: rows of NX + 1 doubles.
size_t LaplaceBufferSize(int32_t NX, int32_t NY, int32_t workers = 1);

// Grid V of NTOTX x NTOTY cells, all empty; false when it can't be allocated.
bool AllocateGrid(ForwardState& s);
void FreeGrid(ForwardState& s);
// ReleasePages for columns first..last of V.
void ReleaseGridColumns(ForwardState& s, int32_t first, int32_t last);
// Transform lengths: the smallest power of two from 4 up that holds n.
int32_t TransformLength(ForwardState& s, int32_t n);

// One extrapolated value of UNIT8_ARR: target cell, value and step k from the edge (weight
// 1/k^2). Cells are at most DIM1 and steps below DIM1/2, so 16 bits hold them.
struct Unit8Entry {
    double value;
    uint16_t column;
    uint16_t row;
    uint16_t k;
};

// Sort of the extrapolation entries by column, then row.
void SORTER_ARR(int64_t n, Unit8Entry* UNIT8_ARR);
