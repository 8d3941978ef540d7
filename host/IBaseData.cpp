#include "IBaseData.h"

#include "IBaseListData.h"

namespace Tavorin {

IBaseData::IBaseData(IMesh* mesh, const QString& name, const QString& description, int dataClass,
                     int componentCount)
    : ITreeEntity(name)
    , mesh_(mesh)
    , description_(description)
    , dataClass_(dataClass)
    , componentCount_(componentCount)
{
}

IBaseData::~IBaseData()
{
    if (auto* list = qobject_cast<IBaseListData*>(parent()))
        list->forget(this);
}

void IBaseData::notifyDataChanged()
{
    if (holdCount_ == 0)
        emit dataChanged();
}

void IBaseData::releaseUpdates()
{
    if (holdCount_ > 0 && --holdCount_ == 0)
        emit dataChanged();
}

} // namespace Tavorin
