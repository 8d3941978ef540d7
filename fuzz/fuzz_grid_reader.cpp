// readGrid, the command-line tool's reader, on any bytes saved under one of the extensions users
// give it: the first byte picks .asc, .tif, .nc, .xyz or .grd, the rest is the file (GDAL picks
// the driver by content, so the extension matters little; only these formats' drivers are kept). Besides not
// crashing, the reader keeps its word: a refusal says why and adds nothing to the world; a grid
// it accepts has one value slot per pixel and a usable geometry.

#include "fuzz_support.h"

#include <grid_files.h>

#include <I2DGridMesh.h>
#include <IBaseDataFloat.h>
#include <IMeshList.h>
#include <IWorld.h>

#include <cpl_conv.h>
#include <gdal.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

namespace {

const char* const EXTENSIONS[] = {".asc", ".tif", ".nc", ".xyz", ".grd"};
const size_t EXTENSION_COUNT = sizeof(EXTENSIONS) / sizeof(EXTENSIONS[0]);

void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "readGrid broke its contract: %s\n", what);
        std::abort();
    }
}

void CheckAccepted(const spectrafil::LoadedGrid& grid, const Tavorin::IWorld& world)
{
    Require(grid.mesh && grid.data, "accepted without mesh or data item");
    Require(world.MeshList()->count() == 1, "accepted grid is not the world's one mesh");
    const spectrafil::RasterLayout& layout = grid.info.layout;
    const Tavorin::I2DGridGeometry& geometry = grid.mesh->get2DGridGeometry();
    Require(size_t(geometry.cellCount()) == size_t(layout.columns) * size_t(layout.rows), "cell count differs from the file's");
    Require(grid.data->size() == geometry.cellCount(), "data item does not cover the grid");
    Require(std::isfinite(geometry.uSize()) && geometry.uSize() > 0 && std::isfinite(geometry.vSize()) && geometry.vSize() > 0,
            "cell size not finite and positive");
    Require(std::isfinite(geometry.origin().x) && std::isfinite(geometry.origin().y), "origin not finite");
}

// Leaves GDAL with the named drivers only: the reader registers GDAL's drivers itself, and every
// registration drops the drivers GDAL_SKIP names.
void KeepOnlyDrivers(const std::set<std::string>& kept)
{
    GDALAllRegister();
    std::string skipped;
    for (int i = 0; i < GDALGetDriverCount(); ++i) {
        const std::string name = GDALGetDriverShortName(GDALGetDriver(i));
        if (!kept.count(name))
            skipped += (skipped.empty() ? "" : " ") + name;
    }
    CPLSetConfigOption("GDAL_SKIP", skipped.c_str());
    GDALAllRegister();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::EnterScratchFolder("fuzz_grid_reader");
    // Each file is read once: GDAL's block cache (a share of the machine's memory by default) buys nothing.
    CPLSetConfigOption("GDAL_CACHEMAX", "16");
    // Many GDAL drivers size their buffers from a file's header while opening it, before the
    // reader can see the grid's size: the netCDF library (which keeps some of them when it gives
    // up) and the raw formats such as grid-shift tables, whose line buffer a fuzzed width makes
    // hundreds of megabytes. Those allocations are not ours, so the target keeps the drivers of
    // the formats above; our side of netCDF files is covered by the tool's bad-input tests.
    KeepOnlyDrivers({"GTiff", "AAIGrid", "XYZ", "GSAG", "GSBG", "GS7BG"});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const std::string name = std::string("grid") + EXTENSIONS[data[0] % EXTENSION_COUNT];
    fuzz::WriteFile(name.c_str(), data + 1, size - 1);
    {
        Tavorin::IWorld world;
        spectrafil::LoadedGrid grid;
        QString error;
        if (spectrafil::readGrid({QString::fromStdString(name), 1, QString()}, &world, grid, error)) {
            Require(error.isEmpty(), "accepted with an error message");
            CheckAccepted(grid, world);
        } else {
            Require(!error.isEmpty(), "refused without a message");
            Require(world.MeshList()->count() == 0, "refused but left a mesh in the world");
        }
    }
    std::remove(name.c_str());
    return 0;
}
