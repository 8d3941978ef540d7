#pragma once
// The stack of active interaction modes of a world. The top mode is the one in charge; popping it
// hands control back to the mode below. stackAboutToPop is emitted before a mode leaves the stack.

#include <QList>
#include <QObject>
#include <QPointer>

namespace Tavorin {

class Mode;

class ModeStack : public QObject {
    Q_OBJECT
public:
    explicit ModeStack(QObject* parent = nullptr);
    ~ModeStack() override;

    // Makes mode the active one. The requester, if given, ends the mode when it is destroyed first.
    // False for null or a mode already on the stack.
    bool Push(Mode* mode, QObject* requester);
    // Ends the top mode and returns it; null when the stack is empty.
    Mode* Pop();
    void clear();

    Mode* top() const;
    int depth() const { return entries_.size(); }
    bool isEmpty() const { return entries_.isEmpty(); }
    bool contains(const Mode* mode) const;

signals:
    void stackPushed(Mode* mode);
    void stackAboutToPop(Mode* mode);
    void stackPopped(Mode* mode);

private:
    struct Entry {
        QPointer<Mode> mode;
        QMetaObject::Connection requesterGone;
        QMetaObject::Connection modeGone;
    };
    void removeAt(int index);

    QList<Entry> entries_;
};

} // namespace Tavorin
