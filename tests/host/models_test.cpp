#include "I2DGridMesh.h"
#include "IBaseData.h"
#include "IBaseListData.h"
#include "IDataModel.h"
#include "IDataModelFilter.h"
#include "IMeshList.h"
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

bool isFloatCellData(IBaseData* data)
{
    return data->dataClass() == 2 && data->dataType() == 2 && data->isVisibleInTree();
}

} // namespace

TEST(DataModelFilter, ListsAcceptedItemsWithTicksOfItsOwnAndFollowsTheGrid)
{
    IWorld* world = IUniverse::Instance()->resetWorld();
    auto* grid = new I2DGridMesh("grid", I2DGridGeometry(I3DVector(), 1.0, 1.0, 2, 2));
    world->addMesh(grid);
    auto* tmi = world->createProperty(grid, "TMI", "TMI", 2, 1, 2);
    auto* gravity = world->createProperty(grid, "gravity", "gravity", 2, 1, 2);
    auto* hidden = world->createProperty(grid, "hidden", "hidden", 2, 1, 2);
    hidden->setVisibleInTree(false);

    auto* model = new IDataModel(grid);
    auto* filter = new IDataModelFilter(model, model);
    std::unique_ptr<IDataModel> owner(model);
    filter->setFilterFunction(isFloatCellData);
    filter->sort(0, Qt::AscendingOrder);
    EXPECT_EQ(rowTexts(*filter), QStringList({"gravity", "TMI"}));

    filter->setLocalCheckstate(true);
    EXPECT_TRUE(filter->setData(filter->index(1, 0), Qt::Checked, Qt::CheckStateRole));
    EXPECT_EQ(filter->dataAt(1), tmi);

    hidden->setVisibleInTree(true);
    gravity->setName("zz gravity");
    EXPECT_EQ(rowTexts(*filter), QStringList({"hidden", "TMI", "zz gravity"}));
    grid->DataList()->remove(tmi);
    // A new item of the same name never inherits the tick.
    world->createProperty(grid, "TMI", "TMI", 2, 1, 2);
    EXPECT_EQ(filter->index(1, 0).data().toString(), QString("TMI"));
    EXPECT_EQ(filter->index(1, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));

    world->MeshList()->removeMesh(grid);
    EXPECT_EQ(filter->rowCount(), 0);
}
