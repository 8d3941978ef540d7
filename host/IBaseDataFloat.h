#pragma once
// A float data item. Cells without value (no-data) are kept as NaN: value() of such a cell is NaN,
// and storing NaN clears the cell.

#include "IBaseData.h"

#include <cstddef>
#include <functional>
#include <vector>

namespace Tavorin {

class IBaseDataFloat : public IBaseData {
    Q_OBJECT
public:
    // Sized to the mesh's cell count, every cell without value.
    IBaseDataFloat(IMesh* mesh, const QString& name, const QString& description = QString(),
                   int dataClass = CellData, int componentCount = 1);

    int dataType() const override { return FloatData; }
    unsigned int size() const override { return static_cast<unsigned int>(values_.size()); }
    // Final, so values() always agrees with them.
    bool hasValue(unsigned int id) const final;
    float value(unsigned int id) const final;

    // False (and nothing stored) for an id out of range.
    virtual bool setValue(unsigned int id, float value);
    bool clearValue(unsigned int id);
    void clearAll();
    // Number of cells holding a value.
    unsigned int valueCount() const;

    // Whole-grid access for callers that visit every cell: value(id) at index id, NaN where none.
    const std::vector<float>& values() const { return values_; }
    // Lets edit store values (NaN clears a cell) into all size() slots at once, then sends one
    // change notice: the same as setValue on each cell, without a call per cell.
    void editValues(const std::function<void(float* values, size_t count)>& edit);

private:
    std::vector<float> values_;
};

} // namespace Tavorin
