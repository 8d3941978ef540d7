#include "I2DGridMesh.h"
#include "IBaseDataFloat.h"
#include "IBaseListData.h"
#include "IDataModel.h"
#include "IDataModelFilter.h"
#include "IFolder.h"
#include "IMeshList.h"
#include "IMeshListFilter.h"
#include "IPointSetMesh.h"
#include "IUniverse.h"
#include "IWorld.h"

#include <gtest/gtest.h>

#include <memory>

using namespace Tavorin;

namespace {

QStringList rowTexts(const QAbstractItemModel& model)
{
    QStringList texts;
    for (int row = 0; row < model.rowCount(); ++row)
        texts.append(model.index(row, 0).data().toString());
    return texts;
}

I2DGridMesh* addGrid(IWorld* world, const QString& name)
{
    auto* grid = new I2DGridMesh(name, I2DGridGeometry(I3DVector(), 1.0, 1.0, 2, 2));
    world->addMesh(grid);
    return grid;
}

bool isGrid(IMesh* mesh)
{
    return dynamic_cast<I2DGridMesh*>(mesh) != nullptr;
}

bool isFloatCellData(IBaseData* data)
{
    return data->dataClass() == 2 && data->dataType() == 2 && data->isVisibleInTree();
}

} // namespace

TEST(MeshListFilter, ListsAcceptedMeshesByNameAndFollowsTheWorld)
{
    IWorld* world = IUniverse::Instance()->resetWorld();
    addGrid(world, "b grid");
    world->addMesh(new IPointSetMesh("a points", {I3DVector(1, 1)}));
    I2DGridMesh* first = addGrid(world, "A grid");

    IMeshListFilter all(world->MeshList());
    EXPECT_EQ(rowTexts(all), QStringList({"b grid", "a points", "A grid"}));

    IMeshListFilter grids(world->MeshList());
    grids.setFilterFunction(isGrid);
    EXPECT_EQ(rowTexts(grids), QStringList({"b grid", "A grid"}));
    grids.sort(0, Qt::AscendingOrder);
    EXPECT_EQ(rowTexts(grids), QStringList({"A grid", "b grid"}));
    EXPECT_EQ(grids.meshAt(0), first);

    addGrid(world, "c grid");
    world->addMesh(new IPointSetMesh("z points", {}));
    EXPECT_EQ(rowTexts(grids), QStringList({"A grid", "b grid", "c grid"}));
    first->setName("d grid");
    EXPECT_EQ(rowTexts(grids), QStringList({"b grid", "c grid", "d grid"}));
    world->MeshList()->removeMesh(first);
    EXPECT_EQ(rowTexts(grids), QStringList({"b grid", "c grid"}));
}

TEST(DataModelFilter, ListsAcceptedItemsWithTicksOfItsOwn)
{
    IWorld* world = IUniverse::Instance()->resetWorld();
    I2DGridMesh* grid = addGrid(world, "grid");
    auto* tmi = world->createProperty(grid, "TMI", "TMI", 2, 1, 2);
    auto* gravity = world->createProperty(grid, "gravity", "gravity", 2, 1, 2);
    auto* corners = world->createProperty(grid, "corners", "corners", 1, 1, 2); // point data: refused
    auto* hidden = world->createProperty(grid, "hidden", "hidden", 2, 1, 2);
    hidden->setVisibleInTree(false);
    ASSERT_TRUE(tmi && gravity && corners && hidden);

    auto* model = new IDataModel(grid);
    auto* filter = new IDataModelFilter(model, model);
    std::unique_ptr<IDataModel> owner(model);
    EXPECT_EQ(rowTexts(*model), QStringList({"TMI", "gravity", "corners", "hidden"}));
    filter->setFilterFunction(isFloatCellData);
    filter->sort(0, Qt::AscendingOrder);
    EXPECT_EQ(rowTexts(*filter), QStringList({"gravity", "TMI"}));

    // No ticks until asked for.
    EXPECT_FALSE(filter->flags(filter->index(0, 0)) & Qt::ItemIsUserCheckable);
    EXPECT_FALSE(filter->index(0, 0).data(Qt::CheckStateRole).isValid());
    EXPECT_FALSE(filter->setData(filter->index(0, 0), Qt::Checked, Qt::CheckStateRole));
    filter->setLocalCheckstate(true);
    EXPECT_TRUE(filter->flags(filter->index(0, 0)) & Qt::ItemIsUserCheckable);
    EXPECT_EQ(filter->index(1, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
    EXPECT_TRUE(filter->setData(filter->index(1, 0), Qt::Checked, Qt::CheckStateRole));
    EXPECT_EQ(filter->index(1, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
    EXPECT_EQ(filter->dataAt(1), tmi);

    // The list follows the grid: shown, renamed and removed items.
    hidden->setVisibleInTree(true);
    EXPECT_EQ(rowTexts(*filter), QStringList({"gravity", "hidden", "TMI"}));
    gravity->setName("zz gravity");
    EXPECT_EQ(rowTexts(*filter), QStringList({"hidden", "TMI", "zz gravity"}));
    grid->DataList()->remove(tmi);
    EXPECT_EQ(rowTexts(*filter), QStringList({"hidden", "zz gravity"}));
    // A new item never inherits a tick.
    world->createProperty(grid, "TMI", "TMI", 2, 1, 2);
    EXPECT_EQ(filter->index(1, 0).data().toString(), QString("TMI"));
    EXPECT_EQ(filter->index(1, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));

    world->MeshList()->removeMesh(grid);
    EXPECT_EQ(filter->rowCount(), 0);
}

TEST(TreeEntities, FolderListsEntriesWithoutOwningThem)
{
    IFolder folder("Surveys");
    auto grid = std::make_unique<I2DGridMesh>("grid");
    folder.addEntry(grid.get());
    folder.addEntry(grid.get());
    folder.addEntry(&folder);
    EXPECT_EQ(folder.entries().size(), 1);
    grid.reset();
    EXPECT_TRUE(folder.entries().isEmpty());
}
