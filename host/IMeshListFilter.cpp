#include "IMeshListFilter.h"

#include "IMeshList.h"

namespace Tavorin {

IMeshListFilter::IMeshListFilter(IMeshList* meshList, QObject* parent)
    : QSortFilterProxyModel(parent)
{
    setSourceModel(meshList);
    setSortCaseSensitivity(Qt::CaseInsensitive);
}

void IMeshListFilter::setFilterFunction(std::function<bool(IMesh*)> accepts)
{
    accepts_ = std::move(accepts);
    invalidateFilter();
}

IMesh* IMeshListFilter::meshAt(int row) const
{
    return IMeshList::meshAt(index(row, 0));
}

bool IMeshListFilter::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const
{
    if (!accepts_)
        return true;
    return accepts_(IMeshList::meshAt(sourceModel()->index(sourceRow, 0, sourceParent)));
}

} // namespace Tavorin
