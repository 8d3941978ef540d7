#include "world_tree.h"

#include <I2DGridMesh.h>
#include <IBaseData.h>
#include <IBaseListData.h>
#include <IContextActionManager.h>
#include <IMesh.h>
#include <IMeshList.h>
#include <ISelectionModel.h>
#include <IWorld.h>

#include <QMenu>
#include <QStandardItemModel>

namespace spectrafil {
namespace {

constexpr int EntityRole = Qt::UserRole + 1;

} // namespace

WorldTree::WorldTree(Tavorin::IWorld* world, QWidget* parent)
    : QTreeView(parent)
    , world_(world)
    , model_(new QStandardItemModel(this))
{
    setModel(model_);
    setHeaderHidden(true);
    setEditTriggers(NoEditTriggers);
    setSelectionMode(SingleSelection);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, &WorldTree::showContextMenu);
    connect(this, &QTreeView::collapsed, this, [this](const QModelIndex& index) { collapsed_.insert(entityAt(index)); });
    connect(this, &QTreeView::expanded, this, [this](const QModelIndex& index) { collapsed_.remove(entityAt(index)); });

    Tavorin::IMeshList* meshes = world->MeshList();
    connect(meshes, &Tavorin::IMeshList::meshAdded, this, [this](Tavorin::IMesh* mesh) {
        watchMesh(mesh);
        rebuild();
    });
    connect(meshes, &Tavorin::IMeshList::meshAboutToBeRemoved, this, [this](Tavorin::IMesh* mesh) { rebuild(mesh); });
    connect(world, &Tavorin::IWorld::currentGLViewChanged, this, &WorldTree::refreshFonts);
    connect(world, &Tavorin::IWorld::dataPainted, this, &WorldTree::followPainted);
    for (Tavorin::IMesh* mesh : meshes->meshes())
        watchMesh(mesh);
    rebuild();
}

Tavorin::ITreeEntity* WorldTree::entityAt(const QModelIndex& index) const
{
    return qobject_cast<Tavorin::ITreeEntity*>(index.data(EntityRole).value<QObject*>());
}

QModelIndex WorldTree::indexOf(const Tavorin::ITreeEntity* entity) const
{
    if (!entity)
        return QModelIndex();
    const QModelIndexList found = model_->match(model_->index(0, 0), EntityRole,
                                                QVariant::fromValue(const_cast<QObject*>(static_cast<const QObject*>(entity))),
                                                1, Qt::MatchExactly | Qt::MatchRecursive);
    return found.value(0);
}

Tavorin::ITreeEntity* WorldTree::currentEntity() const
{
    return entityAt(currentIndex());
}

void WorldTree::setCurrentEntity(const Tavorin::ITreeEntity* entity)
{
    setCurrentIndex(indexOf(entity));
}

QMenu* WorldTree::contextMenuFor(Tavorin::ITreeEntity* entity, QWidget* parent)
{
    auto* menu = new QMenu(parent);
    menu->addActions(Tavorin::IContextActionManager::instance()->actionsFor(entity));
    if (qobject_cast<Tavorin::I2DGridMesh*>(entity))
        menu->addActions(gridActions_);
    if (qobject_cast<Tavorin::IBaseData*>(entity) && !dataItemActions_.isEmpty()) {
        if (!menu->isEmpty())
            menu->addSeparator();
        menu->addActions(dataItemActions_);
    }
    return menu;
}

void WorldTree::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTreeView::currentChanged(current, previous);
    if (quiet_)
        return;
    quiet_ = true; // what choosing paints is not followed
    choose(entityAt(current));
    quiet_ = false;
}

void WorldTree::watchMesh(Tavorin::IMesh* mesh)
{
    watchEntity(mesh);
    Tavorin::IBaseListData* list = mesh->DataList();
    connect(list, &Tavorin::IBaseListData::dataAdded, this, [this](Tavorin::IBaseData* data) {
        watchEntity(data);
        rebuild();
    });
    connect(list, &Tavorin::IBaseListData::dataAboutToBeRemoved, this, [this, list](int row) { rebuild(list->at(row)); });
    connect(mesh, &Tavorin::IMesh::paintedDataChanged, this, &WorldTree::refreshFonts);
    for (Tavorin::IBaseData* data : list->items())
        watchEntity(data);
}

