#include "ISelectionModel.h"

#include "IMesh.h"

namespace Tavorin {

ISelectionModel::ISelectionModel(QObject* parent)
    : QObject(parent)
{
}

void ISelectionModel::setMesh(IMesh* mesh)
{
    if (mesh == mesh_)
        return;
    mesh_ = mesh;
    emit meshSelectionChanged(mesh);
}

} // namespace Tavorin
