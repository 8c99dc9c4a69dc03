#include "airframe/Pneumatic.h"
#include "support/OverheadPanel.h"

#include <gtest/gtest.h>

namespace tavi {
namespace {

using platform::kMouseLeave;
using platform::kMouseLeftRelease;
using platform::kMouseLeftSingle;
using platform::kMouseRepeat;
using test::OverheadPanel;

struct PneumaticButton {
    const char* tooltipOn;
    const char* tooltipOff;
    double x;
    double y;
    bool Pneumatic::*field;
    // The lamp that shows while the button is off, or null.
    const char* offLamp;
};

const PneumaticButton kPneumaticButtons[] = {
    {"Bleed 1 (Open)", "Bleed 1 (Closed)", 1347, 669, &Pneumatic::bleed1Switch,
     "Overhead bleed 1 light"},
    {"Bleed 2 (Open)", "Bleed 2 (Closed)", 1533, 669, &Pneumatic::bleed2Switch,
     "Overhead bleed 2 light"},
    {"APU Bleed (On, Closed)", "APU Bleed (Off, Closed)", 1454, 669, &Pneumatic::apuBleedSwitch,
     nullptr},
    {"Pack 1 (Open)", "Pack 1 (Closed)", 1347, 494, &Pneumatic::pack1Switch,
     "Overhead pack 1 light"},
    {"Pack 2 (Open)", "Pack 2 (Closed)", 1536, 494, &Pneumatic::pack2Switch,
     "Overhead pack 2 light"},
    {"Gasper Fan (On)", "Gasper Fan (Off)", 1441, 494, &Pneumatic::gasperFanSwitch,
     "Overhead gasper fan light"},
    {"Recirculation (On)", "Recirculation (Off)", 1441, 400, &Pneumatic::recirculationSwitch,
     "Overhead recirculation light"},
    {"Pitot 1 (On)", "Pitot 1 (Off)", 1450, 163, &Pneumatic::pitot1Switch,
     "Overhead pitot 1 light"},
    {"Pitot 3 (On)", "Pitot 3 (Off)", 1502, 163, &Pneumatic::pitot3Switch,
     "Overhead pitot 3 light"},
    {"Pitot 2 (On)", "Pitot 2 (Off)", 1555, 163, &Pneumatic::pitot2Switch,
     "Overhead pitot 2 light"},
    {"Engine 1 Anti Ice (On, Closed)", "Engine 1 Anti Ice (Off, Closed)", 1340, 66,
     &Pneumatic::engine1AntiIceSwitch, "Overhead engine 1 anti-ice light"},
    {"Engine 2 Anti Ice (On, Closed)", "Engine 2 Anti Ice (Off, Closed)", 1397, 66,
     &Pneumatic::engine2AntiIceSwitch, "Overhead engine 2 anti-ice light"},
    {"Wing Anti Ice (On, Closed)", "Wing Anti Ice (Off, Closed)", 1461, 66,
     &Pneumatic::wingAntiIceSwitch, "Overhead wing anti-ice light"},
    {"Stab Anti Ice (On, Closed)", "Stab Anti Ice (Off, Closed)", 1540, 66,
     &Pneumatic::stabAntiIceSwitch, "Overhead stab anti-ice light"},
    {"Windshield 1 Anti Ice (On)", "Windshield 1 Anti Ice (Off)", 1327, 163,
     &Pneumatic::windshield1AntiIce, "Overhead windshield 1 light"},
    {"Windshield 2 Anti Ice (On)", "Windshield 2 Anti Ice (Off)", 1380, 163,
     &Pneumatic::windshield2AntiIce, "Overhead windshield 2 light"},
};

TEST(OverheadAirConditioningTest, PushButtonsToggleTheirSwitchWithAClick) {
    OverheadPanel panel;
    Pneumatic& pneumatic = *panel.aircraft().pneumatic();
    for (const PneumaticButton& b : kPneumaticButtons) {
        const bool before = pneumatic.*b.field;
        for (const bool expected : {!before, before}) {
            EXPECT_TRUE(panel.click(b.x, b.y)) << b.tooltipOn;
            EXPECT_EQ(pneumatic.*b.field, expected) << b.tooltipOn;
            EXPECT_EQ(panel.clicksHeard(), std::vector<SoundId>{OverheadPanel::kPushButtonClick})
                << b.tooltipOn;
            EXPECT_EQ(panel.tooltip(b.x, b.y), expected ? b.tooltipOn : b.tooltipOff);
        }
    }
}

// Each lamp lights while its button is off, and only while the panel's lamps have power.
TEST(OverheadAirConditioningTest, OffLampsLightOnlyWithLampPower) {
    OverheadPanel panel;
    Pneumatic& pneumatic = *panel.aircraft().pneumatic();
    for (const PneumaticButton& b : kPneumaticButtons) {
        if (!b.offLamp) {
            continue;
        }
        for (const bool power : {true, false}) {
            pneumatic.lampPower = power;
            pneumatic.*b.field = false;
            EXPECT_EQ(panel.value(b.offLamp), power ? 1.0 : 0.0) << b.offLamp;
            pneumatic.*b.field = true;
            EXPECT_EQ(panel.value(b.offLamp), 0.0) << b.offLamp;
        }
    }
}

TEST(OverheadAirConditioningTest, OpenLampsAndValveWordsFollowTheValves) {
    OverheadPanel panel;
    Pneumatic& pneumatic = *panel.aircraft().pneumatic();
    pneumatic.lampPower = true;
    pneumatic.apuBleedSwitch = true;
    pneumatic.apuBleedValveOpen = true;
    pneumatic.engine1AntiIceSwitch = true;
    pneumatic.engine1AntiIceOn = true;
    pneumatic.wingAntiIceOn = true;
    pneumatic.stabAntiIceOn = true;
    pneumatic.stabAntiIceSwitch = true;
    EXPECT_EQ(panel.value("Overhead APU bleed light"), 1.0);
    EXPECT_EQ(panel.value("Overhead APU bleed valve light"), 1.0);
    EXPECT_EQ(panel.tooltip(1454, 669), "APU Bleed (On, Open)");
    EXPECT_EQ(panel.value("Overhead engine 1 anti-ice open light"), 1.0);
    EXPECT_EQ(panel.value("Overhead engine 2 anti-ice open light"), 0.0);
    EXPECT_EQ(panel.tooltip(1340, 66), "Engine 1 Anti Ice (On, Open)");
    // The wing's valve counts only while its button is on.
    pneumatic.wingAntiIceSwitch = false;
    EXPECT_EQ(panel.value("Overhead wing anti-ice open light"), 0.0);
    EXPECT_EQ(panel.tooltip(1461, 66), "Wing Anti Ice (Off, Closed)");
    EXPECT_EQ(panel.value("Overhead stab anti-ice open light"), 1.0);
    EXPECT_EQ(panel.tooltip(1540, 66), "Stab Anti Ice (On, Open)");
    pneumatic.lampPower = false;
    for (const char* lamp :
         {"Overhead APU bleed light", "Overhead APU bleed valve light",
          "Overhead engine 1 anti-ice open light", "Overhead stab anti-ice open light"}) {
        EXPECT_EQ(panel.value(lamp), 0.0) << lamp;
    }
}

// The knobs step one position a click, stop at their ends and click every time.
TEST(OverheadAirConditioningTest, KnobsStepBetweenTheirEndsWithAClick) {
    struct Step {
        double x;
        int32_t position;
        double icon;
        const char* tooltip;
    };
    struct Case {
        const char* element;
        double left;
        double right;
        double y;
        int32_t Pneumatic::*field;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"Overhead bleed air knob",
         1420,
         1456,
         585,
         &Pneumatic::crossBleedKnob,
         {{1456, 2, 2, "Bleed Air (Open)"},
          {1456, 2, 2, "Bleed Air (Open)"},
          {1420, 1, 0, "Bleed Air (Auto)"},
          {1420, 0, 1, "Bleed Air (Closed)"},
          {1420, 0, 1, "Bleed Air (Closed)"}}},
        {"Overhead anti-ice override knob",
         1343,
         1379,
         278,
         &Pneumatic::antiIceOverrideKnob,
         {{1343, 0, 1, "Anti Ice Override (Engines)"},
          {1379, 1, 0, "Anti Ice Override (Auto)"},
          {1379, 2, 2, "Anti Ice Override (All)"},
          {1379, 2, 2, "Anti Ice Override (All)"}}},
    };
    OverheadPanel panel;
    Pneumatic& pneumatic = *panel.aircraft().pneumatic();
    for (const Case& c : cases) {
        pneumatic.*c.field = 1;
        for (const Step& step : c.steps) {
            EXPECT_TRUE(panel.click(step.x, c.y));
            EXPECT_EQ(pneumatic.*c.field, step.position) << step.tooltip;
            EXPECT_EQ(panel.clicksHeard(), std::vector<SoundId>{OverheadPanel::kKnobClick})
                << step.tooltip;
            EXPECT_EQ(panel.value(c.element), step.icon) << step.tooltip;
            EXPECT_EQ(panel.tooltip(step.x, c.y), step.tooltip);
        }
    }
}

TEST(OverheadAirConditioningTest, TemperatureSelectorsTurnByADegreeWithoutAClick) {
    OverheadPanel panel;
    Pneumatic& pneumatic = *panel.aircraft().pneumatic();
    pneumatic.cockpitTemperatureSelected = 24.0f;
    pneumatic.cabinTemperatureSelected = 23.0f;
    EXPECT_TRUE(panel.click(1368, 399));
    EXPECT_TRUE(panel.event(1368, 399, kMouseLeftSingle | kMouseRepeat));
    EXPECT_TRUE(panel.click(1514, 399));
    EXPECT_FLOAT_EQ(pneumatic.cockpitTemperatureSelected, 26.0f);
    EXPECT_FLOAT_EQ(pneumatic.cabinTemperatureSelected, 22.0f);
    EXPECT_TRUE(panel.clicksHeard().empty());
    EXPECT_EQ(panel.tooltip(1357, 399), "Cockpit Tempereture (26)");
    EXPECT_EQ(panel.tooltip(1524, 399), "Cabin Tempereture (22)");
    // The modelled air temperature is not what the needle shows.
    pneumatic.cockpitTemperature = 40.0f;
    struct Case {
        float selection;
        double angle;
    };
    for (const Case c : {Case{18.0f, -220.0}, Case{29.0f, 40.0}, Case{23.5f, -90.0}}) {
        pneumatic.cockpitTemperatureSelected = c.selection;
        EXPECT_NEAR(panel.value("Overhead cockpit temperature needle"), c.angle, 1e-4);
        EXPECT_NEAR(panel.value("Overhead cockpit temperature night needle"), c.angle, 1e-4);
    }
    pneumatic.cabinTemperatureSelected = 29.0f;
    EXPECT_TRUE(panel.click(1535, 399));
    EXPECT_FLOAT_EQ(pneumatic.cabinTemperatureSelected, 29.0f);
    EXPECT_NEAR(panel.value("Overhead cabin temperature needle"), 40.0, 1e-4);
}

// The test knob holds its test position while pressed and springs back to Off on release or
// when the pointer leaves it; it makes no click of its own.
TEST(OverheadAirConditioningTest, IceDetectionTestKnobSpringsBackToOff) {
    struct Case {
        double x;
        uint32_t flags;
        int32_t position;
        const char* tooltip;
    };
    const Case cases[] = {
        {1534, kMouseLeftSingle, Pneumatic::kTestSystem2, "Ice Detection Test (Sys 2)"},
        {1534, kMouseLeftSingle | kMouseRepeat, Pneumatic::kTestSystem2,
         "Ice Detection Test (Sys 2)"},
        {1534, kMouseLeftRelease, Pneumatic::kTestOff, "Ice Detection Test (Off)"},
        {1498, kMouseLeftSingle, Pneumatic::kTestSystem1, "Ice Detection Test (Sys 1)"},
        {1498, kMouseLeave, Pneumatic::kTestOff, "Ice Detection Test (Off)"},
    };
    OverheadPanel panel;
    Pneumatic& pneumatic = *panel.aircraft().pneumatic();
    for (const Case& c : cases) {
        EXPECT_TRUE(panel.event(c.x, 278, c.flags));
        EXPECT_EQ(pneumatic.iceDetectionTestKnob, c.position) << c.tooltip;
        EXPECT_EQ(panel.tooltip(c.x, 278), c.tooltip);
    }
    EXPECT_NE(pneumatic.iceTest2Start, Pneumatic::kTimeNotYet);
    EXPECT_TRUE(panel.clicksHeard().empty());
    EXPECT_EQ(panel.value("Overhead ice detection test knob"), 0.0);
}

} // namespace
} // namespace tavi
