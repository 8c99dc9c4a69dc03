#include "avionics/Radio.h"
#include "cdu/pages/NavPageKeys.h"
#include "navdata/GcNav.h"
#include "support/CduPadKeys.h"
#include "support/CduSession.h"
#include "support/ScreenShots.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace tavi::test {
namespace {

using namespace navpages;

constexpr int32_t kCduPopup = 10000;
constexpr uint32_t kFirstLineKey = 112;
constexpr uint32_t kNextPcKey = 34;
constexpr uint32_t kDeletePcKey = 46;

// A pilot at the CDU pop-up with the keyboard switched on: the keys go through the stand-in's
// keyboard hook as the simulator delivers them. Every page visited is written to a picture,
// kept in the folder TAVI_SCREENS names when it is set.
class NavPagesSession : public testing::Test {
protected:
    NavPagesSession() {
        cdu.placeAircraft(47.0 - 1.0 / 60.0, CduSession::kZzaaLongitude);
        cdu.frame();
        cdu.panel().setPanelWindowOpen(kCduPopup, true);
        cdu.fms().toggleKeyboardInput();
    }

    void key(uint32_t virtualKey) {
        cdu.module.simulator.host.key(virtualKey, true);
        cdu.module.simulator.host.key(virtualKey, false);
    }
    // L1-L4 are 0-3, R1-R4 4-7: the function keys F1-F8.
    void lineKey(int32_t line) { key(kFirstLineKey + static_cast<uint32_t>(line)); }
    void type(std::string_view text) {
        for (const char c : text) {
            key(c == '/' ? 191u : c == '.' ? 190u : static_cast<uint32_t>(c));
        }
    }
    void enter(std::string_view text, int32_t line) {
        type(text);
        lineKey(line);
    }
    void pageKey(int32_t cduKey) { EXPECT_TRUE(clickCduPageKey(cduKey)) << cduKey; }
    // One frame, then the CDU screen as a picture: its title row is lit.
    void picture(const std::string& name) {
        cdu.frame();
        const auto written = writeScreens(cdu.module.aircraft(), folder.path());
        const auto screen = std::find_if(written.begin(), written.end(), [](const auto& path) {
            return path.filename() == "Cdu.png";
        });
        ASSERT_NE(screen, written.end());
        EXPECT_GT(std::filesystem::file_size(*screen), 1000u) << name;
        keepScreenPicture(*screen, name + ".png");
    }

