#pragma once
// Reading every cell of a data item. A float item's storage is read directly; any other item
// through its virtual calls, which cost more than the work of a whole-grid pass.

#include <IBaseDataFloat.h>

#include <cmath>
#include <vector>

namespace spectrafil {

class CellValues {
public:
    explicit CellValues(const Tavorin::IBaseData& data)
        : data_(data)
        , floats_(storage(data))
    {
    }

    unsigned int size() const { return floats_ ? static_cast<unsigned int>(floats_->size()) : data_.size(); }
    bool hasValue(unsigned int id) const
    {
        return floats_ ? id < floats_->size() && !std::isnan((*floats_)[id]) : data_.hasValue(id);
    }
    // Meant for cells with a value.
    float value(unsigned int id) const { return floats_ ? (*floats_)[id] : data_.value(id); }

private:
    static const std::vector<float>* storage(const Tavorin::IBaseData& data)
    {
        const auto* floats = qobject_cast<const Tavorin::IBaseDataFloat*>(&data);
        return floats ? &floats->values() : nullptr;
    }

    const Tavorin::IBaseData& data_;
    const std::vector<float>* floats_;
};

} // namespace spectrafil
