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
// the light switch's sound, also at an end; the caution follows the position in the next frames.
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
    panel.scenario.park();
    panel.scenario.batteriesOn();
    panel.scenario.step(2);
    const Lights& lights = *panel.aircraft().lights();
    ASSERT_EQ(lights.emergencyLight(), Lights::kEmergencyOff);
    for (const Case& c : cases) {
        EXPECT_TRUE(panel.click(82, c.y));
        EXPECT_EQ(lights.emergencyLight(), c.position) << c.tooltip;
        EXPECT_EQ(panel.clicksHeard(), std::vector<SoundId>{OverheadPanel::kLightSwitchClick});
        EXPECT_EQ(panel.value("Overhead emergency light switch"), c.position) << c.tooltip;
        EXPECT_EQ(panel.tooltip(82, c.y), c.tooltip);
        panel.scenario.step(2);
        EXPECT_EQ(panel.scenario.shows("EMERG LT NOT ARMD"), c.position != Lights::kEmergencyArmed)
            << c.tooltip;
        panel.clicksHeard();
    }
}

template <Lights::ExteriorLight light>
bool exteriorLightOn(const Lights& lights) {
    return lights.exteriorLightOn(light);
}

// Each light switch toggles its light with the light switch's sound; the wide landing switch
// acts from either lever. The beacon's switch takes the DFDR caution away in the next frames.
TEST(OverheadHydraulicsAndLightsTest, LightSwitchesToggleTheirLights) {
    struct Case {
        double x;
        bool (*on)(const Lights&);
        const char* element;
        const char* tooltipOn;
    };
    const Case cases[] = {
        {367, &exteriorLightOn<Lights::kNavigationLights>, "Overhead navigation lights switch",
         "Navigation Lights (On)"},
        {429, &exteriorLightOn<Lights::kBeaconLights>, "Overhead red beacon switch",
         "Red Beacon (On)"},
        {493, &exteriorLightOn<Lights::kStrobeLights>, "Overhead strobe lights switch",
         "Strobe Lights (On)"},
        {690, &exteriorLightOn<Lights::kLandingLights>, "Overhead landing lights switch",
         "Landing Lights (On)"},
        {825, &exteriorLightOn<Lights::kLandingLights>, "Overhead landing lights switch",
         "Landing Lights (On)"},
        {879, &exteriorLightOn<Lights::kTaxiLights>, "Overhead taxi lights switch",
         "Taxi Lights (On)"},
        {1013, &exteriorLightOn<Lights::kLogoLights>, "Overhead logo lights switch",
         "Logo Lights (On)"},
        {1135, [](const Lights& lights) { return lights.seatBeltSignOn(); },
         "Overhead seat belts switch", "Fasten Seat Belts Lights (On)"},
        {1199, [](const Lights& lights) { return lights.noSmokingSignOn(); },
         "Overhead no smoking switch", "No Smoke Lights (On)"},
    };
    OverheadPanel panel;
    panel.scenario.park();
    panel.scenario.batteriesOn();
    panel.scenario.step(2);
    ASSERT_TRUE(panel.scenario.shows("DFDR FAIL"));
    const Lights& lights = *panel.aircraft().lights();
    for (const Case& c : cases) {
        ASSERT_FALSE(c.on(lights)) << c.tooltipOn;
        EXPECT_TRUE(panel.click(c.x, 775));
        EXPECT_TRUE(c.on(lights)) << c.tooltipOn;
        EXPECT_EQ(panel.clicksHeard(), std::vector<SoundId>{OverheadPanel::kLightSwitchClick})
            << c.tooltipOn;
        EXPECT_EQ(panel.tooltip(c.x, 775), c.tooltipOn);
        EXPECT_EQ(panel.value(c.element), 1.0) << c.tooltipOn;
        panel.scenario.step(2);
        EXPECT_EQ(panel.scenario.shows("DFDR FAIL"), !lights.exteriorLightOn(Lights::kBeaconLights))
            << c.tooltipOn;
        panel.clicksHeard();
        EXPECT_TRUE(panel.click(c.x, 775));
        EXPECT_FALSE(c.on(lights)) << c.tooltipOn;
        EXPECT_EQ(panel.value(c.element), 0.0) << c.tooltipOn;
        panel.scenario.step(2);
        panel.clicksHeard();
    }
}

} // namespace
} // namespace tavi
