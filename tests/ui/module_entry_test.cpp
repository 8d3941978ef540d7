// The module as the host loads it: the entry point resolved by name from the shared library.

#include "I2DGridMesh.h"
#include "IContextActionManager.h"
#include "IFolder.h"
#include "test_world.h"

#include <QAction>
#include <QLibrary>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace Tavorin;

namespace {

using ModuleEntry = void (*)(const char**);

class SurveyGrid : public I2DGridMesh {
public:
    using I2DGridMesh::I2DGridMesh;
};

const char* const expectedTexts[] = {
    "Low Pass Fourier Filter", "High Pass Fourier Filter", "RTP Fourier Filter", "Apparent Susceptibility",
    "Apparent Density", "Pseudo-gravity", "1st Vertical Derivative Fourier Filter",
    "1st Horizontal Derivative Fourier Filter", "Continuation Fourier Filter", "Strike Fourier Filter",
    "Compute Analytic Signal Using Fourier Filtering Derivatives",
};

ModuleEntry resolveEntry(QLibrary& library)
{
    if (!library.load())
        return nullptr;
    return reinterpret_cast<ModuleEntry>(library.resolve("TavorinModuleV1"));
}

} // namespace

TEST(ModuleEntry, PreviewFlagDecidesAndElevenGridActionsAreRegisteredInOrder)
{
    testworld::TestWorld w;
    QLibrary library(QStringLiteral(SPECTRAFIL_MODULE_FILE));
    const ModuleEntry entry = resolveEntry(library);
    ASSERT_NE(entry, nullptr) << library.errorString().toStdString();
    IContextActionManager* manager = IContextActionManager::instance();
    manager->clear();
    qRegisterMetaType<QAction*>();
    QSignalSpy registered(manager, &IContextActionManager::actionRegistered);

    // Without the preview flag the module leaves the name slot alone and adds nothing.
    IUniverse::Instance()->setFutureFeaturesEnabled(false);
    const char* const hostDefault = "host default";
    const char* slot = hostDefault;
    entry(&slot);
    EXPECT_EQ(slot, hostDefault);
    EXPECT_EQ(registered.count(), 0);

    IUniverse::Instance()->setFutureFeaturesEnabled(true);
    entry(&slot);
    IUniverse::Instance()->setFutureFeaturesEnabled(false);
    EXPECT_STREQ(slot, "Spectrafil");
    const QList<QAction*> actions = manager->actions();
    ASSERT_EQ(actions.size(), 11);
    for (int i = 0; i < actions.size(); ++i)
        EXPECT_EQ(actions[i]->text(), QLatin1String(expectedTexts[i]));
    // Offered on grids and anything derived from a grid, on nothing else.
    SurveyGrid derived(QStringLiteral("Derived"));
    IFolder folder(QStringLiteral("Folder"));
    IBaseData* item = w.gridB->DataList()->Data(QStringLiteral("TMI"));
    EXPECT_EQ(manager->actionsFor(w.gridA), actions);
    EXPECT_EQ(manager->actionsFor(&derived), actions);
    EXPECT_TRUE(manager->actionsFor(w.points).isEmpty());
    EXPECT_TRUE(manager->actionsFor(item).isEmpty());
    EXPECT_TRUE(manager->actionsFor(&folder).isEmpty());
    manager->clear();
}
