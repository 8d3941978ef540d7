#pragma once
// A mesh of scattered points; each point is one cell for its data items.

#include "IMesh.h"

#include <QVector>

namespace Tavorin {

class IPointSetMesh : public IMesh {
    Q_OBJECT
public:
    IPointSetMesh(const QString& name, const QVector<I3DVector>& points, QObject* parent = nullptr);

    const QVector<I3DVector>& points() const { return points_; }

    unsigned int cellCount() const override { return static_cast<unsigned int>(points_.size()); }
    IBoundingBox boundingBox() const override;

private:
    QVector<I3DVector> points_;
};

} // namespace Tavorin
