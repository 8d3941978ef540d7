#pragma once
// The interaction modes the host offers, looked up by name ("Pick object", ...). Owns its modes.

#include <QList>
#include <QObject>

namespace Tavorin {

class Mode;

class IModeList : public QObject {
    Q_OBJECT
public:
    explicit IModeList(QObject* parent = nullptr);

    // The mode named name, or null.
    Mode* GetMode(const QString& name) const;
    // Takes ownership; false for null or a name already taken.
    bool addMode(Mode* mode);
    QList<Mode*> modes() const { return modes_; }

private:
    QList<Mode*> modes_;
};

} // namespace Tavorin
