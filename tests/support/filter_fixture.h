#pragma once
// A fresh world and temporary project folder per test, grids made from a value function, and the
// host log read back as text.

#include "I2DGridMesh.h"
#include "IBaseDataFloat.h"
#include "IBaseListData.h"
#include "ILogger.h"
#include "ISettings.h"
#include "IUniverse.h"
#include "IWorld.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

// A value that leaves its cell without value.
inline constexpr double NoValue = std::numeric_limits<double>::quiet_NaN();

class FilterTest : public testing::Test {
protected:
    void SetUp() override
    {
        world = Tavorin::IUniverse::Instance()->resetWorld();
        ASSERT_TRUE(temp.isValid());
        Tavorin::ISettings::setTempDir(temp.path());
        Tavorin::ILogger::instance()->clear();
        startDir = QDir::currentPath();
    }
    void TearDown() override
    {
        Tavorin::ISettings::setTempDir(QString());
        EXPECT_EQ(QDir::currentPath(), startDir);
    }

    // Cells of dx by dy from the origin, in a grid already added to the world unless told otherwise.
    Tavorin::I2DGridMesh* makeGrid(int nx, int ny, double dx, double dy, Tavorin::I3DVector origin = {1000, 2000},
                                   double rotation = 0.0, bool inWorld = true)
    {
        auto* grid = new Tavorin::I2DGridMesh(
            "grid", Tavorin::I2DGridGeometry(origin, dx, dy, nx, ny, rotation), inWorld ? nullptr : &orphans);
        if (inWorld)
            world->addMesh(grid);
        return grid;
    }
    // A source item holding value(centre x, centre y) in every cell; NaN leaves a cell without value.
    Tavorin::IBaseDataFloat* makeData(Tavorin::I2DGridMesh* grid, const QString& name,
                                      const std::function<double(double x, double y)>& value)
    {
        auto* data = new Tavorin::IBaseDataFloat(grid, name, name);
        grid->DataList()->add(data);
        for (unsigned int id = 0; id < grid->cellCount(); ++id) {
            const Tavorin::I3DVector c = grid->get2DGridGeometry().cellCenter(static_cast<int>(id));
            data->setValue(id, static_cast<float>(value(c.x, c.y)));
        }
        return data;
    }
    // Values 10 + column + row: the mean of any full grid is easy to write down.
    Tavorin::IBaseDataFloat* makeRamp(Tavorin::I2DGridMesh* grid, const QString& name = "TMI")
    {
        const Tavorin::I2DGridGeometry& g = grid->get2DGridGeometry();
        return makeData(grid, name, [&g](double x, double y) {
            const unsigned int id = g.cellID(Tavorin::I3DVector(x, y));
            int u = 0, v = 0;
            g.cellUV(id, u, v);
            return 10.0 + u + v;
        });
    }
    static Tavorin::IBaseDataFloat* item(const Tavorin::I2DGridMesh* grid, const QString& name)
    {
        return qobject_cast<Tavorin::IBaseDataFloat*>(grid->DataList()->Data(name));
    }

    // Texts of the host log entries, of one level or of all.
    static QStringList logTexts(int level = -1)
    {
        QStringList texts;
        for (const Tavorin::ILogEntry& entry : Tavorin::ILogger::instance()->entries())
            if (level < 0 || entry.level == level)
                texts << entry.text;
        return texts;
    }
    static void clearLog() { Tavorin::ILogger::instance()->clear(); }

    QString tempFile(const QString& name) const { return QDir(temp.path()).filePath(name); }
    QString readTempFile(const QString& name) const
    {
        QFile file(tempFile(name));
        return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString();
    }

    Tavorin::IWorld* world = nullptr;
    QObject orphans; // parent of grids kept out of the world
    QTemporaryDir temp;
    QString startDir;
};
