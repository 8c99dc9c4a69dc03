#include "core/Imports.h"
#include "gauges/Gauges.h"
#include "platform/gfx/Surface.h"
#include "sim/PanelHost.h"
#include "support/ModuleHarness.h"

#include <gtest/gtest.h>
#include <set>
#include <string>

namespace tavi {
namespace {

const std::string kProjectLayout = std::string(TAVI_TEST_FIXTURES) + "/../../data/panel-layout.txt";

// True when some pixel of the rectangle is not black.
bool lit(const platform::gfx::Surface& picture, int x, int y, int width, int height) {
    for (int row = y; row < y + height; row += 2) {
        for (int column = x; column < x + width; column += 2) {
            if ((picture.pixel(column, row) & 0x00FFFFFF) != 0) {
                return true;
            }
        }
    }
    return false;
}

bool gaugeLit(const sim::PanelHost& host, const char* gauge) {
    const auto picture = host.gaugePicture(gauge);
    return picture && lit(*picture, 0, 0, picture->pixelWidth(), picture->pixelHeight());
}

TEST(CockpitPanelTest, TheProjectLayoutPlacesEveryGaugeOfTheModuleOnce) {
    const sim::PanelLayout layout = sim::PanelLayout::read(kProjectLayout);
    std::multiset<std::string> placed;
    for (const sim::PanelWindow& window : layout.windows) {
        for (const sim::GaugePlacement& gauge : window.gauges) {
            placed.insert(gauge.gauge);
        }
    }
    std::multiset<std::string> exported;
    for (const platform::GaugeHeader* gauge : Linkage.gauges) {
        if (gauge) {
            exported.insert(gauge->name);
        }
    }
    EXPECT_EQ(placed, exported);
    for (const int32_t ident :
         {0, 10, 200, 250, 10000, 10001, 10002, 10003, 10004, 10005, 10006, 10007, 10008}) {
        EXPECT_NE(layout.window(ident), nullptr) << ident;
    }
}

// A click on a main-panel screen opens its pop-up, which then shows the screen while the copy
// goes dark; a click on the pop-up closes it.
TEST(CockpitPanelTest, PopUpsTakeTheScreenFromTheMainPanelCopy) {
    test::ModuleHarness module;
    module.writeIni("[Startup]\nstartupMode=2\n");
    module.startModule();
    sim::PanelHost host(module.simulator.panel, Linkage, sim::PanelLayout::read(kProjectLayout));
    const auto frames = [&](int count) {
        for (int i = 0; i < count; ++i) {
            module.simulator.step();
            host.frame();
        }
    };
    const auto pfdCopyLit = [&] {
        return lit(*host.picture(0), 186, 490, 212, 260);
    };

    frames(3);
    EXPECT_TRUE(pfdCopyLit());
    EXPECT_FALSE(gaugeLit(host, "PFD"));
    EXPECT_FALSE(gaugeLit(host, "PFD1VC"));

    host.press(0, 290, 600, sim::MouseButton::Left);
    host.release(0, 290, 600, sim::MouseButton::Left);
    frames(1);
    EXPECT_TRUE(module.simulator.panel.isPanelWindowOpen(10002));
    EXPECT_TRUE(lit(*host.picture(10002), 0, 0, 400, 476));
    EXPECT_FALSE(pfdCopyLit());

    host.press(10002, 200, 200, sim::MouseButton::Left);
    host.release(10002, 200, 200, sim::MouseButton::Left);
    EXPECT_FALSE(module.simulator.panel.isPanelWindowOpen(10002));
}

TEST(CockpitPanelTest, HidingTheMainPanelShowsTheVirtualCockpitScreens) {
    test::ModuleHarness module;
    module.writeIni("[Startup]\nstartupMode=2\n");
    module.startModule();
    sim::PanelHost host(module.simulator.panel, Linkage, sim::PanelLayout::read(kProjectLayout));
    module.simulator.panel.sendKeyEvent(sim::Panel::kToggleWindowEvent, 0);
    for (int i = 0; i < 3; ++i) {
        module.simulator.step();
        host.frame();
    }
    ASSERT_NE(host.picture(sim::PanelLayout::kVirtualCockpit), nullptr);
    EXPECT_TRUE(gaugeLit(host, "PFD1VC"));
    EXPECT_TRUE(gaugeLit(host, "EICASVC"));
    EXPECT_TRUE(gaugeLit(host, "ISIVC"));
}

} // namespace
} // namespace tavi
