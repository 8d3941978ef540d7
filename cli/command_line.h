#pragma once
// The command line of `spectrafil`: one subcommand per filter, and `demo`.

#include "demo.h"
#include "filter_job.h"

#include <CLI/CLI.hpp>

namespace spectrafil {

struct ParsedCommand {
    const FilterSpec* filter = nullptr; // the chosen filter, or null for the demo
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
    // True when the command draws images (needs a GUI application).
    bool draws() const { return !fields_.preview.empty() || demo_->parsed(); }

private:
    void addFilter(const FilterSpec& spec);
    void addCommon(CLI::App* command);

    struct Fields {
        std::string input, output, preview, keepWork, srs, format, method = "total", folder = "spectrafil-demo";
        int band = 1;
        bool quiet = false;
        bool verbose = false;
    };
    CLI::App& app_;
    CLI::App* demo_ = nullptr;
    std::vector<std::pair<CLI::App*, const FilterSpec*>> filters_;
    Fields fields_;
    FilterArguments arguments_;
};

} // namespace spectrafil
