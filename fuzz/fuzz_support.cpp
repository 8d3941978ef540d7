#include "fuzz_support.h"

#include "forward_run.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace fuzz {

namespace {

std::filesystem::path scratch;

void RemoveScratch()
{
    std::error_code ignored;
    std::filesystem::current_path("/", ignored);
    std::filesystem::remove_all(scratch, ignored);
}

} // namespace

void EnterScratchFolder(const char* target)
{
    std::string pattern = (std::filesystem::temp_directory_path() / target).string() + "-XXXXXX";
    if (!mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        std::abort();
    }
    scratch = pattern;
    std::filesystem::current_path(scratch);
    std::atexit(RemoveScratch);
    if (!std::freopen("/dev/null", "w", stdout))
        std::abort();
}

void WriteFile(const char* name, const uint8_t* data, size_t size)
{
    FILE* f = std::fopen(name, "wb");
    if (!f || std::fwrite(data, 1, size, f) != size || std::fclose(f) != 0)
        std::abort();
}

void WriteFile(const char* name, const std::string& text)
{
    WriteFile(name, reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

std::string ReadFile(const char* name)
{
    std::ifstream in(name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

FilterPoints SmallGrid(int nx, int ny)
{
    FilterPoints points;
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i < nx; ++i)
            points.insert(points.end(), {1000.0 + 10 * i, 2000.0 + 10 * j, 50 * std::sin(0.7 * i) * std::cos(0.4 * j)});
    return points;
}

std::string SpectrumSection(int nx, int ny, const char* dataFile)
{
    std::ostringstream s;
    s << "Fuzz spectrum section\n" << dataFile << "\n";
    s << 1000 + 10 * (nx - 1) << " 2000 " << 10 * (ny - 1) << " " << 10 * (nx - 1) << "  ! corner and extents\n";
    s << "10 10 ! dx, dy\n1\n2\n3\n1\n0\n20 20 ! tails\n0 ! average\n0 0\n";
    return s.str();
}

bool WriteSpectrumFile(int nx, int ny)
{
    WriteFile("FILTER.INP", SpectrumSection(nx, ny));
    FilterPoints points = SmallGrid(nx, ny);
    ForwardRun run("FILTER.INP", &points);
    return run.Execute();
}

} // namespace fuzz
