#include "IMain.h"
#include "IProgressBarWidget.h"

#include <QLabel>
#include <QMainWindow>
#include <QPointer>

#include <gtest/gtest.h>

using namespace Tavorin;

TEST(Progress, DesktopProgressIsAWindowOfTheMainWindowGoneWithTheObject)
{
    QMainWindow main;
    IMain::setInstance(&main);
    QPointer<QWidget> window;
    {
        IProgressBarWidget progress;
        window = progress.widget();
        ASSERT_FALSE(window.isNull());
        EXPECT_EQ(window->parentWidget(), &main);
        EXPECT_FALSE(window->isVisible());
        progress.SetProgressCaption("Filtering data, please wait...");
        progress.SetProgressRange(0, 8);
        progress.SetProgressVisible(true);
        progress.incrementProgressPos();
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(window->findChild<QLabel*>()->text(), QString("Filtering data, please wait..."));
    }
    EXPECT_TRUE(window.isNull());
    IMain::setInstance(nullptr);
}
