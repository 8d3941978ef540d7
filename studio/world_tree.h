#pragma once
// The object tree of the world: one row per grid, its data items below it. Choosing a row feeds the
// world's selection (a data item selects its grid) and paints the item in the current view; the
// context menu of a row offers the actions the host's context-action manager accepts for it.

#include <QList>
#include <QSet>
#include <QTreeView>

class QMenu;
class QStandardItem;
class QStandardItemModel;

namespace Tavorin {
class IBaseData;
class IBaseListData;
class IMesh;
class ITreeEntity;
class IWorld;
} // namespace Tavorin

namespace spectrafil {

class WorldTree : public QTreeView {
    Q_OBJECT
public:
    explicit WorldTree(Tavorin::IWorld* world, QWidget* parent = nullptr);

    Tavorin::ITreeEntity* entityAt(const QModelIndex& index) const;
    QModelIndex indexOf(const Tavorin::ITreeEntity* entity) const;
    // The entity of the current row, or null.
    Tavorin::ITreeEntity* currentEntity() const;
    // Makes the entity's row current, which also selects and paints as a click does.
    void setCurrentEntity(const Tavorin::ITreeEntity* entity);

    // The context menu of an entity: the host's actions for it, then the studio's own actions for a
    // grid, right beside the host's, or for a data item, after a separator. The caller owns the menu.
    QMenu* contextMenuFor(Tavorin::ITreeEntity* entity, QWidget* parent);
    void setGridActions(const QList<QAction*>& actions) { gridActions_ = actions; }
    void setDataItemActions(const QList<QAction*>& actions) { dataItemActions_ = actions; }

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    void watchMesh(Tavorin::IMesh* mesh);
    void watchEntity(Tavorin::ITreeEntity* entity);
    // Builds the rows afresh, leaving out an entity that is on its way out of the world, and keeps
    // the current row and the expanded grids.
    void rebuild(const QObject* leaving = nullptr);
    QStandardItem* makeItem(Tavorin::ITreeEntity* entity) const;
    void refreshFonts();
    void choose(Tavorin::ITreeEntity* entity);
    void showContextMenu(const QPoint& position);
    void followPainted(Tavorin::IBaseData* data, int viewId);

    Tavorin::IWorld* world_;
    QStandardItemModel* model_;
    QList<QAction*> gridActions_;
    QList<QAction*> dataItemActions_;
    QSet<const QObject*> collapsed_;
    bool quiet_ = false; // rows change without the user choosing
};

} // namespace spectrafil
