#include "open_grids.h"

#include "staged_output.h"

#include <I2DGridMesh.h>
#include <IBaseDataFloat.h>
#include <IMeshList.h>
#include <IWorld.h>

namespace spectrafil {

OpenGrids::OpenGrids(Tavorin::IWorld* world, QObject* parent)
    : QObject(parent)
    , world_(world)
{
}

Tavorin::IBaseDataFloat* OpenGrids::open(const QString& path, QString& error)
{
    LoadedGrid grid;
    if (!readGrid(ReadRequest{path, 1, QString()}, world_, grid, error))
        return nullptr;
    giveUniqueName(grid.mesh);
    files_.insert(grid.mesh, OpenFile{grid.info, grid.data});
    connect(grid.mesh, &QObject::destroyed, this, [this](QObject* mesh) { files_.remove(mesh); });
    return grid.data;
}

bool OpenGrids::save(const Tavorin::IBaseData& data, const QString& path, QString& error) const
{
    const GridFileInfo* file = fileOf(data.mesh());
    if (!file) {
        error = QStringLiteral("%1: its grid was not read from a file, so there is no layout to write it in")
                    .arg(QString(data.Name()));
        return false;
    }
    // The tool's message names its --format option; here the extension is the only way to choose.
    QString toolMessage;
    const QString driver = outputDriver(path, QString(), toolMessage);
    if (driver.isEmpty()) {
        error = QStringLiteral("%1: cannot tell the grid format from the extension; use .tif (GeoTIFF), .asc (ESRI "
                               "ASCII grid) or .nc (netCDF)")
                    .arg(path);
        return false;
    }
    StagedOutput output(path);
    return output.ready(error) &&
           writeGrid(output.stagedPath(), driver, *file, data, {data.Name(), unitsOf(&data), {}, {}, {}, {}}, error) &&
           output.commit(error);
}

const GridFileInfo* OpenGrids::fileOf(const Tavorin::IMesh* mesh) const
{
    const auto found = files_.constFind(mesh);
    return found == files_.constEnd() ? nullptr : &found->info;
}

QString OpenGrids::unitsOf(const Tavorin::IBaseData* data) const
{
    const auto found = data ? files_.constFind(data->mesh()) : files_.constEnd();
    return found != files_.constEnd() && found->readItem == data ? found->info.units : QString();
}

void OpenGrids::giveUniqueName(Tavorin::IMesh* mesh) const
{
    const QString base = mesh->Name();
    Tavorin::IMeshList* meshes = world_->MeshList();
    for (int n = 2; meshes->Mesh(mesh->Name()) != mesh; ++n)
        mesh->setName(QStringLiteral("%1 (%2)").arg(base).arg(n));
}

} // namespace spectrafil
