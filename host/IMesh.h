#pragma once
// Base of every mesh in the world. A mesh carries a list of data items (one value per cell) and
// remembers, per 3D view, which of its data items that view paints.

#include "IBoundingBox.h"
#include "ITreeEntity.h"

#include <QHash>
#include <QPointer>

namespace Tavorin {

class IBaseData;
class IBaseListData;

class IMesh : public ITreeEntity {
    Q_OBJECT
public:
    explicit IMesh(const QString& name, QObject* parent = nullptr);
    ~IMesh() override;

    // Number of cells (points for a point set); data items hold one value per cell, ids from 0.
    virtual unsigned int cellCount() const = 0;
    virtual IBoundingBox boundingBox() const = 0;

    // The data items of this mesh; owned by the mesh.
    IBaseListData* DataList() const { return dataList_; }

    // The data item painted in the given view, or null.
    IBaseData* GetPaintedData(int viewId) const;
    // Paints an item of this mesh in a view (null paints nothing); items of other meshes are refused.
    bool setPaintedData(int viewId, IBaseData* data);

signals:
    void paintedDataChanged(int viewId, Tavorin::IBaseData* data);

private:
    IBaseListData* dataList_;
    QHash<int, QPointer<IBaseData>> painted_;
};

} // namespace Tavorin
