// Peak picking on the filtered grid: each footprint point is compared with its two neighbours
// along four directions; the directions in which it stands strictly above both are encoded as a
// product of one prime per direction (2 x, 3 north-east, 5 y, 7 north-west; 210 = all four).

#include "inverse_run.h"

#include "nint.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

struct Direction {
    double weight;
    int dx1, dy1, dx2, dy2;   // column and row offsets of the two neighbours
};

const Direction DIRECTIONS[4] = {
    {2.0, -1, 0, +1, 0},
    {3.0, +1, +1, -1, -1},
    {5.0, 0, +1, 0, -1},
    {7.0, -1, +1, +1, -1},
};

}   // namespace

void InverseRun::PickPeaks()
{
    double sign = PKPIK == -1 ? -1.0 : 1.0;   // minima are the maxima of the negated grid
    double N = (double)NPTS;
    double mean = 0.0, squares = 0.0;
    for (int32_t x = IS; x <= IF; ++x) {
        if (x - 1 < 1 || x + 1 > NX)
            continue;
        ForEachFootprintRow(x, [&](int32_t y) {
            if (y - 1 < 1 || y + 1 > NROWS)
                return;
            double c = sign * Cell(y, x)[0];
            double PROD = 1.0, AMPL = 0.0;
            for (const Direction& d : DIRECTIONS) {
                double a = sign * Cell(y + d.dy1, x + d.dx1)[0];
                double b = sign * Cell(y + d.dy2, x + d.dx2)[0];
                if (a < c && b < c) {
                    PROD *= d.weight;
                    AMPL = std::max(AMPL, std::min(c - a, c - b));
                }
            }
            // Running mean and variance sums over every footprint point, peak or not.
            mean += AMPL / N;
            squares += AMPL * AMPL / (N - 1.0);
            if (NINT(PROD) != 1 && fpt18) {
                double X, Y;
                PointCoordinates(x, y, X, Y);
                fprintf(fpt18, "%15.4f, %15.4f, %15.4f, %15.4f, %13.6E\n", X, Y, request.p.cont.Z, PROD, AMPL);
            }
        });
    }
    double sd = std::sqrt(squares - N * mean * mean / (N - 1.0));
    Log(" \n");
    Log("PK amplitude mean = %lg\n", mean);
    Log("PK amplitude sd = %lg\n", sd);
    if (fpt18)
        fclose(fpt18);
    fpt18 = nullptr;
}
