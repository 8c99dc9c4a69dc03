#include "airframe/Lights.h"
#include "avionics/Clock.h"
#include "avionics/EicasDau.h"
#include "avionics/FlightDirector.h"
#include "avionics/RadAlt.h"
#include "displays/Pfd.h"
#include "gauges/Gauges.h"
#include "support/GaugeClicks.h"
#include "support/MainPanelControlsGauge.h"
#include "support/ModuleHarness.h"

#include <gtest/gtest.h>
#include <string>

namespace tavi::test {
namespace {

// The small instrument gauges with the aircraft ready on the ground.
class InstrumentGaugesTest : public testing::Test {
protected:
    InstrumentGaugesTest() {
        module.writeIni("[Startup]\nstartupMode=2\n");
        module.startModule();
        module.simulator.step();
    }

    Pfd& pfd(int side) {
        return dynamic_cast<Pfd&>(*module.aircraft().display(side == 1 ? kPfdLeft : kPfdRight));
    }
    Clock& clock() { return *module.aircraft().clock(); }
    void light(int look) { module.aircraft().lights()->panelLighting = look; }
    static double value(platform::GaugeHeader& gauge, const char* artwork, int index = 0) {
        std::vector<platform::GaugeElement*> found;
        collect(gauge.root, artwork, found);
        EXPECT_GT(found.size(), static_cast<std::size_t>(index)) << artwork;
        return found.size() > static_cast<std::size_t>(index) ? elementValue(*found[index]) : -1;
    }
    static void collect(platform::GaugeElement& element, const std::string& name,
                        std::vector<platform::GaugeElement*>& found) {
        if (element.artwork && name == element.artwork->name) {
            found.push_back(&element);
        }
        for (platform::GaugeElement& child : element.children) {
            collect(child, name, found);
        }
    }

