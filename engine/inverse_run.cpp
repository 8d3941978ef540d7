// Inverse run frame: files, the filter section of the control file, the order of the stages.

#include "inverse_run.h"

#include "nint.h"
#include "text_input.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const double DEGREE = 0.017453292519943295;   // pi/180
const double TWOPI = 6.283185307179586;

// Control-file line buffer: a line holds at most 8191 characters.
const int LINE_SIZE = 8192;

// Positions the control file on the line after "Perform filtering"; false when there is none.
bool SeekFilterSection(FILE* file)
{
    char line[LINE_SIZE];
    rewind(file);
    while (fgets(line, LINE_SIZE, file))
        if (strstr(line, "Perform filtering"))
            return true;
    return false;
}

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
    free(GRID);
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
    if (!OpenFiles() || !ReadControlLines() || !OpenScratchFiles())
        return false;
    bool taperAtEveryWavelength = IsDirectionalTaper(ITYP) && !(WHEAD > 0.0);
    if (ITYP != 0 && ITYP != 4 && ITYP != 5 && !taperAtEveryWavelength) {
        HEAD = 1.0 / WHEAD;
        SHLD = 1.0 / WSHLD;
    }
    ReadExtraLines();
    ComputeDirectionCosines();
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
    bool passed = (IND >= 11 && IND <= 13) ? ComponentPasses() : TransformPass();
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

// Lines 1 and 2 of the filter section, the optional files they ask for and the window log.
bool InverseRun::ReadControlLines()
{
    char line2[LINE_SIZE] = {0};
    if (SeekFilterSection(fpt1)) {
        ReadLineAndScan(fpt1, "%d %d %d %d", &OMODE, &PKPIK, &ISSAVE, &IOUT);
        if (fgets(line2, LINE_SIZE, fpt1))
            ScanString(line2, "%d %d %lg %lg", &IND, &ITYP, &WHEAD, &WSHLD);
    }
    printf("OMODE = %d, PKPIK = %d, ISSAVE = %d, IOUT = %d\n", OMODE, PKPIK, ISSAVE, IOUT);
    HEAD = SHLD = 0.0;
    printf("IND = %d, ITYP = %d, WHEAD = %g, WSHLD = %g\n", IND, ITYP, WHEAD, WSHLD);
    if (IND == 0) {
        IND = 1;
        ITYP = 0;
    }
    if (std::abs(PKPIK) == 1) {
        fpt18 = fopen(OutputFileName("fpt18_2D_INV_PKPIK_", controlFileName, "csv").c_str(), "wt");
        if (fpt18)
            fprintf(fpt18, "XO, YO, Z, PROD, AMPL\n");
    }
    if (ISSAVE == 1) {
        if (IND == 12 || IND == 13) {
            fprintf(stderr, " \n");
            fprintf(stderr, "**** Option to record filtered spectrum ...\n");
            fprintf(stderr, " ... not implemented for total horiz. derivative ****\n");
            fprintf(stderr, "**** STOP called ****\n");
            return false;
        }
        fpt16 = fopen(OutputFileName("fpt16_2D_INV_OUTSPEC_", controlFileName, "TXT").c_str(), "wt");
    }
    if (ITYP == 6 || IsDirectionalTaper(ITYP))
        ScanString(line2, "%d %d %lg %lg %lg %lg", &IND, &ITYP, &WHEAD, &WSHLD, &pass.STRIKE, &pass.HASTR);
    LogWindowParameters();
    return true;
}

