#pragma once
// The mesh the user has selected in the world (tree or views), or none.

#include <QObject>
#include <QPointer>

namespace Tavorin {

class IMesh;

class ISelectionModel : public QObject {
    Q_OBJECT
public:
    explicit ISelectionModel(QObject* parent = nullptr);

    IMesh* getMesh() const { return mesh_.data(); }
    void setMesh(IMesh* mesh);

signals:
    void meshSelectionChanged(Tavorin::IMesh* mesh);

private:
    QPointer<IMesh> mesh_;
};

} // namespace Tavorin
