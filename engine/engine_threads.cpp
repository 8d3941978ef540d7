// A small pool of worker threads kept for the life of the process, started on first use: a run
// of many short parallel loops then pays for thread creation once. A child forked after the pool
// started has none of its threads, so there the loops run serially.

#include "engine_threads.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <sys/mman.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

int32_t DefaultThreads()
{
    unsigned cores = std::thread::hardware_concurrency();
    return cores == 0 ? 1 : static_cast<int32_t>(cores);
}

std::atomic<int32_t> THREADS{DefaultThreads()};

// The worker number of the current thread while it works on a loop, else -1: a loop started
// from inside one runs serially under that number.
thread_local int32_t currentWorker = -1;

class WorkerPool {
public:
    // The process that started the workers.
    const pid_t owner = getpid();

    void Run(int32_t workers, int64_t count, int64_t chunk, const std::function<void(int64_t, int64_t, int32_t)>& body)
    {
        std::lock_guard<std::mutex> runLock(runMutex);
        Grow(workers - 1);
        {
            std::lock_guard<std::mutex> lock(mutex);
            job = &body;
            jobCount = count;
            jobChunk = chunk;
            jobWorkers = workers;
            next = 0;
            pending = workers - 1;
            failure = nullptr;
            ++generation;
        }
        wake.notify_all();
        Work(0);
        std::unique_lock<std::mutex> lock(mutex);
        done.wait(lock, [&] { return pending == 0; });
        job = nullptr;
        if (failure)
            std::rethrow_exception(failure);
    }

private:
    void Grow(int32_t helpers)
    {
        while (static_cast<int32_t>(threads.size()) < helpers) {
            int32_t worker = static_cast<int32_t>(threads.size()) + 1;
            threads.emplace_back([this, worker] { Serve(worker); });
        }
    }

    void Serve(int32_t worker)
    {
        uint64_t seen = 0;
        for (;;) {
            {
                std::unique_lock<std::mutex> lock(mutex);
                wake.wait(lock, [&] { return generation != seen; });
                seen = generation;
                if (worker >= jobWorkers)
                    continue;
            }
            Work(worker);
            std::lock_guard<std::mutex> lock(mutex);
            if (--pending == 0)
                done.notify_one();
        }
    }

    // Takes chunks until none is left.
    void Work(int32_t worker)
    {
        currentWorker = worker;
        for (;;) {
            int64_t first = next.fetch_add(jobChunk);
            if (first >= jobCount)
                break;
            try {
                (*job)(first, std::min(first + jobChunk, jobCount), worker);
            } catch (...) {
                std::lock_guard<std::mutex> lock(mutex);
                if (!failure)
                    failure = std::current_exception();
            }
        }
        currentWorker = -1;
    }

    std::mutex runMutex; // one loop at a time
    std::mutex mutex;
    std::condition_variable wake, done;
    std::vector<std::thread> threads;
    uint64_t generation = 0;
    const std::function<void(int64_t, int64_t, int32_t)>* job = nullptr;
    int64_t jobCount = 0, jobChunk = 1;
    int32_t jobWorkers = 1, pending = 0;
    std::atomic<int64_t> next{0};
    std::exception_ptr failure;
};

// Never destroyed: its workers wait for work until the process ends, and a forked child, which
// has none of them, must not join them at its exit.
WorkerPool& Pool()
{
    static WorkerPool* pool = new WorkerPool;
    return *pool;
}

} // namespace

void setEngineThreads(int32_t n)
{
    THREADS = std::max<int32_t>(1, n);
}

int32_t engineThreads()
{
    return THREADS;
}

void ParallelFor(int64_t count, int64_t chunk, const std::function<void(int64_t, int64_t, int32_t)>& body)
{
    if (count <= 0)
        return;
    chunk = std::max<int64_t>(1, chunk);
    int64_t chunks = (count + chunk - 1) / chunk;
    int32_t workers = static_cast<int32_t>(std::min<int64_t>(engineThreads(), chunks));
    if (workers <= 1 || currentWorker >= 0 || Pool().owner != getpid()) {
        int32_t worker = std::max<int32_t>(currentWorker, 0);
        for (int64_t first = 0; first < count; first += chunk)
            body(first, std::min(first + chunk, count), worker);
        return;
    }
    Pool().Run(workers, count, chunk, body);
}

namespace {

// Pages of one work item of PrepareFreshMemory: few calls, and enough items to share.
constexpr int64_t PagesPerChunk = 1024;

void PopulatePages(char* first, size_t bytes, size_t page)
{
#ifdef MADV_POPULATE_WRITE
    if (madvise(first, bytes, MADV_POPULATE_WRITE) == 0)
        return;
#endif
    // Kernels before 5.14 have no such advice: a write to each page does the same.
    for (size_t offset = 0; offset < bytes; offset += page) {
        volatile char* byte = first + offset;
        *byte = *byte;
    }
}

} // namespace

void AdviseLargePages(void* memory, size_t bytes)
{
#ifdef MADV_HUGEPAGE
    constexpr uintptr_t LargePage = uintptr_t(2) << 20;
    const uintptr_t start = (reinterpret_cast<uintptr_t>(memory) + LargePage - 1) / LargePage * LargePage;
    const uintptr_t end = (reinterpret_cast<uintptr_t>(memory) + bytes) / LargePage * LargePage;
    if (end > start)
        madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
#else
    (void)memory;
    (void)bytes;
#endif
}

void PrepareFreshMemory(void* memory, size_t bytes)
{
    AdviseLargePages(memory, bytes);
    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    const uintptr_t start = (reinterpret_cast<uintptr_t>(memory) + page - 1) / page * page;
    const uintptr_t end = (reinterpret_cast<uintptr_t>(memory) + bytes) / page * page;
    if (end <= start)
        return;
    char* first = reinterpret_cast<char*>(start);
    const int64_t pages = static_cast<int64_t>((end - start) / page);
    ParallelFor(pages, PagesPerChunk, [&](int64_t from, int64_t to, int32_t) {
        PopulatePages(first + static_cast<size_t>(from) * page, static_cast<size_t>(to - from) * page, page);
    });
}
