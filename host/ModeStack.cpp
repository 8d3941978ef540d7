#include "ModeStack.h"

#include "Mode.h"

namespace Tavorin {

ModeStack::ModeStack(QObject* parent)
    : QObject(parent)
{
}

ModeStack::~ModeStack()
{
    for (Entry& entry : entries_) {
        disconnect(entry.requesterGone);
        disconnect(entry.modeGone);
    }
}

bool ModeStack::Push(Mode* mode, QObject* requester)
{
    if (!mode || contains(mode) || mode->isActive())
        return false;
    Entry entry;
    entry.mode = mode;
    if (requester) {
        entry.requesterGone = connect(requester, &QObject::destroyed, this, [this, mode] {
            for (int i = 0; i < entries_.size(); ++i) {
                if (entries_[i].mode == mode)
                    return removeAt(i);
            }
        });
    }
    // A mode destroyed while active simply drops out; there is nothing left to tell about it.
    entry.modeGone = connect(mode, &QObject::destroyed, this, [this] {
        for (int i = entries_.size() - 1; i >= 0; --i) {
            if (!entries_[i].mode) {
                disconnect(entries_[i].requesterGone);
                entries_.removeAt(i);
            }
        }
    });
    entries_.append(entry);
    mode->attach(this);
    emit stackPushed(mode);
    return true;
}

Mode* ModeStack::Pop()
{
    Mode* mode = top();
    if (mode)
        removeAt(entries_.size() - 1);
    return mode;
}

void ModeStack::clear()
{
    while (Pop()) {
    }
}

Mode* ModeStack::top() const
{
    return entries_.isEmpty() ? nullptr : entries_.last().mode.data();
}

bool ModeStack::contains(const Mode* mode) const
{
    for (const Entry& entry : entries_) {
        if (entry.mode == mode)
            return true;
    }
    return false;
}

void ModeStack::removeAt(int index)
{
    Mode* mode = entries_[index].mode.data();
    emit stackAboutToPop(mode);
    // A slot may have changed the stack; find the entry again.
    for (int i = 0; i < entries_.size(); ++i) {
        if (entries_[i].mode == mode) {
            disconnect(entries_[i].requesterGone);
            disconnect(entries_[i].modeGone);
            entries_.removeAt(i);
            mode->detach();
            emit stackPopped(mode);
            return;
        }
    }
}

} // namespace Tavorin
