#include "IPointSetMesh.h"

namespace Tavorin {

IPointSetMesh::IPointSetMesh(const QString& name, const QVector<I3DVector>& points, QObject* parent)
    : IMesh(name, parent)
    , points_(points)
{
}

IBoundingBox IPointSetMesh::boundingBox() const
{
    IBoundingBox box;
    for (const I3DVector& point : points_)
        box.extend(point);
    return box;
}

} // namespace Tavorin
