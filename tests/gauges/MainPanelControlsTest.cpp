#include "airframe/Electric.h"
#include "airframe/Lights.h"
#include "avionics/Adc.h"
#include "avionics/Baro.h"
#include "avionics/FlightDirector.h"
#include "avionics/Radio.h"
#include "displays/Eicas.h"
#include "displays/Isi.h"
#include "displays/Mfd.h"
#include "displays/Pfd.h"
#include "displays/Rmu.h"
#include "support/GaugeClicks.h"
#include "support/MainPanelControlsGauge.h"
#include "support/ModuleHarness.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>

namespace tavi::test {
namespace {

constexpr uint32_t kRepeat = platform::kMouseLeftSingle | platform::kMouseRepeat;

// The main panel's own controls with the aircraft ready on the ground, engines running, at night.
class MainPanelControlsTest : public testing::Test {
protected:
    MainPanelControlsTest() {
        module.writeIni("[Startup]\nstartupMode=2\n");
        module.simulator.panel.setCalculatorResult("(E:TIME OF DAY,Enum)", {2.0, 2, "", true});
        module.startModule();
        frames(3);
    }

    void frames(int count) {
        for (int i = 0; i < count; ++i) {
            module.simulator.step();
        }
    }
    template <typename Screen>
    Screen& screen(int id) {
        return dynamic_cast<Screen&>(*module.aircraft().display(id));
    }
    Lights& lights() { return *module.aircraft().lights(); }
    double value(const char* artwork) { return elementValue(*findElement(panel, artwork)); }
    bool hidden(const char* artwork) {
        platform::GaugeElement& element = *findElement(panel, artwork);
        elementValue(element);
        return (element.flags & platform::kImageHidden) != 0;
    }
    bool sent(uint32_t eventId, uint32_t value) {
        const auto& events = module.simulator.panel.keyEventsSent();
        return std::find(events.begin(), events.end(), sim::KeyEvent{eventId, value}) !=
               events.end();
    }

