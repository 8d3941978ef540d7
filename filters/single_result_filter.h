#pragma once
// One filter that makes one result property: what sets it apart from the others. The pipeline
// order is the same for all of them and lives in runSingleResultFilter only.

#include "filter_codes.h"

#include <QString>

#include <functional>
#include <string>

namespace Tavorin {
class I2DGridMesh;
class IBaseData;
} // namespace Tavorin

namespace I2DFourierFilters {

struct SingleResultFilter {
    // Appended to the source name when no result name is given.
    QString suffix;
    // Runs the parameter checks in order; the first failing check's message, or empty to go on.
    std::function<QString()> rejection;
    // Stop once FILTER.INP is complete, without running the engine.
    bool dataDump = false;
    // Called right after the grid check has passed.
    std::function<void()> afterGridCheck;
    // Called after the spectrum section; the value the engine output is divided by.
    std::function<float()> divisor;
    // Logged after the filter section's header lines, in place of the general message before it.
    QString ownAnnouncement;
    // The filter's lines after "Perform filtering" and the output line.
    std::function<std::string()> filterLines;
};

bool runSingleResultFilter(Tavorin::I2DGridMesh* grid, Tavorin::IBaseData* data, QString resultName,
                           const SingleResultFilter& filter);

// The start every operation shares: both objects given, then (the caller in the temporary folder)
// the parameter checks and the grid check, each refusal logged.
bool givenObjects(const Tavorin::I2DGridMesh* grid, const Tavorin::IBaseData* data);
bool acceptedForFiltering(const Tavorin::I2DGridMesh* grid, const std::function<QString()>& rejection);

// The low pass's line: flat to 1.5 cutoff, one half at cutoff.
std::string lowPassLine(float cutoff);
// The derivatives' response line with their low-pass window: flat to 4 W0 (6 W0 attenuated) and
// half at 2 W0 (4 W0).
std::string derivativeWindow(filter_codes::Response response, const Tavorin::I2DGridMesh* grid, bool attenuate);
// A derivative's direction line and the continuation line after it (none: "0").
std::string directionLines(filter_codes::Direction direction);
// derivativeScale of the grid, logged: the derivatives come back per grid unit.
std::function<float()> derivativeDivisor(const Tavorin::I2DGridMesh* grid);

// Shared by the filters that take a field direction.
QString directionRejection(float inclination, float declination);

struct MagneticDirections;
struct Stabilisation;
// Shared by the stabilised filters: the four angles, then the stabilisation's value.
QString stableRejection(const MagneticDirections& directions, const Stabilisation& stabilisation);
// "D I D' I'" as the engine reads them, field first.
std::string directionFields(const MagneticDirections& directions);
// Tells the log which division a stabilised filter applies.
void logStabilisation(const Stabilisation& applied);

} // namespace I2DFourierFilters
