#include "IBaseListData.h"

#include "IBaseData.h"
#include "IMesh.h"

#include <utility>

namespace Tavorin {

IBaseListData::IBaseListData(IMesh* mesh)
    : QObject(mesh)
    , mesh_(mesh)
{
}

IBaseListData::~IBaseListData()
{
    const QList<IBaseData*> items = std::exchange(items_, {});
    for (IBaseData* item : items)
        delete item;
}

IBaseData* IBaseListData::Data(const QString& name) const
{
    for (IBaseData* item : items_) {
        if (item->Name() == name)
            return item;
    }
    return nullptr;
}

int IBaseListData::indexOf(const IBaseData* data) const
{
    for (int row = 0; row < items_.size(); ++row) {
        if (items_[row] == data)
            return row;
    }
    return -1;
}

bool IBaseListData::add(IBaseData* data)
{
    if (!data || data->mesh() != mesh_ || indexOf(data) >= 0)
        return false;
    emit dataAboutToBeAdded(items_.size());
    data->setParent(this);
    items_.append(data);
    emit dataAdded(data);
    return true;
}

bool IBaseListData::remove(IBaseData* data)
{
    if (indexOf(data) < 0)
        return false;
    delete data; // forget() takes it out of the list
    return true;
}

void IBaseListData::forget(IBaseData* item)
{
    const int row = indexOf(item);
    if (row < 0)
        return;
    emit dataAboutToBeRemoved(row);
    items_.removeAt(row);
    emit dataRemoved();
}

} // namespace Tavorin
