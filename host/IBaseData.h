#pragma once
// A data item: one value per cell of its mesh, shown in the tree under the mesh.
//
// Two classification codes describe an item. The stored one, dataClass(), says where the values live
// (PointData 1, CellData 2); the queried one, dataType(), is answered by the concrete class and says
// what they are (IntegerData 1, FloatData 2). A float cell property thus has both codes equal to 2.

#include "ITreeEntity.h"

namespace Tavorin {

class IMesh;

class IBaseData : public ITreeEntity {
    Q_OBJECT
public:
    enum DataClass { PointData = 1, CellData = 2 };
    enum DataType { IntegerData = 1, FloatData = 2 };

    IBaseData(IMesh* mesh, const QString& name, const QString& description, int dataClass, int componentCount);
    ~IBaseData() override;

    IMesh* mesh() const { return mesh_; }
    QString description() const { return description_; }
    int dataClass() const { return dataClass_; }
    int componentCount() const { return componentCount_; }

    virtual int dataType() const = 0;
    // Number of value slots, fixed when the item is made (the mesh's cell count then).
    virtual unsigned int size() const = 0;
    // False for a cell without value (no-data) and for an id out of range.
    virtual bool hasValue(unsigned int id) const = 0;
    virtual float value(unsigned int id) const = 0;

    // Tells views the values changed: at once, or once when the last IPreventDataUpdates guard goes.
    void notifyDataChanged();
    bool updatesHeld() const { return holdCount_ > 0; }

signals:
    void dataChanged();

private:
    friend class IPreventDataUpdates;
    void holdUpdates() { ++holdCount_; }
    void releaseUpdates();

    IMesh* mesh_;
    QString description_;
    int dataClass_;
    int componentCount_;
    int holdCount_ = 0;
};

} // namespace Tavorin
