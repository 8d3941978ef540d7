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

// A hint for a block just allocated and about to be written whole: its pages are faulted in on
// the engine's threads at once. A first write to a fresh page is a fault, and on some virtual
// machines a costly one; asked for in bulk, in parallel, the same pages cost a fraction. Where the
// system cannot do this, nothing happens and the pages come in as they are written.
void PrepareFreshMemory(void* block, size_t bytes);
