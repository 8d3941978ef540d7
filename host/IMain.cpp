#include "IMain.h"

#include "IGLWindow.h"
#include "IUniverse.h"
#include "IWorld.h"

#include <QPointer>
#include <QWidget>

namespace Tavorin {

namespace {

QPointer<QWidget>& mainWindow()
{
    static QPointer<QWidget> window;
    return window;
}

QPointer<IGLWindow>& currentView()
{
    static QPointer<IGLWindow> view;
    return view;
}

IGLWindow* defaultView()
{
    static IGLWindow view(0);
    return &view;
}

} // namespace

QWidget* IMain::Instance()
{
    return mainWindow().data();
}

void IMain::setInstance(QWidget* window)
{
    mainWindow() = window;
}

IGLWindow* IMain::getCurrentGLWindow()
{
    IGLWindow* view = currentView().data();
    return view ? view : defaultView();
}

void IMain::setCurrentGLWindow(IGLWindow* window)
{
    currentView() = window;
    world()->setCurrentGLViewID(getCurrentGLWindow()->viewID());
}

} // namespace Tavorin
