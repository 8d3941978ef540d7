#include "IGLWindow.h"

#include "IActionContext.h"
#include "IUniverse.h"
#include "IWorld.h"
#include "Mode.h"
#include "ModeStack.h"

namespace Tavorin {

IGLWindow::IGLWindow(int viewId, QObject* parent)
    : QObject(parent)
    , viewId_(viewId)
    , context_(new IActionContext(this))
{
}

void IGLWindow::reportPick(ITreeEntity* hit)
{
    context_->setPtr(hit);
    if (Mode* mode = world()->GetModeStack()->top())
        mode->objectPicked(hit);
}

} // namespace Tavorin
