#include "airframe/Hydraulic.h"
#include "airframe/Lights.h"
#include "airframe/Mechanisation.h"
#include "support/OverheadPanel.h"

#include <gtest/gtest.h>

namespace tavi {
namespace {

using test::OverheadPanel;

TEST(OverheadHydraulicsAndLightsTest, ElectricPumpKnobsStepBetweenTheirEnds) {
    struct Case {
        double x;
        int system;
        int32_t position;
        const char* tooltip;
    };
    const Case cases[] = {
        {1070, 1, 1, "Electric Pump 1 (Auto)"}, {1070, 1, 2, "Electric Pump 1 (On)"},
        {1070, 1, 2, "Electric Pump 1 (On)"},   {1035, 1, 1, "Electric Pump 1 (Auto)"},
        {1165, 2, 0, "Electric Pump 2 (Off)"},
    };
    OverheadPanel panel;
    Aircraft& aircraft = panel.aircraft();
    aircraft.hydraulic1()->electricPumpKnob = Hydraulic::kKnobOff;
    aircraft.hydraulic2()->electricPumpKnob = Hydraulic::kKnobOff;
    for (const Case& c : cases) {
        Hydraulic& system = *(c.system == 1 ? aircraft.hydraulic1() : aircraft.hydraulic2());
        EXPECT_TRUE(panel.click(c.x, 667));
        EXPECT_EQ(system.electricPumpKnob, c.position) << c.tooltip;
        EXPECT_EQ(panel.clicksHeard(), std::vector<SoundId>{OverheadPanel::kKnobClick});
        EXPECT_EQ(panel.tooltip(c.x, 667), c.tooltip);
    }
    EXPECT_EQ(panel.value("Overhead electric pump 1 knob"), 0.0);
    EXPECT_EQ(panel.value("Overhead electric pump 2 knob"), 1.0);
}

// The engine pump button's lamp is the shutoff's off light, which holds the power rule.
TEST(OverheadHydraulicsAndLightsTest, EnginePumpButtonShowsTheShutoffClosed) {
    OverheadPanel panel;
    panel.scenario.batteriesOn();
    panel.scenario.step();
    Hydraulic& system = *panel.aircraft().hydraulic2();
    ASSERT_TRUE(panel.aircraft().electric()->annunciatorPower);
    system.enginePumpShutoffOpen = false;
    system.enginePumpGuardOpen = true;
    EXPECT_EQ(panel.value("Overhead engine pump 2 button"), 3.0);
    panel.setPanelLights(true);
    EXPECT_EQ(panel.value("Overhead engine pump 2 button"), 7.0);
    system.enginePumpShutoffOpen = true;
    EXPECT_EQ(panel.value("Overhead engine pump 2 button"), 6.0);
    EXPECT_EQ(panel.tooltip(1183, 563), "Engine Pump 2 (On)");
}

TEST(OverheadHydraulicsAndLightsTest, FlightControlButtonsToggleTheirSystem) {
    struct Case {
        double x;
        bool Mechanisation::*field;
        const char* lamp;
        const char* tooltipOff;
    };
    const Case cases[] = {
        {1022, &Mechanisation::aileronSystem1On, "Overhead aileron system 1 light",
         "Aileron System 1 (Off)"},
        {1084, &Mechanisation::aileronSystem2On, "Overhead aileron system 2 light",
         "Aileron System 2 (Off)"},
        {1157, &Mechanisation::rudderSystem1On, "Overhead rudder system 1 light",
         "Rudder System 1 (Off)"},
        {1220, &Mechanisation::rudderSystem2On, "Overhead rudder system 2 light",
         "Rudder System 2 (Off)"},
    };
    OverheadPanel panel;
    panel.scenario.batteriesOn();
    panel.scenario.step();
    Mechanisation& mechanisation = *panel.aircraft().mechanisation();
    for (const Case& c : cases) {
        mechanisation.*c.field = true;
        EXPECT_TRUE(panel.click(c.x, 362));
        EXPECT_FALSE(mechanisation.*c.field) << c.tooltipOff;
        EXPECT_EQ(panel.clicksHeard(), std::vector<SoundId>{OverheadPanel::kPushButtonClick});
        EXPECT_EQ(panel.tooltip(c.x, 362), c.tooltipOff);
        EXPECT_EQ(panel.value(c.lamp), 1.0) << c.lamp;
        EXPECT_TRUE(panel.click(c.x, 362));
        EXPECT_TRUE(mechanisation.*c.field) << c.tooltipOff;
        EXPECT_EQ(panel.value(c.lamp), 0.0) << c.lamp;
        panel.clicksHeard();
    }
}

// The emergency light switch: the upper half moves it up, the lower half down, each click with
// the light switch's sound and the changed flag, also at an end.
TEST(OverheadHydraulicsAndLightsTest, EmergencyLightSwitchStepsOffArmedOn) {
    struct Case {
        double y;
        int32_t position;
        const char* tooltip;
    };
    const Case cases[] = {
        {760, Lights::kEmergencyArmed, "Emergency Light (Armed)"},
        {760, Lights::kEmergencyOn, "Emergency Light (On)"},
        {760, Lights::kEmergencyOn, "Emergency Light (On)"},
        {790, Lights::kEmergencyArmed, "Emergency Light (Armed)"},
        {790, Lights::kEmergencyOff, "Emergency Light (Off)"},
        {790, Lights::kEmergencyOff, "Emergency Light (Off)"},
    };
    OverheadPanel panel;
    Lights& lights = *panel.aircraft().lights();
    lights.emergencyLight = Lights::kEmergencyOff;
    for (const Case& c : cases) {
        lights.emergencyLightChanged = false;
        EXPECT_TRUE(panel.click(82, c.y));
        EXPECT_EQ(lights.emergencyLight, c.position) << c.tooltip;
        EXPECT_TRUE(lights.emergencyLightChanged) << c.tooltip;
        EXPECT_EQ(panel.clicksHeard(), std::vector<SoundId>{OverheadPanel::kLightSwitchClick});
        EXPECT_EQ(panel.value("Overhead emergency light switch"), c.position) << c.tooltip;
        EXPECT_EQ(panel.tooltip(82, c.y), c.tooltip);
    }
}

// Each light switch toggles its light with the light switch's sound; the wide landing switch
// acts from either lever.
TEST(OverheadHydraulicsAndLightsTest, LightSwitchesToggleTheirLights) {
    struct Case {
        double x;
        bool Lights::*field;
        const char* element;
        const char* tooltipOn;
    };
    const Case cases[] = {
        {367, &Lights::navLights, "Overhead navigation lights switch", "Navigation Lights (On)"},
        {429, &Lights::beaconLights, "Overhead red beacon switch", "Red Beacon (On)"},
        {493, &Lights::strobeLights, "Overhead strobe lights switch", "Strobe Lights (On)"},
        {690, &Lights::landingLights, "Overhead landing lights switch", "Landing Lights (On)"},
        {825, &Lights::landingLights, "Overhead landing lights switch", "Landing Lights (On)"},
        {879, &Lights::taxiLights, "Overhead taxi lights switch", "Taxi Lights (On)"},
        {1013, &Lights::logoLights, "Overhead logo lights switch", "Logo Lights (On)"},
        {1135, &Lights::seatBeltSign, "Overhead seat belts switch",
         "Fasten Seat Belts Lights (On)"},
        {1199, &Lights::noSmokingSign, "Overhead no smoking switch", "No Smoke Lights (On)"},
    };
    OverheadPanel panel;
    Lights& lights = *panel.aircraft().lights();
    for (const Case& c : cases) {
        lights.*c.field = false;
        lights.beaconChanged = false;
        EXPECT_TRUE(panel.click(c.x, 775));
        EXPECT_TRUE(lights.*c.field) << c.tooltipOn;
        EXPECT_EQ(panel.clicksHeard(), std::vector<SoundId>{OverheadPanel::kLightSwitchClick})
            << c.tooltipOn;
        EXPECT_EQ(panel.tooltip(c.x, 775), c.tooltipOn);
        EXPECT_EQ(panel.value(c.element), 1.0) << c.tooltipOn;
        EXPECT_EQ(lights.beaconChanged, c.field == &Lights::beaconLights) << c.tooltipOn;
        EXPECT_TRUE(panel.click(c.x, 775));
        EXPECT_FALSE(lights.*c.field) << c.tooltipOn;
        EXPECT_EQ(panel.value(c.element), 0.0) << c.tooltipOn;
        panel.clicksHeard();
    }
}

} // namespace
} // namespace tavi