    ModuleHarness module;
    platform::GaugeHeader panel = mainPanelControlsOnly();
};

// A held key reaches the RMU as its press, its repeats and its release.
TEST_F(MainPanelControlsTest, RmuBezelKeysAndKnobs) {
    Rmu& rmu = screen<Rmu>(kRmuLeft);
    EXPECT_TRUE(leftClick(panel, 760, 815));
    EXPECT_EQ(rmu.page(), Rmu::kPageMenu) << "page key";
    EXPECT_TRUE(rmu.keyPressed);
    EXPECT_TRUE(mouseEvent(panel, 760, 815, kRepeat));
    EXPECT_TRUE(rmu.keyPressed);
    EXPECT_TRUE(mouseEvent(panel, 760, 815, platform::kMouseLeftRelease));
    EXPECT_FALSE(rmu.keyPressed);
    EXPECT_TRUE(leftClick(panel, 715, 660));
    EXPECT_TRUE(mouseEvent(panel, 715, 660, platform::kMouseLeave));
    EXPECT_FALSE(rmu.keyPressed) << "leaving the key releases it";
    EXPECT_EQ(tooltipAt(panel, 740, 815), "Transpoder Identification");
    EXPECT_EQ(tooltipAt(panel, 780, 795), "Change Side");

    EXPECT_TRUE(leftClick(panel, 760, 795));
    mouseEvent(panel, 760, 795, platform::kMouseLeftRelease);
    ASSERT_TRUE(rmu.dimMode) << "dimming key";
    rmu.setBrightness(200);
    EXPECT_TRUE(leftClick(panel, 845, 825));
    EXPECT_TRUE(mouseEvent(panel, 825, 805, kRepeat));
    EXPECT_TRUE(mouseEvent(panel, 825, 805, kRepeat));
    EXPECT_EQ(rmu.brightness, 195) << "inner ring up once, outer ring down twice";
}

// The soft keys go to MFD 1's menus; the range knob's halves step the map range down and up,
// and on the speeds menu a right click gives the large step.
TEST_F(MainPanelControlsTest, MfdBezelKeysAndRangeKnob) {
    Mfd& mfd = screen<Mfd>(kMfdLeft);
    EXPECT_TRUE(leftClick(panel, 629, 795));
    EXPECT_TRUE(mfd.planMode) << "MAP / PLAN, the sixth key";
    EXPECT_TRUE(leftClick(panel, 479, 795));
    EXPECT_EQ(mfd.menuLevel, Mfd::kSysMenu) << "SYS, the first key";
    EXPECT_TRUE(leftClick(panel, 479, 795));
    EXPECT_EQ(mfd.menuLevel, Mfd::kMainMenu) << "RTN";
    EXPECT_TRUE(leftClick(panel, 509, 795));
    EXPECT_EQ(mfd.menuLevel, Mfd::kMfdMenu) << "MENU, the second key";
    EXPECT_FALSE(leftClick(panel, 494, 795)) << "between the keys";

    mfd.menuLevel = Mfd::kMainMenu;
    struct KnobClick {
        int x;
        uint32_t flags;
        int32_t value;
    };
    const KnobClick rangeSteps[] = {{660, platform::kMouseLeftSingle, 8},
                                    {695, platform::kMouseLeftSingle, 0},
                                    {695, kRepeat, 1},
                                    {695, platform::kMouseRightSingle, 2},
                                    {660, platform::kMouseRightSingle | platform::kMouseRepeat, 1}};
    for (const auto& step : rangeSteps) {
        EXPECT_TRUE(mouseEvent(panel, step.x, 805, step.flags));
        EXPECT_EQ(mfd.rangeIndex, step.value) << step.x << " " << step.flags;
    }

    Adc& adc = *module.aircraft().adc();
    mfd.menuLevel = Mfd::kSpeedsMenu;
    adc.selectSpeedBug(1);
    adc.referenceSpeeds[0] = 130;
    const KnobClick speedSteps[] = {{660, platform::kMouseLeftSingle, 129},
                                    {660, platform::kMouseRightSingle, 119},
                                    {695, platform::kMouseRightSingle, 129},
                                    {695, platform::kMouseLeftSingle, 130}};
    for (const auto& step : speedSteps) {
        EXPECT_TRUE(mouseEvent(panel, step.x, 805, step.flags));
        EXPECT_EQ(adc.referenceSpeeds[0], step.value) << step.x << " " << step.flags;
    }
    EXPECT_EQ(mfd.rangeIndex, 1) << "the speeds menu keeps the range";
}

TEST_F(MainPanelControlsTest, EicasScrollNeverGoesBelowTheFirstMessage) {
    Eicas& eicas = screen<Eicas>(kEicasDisplay);
    const struct {
        int x;
        int32_t scroll;
    } clicks[] = {{1118, 0}, {1130, 1}, {1130, 2}, {1118, 1}, {1118, 0}, {1118, 0}};
    for (const auto& c : clicks) {
        EXPECT_TRUE(mouseEvent(panel, c.x, 805, kRepeat));
        EXPECT_EQ(eicas.messageScroll, c.scroll) << c.x;
    }
    EXPECT_EQ(tooltipAt(panel, 1120, 800), "Scroll Messages");
}

TEST_F(MainPanelControlsTest, BaroAndStandbyControls) {
    Baro& baro = *module.aircraft().baro();
    Pfd& pfd = screen<Pfd>(kPfdLeft);
    const bool inches = pfd.baroInInches;
    EXPECT_TRUE(leftClick(panel, 215, 800));
    EXPECT_NE(pfd.baroInInches, inches);

    baro.setBaroSetting(30.10f);
    baro.setStandbyBaroSetting(30.10f);
    EXPECT_TRUE(leftClick(panel, 403, 810));
    EXPECT_GT(baro.mainSettingInHg, 30.10f) << "right half";
    EXPECT_TRUE(leftClick(panel, 355, 800));
    EXPECT_FLOAT_EQ(baro.mainSettingInHg, 29.92f);
    EXPECT_TRUE(mouseEvent(panel, 388, 810, kRepeat));
    EXPECT_LT(baro.mainSettingInHg, 29.92f) << "left half";
    EXPECT_TRUE(leftClick(panel, 838, 570));
    EXPECT_LT(baro.standbySettingInHg, 30.10f) << "standby left half";
    EXPECT_TRUE(leftClick(panel, 815, 460));
    EXPECT_FLOAT_EQ(baro.standbySettingInHg, 29.92f);
    EXPECT_EQ(tooltipAt(panel, 845, 570), "Pressure Selection");
    EXPECT_EQ(tooltipAt(panel, 815, 460), "Set Standard Pressure");

    Isi& isi = screen<Isi>(kStandbyInstrument);
    isi.setBrightness(200);
    EXPECT_TRUE(leftClick(panel, 729, 495));
    EXPECT_TRUE(mouseEvent(panel, 729, 495, kRepeat));
    EXPECT_TRUE(leftClick(panel, 729, 540));
    EXPECT_EQ(isi.brightness, 205);
    EXPECT_EQ(tooltipAt(panel, 729, 540), "Decrease Brightness");

    EXPECT_TRUE(leftClick(panel, 760, 580));
    EXPECT_TRUE(isi.cageHeld);
    EXPECT_TRUE(mouseEvent(panel, 760, 580, kRepeat));
    EXPECT_TRUE(isi.cageHeld);
    EXPECT_TRUE(mouseEvent(panel, 760, 580, platform::kMouseLeave));
    EXPECT_FALSE(isi.cageHeld) << "released when the pointer leaves it";
}

// At night the panel lights light the panels' images from the next frame; flood lights take the
// main panel's three-look images to their third look.
TEST_F(MainPanelControlsTest, PanelAndFloodLightsLightTheImages) {
    EXPECT_EQ(tooltipAt(panel, 75, 405), "Panel Lights (Off)");
    const double comDark = value("COM 1 audio");
    EXPECT_LT(comDark, 2.0);
    EXPECT_FALSE(hidden("PFD marker"));
    EXPECT_TRUE(hidden("PFD marker panel lit"));

    EXPECT_TRUE(leftClick(panel, 75, 405));
    EXPECT_EQ(tooltipAt(panel, 75, 405), "Panel Lights (On)");
    frames(1);
    EXPECT_EQ(lights().panelLighting, Lights::kPanelLit);
    EXPECT_EQ(value("COM 1 audio"), comDark + 2.0);
    EXPECT_TRUE(hidden("PFD marker"));
    EXPECT_FALSE(hidden("PFD marker panel lit"));
    EXPECT_EQ(findElement(panel, "COM 1 audio")->flags & platform::kImageBright,
              platform::kImageBright);

    EXPECT_TRUE(leftClick(panel, 110, 385));
    EXPECT_EQ(tooltipAt(panel, 110, 385), "Flood Lights (On)");
    frames(1);
    EXPECT_EQ(lights().panelLighting, Lights::kFloodLit);
    EXPECT_EQ(value("COM 1 audio"), comDark + 4.0);
    EXPECT_FALSE(hidden("PFD marker flood lit"));
    EXPECT_EQ(value("clock mode"), 3.0 * module.aircraft().clock()->displayMode1 + 2.0);
}

TEST_F(MainPanelControlsTest, ComAudioButtons) {
    Radio& radio = *module.aircraft().radio();
    const bool com2 = radio.isCom2AudioLit(module.aircraft());
    EXPECT_TRUE(leftClick(panel, 50, 652));
    EXPECT_NE(radio.isCom2AudioLit(module.aircraft()), com2);
    EXPECT_EQ(value("COM 2 audio"), radio.isCom2AudioLit(module.aircraft()) ? 1.0 : 0.0);
    EXPECT_EQ(value("COM 1 audio"), radio.isCom1AudioLit(module.aircraft()) ? 1.0 : 0.0);
    EXPECT_EQ(tooltipAt(panel, 25, 652), "Toggle COM1 Radio");
}

TEST_F(MainPanelControlsTest, WindowButtonsSendTheWindowKeyEvent) {
    const struct {
        int x;
        uint32_t window;
        const char* tooltip;
    } cases[] = {{170, 250, "Show/Hide Overhead"},
                 {208, 10000, "Show/Hide FMS"},
                 {230, 10, "Show/Hide Throttles"},
                 {260, 200, "Show/Hide Pressure Panel"},
                 {300, 10001, "Show/Hide Thrust Rating"}};
    for (const auto& c : cases) {
        module.simulator.panel.clearKeyEventsSent();
        EXPECT_TRUE(leftClick(panel, c.x, 846));
        EXPECT_TRUE(sent(0x103CA, c.window)) << c.tooltip;
        EXPECT_EQ(tooltipAt(panel, c.x, 846), c.tooltip);
    }
}

TEST_F(MainPanelControlsTest, MarkerFollowsItsToken) {
    platform::GaugeElement& marker = *findElement(panel, "PFD marker");
    EXPECT_EQ(marker.sourceToken, 69);
    marker.source.value = 40.0;
    EXPECT_EQ(elementValue(marker), 30.0);
    EXPECT_EQ(marker.valueY(marker), -20.0);
}

// The guidance panel, bearing panel, clock and master light copies act as their gauges do, at
// their places on the main panel.
TEST_F(MainPanelControlsTest, CopiesOfTheInstrumentGauges) {
    FlightDirector& fd = *module.aircraft().flightDirector();
    if (!fd.isDirectorOn(1)) {
        fd.toggleFlightDirector1();
    }
    EXPECT_TRUE(leftClick(panel, 805, 348));
    EXPECT_EQ(fd.lateralMode(), FdLateralMode::Hdg);
    EXPECT_EQ(value("HDG light"), 1.0);
    module.simulator.panel.setToken(855, 100.0);
    frames(1);
    module.simulator.panel.clearKeyEventsSent();
    EXPECT_TRUE(rightClick(panel, 827, 380));
    EXPECT_TRUE(sent(0x101FA, 110)) << "heading bug +10";
    EXPECT_EQ(tooltipAt(panel, 827, 380), "Heading Select Knob");

    EXPECT_TRUE(leftClick(panel, 490, 360));
    EXPECT_TRUE(screen<Pfd>(kPfdLeft).hsiArcMode);
    EXPECT_FALSE(screen<Pfd>(kPfdRight).hsiArcMode);
    EXPECT_TRUE(leftClick(panel, 32, 584));
    EXPECT_EQ(module.aircraft().clock()->displayMode1, 1) << "clock mode knob, upper half";
    EXPECT_EQ(tooltipAt(panel, 380, 350), "Master Warning");
    EXPECT_EQ(tooltipAt(panel, 430, 350), "Master Caution");

    module.aircraft().electric()->annunciatorPower = false;
    EXPECT_EQ(value("HDG light"), 0.0) << "no lamp power";
}

} // namespace
} // namespace tavi::test
