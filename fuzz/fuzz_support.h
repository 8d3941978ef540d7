#pragma once
// Shared by the fuzz targets: each target works in its own scratch folder (the engine names its
// files relative to the current directory), with the engine's console chatter sent to /dev/null.

#include "filter_points.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

// Largest table a fuzzed forward run may hold. Far below libFuzzer's malloc limit, so a huge
// claimed size must be refused by the run's own accounting, never allocated.
const size_t RUN_MEMORY_LIMIT = 32u << 20;

// Makes a fresh folder under TMPDIR the current directory (removed at exit) and silences stdout.
void EnterScratchFolder(const char* target);

void WriteFile(const char* name, const uint8_t* data, size_t size);
void WriteFile(const char* name, const std::string& text);
std::string ReadFile(const char* name);

// Cell centres and values of a small smooth grid: nx x ny cells of 10 x 10 from (1000, 2000).
FilterPoints SmallGrid(int nx, int ny);
// The twelve lines of a spectrum section whose window holds SmallGrid(nx, ny) exactly.
std::string SpectrumSection(int nx, int ny, const char* dataFile = "points.xyz");

// Forward run of SmallGrid(nx, ny) on "FILTER.INP" (whose spectrum section it writes), leaving
// the spectrum file "fpt15_2D_FWD_SPEC_FILTER.BIN"; false when the run fails.
bool WriteSpectrumFile(int nx, int ny);

} // namespace fuzz
