#include "IPreventDataUpdates.h"

#include "IBaseData.h"

namespace Tavorin {

IPreventDataUpdates::IPreventDataUpdates(IBaseData* data)
    : data_(data)
{
    if (data_)
        data_->holdUpdates();
}

IPreventDataUpdates::~IPreventDataUpdates()
{
    if (data_)
        data_->releaseUpdates();
}

} // namespace Tavorin
