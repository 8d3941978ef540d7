#pragma once
// Worker threads inside one engine run. The run stays synchronous: ParallelFor returns when every
// index is done, and the calling thread works as one of the workers. Each worker owns its own
// transform work arrays, so work items may call ComplexFFT freely.

#include <cstddef>
#include <cstdint>
#include <functional>

// Threads a run may use, the caller's included (default: the machine's cores). n < 1 counts as 1.
void setEngineThreads(int32_t n);
int32_t engineThreads();

// body(first, last, worker) over [0, count) in chunks of `chunk` indices, handed out in
// ascending order to whichever worker is free; worker is 0 .. engineThreads() - 1 and no two
// chunks run with the same worker number at the same time.
void ParallelFor(int64_t count, int64_t chunk, const std::function<void(int64_t, int64_t, int32_t)>& body);

// Faults in the pages of freshly allocated memory on all workers at once, large pages where the
// system has them (AdviseLargePages), keeping its contents: on a machine where a first touch is
// slow, a serial fill of a large new block pays for every page on one thread. Worth it for blocks
// of many megabytes only.
void PrepareFreshMemory(void* memory, size_t bytes);

// Asks for large pages on a fresh block, before anything touches it: one fault then fills 2 MiB,
// and the transforms' strided walks through the block miss the address cache far less often. A
// hint only, for blocks of many megabytes; whatever the system does, the contents stay.
void AdviseLargePages(void* memory, size_t bytes);
