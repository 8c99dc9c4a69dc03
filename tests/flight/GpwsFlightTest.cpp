#include "avionics/EicasDau.h"
#include "avionics/Gpws.h"
#include "support/IlsApproach.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

namespace tavi::test {
namespace {

constexpr SoundId kSinkRate = 20;
constexpr SoundId kTerrainTerrain = 21;
constexpr SoundId kApproachingMinimums = 29;
constexpr SoundId kMinimums = 30;
constexpr SoundId k100 = 31;
constexpr SoundId k200 = 32;
constexpr SoundId k500 = 33;
constexpr SoundId kFirstGpwsSound = 19;
constexpr SoundId kLastGpwsSound = 33;
constexpr uint32_t kCalloutMs = 300;
constexpr int32_t kGpwsMessage = 67;
constexpr double kZzaaElevation = 1410.0;

// The module flying on the stand-in with the GPWS's call-outs installed; every call-out that
// starts is heard, in order.
class GpwsFlight {
public:
    GpwsFlight() = default;

    bool installCallouts() {
        std::vector<std::pair<SoundId, uint32_t>> callouts;
        for (SoundId id = kFirstGpwsSound; id <= kLastGpwsSound; ++id) {
            callouts.emplace_back(id, kCalloutMs);
        }
        return flight.sounds.install(flight.module, callouts);
    }
    // Once a frame.
    void listen() {
        for (SoundId id = kFirstGpwsSound; id <= kLastGpwsSound; ++id) {
            const bool playing = flight.aircraft().soundManager->isPlaying(id);
            if (playing && !wasPlaying[id]) {
                heard.push_back(id);
            }
            wasPlaying[id] = playing;
        }
        gpwsPosted |= postedGpws();
    }
    bool postedGpws() {
        const auto& messages = flight.aircraft().eicasDau()->messages;
        return std::any_of(messages.begin(), messages.end(), [](const EicasMessage& message) {
            return message.level == kEicasWarning && message.id == kGpwsMessage;
        });
    }
    bool wasHeard(SoundId id) const {
        return std::find(heard.begin(), heard.end(), id) != heard.end();
    }
    std::string heardText() const {
        std::string text;
        for (SoundId id : heard) {
            text += std::to_string(id) + " ";
        }
        return text;
    }

    FlightScenario flight;
    std::vector<SoundId> heard;
    bool gpwsPosted = false;

private:
    std::map<SoundId, bool> wasPlaying;
};

// A dive over ZZAA's flat terrain, gear and flaps up, thrust at idle, from 2400 ft above the
// field at a fixed nose-down pitch, and its recovery at 900 ft: the call the dive starts with,
// and one the dive and recovery must also bring. The sink-rate envelope lies below the
// terrain-closure one over flat terrain, so a terrain closure speaks once the sink rate has
// eased in the recovery while the radio altitude still closes fast.
struct Dive {
    const char* name;
    double pitchDown;
    SoundId firstCall;
    SoundId alsoCalled;
};

class GpwsDiveTest : public testing::TestWithParam<Dive> {};

TEST_P(GpwsDiveTest, WarnsInTheDiveAndClearsOnceRecovered) {
    constexpr double kRecoveryHeight = 900.0;
    const Dive dive = GetParam();
    GpwsFlight gpws;
    FlightScenario& flight = gpws.flight;
    flight.startInFlight(47.0, 8.0, kZzaaElevation + 2400.0, 90.0, 220.0);
    ASSERT_TRUE(gpws.installCallouts());
    flight.setThrustLevers(28.5);
    const bool recovered = flight.flyUntil(
        120.0, [&] { return flight.altitudeFeet() - kZzaaElevation < kRecoveryHeight; },
        [&] {
            flight.holdPitch(dive.pitchDown);
            gpws.listen();
        });
    ASSERT_TRUE(recovered);
    const std::vector<SoundId> inTheDive = gpws.heard;
    flight.fly(30.0, [&] {
        flight.holdPitch(-5.0);
        gpws.listen();
    });
    std::printf("GPWS %s: heard %s\n", dive.name, gpws.heardText().c_str());
    ASSERT_FALSE(inTheDive.empty());
    EXPECT_EQ(inTheDive.front(), dive.firstCall);
    EXPECT_TRUE(gpws.wasHeard(dive.alsoCalled));
    EXPECT_TRUE(gpws.gpwsPosted);
    EXPECT_FALSE(gpws.postedGpws()) << "climbing away";
    EXPECT_FALSE(flight.aircraft().gpws()->terrainAlert());
}

INSTANTIATE_TEST_SUITE_P(Dives, GpwsDiveTest,
                         testing::Values(Dive{"sink rate", 6.0, kSinkRate, kSinkRate},
                                         Dive{"terrain closure", 12.0, kSinkRate, kTerrainTerrain}),
                         [](const testing::TestParamInfo<Dive>& info) {
                             std::string name = info.param.name;
                             std::replace(name.begin(), name.end(), ' ', '_');
                             return name;
                         });

// On the coupled ILS approach with the decision height at 200 ft: the 500 ft call-out stays
// silent in GS, the 200 ft one gives way to the minimums call-outs, and 100 ft is called.
TEST(GpwsApproachTest, CallsMinimumsAnd100FtOnTheCoupledApproach) {
    GpwsFlight gpws;
    IlsApproach approach(gpws.flight);
    approach.setUp();
    ASSERT_TRUE(gpws.installCallouts());
    const bool reached = gpws.flight.flyUntil(
        600.0, [&] { return approach.height() < 50.0; },
        [&] {
            approach.fly();
            gpws.listen();
        });
    std::printf("GPWS approach: heard %s\n", gpws.heardText().c_str());
    ASSERT_TRUE(reached);
    EXPECT_EQ(gpws.heard, (std::vector<SoundId>{kApproachingMinimums, kMinimums, k100}));
    EXPECT_FALSE(gpws.wasHeard(k500));
    EXPECT_FALSE(gpws.wasHeard(k200));
    EXPECT_FALSE(gpws.gpwsPosted);
}

} // namespace
} // namespace tavi::test
