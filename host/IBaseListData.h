#pragma once
// The data items of one mesh, in the order they were added. Names need not be unique; a lookup by
// name gives the first item of that name.

#include <QList>
#include <QObject>

namespace Tavorin {

class IBaseData;
class IMesh;

class IBaseListData : public QObject {
    Q_OBJECT
public:
    explicit IBaseListData(IMesh* mesh);
    ~IBaseListData() override;

    IMesh* mesh() const { return mesh_; }

    // The first item named name, or null.
    IBaseData* Data(const QString& name) const;

    int count() const { return items_.size(); }
    IBaseData* at(int row) const { return items_.value(row); }
    int indexOf(const IBaseData* data) const;
    QList<IBaseData*> items() const { return items_; }

    // Takes ownership of an item made on this list's mesh; refuses anything else.
    bool add(IBaseData* data);
    // Destroys the item; false when it is not in this list.
    bool remove(IBaseData* data);

signals:
    void dataAboutToBeAdded(int row);
    void dataAdded(Tavorin::IBaseData* data);
    void dataAboutToBeRemoved(int row);
    void dataRemoved();

private:
    friend class IBaseData;
    // Called by a dying item, so that an item deleted by anyone leaves no dangling entry.
    void forget(IBaseData* item);

    IMesh* mesh_;
    QList<IBaseData*> items_;
};

} // namespace Tavorin
