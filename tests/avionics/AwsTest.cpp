#include "support/AirframeScenario.h"

#include <gtest/gtest.h>

namespace tavi::test {
namespace {

// The electrical network with its buses as the test sets them.
class FixedNetwork : public Electric {
public:
    void update(Aircraft&) override {}

    void power(std::initializer_list<int> powered) {
        for (PowerBus& bus : buses) {
            bus.powered = false;
        }
        for (int bus : powered) {
            buses[static_cast<std::size_t>(bus)].powered = true;
        }
    }
};

constexpr int kChannel1Bus = Electric::kEssentialBus1;
constexpr int kChannel2Bus = Electric::kDcBus2;

// Airborne, with the aural unit's buses in the test's hands.
class AwsTest : public testing::Test {
protected:
    AwsTest() {
        real = scenario.aircraft().systems[9];
        scenario.aircraft().systems[9] = &network;
        scenario.enterPhase(kAirbornePhase);
    }
    ~AwsTest() override { scenario.aircraft().systems[9] = real; }

    void SetUp() override { ASSERT_TRUE(scenario.hasSounds()); }

    Aws& aws() { return scenario.aws(); }
    bool playing(SoundId id) { return scenario.sounds().isPlaying(id); }

    AirframeScenario scenario;
    FixedNetwork network;
    System* real = nullptr;
};

TEST_F(AwsTest, WithoutPowerOnlyForcedSoundsStart) {
    network.power({Electric::kDcBus1});
    scenario.step();
    EXPECT_FALSE(aws().play(sounds::kWarningChime, false));
    EXPECT_FALSE(aws().playLooped(sounds::kWarningChime, false));
    EXPECT_FALSE(aws().enqueue(20));
    EXPECT_FALSE(playing(sounds::kWarningChime));
    EXPECT_TRUE(aws().play(sounds::kWarningChime, true));
    EXPECT_TRUE(playing(sounds::kWarningChime));
    EXPECT_TRUE(aws().stop(sounds::kWarningChime)) << "stopping needs no power";
    EXPECT_FALSE(playing(sounds::kWarningChime));

    network.power({kChannel2Bus});
    scenario.step();
    EXPECT_TRUE(aws().play(sounds::kWarningChime, false)) << "one channel is enough";
}

struct ChannelCase {
    const char* name;
    bool before1, before2, after1, after2;
    // The announcement heard, or -1.
    SoundId heard;
};

// clang-format off
const ChannelCase kChannelCases[] = {
    {"BothComeBack",          false, false, true,  true,  sounds::kAuralUnitOk},
    {"Channel1ComesBack",     false, false, true,  false, sounds::kAuralUnitOneChannel},
    {"Channel2ComesBack",     false, false, false, true,  sounds::kAuralUnitOneChannel},
    {"Channel2Fails",         true,  true,  true,  false, sounds::kAuralUnitOne},
    {"Channel1Fails",         true,  true,  false, true,  sounds::kAuralUnitOne},
    {"BothFailUnheard",       true,  true,  false, false, -1},
    {"SecondChannelComesBack",true,  false, true,  true,  -1},
    {"LastChannelFails",      true,  false, false, false, -1},
};
// clang-format on

class AwsChannelTest : public AwsTest, public testing::WithParamInterface<ChannelCase> {};

TEST_P(AwsChannelTest, PowerChangesAreAnnounced) {
    const ChannelCase& row = GetParam();
    auto buses = [](bool channel1, bool channel2) {
        std::vector<int> powered = {Electric::kDcBus1};
        if (channel1) {
            powered.push_back(kChannel1Bus);
        }
        if (channel2) {
            powered.push_back(kChannel2Bus);
        }
        return powered;
    };
    auto power = [&](const std::vector<int>& powered) {
        network.power({});
        for (int bus : powered) {
            network.buses[static_cast<std::size_t>(bus)].powered = true;
        }
    };
    power(buses(row.before1, row.before2));
    scenario.step(2);
    for (SoundId id : {sounds::kAuralUnitOk, sounds::kAuralUnitOneChannel, sounds::kAuralUnitOne}) {
        scenario.sounds().stop(id);
    }
    power(buses(row.after1, row.after2));
    scenario.step();
    for (SoundId id : {sounds::kAuralUnitOk, sounds::kAuralUnitOneChannel, sounds::kAuralUnitOne}) {
        EXPECT_EQ(playing(id), id == row.heard) << id;
    }
}

INSTANTIATE_TEST_SUITE_P(Announcements, AwsChannelTest, testing::ValuesIn(kChannelCases),
                         [](const testing::TestParamInfo<ChannelCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(AwsTest, AuralWarnFailStandsWhileBothChannelsAreDeadOutsideTakeOffAndLanding) {
    network.power({Electric::kDcBus1, kChannel1Bus});
    scenario.step(2);
    EXPECT_FALSE(scenario.shows("AURAL WARN FAIL"));
    network.power({Electric::kDcBus1});
    scenario.step();
    EXPECT_TRUE(scenario.shows("AURAL WARN FAIL"));
    EXPECT_TRUE(scenario.eicas().cautionLatched);
    scenario.enterPhase(kLandingPhase);
    EXPECT_FALSE(scenario.shows("AURAL WARN FAIL"));
    scenario.enterPhase(kAirbornePhase);
    EXPECT_TRUE(scenario.shows("AURAL WARN FAIL"));
    network.power({Electric::kDcBus1, kChannel2Bus});
    scenario.step();
    EXPECT_FALSE(scenario.shows("AURAL WARN FAIL"));
}

TEST_F(AwsTest, TheFailureIsPostedWhenTheEicasUnitComesBack) {
    network.power({Electric::kDcBus1, kChannel1Bus});
    scenario.step(2);
    network.power({});
    scenario.step(2);
    ASSERT_TRUE(scenario.eicas().unpowered);
    EXPECT_FALSE(scenario.shows("AURAL WARN FAIL")) << "the dark unit dropped it";
    network.power({Electric::kEssentialBus2});
    scenario.step();
    EXPECT_TRUE(scenario.shows("AURAL WARN FAIL"));
}

TEST_F(AwsTest, AQueuedCallOutFinishesAndTheNextStartsAfterThePowerFails) {
    network.power({kChannel1Bus});
    scenario.step();
    EXPECT_TRUE(aws().enqueue(20));
    EXPECT_TRUE(aws().enqueue(21));
    EXPECT_FALSE(aws().enqueue(21)) << "a call-out waits in the queue once";
    EXPECT_TRUE(playing(20));
    EXPECT_TRUE(aws().isQueued(21));
    network.power({});
    scenario.run(1.0);
    EXPECT_FALSE(playing(20));
    EXPECT_TRUE(playing(21));
    aws().dequeue(21, true);
    EXPECT_FALSE(playing(21));
}

TEST_F(AwsTest, EachPoweredChannelDrawsFromItsBus) {
    network.power({kChannel1Bus});
    scenario.step();
    BusLoads loads;
    aws().addElectricLoad(scenario.aircraft(), loads);
    EXPECT_FLOAT_EQ(loads[kChannel1Bus], 5.0f);
    EXPECT_FLOAT_EQ(loads[kChannel2Bus], 0.0f);
}

TEST_F(AwsTest, VolumesAreClampedAndAbsentSoundsReadZero) {
    aws().setVolume(sounds::kBatteriesOn, 500);
    EXPECT_EQ(aws().volume(sounds::kBatteriesOn), 0);
    aws().setVolume(sounds::kBatteriesOn, -20000);
    EXPECT_EQ(aws().volume(sounds::kBatteriesOn), -10000);
    EXPECT_EQ(aws().volume(30), 0) << "not loaded";
    scenario.sounds().setVolume(-700);
    EXPECT_EQ(aws().masterVolume(), -700);
}

TEST_F(AwsTest, WithoutASoundManagerEveryOperationAnswersFalseOrZero) {
    network.power({kChannel1Bus, kChannel2Bus});
    scenario.step();
    scenario.aircraft().soundManager.reset();
    EXPECT_FALSE(aws().play(sounds::kWarningChime, true));
    EXPECT_FALSE(aws().enqueue(20));
    EXPECT_FALSE(aws().stop(sounds::kWarningChime));
    EXPECT_FALSE(aws().isPlaying(sounds::kWarningChime));
    EXPECT_FALSE(aws().isQueued(20));
    EXPECT_EQ(aws().masterVolume(), 0);
    scenario.step();
    SUCCEED() << "a frame without sounds runs";
}

} // namespace
} // namespace tavi::test
