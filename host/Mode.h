#pragma once
// An interaction mode of the views (picking, measuring, ...). Modes are pushed on the world's
// ModeStack; the topmost one receives what the user does in the views.

#include <QObject>
#include <QPointer>

namespace Tavorin {

class ITreeEntity;
class ModeStack;

class Mode : public QObject {
    Q_OBJECT
public:
    explicit Mode(const QString& name, QObject* parent = nullptr);

    QString name() const { return name_; }
    // The stack this mode is on, or null when it is not active.
    ModeStack* stack() const;
    bool isActive() const { return stack() != nullptr; }

    // Called by the view when the user clicks an object (null for empty space) while this mode is on top.
    virtual void objectPicked(ITreeEntity* hit);
    // Leaves the mode: pops it when it is the top of its stack.
    void finish();

protected:
    virtual void activated() {}
    virtual void deactivated() {}

private:
    friend class ModeStack;
    void attach(ModeStack* stack);
    void detach();

    QString name_;
    QPointer<ModeStack> stack_;
};

} // namespace Tavorin
