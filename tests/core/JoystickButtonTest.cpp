#include "core/JoystickButton.h"

#include "support/ModuleHarness.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace tavi::test {
namespace {

struct ButtonCase {
    std::string setting;
    int32_t joystick;
    uint32_t mask;
};

std::ostream& operator<<(std::ostream& out, const ButtonCase& c) {
    return out << '"' << c.setting << '"';
}

class JoystickButtonParseTest : public testing::TestWithParam<ButtonCase> {};

TEST_P(JoystickButtonParseTest, NamesTheJoystickAndTheButtonMask) {
    const JoystickButton button = JoystickButton::parse(GetParam().setting);
    EXPECT_EQ(button.mask, GetParam().mask);
    if (button.hasButton()) {
        EXPECT_EQ(button.joystick, GetParam().joystick);
    }
}

constexpr uint32_t kNone = JoystickButton::kNoButton;

INSTANTIATE_TEST_SUITE_P(Settings, JoystickButtonParseTest,
                         testing::Values(ButtonCase{"0:0", 0, 0x1}, ButtonCase{"1:3", 1, 0x8},
                                         ButtonCase{"2:3", 2, 0x8}, ButtonCase{"9:0", 7, 0x1},
                                         ButtonCase{"7:31", 7, 0x80000000},
                                         ButtonCase{"2:35", 2, 0x8}, ButtonCase{" 2: 3", 2, 0x8},
                                         ButtonCase{"+2:3xyz", 2, 0x8},
                                         ButtonCase{"0:-1", 0, kNone}, ButtonCase{"-1:2", 0, kNone},
                                         ButtonCase{"2 :3", 0, kNone}, ButtonCase{"3", 0, kNone},
                                         ButtonCase{"3:", 0, kNone}, ButtonCase{"abc", 0, kNone},
                                         ButtonCase{"", 0, kNone},
                                         ButtonCase{"99999999999999999999:1", 7, 0x2}));

TEST(JoystickButtonTest, IsHeldWhileTheJoystickIsReadWithTheButtonDown) {
    ModuleHarness module;
    module.startModule();
    const JoystickButton button = JoystickButton::parse("2:3");
    const JoystickButton none = JoystickButton::parse("2:-1");

    module.simulator.host.setJoystick(2, true, 0x8);
    module.simulator.step();
    EXPECT_TRUE(button.isHeld(module.aircraft()));
    EXPECT_FALSE(none.isHeld(module.aircraft()));

    module.simulator.host.setJoystick(2, true, 0x4);
    module.simulator.step();
    EXPECT_FALSE(button.isHeld(module.aircraft())) << "another button";

    module.simulator.host.setJoystick(2, false, 0x8);
    module.simulator.step();
    EXPECT_FALSE(button.isHeld(module.aircraft())) << "the last buttons of an absent joystick";
}

} // namespace
} // namespace tavi::test
