#include "support/CduPlanSession.h"

namespace tavi::test {
namespace {

class FlightPlanSessionTest : public CduPlanSession {
protected:
    FlightPlanSessionTest() { useKeyboard(); }

    void restartWithKeyboard() {
        restartModule();
        useKeyboard();
    }
};

TEST_F(FlightPlanSessionTest, ARouteSavedSurvivesARestartAndIsFlownAsTyped) {
    pageKey(Fms::kFplKey);
    typeThenPress("ZZAA-ZZAD", kR3);
    ASSERT_EQ(fms().currentPage, Fms::kStoredPlanPage);
    typeThenPress("P", kL2);
    typeThenPress("ZZAD", kL3);
    typeThenPress("A1.S", kL3);
    ASSERT_EQ(legIdents(selectedStoredPlan),
              (std::vector<std::string>{"P", "Q", "R", "S", "(DISC)", "ZZAD"}));
    press(kPageDownKey);
    deleteWith(kL3);
    press(kPageUpKey);
    typeThenPress("300", kR1);
    const std::vector<std::string> typed = {"P", "Q", "R", "S", "ZZAD"};
    ASSERT_EQ(legIdents(selectedStoredPlan), typed);
    const FlightPlan saved = selectedStoredPlan;

    restartWithKeyboard();
    pageKey(Fms::kFplKey);
    typeThenPress("", kL4);
    ASSERT_EQ(fms().currentPage, 15);
    EXPECT_EQ(row(3), "ZZAA-ZZAD");
    typeThenPress("", kL2);
    EXPECT_EQ(fms().scratchPad.text(), "ZZAA-ZZAD");
    typeThenPress("", kR4);
    typeThenPress("", kL1);
    ASSERT_EQ(fms().currentPage, 18);
    typeThenPress("", kR1);
    ASSERT_EQ(fms().currentPage, Fms::kActiveFlightPlanPage);

    ASSERT_EQ(activeFlightPlan.legCount(), saved.legCount());
    for (std::size_t i = 0; i < saved.legCount(); ++i) {
        const Waypoint& flown = activeFlightPlan.legs[i].wpt;
        const Waypoint& stored = saved.legs[i].wpt;
        EXPECT_EQ(flown.ident, stored.ident) << i;
        EXPECT_EQ(flown.kind, stored.kind) << i;
        EXPECT_EQ(flown.id, stored.id) << i;
        EXPECT_NEAR(flown.latitude, stored.latitude, 1e-6) << i;
        EXPECT_NEAR(flown.longitude, stored.longitude, 1e-6) << i;
    }
    EXPECT_EQ(activeFlightPlan.org.ident, "ZZAA");
    EXPECT_EQ(activeFlightPlan.dest.ident, "ZZAD");
    EXPECT_EQ(activeFlightPlan.gspd, 300u);
    EXPECT_EQ(activeFlightPlan.name(), "ZZAA-ZZAD");
    EXPECT_NEAR(activeFlightPlan.totalDistance, saved.totalDistance, 1e-6);

    typeThenPress("/FL240A", kR3);
    EXPECT_EQ(activeFlightPlan.legs[1].vnav.altitude, 24000);
    EXPECT_TRUE(activeFlightPlan.legs[1].vnav.hasAltitude);
    typeThenPress("P/090/10", kL3);
    EXPECT_EQ(legIdents(activeFlightPlan),
              (std::vector<std::string>{"P", "*PBD01", "Q", "R", "S", "ZZAD"}));
    EXPECT_EQ(row(8), "");
}

TEST_F(FlightPlanSessionTest, ARouteTypedOnTheActivePlan) {
    typeRoute();
    typeThenPress("250/FL240", kR3);
    typeThenPress("Q/090/10", kL3);
    EXPECT_EQ(legIdents(activeFlightPlan),
              (std::vector<std::string>{"P", "*PBD01", "Q", "R", "S", "ZZAD"}));
    EXPECT_EQ(activeFlightPlan.legs[2].vnav.speed, 250);
    EXPECT_EQ(activeFlightPlan.legs[2].vnav.altitude, 24000);
    EXPECT_EQ(row(8), "");
    screenshot("ActiveFltPlanSession");
}

} // namespace
} // namespace tavi::test