void InverseRun::LogWindowParameters()
{
    if (ITYP == 4 || ITYP == 5) {
        // The directional pass and reject take their azimuths from the wavelength positions.
        pass.STRIKE = WHEAD;
        pass.HASTR = WSHLD;
        Log("IND=%d  ITYP=%d  pass.STRIKE=%13.2f   pass.HASTR=%13.2f\n", IND, ITYP, pass.STRIKE, pass.HASTR);
    } else if (ITYP == 6 || IsDirectionalTaper(ITYP)) {
        Log("IND=%d  ITYP=%d  WHEAD=%13.2f WSHLD=%13.2f pass.STRIKE=%13.2f   pass.HASTR=%13.2f\n", IND, ITYP,
            WHEAD, WSHLD, pass.STRIKE, pass.HASTR);
    } else if (ITYP >= 1 && ITYP <= 3) {
        Log("IND=%d  ITYP=%d  WHEAD=%13.2f WSHLD=%13.2f\n", IND, ITYP, WHEAD, WSHLD);
    }
    printf("IND = %d\n", IND);
}

// The multi-pass responses park each directional grid in a scratch file; without them the
// run cannot combine anything, so a scratch file that cannot be opened stops it.
bool InverseRun::OpenScratchFiles()
{
    if (IND < 11 || IND > 13)
        return true;
    if (!(fpt10 = fopen(SiblingFileName(controlFileName, "fpt10_XDER").c_str(), "w+b")))
        return Fail("**** fpt10 Open File Error: %s \n", "fpt10_XDER");
    if (!(fpt20 = fopen(SiblingFileName(controlFileName, "fpt20_YDER").c_str(), "w+b")))
        return Fail("**** fpt20 Open File Error: %s \n", "fpt20_YDER");
    if (IND == 11) {
        if (!(fpt30 = fopen(SiblingFileName(controlFileName, "fpt30_ZDER").c_str(), "w+b")))
            return Fail("**** fpt30 Open File Error: %s \n", "fpt30_ZDER");
        if (fpt17)
            fprintf(fpt17, "EAST NORTH BX BY BZ BTP BTM\n");
    }
    return true;
}

// The lines after line 2 that the response asks for, in their fixed order.
void InverseRun::ReadExtraLines()
{
    if (IND == 2 || IND == 4 || IND == 10)
        ReadLineAndScan(fpt1, "%d", &IDIR);
    if (IND == 11) {
        ReadLineAndScan(fpt1, "%lg %lg", &field.DEC, &field.INC);
        printf("DEC = %g, INC = %g\n", field.DEC, field.INC);
        IDIR = 1;
    }
    if (IND == 2 && IDIR == 4) {
        ReadLineAndScan(fpt1, "%lg", &GRSTR);
        printf("GRSTR = %g\n", GRSTR);
    }
    if (IND == 3) {
        ReadLineAndScan(fpt1, "%lg", &cont.Z);
        printf("cont.Z = %g\n", cont.Z);
    }
    if (IND == 2) {
        cont.Z = 0.0;
        ReadLineAndScan(fpt1, "%lg", &cont.Z);
    }
    CG = std::cos(GRSTR * DEGREE);
    SG = std::sin(GRSTR * DEGREE);
    int32_t indNow = IND;
    if (IND == 13) {
        // The pseudo-gravity of IND 13 is read as IND 6 reads it.
        Log(" \n");
        Log("Temporarily set IND=6\n");
        indNow = 6;
    }
    ReadDirectionLines(indNow);
    if (IND == 12 || IND == 13) {
        ReadLineAndScan(fpt1, "%lg", &cont.Z);
        IDIR = 1;
        Log("IND=%d  cont.Z=%lg\n", IND, cont.Z);
    }
}

