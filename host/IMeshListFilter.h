#pragma once
// A sortable choice list of a world's meshes: one row per mesh the filter function accepts,
// display text = the mesh's name. Follows the mesh list as meshes come, go and are renamed.

#include <QSortFilterProxyModel>

#include <functional>

namespace Tavorin {

class IMesh;
class IMeshList;

class IMeshListFilter : public QSortFilterProxyModel {
    Q_OBJECT
public:
    IMeshListFilter(IMeshList* meshList, QObject* parent = nullptr);

    // An empty function accepts every mesh.
    void setFilterFunction(std::function<bool(IMesh*)> accepts);
    IMesh* meshAt(int row) const;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    std::function<bool(IMesh*)> accepts_;
};

} // namespace Tavorin
