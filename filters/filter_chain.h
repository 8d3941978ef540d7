#pragma once
// Filters run one after another as one filter: the linear steps' responses multiplied into one
// engine request (IND 18), so that the chain costs one forward and one inverse run; a non-linear
// product (tilt, analytic signal, total horizontal derivative) may end the chain and then takes
// its derivatives of that product.

#include "filter_catalogue.h"

#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <functional>
#include <string>
#include <vector>

namespace Tavorin {
class I2DGridMesh;
class IBaseData;
} // namespace Tavorin

namespace I2DFourierFilters {

// What one step puts into a chain on a given grid.
struct ChainContribution {
    // A linear step: one request (line 2 and the lines its response reads). A product: one request
    // per inverse run, each of them linear, run on the product of the steps before.
    std::vector<std::string> requests;
    // The engine's output is divided by it (the derivatives' 10^n per order); a chain divides by
    // the product of its steps'.
    float divisor = 1.0f;
    // A product's value in a cell from its runs' values there, divided by the chain's divisor.
    std::function<double(const std::vector<double>& values)> combine;
};

// A step of a chain: a catalogue row and its complete values (completeParameters).
struct ChainStep {
    const FilterSpec* filter = nullptr;
    QVariantMap values;
};

// Empty when the steps can form a chain; otherwise why not, naming the step (1-based): a row
// that cannot be a step, or a non-linear product before the last step.
SPECTRAFIL_FILTERS_EXPORT QString chainRefusal(const std::vector<ChainStep>& steps);

// Runs the steps as one filter on the grid's cells and stores the result as a new property named
// resultName, or the source name plus " chain" when it is empty. A chain whose every step keeps
// the data's level (low pass, high pass, continuation, reduction to the pole) gets the removed mean
// back; any other product has none to restore.
SPECTRAFIL_FILTERS_EXPORT bool chain(Tavorin::I2DGridMesh* grid, Tavorin::IBaseData* data,
                                     const std::vector<ChainStep>& steps, QString resultName);

// The units of the chain's result: each step's units applied to those of the step before.
SPECTRAFIL_FILTERS_EXPORT QString chainUnits(const std::vector<ChainStep>& steps, const QString& sourceUnits,
                                             const QString& lengthUnit);

// Recipe files: {"steps": [{"filter": "rtp", "inclination": -53, "declination": 7}, {"filter": "vd"}]}.
// The steps as given (not yet completed), or empty with the reason (the file, its JSON, a step
// without "filter", an unknown filter or parameter with the step's number).
SPECTRAFIL_FILTERS_EXPORT std::vector<ChainStep> readRecipe(const QString& path, QString& error);
// "unknown filter 'vdd' in step 2; did you mean 'vd'?"
SPECTRAFIL_FILTERS_EXPORT QString unknownFilterMessage(const QString& id, int stepNumber);
// Writes the steps as a recipe file; false with the reason.
SPECTRAFIL_FILTERS_EXPORT bool writeRecipe(const QString& path, const std::vector<ChainStep>& steps, QString& error);

// The catalogue's rows as chain steps: each row's contribution, or none for the rows that cannot
// be one (residual and band pass are differences of runs; the equivalent layers scale by a field
// and a height of their own).
void attachChainSteps(std::vector<FilterSpec>& rows);

} // namespace I2DFourierFilters
