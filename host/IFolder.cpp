#include "IFolder.h"

namespace Tavorin {

IFolder::IFolder(const QString& name, QObject* parent)
    : ITreeEntity(name, parent)
{
}

void IFolder::addEntry(ITreeEntity* entity)
{
    if (entity && entity != this && !entries().contains(entity))
        entries_.append(entity);
}

void IFolder::removeEntry(ITreeEntity* entity)
{
    entries_.removeAll(entity);
}

QList<ITreeEntity*> IFolder::entries() const
{
    QList<ITreeEntity*> alive;
    for (const QPointer<ITreeEntity>& entry : entries_) {
        if (entry)
            alive.append(entry.data());
    }
    return alive;
}

} // namespace Tavorin
