#include "navdata/GeoAngles.h"
#include "support/LnavLegFlight.h"

#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace tavi::test {
namespace {

constexpr double kManualLegSpeed = 210.0;
// The manual leg's course lies this far right of the heading flown: the heading law asks a bank
// below its limit. The wind from the north sets the track about 10 degrees right of the heading,
// beyond the leg's course: a heading leg turns right, a track leg a little left.
constexpr double kCourseChange = 8.0;
constexpr double kNorthWind = 40.0;

struct ManualLeg {
    const char* name;
    TerminalLegType type;
    // The law flies the magnetic heading (a heading leg), else the true track.
    bool heading;
};

void PrintTo(const ManualLeg& leg, std::ostream* out) {
    *out << leg.name;
}

class LnavManualTerminationFlightTest : public testing::TestWithParam<ManualLeg> {};

// Eastbound with the active leg one that ends only when the pilot ends it (the first leg of a
// departure flown on vectors), NAV pressed on the FMS source. In the frame LNAV captures, the
// flight director flies the leg's heading or track; in the next the FMS has ended LNAV, which it
// does not fly on such a leg, and the flight director holds the roll.
TEST_P(LnavManualTerminationFlightTest, TheLegsCourseIsFlownUntilTheFmsEndsLnav) {
    FlightScenario flight;
    flight.simulator().atmosphere.setWind(0.0, kNorthWind);
    LnavLegFlight route(flight, kManualLegSpeed);
    route.start(47.0, 8.5, 90.0);
    const GcNav here = LnavLegFlight::at(route.origin);
    FlightPlanLeg manual;
    manual.trmLeg.legType = GetParam().type;
    manual.trmLeg.course = static_cast<float>(90.0 + kCourseChange);
    FlightPlanLeg after;
    after.wpt = LnavLegFlight::fixAt("M1", here, 90.0, 30.0);
    route.load({manual, after}, LnavLegFlight::fixAt("ZZAD", here, 90.0, 60.0));
    route.pressNavWithTheAutopilot();

    // Frame by frame up to the capture.
    for (int frame = 0; frame < 100 && flight.fd().lateralMode() != FdLateralMode::Lnav; ++frame) {
        flight.simulator().stepBy(0.05);
    }
    ASSERT_EQ(flight.fd().lateralMode(), FdLateralMode::Lnav);
    const FlightPlanLeg& leg = activeFlightPlan.legs[activeFlightPlan.activeLeg];
    ASSERT_TRUE(leg.isManualTermination());
    const double target = GetParam().heading ? leg.magneticCourse() : leg.course;
    const double current = GetParam().heading
                               ? flight.headingMagnetic()
                               : flight.simulator().panel.variable("GPS GROUND TRUE TRACK");
    const double error =
        geo::angleDifference(static_cast<float>(current), static_cast<float>(target));
    const double law =
        flight.fd().scheduleHeadingGain(flight.simulator().panel.variable("GROUND VELOCITY")) *
        error;
    const float bank = flight.autopilot().bankCommand;
    std::printf("%s leg: %.1f degrees to turn, bank command %.1f (the heading law's %.1f)\n",
                GetParam().name, error, bank, law);
    EXPECT_GT(std::fabs(error), 1.0);
    EXPECT_NEAR(bank, law, 0.05 * std::fabs(law) + 0.2);

    flight.simulator().stepBy(0.05);
    EXPECT_EQ(flight.fd().lateralMode(), FdLateralMode::Rol) << "the FMS ended LNAV";
    EXPECT_EQ(flight.fd().armedLateralMode(), FdLateralMode::None);
    EXPECT_TRUE(flight.autopilot().engaged);
}

INSTANTIATE_TEST_SUITE_P(Legs, LnavManualTerminationFlightTest,
                         testing::Values(ManualLeg{"heading", TerminalLegType::VM, true},
                                         ManualLeg{"track", TerminalLegType::FM, false}),
                         [](const testing::TestParamInfo<ManualLeg>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
} // namespace tavi::test
