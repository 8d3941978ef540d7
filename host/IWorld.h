#pragma once
// A world: the meshes of one project, the selection, the interaction modes and the current view.

#include <QObject>
#include <QString>

namespace Tavorin {

class IBaseData;
class IMesh;
class IMeshList;
class ISelectionModel;
class ModeStack;

class IWorld : public QObject {
    Q_OBJECT
public:
    explicit IWorld(QObject* parent = nullptr);
    ~IWorld() override;

    IMeshList* MeshList() const { return meshList_; }
    ISelectionModel* getSelectionModel() const { return selection_; }
    ModeStack* GetModeStack() const { return modeStack_; }

    // Takes ownership of the mesh (see IMeshList::addMesh).
    bool addMesh(IMesh* mesh);

    // Makes a new, empty data item on a mesh of this world and adds it to the mesh's data list.
    // dataClass: 1 point data, 2 cell data; componentCount: 1 (scalars); dataType: 2 float (the only
    // type made here). Names need not be unique. Null when the mesh is not in this world, the name is
    // empty or a code is not one of those.
    virtual IBaseData* createProperty(IMesh* mesh, const QString& name, const QString& description,
                                      int dataClass, int componentCount, int dataType);

    // Paints the item in the current view: recorded on its mesh for currentGLViewID().
    void paintDataCurrentView(IBaseData* data);

    int currentGLViewID() const { return currentViewId_; }
    void setCurrentGLViewID(int viewId);

signals:
    void propertyCreated(Tavorin::IBaseData* data);
    void dataPainted(Tavorin::IBaseData* data, int viewId);
    void currentGLViewChanged(int viewId);

private:
    IMeshList* meshList_;
    ISelectionModel* selection_;
    ModeStack* modeStack_;
    int currentViewId_ = 0;
};

} // namespace Tavorin
