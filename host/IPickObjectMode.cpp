#include "IPickObjectMode.h"

#include "IActionContext.h"
#include "IGLWindow.h"
#include "IMain.h"

namespace Tavorin {

IPickObjectMode::IPickObjectMode(QObject* parent)
    : Mode(QString::fromLatin1(Name), parent)
{
}

void IPickObjectMode::objectPicked(ITreeEntity* hit)
{
    IMain::getCurrentGLWindow()->getMouseActionContext()->setPtr(hit);
    finish();
}

void IPickObjectMode::activated()
{
    IMain::getCurrentGLWindow()->getMouseActionContext()->setPtr(nullptr);
}

} // namespace Tavorin