void InverseRun::ReadDirectionLines(int32_t indNow)
{
    if (indNow == 6)
        ReadLineAndScan(fpt1, "%lg %lg %lg %lg %lg", &field.DEC, &field.INC, &magn.DEC, &magn.INC, &FACTOR);
    if (indNow == 5)
        ReadLineAndScan(fpt1, "%lg %lg %lg %lg", &field.DEC, &field.INC, &magn.DEC, &magn.INC);
    if (indNow == 7)
        ReadLineAndScan(fpt1, "%lg %lg %lg %lg %lg %lg", &cont.Z, &field.DEC, &field.INC, &magn.DEC, &magn.INC,
                        &FACTOR);
    if (indNow == 8)
        cont.Z = 0.0;
    if (indNow == 14)
        ReadLineAndScan(fpt1, "%lg %lg %lg %lg %lg", &field.DEC, &field.INC, &magn.DEC, &magn.INC, &LIMIT);
    if (indNow == 15)
        ReadLineAndScan(fpt1, "%lg %lg %lg %lg %lg %lg", &field.DEC, &field.INC, &magn.DEC, &magn.INC, &FACTOR,
                        &LIMIT);
    if (indNow == 16)
        ReadLineAndScan(fpt1, "%lg %lg %lg %lg %lg %lg %lg", &cont.Z, &field.DEC, &field.INC, &magn.DEC,
                        &magn.INC, &FACTOR, &LIMIT);
}

// (L, M, N) = (cos I sin D, cos I cos D, -sin I) for the field, likewise for the magnetisation.
void InverseRun::ComputeDirectionCosines()
{
    bool both = IND == 5 || IND == 6 || IND == 7 || IND == 13 || (IND >= 14 && IND <= 16);
    if (!both && IND != 11)
        return;
    double D = field.DEC * DEGREE, I = field.INC * DEGREE;
    dir.T1 = std::cos(I) * std::sin(D);
    dir.T2 = std::cos(I) * std::cos(D);
    dir.T3 = -std::sin(I);
    if (!both)
        return;
    D = magn.DEC * DEGREE;
    I = magn.INC * DEGREE;
    mag.T1 = std::cos(I) * std::sin(D);
    mag.T2 = std::cos(I) * std::cos(D);
    mag.T3 = -std::sin(I);
    FLOOR = std::sin(LIMIT * DEGREE) * std::sin(LIMIT * DEGREE);
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
    if (IND == 2)
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
    GRID = (double*)calloc(2 * ((size_t)NROWS + 1) * ((size_t)NX + 1), sizeof(double));
    bool ok = GRID != nullptr;
    if (ok && IND >= 11 && IND <= 13) {
        GX = (double*)calloc((size_t)LMAX + 2, sizeof(double));
        GY = (double*)calloc((size_t)LMAX + 2, sizeof(double));
        ok = GX && GY;
        if (IND == 11)
            ok = ok && (GZ = (double*)calloc((size_t)LMAX + 2, sizeof(double)));
    }
    if (!ok) {
        printf("**** Allocate memory error \n");
        Log("**** Allocate memory error \n");
    }
    return ok;
}

FilterParams InverseRun::KernelParams() const
{
    FilterParams p;
    p.HEAD = HEAD;
    p.SHLD = SHLD;
    p.pass.STRIKE = pass.STRIKE;
    p.pass.HASTR = pass.HASTR;
    p.cont.Z = cont.Z;
    p.FACTOR = FACTOR;
    p.CG = CG;
    p.SG = SG;
    p.IDIR = IDIR;
    p.dir.T1 = dir.T1;
    p.dir.T2 = dir.T2;
    p.dir.T3 = dir.T3;
    p.mag.T1 = mag.T1;
    p.mag.T2 = mag.T2;
    p.mag.T3 = mag.T3;
    p.C1 = C1;
    p.C2 = C2;
    p.scale.DX = scale.DX;
    p.scale.DY = scale.DY;
    p.FLOOR = FLOOR;
    return p;
}

void InverseRun::Log(const char* format, ...)
{
    if (!fpt6)
        return;
    va_list args;
    va_start(args, format);
    vfprintf(fpt6, format, args);
    va_end(args);
}

// A stop: the message goes to standard error and to the log; the run then returns false.
bool InverseRun::Fail(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    vfprintf(stderr, format, args);
    if (fpt6)
        vfprintf(fpt6, format, copy);
    va_end(copy);
    va_end(args);
    return false;
}