void WorldTree::watchEntity(Tavorin::ITreeEntity* entity)
{
    connect(entity, &Tavorin::ITreeEntity::nameChanged, this, [this, entity](const QString& name) {
        if (QStandardItem* item = model_->itemFromIndex(indexOf(entity)))
            item->setText(name);
    });
    connect(entity, &Tavorin::ITreeEntity::visibleInTreeChanged, this, [this] { rebuild(); });
}

void WorldTree::rebuild(const QObject* leaving)
{
    const Tavorin::ITreeEntity* current = currentEntity();
    collapsed_.remove(leaving);
    quiet_ = true;
    model_->clear();
    for (Tavorin::IMesh* mesh : world_->MeshList()->meshes()) {
        if (mesh == leaving || !mesh->isVisibleInTree())
            continue;
        QStandardItem* row = makeItem(mesh);
        for (Tavorin::IBaseData* data : mesh->DataList()->items())
            if (data != leaving && data->isVisibleInTree())
                row->appendRow(makeItem(data));
        model_->appendRow(row);
        setExpanded(row->index(), !collapsed_.contains(mesh));
    }
    refreshFonts();
    if (current != leaving)
        setCurrentIndex(indexOf(current));
    quiet_ = false;
}

QStandardItem* WorldTree::makeItem(Tavorin::ITreeEntity* entity) const
{
    const bool isData = qobject_cast<Tavorin::IBaseData*>(entity) != nullptr;
    auto* item = new QStandardItem(style()->standardIcon(isData ? QStyle::SP_FileIcon : QStyle::SP_DirIcon),
                                   entity->Name());
    item->setData(QVariant::fromValue(static_cast<QObject*>(entity)), EntityRole);
    return item;
}

// The item each grid paints in the current view is shown in bold.
void WorldTree::refreshFonts()
{
    for (int row = 0; row < model_->rowCount(); ++row) {
        QStandardItem* meshItem = model_->item(row);
        const auto* mesh = qobject_cast<Tavorin::IMesh*>(entityAt(meshItem->index()));
        const Tavorin::IBaseData* painted = mesh ? mesh->GetPaintedData(world_->currentGLViewID()) : nullptr;
        for (int child = 0; child < meshItem->rowCount(); ++child) {
            QStandardItem* item = meshItem->child(child);
            QFont font = item->font();
            font.setBold(painted && entityAt(item->index()) == painted);
            item->setFont(font);
        }
    }
}

// A data item selects its grid and is painted; a grid is selected and shows what it paints, or its
// first item when it paints nothing yet.
void WorldTree::choose(Tavorin::ITreeEntity* entity)
{
    Tavorin::ISelectionModel* selection = world_->getSelectionModel();
    if (auto* data = qobject_cast<Tavorin::IBaseData*>(entity)) {
        selection->setMesh(data->mesh());
        world_->paintDataCurrentView(data);
    } else if (auto* mesh = qobject_cast<Tavorin::IMesh*>(entity)) {
        selection->setMesh(mesh);
        Tavorin::IBaseData* painted = mesh->GetPaintedData(world_->currentGLViewID());
        if (!painted)
            painted = mesh->DataList()->at(0);
        if (painted)
            world_->paintDataCurrentView(painted);
    } else {
        selection->setMesh(nullptr);
    }
}

void WorldTree::showContextMenu(const QPoint& position)
{
    const QModelIndex index = indexAt(position);
    if (!index.isValid())
        return;
    setCurrentIndex(index);
    QMenu* menu = contextMenuFor(entityAt(index), this);
    if (menu->isEmpty())
        menu->addAction(tr("No actions for this object"))->setEnabled(false);
    menu->exec(viewport()->mapToGlobal(position));
    delete menu;
}

// A newly painted item (a filter result, say) becomes the current row and selects its grid.
void WorldTree::followPainted(Tavorin::IBaseData* data, int viewId)
{
    if (!data || viewId != world_->currentGLViewID() || quiet_)
        return;
    quiet_ = true;
    setCurrentEntity(data);
    world_->getSelectionModel()->setMesh(data->mesh());
    quiet_ = false;
}

} // namespace spectrafil
