#include "IBaseDataFloat.h"

#include "IMesh.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace Tavorin {

namespace {
constexpr float NoData = std::numeric_limits<float>::quiet_NaN();
}

IBaseDataFloat::IBaseDataFloat(IMesh* mesh, const QString& name, const QString& description, int dataClass,
                               int componentCount)
    : IBaseData(mesh, name, description, dataClass, componentCount)
    , values_(mesh ? mesh->cellCount() : 0u, NoData)
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
