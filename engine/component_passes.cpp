// Multi-pass responses: the total horizontal gradient (IND 12, 13) and the field components of
// a total-field anomaly (IND 11). Each directional pass parks its grid column by column in a
// scratch file (one record of rows JS-1..JF+1 per transformed column); the files are combined
// at the end.

#include "inverse_run.h"
#include "filter_codes.h"

#include <algorithm>
#include <cmath>

using namespace filter_codes;

namespace {

const char* const SCRATCH_NAMES[4] = {"", "fpt10_XDER", "fpt20_YDER", "fpt30_ZDER"};

}   // namespace

bool InverseRun::ComponentPasses()
{
    const int32_t shape[4] = {NX, LX, LY, JF};
    for (;;) {
        if (!TransformPass())
            return false;
        if (request.IND == FieldComponents) {
            if (request.p.IDIR == AlongAzimuth)
                return RecoverComponents();
            if (request.p.IDIR == AlongX) {
                Log(" \n");
                Log("Preparing for y-component ...\n");
            } else if (request.p.IDIR == AlongY) {
                Log(" \n");
                Log("Preparing for z-component ...\n");
            }
            ++request.p.IDIR;
        } else {
            if (request.p.IDIR == AlongY)
                return CombineGradient();
            Log(" \n");
            Log("Preparing for y-derivative ...\n");
            request.p.IDIR = 2;
        }
        if (!ReadSpectrumHeader())
            return false;
        // The arrays were sized from the first header; a file that changed since cannot be used.
        if (NX != shape[0] || LX != shape[1] || LY != shape[2] || JF != shape[3])
            return Fail("**** fpt15 Header Error: %s changed between passes \n", spectrumFileName);
    }
}

// Column hand-off of a pass: the unfiltered pass of IND 11 keeps the column in the grid, the
// directional passes make the record of rows JS-1..JF+1 that goes to their scratch file.
void InverseRun::ParkedRecord(int32_t x, const double* column, ColumnOutput& out) const
{
    out.values.clear();
    for (int32_t y = JS - 1; y <= JF + 1; ++y) {
        if (request.p.IDIR == AlongAzimuth)
            std::copy(column + 2 * (size_t)y, column + 2 * (size_t)y + 2, Cell(y, x));
        else
            out.values.push_back(column[2 * (size_t)y]);
    }
}

// The directional passes append the column's record to the scratch file of their direction.
bool InverseRun::ParkColumn(const ColumnOutput& out)
{
    FILE* file = request.p.IDIR == AlongX ? fpt10 : request.p.IDIR == AlongY ? fpt20 : request.p.IDIR == Vertical ? fpt30 : nullptr;
    if (!file)
        return true;
    size_t count = out.values.size();
    if (fwrite(out.values.data(), sizeof(double), count, file) != count)
        return Fail("**** fpt%d0 Write Error: %s \n", request.p.IDIR, SCRATCH_NAMES[request.p.IDIR]);
    return true;
}

bool InverseRun::ReadScratchRecord(FILE* file, const char* name, double* column)
{
    size_t count = (size_t)(JF - JS + 3);
    if (fread(column, sizeof(double), count, file) != count)
        return Fail("**** Scratch Read Error: %s ends before the last column \n", name);
    return true;
}

// Total horizontal gradient sqrt(gx^2 + gy^2) of the two derivative grids; the grid keeps it
// for peak picking and the footprint points are emitted without the removed level.
bool InverseRun::CombineGradient()
{
    fclose(fpt15);
    fpt15 = nullptr;
    rewind(fpt10);
    rewind(fpt20);
    int32_t last = std::min(std::min(IF + 1, LX), NX);
    for (int32_t x = std::max(IS - 1, 1); x <= last; ++x) {
        if (!ReadScratchRecord(fpt10, SCRATCH_NAMES[1], GX) || !ReadScratchRecord(fpt20, SCRATCH_NAMES[2], GY))
            return false;
        for (int32_t y = JS - 1; y <= JF + 1; ++y) {
            Cell(y, x)[0] = std::sqrt(GX[y - JS + 1] * GX[y - JS + 1] + GY[y - JS + 1] * GY[y - JS + 1]);
            Cell(y, x)[1] = 0.0;
        }
        ForEachFootprintRow(x, [&](int32_t y) {
            double X, Y;
            PointCoordinates(x, y, X, Y);
            AppendPoint(X, Y, Cell(y, x)[0]);
        });
    }
    fclose(fpt10);
    fclose(fpt20);
    fpt10 = fpt20 = nullptr;
    return true;
}

// Components BX, BY, BZ of the anomaly, shifted along the field direction so that they
// recompose the measured value: L BX + M BY + N BZ = BTM.
bool InverseRun::RecoverComponents()
{
    printf("\n\nRecover the TEM components from Units 10, 20, & 30.\n\n");
    printf("dir.T1 = %g dir.T2 = %g dir.T3 = %g\n", request.p.dir.T1, request.p.dir.T2, request.p.dir.T3);
    fclose(fpt15);
    fpt15 = nullptr;
    rewind(fpt10);
    rewind(fpt20);
    rewind(fpt30);
    double stats[4] = {1e10, -1e10, 0.0, 0.0};   // SHIFTMIN, SHIFTMAX, sum, count
    int32_t last = std::min(std::min(IF + 1, LX), NX);
    for (int32_t x = std::max(IS - 1, 1); x <= last; ++x) {
        if (!ReadScratchRecord(fpt10, SCRATCH_NAMES[1], GX) || !ReadScratchRecord(fpt20, SCRATCH_NAMES[2], GY)
            || !ReadScratchRecord(fpt30, SCRATCH_NAMES[3], GZ))
            return false;
        RecoverColumn(x, stats);
    }
    if (fpt17)
        fprintf(fpt17, " SHIFTMIN = %lg  SHIFTMAX= %lg  SHIFTAV = %lg\n", stats[0], stats[1], stats[2] / stats[3]);
    for (FILE** file : {&fpt10, &fpt20, &fpt30}) {
        fclose(*file);
        *file = nullptr;
    }
    return true;
}

void InverseRun::RecoverColumn(int32_t x, double stats[4])
{
    ForEachFootprintRow(x, [&](int32_t y) {
        double X, Y;
        PointCoordinates(x, y, X, Y);
        ++NPTS;
        double BX = GX[y - JS + 1], BY = GY[y - JS + 1], BZ = GZ[y - JS + 1];
        double BTP = request.p.dir.T1 * BX + request.p.dir.T2 * BY + request.p.dir.T3 * BZ;
        double BTM = Cell(y, x)[0];
        double SHIFT = BTM - BTP;
        stats[0] = std::min(stats[0], SHIFT);
        stats[1] = std::max(stats[1], SHIFT);
        stats[2] += SHIFT;
        stats[3] += 1.0;
        printf("J = %d %15.4f %15.4f %13.6E %13.6E %13.6E %13.6E %13.6E %g %g %g %g \n", y, X, Y, BX, BY, BZ, BTP,
               BTM, SHIFT, request.p.dir.T1, request.p.dir.T2, request.p.dir.T3);
        BX += SHIFT * request.p.dir.T1;
        BY += SHIFT * request.p.dir.T2;
        BZ += SHIFT * request.p.dir.T3;
        if (IOUT == 1 && !output && fpt17)
            fprintf(fpt17, "%15.4f %15.4f %13.6E %13.6E %13.6E %13.6E %13.6E\n", X, Y, BX, BY, BZ, BTP, BTM);
    });
}
