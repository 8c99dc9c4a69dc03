#include "cdu/pages/NavPageKeys.h"
#include "displays/PanelElement.h"
#include "support/CduSession.h"
#include "support/ScreenShots.h"
#include "support/TempFolder.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace tavi::test {
namespace {

using namespace navpages;

constexpr int32_t kCduPopupWindow = 10000;
constexpr uint32_t kF1Key = 112;
constexpr uint32_t kPageDownKey = 34;
constexpr int32_t kTakeoffPageId = 50;
constexpr int32_t kLandingPageId = 51;

// The crew prepares the departure from runway 27R of ZZAA through the keyboard hook, and
// looks at LANDING for the arrival; each page goes to a picture (kept in TAVI_SCREENS).
class RunwayPagesSession : public testing::Test {
protected:
    RunwayPagesSession() {
        cdu.panel().setPanelWindowOpen(kCduPopupWindow, true);
        cdu.fms().toggleKeyboardInput();
    }

    void key(uint32_t virtualKey) {
        cdu.module.simulator.host.key(virtualKey, true);
        cdu.module.simulator.host.key(virtualKey, false);
    }
    void enter(std::string_view text, int32_t line) {
        for (const char c : text) {
            key(c == '/' ? 191u : static_cast<uint32_t>(c));
        }
        key(kF1Key + static_cast<uint32_t>(line));
    }
    void picture(const std::string& name) {
        cdu.frame();
        const auto screen =
            writeScreenState(cdu.module.aircraft(), kCduDisplay, folder.path(), name, 1);
        ASSERT_FALSE(screen.empty());
        EXPECT_GT(std::filesystem::file_size(screen), 1000u) << name;
    }

    CduSession cdu;
    TempFolder folder;
};

TEST_F(RunwayPagesSession, TheCrewEntersTheTakeoffConditions) {
    Runway runway;
    cdu.fms().navDatabase().getRunwayInfo(2, runway);
    activeFlightPlan.org = runway;
    cdu.fms().setPage(kTakeoffPageId, 1);
    picture("takeoff-1-new");
    enter("/59", kL2);
    enter("240/20", kR2);
    picture("takeoff-1");
    key(kPageDownKey);
    picture("takeoff-2");
    const RunwayDataPage& takeoff = cdu.fms().takeoffPage;
    EXPECT_EQ(takeoff.runway.ident, "RW27R");
    EXPECT_FLOAT_EQ(takeoff.oat, 15.0f);
    EXPECT_FALSE(takeoff.oatFromSensor);
    EXPECT_EQ(takeoff.windDirection, 240);
    EXPECT_EQ(takeoff.windSpeed, 20);
    EXPECT_TRUE(takeoff.windEntered);
    EXPECT_EQ(takeoff.subPage, 2);

    enter("999", kL2);
    EXPECT_EQ(cdu.message(), "") << "sub-page 2 takes no entries";
    cdu.fms().setPage(kLandingPageId, 1);
    picture("landing-1");
    EXPECT_TRUE(cdu.fms().landingPage.runway.ident.empty());
    EXPECT_TRUE(cdu.fms().landingPage.oatFromSensor) << "each page keeps its own entries";
}

} // namespace
} // namespace tavi::test
