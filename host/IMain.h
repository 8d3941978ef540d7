#pragma once
// The host's main window and its current 3D view. A desktop host sets both; without one (command
// line, tests) there is no main window, and a default view with id 0 stands in as the current one.

class QWidget;

namespace Tavorin {

class IGLWindow;

class IMain {
public:
    // The main window, parent of the host's dialogs; null when there is none.
    static QWidget* Instance();
    static void setInstance(QWidget* mainWindow);

    // Never null.
    static IGLWindow* getCurrentGLWindow();
    // Makes the view current (null goes back to the default view) and the world's current view id its id.
    static void setCurrentGLWindow(IGLWindow* window);
};

} // namespace Tavorin
