#include "IModeList.h"

#include "Mode.h"

namespace Tavorin {

IModeList::IModeList(QObject* parent)
    : QObject(parent)
{
}

Mode* IModeList::GetMode(const QString& name) const
{
    for (Mode* mode : modes_) {
        if (mode->name() == name)
            return mode;
    }
    return nullptr;
}

bool IModeList::addMode(Mode* mode)
{
    if (!mode || GetMode(mode->name()))
        return false;
    mode->setParent(this);
    modes_.append(mode);
    return true;
}

} // namespace Tavorin
