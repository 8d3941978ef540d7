#pragma once
// The demo's synthetic aeromagnetic survey: total-field anomaly (nT) over buried magnetised bodies
// at different depths, on a regional trend, with a little noise, flown inside an irregular outline
// around a lake. Closed-form fields, a fixed noise seed: the same grid on every run.

#include <synth_grid.h>

namespace spectrafil {

struct DemoSurvey {
    synth::Grid grid;      // 600 x 500 cells of 50 m, cell 0 the south-west cell
    double inclination;    // of the inducing field, degrees
    double declination;
    double fieldStrength;  // nT
    double flightHeight;   // m above the ground
    double dykeStrike;     // degrees east of north, of the chain of small bodies
    const char* crs;       // of the coordinates
};

DemoSurvey makeDemoSurvey();

} // namespace spectrafil
