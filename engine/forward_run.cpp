// Frame of the forward run: construction, files, the order of the stages and the teardown.

#include "forward_run.h"
#include "run_log.h"
#include "engine_threads.h"
#include "forward_state.h"

#include <cmath>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <new>
#include <sys/mman.h>
#include <unistd.h>

namespace {

size_t PhysicalMemory()
{
    long pages = sysconf(_SC_PHYS_PAGES);
    long pageSize = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0)
        return static_cast<size_t>(-1);
    return static_cast<size_t>(pages) * static_cast<size_t>(pageSize);
}

void InitialiseFilePointerToNull(ForwardState& s)
{
    std::printf("InitialiseFilePointerToNull - called\n");
    s.fpt1 = s.fptData = s.fpt3 = s.fpt4 = s.fpt6 = s.fpt10 = s.fpt15 = nullptr;
    s.controlName[0] = '\0';
    s.dataName[0] = '\0';
    s.DIM1 = 32768;
    s.columnRange = s.rowRange = nullptr;
    s.STORE = nullptr;
    std::printf("DIM1 = %d\n", s.DIM1);
}

void CloseFile(FILE*& f)
{
    if (f)
        std::fclose(f);
    f = nullptr;
}

FILE* OpenOutput(ForwardState& s, const char* prefix, const char* extension, const char* mode)
{
    std::string name = OutputFileName(prefix, s.controlName, extension);
    return std::fopen(name.c_str(), mode);
}

bool OpenError(ForwardState& s, const char* name)
{
    Log(s, " *** Open File Error: %s \n", name);
    std::fprintf(stderr, " *** Open File Error: %s \n", name);
    return false;
}

bool AllocateWorkTables(ForwardState& s)
{
    std::printf("Run Execute\n");
    s.D = static_cast<double*>(RunCalloc(s, 2 * static_cast<size_t>(s.DIM1), sizeof(double)));
    if (!s.D) {
        std::fprintf(stderr, " Error for variable D:  Insufficient memory - Execute\n");
        return false;
    }
    std::printf("Allocate 2D memories\n");
    std::printf("DIM1 = %d\n", s.DIM1);
    size_t entries = static_cast<size_t>(s.DIM1) + 1;
    s.columnRange = static_cast<RangePair*>(RunCalloc(s, entries, sizeof(RangePair)));
    s.rowRange = static_cast<RangePair*>(RunCalloc(s, entries, sizeof(RangePair)));
    if (!s.columnRange || !s.rowRange) {
        std::fprintf(stderr, " *** Allocate memory Error for the range tables: Execute \n");
        return false;
    }
    s.C = 3.0 * std::log(10.0);
    return true;
}

bool OpenLogAndSpectrum(ForwardState& s)
{
    if (s.controlNameTooLong) {
        std::fprintf(stderr, " *** Control file name longer than %d characters: %.60s...\n", NAME_SIZE - 1,
                     s.controlName);
        return false;
    }
    std::string logName = OutputFileName("fpt6_2D_FWD_SPECTRM_", s.controlName, "OUT");
    s.fpt6 = std::fopen(logName.c_str(), "wt");
    if (!s.fpt6)
        std::fprintf(stderr, " *** Open File Error: %s \n", logName.c_str());
    LogOut(s, " ************* DUVERU2_fwd ************* \n");
    Log(s, "Input parameter file name = %s\n", s.controlName);

    s.fpt1 = std::fopen(s.controlName, "rt");
    if (!s.fpt1)
        return OpenError(s, s.controlName);
    std::string spectrumName = OutputFileName("fpt15_2D_FWD_SPEC_", s.controlName, "BIN");
    s.fpt15 = std::fopen(spectrumName.c_str(), "wb");
    if (!s.fpt15)
        return OpenError(s, spectrumName.c_str());
    return true;
}

void OpenOptionalTables(ForwardState& s)
{
    if (s.IRAW == 1) {
        s.fpt4 = OpenOutput(s, "fpt4_2D_FWD_EXTRAPOL_RAW_", "csv", "wt");
        if (s.fpt4)
            std::fprintf(s.fpt4, "X, Y, VAL\n");
    }
    if (s.IAMP == 1) {
        s.fpt3 = OpenOutput(s, "fpt3_2D_FWD_AMPSP_", "csv", "wt");
        if (s.fpt3)
            std::fprintf(s.fpt3, "FX, FY, A, LINE\n");
        s.fpt10 = OpenOutput(s, "fpt10_2D_FWD_TAPE10_", "DAT", "w+t");
    }
}

} // namespace

