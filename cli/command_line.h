#pragma once
// The command line of `spectrafil`: one subcommand per filter, and `demo`.

#include "demo.h"
#include "filter_job.h"

#include <CLI/CLI.hpp>

namespace spectrafil {

struct ParsedCommand {
    const FilterCommand* filter = nullptr; // the chosen filter, or null for the demo
    FilterArguments arguments;
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
    void addFilter(const FilterCommand& filter);
    void addCommon(CLI::App* command);
    void addMagneticOptions(CLI::App* command);
    // The field's direction and strength given or from --igrf, the magnetisation and stabilisation.
    bool finishMagnetic(const CLI::App& command, const FilterCommand& filter, FilterArguments& arguments,
                        QString& error) const;

    struct Fields {
        std::string input, output, preview, keepWork, srs, format, units, method = "total", folder = "spectrafil-demo";
        std::string stabilise = "auto";
        double noData = 0.0;
        int band = 1;
        bool quiet = false;
        bool verbose = false;
    };
    CLI::App& app_;
    CLI::App* demo_ = nullptr;
    std::vector<std::pair<CLI::App*, const FilterCommand*>> filters_;
    Fields fields_;
    FilterArguments arguments_;
};

} // namespace spectrafil
