// Inverse run frame: files, the filter section of the control file, the order of the stages.

#include "inverse_run.h"
#include "run_log.h"
#include "filter_codes.h"

#include "engine_threads.h"
#include "nint.h"
#include "text_input.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace filter_codes;

namespace {

const double TWOPI = 6.283185307179586;

void CopyName(char* target, size_t size, const std::string& name)
{
    snprintf(target, size, "%s", name.c_str());
}

}   // namespace

InverseRun::InverseRun(const char* controlFileName, FilterPoints* output)
    : output(output)
{
    // A name that does not fit is left empty rather than cut, so that the run stops at the
    // control-file open instead of reading some other file.
    if (controlFileName && strlen(controlFileName) < sizeof this->controlFileName)
        snprintf(this->controlFileName, sizeof this->controlFileName, "%s", controlFileName);
}

InverseRun::~InverseRun()
{
    Close();
}

void InverseRun::Close()
{
    for (FILE** file : {&fpt1, &fpt6, &fpt15, &fpt16, &fpt17, &fpt18, &fpt10, &fpt20, &fpt30}) {
        if (*file)
            fclose(*file);
        *file = nullptr;
    }
    free(COLRNG);
    free(ROWRNG);
    // The filtered grid stays as the spare block, for TakeSpareBlock, until the run is destroyed.
    if (GRID)
        spare = WorkBlock(GRID, gridDoubles);
    free(GX);
    free(GY);
    free(GZ);
    COLRNG = nullptr;
    ROWRNG = nullptr;
    GRID = GX = GY = GZ = nullptr;
}

bool InverseRun::DUVERU2_inv()
{
    bool ok = RunStages();
    Close();
    return ok;
}

bool InverseRun::RunStages()
{
    if (!OpenFiles() || !ReadControlLines() || !OpenScratchFiles() || !ReadExtraLines(request))
        return false;
    printf("DIM1 = %d NX = %d  NY = %d\n", DIM1, NX, NY);
    if (!ReadSpectrumHeader())
        return false;
    if (fpt16)
        WriteSpectrumRecordHeader();
    Log("XMIN = %13.2f,  XMAX = %13.2f,  scale.DX = %6.2f\n", XMIN, XMAX, scale.DX);
    Log("YMIN = %13.2f,  YMAX = %13.2f,  scale.DY = %6.2f\n", YMIN, YMAX, scale.DY);
    Log("NX = %d,  NY = %d\n", NX, NY);
    Log("scale.AV = %lg\n\n", scale.AV);
    SetDerivativeUnits();
    if (!AllocateWorkArrays())
        return false;
    bool passed = (request.IND >= 11 && request.IND <= 13) ? ComponentPasses() : TransformPass();
    if (!passed)
        return false;
    if (std::abs(PKPIK) == 1)
        PickPeaks();
    if (IOUT > 1 && fpt17)
        DumpGrid();
    return true;
}

bool InverseRun::OpenFiles()
{
    std::string logName = OutputFileName("fpt6_2D_INV_AIRFILT_", controlFileName, "OUT");
    fpt6 = fopen(logName.c_str(), "wt");
    if (!fpt6) {
        fprintf(stderr, "**** fpt6 Open File Error: %s \n", logName.c_str());
        return false;
    }
    Log(" \n");
    Log(" **************** DUVERU2_inv *****************\n");
    Log(" \n");
    fpt1 = fopen(controlFileName, "rt");
    if (!fpt1)
        return Fail("**** fpt1 Open File Error: %s \n", controlFileName);
    CopyName(spectrumFileName, sizeof spectrumFileName,
             OutputFileName("fpt15_2D_FWD_SPEC_", controlFileName, "BIN"));
    fpt15 = fopen(spectrumFileName, "rb");
    if (!fpt15)
        return Fail("**** fpt15 Open File Error: %s \n", spectrumFileName);
    if (!output) {
        std::string pointsName = OutputFileName("fpt17_2D_INV_FLT_", controlFileName, "TXT");
        fpt17 = fopen(pointsName.c_str(), "wt");
        if (!fpt17)
            return Fail("**** fpt17 Open File Error: %s \n", pointsName.c_str());
    }
    return true;
}

