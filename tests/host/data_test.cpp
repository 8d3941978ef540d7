#include "I2DGridMesh.h"
#include "IBaseDataFloat.h"
#include "IBaseListData.h"
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
    IBaseDataFloat* create(const QString& name)
    {
        return dynamic_cast<IBaseDataFloat*>(world->createProperty(grid, name, name, 2, 1, 2));
    }

    IWorld* world = nullptr;
    I2DGridMesh* grid = nullptr;
};

} // namespace

TEST_F(WorldData, CellsWithoutValueStayApartFromStoredValues)
{
    IBaseDataFloat* data = create("d");
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(std::isnan(data->value(0)));
    EXPECT_TRUE(data->setValue(4, -999999.0f)); // an ordinary number, even one that looks like a marker
    EXPECT_TRUE(data->setValue(0, 0.0f));
    EXPECT_EQ(data->value(4), -999999.0f);
    EXPECT_EQ(data->valueCount(), 2u);
    EXPECT_TRUE(data->setValue(0, NAN));
    EXPECT_FALSE(data->hasValue(0));
    EXPECT_FALSE(data->setValue(6, 1.0f));
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
}

TEST_F(WorldData, PaintingRecordsTheItemPerViewAndForgetsDeletedItems)
{
    IBaseDataFloat* first = create("first");
    IBaseDataFloat* second = create("second");
    world->paintDataCurrentView(first);
    world->setCurrentGLViewID(3);
    world->paintDataCurrentView(second);
    EXPECT_EQ(grid->GetPaintedData(0), first);
    EXPECT_EQ(grid->GetPaintedData(3), second);
    delete first;
    EXPECT_EQ(grid->GetPaintedData(0), nullptr);
    EXPECT_EQ(grid->DataList()->count(), 1);
}
