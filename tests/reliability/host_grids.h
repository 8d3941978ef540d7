#pragma once
// Host grids for the operations' tests: a fresh world and temporary project folder per test,
// grids from a value function (NaN leaves a cell without value), and the host log as text.

#include "I2DGridMesh.h"
#include "IBaseDataFloat.h"
#include "IBaseListData.h"
#include "ILogger.h"
#include "ISettings.h"
#include "IUniverse.h"
#include "IWorld.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

class HostGridTest : public testing::Test {
protected:
    void SetUp() override
    {
        world = Tavorin::IUniverse::Instance()->resetWorld();
        ASSERT_TRUE(temp.isValid());
        Tavorin::ISettings::setTempDir(temp.path());
        Tavorin::ILogger::instance()->clear();
    }
    void TearDown() override { Tavorin::ISettings::setTempDir(QString()); }

    Tavorin::I2DGridMesh* makeGrid(int nx, int ny, double cell = 25.0)
    {
        auto* grid = new Tavorin::I2DGridMesh("grid", Tavorin::I2DGridGeometry({1000, 2000}, cell, cell, nx, ny, 0.0));
        world->addMesh(grid);
        return grid;
    }
    Tavorin::IBaseDataFloat* makeData(Tavorin::I2DGridMesh* grid, const std::function<double(double, double)>& value)
    {
        auto* data = new Tavorin::IBaseDataFloat(grid, "TMI", "TMI");
        grid->DataList()->add(data);
        for (unsigned int id = 0; id < grid->cellCount(); ++id) {
            const Tavorin::I3DVector c = grid->get2DGridGeometry().cellCenter(static_cast<int>(id));
            data->setValue(id, static_cast<float>(value(c.x, c.y)));
        }
        return data;
    }
    static QString logText()
    {
        QString text;
        for (const Tavorin::ILogEntry& entry : Tavorin::ILogger::instance()->entries())
            text += entry.text + "\n";
        return text;
    }

    Tavorin::IWorld* world = nullptr;
    QTemporaryDir temp;
};
