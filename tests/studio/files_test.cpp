// Grid files in and out of the studio, and what a bad file or a missing module does to a session:
// a message in the log, and the window still opens with whatever could be opened.

#include "studio_fixture.h"

#include <I2DGridMesh.h>
#include <IBaseDataFloat.h>
#include <IBaseListData.h>
#include <IMeshList.h>
#include <IUniverse.h>
#include <IWorld.h>
#include <log_dock.h>
#include <map_view.h>
#include <world_tree.h>

#include <QFileInfo>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

TEST(StudioFiles, SaveItemAsWritesTheItemInItsSourceLayoutOrSaysWhyNot)
{
    ScratchDir scratch;
    const Raster source = bumpRaster(30, 20, 400000.0, 7000000.0);
    writeRaster(scratch.file("grid.tif"), "GTiff", source);
    auto window = startStudio({QStringLiteral("grid.tif")});
    auto* data = qobject_cast<Tavorin::IBaseDataFloat*>(gridNamed(QStringLiteral("grid"))->DataList()->at(0));
    ASSERT_NE(data, nullptr);
    // Change one cell (the north-east corner) so that the written values can only come from the item.
    const unsigned int northEast = 19 * 30 + 29;
    data->setValue(northEast, 12345.0f);

    // The writer's formats and its refusals are the command-line tests' concern; here, which item goes out.
    ASSERT_TRUE(window->saveItem(*data, QStringLiteral("copy.tif"))) << hostLog().toStdString();
    const Raster written = readRaster(scratch.file("copy.tif"));
    ASSERT_EQ(written.columns, 30);
    ASSERT_EQ(written.rows, 20);
    EXPECT_EQ(written.geoTransform, source.geoTransform);
    EXPECT_NEAR(written.values[29], 12345.0, 1e-3);
    EXPECT_DOUBLE_EQ(written.values[0], written.noData);
    EXPECT_NEAR(written.values[31 * 10], source.values[31 * 10], 1e-2);

    EXPECT_FALSE(window->saveItem(*data, QStringLiteral("copy.unknownformat")));
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("copy.unknownformat")));
    EXPECT_TRUE(hostLog().contains(QStringLiteral("error: copy.unknownformat: cannot tell the grid format")))
        << hostLog().toStdString();
}

TEST(StudioFiles, BadGridFilesAndModulesAreToldAndTheWindowStillOpens)
{
    ScratchDir scratch;
    writeRaster(scratch.file("good.tif"), "GTiff", bumpRaster(16, 12, 400000.0, 7000000.0));
    auto window = startStudio({QStringLiteral("missing.tif"), QStringLiteral("good.tif")},
                              QStringLiteral("/nonexistent/libspectrafil_module.so"));
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->module().loaded);
    const QString log = hostLog();
    EXPECT_TRUE(log.contains(QStringLiteral("error: Cannot load the Spectrafil module /nonexistent/libspectrafil_module.so")))
        << log.toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral("error: missing.tif: no such file"))) << log.toStdString();
    EXPECT_TRUE(window->logDock()->isVisible());
    EXPECT_TRUE(window->logDock()->text().contains(QRegularExpression(QStringLiteral("error +missing.tif: no such file"))))
        << window->logDock()->text().toStdString();
    EXPECT_EQ(Tavorin::world()->MeshList()->count(), 1);
    ASSERT_NE(gridNamed(QStringLiteral("good")), nullptr);
    EXPECT_NE(window->mapView()->shownData(), nullptr);
    window.reset();

    // A shared library that is not a module.
    window = startStudio({}, QStringLiteral(TAVORIN_HOST_LIBRARY));
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->module().loaded);
    EXPECT_TRUE(hostLog().contains(QStringLiteral("it has no entry point TavorinModuleV1"))) << hostLog().toStdString();
}

TEST(StudioFiles, GridsOfTheSameNameAreNumbered)
{
    ScratchDir scratch;
    writeRaster(scratch.file("tmi.tif"), "GTiff", bumpRaster(16, 12, 400000.0, 7000000.0));
    auto window = startStudio({QStringLiteral("tmi.tif"), QStringLiteral("tmi.tif")});
    EXPECT_NE(gridNamed(QStringLiteral("tmi")), nullptr);
    EXPECT_NE(gridNamed(QStringLiteral("tmi (2)")), nullptr);
    EXPECT_TRUE(window->tree()->indexOf(gridNamed(QStringLiteral("tmi (2)"))).isValid());
}

} // namespace
