#pragma once
// A float data item. Cells without value (no-data) are kept as NaN: value() of such a cell is NaN,
// and storing NaN clears the cell.

#include "IBaseData.h"

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
    bool hasValue(unsigned int id) const override;
    float value(unsigned int id) const override;

    // False (and nothing stored) for an id out of range.
    virtual bool setValue(unsigned int id, float value);
    bool clearValue(unsigned int id);
    void clearAll();
    // Number of cells holding a value.
    unsigned int valueCount() const;

private:
    std::vector<float> values_;
};

} // namespace Tavorin
