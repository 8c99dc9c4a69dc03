#include "airframe/Lights.h"
#include "gauges/Gauges.h"
#include "gauges/ScreenGauges.h"
#include "support/GaugeClicks.h"
#include "support/ModuleHarness.h"

#include <gtest/gtest.h>
#include <vector>

namespace tavi::test {
namespace {

// The gauges whose root image carries the background icon as its first child.
std::vector<platform::GaugeHeader*> litPanels() {
    return {&apGauge,     &pedestalGauge, &throttleGauge, &thrustRatingGauge,
            &cduGauge,    &cduVcGauge,    &brg1Gauge,     &brg2Gauge,
            &wiskeyGauge, &cautionGauge,  &warningGauge};
}

double backgroundLook(platform::GaugeHeader& gauge) {
    return elementValue(gauge.root.children.at(0));
}

TEST(PanelGaugeLightingTest, BackgroundsFollowThePanelLightsWithTheirBrightFlag) {
    ModuleHarness module;
    module.init();
    for (platform::GaugeHeader* gauge : litPanels()) {
        EXPECT_EQ(backgroundLook(*gauge), 0.0) << gauge->name << " before start-up";
    }
    module.simulator.startFlight();
    module.simulator.step();
    Lights& lights = *module.aircraft().lights();
    const struct {
        int32_t lighting;
        double look;
        uint32_t bright;
    } cases[] = {{Lights::kUnlit, 0, 0},
                 {Lights::kPanelLit, 1, platform::kImageBright},
                 {Lights::kFloodLit, 1, platform::kImageBright},
                 {Lights::kUnlit, 0, 0}};
    for (const auto& c : cases) {
        lights.panelLighting = c.lighting;
        for (platform::GaugeHeader* gauge : litPanels()) {
            EXPECT_EQ(backgroundLook(*gauge), c.look) << gauge->name << " " << c.lighting;
            EXPECT_EQ(gauge->root.children.at(0).flags & platform::kImageBright, c.bright)
                << gauge->name << " " << c.lighting;
        }
    }
}

// The screen gauges of this panel share the screen callback, their screen image where that
// callback looks for it.
TEST(PanelGaugeLightingTest, ScreenGaugesCarryTheirScreenImage) {
    constexpr uint32_t kScreenFlags = platform::kImageBright | platform::kImageCreateBitmap;
    for (platform::GaugeHeader* gauge : {&clock1Gauge, &clock2Gauge}) {
        EXPECT_EQ(gauge->callback, screenGaugeCallback) << gauge->name;
        EXPECT_EQ(gauge->root.flags, kScreenFlags) << gauge->name;
    }
    for (platform::GaugeHeader* gauge : {&cduGauge, &cduVcGauge}) {
        EXPECT_EQ(gauge->callback, screenGaugeCallback) << gauge->name;
        EXPECT_EQ(gauge->root.children.at(0).children.at(0).flags, kScreenFlags) << gauge->name;
    }
}

} // namespace
} // namespace tavi::test
