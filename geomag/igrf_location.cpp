#include "igrf_location.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

namespace geomag {
namespace {

constexpr const char* kOverrideVariable = "SPECTRAFIL_IGRF";
constexpr const char* kFileName = "igrf14coeffs.txt";

bool isFile(const std::filesystem::path& path)
{
    std::error_code ignored;
    return std::filesystem::is_regular_file(path, ignored);
}

std::filesystem::path besideExecutable()
{
    std::error_code failed;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", failed);
    if (failed)
        return {};
    return executable.parent_path().parent_path() / "share" / "spectrafil" / kFileName;
}

} // namespace

bool findIgrfCoefficients(std::string& path, std::string& error)
{
    if (const char* named = std::getenv(kOverrideVariable); named != nullptr && *named != '\0') {
        if (!isFile(named)) {
            error = std::string(kOverrideVariable) + " names " + named + ", which is not a file";
            return false;
        }
        path = named;
        return true;
    }
    const std::vector<std::filesystem::path> places{besideExecutable(), SPECTRAFIL_INSTALLED_IGRF};
    for (const std::filesystem::path& place : places)
        if (!place.empty() && isFile(place)) {
            path = place.string();
            return true;
        }
    error = std::string("the IGRF coefficients are missing: looked for ") + places[0].string() + " and "
            + places[1].string() + " (" + kOverrideVariable + " may name the file)";
    return false;
}

} // namespace geomag
