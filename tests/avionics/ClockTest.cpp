#include "avionics/Clock.h"

#include "support/AvionicsBench.h"

#include <gtest/gtest.h>

namespace tavi::test {
namespace {

class ClockTest : public testing::Test {
protected:
    Clock& clock() { return *bench.aircraft().clock(); }
    bool firstHalfSecond() { return bench.now() % 1000 < 500; }

    void setDate(double year, double month, double day) {
        sim::CalculatorResult result;
        result.number = year;
        bench.panel().setCalculatorResult("(P:ZULU YEAR, number)", result);
        result.number = month;
        bench.panel().setCalculatorResult("(P:ZULU MONTH OF YEAR, number)", result);
        result.number = day;
        bench.panel().setCalculatorResult("(P:ZULU DAY OF MONTH, number)", result);
    }

    AvionicsBench bench;
};

TEST_F(ClockTest, TimeColonsBlinkEveryHalfSecond) {
    bench.adc.zuluSeconds = 14 * 3600 + 5 * 60 + 30.9;
    bench.panel().setToken(3, 9.0);
    bench.panel().setToken(4, 7.0);
    int withColon = 0;
    int withoutColon = 0;
    for (int frame = 0; frame < 36; ++frame) {
        bench.step();
        if (firstHalfSecond()) {
            EXPECT_EQ(clock().utcText, "14:05") << bench.now();
            EXPECT_EQ(clock().localTimeText, "09:07") << bench.now();
            ++withColon;
        } else {
            EXPECT_EQ(clock().utcText, "14 05") << bench.now();
            EXPECT_EQ(clock().localTimeText, "09 07") << bench.now();
            ++withoutColon;
        }
    }
    EXPECT_GT(withColon, 10);
    EXPECT_GT(withoutColon, 10);
}

// The time of day at and around midnight: the simulator may give a whole day's seconds, or
// local hours of 24, at midnight.
TEST_F(ClockTest, TimesOfDayStayBelowTwentyFourHours) {
    const struct {
        double zuluSeconds;
        double localHours;
        const char* utc;
        const char* local;
    } rows[] = {{86399.9, 23.0, "23:59", "23:07"},
                {86400.0, 24.0, "00:00", "00:07"},
                {86400.0 + 61.0, 25.0, "00:01", "01:07"},
                {0.0, 0.0, "00:00", "00:07"}};
    bench.panel().setToken(4, 7.0);
    for (const auto& row : rows) {
        bench.adc.zuluSeconds = row.zuluSeconds;
        bench.panel().setToken(3, row.localHours);
        do {
            bench.step();
        } while (!firstHalfSecond());
        EXPECT_EQ(clock().utcText, row.utc) << row.zuluSeconds;
        EXPECT_EQ(clock().localTimeText, row.local) << row.localHours;
    }
}

TEST_F(ClockTest, DateShowsTheYearForTwoSecondsThenDayAndMonth) {
    setDate(2006, 12, 25);
    bool sawYear = false;
    bool sawDayMonth = false;
    for (int frame = 0; frame < 4 * 18; ++frame) {
        bench.step();
        const bool yearShown = bench.now() % 4000 < 2000;
        EXPECT_EQ(clock().dateText, yearShown ? " 2006" : "25 12") << bench.now();
        sawYear = sawYear || yearShown;
        sawDayMonth = sawDayMonth || !yearShown;
    }
    EXPECT_TRUE(sawYear && sawDayMonth);
}

TEST_F(ClockTest, ADateTheSimulatorCannotGiveKeepsTheLastOne) {
    setDate(2006, 12, 25);
    bench.stepBy(2.5);
    ASSERT_EQ(clock().dateText, "25 12");
    sim::CalculatorResult failure;
    failure.succeeds = false;
    bench.panel().setCalculatorResult("(P:ZULU DAY OF MONTH, number)", failure);
    bench.step();
    EXPECT_EQ(clock().dateText, "25 12");
}

struct DurationCase {
    uint32_t minutes;
    const char* steady;
    const char* blinking;
};

// clang-format off
const DurationCase kDurations[] = {
    {0,           "  :00", "   00"},
    {45,          "  :45", "   45"},
    {59,          "  :59", "   59"},
    {60,          "01:00", "01 00"},
    {125,         "02:05", "02 05"},
    {99 * 60 + 59, "99:59", "99 59"},
    {150 * 60 + 7, "99:07", "99 07"},
};
// clang-format on

class ClockDurationTest : public ClockTest, public testing::WithParamInterface<DurationCase> {};

// A time of whole minutes less 1 ms reads the minute before; so the test adds 30 s.
TEST_P(ClockDurationTest, ElapsedTimeAndChronometerReadHoursAndMinutes) {
    const DurationCase& row = GetParam();
    const uint32_t ms = row.minutes * 60000 + 30000;
    clock().elapsed1 = ms;
    clock().elapsed2 = ms;
    clock().chrono1 = ms;
    clock().chronoState1 = Clock::kChronoStopped;
    bench.step();
    EXPECT_EQ(clock().elapsedText1, row.steady) << "on the ground the colon stands";
    EXPECT_EQ(clock().elapsedText2, row.steady);
    EXPECT_EQ(clock().chronoText1, row.steady) << "a stopped chronometer's colon stands";

    bench.fms.airborne = true;
    clock().chronoState1 = Clock::kChronoRunning;
    for (int frame = 0; frame < 18; ++frame) {
        clock().elapsed1 = ms;
        clock().chrono1 = ms;
        bench.step();
        const char* expected = firstHalfSecond() ? row.steady : row.blinking;
        EXPECT_EQ(clock().elapsedText1, expected) << bench.now();
        EXPECT_EQ(clock().chronoText1, expected) << bench.now();
    }
}

INSTANTIATE_TEST_SUITE_P(Durations, ClockDurationTest, testing::ValuesIn(kDurations));

TEST_F(ClockTest, ElapsedTimeCountsOnlyWhileAirborneAndNotPaused) {
    bench.step();
    bench.stepBy(10.0);
    EXPECT_EQ(clock().elapsed1, 0u) << "on the ground";

    bench.fms.airborne = true;
    bench.stepBy(0.25);
    bench.stepBy(0.5);
    EXPECT_EQ(clock().elapsed1, 750u);
    EXPECT_EQ(clock().elapsed2, 750u);

    bench.pause(true);
    bench.stepBy(60.0);
    EXPECT_EQ(clock().elapsed1, 750u);
    bench.pause(false);
    bench.stepBy(0.25);
    EXPECT_EQ(clock().elapsed1, 1000u);
}

TEST_F(ClockTest, ChronometerButtonStartsStopsAndResets) {
    clock().chronoButton1();
    EXPECT_EQ(clock().chronoState1, Clock::kChronoRunning);
    EXPECT_TRUE(clock().showChrono1);
    bench.stepBy(1.5);
    EXPECT_EQ(clock().chrono1, 1500u);
    EXPECT_EQ(clock().chrono2, 0u) << "the other clock's chronometer stays";

    bench.pause(true);
    bench.stepBy(3.0);
    EXPECT_EQ(clock().chrono1, 1500u) << "paused";
    bench.pause(false);

    clock().chronoButton1();
    EXPECT_EQ(clock().chronoState1, Clock::kChronoStopped);
    bench.stepBy(2.0);
    EXPECT_EQ(clock().chrono1, 1500u);
    EXPECT_TRUE(clock().showChrono1);

    clock().chronoButton1();
    EXPECT_EQ(clock().chronoState1, Clock::kChronoReset);
    EXPECT_EQ(clock().chrono1, 0u);
    EXPECT_FALSE(clock().showChrono1);

    clock().chronoButton2();
    bench.stepBy(0.5);
    EXPECT_EQ(clock().chrono2, 500u);
    EXPECT_TRUE(clock().showChrono2);
    EXPECT_FALSE(clock().showChrono1);
}

TEST_F(ClockTest, ModeButtonOnTheGroundResetsAShownElapsedTime) {
    clock().elapsed1 = 90000;
    clock().elapsed2 = 90000;
    bench.step();

    clock().modeButton1();
    EXPECT_EQ(clock().elapsed1, 0u) << "reset, the window stays";
    EXPECT_FALSE(clock().showChrono1);
    EXPECT_EQ(clock().elapsed2, 90000u);
    clock().modeButton1();
    EXPECT_TRUE(clock().showChrono1) << "nothing to reset: the window switches";
    clock().modeButton1();
    EXPECT_FALSE(clock().showChrono1);

    clock().showChrono2 = true;
    clock().modeButton2();
    EXPECT_FALSE(clock().showChrono2) << "the chronometer was shown: back to the elapsed time";
    EXPECT_EQ(clock().elapsed2, 90000u);
}

TEST_F(ClockTest, ModeButtonInFlightOnlySwitchesTheWindow) {
    bench.fms.airborne = true;
    bench.step();
    clock().elapsed1 = 90000;
    clock().modeButton1();
    EXPECT_TRUE(clock().showChrono1);
    clock().modeButton1();
    EXPECT_FALSE(clock().showChrono1);
    EXPECT_EQ(clock().elapsed1, 90000u);
}

TEST_F(ClockTest, AClockWithoutPowerLosesItsChronometer) {
    clock().chronoButton1();
    clock().chronoButton2();
    bench.stepBy(1.0);
    ASSERT_EQ(clock().chrono1, 1000u);

    bench.network.power({Electric::kDcBus1, Electric::kDcBus2});
    bench.step(2);
    EXPECT_FALSE(clock().clock1Powered);
    EXPECT_TRUE(clock().clock2Powered);
    EXPECT_EQ(clock().chronoState1, Clock::kChronoReset);
    EXPECT_EQ(clock().chrono1, 0u);
    EXPECT_EQ(clock().chronoState2, Clock::kChronoRunning);
    EXPECT_GT(clock().chrono2, 1000u);

    clock().chronoButton2();
    bench.network.power({Electric::kEssentialBus1});
    bench.step(2);
    EXPECT_EQ(clock().chronoState2, Clock::kChronoReset) << "a stopped one goes too";
}

TEST_F(ClockTest, EachPoweredClockDrawsOneAmpere) {
    for (const auto& [bus3, bus2] : {std::pair{true, true}, std::pair{true, false},
                                     std::pair{false, true}, std::pair{false, false}}) {
        clock().clock1Powered = bus3;
        clock().clock2Powered = bus2;
        BusLoads loads;
        clock().addElectricLoad(bench.aircraft(), loads);
        EXPECT_FLOAT_EQ(loads[Electric::kEssentialBus1], bus3 ? 1.0f : 0.0f);
        EXPECT_FLOAT_EQ(loads[Electric::kDcBus2], bus2 ? 1.0f : 0.0f);
    }
}

TEST_F(ClockTest, StartsShowingUtcInBothUpperWindows) {
    EXPECT_EQ(clock().displayMode1, Clock::kUtcMode);
    EXPECT_EQ(clock().displayMode2, Clock::kUtcMode);
    EXPECT_TRUE(clock().started);
}

} // namespace
} // namespace tavi::test
