#include "platform/panel/Gauge.h"

#include "platform/panel/ImportTable.h"

#include <gtest/gtest.h>
#include <limits>

namespace tavi::platform {
namespace {

bool pressed(int, int, uint32_t) {
    return true;
}
bool turned(int, int, uint32_t) {
    return true;
}

GaugeHeader knobGauge() {
    GaugeHeader gauge;
    gauge.name = "Knobs";
    // Two overlapping controls: the first in list order wins.
    gauge.controls.push_back(
        {10,
         10,
         40,
         20,
         nullptr,
         {{0, 0, 20, 20, Cursor::DownArrow, kMouseLeftSingle | kMouseRightSingle, turned},
          {20, 0, 20, 20, Cursor::UpArrow, kMouseLeftSingle, pressed}}});
    gauge.controls.push_back(
        {0, 0, 100, 100, nullptr, {{0, 0, 100, 100, Cursor::Hand, kMouseLeftSingle, pressed}}});
    return gauge;
}

TEST(GaugeMouseTest, FindsTheFirstControlThenItsFirstPartTakingTheEvent) {
    const GaugeHeader gauge = knobGauge();
    struct Case {
        double x, y;
        uint32_t event;
        int control;
        int area;
        int localX, localY;
    };
    const Case cases[] = {
        {15, 15, kMouseLeftSingle, 0, 0, 5, 5},
        {15, 15, kMouseRightSingle, 0, 0, 5, 5},
        {35, 12, kMouseLeftSingle, 0, 1, 25, 2},
        {80, 80, kMouseLeftSingle, 1, 0, 80, 80},
    };
    for (const Case& c : cases) {
        const auto hit = findMouseArea(gauge, c.x, c.y, c.event);
        ASSERT_TRUE(hit) << c.x << "," << c.y;
        EXPECT_EQ(hit->control, &gauge.controls[static_cast<std::size_t>(c.control)]);
        EXPECT_EQ(hit->area, &hit->control->areas[static_cast<std::size_t>(c.area)]);
        EXPECT_EQ(hit->x, c.localX);
        EXPECT_EQ(hit->y, c.localY);
    }
    // The control under the point takes no right click there, and nothing lies outside.
    EXPECT_FALSE(findMouseArea(gauge, 35, 12, kMouseRightSingle));
    EXPECT_FALSE(findMouseArea(gauge, 100, 50, kMouseLeftSingle));
    EXPECT_EQ(findControl(gauge, 35, 12), &gauge.controls[0]);
}

TEST(GaugeMouseTest, GivesTheHandlerThePointInDisplayedPixels) {
    const GaugeHeader gauge = knobGauge();
    const auto hit = findMouseArea(gauge, 15, 15, kMouseLeftSingle, 2.5);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->x, 13);
    EXPECT_EQ(hit->y, 13);
}

const char* onText() {
    return "ON";
}
const char* noText() {
    return nullptr;
}
double angle() {
    return 75.04;
}
double negative() {
    return -3.9;
}
double notANumber() {
    return std::numeric_limits<double>::quiet_NaN();
}

TEST(GaugeTooltipTest, FillsEachPlaceholderFromTheSharedArguments) {
    static const std::vector<TooltipArgument> shared = {{onText, nullptr},
                                                        {noText, nullptr},
                                                        {nullptr, angle},
                                                        {nullptr, negative},
                                                        {nullptr, notANumber}};
    struct Case {
        const char* text;
        const char* shown;
    };
    const Case cases[] = {
        {"Pitot 1 (%1!s!)", "Pitot 1 (ON)"},
        {"Pitot 2 (%2!s!)", ""},
        {"Pitot 1 (%1!s!), Pitot 2 (%2!s!)", ""},
        {"Thrust Lever 1 (%3!.1f!\xb0)", "Thrust Lever 1 (75.0\xb0)"},
        {"Knob %3!.0f! / %4!d!", "Knob 75 / -3"},
        {"N1 100%%", "N1 100%"},
        {"Bad %9!s! and %x and %1", "Bad  and %x and %1"},
        {"Lost %5!.1f!", "Lost ---"},
    };
    // A text callback that gives no text (its system not ready) hides the whole tooltip.
    for (const Case& c : cases) {
        EXPECT_EQ(formatTooltip(Tooltip{c.text, &shared}), c.shown) << c.text;
    }
    EXPECT_EQ(formatTooltip(Tooltip{"Alone %1!s!", nullptr}), "Alone ");
}

TEST(GaugeListTest, FindsAGaugeOfTheModuleByName) {
    GaugeHeader first;
    first.name = "MainPanel";
    GaugeHeader second;
    second.name = "Overhead";
    ModuleLinkage linkage{};
    linkage.gauges[0] = &first;
    linkage.gauges[1] = &second;
    EXPECT_EQ(findGauge(linkage, "Overhead"), &second);
    EXPECT_EQ(findGauge(linkage, "Missing"), nullptr);
}

} // namespace
} // namespace tavi::platform
