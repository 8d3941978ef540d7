#pragma once
// A 3D view of the host. It has an id (data items are painted per view) and a mouse-action
// context where it records what the user picked.

#include <QObject>

namespace Tavorin {

class IActionContext;
class ITreeEntity;

class IGLWindow : public QObject {
    Q_OBJECT
public:
    explicit IGLWindow(int viewId = 0, QObject* parent = nullptr);

    int viewID() const { return viewId_; }
    IActionContext* getMouseActionContext() const { return context_; }

    // Called by the view's picking code: records the hit (null for empty space) and hands it to
    // the world's active mode, if any.
    void reportPick(ITreeEntity* hit);

private:
    int viewId_;
    IActionContext* context_;
};

} // namespace Tavorin
