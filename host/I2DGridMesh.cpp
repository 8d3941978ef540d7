#include "I2DGridMesh.h"

#include "IBaseListData.h"

namespace Tavorin {

I2DGridMesh::I2DGridMesh(const QString& name, const I2DGridGeometry& geometry, QObject* parent)
    : IMesh(name, parent)
    , geometry_(geometry)
{
}

bool I2DGridMesh::set2DGridGeometry(const I2DGridGeometry& geometry)
{
    if (DataList()->count() > 0 && geometry.cellCount() != geometry_.cellCount())
        return false;
    geometry_ = geometry;
    emit geometryChanged();
    return true;
}

} // namespace Tavorin
