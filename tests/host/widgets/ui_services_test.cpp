#include "I2DGridMesh.h"
#include "IContextActionManager.h"
#include "IFolder.h"
#include "IMain.h"
#include "IProgressBarWidget.h"
#include "TavorinIcons.h"

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QPointer>

#include <gtest/gtest.h>

using namespace Tavorin;

TEST(ContextActions, OffersAcceptedActionsInRegistrationOrder)
{
    IContextActionManager* manager = IContextActionManager::instance();
    manager->clear();
    auto* gridOnly = new QAction("grid only");
    auto* folderOnly = new QAction("folder only");
    auto* everywhere = new QAction("everywhere");
    auto* alsoGrid = new QAction("also grid");
    const auto isGrid = [](ITreeEntity* entity) { return dynamic_cast<I2DGridMesh*>(entity) != nullptr; };
    manager->registerAction(gridOnly, isGrid);
    manager->registerAction(folderOnly, [](ITreeEntity* entity) { return dynamic_cast<IFolder*>(entity); });
    manager->registerAction(everywhere, {});
    manager->registerAction(alsoGrid, isGrid);
    manager->registerAction(nullptr, isGrid);

    I2DGridMesh grid("grid");
    IFolder folder("folder");
    EXPECT_EQ(manager->actionsFor(&grid), QList<QAction*>({gridOnly, everywhere, alsoGrid}));
    EXPECT_EQ(manager->actionsFor(&folder), QList<QAction*>({folderOnly, everywhere}));
    EXPECT_TRUE(manager->actionsFor(nullptr).isEmpty());
    EXPECT_EQ(manager->actions().size(), 4);

    delete gridOnly;
    EXPECT_EQ(manager->actionsFor(&grid), QList<QAction*>({everywhere, alsoGrid}));
    QPointer<QAction> kept(alsoGrid);
    manager->clear();
    EXPECT_TRUE(manager->actions().isEmpty());
    EXPECT_TRUE(kept.isNull());
}

TEST(Icons, NamedIconsAndTheArrowResourceLoad)
{
    EXPECT_FALSE(getTavorinIcon("function").pixmap(16, 16).isNull());
    EXPECT_TRUE(getTavorinIcon("no such icon").isNull());

    QIcon arrow;
    arrow.addFile(":/application/icons/blue_arrow.png", QSize(), QIcon::Normal, QIcon::Off);
    EXPECT_FALSE(arrow.pixmap(16, 16).isNull());
}

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
