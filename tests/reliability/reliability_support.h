#pragma once
// Tools of the bad-input and soak tests: file digests and folder listings (to show an input
// untouched and nothing left behind), process figures from /proc, and a forked child run under
// resource limits (address space, file size, another user).

#include "scratch_dir.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <signal.h>
#include <string>

namespace reliability {

inline void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// FNV-1a of the file's bytes, with the size: enough to tell a file was left alone.
inline std::string Digest(const std::string& path)
{
    std::string bytes = fileBytes(path);
    uint64_t h = 1469598103934665603ull;
    for (unsigned char c : bytes)
        h = (h ^ c) * 1099511628211ull;
    return std::to_string(bytes.size()) + ":" + std::to_string(h);
}

inline std::set<std::string> Listing(const std::filesystem::path& folder)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

// A figure of /proc/self/status in kB ("VmRSS", "VmSize"); 0 when absent.
inline long StatusKb(const std::string& key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.compare(0, key.size() + 1, key + ":") == 0)
            return std::atol(line.c_str() + key.size() + 1);
    return 0;
}

inline long OpenDescriptors()
{
    long n = 0;
    for (auto it = std::filesystem::directory_iterator("/proc/self/fd"); it != std::filesystem::directory_iterator();
         ++it)
        ++n;
    return n;
}

struct ChildLimits {
    long extraAddressSpaceMb = 0;  // > 0: the address space may grow this much beyond the current one
    long fileSizeBytes = -1;       // >= 0: largest file the child may write (a full disk, portably)
    bool asNobody = false;         // drop root, so that folder permissions apply
    long addressSpaceMb = 0;       // > 0: the whole address space, for a child that runs another program
};

// Runs body in a forked child under the limits, its stdout and stderr sent to /dev/null.
// Returns the child's exit status, or 128 + the signal that ended it.
inline int RunInChild(const std::function<int()>& body, const ChildLimits& limits)
{
    std::fflush(nullptr);
    pid_t pid = fork();
    if (pid == 0) {
        if (FILE* sink = std::fopen("/dev/null", "w")) {
            dup2(fileno(sink), 1);
            dup2(fileno(sink), 2);
        }
        if (limits.extraAddressSpaceMb > 0 || limits.addressSpaceMb > 0) {
            rlim_t cap = limits.addressSpaceMb > 0 ? (rlim_t)limits.addressSpaceMb << 20
                                                   : (rlim_t)(StatusKb("VmSize") + limits.extraAddressSpaceMb * 1024) * 1024;
            rlimit r{cap, cap};
            setrlimit(RLIMIT_AS, &r);
        }
        if (limits.fileSizeBytes >= 0) {
            signal(SIGXFSZ, SIG_IGN);   // a write past the limit then fails with EFBIG
            rlimit r{(rlim_t)limits.fileSizeBytes, (rlim_t)limits.fileSizeBytes};
            setrlimit(RLIMIT_FSIZE, &r);
        }
        if (limits.asNobody && getuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(125);
        int code = body();
        std::fflush(nullptr);
        _exit(code);
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace reliability
