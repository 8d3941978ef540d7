#pragma once
// Where the IGRF coefficient file is.

#include <string>

namespace geomag {

// The coefficient file, looked for in order:
//  1. the file named by the environment variable SPECTRAFIL_IGRF, if set (it must exist);
//  2. ../share/spectrafil/igrf14coeffs.txt beside the running executable (installed, and the build
//     tree, which mirrors the installed layout);
//  3. the installation's data folder, for a library loaded by a host installed elsewhere.
// False, with a message naming the places tried, when none holds it.
bool findIgrfCoefficients(std::string& path, std::string& error);

} // namespace geomag
