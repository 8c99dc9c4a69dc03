#include "gauges/GaugeRules.h"

#include <gtest/gtest.h>

namespace tavi {
namespace {

TEST(GaugeRulesTest, IconIndexesOfTheStandardControls) {
    struct Case {
        const char* control;
        double index;
        double expected;
    };
    const Case cases[] = {
        {"annunciator on, powered", annunciatorIcon(true, true), 1},
        {"annunciator on, unpowered", annunciatorIcon(true, false), 0},
        {"switch on, dark", twoPositionSwitchIcon(true, 0), 0},
        {"switch off, lit", twoPositionSwitchIcon(false, 1), 4},
        {"knob middle", threePositionKnobIcon(1, 0), 0},
        {"knob first, lit", threePositionKnobIcon(0, 1), 4},
        {"knob last", threePositionKnobIcon(2, 0), 2},
        {"guarded, light and cover, lit", guardedButtonIcon(true, true, 1), 7},
        {"guarded, cover only", guardedButtonIcon(false, true, 0), 2},
        {"light switch on, lit", lightSwitchIcon(1, 1), 3},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.index, c.expected) << c.control;
    }
}

TEST(GaugeRulesTest, BrightFlagFollowsTheLightingAndKeepsTheOthers) {
    platform::GaugeElement element;
    element.flags = platform::kImageHidden;
    setBright(element, true);
    EXPECT_EQ(element.flags, platform::kImageHidden | platform::kImageBright);
    setBright(element, false);
    EXPECT_EQ(element.flags, platform::kImageHidden);
}

} // namespace
} // namespace tavi
