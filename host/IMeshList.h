#pragma once
// The meshes of a world, in the order they were added. It is also a list model (one row per mesh,
// display text = the mesh's name, MeshRole = the IMesh*), which the host's choice lists filter.

#include <QAbstractListModel>
#include <QList>

namespace Tavorin {

class IMesh;

class IMeshList : public QAbstractListModel {
    Q_OBJECT
public:
    enum Roles { MeshRole = Qt::UserRole + 1 };

    explicit IMeshList(QObject* parent = nullptr);
    ~IMeshList() override;

    // The first mesh named name, or null.
    IMesh* Mesh(const QString& name) const;

    int count() const { return meshes_.size(); }
    IMesh* at(int row) const { return meshes_.value(row); }
    int indexOf(const IMesh* mesh) const;
    bool contains(const IMesh* mesh) const { return indexOf(mesh) >= 0; }
    QList<IMesh*> meshes() const { return meshes_; }

    // Takes ownership; false for null or a mesh already listed.
    bool addMesh(IMesh* mesh);
    // Destroys the mesh; false when it is not listed.
    bool removeMesh(IMesh* mesh);
    static IMesh* meshAt(const QModelIndex& index);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

signals:
    void meshAdded(Tavorin::IMesh* mesh);
    void meshAboutToBeRemoved(Tavorin::IMesh* mesh);
    void meshRemoved();

private:
    friend class IMesh;
    // Called by a dying mesh, so that a mesh deleted by anyone leaves no dangling row.
    void forget(IMesh* mesh);
    void meshRenamed(IMesh* mesh);

    QList<IMesh*> meshes_;
};

} // namespace Tavorin
