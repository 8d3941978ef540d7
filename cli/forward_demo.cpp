// spectrafil-forward-demo SAMPLE_DIR OUT_DIR
// Copies SAMPLE_DIR/FILTER.INP and the data file it names into OUT_DIR, runs the forward engine
// there on that data file and tells where the spectrum file and the console log went.

#include "forward_run.h"
#include "text_input.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// Line 2 of the control file names the data file.
std::string DataFileName(const fs::path& control)
{
    std::ifstream in(control);
    std::string line;
    std::getline(in, line);
    std::getline(in, line);
    const char* blanks = " \t\r\n";
    size_t first = line.find_first_not_of(blanks);
    return first == std::string::npos ? std::string() : line.substr(first, line.find_last_not_of(blanks) - first + 1);
}

bool CopyInto(const fs::path& file, const fs::path& folder)
{
    std::error_code error;
    fs::copy_file(file, folder / file.filename(), fs::copy_options::overwrite_existing, error);
    if (error)
        std::cerr << "Cannot copy " << file << " to " << folder << ": " << error.message() << "\n";
    return !error;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: spectrafil-forward-demo SAMPLE_DIR OUT_DIR\n";
        return 1;
    }
    fs::path samples = argv[1];
    std::error_code error;
    fs::path out = fs::absolute(argv[2], error);
    fs::path control = samples / "FILTER.INP";
    std::string dataName = DataFileName(control);
    if (dataName.empty()) {
        std::cerr << "No data file named on line 2 of " << control << "\n";
        return 1;
    }
    fs::create_directories(out, error);
    if (error) {
        std::cerr << "Cannot create " << out << ": " << error.message() << "\n";
        return 1;
    }
    if (!CopyInto(control, out) || !CopyInto(samples / dataName, out))
        return 1;

    fs::current_path(out, error);
    if (error) {
        std::cerr << "Cannot enter " << out << ": " << error.message() << "\n";
        return 1;
    }
    bool ok;
    {
        ForwardRun run("FILTER.INP", nullptr);
        ok = run.Execute();
    }
    std::cout << "\nSpectrum file: " << (out / OutputFileName("fpt15_2D_FWD_SPEC_", "FILTER.INP", "BIN")).string()
              << (ok ? "" : " (incomplete)") << "\nConsole log:   "
              << (out / OutputFileName("fpt6_2D_FWD_SPECTRM_", "FILTER.INP", "OUT")).string() << "\n";
    std::cout << (ok ? "Forward run completed.\n" : "Forward run failed.\n");
    return ok ? 0 : 1;
}
