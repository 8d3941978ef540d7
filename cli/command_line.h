#pragma once
// The command line of `spectrafil`: one subcommand per filter, and `demo`.

#include "demo.h"
#include "filter_job.h"

#include <CLI/CLI.hpp>

#include <filter_chain.h>

#include <map>
#include <string>
#include <vector>

namespace spectrafil {

struct ParsedCommand {
    const FilterSpec* filter = nullptr; // the chosen filter, or null for the demo and the chain
    bool chain = false;
    std::vector<I2DFourierFilters::ChainStep> steps; // of the chain, as given
    FilterRequest request;
    JobOptions job;
    DemoOptions demo;
    bool verbose = false;
};

// Defines every subcommand and option on app; after app.parse, finish() fills parsed.
class CommandLine {
public:
    explicit CommandLine(CLI::App& app);
    // The parsed command; false with a message when the options contradict each other.
    bool finish(ParsedCommand& parsed, QString& error) const;
    // The message for a first word that names no command, with the closest command's name when
    // one is near enough; empty when the word is a command (or an option).
    QString unknownCommand(const std::string& word) const;
    // True when the command draws images (needs a GUI application).
    bool draws() const { return !fields_.preview.empty() || demo_->parsed(); }

private:
    void addFilter(const FilterSpec& filter);
    void addCommon(CLI::App* command);
    void addChain();
    bool finishChain(ParsedCommand& parsed, QString& error) const;
    // The field's direction and strength given or from --igrf.
    bool finishMagnetic(const CLI::App& command, const FilterSpec& filter, FilterRequest& request,
                        QString& error) const;

    struct Fields {
        std::string input, output, preview, keepWork, srs, format, units, folder = "spectrafil-demo";
        std::vector<std::string> steps;
        std::string recipe;
        double noData = 0.0;
        int band = 1;
        bool quiet = false;
        bool verbose = false;
    };
    CLI::App& app_;
    CLI::App* demo_ = nullptr;
    CLI::App* chain_ = nullptr;
    std::vector<std::pair<CLI::App*, const FilterSpec*>> filters_;
    Fields fields_;
    // The catalogue parameters of the parsed command, by key; nodes stay put for CLI11's references.
    std::map<std::string, std::string> texts_;
    std::map<std::string, bool> flags_;
    FilterRequest request_;
};

} // namespace spectrafil
