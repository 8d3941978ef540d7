// Reading the spectrum file's header and data-footprint tables. The file must be complete and
// its sizes sane before anything is sized from them: a short read or an absurd size stops the run.

#include "inverse_run.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// Numbers the banner of every call in the process.
int32_t headerCalls = 1;

template <typename T>
bool ReadItems(FILE* file, T* items, size_t count)
{
    return fread(items, sizeof(T), count, file) == count;
}

bool PowerOfTwo(int32_t n)
{
    return n >= 2 && n <= 32768 && (n & (n - 1)) == 0;
}

// Bytes from the current position to the end of the file, the position kept; -1 when the
// stream cannot tell (not a regular file).
long long BytesLeft(FILE* file)
{
    long here = ftell(file);
    if (here < 0 || fseek(file, 0, SEEK_END) != 0)
        return -1;
    long end = ftell(file);
    if (fseek(file, here, SEEK_SET) != 0 || end < here)
        return -1;
    return (long long)end - here;
}

}   // namespace

bool InverseRun::ReadSpectrumHeader()
{
    rewind(fpt15);
    if (!ReadHeaderFields())
        return Fail("**** fpt15 Read Error: %s ends inside its header \n", spectrumFileName);
    PrintHeader(headerCalls++);
    if (!CheckHeader() || !ReadRangeTables())
        return false;
    // The work arrays are sized from the header next, so a file too short for the rows it
    // claims (truncated, or a few bytes claiming a huge grid) is refused before they are.
    long long rows = LY / 2 + 1;
    long long present = std::max(BytesLeft(fpt15), 0LL) / (16LL * LX);
    if (present >= rows)
        return true;
    return Fail("**** fpt15 Read Error: %s ends inside spectrum row %lld of %lld \n", spectrumFileName, present + 1,
                rows);
}

bool InverseRun::ReadHeaderFields()
{
    double box[8];
    int32_t sizes[4];
    double level[3];
    int32_t extents[6];
    if (!ReadItems(fpt15, box, 8) || !ReadItems(fpt15, sizes, 4) || !ReadItems(fpt15, level, 3)
        || !ReadItems(fpt15, extents, 6))
        return false;
    XMIN = box[0];
    XMAX = box[1];
    YMIN = box[2];
    YMAX = box[3];
    scale.DX = box[4];
    scale.DY = box[5];
    XPMIN = box[6];
    YPMIN = box[7];
    NX = sizes[0];
    NY = sizes[1];
    LX = sizes[2];
    LY = sizes[3];
    scale.AV = level[0];
    angle.CT = level[1];
    angle.ST = level[2];
    NTAILX = extents[0];
    NTAILY = extents[1];
    IS = extents[2];
    IF = extents[3];
    JS = extents[4];
    JF = extents[5];
    return true;
}

void InverseRun::PrintHeader(int32_t call) const
{
    printf("\n******************* Call ReadSpectrumHeader #%d *******************\n", call);
    printf("XMIN = %13.2f, XMAX = %13.2f, YMIN = %13.2f, YMAX = %13.2f, DX = %g, DY = %g\n", XMIN, XMAX, YMIN, YMAX,
           scale.DX, scale.DY);
    printf("XPMIN = %13.2f, YPMIN = %13.2f\n", XPMIN, YPMIN);
    printf("NX = %d, NY = %d\n", NX, NY);
    printf("LX = %d, LY = %d AV = %g\n", LX, LY, scale.AV);
    printf("CT = %13.2f, ST = %13.2f\n", angle.CT, angle.ST);
    printf("NTAILX = %d, NTAILY = %d\n", NTAILX, NTAILY);
    printf("IS = %d, IF = %d, JS = %d, JF = %d\n", IS, IF, JS, JF);
    printf("\n******************************************************\n\n");
}

// Refuses sizes no forward run writes, before any of them is used to allocate or index.
bool InverseRun::CheckHeader()
{
    const char* problem = nullptr;
    if (!PowerOfTwo(LX) || !PowerOfTwo(LY))
        problem = "LX and LY must be powers of two from 2 to 32768";
    else if (NX < 1 || NY < 1 || NX > LX || NY > LY)
        problem = "NX and NY must lie between 1 and LX, LY";
    else if (IS < 1 || IS > IF || IF > NX || JS < 1 || JS > JF || JF > NY)
        problem = "the data columns IS..IF and rows JS..JF must lie inside the grid";
    else if (!(scale.DX > 0.0) || !(scale.DY > 0.0) || !std::isfinite(scale.DX) || !std::isfinite(scale.DY))
        problem = "the cell sizes DX and DY must be positive";
    if (!problem)
        return true;
    return Fail("**** fpt15 Header Error: %s: %s (NX = %d, NY = %d, LX = %d, LY = %d, IS = %d, IF = %d, JS = %d, "
                "JF = %d) \n",
                spectrumFileName, problem, NX, NY, LX, LY, IS, IF, JS, JF);
}

// Column ranges (first and last data row of columns IS..IF), then row ranges (first and last
// data column of rows JS..JF); entries outside those spans stay 0.
bool InverseRun::ReadRangeTables()
{
    free(COLRNG);
    free(ROWRNG);
    COLRNG = (int32_t(*)[2])calloc((size_t)NX + 1, sizeof *COLRNG);
    ROWRNG = (int32_t(*)[2])calloc((size_t)NY + 1, sizeof *ROWRNG);
    if (!COLRNG || !ROWRNG) {
        LogOut("**** Allocate memory error \n");
        return false;
    }
    for (int32_t bound = 0; bound < 2; ++bound)
        for (int32_t x = IS; x <= IF; ++x)
            if (!ReadItems(fpt15, &COLRNG[x][bound], 1))
                return Fail("**** fpt15 Read Error: %s ends inside its column range table \n", spectrumFileName);
    for (int32_t bound = 0; bound < 2; ++bound)
        for (int32_t y = JS; y <= JF; ++y)
            if (!ReadItems(fpt15, &ROWRNG[y][bound], 1))
                return Fail("**** fpt15 Read Error: %s ends inside its row range table \n", spectrumFileName);
    return true;
}
