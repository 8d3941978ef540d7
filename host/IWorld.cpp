#include "IWorld.h"

#include "IBaseDataFloat.h"
#include "IBaseListData.h"
#include "IMesh.h"
#include "IMeshList.h"
#include "ISelectionModel.h"
#include "ModeStack.h"

namespace Tavorin {

IWorld::IWorld(QObject* parent)
    : QObject(parent)
    , meshList_(new IMeshList(this))
    , selection_(new ISelectionModel(this))
    , modeStack_(new ModeStack(this))
{
}

IWorld::~IWorld()
{
    // Modes must not outlive the world in an active state, and the meshes go before the selection.
    modeStack_->clear();
    delete meshList_;
    meshList_ = nullptr;
}

bool IWorld::addMesh(IMesh* mesh)
{
    return meshList_->addMesh(mesh);
}

IBaseData* IWorld::createProperty(IMesh* mesh, const QString& name, const QString& description, int dataClass,
                                  int componentCount, int dataType)
{
    const bool knownClass = dataClass == IBaseData::PointData || dataClass == IBaseData::CellData;
    if (!mesh || !meshList_->contains(mesh) || name.isEmpty() || !knownClass || componentCount != 1
        || dataType != IBaseData::FloatData)
        return nullptr;
    auto* data = new IBaseDataFloat(mesh, name, description, dataClass, componentCount);
    mesh->DataList()->add(data);
    emit propertyCreated(data);
    return data;
}

void IWorld::paintDataCurrentView(IBaseData* data)
{
    if (!data || !data->mesh() || !meshList_->contains(data->mesh()))
        return;
    data->mesh()->setPaintedData(currentViewId_, data);
    emit dataPainted(data, currentViewId_);
}

void IWorld::setCurrentGLViewID(int viewId)
{
    if (viewId == currentViewId_)
        return;
    currentViewId_ = viewId;
    emit currentGLViewChanged(viewId);
}

} // namespace Tavorin
