#include "airframe/Electric.h"
#include "airframe/Hydraulic.h"
#include "airframe/Pneumatic.h"
#include "support/OverheadPanel.h"

#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <string_view>

namespace tavi {
namespace {

using platform::ElementKind;
using platform::GaugeElement;
using test::OverheadPanel;

TEST(OverheadTest, TreeAndControlsAreTheGaugesOwn) {
    OverheadPanel panel;
    std::map<ElementKind, int> kinds;
    for (const GaugeElement* element : panel.allElements()) {
        ++kinds[element->kind];
    }
    EXPECT_EQ(kinds[ElementKind::StaticImage], 1);
    EXPECT_EQ(kinds[ElementKind::Icon], 80);
    EXPECT_EQ(kinds[ElementKind::Needle], 6);
    EXPECT_EQ(panel.gauge().widthMm, 1600);
    int areas = 0;
    int tooltips = 0;
    for (const platform::MouseControl& control : panel.gauge().controls) {
        tooltips += control.tooltip ? 1 : 0;
        areas += static_cast<int>(control.areas.size());
    }
    EXPECT_EQ(areas, 94);
    EXPECT_EQ(tooltips, 69);
}

// A click must reach the control under the pointer: no two rectangles overlap, and every part
// lies within its control.
TEST(OverheadTest, ControlsNeitherOverlapNorReachOutsideTheirRectangle) {
    OverheadPanel panel;
    const std::vector<platform::MouseControl>& controls = panel.gauge().controls;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const platform::MouseControl& a = controls[i];
        for (const platform::MouseArea& area : a.areas) {
            EXPECT_TRUE(area.x >= 0 && area.y >= 0 && area.x + area.width <= a.width &&
                        area.y + area.height <= a.height)
                << panel.tooltip(a.x + 1, a.y + 1);
        }
        for (std::size_t j = i + 1; j < controls.size(); ++j) {
            const platform::MouseControl& b = controls[j];
            const bool apart = a.x + a.width <= b.x || b.x + b.width <= a.x ||
                               a.y + a.height <= b.y || b.y + b.height <= a.y;
            EXPECT_TRUE(apart) << a.x << "," << a.y << " and " << b.x << "," << b.y;
        }
    }
}

TEST(OverheadTest, BeforeTheStartUpNothingShowsOrActs) {
    OverheadPanel panel;
    panel.setPanelLights(true);
    panel.aircraft().initialised = false;
    for (GaugeElement* element : panel.allElements()) {
        if (element->value) {
            const uint32_t flags = element->flags;
            EXPECT_EQ(element->value(*element), 0.0) << element->artwork->name;
            EXPECT_EQ(element->flags, flags) << element->artwork->name;
        }
    }
    Electric& electric = *panel.aircraft().electric();
    const bool battery = electric.battery1.batterySwitch;
    const bool acPower = electric.acPowerSwitch;
    for (const platform::MouseControl& control : panel.gauge().controls) {
        const auto* arguments = control.tooltip->arguments;
        for (std::size_t i = 0; arguments && i < arguments->size(); ++i) {
            const platform::TooltipArgument& argument = (*arguments)[i];
            EXPECT_EQ(argument.text ? argument.text() : nullptr, nullptr) << control.tooltip->text;
            EXPECT_EQ(argument.number ? argument.number() : 0.0, 0.0) << control.tooltip->text;
        }
        if (std::string_view(control.tooltip->text).find("!s!") != std::string_view::npos) {
            EXPECT_EQ(platform::formatTooltip(*control.tooltip), "") << control.tooltip->text;
        }
        for (const platform::MouseArea& area : control.areas) {
            EXPECT_FALSE(area.handler(0, 0, area.events)) << control.x << "," << control.y;
        }
    }
    EXPECT_EQ(electric.battery1.batterySwitch, battery);
    EXPECT_EQ(electric.acPowerSwitch, acPower);
    EXPECT_TRUE(panel.clicksHeard().empty());
    panel.aircraft().initialised = true;
}

// Every icon with a lit look turns to it, bright, in the frame the panel lights come on; the
// day and night needles swap; the lamps keep their images.
TEST(OverheadTest, PanelLightsTurnEveryLitLookOn) {
    struct Case {
        const char* element;
        double dark;
        double lit;
    };
    const Case cases[] = {
        {"Overhead panel", 0, 1},
        {"Overhead engine 1 lighting", 0, 4},
        {"Overhead signs lighting", 0, 2},
        {"Overhead bleed air knob", 0, 3},
        {"Overhead battery 1 switch", 1, 4},
        {"Overhead navigation lights switch", 0, 2},
        {"Overhead essential power button", 0, 4},
        {"Overhead emergency light switch", 0, 3},
        {"Overhead engine 1 control guard", 0, 2},
        {"Overhead engine 1 control guard flap", 0, 1},
        {"Overhead bleed 1 light", 0, 0},
    };
    OverheadPanel panel;
    panel.scenario.step();
    for (const bool lit : {true, false}) {
        panel.setPanelLights(lit);
        for (const Case& c : cases) {
            EXPECT_EQ(panel.value(c.element), lit ? c.lit : c.dark) << c.element;
        }
        for (const char* lamp : {"Overhead bleed 1 light", "Overhead generator 1 light"}) {
            EXPECT_TRUE(panel.bright(lamp)) << lamp;
        }
        for (const char* lookLit :
             {"Overhead panel", "Overhead engine 2 lighting", "Overhead fuel pump 1 switch",
              "Overhead engine pump 2 button"}) {
            panel.value(lookLit);
            EXPECT_EQ(panel.bright(lookLit), lit) << lookLit;
        }
        for (const auto& [day, night] :
             {std::pair{"Overhead cockpit temperature needle",
                        "Overhead cockpit temperature night needle"},
              std::pair{"Overhead takeoff data needle", "Overhead takeoff data night needle"}}) {
            panel.value(day);
            panel.value(night);
            EXPECT_EQ(panel.hidden(day), lit) << day;
            EXPECT_EQ(panel.hidden(night), !lit) << night;
        }
    }
}

// The four guarded buttons: the right click only opens or closes the cover; the left click acts,
// with the push-button click, only while the cover is open; each cover is its own.
TEST(OverheadTest, GuardedButtonsActOnlyUnderAnOpenCover) {
    struct Case {
        const char* control;
        double x;
        double y;
        const char* element;
        std::function<bool&(Aircraft&)> field;
        std::function<bool&(Aircraft&)> cover;
    };
    const Case cases[] = {
        {"essential power", 158, 500, "Overhead essential power button",
         [](Aircraft& a) -> bool& { return a.electric()->essentialPowerAuto; },
         [](Aircraft& a) -> bool& {
             return a.electric()->essentialPowerGuardOpen;
         }},
        {"APU fuel shutoff", 883, 197, "Overhead APU fuel shutoff button",
         [](Aircraft& a) -> bool& { return a.electric()->apu.fuelShutoffOpen; },
         [](Aircraft& a) -> bool& {
             return a.electric()->apu.fuelShutoffGuardOpen;
         }},
        {"engine pump 1", 1057, 563, "Overhead engine pump 1 button",
         [](Aircraft& a) -> bool& { return a.hydraulic1()->enginePumpShutoffOpen; },
         [](Aircraft& a) -> bool& {
             return a.hydraulic1()->enginePumpGuardOpen;
         }},
        {"engine pump 2", 1183, 563, "Overhead engine pump 2 button",
         [](Aircraft& a) -> bool& { return a.hydraulic2()->enginePumpShutoffOpen; },
         [](Aircraft& a) -> bool& {
             return a.hydraulic2()->enginePumpGuardOpen;
         }},
    };
    OverheadPanel panel;
    Aircraft& aircraft = panel.aircraft();
    for (const Case& c : cases) {
        const bool before = c.field(aircraft);
        EXPECT_FALSE(c.cover(aircraft)) << c.control << ": covers start closed";
        EXPECT_TRUE(panel.click(c.x, c.y));
        EXPECT_EQ(c.field(aircraft), before) << c.control;
        EXPECT_TRUE(panel.clicksHeard().empty()) << c.control;
        EXPECT_EQ(panel.value(c.element), 0.0) << c.control;

        EXPECT_TRUE(panel.rightClick(c.x, c.y));
        EXPECT_TRUE(c.cover(aircraft)) << c.control;
        EXPECT_EQ(c.field(aircraft), before) << c.control;
        EXPECT_TRUE(panel.clicksHeard().empty()) << c.control;
        EXPECT_EQ(panel.value(c.element), 2.0) << c.control;

        EXPECT_TRUE(panel.click(c.x, c.y));
        EXPECT_EQ(c.field(aircraft), !before) << c.control;
        EXPECT_EQ(panel.clicksHeard(), std::vector<SoundId>{OverheadPanel::kPushButtonClick})
            << c.control;
        for (const Case& other : cases) {
            EXPECT_EQ(other.cover(aircraft), &other == &c) << c.control << " / " << other.control;
        }
        EXPECT_TRUE(panel.rightClick(c.x, c.y));
        EXPECT_FALSE(c.cover(aircraft)) << c.control;
    }
    EXPECT_TRUE(aircraft.hydraulic1()->enginePumpShutoffChanged);
    EXPECT_EQ(panel.tooltip(158, 500), "Essential Power (On)");
    EXPECT_EQ(panel.tooltip(883, 197), "APU Fuel Shutoff (Fuel Off)");
    EXPECT_EQ(panel.tooltip(1057, 563), "Engine Pump 1 (Off)");
}

// Both batteries switched on from the panel in a dark cockpit: two knob clicks heard without
// power, then the cockpit powers and the lamps and the crew alerting list follow.
TEST(OverheadTest, BatteriesSwitchedOnFromThePanelPowerTheCockpit) {
    OverheadPanel panel;
    panel.scenario.step();
    Electric& electric = *panel.aircraft().electric();
    ASSERT_FALSE(electric.battery1.batterySwitch);
    ASSERT_FALSE(electric.battery2.batterySwitch);
    ASSERT_FALSE(electric.annunciatorPower);
    panel.click(58, 683);
    panel.clicksHeard();
    EXPECT_FALSE(electric.acPowerSwitch);
    EXPECT_EQ(panel.value("Overhead AC power light"), 0.0);
    const std::vector<std::string> messages = panel.scenario.messages();

    EXPECT_TRUE(panel.click(80, 480));
    EXPECT_EQ(panel.clicksHeard(), std::vector<SoundId>{OverheadPanel::kKnobClick});
    EXPECT_TRUE(panel.click(264, 480));
    EXPECT_EQ(panel.clicksHeard(), std::vector<SoundId>{OverheadPanel::kKnobClick});
    EXPECT_TRUE(electric.battery1.batterySwitch);
    EXPECT_TRUE(electric.battery2.batterySwitch);

    panel.scenario.step(2);
    EXPECT_TRUE(electric.annunciatorPower);
    EXPECT_EQ(panel.value("Overhead AC power light"), 1.0);
    EXPECT_NE(panel.scenario.messages(), messages);
}

} // namespace
} // namespace tavi
