#pragma once
// A fresh temporary folder made the current directory for the life of one test, since the
// engine names its files relative to the current directory. Removed with its files afterwards.
// Also a file's bytes read back whole.

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>
#include <unistd.h>

class ScratchDir {
public:
    ScratchDir()
        : previous_(std::filesystem::current_path())
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "spectrafil-test-XXXXXX").string();
        path_ = mkdtemp(pattern.data()) ? std::filesystem::path(pattern) : std::filesystem::path();
        std::filesystem::current_path(path_);
    }
    ~ScratchDir()
    {
        std::error_code ignored;
        std::filesystem::current_path(previous_, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path previous_;
    std::filesystem::path path_;
};

inline std::string fileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}