    CduSession cdu;
    TempFolder folder;
};

TEST_F(NavPagesSession, APilotInitialisesThePositionMakesWaypointsAndTunesTheRadios) {
    picture("nav-ident");
    lineKey(kR4);
    ASSERT_EQ(cdu.fms().currentPage, kPositionInit);
    EXPECT_EQ(activeFlightPlan.org.ident, "ZZAA");
    picture("position-init");

    // A ramp point of the pilot's own, defined from POSITION INIT and loaded as the position.
    enter("RAMPA", kL2);
    ASSERT_EQ(cdu.fms().currentPage, kPilotWaypoint);
    picture("pilot-waypoint-new");
    enter("N4659.5E00800.0", kL2);
    picture("pilot-waypoint-latlon");
    lineKey(kR1);
    ASSERT_EQ(cdu.fms().currentPage, kPositionInit);
    lineKey(kR2);
    picture("position-init-loaded");
    EXPECT_NEAR(cdu.fms().position.latitude, 47.0 - 0.5 / 60.0, 1e-6);
    EXPECT_EQ(cdu.fms().position.loadedFrom, 1);
    lineKey(kL4);
    picture("pos-sensors");
    lineKey(kR2);
    picture("gps-status");
    key(kNextPcKey);
    picture("gps-status-2");
    lineKey(kL4);
    lineKey(kL4);
    picture("vor-dme");
    lineKey(kR4);
    EXPECT_EQ(cdu.fms().posInitPage.reference().ident, "RAMPA") << "the ramp point is proposed";

    // A place/bearing/distance point and the database lookups.
    pageKey(Fms::kNavKey);
    picture("nav-index");
    lineKey(kL2);
    enter("PBDX", kL1);
    enter("ABC/090/5", kL3);
    ASSERT_EQ(cdu.fms().currentPage, kWaypointsSelect);
    picture("waypoints-select");
    lineKey(kL1);
    picture("pilot-waypoint-pbd");
    lineKey(kL4);
    picture("pilot-wpt-list");

    // A two-radial point, written to its file, then deleted from the list.
    enter("RRX", kL1);
    enter("ZZAA/045/ZZAB/135", kL3);
    picture("pilot-waypoint-pbpb");
    EXPECT_EQ(cdu.fms().pilotWptPage.point.ppType, PilotPointType::PlaceBearingPlaceBearing);
    const std::filesystem::path custom = cdu.module.folder.path() / "Orvane/CustomDB";
    EXPECT_TRUE(std::filesystem::exists(custom / "RRX.ri2v.wpt"));
    lineKey(kL4);
    cdu.frame();
    EXPECT_EQ(cdu.row(7).substr(0, 4), "RRX") << "third in ident order";
    key(kDeletePcKey);
    lineKey(kL4);
    EXPECT_EQ(cdu.fms().pilotPoints().find("RRX"), nullptr);
    EXPECT_FALSE(std::filesystem::exists(custom / "RRX.ri2v.wpt"));
    enter("ZZAB", kL1);
    picture("data-base-wpt-airport");
    enter("IAAL", kL1);
    picture("data-base-wpt-ils");
    enter("VTX", kL1);
    picture("data-base-wpt-navaid");

    // The radios by frequency and by ident.
    pageKey(Fms::kNavKey);
    lineKey(kR4);
    cdu.panel().clearKeyEventsSent();
    enter("112.3", kL3);
    enter("ABC", kR3);
    enter("415", kL1);
    enter("121.5", kR2);
    picture("radio-tuning");
    lineKey(kL4);
    picture("nav-tune-list");
    lineKey(kR4);

    // The maintenance and setup pages from NAV IDENT.
    pageKey(Fms::kNavKey);
    key(kNextPcKey);
    lineKey(kL2);
    lineKey(kL4);
    picture("maintenance");
    key(kNextPcKey);
    picture("maintenance-2");
    key(kNextPcKey);
    picture("maintenance-3");
    key(kNextPcKey);
    key(kNextPcKey);
    lineKey(kL4);
    picture("fms-setup");
    lineKey(kR1);
    picture("flight-config");
    key(kNextPcKey);
    picture("flight-config-2");

    const Radio& radio = *cdu.module.aircraft().radio();
    EXPECT_EQ(radio.unit1.navActive, 0x01123000);
    EXPECT_EQ(radio.unit2.navActive, 0x01163000);
    EXPECT_EQ(radio.unit1.adfActive, 0x04150000);
    EXPECT_EQ(radio.unit2.comActive, 0x01215000);
    EXPECT_FALSE(cdu.panel().keyEventsSent().empty());
    EXPECT_EQ(cdu.fms().radTunePage.nav1Ident, "VTX");
    const PilotPoint* ramp = cdu.fms().pilotPoints().find("RAMPA");
    const PilotPoint* pbd = cdu.fms().pilotPoints().find("PBDX");
    ASSERT_NE(ramp, nullptr);
    ASSERT_NE(pbd, nullptr);
    EXPECT_EQ(pbd->ppType, PilotPointType::PlaceBearingDistance);
    EXPECT_NEAR(GcNav(47.2, 8.3).distanceTo(pbd->latitude, pbd->longitude), 5.0, 1e-6);
    EXPECT_TRUE(std::filesystem::exists(custom / "RAMPA.ri2v.wpt"));
    EXPECT_TRUE(std::filesystem::exists(custom / "PBDX.ri2v.wpt"));
    EXPECT_TRUE(cdu.fms().position.initialised);
    EXPECT_EQ(cdu.fms().currentPage, kFlightConfig);
    EXPECT_EQ(cdu.message(), "");
}

} // namespace
} // namespace tavi::test
