// Low-passes a small grid made through the host API and checks that the result is a full grid.
#include "fourier_filters.h"

#include "IBaseDataFloat.h"
#include "IBaseListData.h"
#include "IUniverse.h"
#include "IWorld.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    auto* grid = new Tavorin::I2DGridMesh("grid", Tavorin::I2DGridGeometry({0, 0}, 100, 100, 16, 12, 0.0));
    Tavorin::world()->addMesh(grid);
    auto* field = new Tavorin::IBaseDataFloat(grid, "TMI");
    grid->DataList()->add(field);
    for (unsigned int id = 0; id < grid->cellCount(); ++id)
        field->setValue(id, static_cast<float>(id % 16 + id / 16));

    if (!I2DFourierFilters::lowPass(grid, field, 500, "smooth")) {
        std::fprintf(stderr, "lowPass failed\n");
        return 1;
    }
    auto* smooth = qobject_cast<Tavorin::IBaseDataFloat*>(grid->DataList()->Data("smooth"));
    if (!smooth || smooth->valueCount() != grid->cellCount()) {
        std::fprintf(stderr, "lowPass made no full result\n");
        return 1;
    }
    return 0;
}
