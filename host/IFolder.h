#pragma once
// A folder of the object tree: groups other entities, holds no geometry and no data.

#include "ITreeEntity.h"

#include <QList>
#include <QPointer>

namespace Tavorin {

class IFolder : public ITreeEntity {
    Q_OBJECT
public:
    explicit IFolder(const QString& name, QObject* parent = nullptr);

    // The folder lists its entries without owning them; an entry that is destroyed drops out.
    void addEntry(ITreeEntity* entity);
    void removeEntry(ITreeEntity* entity);
    QList<ITreeEntity*> entries() const;

private:
    QList<QPointer<ITreeEntity>> entries_;
};

} // namespace Tavorin
