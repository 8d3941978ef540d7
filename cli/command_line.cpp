#include "command_line.h"

#include "engine_setting.h"

#include <cmath>

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

// A whole number of threads, at least 1.
const CLI::Validator kThreadCount(
    [](std::string& value) -> std::string {
        try {
            size_t used = 0;
            if (std::stoi(value, &used) >= 1 && used == value.size())
                return {};
        } catch (const std::exception&) {
        }
        return "not a thread count (a whole number from 1): " + value;
    },
    "N");

void addNumber(CLI::App* command, const char* name, float& value, const char* help)
{
    command->add_option(name, value, help)->required()->check(kFinite);
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
    if (o & FieldOption)
        addNumber(command, "--field", a.field, "Inducing field strength, nT");
    if (o & DirectionOption) {
        addNumber(command, "--inclination", a.inclination, "Field inclination, degrees (-90 to 90)");
        addNumber(command, "--declination", a.declination, "Field declination, degrees (-360 to 360)");
    }
    if (o & MethodOption)
        command->add_option("--method", fields_.method, "Total, east-west or north-south derivative")
            ->check(CLI::IsMember({"total", "ew", "ns"}))
            ->capture_default_str();
    if (o & AttenuateOption)
        command->add_flag("--attenuate", a.attenuate, "Stronger roll-off of the short wavelengths");
    addCommon(command);
    filters_.emplace_back(command, &filter);
}

void CommandLine::addCommon(CLI::App* command)
{
    command->add_option("--band", fields_.band, "Band of the input to filter (from 1)")->check(CLI::PositiveNumber)->capture_default_str();
    command->add_option("--preview", fields_.preview, "Also write a PNG of input and result side by side");
    command->add_option("--keep-work", fields_.keepWork, "Keep FILTER.INP, the engine logs and the spectrum file in this folder");
    command->add_option("--srs", fields_.srs, "CRS of the input (e.g. EPSG:32735), for files like .asc that carry none");
    command->add_option("--format", fields_.format, "GDAL driver of the output when its extension does not tell (e.g. GSBG)");
    command->add_flag("-q,--quiet", fields_.quiet, "No progress bar and no summary; errors and warnings still shown");
    command->add_flag("-v,--verbose", fields_.verbose, "Also show the information entries of the host log");
    command->add_option_function<int>("--threads", I2DFourierFilters::setEngineThreads,
                                      "Threads of the spectral engine (default: all cores)")
        ->check(kThreadCount);
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
                  text(fields_.srs), text(fields_.format), fields_.band, fields_.quiet};
    parsed.demo = {text(fields_.folder), text(fields_.keepWork), fields_.quiet};
    for (const auto& [command, filter] : filters_)
        if (command->parsed())
            parsed.filter = filter;
    return true;
}

} // namespace spectrafil
