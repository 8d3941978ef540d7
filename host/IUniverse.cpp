#include "IUniverse.h"

#include "IModeList.h"
#include "IPickObjectMode.h"
#include "IWorld.h"

namespace Tavorin {

IUniverse* IUniverse::Instance()
{
    static IUniverse instance;
    return &instance;
}

IUniverse::IUniverse()
    : world_(new IWorld(this))
    , modeList_(new IModeList(this))
{
    modeList_->addMode(new IPickObjectMode);
}

IUniverse::~IUniverse()
{
    // The world's mode stack refers to the modes: the world goes first.
    delete world_;
}

IWorld* IUniverse::resetWorld()
{
    IWorld* old = world_;
    world_ = new IWorld(this);
    delete old;
    emit worldChanged(world_);
    return world_;
}

void IUniverse::setFutureFeaturesEnabled(bool enabled)
{
    if (enabled == futureFeatures_)
        return;
    futureFeatures_ = enabled;
    emit futureFeaturesChanged(enabled);
}

IUniverse* universe()
{
    return IUniverse::Instance();
}

IWorld* world()
{
    return IUniverse::Instance()->ThisWorld();
}

} // namespace Tavorin
