// Grid files in-process: what GDAL writes is what the host grid holds, cell for cell, and what
// the writer puts back is the source's layout, CRS and nodata.

#include "raster_fixture.h"
#include "scratch_dir.h"

#include <grid_files.h>

#include <I2DGridMesh.h>
#include <IBaseDataFloat.h>
#include <IUniverse.h>
#include <IWorld.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace spectrafil;

namespace {

// The value of a pixel tells where its centre is: truth for any row and column order.
double encode(double x, double y) { return (x - 1000.0) + 1000.0 * (y - 2000.0); }

Raster locationGrid(const std::array<double, 6>& g, int columns, int rows)
{
    Raster r;
    r.columns = columns;
    r.rows = rows;
    r.geoTransform = g;
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column) {
            const double x = g[0] + (column + 0.5) * g[1] + (row + 0.5) * g[2];
            const double y = g[3] + (column + 0.5) * g[4] + (row + 0.5) * g[5];
            r.values.push_back(encode(x, y));
        }
    return r;
}

LoadedGrid load(const std::string& path, const QString& srs = QString())
{
    LoadedGrid grid;
    QString error;
    EXPECT_TRUE(readGrid({QString::fromStdString(path), 1, srs}, Tavorin::universe()->resetWorld(), grid, error))
        << error.toStdString();
    return grid;
}

} // namespace

TEST(GridFiles, EveryPixelLandsOnTheHostCellAtItsCentreAndIsWrittenBackInPlace)
{
    ScratchDir scratch;
    const std::array<double, 6> layouts[] = {
        {{1000, 10, 0, 2060, 0, -10}}, // north-up: first row the northern edge
        {{1000, 10, 0, 2000, 0, 10}},  // rows from the south
        {{1080, -10, 0, 2060, 0, -10}}, // columns from the east
        {{1000, 0, 10, 2000, 10, 0}},  // turned: columns run north
        {{1000, 0, 10, 2060, -10, 0}}, // turned the other way
    };
    for (const auto& g : layouts) {
        SCOPED_TRACE(g[1] != 0 ? "axis-aligned" : "turned");
        const bool turned = g[1] == 0;
        writeRaster(scratch.file("in.tif"), "GTiff", locationGrid(g, turned ? 6 : 8, turned ? 8 : 6));
        const LoadedGrid grid = load(scratch.file("in.tif"));
        ASSERT_TRUE(grid.data);
        const Tavorin::I2DGridGeometry& geometry = grid.mesh->get2DGridGeometry();
        EXPECT_EQ(geometry.nCellU(), 8);
        EXPECT_EQ(geometry.nCellV(), 6);
        EXPECT_EQ(geometry.rotation(), 0.0);
        const Tavorin::I3DVector southWest = geometry.cellCenter(0);
        EXPECT_DOUBLE_EQ(southWest.x, 1005.0);
        EXPECT_DOUBLE_EQ(southWest.y, 2005.0);
        for (unsigned id = 0; id < geometry.cellCount(); ++id) {
            const Tavorin::I3DVector c = geometry.cellCenter(int(id));
            ASSERT_EQ(grid.data->value(id), float(encode(c.x, c.y))) << "cell " << id;
        }

        QString error;
        ASSERT_TRUE(writeGrid(QString::fromStdString(scratch.file("out.tif")), QStringLiteral("GTiff"), grid.info, *grid.data,
                              {QStringLiteral("copy"), {}, {}, {}, {}, {}}, error)) << error.toStdString();
        const Raster in = readRaster(scratch.file("in.tif")), out = readRaster(scratch.file("out.tif"));
        EXPECT_EQ(out.geoTransform, in.geoTransform);
        EXPECT_EQ(out.values, in.values);
    }
}

TEST(GridFiles, RoundTripsThroughGeoTiffAsciiAndNetcdfKeepGeotransformCrsAndNodata)
{
    ScratchDir scratch;
    Raster source = bumpGrid(9, 7);
    source.values[0] = source.noData;         // north-west corner
    source.values[17] = source.noData;
    source.values[40] = std::nan("");          // NaN is no value either
    writeRaster(scratch.file("source.tif"), "GTiff", source);
    const LoadedGrid grid = load(scratch.file("source.tif"));
    ASSERT_TRUE(grid.data);
    EXPECT_EQ(grid.data->valueCount(), 9u * 7u - 3u);
    EXPECT_FALSE(grid.data->hasValue(6u * 9u)); // the north-west corner is the last row's first cell

    for (const char* name : {"out.tif", "out.asc", "out.nc"}) {
        SCOPED_TRACE(name);
        const QString path = QString::fromStdString(scratch.file(name));
        QString error;
        const QString driver = outputDriver(path, QString(), error);
        ASSERT_TRUE(writeGrid(path, driver, grid.info, *grid.data, {QStringLiteral("bump"), QStringLiteral("nT"), {}, {}, {}, {}}, error))
            << error.toStdString();
        const Raster back = readRaster(path.toStdString());
        ASSERT_EQ(back.columns, 9);
        ASSERT_EQ(back.rows, 7);
        for (int i = 0; i < 6; ++i)
            EXPECT_NEAR(back.geoTransform[i], source.geoTransform[i], 1e-6) << i;
        EXPECT_TRUE(sameCrs(back.crsWkt, source.crsWkt));
        ASSERT_TRUE(back.hasNoData);
        EXPECT_EQ(back.noData, source.noData);
        for (size_t i = 0; i < source.values.size(); ++i) {
            const double expected = std::isnan(source.values[i]) ? source.noData : source.values[i];
            EXPECT_NEAR(back.values[i], expected, 1e-4 * (1.0 + std::fabs(expected))) << i;
        }
    }
}

