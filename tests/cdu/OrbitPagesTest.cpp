#include "cdu/pages/CduPageIds.h"
#include "core/Angles.h"
#include "core/Format.h"
#include "fms/GlobalFlightPlans.h"
#include "support/ProcedureSession.h"

namespace tavi::test {
namespace {

// ZZAA to ZZAD over P and Q; an orbit or a procedure turn put on P's line.
class OrbitPagesTest : public ProcedureSession {
protected:
    OrbitPagesTest() {
        enterRouteEnds("ZZAA", "ZZAD");
        typeThenPress("P", kL2);
        typeThenPress("Q", kL3);
        fms().flightConfig.isSpecialMission = true;
    }
    // PATTERNS' keyword onto P's line.
    void openOnP(int32_t patternKey, int32_t page) {
        pageKey(Fms::kDirKey);
        lineKey(kL4);
        lineKey(patternKey);
        lineKey(kL2);
        ASSERT_EQ(fms().currentPage, page);
    }
    FlightPlanLeg& legP() { return activeFlightPlan.legs[0]; }
};

TEST_F(OrbitPagesTest, AnOrbitTakesRadiusSpeedAndDirectionAndActivatesWithARadius) {
    openOnP(kR2, cdu_page::kOrbit);
    screenshot("orbit-new");
    EXPECT_EQ(rows(0, 7),
              (std::vector<std::string>{"         ORBIT       1/1", "  ORBIT FIX      RADIUS",
                                        " P                   ---", " SPEED",
                                        "MAX END           OR ---", "  DIRECTION",
                                        " CCW             OR  CW?", "?CLEAR         ACTIVATE?"}));
    lineKey(kR4);
    EXPECT_EQ(fms().currentPage, cdu_page::kOrbit) << "no ACTIVATE without a radius";
    EXPECT_FALSE(legP().orbit.active);

    const std::pair<const char*, int32_t> refused[] = {
        {"0.9", kR1}, {"100", kR1}, {"74", kR2}, {"451", kR2}};
    for (const auto& [entry, key] : refused) {
        fms().messages.clear();
        fms().setScratchpad(entry);
        lineKey(key);
        EXPECT_EQ(message(), "INVALID ENTRY") << entry;
        EXPECT_EQ(fms().scratchPad.text(), entry);
    }
    EXPECT_DOUBLE_EQ(legP().orbit.radius, 0.0);
    EXPECT_EQ(legP().orbit.speed, 0);
    fms().messages.clear();
    fms().setScratchpad("");
    typeThenPress("75", kR2);
    EXPECT_EQ(legP().orbit.speed, 75);
    typeThenPress("450", kR2);
    EXPECT_EQ(legP().orbit.speed, 450);
    typeThenPress("5.5", kR1);
    lineKey(kR3);
    screenshot("orbit");
    EXPECT_EQ(rows(2, 6), (std::vector<std::string>{" P                   5.5", " SPEED",
                                                    "MAX END           OR 450", "  DIRECTION",
                                                    " CW              OR CCW?"}));
    EXPECT_TRUE(legP().orbit.rightTurns);
    lineKey(kR4);
    EXPECT_EQ(fms().currentPage, Fms::kActiveFlightPlanPage);
    EXPECT_TRUE(legP().orbit.active);
    EXPECT_EQ(row(4).substr(0, 2), "PO");

    // Hold and procedure turn are refused on an orbit's leg; CLEAR erases the orbit.
    openOnP(kR2, cdu_page::kOrbit);
    lineKey(kL4);
    EXPECT_EQ(legP().orbit.radius, 0.0);
    EXPECT_FALSE(legP().orbit.active);
}

TEST_F(OrbitPagesTest, AProcedureTurnShowsItsCoursesAndConvertsTimeAndDistance) {
    openOnP(kR1, cdu_page::kProcedureTurn);
    screenshot("procedure-turn");
    const ProcedureTurn& turn = legP().pcdrTurn;
    EXPECT_EQ(row(1), "  PT FIX BOUNDARY DIST");
    EXPECT_EQ(row(2), " P               10.0NM");
    EXPECT_EQ(row(7), "               ACTIVATE?") << "a new turn offers ACTIVATE";
    typeThenPress("R45", kL2);
    EXPECT_EQ(turn.turnAngle, 45);
    const double course = turn.magneticCourse;
    const auto rounded = [](double degrees) {
        return format("%03.0f", degrees);
    };
    EXPECT_EQ(row(4).substr(0, 10), "R?45(" + rounded(normalize360(course + 45.0)) + "?)");
    EXPECT_EQ(row(6).substr(0, 4), rounded(normalize360(course + 180.0)) + "?");
    typeThenPress("2.0", kR2);
    EXPECT_DOUBLE_EQ(turn.outboundDistance, 7.0) << "2 minutes at 210 kt";
    EXPECT_FALSE(cell(6, 22).large);
    typeThenPress("3.5", kR3);
    EXPECT_DOUBLE_EQ(turn.outboundTime, 1.0);
    EXPECT_TRUE(cell(6, 22).large);
    EXPECT_FALSE(cell(4, 22).large);

    const char* refused[] = {"R19", "L91", "R5", "45"};
    for (const char* entry : refused) {
        fms().messages.clear();
        fms().setScratchpad(entry);
        lineKey(kL2);
        EXPECT_EQ(message(), "INVALID ENTRY") << entry;
    }
    EXPECT_EQ(turn.turnAngle, 45);
    fms().messages.clear();
    fms().setScratchpad("");
    typeThenPress("L20", kL2);
    typeThenPress("R90", kL2);
    EXPECT_EQ(turn.turnAngle, 90);
}

TEST_F(OrbitPagesTest, ActivatingTwiceLeavesOneTurnPointAndOneSecondPass) {
    openOnP(kR1, cdu_page::kProcedureTurn);
    lineKey(kR4);
    ASSERT_EQ(fms().currentPage, Fms::kActiveFlightPlanPage);
    EXPECT_EQ(legIdents(activeFlightPlan), (std::vector<std::string>{"P", "*INT01", "P", "Q"}));
    EXPECT_EQ(activeFlightPlan.legs[0].vnav.speed, 170);
    EXPECT_EQ(activeFlightPlan.legs[1].vnav.speed, 170);
    EXPECT_EQ(activeFlightPlan.legs[1].pcdrTurn.active, 1);
    EXPECT_EQ(activeFlightPlan.legs[2].vnav.speed, 0) << "the second pass of the fix is plain";
    ASSERT_NE(fms().pilotPoints().find("*INT01"), nullptr);

    openOnP(kR1, cdu_page::kProcedureTurn);
    EXPECT_EQ(row(7), "") << "no ACTIVATE prompt until an entry";
    typeThenPress("L30", kL2);
    lineKey(kR4);
    EXPECT_EQ(legIdents(activeFlightPlan), (std::vector<std::string>{"P", "*INT03", "P", "Q"}));
    EXPECT_EQ(fms().pilotPoints().find("*INT01"), nullptr) << "the first turn's point is gone";
}

} // namespace
} // namespace tavi::test
