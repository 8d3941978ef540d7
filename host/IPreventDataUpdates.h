#pragma once
// Holds a data item's change notifications while many values are written: the item emits one
// dataChanged when the last guard on it is destroyed. Guards nest; a null item is allowed.

#include <QPointer>

namespace Tavorin {

class IBaseData;

class IPreventDataUpdates {
public:
    explicit IPreventDataUpdates(IBaseData* data);
    ~IPreventDataUpdates();

    IPreventDataUpdates(const IPreventDataUpdates&) = delete;
    IPreventDataUpdates& operator=(const IPreventDataUpdates&) = delete;

private:
    QPointer<IBaseData> data_;
};

} // namespace Tavorin
