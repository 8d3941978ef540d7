#include "IMeshList.h"

#include "IMesh.h"

#include <utility>

namespace Tavorin {

IMeshList::IMeshList(QObject* parent)
    : QAbstractListModel(parent)
{
}

IMeshList::~IMeshList()
{
    const QList<IMesh*> meshes = std::exchange(meshes_, {});
    for (IMesh* mesh : meshes)
        delete mesh;
}

IMesh* IMeshList::Mesh(const QString& name) const
{
    for (IMesh* mesh : meshes_) {
        if (mesh->Name() == name)
            return mesh;
    }
    return nullptr;
}

int IMeshList::indexOf(const IMesh* mesh) const
{
    for (int row = 0; row < meshes_.size(); ++row) {
        if (meshes_[row] == mesh)
            return row;
    }
    return -1;
}

bool IMeshList::addMesh(IMesh* mesh)
{
    if (!mesh || contains(mesh))
        return false;
    const int row = meshes_.size();
    beginInsertRows(QModelIndex(), row, row);
    mesh->setParent(this);
    meshes_.append(mesh);
    endInsertRows();
    connect(mesh, &ITreeEntity::nameChanged, this, [this, mesh] { meshRenamed(mesh); });
    emit meshAdded(mesh);
    return true;
}

bool IMeshList::removeMesh(IMesh* mesh)
{
    if (!contains(mesh))
        return false;
    delete mesh; // forget() takes out its row
    return true;
}

void IMeshList::forget(IMesh* mesh)
{
    const int row = indexOf(mesh);
    if (row < 0)
        return;
    emit meshAboutToBeRemoved(mesh);
    beginRemoveRows(QModelIndex(), row, row);
    meshes_.removeAt(row);
    endRemoveRows();
    emit meshRemoved();
}

void IMeshList::meshRenamed(IMesh* mesh)
{
    const QModelIndex changed = index(indexOf(mesh));
    emit dataChanged(changed, changed, {Qt::DisplayRole, Qt::EditRole});
}

IMesh* IMeshList::meshAt(const QModelIndex& index)
{
    return qobject_cast<IMesh*>(index.data(MeshRole).value<QObject*>());
}

int IMeshList::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : meshes_.size();
}

QVariant IMeshList::data(const QModelIndex& index, int role) const
{
    IMesh* mesh = at(index.row());
    if (!mesh || index.parent().isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return QString(mesh->Name());
    case MeshRole:
        return QVariant::fromValue<QObject*>(mesh);
    default:
        return {};
    }
}

} // namespace Tavorin
