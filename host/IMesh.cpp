#include "IMesh.h"

#include "IBaseData.h"
#include "IBaseListData.h"
#include "IMeshList.h"

namespace Tavorin {

IMesh::IMesh(const QString& name, QObject* parent)
    : ITreeEntity(name, parent)
    , dataList_(new IBaseListData(this))
{
}

// The data list is a QObject child and goes with the mesh.
IMesh::~IMesh()
{
    if (auto* list = qobject_cast<IMeshList*>(parent()))
        list->forget(this);
}

IBaseData* IMesh::GetPaintedData(int viewId) const
{
    return painted_.value(viewId).data();
}

bool IMesh::setPaintedData(int viewId, IBaseData* data)
{
    if (data && data->mesh() != this)
        return false;
    painted_.insert(viewId, data);
    emit paintedDataChanged(viewId, data);
    return true;
}

} // namespace Tavorin
