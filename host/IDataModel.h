#pragma once
// List model of one mesh's data items: one row per item, display text = its name, DataRole = the
// IBaseData*. Follows the mesh's data list as items come, go and are renamed; empty once the mesh is gone.

#include <QAbstractListModel>
#include <QPointer>

namespace Tavorin {

class IBaseData;
class IMesh;

class IDataModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum Roles { DataRole = Qt::UserRole + 1 };

    explicit IDataModel(IMesh* mesh, QObject* parent = nullptr);

    IMesh* mesh() const;
    IBaseData* dataAt(int row) const;
    static IBaseData* dataAt(const QModelIndex& index);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    void watch(IBaseData* item);

    QPointer<IMesh> mesh_;
};

} // namespace Tavorin
