#pragma once
// A small world for the dialog tests: two grids (added "Grid B" first, then "Grid A"), a point set,
// and on "Grid B" two float cell properties with a smooth field plus items the dialog must not offer.

#include "I2DGridMesh.h"
#include "IBaseDataFloat.h"
#include "IBaseListData.h"
#include "IPointSetMesh.h"
#include "IUniverse.h"
#include "qt_printers.h"
#include "IWorld.h"

#include <cmath>

namespace testworld {

using namespace Tavorin;

// An item whose values are integers: its type code is not the float one.
class IntegerItem : public IBaseData {
public:
    explicit IntegerItem(IMesh* mesh) : IBaseData(mesh, QStringLiteral("Class id"), QString(), CellData, 1) {}
    int dataType() const override { return IntegerData; }
    unsigned int size() const override { return mesh()->cellCount(); }
    bool hasValue(unsigned int id) const override { return id < size(); }
    float value(unsigned int id) const override { return static_cast<float>(id % 3); }
};

inline IBaseDataFloat* addFloat(IMesh* mesh, const QString& name, int dataClass = 2)
{
    return static_cast<IBaseDataFloat*>(world()->createProperty(mesh, name, name, dataClass, 1, 2));
}

// A broad Gaussian high over a 32 x 32 grid of 25 m cells: smooth, so the engine has an easy time.
inline void fillBump(I2DGridMesh* grid, IBaseDataFloat* data, double amplitude)
{
    const I2DGridGeometry& g = grid->get2DGridGeometry();
    for (unsigned int id = 0; id < grid->cellCount(); ++id) {
        const I3DVector c = g.cellCenter(static_cast<int>(id));
        const double dx = c.x - 400.0, dy = c.y - 400.0;
        const double r2 = dx * dx + dy * dy;
        data->setValue(id, static_cast<float>(amplitude * std::exp(-r2 / (2 * 150.0 * 150.0))));
    }
}

struct TestWorld {
    IWorld* world = IUniverse::Instance()->resetWorld();
    I2DGridMesh* gridB = addGrid("Grid B");
    I2DGridMesh* gridA = addGrid("Grid A");
    IPointSetMesh* points = new IPointSetMesh(QStringLiteral("Points"), {I3DVector(0, 0, 0)});

    TestWorld()
    {
        world->addMesh(points);
        fillBump(gridB, addFloat(gridB, QStringLiteral("TMI")), 120.0);
        fillBump(gridB, addFloat(gridB, QStringLiteral("Bouguer")), 3.0);
        addFloat(gridB, QStringLiteral("Point values"), 1);
        addFloat(gridB, QStringLiteral("Hidden"))->setVisibleInTree(false);
        gridB->DataList()->add(new IntegerItem(gridB));
        addFloat(gridA, QStringLiteral("Elevation"));
    }

    I2DGridMesh* addGrid(const char* name)
    {
        const I2DGridGeometry geometry(I3DVector(0, 0, 0), 25.0, 25.0, 32, 32);
        auto* grid = new I2DGridMesh(QString::fromLatin1(name), geometry);
        world->addMesh(grid);
        return grid;
    }
};

} // namespace testworld
