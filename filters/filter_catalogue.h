#pragma once
// One description of each filter the module offers: what it is called, which parameters it takes
// (with units, range, default and help), what its result is named and measured in, and how it
// runs. The command-line tool builds its subcommands, options and help from it, the desktop host
// its menus and forms, and the module's dialog and actions take their texts and groups from it.
// Adding a filter is adding a row here and the operation it runs.

#include "filters_export.h"
#include "fourier_filters.h"

#include <QString>
#include <QVariantMap>

#include <vector>

namespace Tavorin {
class I2DGridMesh;
class IBaseData;
} // namespace Tavorin

namespace I2DFourierFilters {

enum class ParameterKind {
    Length,      // grid units (a wavelength, a height)
    Wavelength,  // a cut-off wavelength in grid units: checked against the grid's cells and extent
    Angle,       // degrees
    Number,      // any other number; its unit is named in the row
    Integer,
    Flag,        // on or off
    Choice,      // one word of ParameterSpec::choices
    Text,        // free text the row's own check reads
};

struct ParameterSpec {
    const char* key;   // the tool's option without "--", the form's field, Python's keyword (- as _)
    const char* label; // in forms: "Wavelength cut-off"
    ParameterKind kind;
    const char* unit;  // "grid units", "degrees", "nT"; empty for none
    double minimum;    // allowed range, inclusive unless exclusiveMinimum
    double maximum;
    bool exclusiveMinimum;
    QVariant defaultValue; // invalid: the parameter must be given
    const char* help;      // one line
    const char* rangeText; // why a value outside the range is refused, after "--key value: "
    const char* choices = nullptr; // Choice: the words, separated by '|'
    bool optional = false;         // may stay unset: no default, and not required
};

// How the results are measured: in the source's units, per grid length unit to the derivative's
// order, or in a unit of their own.
enum class ResultUnits { Same, PerLength, Degrees, Milligal, MicroCgs, GramPerCc };

// The module's dialog groups a row needs, for the eleven filters the dialog runs.
enum DialogGroup : unsigned {
    WavelengthGroup = 1u << 0,
    DirectionGroup = 1u << 1,
    ObservationGroup = 1u << 2,
    InducingFieldGroup = 1u << 3,
    MethodGroup = 1u << 4,
    ContinuationGroup = 1u << 5,
    StrikeGroup = 1u << 6,
    AttenuateGroup = 1u << 7,
};

enum class DataTip { None, Magnetic, Gravity };

struct DialogForm {
    int filterType = -1;         // IFilterDialog::IGeoPhysFilterType; -1: not one of the dialog's
    const char* menuText = "";   // the context action's text
    unsigned groups = 0;         // DialogGroup bits
    DataTip tip = DataTip::None;
    const char* wavelengthLabel = "Wavelength cutoff :";
    bool downwardAttenuateText = false;
};

struct ChainContribution;

using FilterRun = bool (*)(Tavorin::I2DGridMesh* grid, Tavorin::IBaseData* data, const QVariantMap& values,
                           const QString& resultName);

struct FilterSpec {
    const char* id;       // the tool's subcommand, Python's function
    const char* title;    // for maps, menus and tables
    const char* summary;  // one line
    const char* response; // what the filter does to each wavelength, for help texts
    std::vector<ParameterSpec> parameters;
    const char* resultSuffix; // appended to the source's name
    ResultUnits units;
    bool magnetic;        // a field direction: magnetisation, stabilisation and IGRF apply
    DialogForm dialog;
    FilterRun run;
    // Checks across parameters that ranges cannot say; the first refusal's message, or empty.
    QString (*check)(const QVariantMap& values) = nullptr;
    // As a step of a chain (filter_chain.h): what the row contributes on a grid for its values, or
    // null for a row that cannot be a step. chainLastOnly: a non-linear product of several runs,
    // only the chain's last step.
    ChainContribution (*chainStep)(const Tavorin::I2DGridMesh* grid, const QVariantMap& values) = nullptr;
    bool chainLastOnly = false;
};

SPECTRAFIL_FILTERS_EXPORT const std::vector<FilterSpec>& filterCatalogue();
// The row of that id, or null.
SPECTRAFIL_FILTERS_EXPORT const FilterSpec* findFilter(const QString& id);
// The row the module's dialog runs for its filter type, or null.
SPECTRAFIL_FILTERS_EXPORT const FilterSpec* dialogFilter(int filterType);

// values with every parameter the row takes: the given ones, defaults for the others. Empty with a
// message naming the parameter when a required one is missing (unless missingAllowed: values to be
// filled in later), a value is of the wrong kind or outside its range, or the row's own check
// refuses.
SPECTRAFIL_FILTERS_EXPORT QVariantMap completeParameters(const FilterSpec& filter, const QVariantMap& given,
                                                         QString& error, bool missingAllowed = false);

// The directions and stabilisation of a magnetic row's values: the magnetisation along the field
// unless mag-inclination and mag-declination are given; "stabilise" is auto, off or limit[=DEG].
SPECTRAFIL_FILTERS_EXPORT MagneticDirections magneticDirectionsOf(const QVariantMap& values);
SPECTRAFIL_FILTERS_EXPORT bool parseStabilisation(const QString& word, Stabilisation& stabilisation);
SPECTRAFIL_FILTERS_EXPORT Stabilisation stabilisationOf(const QVariantMap& values);

// The label of the units of a filter's result for these values, from the source's units and the
// grid's length unit.
SPECTRAFIL_FILTERS_EXPORT QString resultUnits(const FilterSpec& filter, const QVariantMap& values,
                                              const QString& sourceUnits, const QString& lengthUnit);

} // namespace I2DFourierFilters
