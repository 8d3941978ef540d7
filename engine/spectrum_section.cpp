// The spectrum section of the control file (lines 1 to 12) and the data input of the forward run.

#include "forward_state.h"

#include <algorithm>
#include <cmath>

namespace {

const double DEGREE = 0.017453292519943295;

// Lines 1 and 2: text of at most 1022 characters, trimmed at both ends. A missing line is empty.
void ReadTextParameter(FILE* f, char* text)
{
    if (!ReadTextLine(f, text, NAME_SIZE - 1))
        text[0] = '\0';
    TrimLeft(text, " \t\r\n");
    TrimRight(text, " \t\r\n");
}

// A parameter line that is missing or does not scan ends the run: its values would be undefined.
bool Scanned(ForwardState& s, int line, int converted, int expected, const char* fields)
{
    if (converted == expected)
        return true;
    LogErr(s, " *** Line %d of control file %s is missing or does not hold %s\n", line, s.controlName, fields);
    return false;
}

bool Valid(ForwardState& s, int line, bool condition, const char* requirement)
{
    if (condition)
        return true;
    LogErr(s, " *** Line %d of control file %s: %s\n", line, s.controlName, requirement);
    return false;
}

bool Finite(double a, double b = 0, double c = 0, double d = 0)
{
    return std::isfinite(a) && std::isfinite(b) && std::isfinite(c) && std::isfinite(d);
}

// Tail in cells; a tail longer than the largest grid is cut later anyway, so cap it before NINT.
int32_t TailCells(const ForwardState& s, double tail, double cell)
{
    return NINT(std::min(tail / cell, static_cast<double>(s.DIM1)));
}

bool ReadWindowLines(ForwardState& s)
{
    FILE* f = s.fpt1;
    int n = ReadLineAndScanCount(f, "%lg %lg %lg %lg", &s.XECS, &s.YECS, &s.YPEXT, &s.XPEXT);
    if (!Scanned(s, 3, n, 4, "XECS YECS YPEXT XPEXT")
        || !Valid(s, 3, Finite(s.XECS, s.YECS, s.YPEXT, s.XPEXT) && s.YPEXT >= 0 && s.XPEXT >= 0,
                  "the window extents must be finite and not negative"))
        return false;
    LogOut(s, "XECS = %g, YECS = %g, YPEXT = %g, XPEXT = %g\n", s.XECS, s.YECS, s.YPEXT, s.XPEXT);

    n = ReadLineAndScanCount(f, "%lg %lg", &s.DXP, &s.DYP);
    if (!Scanned(s, 4, n, 2, "DXP DYP")
        || !Valid(s, 4, Finite(s.DXP, s.DYP) && s.DXP > 0 && s.DYP > 0, "the cell sizes must be positive"))
        return false;
    LogOut(s, "DXP = %g, DYP = %g\n", s.DXP, s.DYP);
    return true;
}

bool ReadPositionLines(ForwardState& s)
{
    LogOut(s, "Read data position parameters\n");
    int32_t largest = 0;
    for (int n = 0; n < 4; ++n) {
        int32_t& position = s.positions.column[n];
        if (!Scanned(s, 5 + n, ReadLineAndScanCount(s.fpt1, "%d", &position), 1, "a data position")
            || !Valid(s, 5 + n, position >= 1, "a data position counts columns from 1"))
            return false;
        LogOut(s, "%d\n", position);
        largest = std::max(largest, position);
    }
    s.positions.largest = largest;
    for (int32_t& position : s.positions.column)
        --position;
    return true;
}

bool ReadRemainingLines(ForwardState& s)
{
    FILE* f = s.fpt1;
    if (!Scanned(s, 9, ReadLineAndScanCount(f, "%lg", &s.THETA), 1, "THETA")
        || !Valid(s, 9, Finite(s.THETA), "THETA must be finite"))
        return false;
    LogOut(s, "THETA = %g\n", s.THETA);
    double radians = s.THETA * DEGREE;
    s.CT = std::cos(radians);
    s.ST = std::sin(radians);

    if (!Scanned(s, 10, ReadLineAndScanCount(f, "%lg %lg", &s.TAILX, &s.TAILY), 2, "TAILX TAILY")
        || !Valid(s, 10, Finite(s.TAILX, s.TAILY) && s.TAILX >= 0 && s.TAILY >= 0,
                  "the tail lengths must be finite and not negative"))
        return false;
    LogOut(s, "TAILX = %g, TAILY = %g\n", s.TAILX, s.TAILY);
    s.NTAILX = TailCells(s, s.TAILX, s.DXP);
    s.NTAILY = TailCells(s, s.TAILY, s.DYP);

    if (!Scanned(s, 11, ReadLineAndScanCount(f, "%lg", &s.AMBF), 1, "AMBF")
        || !Valid(s, 11, Finite(s.AMBF), "AMBF must be finite"))
        return false;
    LogOut(s, "AMBF = %g\n", s.AMBF);

    if (!Scanned(s, 12, ReadLineAndScanCount(f, "%d %d", &s.IRAW, &s.IAMP), 2, "IRAW IAMP"))
        return false;
    std::printf("IRAW = %d, IAMP = %d\n", s.IRAW, s.IAMP);
    return true;
}

} // namespace

bool ReadSpectrumSection(ForwardState& s)
{
    ReadTextParameter(s.fpt1, s.TITLE);
    LogOut(s, "TITLE = \"%s\"\n", s.TITLE);
    ReadTextParameter(s.fpt1, s.dataName);
    if (!s.points) {
        s.fptData = std::fopen(s.dataName, "rt");
        if (!s.fptData) {
            LogErr(s, " *** Open File Error: %s \n", s.dataName);
            return false;
        }
    }
    LogOut(s, " Successfully open File : %s \n", s.dataName);
    return ReadWindowLines(s) && ReadPositionLines(s) && ReadRemainingLines(s);
}

bool NextPoint(ForwardState& s, double& x, double& y, double& value)
{
    if (s.points) {
        if (s.nextPoint + 3 > s.points->size())
            return false;
        const double* p = s.points->data() + s.nextPoint;
        s.nextPoint += 3;
        x = p[0];
        y = p[1];
        value = p[2];
        return true;
    }
    double fields[4];
    if (!s.fptData || !ReadDataLine(s.positions, s.fptData, fields))
        return false;
    x = fields[0];
    y = fields[1];
    value = fields[2];
    return true;
}

void RewindPoints(ForwardState& s)
{
    s.nextPoint = 0;
    if (s.fptData)
        std::rewind(s.fptData);
}
