#include "IBaseDataFloat.h"

#include "IMesh.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <system_error>
#include <thread>

namespace Tavorin {

namespace {
constexpr float NoData = std::numeric_limits<float>::quiet_NaN();

// Items smaller than this are filled on the calling thread alone.
constexpr size_t SharedFaultInBytes = size_t(16) << 20;

void faultIn(char* first, size_t bytes, size_t page)
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

// Faults in the pages of a freshly allocated block on all cores, keeping its contents: where the
// first touch of a page is slow, a serial fill of a whole grid pays for every page on one thread.
void faultInOnAllCores(void* memory, size_t bytes)
{
    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    const uintptr_t start = (reinterpret_cast<uintptr_t>(memory) + page - 1) / page * page;
    const uintptr_t end = (reinterpret_cast<uintptr_t>(memory) + bytes) / page * page;
    if (end <= start)
        return;
    const size_t pages = (end - start) / page;
    const size_t parts = std::max(1u, std::thread::hardware_concurrency());
    auto part = [&](size_t i) {
        const size_t from = pages * i / parts, to = pages * (i + 1) / parts;
        faultIn(reinterpret_cast<char*>(start + from * page), (to - from) * page, page);
    };
    std::vector<std::thread> helpers;
    size_t i = 1;
    try {
        for (; i < parts; ++i)
            helpers.emplace_back(part, i);
    } catch (const std::system_error&) {
        // No more threads: the caller takes the parts left over.
    }
    part(0);
    for (size_t rest = i; rest < parts; ++rest)
        part(rest);
    for (std::thread& helper : helpers)
        helper.join();
}

std::vector<float> cellsWithoutValue(size_t count)
{
    std::vector<float> values;
    values.reserve(count);
    if (count * sizeof(float) >= SharedFaultInBytes)
        faultInOnAllCores(values.data(), count * sizeof(float));
    values.assign(count, NoData);
    return values;
}

} // namespace

IBaseDataFloat::IBaseDataFloat(IMesh* mesh, const QString& name, const QString& description, int dataClass,
                               int componentCount)
    : IBaseData(mesh, name, description, dataClass, componentCount)
    , values_(cellsWithoutValue(mesh ? mesh->cellCount() : 0u))
{
}

bool IBaseDataFloat::hasValue(unsigned int id) const
{
    return id < values_.size() && !std::isnan(values_[id]);
}

float IBaseDataFloat::value(unsigned int id) const
{
    return id < values_.size() ? values_[id] : NoData;
}

bool IBaseDataFloat::setValue(unsigned int id, float value)
{
    if (id >= values_.size())
        return false;
    values_[id] = value;
    notifyDataChanged();
    return true;
}

bool IBaseDataFloat::clearValue(unsigned int id)
{
    return setValue(id, NoData);
}

void IBaseDataFloat::clearAll()
{
    std::fill(values_.begin(), values_.end(), NoData);
    notifyDataChanged();
}

void IBaseDataFloat::editValues(const std::function<void(float*, size_t)>& edit)
{
    edit(values_.data(), values_.size());
    notifyDataChanged();
}

unsigned int IBaseDataFloat::valueCount() const
{
    return static_cast<unsigned int>(
        std::count_if(values_.begin(), values_.end(), [](float v) { return !std::isnan(v); }));
}

} // namespace Tavorin
