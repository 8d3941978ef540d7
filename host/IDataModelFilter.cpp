#include "IDataModelFilter.h"

#include "IDataModel.h"

namespace Tavorin {

IDataModelFilter::IDataModelFilter(IDataModel* model, QObject* parent)
    : QSortFilterProxyModel(parent)
{
    setSourceModel(model);
    setSortCaseSensitivity(Qt::CaseInsensitive);
    // Ticks belong to items; an item that goes must not pass its tick to one made at its address.
    connect(model, &QAbstractItemModel::rowsAboutToBeRemoved, this,
            [this](const QModelIndex&, int first, int last) { forgetRows(first, last); });
    connect(model, &QAbstractItemModel::modelAboutToBeReset, this, [this] { checks_.clear(); });
}

void IDataModelFilter::setFilterFunction(std::function<bool(IBaseData*)> accepts)
{
    accepts_ = std::move(accepts);
    invalidateFilter();
}

void IDataModelFilter::setLocalCheckstate(bool local)
{
    if (local == local_)
        return;
    local_ = local;
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, 0), {Qt::CheckStateRole});
}

IBaseData* IDataModelFilter::dataAt(int row) const
{
    return IDataModel::dataAt(index(row, 0));
}

Qt::ItemFlags IDataModelFilter::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QSortFilterProxyModel::flags(index);
    if (local_ && index.isValid())
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

QVariant IDataModelFilter::data(const QModelIndex& index, int role) const
{
    if (role != Qt::CheckStateRole)
        return QSortFilterProxyModel::data(index, role);
    if (!local_ || !index.isValid())
        return {};
    return checks_.value(IDataModel::dataAt(index), Qt::Unchecked);
}

bool IDataModelFilter::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::CheckStateRole)
        return QSortFilterProxyModel::setData(index, value, role);
    const IBaseData* item = IDataModel::dataAt(index);
    if (!local_ || !item)
        return false;
    const auto state = static_cast<Qt::CheckState>(value.toInt());
    if (checks_.value(item, Qt::Unchecked) != state) {
        checks_.insert(item, state);
        emit dataChanged(index, index, {Qt::CheckStateRole});
    }
    return true;
}

bool IDataModelFilter::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const
{
    if (!accepts_)
        return true;
    IBaseData* item = IDataModel::dataAt(sourceModel()->index(sourceRow, 0, sourceParent));
    return item && accepts_(item);
}

void IDataModelFilter::forgetRows(int first, int last)
{
    for (int row = first; row <= last; ++row)
        checks_.remove(IDataModel::dataAt(sourceModel()->index(row, 0)));
}

} // namespace Tavorin
