#include "IContextActionManager.h"

#include <QAction>

namespace Tavorin {

IContextActionManager* IContextActionManager::instance()
{
    static IContextActionManager manager;
    return &manager;
}

IContextActionManager::~IContextActionManager()
{
    clear();
}

void IContextActionManager::registerAction(QAction* action, IEntityPredicate predicate)
{
    if (!action)
        return;
    action->setParent(this);
    entries_.append({action, std::move(predicate)});
    // An action deleted by its creator leaves the menu.
    connect(action, &QObject::destroyed, this, [this, action] {
        for (int i = entries_.size() - 1; i >= 0; --i) {
            if (entries_[i].action == action)
                entries_.removeAt(i);
        }
    });
    emit actionRegistered(action);
}

QList<QAction*> IContextActionManager::actionsFor(ITreeEntity* entity) const
{
    QList<QAction*> offered;
    if (!entity)
        return offered;
    for (const Entry& entry : entries_) {
        if (!entry.accepts || entry.accepts(entity))
            offered.append(entry.action);
    }
    return offered;
}

QList<QAction*> IContextActionManager::actions() const
{
    QList<QAction*> all;
    for (const Entry& entry : entries_)
        all.append(entry.action);
    return all;
}

void IContextActionManager::clear()
{
    const QList<Entry> entries = std::exchange(entries_, {});
    for (const Entry& entry : entries) {
        disconnect(entry.action, nullptr, this, nullptr);
        delete entry.action;
    }
}

} // namespace Tavorin
