#include "airframe/Fadec.h"
#include "airframe/FuelSystem.h"
#include "airframe/JetEngine.h"
#include "support/OverheadPanel.h"

#include <gtest/gtest.h>

namespace tavi {
namespace {

using test::OverheadPanel;

constexpr uint32_t kFuelPump1Toggle = 0x10324;

// Each engine's ignition and FADEC control knobs step between their ends with a click; the
// FADEC control's operation runs on every click, also at an end, so Alternate hands control to
// the other channel each time.
TEST(OverheadEngineAndFuelTest, IgnitionAndFadecControlKnobs) {
    struct Case {
        double x;
        double y;
        int engine;
        int32_t JetEngine::*knob;
        int32_t position;
        const char* tooltip;
    };
    const Case cases[] = {
        {740, 360, 1, &JetEngine::ignitionKnob, 2, "Engine 1 Ignition (On)"},
        {740, 360, 1, &JetEngine::ignitionKnob, 2, "Engine 1 Ignition (On)"},
        {700, 360, 1, &JetEngine::ignitionKnob, 1, "Engine 1 Ignition (Auto)"},
        {700, 360, 1, &JetEngine::ignitionKnob, 0, "Engine 1 Ignition (Off)"},
        {855, 360, 2, &JetEngine::ignitionKnob, 0, "Engine 2 Ignition (Off)"},
        {700, 460, 1, &JetEngine::fadecControlKnob, 0, "Engine 1 FADEC Control (Reset)"},
        {895, 460, 2, &JetEngine::fadecControlKnob, 2, "Engine 2 FADEC Control (Alternate)"},
    };
    OverheadPanel panel;
    Aircraft& aircraft = panel.aircraft();
    for (JetEngine* engine : {aircraft.engine1(), aircraft.engine2()}) {
        engine->ignitionKnob = JetEngine::kIgnitionAuto;
        engine->fadecControlKnob = JetEngine::kNeutral;
    }
    for (const Case& c : cases) {
        JetEngine& engine = *(c.engine == 1 ? aircraft.engine1() : aircraft.engine2());
        EXPECT_TRUE(panel.click(c.x, c.y));
        EXPECT_EQ(engine.*c.knob, c.position) << c.tooltip;
        EXPECT_EQ(panel.clicksHeard(), std::vector<SoundId>{OverheadPanel::kKnobClick});
        EXPECT_EQ(panel.tooltip(c.x, c.y), c.tooltip);
    }
    EXPECT_EQ(panel.value("Overhead engine 1 ignition knob"), 1.0);
    EXPECT_EQ(panel.value("Overhead engine 2 FADEC control knob"), 2.0);
    JetEngine& engine2 = *aircraft.engine2();
    const int32_t channel = engine2.activeChannel;
    EXPECT_TRUE(panel.click(895, 460));
    EXPECT_EQ(engine2.fadecControlKnob, JetEngine::kAlternate);
    EXPECT_NE(engine2.activeChannel, channel);
}

TEST(OverheadEngineAndFuelTest, EngineControlKnobsTurnOnlyUnderTheirOpenGuard) {
    OverheadPanel panel;
    JetEngine& engine1 = *panel.aircraft().engine1();
    JetEngine& engine2 = *panel.aircraft().engine2();
    engine1.engineControlKnob = JetEngine::kRun;
    EXPECT_TRUE(panel.click(740, 665));
    EXPECT_EQ(engine1.engineControlKnob, JetEngine::kRun);
    EXPECT_TRUE(panel.clicksHeard().empty());
    EXPECT_EQ(panel.value("Overhead engine 1 control guard"), 0.0);
    panel.value("Overhead engine 1 control guard flap");
    EXPECT_FALSE(panel.hidden("Overhead engine 1 control guard flap"));

    EXPECT_TRUE(panel.rightClick(700, 665));
    EXPECT_TRUE(engine1.guardOpen);
    EXPECT_FALSE(engine2.guardOpen);
    EXPECT_TRUE(panel.clicksHeard().empty());
    EXPECT_EQ(panel.value("Overhead engine 1 control guard"), 1.0);
    panel.value("Overhead engine 1 control guard flap");
    EXPECT_TRUE(panel.hidden("Overhead engine 1 control guard flap"));

    struct Step {
        double x;
        int32_t position;
        double icon;
        const char* tooltip;
    };
    for (const Step& step : {Step{740, JetEngine::kStart, 2, "Engine 1 Control (Start)"},
                             Step{740, JetEngine::kStart, 2, "Engine 1 Control (Start)"},
                             Step{700, JetEngine::kRun, 0, "Engine 1 Control (Run)"},
                             Step{700, JetEngine::kStop, 1, "Engine 1 Control (Stop)"},
                             Step{700, JetEngine::kStop, 1, "Engine 1 Control (Stop)"}}) {
        EXPECT_TRUE(panel.click(step.x, 665));
        EXPECT_EQ(engine1.engineControlKnob, step.position) << step.tooltip;
        EXPECT_EQ(panel.clicksHeard(), std::vector<SoundId>{OverheadPanel::kKnobClick});
        EXPECT_EQ(panel.value("Overhead engine 1 control knob"), step.icon) << step.tooltip;
        EXPECT_EQ(panel.tooltip(step.x, 665), step.tooltip);
    }
    const int32_t engine2Knob = engine2.engineControlKnob;
    EXPECT_TRUE(panel.click(895, 665));
    EXPECT_EQ(engine2.engineControlKnob, engine2Knob);
    EXPECT_TRUE(panel.rightClick(740, 665));
    EXPECT_FALSE(engine1.guardOpen);
}

TEST(OverheadEngineAndFuelTest, TakeoffDataKnobStepsByOneOrFiveAndStoreClicks) {
    OverheadPanel panel;
    Fadec& fadec = *panel.aircraft().fadec();
    fadec.takeoffDataStep = 2;
    fadec.takeoffTemperature = 15;
    EXPECT_EQ(panel.tooltip(874, 560), "Takeoff Data Set");
    EXPECT_TRUE(panel.click(860, 560));
    EXPECT_EQ(fadec.takeoffTemperature, 14);
    EXPECT_EQ(panel.value("Overhead takeoff data needle"), -130.0);
    EXPECT_TRUE(panel.rightClick(888, 560));
    EXPECT_EQ(fadec.takeoffTemperature, 19);
    EXPECT_EQ(panel.value("Overhead takeoff data night needle"), -50.0);
    EXPECT_TRUE(panel.event(888, 560, platform::kMouseRightSingle | platform::kMouseRepeat));
    EXPECT_EQ(fadec.takeoffTemperature, 24);
    EXPECT_TRUE(panel.clicksHeard().empty());

    EXPECT_EQ(panel.tooltip(722, 555), "Takeoff Data Store");
    EXPECT_TRUE(panel.click(722, 555));
    EXPECT_EQ(panel.clicksHeard(), std::vector<SoundId>{OverheadPanel::kPushButtonClick});
}

// The pump power switches are set by the half clicked; the simulator's pump switch toggles only
// when it changes.
TEST(OverheadEngineAndFuelTest, FuelPumpSwitchesSetThePumpOnce) {
    OverheadPanel panel;
    FuelSystem& fuel = *panel.aircraft().fuelSystem();
    fuel.pump1Switch = false;
    const int toggles = panel.scenario.keyEventCount(kFuelPump1Toggle);
    for (int i = 0; i < 2; ++i) {
        EXPECT_TRUE(panel.click(430, 528));
        EXPECT_EQ(panel.clicksHeard(), std::vector<SoundId>{OverheadPanel::kKnobClick});
    }
    EXPECT_TRUE(fuel.pump1Switch);
    EXPECT_EQ(panel.scenario.keyEventCount(kFuelPump1Toggle), toggles + 1);
    EXPECT_EQ(panel.value("Overhead fuel pump 1 switch"), 0.0);
    EXPECT_EQ(panel.tooltip(430, 528), "Fuel Pump 1 Power (On)");
    EXPECT_TRUE(panel.click(395, 528));
    EXPECT_FALSE(fuel.pump1Switch);
    EXPECT_EQ(panel.value("Overhead fuel pump 1 switch"), 1.0);
    EXPECT_EQ(panel.tooltip(395, 528), "Fuel Pump 1 Power (Off)");
    fuel.pump2Switch = false;
    EXPECT_TRUE(panel.click(570, 528));
    EXPECT_TRUE(fuel.pump2Switch);
    EXPECT_EQ(panel.tooltip(570, 528), "Fuel Pump 2 Power (On)");
}

// The cross-feed knob shows Off in the middle, Right to Left to the left and Left to Right to
// the right.
TEST(OverheadEngineAndFuelTest, CrossfeedKnobAndPumpSelectors) {
    struct Case {
        double x;
        double y;
        const char* element;
        double icon;
        const char* tooltip;
    };
    const Case cases[] = {
        {500, 367, "Overhead fuel cross-feed knob", 2, "Fuel Cross Feed (Left to Right)"},
        {465, 367, "Overhead fuel cross-feed knob", 0, "Fuel Cross Feed (Off)"},
        {465, 367, "Overhead fuel cross-feed knob", 1, "Fuel Cross Feed (Right to Left)"},
        {430, 440, "Overhead fuel pump selector 1", 0, "Fuel Pump Selector 1 (B)"},
        {430, 440, "Overhead fuel pump selector 1", 2, "Fuel Pump Selector 1 (C)"},
        {430, 440, "Overhead fuel pump selector 1", 2, "Fuel Pump Selector 1 (C)"},
        {535, 440, "Overhead fuel pump selector 2", 1, "Fuel Pump Selector 2 (A)"},
    };
    OverheadPanel panel;
    FuelSystem& fuel = *panel.aircraft().fuelSystem();
    fuel.crossfeedKnob = FuelSystem::kCrossfeedOff;
    fuel.pumpSelector1 = FuelSystem::kPumpA;
    fuel.pumpSelector2 = FuelSystem::kPumpA;
    for (const Case& c : cases) {
        EXPECT_TRUE(panel.click(c.x, c.y));
        EXPECT_EQ(panel.clicksHeard(), std::vector<SoundId>{OverheadPanel::kKnobClick});
        EXPECT_EQ(panel.value(c.element), c.icon) << c.tooltip;
        EXPECT_EQ(panel.tooltip(c.x, c.y), c.tooltip);
    }
    EXPECT_EQ(fuel.crossfeedKnob, FuelSystem::kRightToLeft);
    EXPECT_EQ(fuel.pumpSelector1, FuelSystem::kPumpC);
}

} // namespace
} // namespace tavi
