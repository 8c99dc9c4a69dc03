#include "airframe/Electric.h"
#include "support/OverheadPanel.h"

#include <gtest/gtest.h>

namespace tavi {
namespace {

using test::OverheadPanel;

// A battery switch is set by the half clicked, not toggled, and clicks every time.
TEST(OverheadElectricalTest, BatterySwitchesAreSetByTheHalfClicked) {
    struct Case {
        double x;
        electric::Battery Electric::*battery;
        bool on;
        double icon;
        const char* tooltip;
    };
    const Case cases[] = {
        {80, &Electric::battery1, true, 0, "Battery 1 (Auto)"},
        {80, &Electric::battery1, true, 0, "Battery 1 (Auto)"},
        {50, &Electric::battery1, false, 1, "Battery 1 (Off)"},
        {50, &Electric::battery1, false, 1, "Battery 1 (Off)"},
        {264, &Electric::battery2, true, 0, "Battery 2 (Auto)"},
        {234, &Electric::battery2, false, 1, "Battery 2 (Off)"},
    };
    OverheadPanel panel;
    Electric& electric = *panel.aircraft().electric();
    for (const Case& c : cases) {
        EXPECT_TRUE(panel.click(c.x, 485));
        EXPECT_EQ((electric.*c.battery).batterySwitch, c.on) << c.tooltip;
        EXPECT_EQ(panel.clicksHeard(), std::vector<SoundId>{OverheadPanel::kKnobClick});
        EXPECT_EQ(panel.tooltip(c.x, 485), c.tooltip);
        EXPECT_EQ(panel.value(c.battery == &Electric::battery1 ? "Overhead battery 1 switch"
                                                               : "Overhead battery 2 switch"),
                  c.icon)
            << c.tooltip;
    }
}

// The sources' buttons go through the source's switch, which notes the change; their lamps
// show a source switched off, with lamp power.
TEST(OverheadElectricalTest, SourceButtonsSwitchTheirSourceAndShowItOff) {
    struct Case {
        const char* tooltipOff;
        double x;
        double y;
        electric::PowerSource& (*source)(Electric&);
        const char* lamp;
    };
    const Case cases[] = {
        {"APU Generator (Off)", 193, 405,
         [](Electric& e) -> electric::PowerSource& { return e.apu; },
         "Overhead APU generator light"},
        {"Generator 1 (Off)", 58, 301,
         [](Electric& e) -> electric::PowerSource& { return e.generator1; },
         "Overhead generator 1 light"},
        {"Generator 3 (Off)", 123, 301,
         [](Electric& e) -> electric::PowerSource& { return e.generator3; },
         "Overhead generator 3 light"},
        {"Generator 2 (Off)", 197, 301,
         [](Electric& e) -> electric::PowerSource& { return e.generator2; },
         "Overhead generator 2 light"},
        {"Generator 4 (Off)", 261, 301,
         [](Electric& e) -> electric::PowerSource& { return e.generator4; },
         "Overhead generator 4 light"},
    };
    OverheadPanel panel;
    Electric& electric = *panel.aircraft().electric();
    electric.annunciatorPower = true;
    for (const Case& c : cases) {
        electric::PowerSource& source = c.source(electric);
        source.connected = true;
        source.changed = false;
        EXPECT_EQ(panel.value(c.lamp), 0.0) << c.lamp;
        EXPECT_TRUE(panel.click(c.x, c.y));
        EXPECT_FALSE(source.connected) << c.tooltipOff;
        EXPECT_TRUE(source.changed) << c.tooltipOff;
        EXPECT_EQ(panel.clicksHeard(), std::vector<SoundId>{OverheadPanel::kPushButtonClick});
        EXPECT_EQ(panel.tooltip(c.x, c.y), c.tooltipOff);
        EXPECT_EQ(panel.value(c.lamp), 1.0) << c.lamp;
        electric.annunciatorPower = false;
        EXPECT_EQ(panel.value(c.lamp), 0.0) << c.lamp;
        electric.annunciatorPower = true;
    }
}

// The ground power lamps: available shows without lamp power while the button is off; in use
// needs the button on and lamp power.
TEST(OverheadElectricalTest, GroundPowerLamps) {
    struct Case {
        bool available;
        bool on;
        bool power;
        double availableLamp;
        double inUseLamp;
        const char* tooltip;
    };
    const Case cases[] = {
        {true, false, false, 1, 0, "GPU (Available, Off)"},
        {true, true, false, 0, 0, "GPU (Available, On)"},
        {true, true, true, 0, 1, "GPU (Available, On)"},
        {false, false, true, 0, 0, "GPU (not Available, Off)"},
    };
    OverheadPanel panel;
    Electric& electric = *panel.aircraft().electric();
    for (const Case& c : cases) {
        electric.gpu.available = c.available;
        electric.gpu.connected = c.on;
        electric.annunciatorPower = c.power;
        EXPECT_EQ(panel.value("Overhead GPU available light"), c.availableLamp) << c.tooltip;
        EXPECT_EQ(panel.value("Overhead GPU in use light"), c.inUseLamp) << c.tooltip;
        EXPECT_EQ(panel.tooltip(125, 405), c.tooltip);
    }
    electric.gpu.changed = false;
    EXPECT_TRUE(panel.click(125, 405));
    EXPECT_TRUE(electric.gpu.connected);
    EXPECT_TRUE(electric.gpu.changed);
    EXPECT_EQ(panel.clicksHeard(), std::vector<SoundId>{OverheadPanel::kPushButtonClick});
}

TEST(OverheadElectricalTest, SwitchButtonsToggleAndShowOff) {
    struct Case {
        const char* tooltipOff;
        const char* tooltipOn;
        double x;
        bool& (*field)(Electric&);
        const char* lamp;
    };
    const Case cases[] = {
        {"AC Power (Off)", "AC Power (On)", 58,
         [](Electric& e) -> bool& { return e.acPowerSwitch; }, "Overhead AC power light"},
        {"Backup Battery (Off)", "Backup Battery (On)", 125,
         [](Electric& e) -> bool& { return e.backupBattery.batterySwitch; },
         "Overhead backup battery light"},
        {"Avionics Master 1 (Off)", "Avionics Master 1 (On)", 191,
         [](Electric& e) -> bool& { return e.avionicsMaster1; },
         "Overhead avionics master 1 light"},
        {"Avionics Master 2 (Off)", "Avionics Master 2 (On)", 259,
         [](Electric& e) -> bool& { return e.avionicsMaster2; },
         "Overhead avionics master 2 light"},
    };
    OverheadPanel panel;
    Electric& electric = *panel.aircraft().electric();
    electric.annunciatorPower = true;
    for (const Case& c : cases) {
        c.field(electric) = true;
        const bool changed = electric.backupBattery.changed;
        EXPECT_TRUE(panel.click(c.x, 683));
        EXPECT_FALSE(c.field(electric)) << c.tooltipOff;
        EXPECT_EQ(panel.clicksHeard(), std::vector<SoundId>{OverheadPanel::kPushButtonClick});
        EXPECT_EQ(panel.tooltip(c.x, 683), c.tooltipOff);
        EXPECT_EQ(panel.value(c.lamp), 1.0) << c.lamp;
        EXPECT_TRUE(panel.click(c.x, 683));
        EXPECT_TRUE(c.field(electric)) << c.tooltipOn;
        EXPECT_EQ(panel.tooltip(c.x, 683), c.tooltipOn);
        EXPECT_EQ(panel.value(c.lamp), 0.0) << c.lamp;
        EXPECT_EQ(electric.backupBattery.changed, changed) << "written directly";
    }
    panel.clicksHeard();
}

TEST(OverheadElectricalTest, BusKnobsStepBetweenTheirEnds) {
    struct Case {
        double x;
        int32_t Electric::*knob;
        int32_t position;
        const char* tooltip;
    };
    const Case cases[] = {
        {80, &Electric::busTiesKnob, 2, "Bus Ties (Override)"},
        {80, &Electric::busTiesKnob, 2, "Bus Ties (Override)"},
        {50, &Electric::busTiesKnob, 1, "Bus Ties (Auto)"},
        {50, &Electric::busTiesKnob, 0, "Bus Ties (Off)"},
        {50, &Electric::busTiesKnob, 0, "Bus Ties (Off)"},
        {234, &Electric::shedBusKnob, 0, "Shed Buses (Off)"},
        {264, &Electric::shedBusKnob, 1, "Shed Buses (Auto)"},
    };
    OverheadPanel panel;
    Electric& electric = *panel.aircraft().electric();
    electric.busTiesKnob = Electric::kKnobAuto;
    electric.shedBusKnob = Electric::kKnobAuto;
    for (const Case& c : cases) {
        EXPECT_TRUE(panel.click(c.x, 611));
        EXPECT_EQ(electric.*c.knob, c.position) << c.tooltip;
        EXPECT_EQ(panel.clicksHeard(), std::vector<SoundId>{OverheadPanel::kKnobClick});
        EXPECT_EQ(panel.tooltip(c.x, 611), c.tooltip);
    }
    EXPECT_EQ(panel.value("Overhead bus ties knob"), 1.0);
    EXPECT_EQ(panel.value("Overhead shed buses knob"), 0.0);
}

// The APU master knob steps Off, On, Start and back, noting the time it leaves or reaches Off;
// at an end it does not move but still clicks.
TEST(OverheadElectricalTest, ApuMasterKnobAndStopButton) {
    struct Case {
        double x;
        int32_t knob;
        double icon;
        const char* tooltip;
    };
    const Case cases[] = {
        {712, 0, 1, "APU Master (Off)"},   {742, 1, 0, "APU Master (On)"},
        {742, 2, 2, "APU Master (Start)"}, {742, 2, 2, "APU Master (Start)"},
        {712, 1, 0, "APU Master (On)"},
    };
    OverheadPanel panel;
    panel.scenario.step(3);
    Electric& electric = *panel.aircraft().electric();
    ASSERT_EQ(electric.apu.knob, electric::Apu::kKnobOff);
    for (const Case& c : cases) {
        EXPECT_TRUE(panel.click(c.x, 197));
        EXPECT_EQ(electric.apu.knob, c.knob) << c.tooltip;
        EXPECT_EQ(panel.clicksHeard(), std::vector<SoundId>{OverheadPanel::kKnobClick});
        EXPECT_EQ(panel.value("Overhead APU master knob"), c.icon) << c.tooltip;
        EXPECT_EQ(panel.tooltip(c.x, 197), c.tooltip);
    }
    EXPECT_EQ(electric.apu.knobChangedTime, panel.aircraft().timeMs());

    electric.apu.makeReady();
    EXPECT_EQ(panel.tooltip(800, 196), "APU Stop");
    EXPECT_TRUE(panel.click(800, 196));
    EXPECT_EQ(electric.apu.state, electric::Apu::kSpoolingDown);
    EXPECT_TRUE(panel.clicksHeard().empty());
}

} // namespace
} // namespace tavi
