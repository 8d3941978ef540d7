#pragma once
// One filter run from the command line: grid file in, filtered grid file (and a preview) out.

#include "filter_request.h"

#include <filter_chain.h>

#include <vector>

#include <QString>

namespace spectrafil {

enum ExitStatus { ExitSuccess = 0, ExitRejected = 1, ExitUsage = 2 };

struct JobOptions {
    QString input;
    QString output;
    QString preview;  // PNG of source and result side by side; empty for none
    QString keepWork; // folder that keeps the engine files; empty for a temporary one
    QString srs;
    QString format;
    QString units;          // of the input's values; replaces the file's
    bool hasNoData = false; // noData replaces the input's nodata value
    double noData = 0.0;
    int band = 1;
    bool quiet = false;
};

// Runs one grid operation with the engine's console output sent to a file of the work folder.
// Returns the new data item (the last one the world made: the analytic signal makes its parts
// first), or null when the operation failed; its messages went to the host log.
Tavorin::IBaseData* runOperation(const FilterSpec& filter, const QVariantMap& values, Tavorin::I2DGridMesh* grid,
                                 Tavorin::IBaseData* source, const QString& workFolder);

// Runs the chain of steps (as given: completed and checked here) on the grid of a job.
Tavorin::IBaseData* runChain(const std::vector<I2DFourierFilters::ChainStep>& steps, Tavorin::I2DGridMesh* grid,
                             Tavorin::IBaseData* source, const QString& workFolder);

// Runs the filter and writes its result, after checking the parameters against the grid and the
// result before it is written; every refusal and warning is reported on standard error. Returns the
// exit status: 0 done, 1 input, parameters or result refused, 2 the arguments contradict each other.
int runFilterJob(const FilterSpec& filter, FilterRequest request, const JobOptions& options);
// As runFilterJob for a chain: each step's parameters completed and checked (their messages name
// the step), the chain refused when a step cannot be one; the metadata lists every step.
int runChainJob(const std::vector<I2DFourierFilters::ChainStep>& steps, const JobOptions& options);

} // namespace spectrafil