// The multi-pass responses park each directional grid in a scratch file; without them the
// run cannot combine anything, so a scratch file that cannot be opened stops it.
bool InverseRun::OpenScratchFiles()
{
    if (request.IND < 11 || request.IND > 13)
        return true;
    if (!(fpt10 = fopen(SiblingFileName(controlFileName, "fpt10_XDER").c_str(), "w+b")))
        return Fail("**** fpt10 Open File Error: %s \n", "fpt10_XDER");
    if (!(fpt20 = fopen(SiblingFileName(controlFileName, "fpt20_YDER").c_str(), "w+b")))
        return Fail("**** fpt20 Open File Error: %s \n", "fpt20_YDER");
    if (request.IND == FieldComponents) {
        if (!(fpt30 = fopen(SiblingFileName(controlFileName, "fpt30_ZDER").c_str(), "w+b")))
            return Fail("**** fpt30 Open File Error: %s \n", "fpt30_ZDER");
        if (fpt17)
            fprintf(fpt17, "EAST NORTH BX BY BZ BTP BTM\n");
    }
    return true;
}

// Derivatives come out in data units per 10^n grid units, n = NINT(log10(smaller cell size)):
// c1 = 2 pi 10^n, c2 = c1^2.
void InverseRun::SetDerivativeUnits()
{
    double SL = std::min(scale.DX, scale.DY);
    printf(" scale.DX = %g scale.DY = %g SL = %g\n", scale.DX, scale.DY, SL);
    int32_t n = NINT(std::log10(SL));
    double base = n < 0 ? 0.1 : 10.0;
    UNIT = 1.0;
    for (int32_t e = std::abs(n); e > 0; e >>= 1, base *= base)
        if (e & 1)
            UNIT *= base;
    C1 = TWOPI * UNIT;
    C2 = C1 * C1;
    CompleteKernelParams(request);
    for (ResponseRequest& part : parts)
        CompleteKernelParams(part);
    if (request.IND == Derivative)
        Log(" GRADIENT IN GAMMAS PER = %8.1f\n", UNIT);
}

// Transform sizes, then the filtered grid, rows 0..NROWS, so that the kept rows JS-1..JF+1
// always exist.
bool InverseRun::AllocateWorkArrays()
{
    LY2 = LY / 2;
    LY21 = LY2 + 1;
    LX2 = LX / 2;
    LMAX = std::max(LX, LY);
    printf("LX = %d, LY = %d, LY2 = %d, LMAX = %d\n", LX, LY, LY2, LMAX);
    NROWS = std::max(LY21, JF + 1);
    gridDoubles = 2 * ((size_t)NROWS + 1) * ((size_t)NX + 1);
    GRID = FilteredGridBlock(gridDoubles);
    bool ok = GRID != nullptr;
    if (ok && request.IND >= 11 && request.IND <= 13) {
        GX = (double*)calloc((size_t)LMAX + 2, sizeof(double));
        GY = (double*)calloc((size_t)LMAX + 2, sizeof(double));
        ok = GX && GY;
        if (request.IND == FieldComponents)
            ok = ok && (GZ = (double*)calloc((size_t)LMAX + 2, sizeof(double)));
    }
    if (!ok)
        LogOut("**** Allocate memory error \n");
    return ok;
}

// The filtered grid, zeroed: in the spare block when it is large enough, its pages already in the
// process, else in a new block faulted in on all workers.
double* InverseRun::FilteredGridBlock(size_t doubles)
{
    if (spare.Doubles() >= doubles) {
        double* block = spare.Release();
        ParallelFor((int64_t)doubles, 1 << 20, [block](int64_t first, int64_t last, int32_t) {
            std::fill(block + first, block + last, 0.0);
        });
        return block;
    }
    spare = WorkBlock();
    double* block = (double*)calloc(doubles, sizeof(double));
    if (block)
        PrepareFreshMemory(block, doubles * sizeof(double));
    return block;
}

void InverseRun::Log(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    WriteRunLog(fpt6, nullptr, format, args);
    va_end(args);
}

void InverseRun::LogOut(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    WriteRunLog(fpt6, stdout, format, args);
    va_end(args);
}

// A stop: the message goes to standard error and to the log; the run then returns false.
bool InverseRun::Fail(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    WriteRunLog(fpt6, stderr, format, args);
    va_end(args);
    return false;
}
