#include "I2DGridMesh.h"
#include "IBaseDataFloat.h"
#include "IBaseListData.h"
#include "IMeshList.h"
#include "IPointSetMesh.h"
#include "IPreventDataUpdates.h"
#include "IUniverse.h"
#include "IWorld.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <cmath>

using namespace Tavorin;

namespace {

class WorldData : public testing::Test {
protected:
    void SetUp() override
    {
        world = IUniverse::Instance()->resetWorld();
        grid = new I2DGridMesh("grid", I2DGridGeometry(I3DVector(0.0, 0.0), 1.0, 1.0, 3, 2));
        world->addMesh(grid);
    }
    IBaseDataFloat* create(const QString& name, IMesh* mesh = nullptr)
    {
        return dynamic_cast<IBaseDataFloat*>(world->createProperty(mesh ? mesh : grid, name, name, 2, 1, 2));
    }

    IWorld* world = nullptr;
    I2DGridMesh* grid = nullptr;
};

} // namespace

TEST_F(WorldData, CreatePropertyMakesEmptyItemsOnWorldMeshesOnly)
{
    QSignalSpy created(world, &IWorld::propertyCreated);
    IBaseDataFloat* data = create("TMI");
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(created.count(), 1);
    EXPECT_EQ(data->mesh(), grid);
    EXPECT_EQ(data->size(), 6u);
    EXPECT_EQ(data->valueCount(), 0u);
    // Names need not be unique: the lookup gives the first.
    IBaseDataFloat* twin = create("TMI");
    ASSERT_NE(twin, nullptr);
    EXPECT_NE(twin, data);
    EXPECT_EQ(grid->DataList()->Data("TMI"), data);
    EXPECT_EQ(grid->DataList()->Data("none"), nullptr);

    I2DGridMesh stray("stray", I2DGridGeometry(I3DVector(), 1.0, 1.0, 2, 2));
    EXPECT_EQ(world->createProperty(&stray, "a", "a", 2, 1, 2), nullptr);
    EXPECT_EQ(world->createProperty(nullptr, "a", "a", 2, 1, 2), nullptr);
    EXPECT_EQ(world->createProperty(grid, "", "", 2, 1, 2), nullptr);
    EXPECT_EQ(world->createProperty(grid, "a", "a", 2, 1, 1), nullptr);
    EXPECT_EQ(world->createProperty(grid, "a", "a", 7, 1, 2), nullptr);
    EXPECT_EQ(world->createProperty(grid, "a", "a", 2, 3, 2), nullptr);
    EXPECT_EQ(grid->DataList()->count(), 2);
    EXPECT_EQ(stray.DataList()->count(), 0);
    EXPECT_EQ(created.count(), 2);

    // A point set is a mesh of the world like any other.
    auto* points = new IPointSetMesh("points", {I3DVector(1, 2), I3DVector(3, 4)});
    world->addMesh(points);
    IBaseDataFloat* onPoints = create("z", points);
    ASSERT_NE(onPoints, nullptr);
    EXPECT_EQ(onPoints->size(), 2u);
}

TEST_F(WorldData, CellsWithoutValueStayApartFromStoredValues)
{
    IBaseDataFloat* data = create("d");
    ASSERT_NE(data, nullptr);
    EXPECT_FALSE(data->hasValue(0));
    EXPECT_TRUE(std::isnan(data->value(0)));

    EXPECT_TRUE(data->setValue(4, -999999.0f)); // an ordinary number, even one that looks like a marker
    EXPECT_TRUE(data->setValue(0, 0.0f));
    EXPECT_EQ(data->value(4), -999999.0f);
    EXPECT_EQ(data->valueCount(), 2u);

    EXPECT_TRUE(data->clearValue(4));
    EXPECT_FALSE(data->hasValue(4));
    EXPECT_TRUE(data->setValue(0, NAN));
    EXPECT_FALSE(data->hasValue(0));

    EXPECT_FALSE(data->setValue(6, 1.0f));
    EXPECT_FALSE(data->setValue(0xFFFFFFFFu, 1.0f));
    EXPECT_TRUE(std::isnan(data->value(6)));
}

TEST_F(WorldData, GuardHoldsChangeNotificationsUntilTheLastOneGoes)
{
    IBaseDataFloat* data = create("d");
    ASSERT_NE(data, nullptr);
    QSignalSpy changed(data, &IBaseData::dataChanged);
    {
        IPreventDataUpdates outer(data);
        {
            IPreventDataUpdates inner(data);
            for (unsigned int id = 0; id < 6; ++id)
                data->setValue(id, 2.0f);
        }
        EXPECT_EQ(changed.count(), 0);
    }
    EXPECT_EQ(changed.count(), 1);
    IPreventDataUpdates onNothing(nullptr);
}

TEST_F(WorldData, PaintingRecordsTheItemPerViewAndForgetsDeletedItems)
{
    IBaseDataFloat* first = create("first");
    IBaseDataFloat* second = create("second");
    QSignalSpy painted(world, &IWorld::dataPainted);
    world->paintDataCurrentView(first);
    world->setCurrentGLViewID(3);
    world->paintDataCurrentView(second);
    EXPECT_EQ(painted.count(), 2);
    EXPECT_EQ(grid->GetPaintedData(0), first);
    EXPECT_EQ(grid->GetPaintedData(3), second);
    EXPECT_EQ(grid->GetPaintedData(1), nullptr);

    QSignalSpy removing(grid->DataList(), &IBaseListData::dataAboutToBeRemoved);
    delete first;
    EXPECT_EQ(removing.count(), 1);
    EXPECT_EQ(grid->GetPaintedData(0), nullptr);
    EXPECT_EQ(grid->DataList()->count(), 1);
}

TEST_F(WorldData, MeshListLooksUpByNameAndDropsRemovedMeshes)
{
    IMeshList* meshes = world->MeshList();
    EXPECT_EQ(meshes->Mesh("grid"), grid);
    EXPECT_FALSE(meshes->addMesh(grid));

    QSignalSpy renamed(meshes, &QAbstractItemModel::dataChanged);
    grid->setName("renamed");
    EXPECT_EQ(renamed.count(), 1);
    EXPECT_EQ(meshes->Mesh("renamed"), grid);

    create("d");
    EXPECT_TRUE(meshes->removeMesh(grid));
    EXPECT_EQ(meshes->Mesh("renamed"), nullptr);
    EXPECT_EQ(meshes->rowCount(), 0);
}
