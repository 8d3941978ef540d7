#pragma once
// The eleven filters as the command line offers them: subcommand name, the parameters each takes,
// how to call the grid operation, and what the result is measured in.

#include <fourier_filters.h>

#include <QString>
#include <QStringList>

#include <vector>

namespace Tavorin {
class I2DGridMesh;
class IBaseData;
} // namespace Tavorin

namespace spectrafil {

// Parameters a filter takes; a filter's options are a combination of these bits.
enum FilterOption : unsigned {
    CutoffOption = 1u << 0,      // --cutoff C: wavelength, grid units
    DirectionOption = 1u << 1,   // --inclination I --declination D: degrees; the magnetisation, the
                                 // stabilisation and the field from IGRF with them
    ObservationOption = 1u << 2, // --height H: observation height
    FieldOption = 1u << 3,       // --field F: inducing field strength
    AttenuateOption = 1u << 4,   // --attenuate
    MethodOption = 1u << 5,      // --method total|ew|ns
    ContinuationOption = 1u << 6, // --height H: continuation distance, positive upward
    StrikeOption = 1u << 7,      // --strike S --tolerance T: degrees
};

struct FilterArguments {
    float cutoff = 0;
    float inclination = 0;
    float declination = 0;
    float height = 0;
    float field = 0;
    // The field's direction and strength as given; what is not given comes from IGRF.
    bool inclinationGiven = true;
    bool declinationGiven = true;
    bool fieldGiven = true;
    bool magnetisationGiven = false; // otherwise along the field (induced)
    float magInclination = 0;
    float magDeclination = 0;
    I2DFourierFilters::Stabilisation stabilisation; // Auto unless asked otherwise
    bool igrf = false;
    double igrfYear = 0;     // decimal year of the IGRF field
    double altitude = 0;     // of the survey above the ellipsoid, m, for the IGRF field
    float strike = 0;
    float tolerance = 0;
    bool attenuate = false;
    int method = 0; // 0 total, 1 east-west, 2 north-south
};

enum class ResultUnits {
    Same,      // the source's units
    PerLength, // the source's units per grid unit
    Milligal,  // pseudo-gravity of nT on a grid in metres
    MicroCgs,  // apparent susceptibility, 10^-6 cgs, from nT
    GramPerCc, // apparent density contrast, g/cm3, from mGal on a grid in metres
};

struct FilterCommand {
    const char* command;
    const char* summary;
    const char* title;    // for maps and tables
    const char* response; // what the filter does to each wavelength, for its --help
    unsigned options;
    ResultUnits units;
    bool (*run)(Tavorin::I2DGridMesh* grid, Tavorin::IBaseData* data, const FilterArguments& arguments);
};

const std::vector<FilterCommand>& filterCatalog();

// The label of a result's units, from the source's units and the grid's length unit.
QString resultUnits(ResultUnits rule, const QString& sourceUnits, const QString& lengthUnit);

// The field and magnetisation directions the arguments give.
I2DFourierFilters::MagneticDirections magneticDirections(const FilterArguments& arguments);

// A length with its unit: "5000 m", or "5000 grid units" for a grid without CRS.
QString lengthPhrase(double value, const QString& lengthUnit);

// The filter's parameters as "name value unit" phrases, in the order of its options, for metadata,
// map titles and history lines; lengthUnit labels lengths ("m").
QStringList describeParameters(const FilterCommand& filter, const FilterArguments& arguments, const QString& lengthUnit);

} // namespace spectrafil