    ModuleHarness module;
    platform::GaugeHeader mainPanel = mainPanelControlsOnly();
};

// The bearing knobs step through OFF, VOR, ADF and FMS without wrapping; bearing 1's upper half
// steps down, bearing 2's up.
TEST_F(InstrumentGaugesTest, BearingKnobsStepTheirSideAndStopAtTheEnds) {
    const struct {
        platform::GaugeHeader* gauge;
        int side;
        int x;
        int y;
        int clicks;
        int32_t bearing1;
        int32_t bearing2;
    } cases[] = {
        {&brg1Gauge, 1, 35, 65, 2, 2, 0},  // bearing 1 lower half: up
        {&brg1Gauge, 1, 35, 52, 5, 0, 0},  // bearing 1 upper half: down, stops at OFF
        {&brg2Gauge, 2, 188, 52, 5, 0, 3}, // bearing 2 upper half: up, stops at FMS
        {&brg2Gauge, 2, 188, 65, 1, 0, 2}, // bearing 2 lower half: down
    };
    for (const auto& c : cases) {
        for (int i = 0; i < c.clicks; ++i) {
            EXPECT_TRUE(leftClick(*c.gauge, c.x, c.y));
        }
        EXPECT_EQ(pfd(c.side).bearing1Source, c.bearing1) << c.x << "," << c.y;
        EXPECT_EQ(pfd(c.side).bearing2Source, c.bearing2) << c.x << "," << c.y;
    }
    EXPECT_EQ(pfd(1).bearing2Source, 0) << "Brg2 leaves PFD 1 alone";
    EXPECT_EQ(tooltipAt(brg2Gauge, 188, 60), "2nd Bearing Source (ADF 2)");
    EXPECT_EQ(tooltipAt(brg1Gauge, 35, 60), "1st Bearing Source (OFF)");
}

TEST_F(InstrumentGaugesTest, BearingPointersByLookAndSource) {
    const struct {
        int32_t source;
        double bearing1;
        double bearing2;
    } cases[] = {{0, -50, -40}, {1, -20, -5}, {2, 5, 20}, {3, 35, 60}, {7, 180, 180}};
    for (const auto& c : cases) {
        pfd(1).bearing1Source = pfd(1).bearing2Source = c.source;
        EXPECT_EQ(value(brg1Gauge, "bearing pointer", 0), c.bearing1) << c.source;
        EXPECT_EQ(value(brg1Gauge, "bearing pointer", 1), c.bearing2) << c.source;
        EXPECT_EQ(value(mainPanel, "bearing pointer", 0), c.bearing1) << "main panel copy";
    }
    platform::GaugeElement* day = findElement(brg1Gauge, "bearing pointer");
    platform::GaugeElement* lit = findElement(brg1Gauge, "bearing pointer lit");
    light(Lights::kFloodLit);
    elementValue(*day);
    elementValue(*lit);
    EXPECT_TRUE(day->flags & platform::kImageHidden);
    EXPECT_FALSE(lit->flags & platform::kImageHidden);
}

TEST_F(InstrumentGaugesTest, DisplayControlButtons) {
    FlightDirector& fd = *module.aircraft().flightDirector();
    RadAlt& radAlt = *module.aircraft().radAlt();
    EXPECT_TRUE(leftClick(brg2Gauge, 30, 20));
    EXPECT_TRUE(pfd(2).hsiArcMode);
    EXPECT_FALSE(pfd(1).hsiArcMode);
    EXPECT_TRUE(leftClick(brg1Gauge, 60, 20));
    EXPECT_TRUE(pfd(1).showTimeToGo);
    EXPECT_TRUE(leftClick(brg2Gauge, 190, 20));
    EXPECT_TRUE(fd.fmsSource2);
    EXPECT_FALSE(fd.fmsSource1);
    EXPECT_TRUE(leftClick(brg2Gauge, 160, 20));
    EXPECT_FALSE(fd.fmsSource2);
    EXPECT_TRUE(leftClick(brg1Gauge, 190, 20));
    EXPECT_TRUE(fd.fmsSource1);

    const struct {
        int32_t from;
        int x;
        int32_t to;
    } heights[] = {{200, 100, 210}, {200, 85, 195}, {195, 100, 200}, {210, 85, 200}};
    for (const auto& c : heights) {
        radAlt.setDecisionHeight(c.from);
        EXPECT_TRUE(leftClick(brg1Gauge, c.x, 50));
        EXPECT_EQ(radAlt.decisionHeight, c.to) << c.from << " at x " << c.x;
    }
    EXPECT_EQ(tooltipAt(brg1Gauge, 90, 50), "Decision Height Selection");

    EXPECT_TRUE(leftClick(brg2Gauge, 135, 20));
    EXPECT_TRUE(clock().showChrono2) << "elapsed time of clock 2";
    EXPECT_FALSE(clock().showChrono1);
}

TEST_F(InstrumentGaugesTest, ClockControlsModeIconAndSecondsHand) {
    clock().displayMode1 = Clock::kUtcMode;
    EXPECT_TRUE(leftClick(clock1Gauge, 10, 115));
    EXPECT_EQ(clock().displayMode1, Clock::kUtcMode) << "GMT Time ignores a further step";
    EXPECT_EQ(tooltipAt(clock1Gauge, 10, 100), "Clock Mode (GMT Time)");
    EXPECT_TRUE(leftClick(clock1Gauge, 10, 95));
    EXPECT_TRUE(leftClick(clock1Gauge, 10, 95));
    EXPECT_TRUE(leftClick(clock1Gauge, 10, 95));
    EXPECT_EQ(clock().displayMode1, Clock::kDateMode);
    EXPECT_EQ(clock().displayMode2, Clock::kUtcMode);
    EXPECT_EQ(value(clock1Gauge, "clock mode"), 0.0);
    light(Lights::kFloodLit);
    EXPECT_EQ(value(clock1Gauge, "clock mode"), 1.0) << "the clock gauge's lit look";
    EXPECT_EQ(value(mainPanel, "clock mode"), 2.0) << "the main panel's flood look";
    EXPECT_EQ(value(clock2Gauge, "clock mode"), 7.0);

    EXPECT_TRUE(leftClick(clock2Gauge, 100, 16));
    EXPECT_EQ(clock().chronoState2, Clock::kChronoRunning);
    EXPECT_EQ(clock().chronoState1, Clock::kChronoReset);
    EXPECT_TRUE(leftClick(clock1Gauge, 32, 118));
    EXPECT_TRUE(clock().showChrono1);
    EXPECT_EQ(tooltipAt(clock1Gauge, 100, 16), "Chronometer");
    EXPECT_EQ(tooltipAt(clock1Gauge, 32, 118), "Elapsed Time");

    const struct {
        uint32_t ms;
        double angle;
    } hands[] = {{0, 0}, {999, 0}, {5999, 30}, {59999, 354}, {60000, 0}, {61000, 6}};
    for (const auto& c : hands) {
        clock().chrono1 = c.ms;
        EXPECT_EQ(value(clock1Gauge, "seconds hand lit"), c.angle) << c.ms;
    }
}

// The card shows the heading under the lubber line, a heading in [0, 1) one degree off.
TEST_F(InstrumentGaugesTest, CompassCardFollowsItsToken) {
    const struct {
        double heading;
        double image;
    } cases[] = {{90, 90}, {360, 0}, {0, 1}, {0.5, 1}, {359, 359}, {180.7, 180}, {1.2, 1}};
    platform::GaugeElement* card = findElement(wiskeyGauge, "compass card");
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(card->sourceToken, 83);
    for (const auto& c : cases) {
        card->source.value = c.heading;
        EXPECT_EQ(elementValue(*card), c.image) << c.heading;
    }
    platform::GaugeElement* lit = findElement(wiskeyGauge, "compass card lit");
    light(Lights::kPanelLit);
    elementValue(*card);
    elementValue(*lit);
    EXPECT_TRUE(card->flags & platform::kImageHidden);
    EXPECT_FALSE(lit->flags & platform::kImageHidden);
}

TEST_F(InstrumentGaugesTest, MasterLightsFlashAndAcknowledge) {
    EicasDau& dau = *module.aircraft().eicasDau();
    dau.warningFlash = true;
    dau.cautionFlash = false;
    EXPECT_EQ(value(warningGauge, "master warning"), 1.0);
    EXPECT_EQ(value(cautionGauge, "master caution"), 0.0);
    EXPECT_EQ(value(mainPanel, "master warning"), 1.0);
    dau.warningLatched = dau.cautionLatched = true;
    EXPECT_TRUE(leftClick(warningGauge, 15, 15));
    EXPECT_FALSE(dau.warningLatched);
    EXPECT_TRUE(dau.cautionLatched);
    EXPECT_TRUE(leftClick(cautionGauge, 15, 15));
    EXPECT_FALSE(dau.cautionLatched);
    EXPECT_EQ(tooltipAt(warningGauge, 15, 15), "Master Warning");
    EXPECT_EQ(tooltipAt(cautionGauge, 15, 15), "Master Caution");
    EXPECT_EQ(findElement(cautionGauge, "master caution")->flags, platform::kImageBright);
}

TEST(InstrumentGaugesReadinessTest, NothingActsBeforeTheAircraftIsReady) {
    ModuleHarness module;
    module.init();
    EXPECT_FALSE(leftClick(brg1Gauge, 30, 20));
    EXPECT_FALSE(leftClick(clock1Gauge, 100, 16));
    EXPECT_FALSE(leftClick(warningGauge, 15, 15));
    EXPECT_EQ(tooltipAt(brg1Gauge, 35, 60), "") << "no source to name yet";
    EXPECT_EQ(tooltipAt(clock2Gauge, 10, 100), "");
    EXPECT_EQ(tooltipAt(clock1Gauge, 34, 120), "Elapsed Time") << "a tooltip without arguments";
    EXPECT_EQ(elementValue(*findElement(wiskeyGauge, "compass card")), 0.0);
    EXPECT_EQ(elementValue(*findElement(clock1Gauge, "clock mode")), 0.0);
}

} // namespace
} // namespace tavi::test
