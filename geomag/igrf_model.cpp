#include "igrf_model.h"

#include "number_text.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>
#include <sstream>

namespace geomag {
namespace {

// Every IGRF since 2000 reaches degree 13; a file that stops earlier has lost its end.
constexpr int kIgrfMaxDegree = 13;
// Far beyond any main-field model: keeps a damaged degree from sizing the tables.
constexpr int kLargestDegree = 30;
// The predicted secular variation carries the last epoch this far.
constexpr double kSecularVariationYears = 5.0;

struct CoefficientRow {
    bool isG = true;
    int n = 0;
    int m = 0;
    std::vector<double> values; // one per epoch, then the secular variation
    int line = 0;
};

std::vector<std::string> tokensOf(const std::string& line)
{
    std::istringstream words(line);
    std::vector<std::string> tokens;
    for (std::string word; words >> word;)
        tokens.push_back(word);
    return tokens;
}

std::string rowName(bool isG, int n, int m)
{
    return std::string(isG ? "g" : "h") + " " + std::to_string(n) + " " + std::to_string(m);
}

// "g/h n m 1900.0 1905.0 ... 2025.0 2025-30": the epochs, then the secular variation's label.
bool readEpochs(const std::vector<std::string>& tokens, std::vector<double>& epochs, std::string& problem)
{
    if (!epochs.empty()) {
        problem = "a second header line naming the epochs";
        return false;
    }
    if (tokens.size() < 5) {
        problem = "the header line names no epochs";
        return false;
    }
    for (std::size_t i = 3; i + 1 < tokens.size(); ++i) {
        double year = 0;
        if (!parseWhole(tokens[i], year) || !std::isfinite(year)) {
            problem = "epoch '" + tokens[i] + "' is not a year";
            return false;
        }
        if (!epochs.empty() && !(year > epochs.back())) {
            problem = "epoch " + tokens[i] + " does not follow " + numberText(epochs.back());
            return false;
        }
        epochs.push_back(year);
    }
    return true;
}

// "g 1 0 -31543 ... -29350.0 12.6": kind, degree, order, a value per epoch, the secular variation.
bool readRow(const std::vector<std::string>& tokens, std::size_t epochCount, CoefficientRow& row,
             std::string& problem)
{
    if (tokens[0] != "g" && tokens[0] != "h") {
        problem = "'" + tokens[0] + "' begins neither a comment, a header nor a g or h row";
        return false;
    }
    if (epochCount == 0) {
        problem = "coefficient row before the header line 'g/h n m' naming the epochs";
        return false;
    }
    row.isG = tokens[0] == "g";
    if (tokens.size() < 3 || !parseWhole(tokens[1], row.n) || !parseWhole(tokens[2], row.m)
        || row.n < 1 || row.n > kLargestDegree || row.m < 0 || row.m > row.n || (!row.isG && row.m == 0)) {
        problem = "no valid degree and order after '" + tokens[0] + "'";
        return false;
    }
    const std::string name = rowName(row.isG, row.n, row.m);
    const std::size_t expected = epochCount + 1;
    if (tokens.size() - 3 != expected) {
        problem = name + " has " + std::to_string(tokens.size() - 3) + " values, expected "
                  + std::to_string(expected) + " (one per epoch and the secular variation)";
        return false;
    }
    for (std::size_t i = 3; i < tokens.size(); ++i) {
        double value = 0;
        if (!parseWhole(tokens[i], value) || !std::isfinite(value)) {
            problem = "'" + tokens[i] + "' in " + name + " is not a number";
            return false;
        }
        row.values.push_back(value);
    }
    return true;
}

GaussCoefficients zeroCoefficients(int maxDegree)
{
    const std::size_t count = static_cast<std::size_t>(harmonicCount(maxDegree));
    return {maxDegree, std::vector<double>(count, 0.0), std::vector<double>(count, 0.0)};
}

// Puts the rows into per-epoch tables, refusing repeated and missing coefficients.
bool assembleModel(const std::vector<CoefficientRow>& rows, const std::vector<double>& epochs,
                   const std::string& where, int lastLine, IgrfModel& model, std::string& error)
{
    int maxDegree = 0;
    for (const CoefficientRow& row : rows)
        maxDegree = std::max(maxDegree, row.n);
    if (maxDegree < kIgrfMaxDegree) {
        error = where + ", line " + std::to_string(lastLine) + ": the coefficients end at degree "
                + std::to_string(maxDegree) + ", before degree " + std::to_string(kIgrfMaxDegree)
                + "; the file is cut short or damaged";
        return false;
    }
    const GaussCoefficients empty = zeroCoefficients(maxDegree);
    std::vector<GaussCoefficients> tables(epochs.size() + 1, empty);
    std::vector<int> gLine(empty.g.size(), 0);
    std::vector<int> hLine(empty.h.size(), 0);
    for (const CoefficientRow& row : rows) {
        const std::size_t k = static_cast<std::size_t>(harmonicIndex(row.n, row.m));
        int& firstLine = row.isG ? gLine[k] : hLine[k];
        if (firstLine != 0) {
            error = where + ", line " + std::to_string(row.line) + ": a second row for "
                    + rowName(row.isG, row.n, row.m) + " (the first is on line " + std::to_string(firstLine) + ")";
            return false;
        }
        firstLine = row.line;
        for (std::size_t e = 0; e < tables.size(); ++e)
            (row.isG ? tables[e].g : tables[e].h)[k] = row.values[e];
    }
    for (int n = 1; n <= maxDegree; ++n)
        for (int m = 0; m <= n; ++m) {
            const std::size_t k = static_cast<std::size_t>(harmonicIndex(n, m));
            if (gLine[k] == 0 || (m > 0 && hLine[k] == 0)) {
                error = where + ", line " + std::to_string(lastLine) + ": no row for "
                        + rowName(gLine[k] == 0, n, m) + "; the file is cut short or damaged";
                return false;
            }
        }
    model.secularVariation = tables.back();
    tables.pop_back();
    model.atEpoch = std::move(tables);
    model.epochs = epochs;
    model.firstYear = epochs.front();
    model.lastYear = epochs.back() + kSecularVariationYears;
    return true;
}

} // namespace

bool loadIgrfModel(const std::string& path, IgrfModel& model, std::string& error)
{
    std::ifstream in(path);
    if (!in) {
        error = "cannot open the IGRF coefficients " + path + ": " + std::strerror(errno);
        return false;
    }
    const std::string where = "IGRF coefficients " + path;
    std::vector<double> epochs;
    std::vector<CoefficientRow> rows;
    int lineNumber = 0;
    for (std::string line; std::getline(in, line);) {
        ++lineNumber;
        const std::vector<std::string> tokens = tokensOf(line);
        if (tokens.empty() || tokens[0][0] == '#' || tokens[0] == "c/s")
            continue;
        std::string problem;
        CoefficientRow row;
        row.line = lineNumber;
        const bool read = tokens[0] == "g/h" ? readEpochs(tokens, epochs, problem)
                                             : readRow(tokens, epochs.size(), row, problem);
        if (!read) {
            error = where + ", line " + std::to_string(lineNumber) + ": " + problem;
            return false;
        }
        if (tokens[0] != "g/h")
            rows.push_back(std::move(row));
    }
    if (in.bad()) {
        error = "cannot read " + where + " after line " + std::to_string(lineNumber);
        return false;
    }
    if (epochs.empty()) {
        error = where + ": no header line 'g/h n m' naming the epochs";
        return false;
    }
    return assembleModel(rows, epochs, where, lineNumber, model, error);
}

bool igrfCoefficientsAt(const IgrfModel& model, double year, GaussCoefficients& coefficients,
                        std::string& error)
{
    if (model.epochs.empty()) {
        error = "no IGRF model is loaded";
        return false;
    }
    if (!(year >= model.firstYear && year <= model.lastYear)) {
        error = "year " + numberText(year) + " is outside " + numberText(model.firstYear) + " to "
                + numberText(model.lastYear) + ", the years the IGRF model covers";
        return false;
    }
    const std::vector<double>& epochs = model.epochs;
    coefficients = model.atEpoch.back();
    if (year >= epochs.back()) {
        const double years = year - epochs.back();
        for (std::size_t k = 0; k < coefficients.g.size(); ++k) {
            coefficients.g[k] += years * model.secularVariation.g[k];
            coefficients.h[k] += years * model.secularVariation.h[k];
        }
        return true;
    }
    const auto laterEpoch = std::upper_bound(epochs.begin(), epochs.end(), year);
    const std::size_t later = static_cast<std::size_t>(laterEpoch - epochs.begin());
    const GaussCoefficients& a = model.atEpoch[later - 1];
    const GaussCoefficients& b = model.atEpoch[later];
    const double w = (year - epochs[later - 1]) / (epochs[later] - epochs[later - 1]);
    for (std::size_t k = 0; k < coefficients.g.size(); ++k) {
        coefficients.g[k] = (1.0 - w) * a.g[k] + w * b.g[k];
        coefficients.h[k] = (1.0 - w) * a.h[k] + w * b.h[k];
    }
    return true;
}

} // namespace geomag
