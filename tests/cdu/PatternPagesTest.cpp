#include "cdu/pages/CduPageIds.h"
#include "core/Angles.h"
#include "fms/GlobalFlightPlans.h"
#include "support/ProcedureSession.h"

namespace tavi::test {
namespace {

// ZZAA to ZZAD over P and Q; the crew opens PATTERNS from ACTIVE FLT PLAN in DIR mode and puts
// a pattern on a line.
class PatternPagesTest : public ProcedureSession {
protected:
    PatternPagesTest() {
        enterRouteEnds("ZZAA", "ZZAD");
        typeThenPress("P", kL2);
        typeThenPress("Q", kL3);
    }

    void openPatterns() {
        pageKey(Fms::kDirKey);
        lineKey(kL4);
        ASSERT_EQ(fms().currentPage, cdu_page::kPatterns);
    }
    // PATTERNS' keyword, then the line key of the ACTIVE FLT PLAN line.
    void applyPattern(int32_t patternKey, int32_t lineKeyOnPlan) {
        openPatterns();
        lineKey(patternKey);
        ASSERT_EQ(fms().currentPage, Fms::kActiveFlightPlanPage);
        lineKey(lineKeyOnPlan);
    }
    void openHoldAtP() {
        applyPattern(kL1, kL2);
        ASSERT_EQ(fms().currentPage, cdu_page::kHoldingPattern);
    }
    const HoldingPattern& edited() { return fms().patternPages.editedHold; }
};

TEST_F(PatternPagesTest, PatternsPutsItsKeywordIntoThePadAndReturns) {
    struct Case {
        bool specialMission;
        int32_t key;
        const char* keyword;
    };
    const Case cases[] = {
        {false, kL1, "*HOLD*"}, {false, kL2, "*FLYOVER*"}, {false, kR1, "*PCDR TURN*"},
        {false, kL3, ""},       {false, kR2, ""},          {true, kL3, "*RADIAL*"},
        {true, kR2, "*ORBIT*"}, {true, kL4, ""},           {true, kR3, ""},
    };
    for (const Case& c : cases) {
        fms().flightConfig.isSpecialMission = c.specialMission;
        openPatterns();
        fms().setScratchpad("");
        lineKey(c.key);
        EXPECT_EQ(fms().scratchPad.text(), c.keyword) << c.key;
        EXPECT_EQ(fms().currentPage, *c.keyword ? Fms::kActiveFlightPlanPage : cdu_page::kPatterns)
            << c.key;
        fms().setScratchpad("");
    }
    fms().flightConfig.isSpecialMission = false;
    openPatterns();
    screenshot("patterns");
    EXPECT_EQ(rows(0, 6),
              (std::vector<std::string>{"        PATTERNS     1/1", "?HOLD         PCDR TURN?", "",
                                        "?FLYOVER", "", "", ""}));
    fms().flightConfig.isSpecialMission = true;
    EXPECT_EQ(rows(3, 5), (std::vector<std::string>{"?FLYOVER          ORBIT?", "", "?RADIAL"}));
}

TEST_F(PatternPagesTest, NavIndexOpensPatternsReturningToTheFlightPlan) {
    openFromNavIndex(2, kR1);
    ASSERT_EQ(fms().currentPage, cdu_page::kPatterns);
    lineKey(kL1);
    EXPECT_EQ(fms().currentPage, Fms::kActiveFlightPlanPage);
    EXPECT_EQ(fms().activeFplPage.subPage, 1);
}

TEST_F(PatternPagesTest, AHoldIsEditedAndActivatedAtItsFix) {
    openHoldAtP();
    screenshot("holding-pattern");
    EXPECT_EQ(rows(0, 7),
              (std::vector<std::string>{"    HOLDING PATTERN  1/1", "  HOLD FIX", " P",
                                        " QUAD  ENTRY   LEG TIME", "SW     DIRECT     1.0MIN",
                                        " INBD CRS/DIR  LEG DIST", "034?/R TURN        3.7NM",
                                        "?CLEAR         ACTIVATE?"}));
    EXPECT_FALSE(cell(4, 0).large) << "a course from the leg, not a quadrant";
    EXPECT_TRUE(cell(4, 22).large) << "the time defines the leg";
    EXPECT_FALSE(cell(6, 22).large);

    typeThenPress("N", kL2);
    EXPECT_DOUBLE_EQ(edited().inboundCourseMagnetic, 180.0);
    EXPECT_EQ(row(4).substr(0, 1), "N");
    EXPECT_TRUE(cell(4, 0).large);
    EXPECT_TRUE(cell(6, 0).large) << "quadrant and course both large after a quadrant";
    typeThenPress("/L", kL3);
    EXPECT_EQ(edited().rightTurns, 0);
    EXPECT_EQ(edited().quadrantEntered, 1) << "a direction alone keeps the quadrant";
    typeThenPress("6", kR3);
    EXPECT_NEAR(edited().holdSpeed, 224.5, 0.1) << "220 kt, true at the field's 1410 ft";
    EXPECT_NEAR(edited().legTimeMin, 6.0 / edited().holdSpeed * 60.0, 1e-9);
    EXPECT_FALSE(cell(4, 22).large);
    EXPECT_TRUE(cell(6, 22).large);
    EXPECT_EQ(activeFlightPlan.legs[0].holding.active, 0) << "edits wait for ACTIVATE";
    screenshot("holding-pattern-edited");

    lineKey(kR4);
    ASSERT_EQ(fms().currentPage, Fms::kActiveFlightPlanPage);
    const HoldingPattern& hold = activeFlightPlan.legs[0].holding;
    EXPECT_EQ(hold.active, 1);
    EXPECT_EQ(hold.rightTurns, 0);
    EXPECT_DOUBLE_EQ(hold.legLength, 6.0);
    EXPECT_EQ(row(4).substr(0, 2), "PH");
    EXPECT_TRUE(cell(4, 1).reverse);

    pageKey(Fms::kDirKey);
    lineKey(kL4);
    lineKey(kL1);
    lineKey(kL2);
    ASSERT_EQ(fms().currentPage, cdu_page::kHoldingPattern);
    EXPECT_EQ(row(6), "180?/L TURN        6.0NM") << "an active hold opens with its values";
    lineKey(kL4);
    EXPECT_EQ(activeFlightPlan.legs[0].holding.active, 0);
    EXPECT_DOUBLE_EQ(activeFlightPlan.legs[0].holding.legLength, 6.0) << "CLEAR keeps the values";
}

TEST_F(PatternPagesTest, RefusedHoldEntriesChangeNothing) {
    openHoldAtP();
    const HoldingPattern before = edited();
    const std::pair<const char*, int32_t> entries[] = {
        {"X", kL2},   {"NNE", kL2}, {"400", kL3},  {"090/X", kL3},    {"0.4", kR2},
        {"3.1", kR2}, {"0.9", kR3}, {"20.1", kR3}, {"*DELETE*", kR3},
    };
    for (const auto& [entry, key] : entries) {
        fms().messages.clear();
        fms().setScratchpad(entry);
        lineKey(key);
        EXPECT_EQ(message(), "INVALID ENTRY") << entry;
        if (std::string(entry) != "*DELETE*") { // a message drops the delete keyword
            EXPECT_EQ(fms().scratchPad.text(), entry) << "the pad keeps a refused entry";
        }
        EXPECT_DOUBLE_EQ(edited().inboundCourse, before.inboundCourse) << entry;
        EXPECT_DOUBLE_EQ(edited().legTimeMin, before.legTimeMin) << entry;
        EXPECT_DOUBLE_EQ(edited().legLength, before.legLength) << entry;
    }
}

TEST_F(PatternPagesTest, TimeAndDistanceConvertAtTheHoldSpeed) {
    openHoldAtP();
    fms().patternPages.editedHold.holdSpeed = 240.0;
    typeThenPress("1.5", kR2);
    EXPECT_EQ(row(6).substr(19), "6.0NM");
    EXPECT_FALSE(cell(6, 22).large);
    typeThenPress("6.0", kR3);
    EXPECT_EQ(row(4).substr(18), "1.5MIN");
    EXPECT_FALSE(cell(4, 22).large);
    EXPECT_TRUE(cell(6, 22).large);
    typeThenPress("090", kL3);
    EXPECT_EQ(row(4).substr(0, 1), "W");
    EXPECT_EQ(row(6).substr(0, 11), "090?/R TURN");
    EXPECT_FALSE(cell(6, 0).large);
}

TEST_F(PatternPagesTest, TrueCoursesEndInTAndTheMagneticFollowsTheVariation) {
    fms().heading.isSelectedMag = false;
    fms().heading.activeMag = false;
    openHoldAtP();
    const double variation = activeFlightPlan.legs[0].wpt.variation;
    typeThenPress("S", kL2);
    EXPECT_DOUBLE_EQ(edited().inboundCourse, 0.0);
    EXPECT_NEAR(edited().inboundCourseMagnetic, normalize360(-variation), 1e-9);
    EXPECT_EQ(row(6).substr(0, 4), "360T");
}

TEST_F(PatternPagesTest, AHoldBeingFlownRefusesEditsButClearsAndActivates) {
    FlightPlanLeg& leg = activeFlightPlan.legs[0];
    applyPattern(kL1, kL2);
    lineKey(kR4);
    leg.holding.entered = 1;
    leg.holding.holdPhase = 2;
    // The hold being flown puts EXIT HOLD where PATTERN was: NAV INDEX leads to PATTERNS.
    openFromNavIndex(2, kR1);
    lineKey(kL1);
    lineKey(kL2);
    ASSERT_EQ(fms().currentPage, cdu_page::kHoldingPattern);
    typeThenPress("N", kL2);
    EXPECT_EQ(message(), "UNABLE HOLD CHANGE");
    EXPECT_EQ(fms().scratchPad.text(), "");
    EXPECT_EQ(edited().quadrantEntered, 0);
    lineKey(kL4);
    EXPECT_EQ(leg.holding.active, 0);
    EXPECT_EQ(leg.holding.entered, 0);
}

TEST_F(PatternPagesTest, AHoldWithoutASpeedConvertsAtItsDefaultSpeed) {
    // An active hold keeps its record when opened; a record that never had a speed (as a
    // constructed one) must not divide a leg distance by zero.
    activeFlightPlan.legs[0].holding = HoldingPattern();
    activeFlightPlan.legs[0].holding.active = 1;
    openHoldAtP();
    typeThenPress("5.5", kR3);
    EXPECT_EQ(message(), "");
    EXPECT_NEAR(edited().legTimeMin, 5.5 / 220.0 * 60.0, 1e-9);
    EXPECT_EQ(row(4).substr(18), "1.5MIN");
    typeThenPress("2.0", kR2);
    EXPECT_EQ(row(6).substr(18), " 7.3NM") << "2 minutes at 220 kt";
}

} // namespace
} // namespace tavi::test
