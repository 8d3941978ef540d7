#pragma once
// A sortable choice list of a mesh's data items: one row per item the filter function accepts,
// display text = the item's name. With a local check state every row gets a tick box whose state
// lives in this list only (ticking chooses an item here; it changes nothing on the item itself).

#include <QHash>
#include <QSortFilterProxyModel>

#include <functional>

namespace Tavorin {

class IBaseData;
class IDataModel;

class IDataModelFilter : public QSortFilterProxyModel {
    Q_OBJECT
public:
    IDataModelFilter(IDataModel* model, QObject* parent = nullptr);

    // An empty function accepts every item.
    void setFilterFunction(std::function<bool(IBaseData*)> accepts);
    // Rows are checkable (all unticked at first) while on; without it rows carry no check state.
    void setLocalCheckstate(bool local);
    bool localCheckstate() const { return local_; }

    IBaseData* dataAt(int row) const;

    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    void forgetRows(int first, int last);

    std::function<bool(IBaseData*)> accepts_;
    bool local_ = false;
    QHash<const IBaseData*, Qt::CheckState> checks_;
};

} // namespace Tavorin
