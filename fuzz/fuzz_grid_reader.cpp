// readGrid, the command-line tool's reader, on any bytes saved under one of the extensions users
// give it: the first byte picks .asc, .tif, .nc, .xyz or .grd, the rest is the file (GDAL picks
// the driver by content, so the extension matters little; the netCDF driver is left out). Besides not
// crashing, the reader keeps its word: a refusal says why and adds nothing to the world; a grid
// it accepts has one value slot per pixel and a usable geometry.

#include "fuzz_support.h"

#include <grid_files.h>

#include <I2DGridMesh.h>
#include <IBaseDataFloat.h>
#include <IMeshList.h>
#include <IWorld.h>

#include <cpl_conv.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
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

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::EnterScratchFolder("fuzz_grid_reader");
    // Each file is read once: GDAL's block cache (a share of the machine's memory by default) buys nothing.
    CPLSetConfigOption("GDAL_CACHEMAX", "16");
    // The netCDF library sizes its buffers from a file's header before reading the file and keeps
    // some of them when it gives up: a fuzzed header costs gigabytes that are not ours. Our side
    // of netCDF files is covered by the tool's bad-input tests.
    CPLSetConfigOption("GDAL_SKIP", "netCDF");
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
