#pragma once
// The spectral engine's settings that a host or the command-line tool may change.

#include "filters_export.h"

namespace I2DFourierFilters {

// Threads an engine run may use (default: all cores); values below 1 count as 1.
SPECTRAFIL_FILTERS_EXPORT void setEngineThreads(int threads);

} // namespace I2DFourierFilters
