// The context actions as the host offers them: each opens its filter's dialog on the selected grid.

#include "FilterDialog.h"
#include "IContextActionManager.h"
#include "IMain.h"
#include "ISelectionModel.h"
#include "test_world.h"

#include <QAction>
#include <gtest/gtest.h>

extern "C" void TavorinModuleV1(const char** nameSlot);

using namespace Tavorin;

namespace {

// The registered action with the given text; the host owns it.
QAction* registeredAction(const QString& text)
{
    for (QAction* action : IContextActionManager::instance()->actions())
        if (action->text() == text)
            return action;
    return nullptr;
}

class FilterActions : public testing::Test {
protected:
    void SetUp() override
    {
        IMain::setInstance(&mainWindow);
        IContextActionManager::instance()->clear();
        IUniverse::Instance()->setFutureFeaturesEnabled(true);
        const char* name = nullptr;
        TavorinModuleV1(&name);
        IUniverse::Instance()->setFutureFeaturesEnabled(false);
    }
    void TearDown() override
    {
        IContextActionManager::instance()->clear();
        IMain::setInstance(nullptr);
    }

    testworld::TestWorld w;
    QWidget mainWindow;
};

} // namespace

TEST_F(FilterActions, TriggerOpensDialogOnTheSelectedGridOrTheFirstOne)
{
    QAction* strike = registeredAction("Strike Fourier Filter");
    ASSERT_NE(strike, nullptr);
    w.world->getSelectionModel()->setMesh(w.gridA);
    strike->trigger();
    strike->trigger();
    const QList<IFilterDialog*> dialogs = mainWindow.findChildren<IFilterDialog*>();
    ASSERT_EQ(dialogs.size(), 2);
    for (IFilterDialog* dialog : dialogs) {
        EXPECT_EQ(dialog->windowTitle(), "Strike Fourier Filter");
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_FALSE(dialog->isModal());
        EXPECT_FALSE(dialog->_strike_frame->isHidden());
        EXPECT_EQ(dialog->_grid_combobox->currentText(), "Grid A");
    }
    for (IFilterDialog* dialog : dialogs)
        dialog->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(mainWindow.findChildren<IFilterDialog*>().isEmpty());

    // A selection that is not a grid: the dialog keeps its first grid.
    w.world->getSelectionModel()->setMesh(w.points);
    registeredAction("RTP Fourier Filter")->trigger();
    const QList<IFilterDialog*> rtp = mainWindow.findChildren<IFilterDialog*>();
    ASSERT_EQ(rtp.size(), 1);
    EXPECT_EQ(rtp[0]->_grid_combobox->currentText(), "Grid B");
    EXPECT_FALSE(rtp[0]->_incl_decl_frame->isHidden());
}
