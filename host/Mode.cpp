#include "Mode.h"

#include "ModeStack.h"

namespace Tavorin {

Mode::Mode(const QString& name, QObject* parent)
    : QObject(parent)
    , name_(name)
{
}

ModeStack* Mode::stack() const
{
    return stack_.data();
}

void Mode::objectPicked(ITreeEntity*) {}

void Mode::finish()
{
    if (stack_ && stack_->top() == this)
        stack_->Pop();
}

void Mode::attach(ModeStack* stack)
{
    stack_ = stack;
    activated();
}

void Mode::detach()
{
    stack_ = nullptr;
    deactivated();
}

} // namespace Tavorin
