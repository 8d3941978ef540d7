#pragma once
// `spectrafil spectrum IN`: the radially averaged power spectrum of a grid as the filters prepare
// it, as CSV and plot, and the depths to the top of source ensembles on standard output.

#include <CLI/CLI.hpp>

#include <QString>

namespace spectrafil {

struct SpectrumOptions {
    QString input;
    QString csv;      // empty for none
    QString plot;     // PNG; empty for none
    QString keepWork; // folder that keeps the engine files; empty for a temporary one
    QString srs;
    QString units;
    QString ranges;   // "K1-K2,..." in the shown wavenumber unit; empty for automatic breaks
    int depths = 2;
    bool depthsGiven = false;
    bool hasNoData = false;
    double noData = 0.0;
    int band = 1;
};

// Reads the grid, computes the spectrum and the depths, writes the CSV and the plot whole or not
// at all, and prints one depth line per ensemble, shallowest first. Returns the exit status: 0
// done, 1 input refused, 2 the arguments contradict each other.
int runSpectrumJob(const SpectrumOptions& options);

// The subcommand on the tool's command line; -q and -v fall through to the tool's own.
class SpectrumCommand {
public:
    explicit SpectrumCommand(CLI::App& app);
    bool parsed() const { return command_->parsed(); }
    bool draws() const { return !fields_.plot.empty(); }
    int run() const;

private:
    struct Fields {
        std::string input, csv, plot, keepWork, srs, units, ranges;
        int depths = 2;
        int band = 1;
        double noData = 0.0;
    };
    CLI::App* command_ = nullptr;
    Fields fields_;
};

} // namespace spectrafil
