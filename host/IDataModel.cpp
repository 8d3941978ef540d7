#include "IDataModel.h"

#include "IBaseData.h"
#include "IBaseListData.h"
#include "IMesh.h"

namespace Tavorin {

IDataModel::IDataModel(IMesh* mesh, QObject* parent)
    : QAbstractListModel(parent)
    , mesh_(mesh)
{
    if (!mesh)
        return;
    IBaseListData* list = mesh->DataList();
    connect(list, &IBaseListData::dataAboutToBeAdded, this,
            [this](int row) { beginInsertRows(QModelIndex(), row, row); });
    connect(list, &IBaseListData::dataAdded, this, [this](IBaseData* item) {
        endInsertRows();
        watch(item);
    });
    connect(list, &IBaseListData::dataAboutToBeRemoved, this,
            [this](int row) { beginRemoveRows(QModelIndex(), row, row); });
    connect(list, &IBaseListData::dataRemoved, this, [this] { endRemoveRows(); });
    // The mesh takes its list with it: the model empties first.
    connect(mesh, &QObject::destroyed, this, [this] {
        beginResetModel();
        mesh_ = nullptr;
        endResetModel();
    });
    for (IBaseData* item : list->items())
        watch(item);
}

IMesh* IDataModel::mesh() const
{
    return mesh_.data();
}

IBaseData* IDataModel::dataAt(int row) const
{
    return mesh_ ? mesh_->DataList()->at(row) : nullptr;
}

IBaseData* IDataModel::dataAt(const QModelIndex& index)
{
    return qobject_cast<IBaseData*>(index.data(DataRole).value<QObject*>());
}

int IDataModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !mesh_ ? 0 : mesh_->DataList()->count();
}

QVariant IDataModel::data(const QModelIndex& index, int role) const
{
    IBaseData* item = index.parent().isValid() ? nullptr : dataAt(index.row());
    if (!item)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return QString(item->Name());
    case DataRole:
        return QVariant::fromValue<QObject*>(item);
    default:
        return {};
    }
}

// Renaming changes the row's text; hiding or showing it may change what filters accept.
void IDataModel::watch(IBaseData* item)
{
    const auto rowChanged = [this, item] {
        const QModelIndex changed = index(mesh_ ? mesh_->DataList()->indexOf(item) : -1);
        if (changed.isValid())
            emit dataChanged(changed, changed, {Qt::DisplayRole, Qt::EditRole});
    };
    connect(item, &ITreeEntity::nameChanged, this, rowChanged);
    connect(item, &ITreeEntity::visibleInTreeChanged, this, rowChanged);
}

} // namespace Tavorin
