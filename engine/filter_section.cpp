// The filter section of the control file: line 1 (output modes), then one response request
// (line 2 and the lines its response reads), read into a ResponseRequest; a composite (IND 18)
// reads its parts the same way, one after the other.

#include "inverse_run.h"
#include "filter_codes.h"

#include "text_input.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

using namespace filter_codes;

namespace {

const double DEGREE = 0.017453292519943295;   // pi/180

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

// Responses that take several passes over the spectrum: they cannot be a factor of a product.
bool IsMultiPass(int32_t IND)
{
    return IND >= 11 && IND <= 13;
}

}   // namespace

// Lines 1 and 2 of the filter section, the optional files they ask for and the window log.
bool InverseRun::ReadControlLines()
{
    char line2[LINE_SIZE] = {0};
    if (SeekFilterSection(fpt1)) {
        ReadLineAndScan(fpt1, "%d %d %d %d", &OMODE, &PKPIK, &ISSAVE, &IOUT);
        if (!fgets(line2, LINE_SIZE, fpt1))
            line2[0] = '\0';
    }
    printf("OMODE = %d, PKPIK = %d, ISSAVE = %d, IOUT = %d\n", OMODE, PKPIK, ISSAVE, IOUT);
    ReadRequestLine(line2, request);
    if (std::abs(PKPIK) == 1) {
        fpt18 = fopen(OutputFileName("fpt18_2D_INV_PKPIK_", controlFileName, "csv").c_str(), "wt");
        if (fpt18)
            fprintf(fpt18, "XO, YO, Z, PROD, AMPL\n");
    }
    if (ISSAVE == 1) {
        if (request.IND == HorizontalGradient || request.IND == PseudoGravityGradient) {
            fprintf(stderr, " \n");
            fprintf(stderr, "**** Option to record filtered spectrum ...\n");
            fprintf(stderr, " ... not implemented for total horiz. derivative ****\n");
            fprintf(stderr, "**** STOP called ****\n");
            return false;
        }
        fpt16 = fopen(OutputFileName("fpt16_2D_INV_OUTSPEC_", controlFileName, "TXT").c_str(), "wt");
    }
    LogWindowParameters(request);
    return true;
}

// Line 2 of a request, "IND ITYP WHEAD WSHLD" (with STRIKE HASTR for ITYP 6, 8 and 9); IND 0
// asks for no filter. The window's head and shoulder wavenumbers where the window has them.
void InverseRun::ReadRequestLine(const char* line2, ResponseRequest& r)
{
    ScanString(line2, "%d %d %lg %lg", &r.IND, &r.ITYP, &r.WHEAD, &r.WSHLD);
    printf("IND = %d, ITYP = %d, WHEAD = %g, WSHLD = %g\n", r.IND, r.ITYP, r.WHEAD, r.WSHLD);
    if (r.IND == 0) {
        r.IND = 1;
        r.ITYP = 0;
    }
    if (r.ITYP == ShortStrikeReject || IsDirectionalTaper(r.ITYP))
        ScanString(line2, "%d %d %lg %lg %lg %lg", &r.IND, &r.ITYP, &r.WHEAD, &r.WSHLD, &r.p.pass.STRIKE,
                   &r.p.pass.HASTR);
    if (r.ITYP == StrikePass || r.ITYP == StrikeReject) {
        // The directional pass and reject take their azimuths from the wavelength positions.
        r.p.pass.STRIKE = r.WHEAD;
        r.p.pass.HASTR = r.WSHLD;
    }
    bool taperAtEveryWavelength = IsDirectionalTaper(r.ITYP) && !(r.WHEAD > 0.0);
    if (r.ITYP != 0 && r.ITYP != 4 && r.ITYP != 5 && !taperAtEveryWavelength) {
        r.p.HEAD = 1.0 / r.WHEAD;
        r.p.SHLD = 1.0 / r.WSHLD;
    }
}

void InverseRun::LogWindowParameters(const ResponseRequest& r)
{
    if (r.ITYP == StrikePass || r.ITYP == StrikeReject) {
        Log("IND=%d  ITYP=%d  pass.STRIKE=%13.2f   pass.HASTR=%13.2f\n", r.IND, r.ITYP, r.p.pass.STRIKE,
            r.p.pass.HASTR);
    } else if (r.ITYP == ShortStrikeReject || IsDirectionalTaper(r.ITYP)) {
        Log("IND=%d  ITYP=%d  WHEAD=%13.2f WSHLD=%13.2f pass.STRIKE=%13.2f   pass.HASTR=%13.2f\n", r.IND, r.ITYP,
            r.WHEAD, r.WSHLD, r.p.pass.STRIKE, r.p.pass.HASTR);
    } else if (r.ITYP >= 1 && r.ITYP <= 3) {
        Log("IND=%d  ITYP=%d  WHEAD=%13.2f WSHLD=%13.2f\n", r.IND, r.ITYP, r.WHEAD, r.WSHLD);
    }
    printf("IND = %d\n", r.IND);
}

