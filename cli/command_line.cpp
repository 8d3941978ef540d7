#include "command_line.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace spectrafil {
namespace {

QString text(const std::string& s) { return QString::fromStdString(s); }

// Only finite numbers: "nan" and "inf" would pass CLI11's own number parsing.
const CLI::Validator kFinite(
    [](std::string& value) -> std::string {
        try {
            size_t used = 0;
            if (std::isfinite(std::stod(value, &used)) && used == value.size())
                return {};
        } catch (const std::exception&) {
        }
        return "not a finite number: " + value;
    },
    "NUMBER");

void addNumber(CLI::App* command, const char* name, float& value, const char* help)
{
    command->add_option(name, value, help)->required()->check(kFinite);
}

// Edits (insertions, deletions, substitutions, swaps of neighbours) that turn a into b.
int editDistance(const std::string& a, const std::string& b)
{
    std::vector<std::vector<int>> d(a.size() + 1, std::vector<int>(b.size() + 1));
    for (size_t i = 0; i <= a.size(); ++i)
        for (size_t j = 0; j <= b.size(); ++j) {
            if (i == 0 || j == 0) {
                d[i][j] = int(i + j);
                continue;
            }
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (a[i - 1] != b[j - 1])});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    return d[a.size()][b.size()];
}

// auto, off, or limit[=DEG] with DEG in (0, 90].
bool parseStabilisation(const QString& word, I2DFourierFilters::Stabilisation& stabilisation, QString& error)
{
    using S = I2DFourierFilters::Stabilisation;
    const QString method = word.section(QLatin1Char('='), 0, 0);
    const QString value = word.section(QLatin1Char('='), 1);
    bool number = true;
    stabilisation.value = value.isEmpty() ? 0.0 : value.toDouble(&number);
    if (method == QLatin1String("auto") && value.isEmpty())
        stabilisation.method = S::Auto;
    else if (method == QLatin1String("off") && value.isEmpty())
        stabilisation.method = S::None;
    else if (method == QLatin1String("limit") && number && (value.isEmpty() || (stabilisation.value > 0 && stabilisation.value <= 90)))
        stabilisation.method = S::LimitedGain;
    else {
        error = QStringLiteral("--stabilise %1: must be auto, off, or limit[=DEG] with DEG above 0 and at most 90 degrees").arg(word);
        return false;
    }
    return true;
}

} // namespace

CommandLine::CommandLine(CLI::App& app)
    : app_(app)
{
    app_.set_version_flag("--version", SPECTRAFIL_VERSION);
    app_.require_subcommand(1);
    app_.add_flag("-q,--quiet", fields_.quiet, "No progress bar and no summary; errors and warnings still shown");
    app_.add_flag("-v,--verbose", fields_.verbose, "Also show the information entries of the host log");
    app_.footer("Exit status: 0 done, 1 input or operation rejected (reason on standard error), 2 usage error.\n"
                "Run 'spectrafil COMMAND --help' for the options of a command.");
    for (const FilterCommand& filter : filterCatalog())
        addFilter(filter);
    demo_ = app_.add_subcommand("demo", "Run all eleven filters on a synthetic aeromagnetic survey");
    demo_->add_option("DIR", fields_.folder, "Folder for the grids and the contact sheet")->capture_default_str();
    demo_->add_option("--keep-work", fields_.keepWork, "Keep the engine's control file, logs and spectrum file here");
    demo_->add_flag("-q,--quiet", fields_.quiet, "No table, no progress bar");
    demo_->add_flag("-v,--verbose", fields_.verbose, "Also show the information entries of the host log");
}

void CommandLine::addFilter(const FilterCommand& filter)
{
    CLI::App* command = app_.add_subcommand(filter.command, filter.summary);
    command->footer(filter.response);
    command->add_option("IN", fields_.input, "Input grid (any raster GDAL reads)")->required();
    command->add_option("OUT", fields_.output, "Output grid (.tif GeoTIFF, .asc ESRI ASCII, .nc netCDF, else --format)")->required();
    const unsigned o = filter.options;
    FilterArguments& a = arguments_;
    if (o & CutoffOption)
        addNumber(command, "--cutoff", a.cutoff, "Cut-off wavelength, grid units");
    if (o & StrikeOption) {
        addNumber(command, "--strike", a.strike, "Strike, degrees east of north (-90 to 90)");
        addNumber(command, "--tolerance", a.tolerance, "Strike tolerance, degrees (0.1 to 89; negative keeps that strike instead)");
    }
    if (o & ObservationOption)
        addNumber(command, "--height", a.height, "Observation height above the sources, grid units");
    if (o & ContinuationOption)
        addNumber(command, "--height", a.height, "Continuation distance, grid units, positive upward");
    // The field may come from IGRF instead: its options are checked once parsed.
    if (o & FieldOption)
        command->add_option("--field", a.field, "Inducing field strength, nT (or from --igrf)")->check(kFinite);
    if (o & DirectionOption)
        addMagneticOptions(command);
    if (o & MethodOption)
        command->add_option("--method", fields_.method, "Total, east-west or north-south derivative")
            ->check(CLI::IsMember({"total", "ew", "ns"}))
            ->capture_default_str();
    if (o & AttenuateOption)
        command->add_flag("--attenuate", a.attenuate, "Stronger roll-off of the short wavelengths");
    addCommon(command);
    filters_.emplace_back(command, &filter);
}

