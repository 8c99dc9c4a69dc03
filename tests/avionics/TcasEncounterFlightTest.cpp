// Whole encounters through the TCAS on the stand-in's traffic list, with a crew that follows
// the resolution advisory and returns to its altitude once the conflict is cleared.
#include "support/TcasEncounter.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace tavi::test {
namespace {} // namespace

void PrintTo(const TcasEncounterSetup& setup, std::ostream* out) {
    *out << setup.name;
}

namespace {

class TcasEncounterFlightTest : public testing::TestWithParam<TcasEncounterSetup> {};

// One advisory per encounter, the clear of conflict only after the closest approach, and the
// advisory's separation at that approach.
TEST_P(TcasEncounterFlightTest, OneAdvisoryClearedAfterTheClosestApproach) {
    TcasEncounter encounter(GetParam());
    ASSERT_TRUE(encounter.bench.hasSounds());
    const TcasEncounterResult result = encounter.fly();
    const std::string shown =
        testing::PrintToString(result.kinds) + " calls " + testing::PrintToString(result.callouts);
    EXPECT_EQ(result.advisoriesBegun, 1) << shown;
    EXPECT_EQ(result.clearOfConflictCalls, 1) << shown;
    EXPECT_TRUE(result.clearAfterClosestApproach) << shown;
    EXPECT_GE(std::fabs(result.separationAtClosestApproach), 300.0) << shown;
    EXPECT_LT(result.largestDeviation, 1500.0) << shown;
}

// Own aircraft level; the intruder's start (nm, bearing, ft above), heading, speed and vertical
// speed.
INSTANTIATE_TEST_SUITE_P(
    Encounters, TcasEncounterFlightTest,
    testing::Values(
        TcasEncounterSetup{"HeadOnCoAltitude", 10000.0, 8.0, 0.0, 0.0, 180.0, 480.0, 0.0},
        TcasEncounterSetup{"HeadOn200FtAbove", 10000.0, 8.0, 0.0, 200.0, 180.0, 480.0, 0.0},
        TcasEncounterSetup{"HeadOnDescendingThrough", 10000.0, 8.0, 0.0, 800.0, 180.0, 480.0,
                           -1000.0},
        TcasEncounterSetup{"HeadOnClimbingFromBelow", 10000.0, 8.0, 0.0, -900.0, 180.0, 480.0,
                           1500.0},
        TcasEncounterSetup{"CrossingFromTheRight", 10000.0, 5.0, 90.0, 0.0, 270.0, 300.0, 0.0},
        TcasEncounterSetup{"CrossingLow", 4000.0, 4.0, 270.0, -100.0, 90.0, 250.0, 0.0},
        TcasEncounterSetup{"SlowOvertake", 10000.0, 1.5, 180.0, 100.0, 0.0, 30.0, 0.0},
        TcasEncounterSetup{"SlowOvertakeClimbing", 10000.0, 1.5, 180.0, -300.0, 0.0, 40.0, 200.0}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace tavi::test
