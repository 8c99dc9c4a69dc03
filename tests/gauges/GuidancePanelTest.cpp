#include "airframe/Lights.h"
#include "gauges/Gauges.h"
#include "support/FlightDirectorBench.h"
#include "support/GaugeClicks.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace tavi::test {
namespace {

using L = FdLateralMode;
using V = FdVerticalMode;

double light(const char* name) {
    platform::GaugeElement* element = findElement(apGauge, name);
    EXPECT_NE(element, nullptr) << name;
    return element ? elementValue(*element) : -1.0;
}

class GuidancePanelTest : public testing::Test {
protected:
    GuidancePanelTest() { bench.network().annunciatorPower = true; }

    FlightDirectorBench bench;
};

TEST(GuidancePanelButtonsTest, EachButtonActsOnItsSystem) {
    struct Case {
        const char* button;
        int x;
        int y;
        std::function<bool(FlightDirectorBench&)> done;
    };
    const Case cases[] = {
        {"AP", 200, 10,
         [](auto& b) {
             return b.autopilot().engaged;
         }},
        {"YD", 200, 60,
         [](auto& b) {
             return b.autopilot().yawDamper;
         }},
        {"ALT", 335, 10,
         [](auto& b) {
             return b.fd().verticalMode() == V::Alt;
         }},
        {"VS", 290, 40,
         [](auto& b) {
             return b.fd().verticalMode() == V::Vs;
         }},
        {"SPD", 245, 10,
         [](auto& b) {
             return b.fd().verticalMode() == V::Speed;
         }},
        {"FLCH", 290, 10,
         [](auto& b) {
             return b.fd().verticalMode() == V::ClimbDescent;
         }},
        {"HDG", 110, 10,
         [](auto& b) {
             return b.fd().lateralMode() == L::Hdg;
         }},
        {"low bank in HDG", 160, 60,
         [](auto& b) {
             return b.fd().lateralMode() == L::Hdg && b.fd().bankLimit() == 14.0f;
         }},
        {"side", 200, 40,
         [](auto& b) {
             return b.fd().coupledSide() == 2;
         }},
        {"FD 1", 40, 10,
         [](auto& b) {
             return !b.fd().isDirectorOn(1);
         }},
        {"FD 2", 410, 10,
         [](auto& b) {
             return !b.fd().isDirectorOn(2);
         }},
    };
    for (const Case& c : cases) {
        FlightDirectorBench fresh;
        if (c.x == 160) {
            fresh.fd().selectHeadingMode(true);
        }
        EXPECT_TRUE(leftClick(apGauge, c.x, c.y)) << c.button;
        EXPECT_TRUE(c.done(fresh)) << c.button;
    }
}

// A second click takes back what the first did: the mode buttons select "unless already in it".
TEST_F(GuidancePanelTest, ModeButtonsToggleTheirMode) {
    const struct {
        int x;
        int y;
    } buttons[] = {{290, 40}, {245, 10}, {290, 10}};
    leftClick(apGauge, 110, 10);
    leftClick(apGauge, 160, 60);
    EXPECT_EQ(bench.fd().bankLimit(), 14.0f);
    leftClick(apGauge, 160, 60);
    leftClick(apGauge, 110, 10);
    for (const auto& button : buttons) {
        leftClick(apGauge, button.x, button.y);
        leftClick(apGauge, button.x, button.y);
    }
    EXPECT_EQ(bench.fd().lateralMode(), L::Rol);
    EXPECT_EQ(bench.fd().verticalMode(), V::Pit);
    EXPECT_EQ(bench.fd().bankLimit(), 27.0f);
}

// Each on a bench of its own, the modes reached through the buttons and captures.
TEST(GuidancePanelLightsTest, LightsFollowTheModes) {
    using B = FlightDirectorBench;
    struct Case {
        const char* name;
        std::function<void(B&)> set;
        const char* light;
        double image;
    };
    const auto preselectAbove = [](B& b) {
        b.setPreselect(9000.0f);
        b.step();
    };
    // The localizer's signal, far off (armed) or centred (captured), then NAV or APR.
    const auto onLocalizer = [](double cdi, bool backCourse, void (FlightDirector::*button)()) {
        return [=](B& b) {
            b.receiveLocalizer(cdi, backCourse);
            b.step();
            (b.fd().*button)();
            b.step();
        };
    };
    const Case cases[] = {
        {"ALT hold", [](B& b) { b.fd().toggleAltitudeHold(); }, "ALT light", 1},
        {"ASEL armed",
         [&](B& b) {
             preselectAbove(b);
             b.step();
         },
         "ALT light", 1},
        {"VS", [](B& b) { b.fd().selectVerticalSpeedMode(true); }, "VS light", 1},
        {"speed", [](B& b) { b.fd().selectSpeedMode(true); }, "SPD light", 1},
        {"FLCH",
         [&](B& b) {
             preselectAbove(b);
             b.fd().selectFlightLevelChange(true);
         },
         "FLCH light", 1},
        {"HDG", [](B& b) { b.fd().selectHeadingMode(true); }, "HDG light", 1},
        {"low bank",
         [](B& b) {
             b.fd().selectHeadingMode(true);
             b.fd().setLowBank(true);
         },
         "low bank light", 1},
        {"LNAV armed",
         [](B& b) {
             b.flyLnav(1.0, 1.0);
             b.fd().pressNav();
         },
         "NAV light", 1},
        {"LOC from NAV", onLocalizer(120.0, false, &FlightDirector::pressNav), "NAV light", 1},
        {"LOC from NAV, APR dark", onLocalizer(120.0, false, &FlightDirector::pressNav),
         "APR light", 0},
        {"LOC from APR", onLocalizer(120.0, false, &FlightDirector::pressApproach), "APR light", 1},
        {"BC from APR, NAV dark", onLocalizer(0.0, true, &FlightDirector::pressApproach),
         "NAV light", 0},
        {"VOR approach",
         [](B& b) {
             b.setHeading(60.0f);
             b.receiveVor(90, 10.0);
             b.step();
             b.fd().pressApproach();
             b.step();
         },
         "APR light", 1},
        {"FD 1 off", [](B& b) { b.fd().toggleFlightDirector1(); }, "FD 1 light", 0},
        {"FD 2 on", [](B&) {}, "FD 2 light", 1},
        {"side 1", [](B&) {}, "side arrow left", 1},
        {"side 1, right arrow", [](B&) {}, "side arrow right", 0},
        {"side 2", [](B& b) { b.fd().switchSide(); }, "side arrow right", 2},
        {"inhibited",
         [](B& b) {
             b.adc().selfTest[0] = true;
             b.step(2);
         },
         "side arrow left", 0},
    };
    for (const Case& c : cases) {
        FlightDirectorBench fresh;
        fresh.network().annunciatorPower = true;
        c.set(fresh);
        EXPECT_EQ(light(c.light), c.image) << c.name;
    }
}

TEST_F(GuidancePanelTest, LightsNeedTheLampPower) {
    bench.autopilot().engaged = true;
    EXPECT_EQ(light("AP light"), 1);
    bench.network().annunciatorPower = false;
    for (const char* name : {"AP light", "FD 2 light", "side arrow left"}) {
        EXPECT_EQ(light(name), 0) << name << " without lamp power";
    }
}

TEST_F(GuidancePanelTest, KnobPartsTurnByTheirStepsAndPush) {
    bench.setHeading(42.0f);
    bench.panel().setToken(855, 100.0);
    bench.step();
    bench.panel().clearKeyEventsSent();
    EXPECT_TRUE(rightClick(apGauge, 132, 40));
    EXPECT_TRUE(leftClick(apGauge, 98, 40));
    EXPECT_TRUE(mouseEvent(apGauge, 98, 40, platform::kMouseRightSingle | platform::kMouseRepeat));
    EXPECT_TRUE(leftClick(apGauge, 116, 40));
    EXPECT_EQ(bench.eventValues(0x101FA), (std::vector<int32_t>{110, 99, 90, 42}))
        << "right part right click, left part left click, held right, push";

    bench.panel().clearKeyEventsSent();
    EXPECT_TRUE(rightClick(apGauge, 355, 40));
    EXPECT_TRUE(leftClick(apGauge, 335, 40));
    EXPECT_EQ(bench.eventValues(0x1024C), (std::vector<int32_t>{6000, 4900}))
        << "altitude preselect, right half then left half";
    EXPECT_FALSE(rightClick(apGauge, 116, 40)) << "the push takes the left click only";

    bench.panel().setVariable("NAV OBS", 1, 5.0);
    bench.step();
    EXPECT_TRUE(rightClick(apGauge, 29, 40));
    EXPECT_EQ(bench.eventValues(0x100B4), (std::vector<int32_t>{355})) << "left course knob";
}

TEST_F(GuidancePanelTest, Tooltips) {
    const struct {
        int x;
        int y;
        const char* text;
    } cases[] = {
        {200, 10, "Autopilot Engage Button"}, {290, 40, "Vertical Speed Hold Mode"},
        {160, 60, "Low Bank Submode"},        {40, 10, "Toggle Flight Directors"},
        {40, 40, "Course Select Knob"},       {250, 40, "Speed Control Knob"},
        {340, 40, "Altitude Preselect Knob"}, {200, 40, "Switch Flight Director Side"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(tooltipAt(apGauge, c.x, c.y), c.text);
    }
}

TEST(GuidancePanelReadinessTest, NothingActsOrLightsBeforeTheAircraftIsReady) {
    ModuleHarness module;
    module.init();
    EXPECT_FALSE(leftClick(apGauge, 110, 10));
    EXPECT_FALSE(rightClick(apGauge, 132, 40));
    platform::GaugeElement* hdg = findElement(apGauge, "HDG light");
    ASSERT_NE(hdg, nullptr);
    EXPECT_EQ(elementValue(*hdg), 0.0);
    EXPECT_EQ(hdg->flags, platform::kImageBright) << "declared bright, left alone";
}

} // namespace
} // namespace tavi::test
