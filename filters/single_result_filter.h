#pragma once
// One filter that makes one result property: what sets it apart from the others. The pipeline
// order is the same for all of them and lives in runSingleResultFilter only.

#include "filter_codes.h"
#include "fourier_filters.h"

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
// the result named data name + suffix unless a name is given, the parameter checks and the grid
// check, each refusal logged.
bool givenObjects(const Tavorin::I2DGridMesh* grid, const Tavorin::IBaseData* data);
bool acceptedForFiltering(const Tavorin::I2DGridMesh* grid, const Tavorin::IBaseData* data, QString& resultName,
                          const QString& suffix, const std::function<QString()>& rejection);

// The low pass's line: flat to 1.5 cutoff, one half at cutoff.
std::string lowPassLine(float cutoff);
// The derivatives' response line with their low-pass window: flat to 4 W0 (6 W0 attenuated) and
// half at 2 W0 (4 W0).
std::string derivativeWindow(filter_codes::Response response, const Tavorin::I2DGridMesh* grid, bool attenuate);
// A derivative's direction line and the continuation line after it (none: "0").
std::string directionLines(filter_codes::Direction direction);

// The requests the operations write, shared with the chains that multiply them.
std::string highPassLine(float cutoff);
// The plain division keeps the code of the reduction to the pole; the limited gain adds its limit.
std::string reductionToPoleLines(const MagneticDirections& directions, const Stabilisation& applied);
// The pseudo-gravity's lines; the limited gain adds its limit to the direction line.
std::string pseudoGravityLines(const MagneticDirections& directions, float fieldStrength, const Stabilisation& applied);
// Downward continuation amplifies short wavelengths, so its window cuts three times longer.
std::string continuationLines(const Tavorin::I2DGridMesh* grid, float distance, bool attenuate);
// A negative tolerance asks for the plain directional pass, without the low-pass roll-off.
std::string strikeLines(float strike, float tolerance, float cutoff);
// Along z: the first derivative without continuation, the second, the third.
std::string verticalDerivativeLines(const Tavorin::I2DGridMesh* grid, int order, bool attenuate);
// The taper's line: the low pass's wavelengths (0 0 for every wavelength), the strike and the
// azimuth of one half.
std::string directionalLines(float strike, float tolerance, float cutoff, bool keep);
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
