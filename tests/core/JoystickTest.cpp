#include "support/ModuleHarness.h"

#include <gtest/gtest.h>

namespace tavi::test {
namespace {

TEST(JoystickTest, EachFrameReadsEveryJoystickAndMarksTheAbsentOnes) {
    ModuleHarness module;
    module.startModule();
    module.simulator.host.setJoystick(2, true, 0x8);
    module.simulator.step();
    EXPECT_TRUE(module.aircraft().joystickPresent[2]);
    EXPECT_EQ(module.aircraft().joysticks[2].buttons, 0x8u);
    EXPECT_FALSE(module.aircraft().joystickPresent[0]);

    module.simulator.host.setJoystick(2, false);
    module.simulator.step();
    EXPECT_FALSE(module.aircraft().joystickPresent[2]);
}

} // namespace
} // namespace tavi::test
