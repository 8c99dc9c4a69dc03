#include "cdu/pages/CduPageIds.h"
#include "fms/GlobalFlightPlans.h"
#include "navdata/GcNav.h"
#include "support/ProcedureSession.h"

namespace tavi::test {
namespace {

// ZZAA to ZZAD over P and Q; RADIAL from PATTERNS on P's line, INTERCEPT on Q's line.
class RadialPagesTest : public ProcedureSession {
protected:
    RadialPagesTest() {
        enterRouteEnds("ZZAA", "ZZAD");
        typeThenPress("P", kL2);
        typeThenPress("Q", kL3);
        fms().flightConfig.isSpecialMission = true;
    }
    void openRadialOn(int32_t line) {
        pageKey(Fms::kDirKey);
        lineKey(kL4);
        lineKey(kL3);
        lineKey(line);
        ASSERT_EQ(fms().currentPage, cdu_page::kRadial);
    }
    // No CDU key types "*": the keyword goes into the pad as the FMS would take it.
    void openInterceptOnQ() {
        pageKey(Fms::kDirKey);
        fms().setScratchpad("*INTERCEPT*");
        lineKey(kL3);
        ASSERT_EQ(fms().currentPage, cdu_page::kIntercept);
    }
    const RadialPattern& intercept() { return fms().radialPages.interceptPattern; }
};

TEST_F(RadialPagesTest, RadialPointsGoBeforeAndAfterTheFix) {
    openRadialOn(kL2);
    screenshot("radial-new");
    EXPECT_EQ(rows(0, 7), (std::vector<std::string>{
                              "         RADIAL      1/1", "  RADIAL FIX", " P",
                              " INBOUND       OUTBOUND", "---.-?            ---.-?",
                              " DIST              DIST", "---.-              ---.-", "?CLEAR"}));
    typeThenPress("90", kR2);
    EXPECT_EQ(row(7), "?CLEAR") << "ACTIVATE waits for a whole pair";
    typeThenPress("12", kR3);
    EXPECT_EQ(row(7), "?CLEAR         ACTIVATE?");
    deleteWith(kR3);
    EXPECT_EQ(row(7), "?CLEAR");
    typeThenPress("12", kR3);
    typeThenPress("200.5T", kL2);
    typeThenPress("8", kL3);
    screenshot("radial");
    EXPECT_EQ(row(4), "200.5T            090.0?");
    EXPECT_EQ(row(6), "8.0NM             12.0NM");
    fms().setScratchpad("1000");
    lineKey(kL3);
    EXPECT_EQ(message(), "INVALID ENTRY");
    fms().messages.clear();
    fms().setScratchpad("");
    lineKey(kR4);
    ASSERT_EQ(fms().currentPage, Fms::kActiveFlightPlanPage);
    EXPECT_EQ(legIdents(activeFlightPlan),
              (std::vector<std::string>{"*PBD01", "P", "*PBD03", "Q"}));
    const Waypoint& p = activeFlightPlan.legs[1].wpt;
    const Waypoint& before = activeFlightPlan.legs[0].wpt;
    EXPECT_NEAR(GcNav::courseBetween(p.latitude, p.longitude, before.latitude, before.longitude),
                20.5, 0.2)
        << "on the inbound course's reciprocal from the fix";
    EXPECT_NEAR(GcNav::distanceBetween(p.latitude, p.longitude, before.latitude, before.longitude),
                8.0, 0.05);
}

TEST_F(RadialPagesTest, InterceptBuildsThePointWhereTheRadialsMeet) {
    openInterceptOnQ();
    EXPECT_EQ(intercept().returnSubPage, 1);
    screenshot("intercept-new");
    EXPECT_EQ(rows(0, 7), (std::vector<std::string>{"       INTERCEPT     1/1", "  FROM P",
                                                    "---? RAD/CRS OR HDG SEL?", "", "", " TO  Q",
                                                    "---? RAD   OR   CRS ---?", "?CLEAR"}));
    typeThenPress("270", kL3);
    EXPECT_DOUBLE_EQ(intercept().inboundCourse, 90.0) << "a radial of Q is the reciprocal";
    EXPECT_EQ(row(6), "270? RAD   OR   CRS 090?");
    typeThenPress("90", kR3);
    EXPECT_EQ(row(6), "270? RAD   OR   CRS 090?");
    typeThenPress("360", kL1);
    screenshot("intercept");
    EXPECT_EQ(row(2), "360? RAD/CRS");
    lineKey(kR4);
    EXPECT_EQ(fms().currentPage, Fms::kActiveFlightPlanPage);
    EXPECT_EQ(legIdents(activeFlightPlan), (std::vector<std::string>{"P", "*RR01", "Q"}));
    const Waypoint& point = activeFlightPlan.legs[1].wpt;
    EXPECT_NEAR(point.latitude, 47.6, 0.01) << "north of P, on Q's parallel";

    // Courses that never meet ahead of both fixes build nothing.
    openInterceptOnQ();
    typeThenPress("90", kL3);
    typeThenPress("180", kL1);
    lineKey(kR4);
    EXPECT_EQ(message(), "RADIALS DO NOT INTERSECT");
    EXPECT_EQ(activeFlightPlan.legCount(), 3u);
    openInterceptOnQ();
    lineKey(kL4);
    EXPECT_EQ(fms().currentPage, Fms::kActiveFlightPlanPage) << "CLEAR changes nothing";
}

TEST_F(RadialPagesTest, InterceptByHeadingSelectEndsInAHeadingLeg) {
    openInterceptOnQ();
    lineKey(kR1);
    EXPECT_TRUE(intercept().headingSelect);
    EXPECT_EQ(row(2), "FLY HDG SEL");
    deleteWith(kR1);
    EXPECT_FALSE(intercept().headingSelect) << "DEL returns to the course entry";
    lineKey(kR1);
    fms().setScratchpad("090");
    lineKey(kL1);
    EXPECT_EQ(message(), "INVALID ENTRY") << "no FROM course with HDG SEL";
    fms().messages.clear();
    fms().setScratchpad("");
    typeThenPress("045T", kR3);
    lineKey(kR4);
    ASSERT_EQ(fms().currentPage, Fms::kActiveFlightPlanPage);
    EXPECT_EQ(legIdents(activeFlightPlan), (std::vector<std::string>{"P", "(HDG SEL)", "Q"}));
    EXPECT_TRUE(activeFlightPlan.legs[1].manualTermination);
    EXPECT_EQ(activeFlightPlan.legs[2].startKind, kStartIntercept);
    EXPECT_NEAR(activeFlightPlan.legs[2].course, 45.0, 0.5);
}

TEST_F(RadialPagesTest, PolarFixesTakeTrueCoursesOnly) {
    typeThenPress("ZZPO", kL3);
    ASSERT_EQ(activeFlightPlan.legs[1].wpt.ident, "ZZPO");
    openRadialOn(kL3);
    typeThenPress("90", kR2);
    typeThenPress("12", kR3);
    lineKey(kR4);
    EXPECT_EQ(message(), "BRG/CRS MUST BE IN TRUE");
    EXPECT_EQ(fms().currentPage, cdu_page::kRadial);
    fms().messages.clear();
    typeThenPress("90T", kR2);
    lineKey(kR4);
    EXPECT_EQ(fms().currentPage, Fms::kActiveFlightPlanPage);
}

} // namespace
} // namespace tavi::test
