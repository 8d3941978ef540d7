#include "I2DGridMesh.h"
#include "IActionContext.h"
#include "IFolder.h"
#include "IGLWindow.h"
#include "IMain.h"
#include "IModeList.h"
#include "IPointSetMesh.h"
#include "IUniverse.h"
#include "IWorld.h"
#include "Mode.h"
#include "ModeStack.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <memory>

using namespace Tavorin;

namespace {

// Records its own life on the stack.
class CountingMode : public Mode {
public:
    using Mode::Mode;
    int activations = 0;
    int deactivations = 0;

protected:
    void activated() override { ++activations; }
    void deactivated() override { ++deactivations; }
};

} // namespace

TEST(ModeStack, PopsAreAnnouncedWhetherAskedForOrForcedByTheRequesterOrDestruction)
{
    ModeStack stack;
    CountingMode pick("Pick object");
    CountingMode measure("Measure");
    // Clients connect by signature, so the exact signature is part of the interface.
    QSignalSpy aboutToPop(&stack, SIGNAL(stackAboutToPop(Mode*)));
    ASSERT_TRUE(aboutToPop.isValid());

    EXPECT_EQ(stack.Pop(), nullptr);
    EXPECT_TRUE(stack.Push(&pick, nullptr));
    EXPECT_FALSE(stack.Push(&pick, nullptr));
    EXPECT_FALSE(stack.Push(nullptr, nullptr));
    EXPECT_TRUE(stack.Push(&measure, nullptr));
    EXPECT_EQ(stack.top(), &measure);
    EXPECT_TRUE(pick.isActive());
    EXPECT_EQ(pick.activations, 1);

    // Only the top mode can finish itself.
    pick.finish();
    EXPECT_EQ(stack.depth(), 2);
    measure.finish();
    EXPECT_EQ(stack.Pop(), &pick);
    EXPECT_TRUE(stack.isEmpty());
    ASSERT_EQ(aboutToPop.count(), 2);
    EXPECT_EQ(aboutToPop[0][0].value<Mode*>(), &measure);
    EXPECT_EQ(aboutToPop[1][0].value<Mode*>(), &pick);
    EXPECT_FALSE(pick.isActive());
    EXPECT_EQ(pick.deactivations, 1);

    {
        QObject requester;
        stack.Push(&pick, &requester);
    }
    EXPECT_TRUE(stack.isEmpty());
    EXPECT_EQ(aboutToPop.count(), 3);
    auto doomed = std::make_unique<CountingMode>("doomed");
    stack.Push(doomed.get(), nullptr);
    doomed.reset();
    EXPECT_TRUE(stack.isEmpty());
}

TEST(PickObjectMode, ThePickedObjectIsInTheViewContextWhenTheModeEnds)
{
    IWorld* world = IUniverse::Instance()->resetWorld();
    auto* grid = new I2DGridMesh("grid");
    auto* points = new IPointSetMesh("points", {});
    world->addMesh(grid);
    world->addMesh(points);
    Mode* pick = IUniverse::Instance()->GetModeList()->GetMode("Pick object");
    ASSERT_NE(pick, nullptr);
    EXPECT_EQ(IUniverse::Instance()->GetModeList()->GetMode("Pick nothing"), nullptr);

    ModeStack* stack = world->GetModeStack();
    IActionContext* context = IMain::getCurrentGLWindow()->getMouseActionContext();
    ITreeEntity* seenWhenPopping = nullptr;
    QObject::connect(stack, &ModeStack::stackAboutToPop, [&](Mode*) { seenWhenPopping = context->GetPtr(); });

    context->setPtr(points); // an earlier pick must not count
    ASSERT_TRUE(stack->Push(pick, nullptr));
    EXPECT_EQ(context->GetPtr(), nullptr);
    IMain::getCurrentGLWindow()->reportPick(grid);
    EXPECT_TRUE(stack->isEmpty());
    EXPECT_EQ(seenWhenPopping, grid);

    // A hit that is not a mesh reads back as no mesh.
    ASSERT_TRUE(stack->Push(pick, nullptr));
    IFolder folder("folder");
    IMain::getCurrentGLWindow()->reportPick(&folder);
    EXPECT_EQ(context->GetPtr(), nullptr);
    EXPECT_EQ(context->entity(), &folder);
    EXPECT_TRUE(stack->isEmpty());
}
