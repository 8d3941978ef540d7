#pragma once
// `spectrafil demo`: a synthetic aeromagnetic survey through all eleven filters.

#include <QString>

namespace spectrafil {

struct DemoOptions {
    QString folder;   // where the grids and the contact sheet go; made when missing
    QString keepWork; // folder that keeps the engine files; empty for a temporary one
    bool quiet = false;
};

// Writes the survey and every result as GeoTIFF and one PNG contact sheet, and prints what it
// wrote with the time each filter took. Returns the exit status (1 when anything failed).
int runDemo(const DemoOptions& options);

} // namespace spectrafil
