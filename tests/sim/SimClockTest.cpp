#include "sim/Simulator.h"
#include "support/NavFixtureFiles.h"
#include "support/TempFolder.h"

#include <chrono>
#include <gtest/gtest.h>
#include <string>

namespace tavi::sim {
namespace {

using namespace std::chrono;

double calculated(Panel& panel, const char* code) {
    double number = -1.0;
    panel.executeCalculatorCode(code, &number, nullptr, nullptr);
    return number;
}

struct TimeOfDayCase {
    const char* name;
    sys_days date;
    double utcHours;
    double latitude;
    double longitude;
    int32_t expected;
};

// Early in February the sun rises on the shipped region (61 N 24 E) at about 06:45 UTC and sets
// at about 14:05 UTC, civil twilight lasting an hour; on the equator at 0 E it sets at about
// 18:00 UTC all year.
const TimeOfDayCase kTimesOfDay[] = {
    {"NoonInFinland", year(2024) / 2 / 1, 10.5, 61.0, 24.0, SimClock::kDay},
    {"WinterEveningInFinland", year(2024) / 2 / 1, 16.0, 61.0, 24.0, SimClock::kNight},
    {"DuskInFinland", year(2024) / 2 / 1, 14.5, 61.0, 24.0, SimClock::kDusk},
    {"DawnInFinland", year(2024) / 2 / 1, 6.2, 61.0, 24.0, SimClock::kDawn},
    {"SummerLateEveningInFinland", year(2024) / 6 / 21, 20.5, 61.0, 24.0, SimClock::kDusk},
    {"MidnightOnTheEquator", year(2024) / 3 / 20, 0.0, 0.0, 0.0, SimClock::kNight},
    {"NoonOnTheEquatorFarWest", year(2024) / 3 / 20, 20.0, 0.0, -120.0, SimClock::kDay},
};

class TimeOfDayTest : public testing::TestWithParam<TimeOfDayCase> {};

TEST_P(TimeOfDayTest, FollowsTheSunWhereTheAircraftIs) {
    const TimeOfDayCase& c = GetParam();
    EXPECT_EQ(SimClock::timeOfDay(c.date, c.utcHours * 3600.0, c.latitude, c.longitude),
              c.expected);
}

INSTANTIATE_TEST_SUITE_P(Places, TimeOfDayTest, testing::ValuesIn(kTimesOfDay),
                         [](const auto& info) { return std::string(info.param.name); });

// The stand-in in a simulator folder holding the test region (ZZAA, 47 N 8 E; its cycle starts
// on 25 January 2024).
class SimClockTest : public testing::Test {
protected:
    SimClockTest() { test::writeRegionDatabase(folder.path()); }

    double zulu(const char* part) {
        const std::string code = std::string("(P:ZULU ") + part + ")";
        return calculated(simulator.panel, code.c_str());
    }

    test::TempFolder folder;
    Simulator simulator{folder.path()};
};

TEST_F(SimClockTest, AFlightStartsAWeekIntoTheDatabasesCycleAndTheClockRunsWithSimulatedTime) {
    ASSERT_TRUE(simulator.placeOnRunway("ZZAA", "09L"));
    EXPECT_EQ(zulu("YEAR, number"), 2024.0);
    EXPECT_EQ(zulu("MONTH OF YEAR, number"), 2.0);
    EXPECT_EQ(zulu("DAY OF MONTH, number"), 1.0);
    EXPECT_EQ(zulu("TIME, seconds"), 10.0 * 3600.0);
    simulator.stepSeconds(90.0);
    EXPECT_NEAR(zulu("TIME, seconds"), 10.0 * 3600.0 + 90.0, 1e-6);
    // 8 E is an hour ahead of UTC.
    EXPECT_EQ(simulator.panel.token(3), 11.0);
    EXPECT_EQ(simulator.panel.token(4), 1.0);
    EXPECT_EQ(calculated(simulator.panel, SimClock::kTimeOfDayCode), SimClock::kDay);
}

TEST_F(SimClockTest, MidnightTurnsTheDateOverTheYearsEnd) {
    simulator.startClock(sys_days(year(2023) / 12 / 31), 24.0 * 3600.0 - 30.0);
    simulator.stepSeconds(60.0);
    EXPECT_EQ(zulu("YEAR, number"), 2024.0);
    EXPECT_EQ(zulu("MONTH OF YEAR, number"), 1.0);
    EXPECT_EQ(zulu("DAY OF MONTH, number"), 1.0);
    EXPECT_NEAR(zulu("TIME, seconds"), 30.0, 1e-6);
}

TEST_F(SimClockTest, UntilTheClockRunsTheTestBedSetsTheTime) {
    CalculatorResult noon;
    noon.number = 12.0 * 3600.0;
    simulator.panel.setCalculatorResult("(P:ZULU TIME, seconds)", noon);
    simulator.clock.setTimeOfDay(SimClock::kNight);
    simulator.stepSeconds(10.0);
    EXPECT_EQ(zulu("TIME, seconds"), 12.0 * 3600.0);
    EXPECT_EQ(calculated(simulator.panel, SimClock::kTimeOfDayCode), SimClock::kNight);
}

TEST_F(SimClockTest, ThePanelGoesDarkAsTheSunSetsOnTheParkedAircraft) {
    simulator.startClock(sys_days(year(2024) / 2 / 1), 15.0 * 3600.0);
    ASSERT_TRUE(simulator.parkAtAirport());
    simulator.step();
    EXPECT_EQ(calculated(simulator.panel, SimClock::kTimeOfDayCode), SimClock::kDay);
    simulator.stepSeconds(3.0 * 3600.0);
    EXPECT_EQ(calculated(simulator.panel, SimClock::kTimeOfDayCode), SimClock::kNight);
}

} // namespace
} // namespace tavi::sim
