#include "avionics/RadAlt.h"

#include "support/AvionicsBench.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace tavi::test {
namespace {

constexpr int kRadioHeightToken = 614;
constexpr double kMetresPerFoot = 0.3048;

struct DisplayCase {
    float radioAltitude;
    int shown;
};

class RadAltDisplayTest : public testing::TestWithParam<DisplayCase> {};

TEST_P(RadAltDisplayTest, StepsOfFiveBelow200FeetAndOfTenAbove) {
    RadAlt radAlt;
    radAlt.radioAltitude = GetParam().radioAltitude;
    EXPECT_EQ(radAlt.displayedAltitude(), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Altitudes, RadAltDisplayTest,
                         testing::Values(DisplayCase{197.9f, 195}, DisplayCase{203.0f, 200},
                                         DisplayCase{-35.0f, -20}, DisplayCase{-20.0f, -20},
                                         DisplayCase{-17.9f, -15}, DisplayCase{-3.0f, 0},
                                         DisplayCase{199.99f, 195}, DisplayCase{200.0f, 200},
                                         DisplayCase{2509.7f, 2500}));

TEST(RadAltDecisionHeightTest, StaysWithin0To1000Feet) {
    RadAlt radAlt;
    EXPECT_EQ(radAlt.decisionHeight, 200);
    for (const auto& [set, stored] :
         {std::pair{-5, 0}, std::pair{1500, 1000}, std::pair{350, 350}, std::pair{1000, 1000}}) {
        radAlt.setDecisionHeight(set);
        EXPECT_EQ(radAlt.decisionHeight, stored) << set;
    }
}

class RadAltTest : public testing::Test {
protected:
    RadAlt& radAlt() { return *bench.aircraft().radAlt(); }

    // The simulator's radio height includes the 1.37 m between the antenna and the wheels.
    void setHeight(double feet) {
        bench.panel().setToken(kRadioHeightToken, feet * kMetresPerFoot + 1.37);
    }

    bool shows(const std::string& text) {
        const std::vector<std::string> texts = bench.messages();
        return std::find(texts.begin(), texts.end(), text) != texts.end();
    }

    AvionicsBench bench;
};

TEST_F(RadAltTest, HeightIsTheSimulatorsRadioHeightLessTheAntennaOffsetInFeet) {
    bench.panel().setToken(kRadioHeightToken, 1.37);
    bench.step();
    EXPECT_NEAR(radAlt().radioAltitude, 0.0f, 1e-4f);
    setHeight(2500.0);
    bench.step();
    EXPECT_NEAR(radAlt().radioAltitude, 2500.0f, 1e-2f);
}

TEST_F(RadAltTest, ClosureRateIsSampledEvery2SecondsAndStandsStillWhilePaused) {
    setHeight(1000.0);
    bench.stepBy(2.0);
    const uint32_t sampled = radAlt().rateSampleTime;
    ASSERT_EQ(sampled, bench.now());
    const float initial = radAlt().closureRate;

    // Descending 20 ft per half second: 2400 ft/min.
    double height = 1000.0;
    for (int i = 0; i < 3; ++i) {
        height -= 20.0;
        setHeight(height);
        bench.stepBy(0.5);
        EXPECT_EQ(radAlt().closureRate, initial) << "no sample before 2 s";
    }
    bench.pause(true);
    setHeight(500.0);
    bench.stepBy(5.0);
    EXPECT_EQ(radAlt().closureRate, initial) << "paused frames add no time";
    EXPECT_EQ(radAlt().rateSampleTime, sampled);

    bench.pause(false);
    setHeight(height - 20.0);
    bench.stepBy(0.5);
    EXPECT_EQ(bench.now() - sampled, 2000u);
    EXPECT_NEAR(radAlt().closureRate, 2400.0f, 0.5f);
    EXPECT_EQ(radAlt().previousClosureRate, initial);
    EXPECT_EQ(radAlt().rateSampleTime, bench.now());

    setHeight(height + 20.0);
    bench.stepBy(2.0);
    EXPECT_NEAR(radAlt().closureRate, -1200.0f, 0.5f) << "climbing gives a negative closure";
    EXPECT_NEAR(radAlt().previousClosureRate, 2400.0f, 0.5f);
}

TEST_F(RadAltTest, OneUnitAloneIsLowAtOrBelow2500Feet) {
    bench.network.avionicsMaster1 = false;
    setHeight(3000.0);
    bench.step(2);
    EXPECT_FALSE(radAlt().side1Powered);
    EXPECT_TRUE(radAlt().side2Powered);
    EXPECT_FALSE(radAlt().singleChannelLow);

    double height = 3000.0;
    while (!radAlt().singleChannelLow && height > 2000.0) {
        height -= 10.0;
        setHeight(height);
        bench.step();
    }
    EXPECT_NEAR(height, 2500.0, 10.0);
    EXPECT_EQ(radAlt().singleChannelLowSince, bench.now());

    const uint32_t since = bench.now();
    setHeight(2000.0);
    bench.step(3);
    EXPECT_TRUE(radAlt().singleChannelLow);
    EXPECT_EQ(radAlt().singleChannelLowSince, since) << "the time is that of the change";

    bench.network.avionicsMaster1 = true;
    bench.step();
    EXPECT_FALSE(radAlt().singleChannelLow) << "both units";
    bench.network.power({});
    bench.step();
    EXPECT_TRUE(radAlt().singleChannelLow) << "no unit";
}

TEST_F(RadAltTest, RadAltFailStandsWhileNeitherUnitHasPower) {
    bench.step(2);
    EXPECT_FALSE(shows("RAD ALT FAIL"));

    // The EICAS unit keeps its essential bus.
    bench.network.power({Electric::kEssentialBus1, Electric::kEssentialBus2});
    bench.step(2);
    EXPECT_TRUE(radAlt().allUnpowered);
    ASSERT_TRUE(shows("RAD ALT FAIL"));
    EicasDau& eicas = *bench.aircraft().eicasDau();
    const auto message = std::find_if(eicas.messages.begin(), eicas.messages.end(),
                                      [](const EicasMessage& m) { return m.id == 75; });
    ASSERT_NE(message, eicas.messages.end());
    EXPECT_EQ(message->level, kEicasAdvisory);
    EXPECT_EQ(message->text, "RAD ALT FAIL");

    bench.network.power({Electric::kEssentialBus1, Electric::kDcBus2});
    bench.step(2);
    EXPECT_FALSE(shows("RAD ALT FAIL")) << "unit 2 is back";

    bench.network.power({Electric::kEssentialBus1, Electric::kDcBus1, Electric::kDcBus2});
    bench.network.avionicsMaster1 = false;
    bench.network.avionicsMaster2 = false;
    bench.step(2);
    EXPECT_TRUE(shows("RAD ALT FAIL")) << "both masters off";
}

TEST_F(RadAltTest, APostLostWhileTheEicasUnitWasDarkComesWithItsPower) {
    bench.network.power({});
    bench.step(3);
    EXPECT_TRUE(bench.aircraft().eicasDau()->unpowered);
    EXPECT_FALSE(shows("RAD ALT FAIL"));

    bench.network.power({Electric::kEssentialBus1});
    bench.step(2);
    EXPECT_TRUE(shows("RAD ALT FAIL"));
}

TEST_F(RadAltTest, EachUnitDrawsFromItsBusWhileItsMasterIsOn) {
    for (const auto& [master1, master2] : {std::pair{true, true}, std::pair{true, false},
                                           std::pair{false, true}, std::pair{false, false}}) {
        bench.network.avionicsMaster1 = master1;
        bench.network.avionicsMaster2 = master2;
        BusLoads loads;
        radAlt().addElectricLoad(bench.aircraft(), loads);
        EXPECT_FLOAT_EQ(loads[Electric::kDcBus1], master1 ? 5.0f : 0.0f);
        EXPECT_FLOAT_EQ(loads[Electric::kDcBus2], master2 ? 5.0f : 0.0f);
    }
}

} // namespace
} // namespace tavi::test
