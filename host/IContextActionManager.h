#pragma once
// The actions offered in the object tree's context menu. Each action comes with a predicate that
// says for which tree entities it is offered. The manager keeps (owns) the actions.

#include <QList>
#include <QObject>

#include <functional>

class QAction;

namespace Tavorin {

class ITreeEntity;

using IEntityPredicate = std::function<bool(ITreeEntity*)>;

class IContextActionManager : public QObject {
    Q_OBJECT
public:
    static IContextActionManager* instance();

    // Takes ownership of the action. An empty predicate offers it for every entity. Null is ignored.
    void registerAction(QAction* action, IEntityPredicate predicate);

    // The actions accepted for the entity, in registration order; none for null.
    QList<QAction*> actionsFor(ITreeEntity* entity) const;
    // Every registered action, in registration order.
    QList<QAction*> actions() const;
    // Destroys every registered action.
    void clear();

signals:
    void actionRegistered(QAction* action);

private:
    IContextActionManager() = default;
    ~IContextActionManager() override;

    struct Entry {
        QAction* action;
        IEntityPredicate accepts;
    };
    QList<Entry> entries_;
};

} // namespace Tavorin