void* RunCalloc(ForwardState& s, size_t count, size_t size)
{
    if (size != 0 && count > static_cast<size_t>(-1) / size)
        return nullptr;
    size_t bytes = count * size;
    std::lock_guard<std::mutex> lock(s.memoryLock);
    if (bytes > s.memoryLimit - s.memoryInUse)
        return nullptr;
    void* block = std::calloc(count ? count : 1, size ? size : 1);
    if (block) {
        s.memoryInUse += bytes;
        AdviseLargePages(block, bytes);
    }
    return block;
}

void* RunRealloc(ForwardState& s, void* block, size_t oldBytes, size_t newBytes)
{
    std::lock_guard<std::mutex> lock(s.memoryLock);
    if (newBytes > oldBytes && newBytes - oldBytes > s.memoryLimit - s.memoryInUse)
        return nullptr;
    void* grown = std::realloc(block, newBytes ? newBytes : 1);
    if (grown)
        s.memoryInUse = s.memoryInUse - oldBytes + newBytes;
    return grown;
}

void ReleasePages(const void* begin, const void* end)
{
    long pageSize = sysconf(_SC_PAGESIZE);
    if (pageSize <= 0)
        return;
    uintptr_t page = static_cast<uintptr_t>(pageSize);
    uintptr_t first = (reinterpret_cast<uintptr_t>(begin) + page - 1) / page * page;
    uintptr_t last = reinterpret_cast<uintptr_t>(end) / page * page;
    if (first < last) // a hint only: should the system refuse, the pages simply stay
        madvise(reinterpret_cast<void*>(first), last - first, MADV_DONTNEED);
}

void RunFree(ForwardState& s, void* block, size_t bytes)
{
    if (!block)
        return;
    std::free(block);
    std::lock_guard<std::mutex> lock(s.memoryLock);
    s.memoryInUse -= bytes;
}

static void LogTo(ForwardState& s, FILE* also, const char* format, va_list args)
{
    WriteRunLog(s.fpt6, also, format, args);
}

void Log(ForwardState& s, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    LogTo(s, nullptr, format, args);
    va_end(args);
}

void LogOut(ForwardState& s, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    LogTo(s, stdout, format, args);
    va_end(args);
}

void LogErr(ForwardState& s, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    LogTo(s, stderr, format, args);
    va_end(args);
}

ForwardRun::ForwardRun(const char* controlFileName, const FilterPoints* points)
    : state(new (std::nothrow) ForwardState)
{
    if (!state)
        return;
    InitialiseFilePointerToNull(*state);
    state->memoryLimit = PhysicalMemory();
    const char* name = controlFileName ? controlFileName : "";
    state->controlNameTooLong = std::strlen(name) >= static_cast<size_t>(NAME_SIZE);
    std::snprintf(state->controlName, NAME_SIZE, "%s", name);
    state->points = points;
}

ForwardRun::~ForwardRun()
{
    if (!state)
        return;
    ForwardState& s = *state;
    CloseFile(s.fpt1);
    CloseFile(s.fptData);
    CloseFile(s.fpt3);
    CloseFile(s.fpt4);
    CloseFile(s.fpt6);
    CloseFile(s.fpt10);
    CloseFile(s.fpt15);
    size_t entries = static_cast<size_t>(s.DIM1) + 1;
    RunFree(s, s.columnRange, entries * sizeof(RangePair));
    RunFree(s, s.rowRange, entries * sizeof(RangePair));
    RunFree(s, s.STORE, s.STOREDOUBLES * sizeof(double));
    FreeGrid(s);
    RunFree(s, s.D, 2 * static_cast<size_t>(s.DIM1) * sizeof(double));
    delete state;
}

WorkBlock ForwardRun::TakeTransformBlock()
{
    if (!state || !state->STORE)
        return WorkBlock();
    ForwardState& s = *state;
    WorkBlock block(s.STORE, s.STOREDOUBLES);
    s.memoryInUse -= s.STOREDOUBLES * sizeof(double);
    s.STORE = nullptr;
    s.STOREDOUBLES = 0;
    return block;
}

void ForwardRun::SetMemoryLimit(size_t bytes)
{
    if (state)
        state->memoryLimit = bytes;
}

bool ForwardRun::Execute()
{
    if (!state) {
        std::fprintf(stderr, " *** Insufficient memory for the forward run\n");
        return false;
    }
    ForwardState& s = *state;
    if (!AllocateWorkTables(s) || !OpenLogAndSpectrum(s) || !ReadSpectrumSection(s))
        return false;
    OpenOptionalTables(s);
    Log(s, " ILAP =%3d\n", 5);
    if (!WindowAndBin(s) || !ExtrapolateEdges(s) || !GapFill(s) || !TransformAndWriteSpectrum(s))
        return false;
    std::printf(" **************** Finish **************** \n"); // V went with the transform
    return true;
}
