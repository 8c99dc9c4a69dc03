#include "airframe/Electric.h"
#include "airframe/Lights.h"
#include "airframe/Pressure.h"
#include "gauges/Gauges.h"
#include "support/FlightDirectorBench.h"
#include "support/GaugeClicks.h"

#include <gtest/gtest.h>
#include <string>

namespace tavi::test {
namespace {

class PedestalPanelTest : public testing::Test {
protected:
    Pressure& pressure() { return *bench.aircraft().pressure(); }
    double icon(const char* artwork) { return elementValue(*findElement(pedestalGauge, artwork)); }
    std::string readout() {
        platform::GaugeElement& element = *findElement(pedestalGauge, "landing elevation");
        element.fillText(element);
        return element.text.data();
    }

    FlightDirectorBench bench;
};

TEST_F(PedestalPanelTest, PitchWheelStepsTheTargetAndTurnsItsPicture) {
    bench.fd().selectVerticalSpeedMode(true);
    bench.step();
    bench.panel().setToken(120, -500.0);
    bench.step();
    ASSERT_EQ(bench.fd().verticalMode(), FdVerticalMode::Vs);
    bench.panel().clearKeyEventsSent();
    const double phase = icon("pitch wheel");
    EXPECT_EQ(phase, 0.0) << "every aircraft's wheel starts at its first image";
    EXPECT_TRUE(leftClick(pedestalGauge, 80, 110));
    EXPECT_EQ(icon("pitch wheel"), 1.0 - phase);
    EXPECT_TRUE(
        mouseEvent(pedestalGauge, 80, 60, platform::kMouseLeftSingle | platform::kMouseRepeat));
    EXPECT_EQ(icon("pitch wheel"), phase);
    const std::vector<int32_t> sent = bench.eventValues(kVerticalSpeedEvent);
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_GT(sent[0], -500) << "Climb";
    EXPECT_LT(sent[1], -500) << "Descent";
    EXPECT_EQ(tooltipAt(pedestalGauge, 80, 110), "Climb");
    EXPECT_EQ(tooltipAt(pedestalGauge, 80, 60), "Descent");

    bench.aircraft().lights()->panelLighting = Lights::kPanelLit;
    EXPECT_EQ(icon("pitch wheel"), phase + 2.0);
}

TEST_F(PedestalPanelTest, TurnKnobPartsAndPointer) {
    const float step = bench.fd().bankStep();
    EXPECT_TRUE(leftClick(pedestalGauge, 260, 80));
    EXPECT_EQ(bench.fd().turnKnobCommand(), step) << "left part";
    EXPECT_DOUBLE_EQ(icon("turn knob pointer"), -3.0 * step);
    EXPECT_TRUE(leftClick(pedestalGauge, 350, 80));
    EXPECT_TRUE(leftClick(pedestalGauge, 350, 80));
    EXPECT_EQ(bench.fd().turnKnobCommand(), -step) << "right part twice";
    EXPECT_TRUE(leftClick(pedestalGauge, 300, 80));
    EXPECT_EQ(bench.fd().turnKnobCommand(), 0.0f) << "centre";
    EXPECT_EQ(tooltipAt(pedestalGauge, 300, 80), "Turn Control Knob");
}

TEST_F(PedestalPanelTest, LandingElevationButtonsAndReadout) {
    pressure().setLandingElevation(1000);
    const struct {
        int y;
        bool right;
        int32_t elevation;
    } clicks[] = {{268, false, 1100}, {268, true, 2100}, {293, false, 2000}, {293, true, 1000}};
    for (const auto& c : clicks) {
        EXPECT_TRUE(c.right ? rightClick(pedestalGauge, 230, c.y)
                            : leftClick(pedestalGauge, 230, c.y));
        EXPECT_EQ(pressure().landingElevation, c.elevation)
            << c.y << (c.right ? " right" : " left");
    }
    EXPECT_EQ(tooltipAt(pedestalGauge, 230, 268), "Increase Landing Elevation");
    EXPECT_EQ(tooltipAt(pedestalGauge, 230, 293), "Decrease Landing Elevation");

    bench.network().power({Electric::kDcBus1});
    bench.step();
    EXPECT_EQ(readout(), " 1000");
    bench.network().power({Electric::kDcBus2});
    EXPECT_EQ(readout(), "") << "bus 1 unpowered";
    EXPECT_TRUE(leftClick(pedestalGauge, 230, 268));
    EXPECT_EQ(pressure().landingElevation, 1100) << "the buttons work without the readout";
}

TEST(PedestalReadinessTest, NothingActsBeforeTheAircraftIsReady) {
    ModuleHarness module;
    module.init();
    EXPECT_FALSE(leftClick(pedestalGauge, 80, 110));
    EXPECT_FALSE(leftClick(pedestalGauge, 230, 268));
    platform::GaugeElement& text = *findElement(pedestalGauge, "landing elevation");
    text.fillText(text);
    EXPECT_STREQ(text.text.data(), "");
}

} // namespace
} // namespace tavi::test
