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

    EXPECT_TRUE(stack.Push(&pick, nullptr));
    EXPECT_FALSE(stack.Push(&pick, nullptr));
    EXPECT_TRUE(stack.Push(&measure, nullptr));
    // Only the top mode can finish itself.
    pick.finish();
    EXPECT_EQ(stack.depth(), 2);
    measure.finish();
    EXPECT_EQ(stack.Pop(), &pick);
    ASSERT_EQ(aboutToPop.count(), 2);
    EXPECT_EQ(aboutToPop[0][0].value<Mode*>(), &measure);
    EXPECT_EQ(aboutToPop[1][0].value<Mode*>(), &pick);
    EXPECT_EQ(pick.activations, 1);
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
