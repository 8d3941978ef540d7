#pragma once
// A regular 2D grid mesh; its cells are those of its I2DGridGeometry.

#include "I2DGridGeometry.h"
#include "IMesh.h"

namespace Tavorin {

class I2DGridMesh : public IMesh {
    Q_OBJECT
public:
    explicit I2DGridMesh(const QString& name, const I2DGridGeometry& geometry = I2DGridGeometry(),
                         QObject* parent = nullptr);

    const I2DGridGeometry& get2DGridGeometry() const { return geometry_; }
    // Refused (false) when the cell count would change under existing data items.
    bool set2DGridGeometry(const I2DGridGeometry& geometry);

    unsigned int cellCount() const override { return geometry_.cellCount(); }
    IBoundingBox boundingBox() const override { return geometry_.boundingBox(); }

signals:
    void geometryChanged();

private:
    I2DGridGeometry geometry_;
};

} // namespace Tavorin
