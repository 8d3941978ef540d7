#pragma once
// The host process's root object: the current world, the interaction modes and the switches that
// apply to the whole application. One per process, made on first use.

#include <QObject>

namespace Tavorin {

class IModeList;
class IWorld;

class IUniverse : public QObject {
    Q_OBJECT
public:
    static IUniverse* Instance();

    IWorld* ThisWorld() const { return world_; }
    // Replaces the current world by a new, empty one (the old one and its meshes are destroyed).
    IWorld* resetWorld();

    // Preview features are off unless the host turns them on.
    bool futureFeaturesEnabled() const { return futureFeatures_; }
    void setFutureFeaturesEnabled(bool enabled);

    IModeList* GetModeList() const { return modeList_; }

signals:
    void worldChanged(Tavorin::IWorld* world);
    void futureFeaturesChanged(bool enabled);

private:
    IUniverse();
    ~IUniverse() override;

    IWorld* world_;
    IModeList* modeList_;
    bool futureFeatures_ = false;
};

// Shorthands for IUniverse::Instance() and its current world.
IUniverse* universe();
IWorld* world();

} // namespace Tavorin
