#include "avionics/Gps.h"
#include "cdu/pages/NavPageKeys.h"
#include "support/CduSession.h"

#include <gtest/gtest.h>

namespace tavi::test {
namespace {

using namespace navpages;

TEST(MaintenancePages, ThreeSubPagesAndTheirKeys) {
    CduSession cdu;
    cdu.show(kMaintenance);
    EXPECT_EQ(cdu.row(0), "      MAINTENANCE    1/3");
    EXPECT_EQ(cdu.row(1), "  ACTIVE OP MODE");
    EXPECT_EQ(cdu.row(2), " SINGLE");
    EXPECT_EQ(cdu.row(7), "              NAV IDENT\u25BA");
    cdu.press(kNext);
    EXPECT_EQ(cdu.row(1), "     FAILED SENSORS");
    EXPECT_EQ(cdu.row(2), "") << "every sensor works";
    EXPECT_EQ(cdu.row(7), "\u25C4SETUP");
    cdu.press(kNext);
    EXPECT_EQ(cdu.row(2), " MAG");
    EXPECT_EQ(cdu.row(4), " MAG            OR TRUE\u25BA");
    EXPECT_FALSE(cdu.cell(4, 19).large);
    cdu.press(kNext);
    EXPECT_EQ(cdu.fms().sensorPages.maintenancePage.subPage, 1);
    cdu.press(kPrev);
    EXPECT_EQ(cdu.fms().sensorPages.maintenancePage.subPage, 3);

    const struct {
        int32_t subPage;
        int32_t key;
        int32_t page;
    } cases[] = {{1, kR4, kNavIdent}, {2, kR4, kMaintenance}, {3, kR4, kMaintenance},
                 {2, kL4, kFmsSetup}, {1, kL4, kMaintenance}, {1, kR2, kMaintenance}};
    for (const auto& c : cases) {
        cdu.show(kMaintenance, c.subPage);
        cdu.press(c.key);
        EXPECT_EQ(cdu.fms().currentPage, c.page) << c.subPage << " " << c.key;
        EXPECT_TRUE(cdu.fms().heading.isSelectedMag);
    }
}

TEST(MaintenancePages, AGpsWithoutPowerIsAFailedSensor) {
    CduSession cdu;
    cdu.module.aircraft().gps()->unpowered = true;
    cdu.show(kMaintenance, 2);
    EXPECT_EQ(cdu.row(2), " GPS 1");
}

TEST(MaintenancePages, TheHeadingReferenceFollowsTheSelectionOutsideThePolarBands) {
    const struct {
        double latitude;
        bool activeAfterMag;
    } cases[] = {{47.0, true}, {-40.0, true}, {0.0, false}, {80.0, false}};
    for (const auto& c : cases) {
        CduSession cdu;
        cdu.placeAircraft(c.latitude, 8.0);
        cdu.frame();
        cdu.show(kMaintenance, 3);
        cdu.press(kR2);
        EXPECT_FALSE(cdu.fms().heading.isSelectedMag);
        EXPECT_FALSE(cdu.fms().heading.activeMag) << "TRUE takes effect at once";
        EXPECT_EQ(cdu.row(4), " TRUE           OR  MAG\u25BA");
        cdu.press(kR2);
        EXPECT_TRUE(cdu.fms().heading.isSelectedMag);
        EXPECT_EQ(cdu.fms().heading.activeMag, c.activeAfterMag) << c.latitude;
    }
}

TEST(PosSensorsPage, PositionsAndWaysOn) {
    CduSession cdu;
    cdu.show(kPosSensors);
    EXPECT_EQ(cdu.row(0), "      POS SENSORS    1/1");
    EXPECT_EQ(cdu.row(1), "FMS POS");
    EXPECT_EQ(cdu.row(2), "   N47\u00B000.0 E008\u00B000.0");
    EXPECT_EQ(cdu.row(3), "GPS 1            STATUS\u25BA");
    EXPECT_EQ(cdu.row(4), "   N47\u00B000.0 E008\u00B000.0");
    EXPECT_EQ(cdu.row(7), "\u25C4VOR/DME       POS INIT\u25BA");
    EXPECT_TRUE(cdu.cell(7, 15).reverse);
    for (const auto& [key, page] :
         {std::pair{kR2, kGpsStatus}, {kL4, kVorDme}, {kR4, kPositionInit}}) {
        cdu.show(kPosSensors);
        cdu.press(key);
        EXPECT_EQ(cdu.fms().currentPage, page);
    }
    cdu.module.aircraft().gps()->unpowered = true;
    cdu.show(kPosSensors);
    EXPECT_EQ(cdu.row(3), "");
    cdu.press(kR2);
    EXPECT_EQ(cdu.fms().currentPage, kPosSensors) << "no status of an unpowered GPS";
}

TEST(GpsStatusPage, OffsetFromTheFmsPositionAndTheQualityFigures) {
    CduSession cdu;
    cdu.fms().position.offsetBearing = 0.0;
    cdu.fms().position.offsetDistance = 3.0;
    cdu.show(kGpsStatus);
    EXPECT_EQ(cdu.row(0), "      GPS 1 STATUS   1/2");
    EXPECT_EQ(cdu.row(1), "      GPS POSITION");
    EXPECT_EQ(cdu.row(5), "    MILES FR FMS POS");
    EXPECT_EQ(cdu.row(6), " S3.0  E0.0   TOTAL 3.0");
    EXPECT_EQ(cdu.row(7), "\u25C4POS SENSORS");
    cdu.fms().position.offsetBearing = 90.0;
    cdu.fms().position.offsetDistance = 2.0;
    cdu.fms().drawPage();
    EXPECT_EQ(cdu.at(6, 7, 4), "W2.0");
    cdu.press(kNext);
    EXPECT_EQ(cdu.row(2), " HDOP= 2      UTC  1343");
    EXPECT_EQ(cdu.row(3), " VDOP= R   DATE 01FEB24");
    EXPECT_EQ(cdu.row(4), " MODE= NAVIGATION");
    cdu.module.aircraft().gps()->unpowered = true;
    cdu.fms().drawPage();
    EXPECT_EQ(cdu.row(4), " MODE= FAILED");
    EXPECT_EQ(cdu.row(5), " SATELLITES TRACKED =");
    cdu.press(kL4);
    EXPECT_EQ(cdu.fms().currentPage, kPosSensors);
}

TEST(VorDmePage, OneSubPagePerSide) {
    CduSession cdu;
    cdu.show(kVorDme, 2);
    EXPECT_EQ(cdu.row(0), "       VOR/DME 2     2/2");
    EXPECT_EQ(cdu.row(1), "              BRG  DIST");
    EXPECT_EQ(cdu.row(7), "\u25C4POS SENSORS   POS INIT\u25BA");
    cdu.press(kNext);
    EXPECT_EQ(cdu.row(0), "       VOR/DME 1     1/2");
    cdu.press(kR4);
    EXPECT_EQ(cdu.fms().currentPage, kPositionInit);
}

TEST(FlightConfigPages, OptionsToggleInMemoryOnly) {
    CduSession cdu;
    const std::string ini = readText(cdu.module.iniPath());
    cdu.show(kFmsSetup);
    EXPECT_EQ(cdu.row(0), "       FMS SETUP     1/1");
    EXPECT_EQ(cdu.row(1), "        CONFIG\u2013\u2013>FLIGHT\u25BA");
    cdu.press(kR1);
    ASSERT_EQ(cdu.fms().currentPage, kFlightConfig);
    EXPECT_EQ(cdu.row(0), "     FLIGHT CONFIG   1/2");
    EXPECT_EQ(cdu.row(1), " BANK ANGLE");
    EXPECT_EQ(cdu.row(2), "7\u00B0   (0-15)");
    EXPECT_EQ(cdu.row(3), "  FPL AUTO PAGE");
    EXPECT_EQ(cdu.row(4), " ON              OR OFF\u25BA");
    EXPECT_EQ(cdu.row(5), "  ORG/DEST DISPLAY");
    EXPECT_EQ(cdu.row(6), " OFF");
    EXPECT_EQ(cdu.row(7), "\u25C4SETUP");
    cdu.press(kR2);
    EXPECT_EQ(cdu.row(4), " OFF             OR  ON\u25BA");
    EXPECT_FALSE(cdu.fms().flightConfig.isFpAutoPage);
    cdu.press(kR2);
    EXPECT_TRUE(cdu.fms().flightConfig.isFpAutoPage);
    cdu.press(kNext);
    EXPECT_EQ(cdu.row(2), " OFF             OR  ON\u25BA");
    EXPECT_EQ(cdu.row(4), " STANDARD");
    EXPECT_EQ(cdu.row(6), " ON              OR OFF\u25BA");
    cdu.press(kR1);
    cdu.press(kR3);
    EXPECT_TRUE(cdu.fms().flightConfig.isSpecialMission);
    EXPECT_FALSE(cdu.fms().flightConfig.isSmartPerfLearning);
    cdu.press(kR2);
    EXPECT_TRUE(cdu.fms().flightConfig.isFpAutoPage) << "R2 is no key of sub-page 2";
    cdu.press(kL4);
    EXPECT_EQ(cdu.fms().currentPage, kFmsSetup);
    EXPECT_EQ(readText(cdu.module.iniPath()), ini);
}

TEST(FlightConfigPages, BankAngleEntries) {
    CduSession cdu;
    cdu.show(kFlightConfig);
    cdu.press(kL1);
    EXPECT_EQ(cdu.scratchpad(), "7");
    cdu.fms().takeScratchpad();
    const struct {
        const char* entry;
        int32_t angle;
        bool accepted;
    } cases[] = {{"15", 15, true}, {"0", 0, true},          {"16", 0, false},
                 {"-1", 0, false}, {"000000001", 0, false}, {"1A", 0, false}};
    for (const auto& c : cases) {
        cdu.enter(c.entry, kL1);
        EXPECT_EQ(cdu.message(), c.accepted ? "" : "INVALID ENTRY") << c.entry;
        EXPECT_EQ(cdu.scratchpad(), c.accepted ? "" : c.entry) << c.entry;
        if (c.accepted) {
            EXPECT_EQ(cdu.fms().sensorPages.flightConfigPage.bankAngle, c.angle);
        }
        cdu.fms().messages.clear();
        cdu.fms().takeScratchpad();
    }
    EXPECT_EQ(cdu.fms().sensorPages.flightConfigPage.bankAngle, 0);
    cdu.enter("15", kL1);
    EXPECT_EQ(cdu.row(2), "15\u00B0  (0-15)");
}

} // namespace
} // namespace tavi::test
