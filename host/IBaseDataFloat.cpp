#include "IBaseDataFloat.h"

#include "IMesh.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace Tavorin {

namespace {
constexpr float NoData = std::numeric_limits<float>::quiet_NaN();

// Items from this size on have their pages asked for, large ones, in one call before the fill:
// where the first touch of a page is slow, that costs about half as much as faulting them in one
// by one.
constexpr size_t PopulatedBytes = size_t(16) << 20;

std::vector<float> cellsWithoutValue(size_t count)
{
    std::vector<float> values;
    values.reserve(count);
#ifdef MADV_POPULATE_WRITE
    const uintptr_t page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
    const uintptr_t start = (reinterpret_cast<uintptr_t>(values.data()) + page - 1) / page * page;
    const uintptr_t end = (reinterpret_cast<uintptr_t>(values.data() + count)) / page * page;
    if (count * sizeof(float) >= PopulatedBytes && start < end) { // hints only
        madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
        madvise(reinterpret_cast<void*>(start), end - start, MADV_POPULATE_WRITE);
    }
#endif
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
