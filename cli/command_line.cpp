#include "command_line.h"

#include "chain_request.h"
#include "engine_setting.h"

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

// The options the field may come from IGRF instead of: they are checked once parsed.
bool fromIgrf(const FilterSpec& filter, const std::string& key)
{
    return filter.magnetic && (key == "inclination" || key == "declination" || key == "field");
}

std::vector<std::string> words(const char* choices)
{
    std::vector<std::string> list;
    for (const QString& word : QString::fromLatin1(choices).split(QLatin1Char('|')))
        list.push_back(word.toStdString());
    return list;
}

bool isNumeric(I2DFourierFilters::ParameterKind kind)
{
    using K = I2DFourierFilters::ParameterKind;
    return kind != K::Flag && kind != K::Choice && kind != K::Text;
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
    for (const FilterSpec& filter : I2DFourierFilters::filterCatalogue())
        addFilter(filter);
    addChain();
    demo_ = app_.add_subcommand("demo", "Run all eleven filters on a synthetic aeromagnetic survey");
    demo_->add_option("DIR", fields_.folder, "Folder for the grids and the contact sheet")->capture_default_str();
    demo_->add_option("--keep-work", fields_.keepWork, "Keep the engine's control file, logs and spectrum file here");
    demo_->add_flag("-q,--quiet", fields_.quiet, "No table, no progress bar");
    demo_->add_flag("-v,--verbose", fields_.verbose, "Also show the information entries of the host log");
}

void CommandLine::addFilter(const FilterSpec& filter)
{
    CLI::App* command = app_.add_subcommand(filter.id, filter.summary);
    command->footer(filter.response);
    command->add_option("IN", fields_.input, "Input grid (any raster GDAL reads)")->required();
    command->add_option("OUT", fields_.output, "Output grid (.tif GeoTIFF, .asc ESRI ASCII, .nc netCDF, else --format)")->required();
    for (const I2DFourierFilters::ParameterSpec& p : filter.parameters) {
        const std::string name = std::string("--") + p.key;
        std::string help = p.help;
        if (p.kind == I2DFourierFilters::ParameterKind::Flag) {
            command->add_flag(name, flags_[p.key], help);
            continue;
        }
        if (fromIgrf(filter, p.key))
            help += " (or from --igrf)";
        CLI::Option* option = command->add_option(name, texts_[p.key], help);
        if (p.defaultValue.isValid())
            option->default_str(p.defaultValue.toString().toStdString());
        if (p.kind == I2DFourierFilters::ParameterKind::Choice)
            option->check(CLI::IsMember(words(p.choices)));
        else if (isNumeric(p.kind))
            option->check(kFinite)->type_name("NUMBER");
        if (!p.optional && !p.defaultValue.isValid() && !fromIgrf(filter, p.key))
            option->required();
    }
    if (filter.magnetic) {
        command->add_option("--igrf", request_.igrfYear, "Field direction and strength from IGRF-14 at the grid's centre "
                                                          "in this decimal year (1900 to 2030); explicit values override it")
            ->check(kFinite);
        command->add_option("--altitude", request_.altitude, "Altitude of the survey above the ellipsoid for --igrf, m")
            ->capture_default_str()->check(kFinite);
    }
    addCommon(command);
    filters_.emplace_back(command, &filter);
}

void CommandLine::addChain()
{
    chain_ = app_.add_subcommand("chain", "Run several filters one after another as one filter");
    chain_->footer("Each STEP is NAME or NAME:key=value,key=value with the filters' names and options, e.g.\n"
                   "  spectrafil chain in.tif out.tif rtp:inclination=-53,declination=7 vd\n"
                   "The linear steps are multiplied into one response; tilt, analytic-signal and hd with method\n"
                   "total may only be the last step. --recipe reads the steps from a JSON file:\n"
                   "  {\"steps\": [{\"filter\": \"rtp\", \"inclination\": -53, \"declination\": 7}, {\"filter\": \"vd\"}]}");
    chain_->add_option("IN", fields_.input, "Input grid (any raster GDAL reads)")->required();
    chain_->add_option("OUT", fields_.output, "Output grid (.tif GeoTIFF, .asc ESRI ASCII, .nc netCDF, else --format)")->required();
    chain_->add_option("STEP", fields_.steps, "The steps in order: NAME or NAME:key=value,key=value");
    chain_->add_option("--recipe", fields_.recipe, "Read the steps from this JSON recipe file instead");
    addCommon(chain_);
}

bool CommandLine::finishChain(ParsedCommand& parsed, QString& error) const
{
    parsed.chain = true;
    parsed.job.hasNoData = chain_->get_option("--nodata")->count() > 0;
    if (fields_.recipe.empty() == fields_.steps.empty()) {
        error = QStringLiteral("chain needs its steps, as STEP words or as --recipe FILE (one of the two)");
        return false;
    }
    if (!fields_.recipe.empty()) {
        parsed.steps = I2DFourierFilters::readRecipe(text(fields_.recipe), error);
        return error.isEmpty();
    }
    for (const std::string& word : fields_.steps) {
        const I2DFourierFilters::ChainStep step = parseStepWord(text(word), int(parsed.steps.size()) + 1, error);
        if (!step.filter)
            return false;
        parsed.steps.push_back(step);
    }
    return true;
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
    parsed.job = {text(fields_.input), text(fields_.output), text(fields_.preview), text(fields_.keepWork),
                  text(fields_.srs), text(fields_.format), text(fields_.units), false, fields_.noData, fields_.band,
                  fields_.quiet};
    parsed.demo = {text(fields_.folder), text(fields_.keepWork), fields_.quiet};
    if (chain_->parsed())
        return finishChain(parsed, error);
    for (const auto& [command, filter] : filters_)
        if (command->parsed()) {
            parsed.filter = filter;
            parsed.job.hasNoData = command->get_option("--nodata")->count() > 0;
            parsed.request = request_;
            for (const I2DFourierFilters::ParameterSpec& p : filter->parameters)
                if (command->get_option(std::string("--") + p.key)->count() > 0)
                    parsed.request.given.insert(QLatin1String(p.key), p.kind == I2DFourierFilters::ParameterKind::Flag
                                                                          ? QVariant(true)
                                                                          : QVariant(text(texts_.at(p.key))));
            if (filter->magnetic && !finishMagnetic(*command, *filter, parsed.request, error))
                return false;
        }
    return true;
}

bool CommandLine::finishMagnetic(const CLI::App& command, const FilterSpec& filter, FilterRequest& request,
                                 QString& error) const
{
    auto given = [&command](const char* name) { return command.get_option(name)->count() > 0; };
    request.igrf = given("--igrf");
    const bool hasField = std::any_of(filter.parameters.begin(), filter.parameters.end(),
                                      [](const auto& p) { return std::string(p.key) == "field"; });
    if (!request.igrf && !(given("--inclination") && given("--declination") && (!hasField || given("--field")))) {
        error = QStringLiteral("%1 needs --inclination and --declination%2, or --igrf YEAR")
                    .arg(QLatin1String(filter.id), hasField ? " and --field" : "");
        return false;
    }
    if (given("--altitude") && !request.igrf) {
        error = QStringLiteral("--altitude is the survey's altitude for --igrf; give --igrf YEAR too");
        return false;
    }
    return true;
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