TEST(GridFiles, OnlyPerpendicularAxesTurnedByMultiplesOf90DegreesAndAtMost5459CellsPass)
{
    RasterLayout layout;
    const double northUp[6] = {0, 10, 0, 100, 0, -10};
    const double halfTurn[6] = {100, -10, 0, 0, 0, 10};
    EXPECT_TRUE(makeLayout(5459, 10, northUp, layout).isEmpty());
    EXPECT_TRUE(makeLayout(10, 10, halfTurn, layout).isEmpty());
    EXPECT_TRUE(makeLayout(5460, 10, northUp, layout).contains(QStringLiteral("5459")));
    EXPECT_TRUE(makeLayout(10, 5460, northUp, layout).contains(QStringLiteral("5459")));

    const double c = std::cos(M_PI / 6), s = std::sin(M_PI / 6);
    const double rotated[6] = {0, 10 * c, -10 * s, 100, 10 * s, 10 * c};
    EXPECT_TRUE(makeLayout(10, 10, rotated, layout).contains(QStringLiteral("rotated by 30 degrees")));
    const double sheared[6] = {0, 10, 3, 100, 0, -10};
    EXPECT_TRUE(makeLayout(10, 10, sheared, layout).contains(QStringLiteral("sheared")));
    const double flat[6] = {0, 0, 0, 100, 0, -10};
    EXPECT_FALSE(makeLayout(10, 10, flat, layout).isEmpty());
}

TEST(GridFiles, ReadBackNamesTheLowestCellThatLostGainedOrChangedItsValue)
{
    ScratchDir scratch;
    Raster source = bumpGrid(9, 7);
    source.values[0] = source.noData; // north-west corner: cell 54, in the file's first row
    writeRaster(scratch.file("source.tif"), "GTiff", source);
    const LoadedGrid grid = load(scratch.file("source.tif"));
    ASSERT_TRUE(grid.data);
    const QString path = QString::fromStdString(scratch.file("out.tif"));
    QString error;
    ASSERT_TRUE(writeGrid(path, QStringLiteral("GTiff"), grid.info, *grid.data, {}, error)) << error.toStdString();
    const Tavorin::I2DGridGeometry& geometry = grid.mesh->get2DGridGeometry();
    EXPECT_EQ(readBackDifference(path, geometry, *grid.data), QString());

    auto* want = qobject_cast<Tavorin::IBaseDataFloat*>(Tavorin::world()->createProperty(
        grid.mesh, QStringLiteral("want"), QString(), Tavorin::IBaseData::CellData, 1, Tavorin::IBaseData::FloatData));
    ASSERT_TRUE(want);
    want->editValues([&](float* values, size_t count) { std::copy_n(grid.data->values().data(), count, values); });
    float largest = 0.0f;
    for (float value : grid.data->values())
        largest = std::isnan(value) ? largest : std::max(largest, std::fabs(value));
    const float top = grid.data->value(60);
    want->setValue(60, top + 1e-3f * largest);
    want->setValue(2, grid.data->value(2) + 1e-6f * largest); // within the tolerance
    EXPECT_EQ(readBackDifference(path, geometry, *want),
              QStringLiteral("cell 60 reads back as %1 instead of %2").arg(top).arg(want->value(60)));
    want->setValue(54, 1.0f);
    EXPECT_EQ(readBackDifference(path, geometry, *want), QStringLiteral("cell 54 lost a value"));
    want->clearValue(3);
    EXPECT_EQ(readBackDifference(path, geometry, *want), QStringLiteral("cell 3 gained a value"));

    const Tavorin::I2DGridGeometry narrower(geometry.origin(), geometry.uSize(), geometry.vSize(), 8, 7);
    EXPECT_EQ(readBackDifference(path, narrower, *want), QStringLiteral("it has 9 x 7 cells instead of 8 x 7"));
}