void CommandLine::addMagneticOptions(CLI::App* command)
{
    FilterArguments& a = arguments_;
    command->add_option("--inclination", a.inclination, "Field inclination, degrees (-90 to 90; or from --igrf)")->check(kFinite);
    command->add_option("--declination", a.declination, "Field declination, degrees (-360 to 360; or from --igrf)")->check(kFinite);
    command->add_option("--mag-inclination", a.magInclination, "Magnetisation inclination, degrees (default: the field's)")
        ->check(kFinite);
    command->add_option("--mag-declination", a.magDeclination, "Magnetisation declination, degrees (default: the field's)")
        ->check(kFinite);
    command->add_option("--stabilise", fields_.stabilise,
                        "auto (the plain division where both inclinations are 15 degrees or steeper, limited gain "
                        "below), off, or limit[=DEG] (gain limited to that at inclination DEG, default 7.5)")
        ->capture_default_str();
    command->add_option("--igrf", a.igrfYear, "Field direction and strength from IGRF-14 at the grid's centre in this "
                                              "decimal year (1900 to 2030); explicit values override it")
        ->check(kFinite);
    command->add_option("--altitude", a.altitude, "Altitude of the survey above the ellipsoid for --igrf, m")
        ->capture_default_str()->check(kFinite);
}

void CommandLine::addCommon(CLI::App* command)
{
    command->add_option("--band", fields_.band, "Band of the input to filter (from 1)")->check(CLI::PositiveNumber)->capture_default_str();
    command->add_option("--preview", fields_.preview, "Also write a PNG of input and result side by side");
    command->add_option("--keep-work", fields_.keepWork, "Keep FILTER.INP, the engine logs and the spectrum file in this folder");
    command->add_option("--srs", fields_.srs, "CRS of the input (e.g. EPSG:32735), for files like .asc that carry none");
    command->add_option("--format", fields_.format, "GDAL driver of the output when its extension does not tell (e.g. GSBG)");
    command->add_option("--units", fields_.units, "Units of the input's values (e.g. nT, mGal), for files that carry none");
    command->add_option("--nodata", fields_.noData, "No-data value of the input, for files that carry none")->check(kFinite);
    command->add_flag("-q,--quiet", fields_.quiet, "No progress bar and no summary; errors and warnings still shown");
    command->add_flag("-v,--verbose", fields_.verbose, "Also show the information entries of the host log");
}

bool CommandLine::finish(ParsedCommand& parsed, QString& error) const
{
    if (fields_.quiet && fields_.verbose) {
        error = QStringLiteral("-q and -v exclude each other");
        return false;
    }
    parsed.verbose = fields_.verbose;
    parsed.arguments = arguments_;
    parsed.arguments.method = fields_.method == "ew" ? 1 : fields_.method == "ns" ? 2 : 0;
    parsed.job = {text(fields_.input), text(fields_.output), text(fields_.preview), text(fields_.keepWork),
                  text(fields_.srs), text(fields_.format), text(fields_.units), false, fields_.noData, fields_.band,
                  fields_.quiet};
    parsed.demo = {text(fields_.folder), text(fields_.keepWork), fields_.quiet};
    for (const auto& [command, filter] : filters_)
        if (command->parsed()) {
            parsed.filter = filter;
            parsed.job.hasNoData = command->get_option("--nodata")->count() > 0;
            if ((filter->options & DirectionOption) && !finishMagnetic(*command, *filter, parsed.arguments, error))
                return false;
        }
    return true;
}

bool CommandLine::finishMagnetic(const CLI::App& command, const FilterCommand& filter, FilterArguments& a,
                                 QString& error) const
{
    auto given = [&command](const char* name) { return command.get_option(name)->count() > 0; };
    a.igrf = given("--igrf");
    a.inclinationGiven = given("--inclination");
    a.declinationGiven = given("--declination");
    a.fieldGiven = !(filter.options & FieldOption) || given("--field");
    a.magnetisationGiven = given("--mag-inclination");
    if (!a.igrf && !(a.inclinationGiven && a.declinationGiven && a.fieldGiven)) {
        error = QStringLiteral("%1 needs --inclination and --declination%2, or --igrf YEAR")
                    .arg(QString::fromUtf8(filter.command), (filter.options & FieldOption) ? " and --field" : "");
        return false;
    }
    if (given("--mag-inclination") != given("--mag-declination")) {
        error = QStringLiteral("--mag-inclination and --mag-declination go together: give both or neither");
        return false;
    }
    if (given("--altitude") && !a.igrf) {
        error = QStringLiteral("--altitude is the survey's altitude for --igrf; give --igrf YEAR too");
        return false;
    }
    return parseStabilisation(text(fields_.stabilise), a.stabilisation, error);
}

QString CommandLine::unknownCommand(const std::string& word) const
{
    if (word.empty() || word[0] == '-')
        return QString();
    std::string closest;
    int distance = 3; // farther than two edits is no likely typing slip
    for (const CLI::App* command : app_.get_subcommands({})) {
        if (command->get_name() == word)
            return QString();
        const int d = editDistance(word, command->get_name());
        if (d < distance) {
            distance = d;
            closest = command->get_name();
        }
    }
    if (closest.empty())
        return QStringLiteral("unknown command '%1'; run 'spectrafil --help' for the commands").arg(text(word));
    return QStringLiteral("unknown command '%1'; did you mean '%2'?").arg(text(word), text(closest));
}

} // namespace spectrafil