// The lines after line 2 that the response asks for, in their fixed order.
bool InverseRun::ReadExtraLines(ResponseRequest& r)
{
    if (r.IND == Derivative || r.IND == SecondDerivative || r.IND == Integration)
        ReadLineAndScan(fpt1, "%d", &r.p.IDIR);
    if (r.IND == FieldComponents) {
        ReadLineAndScan(fpt1, "%lg %lg", &r.field.DEC, &r.field.INC);
        printf("DEC = %g, INC = %g\n", r.field.DEC, r.field.INC);
        r.p.IDIR = 1;
    }
    if (r.IND == Derivative && r.p.IDIR == AlongAzimuth) {
        ReadLineAndScan(fpt1, "%lg", &r.GRSTR);
        printf("GRSTR = %g\n", r.GRSTR);
    }
    if (r.IND == Continuation) {
        ReadLineAndScan(fpt1, "%lg", &r.p.cont.Z);
        printf("cont.Z = %g\n", r.p.cont.Z);
    }
    if (r.IND == Derivative) {
        r.p.cont.Z = 0.0;
        ReadLineAndScan(fpt1, "%lg", &r.p.cont.Z);
    }
    r.p.CG = std::cos(r.GRSTR * DEGREE);
    r.p.SG = std::sin(r.GRSTR * DEGREE);
    int32_t indNow = r.IND;
    if (r.IND == PseudoGravityGradient) {
        // The pseudo-gravity of IND 13 is read as IND 6 reads it.
        Log(" \n");
        Log("Temporarily set IND=6\n");
        indNow = 6;
    }
    ReadDirectionLines(indNow, r);
    if (r.IND == HorizontalGradient || r.IND == PseudoGravityGradient) {
        ReadLineAndScan(fpt1, "%lg", &r.p.cont.Z);
        r.p.IDIR = 1;
        Log("IND=%d  cont.Z=%lg\n", r.IND, r.p.cont.Z);
    }
    ComputeDirectionCosines(r);
    return r.IND == Composite ? ReadParts(r) : true;
}

// IND 18: the count, then each part's line 2 and its own lines. A multi-pass or composite part
// stops the run: a product can only be taken in one pass.
bool InverseRun::ReadParts(ResponseRequest& r)
{
    int32_t count = -1;
    ReadLineAndScan(fpt1, "%d", &count);
    if (count < 0 || count > MAX_PARTS)
        return Fail("**** Control File Error: composite of %d requests, 0 to %d allowed \n", count, MAX_PARTS);
    Log("Composite of %d requests\n", count);
    for (int32_t i = 0; i < count; ++i) {
        char line[LINE_SIZE] = {0};
        if (!fgets(line, LINE_SIZE, fpt1))
            return Fail("**** Control File Error: the composite ends before its request %d \n", i + 1);
        ResponseRequest& part = parts[i];
        part = ResponseRequest();
        ReadRequestLine(line, part);
        if (IsMultiPass(part.IND) || part.IND == Composite)
            return Fail("**** Control File Error: IND %d cannot be request %d of a composite \n", part.IND, i + 1);
        LogWindowParameters(part);
        if (!ReadExtraLines(part))
            return false;
    }
    r.p.PARTS = parts;
    r.p.NPARTS = count;
    return true;
}

void InverseRun::ReadDirectionLines(int32_t indNow, ResponseRequest& r)
{
    if (indNow == 6)
        ReadLineAndScan(fpt1, "%lg %lg %lg %lg %lg", &r.field.DEC, &r.field.INC, &r.magn.DEC, &r.magn.INC,
                        &r.p.FACTOR);
    if (indNow == 5)
        ReadLineAndScan(fpt1, "%lg %lg %lg %lg", &r.field.DEC, &r.field.INC, &r.magn.DEC, &r.magn.INC);
    if (indNow == 7)
        ReadLineAndScan(fpt1, "%lg %lg %lg %lg %lg %lg", &r.p.cont.Z, &r.field.DEC, &r.field.INC, &r.magn.DEC,
                        &r.magn.INC, &r.p.FACTOR);
    if (indNow == 8)
        r.p.cont.Z = 0.0;
    if (indNow == 14)
        ReadLineAndScan(fpt1, "%lg %lg %lg %lg %lg", &r.field.DEC, &r.field.INC, &r.magn.DEC, &r.magn.INC,
                        &r.LIMIT);
    if (indNow == 15)
        ReadLineAndScan(fpt1, "%lg %lg %lg %lg %lg %lg", &r.field.DEC, &r.field.INC, &r.magn.DEC, &r.magn.INC,
                        &r.p.FACTOR, &r.LIMIT);
    if (indNow == 16)
        ReadLineAndScan(fpt1, "%lg %lg %lg %lg %lg %lg %lg", &r.p.cont.Z, &r.field.DEC, &r.field.INC, &r.magn.DEC,
                        &r.magn.INC, &r.p.FACTOR, &r.LIMIT);
}

// (L, M, N) = (cos I sin D, cos I cos D, -sin I) for the field, likewise for the magnetisation.
void InverseRun::ComputeDirectionCosines(ResponseRequest& r)
{
    bool both = r.IND == ReductionToPole || r.IND == PseudoGravity || r.IND == LayerSusceptibility || r.IND == PseudoGravityGradient || (r.IND >= 14 && r.IND <= 16);
    if (!both && r.IND != 11)
        return;
    double D = r.field.DEC * DEGREE, I = r.field.INC * DEGREE;
    r.p.dir.T1 = std::cos(I) * std::sin(D);
    r.p.dir.T2 = std::cos(I) * std::cos(D);
    r.p.dir.T3 = -std::sin(I);
    if (!both)
        return;
    D = r.magn.DEC * DEGREE;
    I = r.magn.INC * DEGREE;
    r.p.mag.T1 = std::cos(I) * std::sin(D);
    r.p.mag.T2 = std::cos(I) * std::cos(D);
    r.p.mag.T3 = -std::sin(I);
    r.p.FLOOR = std::sin(r.LIMIT * DEGREE) * std::sin(r.LIMIT * DEGREE);
}

// The run's derivative units and cell sizes, which the kernel reads in every part too.
void InverseRun::CompleteKernelParams(ResponseRequest& r) const
{
    r.p.C1 = C1;
    r.p.C2 = C2;
    r.p.scale.DX = scale.DX;
    r.p.scale.DY = scale.DY;
}
