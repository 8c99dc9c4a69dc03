#include "airframe/Pressure.h"
#include "support/AirframeScenario.h"

#include <gtest/gtest.h>

namespace tavi::test {
namespace {

EicasMessage key(int32_t level, int32_t id) {
    return EicasMessage(0, level, id, std::string());
}

// The aircraft parked on ground power with both batteries on: the EICAS unit and both aural
// channels have power and the electrical system posts nothing. The other posters leave and the
// flight controls, whose cautions stand on a parked aircraft without hydraulic pressure, only
// hold their fields, so the list holds only what the tests post.
class EicasDauTest : public testing::Test {
protected:
    EicasDauTest() {
        scenario.keepOnly({scenario.aircraft().electric(), &unit(), scenario.aircraft().aws(),
                           scenario.aircraft().ahrs(), scenario.aircraft().adc(),
                           scenario.aircraft().gps(), scenario.aircraft().mechanisation(),
                           scenario.aircraft().pressure()});
        scenario.park();
        scenario.holdFlightControls();
        scenario.batteriesOn();
        scenario.run(61.0);
        scenario.electric().gpu.setSwitch(true);
        scenario.electric().avionicsMaster1 = true;
        scenario.electric().avionicsMaster2 = true;
        scenario.step(3);
    }

    void SetUp() override {
        ASSERT_TRUE(scenario.hasSounds());
        ASSERT_TRUE(scenario.messages().empty()) << testing::PrintToString(scenario.messages());
        ASSERT_FALSE(unit().warningLatched || unit().cautionLatched);
    }

    EicasDau& unit() { return scenario.eicas(); }
    uint32_t now() { return scenario.aircraft().simTimeMs; }

    void post(int32_t level, int32_t id, const std::string& text) {
        unit().postMessage(key(level, id), EicasMessage(now(), level, id, text));
    }

    bool chimes(SoundId id) { return scenario.sounds().isPlaying(id); }
    void silence() {
        scenario.sounds().stop(sounds::kCautionChime);
        scenario.sounds().stop(sounds::kWarningChime);
    }

    AirframeScenario scenario;
};

TEST_F(EicasDauTest, WarningsComeFirstAndTheNewestFirstWithinALevel) {
    post(kEicasAdvisory, 30, "ADVISORY");
    post(kEicasCaution, 31, "OLD CAUTION");
    post(kEicasWarning, 32, "WARNING");
    scenario.step();
    post(kEicasCaution, 33, "NEW CAUTION");
    post(kEicasCaution, 34, "SAME TIME");
    EXPECT_EQ(scenario.messages(), (std::vector<std::string>{"WARNING", "NEW CAUTION", "SAME TIME",
                                                             "OLD CAUTION", "ADVISORY"}));

    scenario.step();
    post(kEicasCaution, 31, "OLD CAUTION");
    EXPECT_EQ(scenario.messages()[1], "OLD CAUTION") << "a re-post moves to the top of its level";
    EXPECT_EQ(unit().messages.size(), 5u) << "posting is idempotent per level and id";
    EXPECT_NE(unit().findMessage(key(kEicasCaution, 34)), unit().messages.end());
    EXPECT_EQ(unit().findMessage(key(kEicasWarning, 34)), unit().messages.end());
}

struct PostCase {
    const char* name;
    // A message already in the list, and whether it was acknowledged.
    int32_t storedLevel;
    const char* storedText;
    bool storedAcknowledged;
    // The message posted under id 40 (or the mode-off caution's id).
    int32_t level;
    int32_t id;
    const char* text;
    // Expected.
    bool acknowledged;
    bool warningLatched, cautionLatched;
    bool warningChime, cautionChime;
};

constexpr int32_t kNone = -1;

// clang-format off
const PostCase kPostCases[] = {
    // name                           stored level   stored text     ack    level           id  text             ack    W latch C latch W chime C chime
    {"NewWarningLatchesAndChimes",    kNone,         "",             false, kEicasWarning,  40, "W",             false, true,  false, true,  false},
    {"NewCautionLatchesAndChimes",    kNone,         "",             false, kEicasCaution,  40, "C",             false, false, true,  false, true},
    {"AdvisoryNeitherLatchesNorChimes",kNone,        "",             false, kEicasAdvisory, 40, "A",             false, false, false, false, false},
    {"ModeOffCautionStaysQuiet",      kNone,         "",             false, kEicasCaution,  76, "LATERAL MODE OFF", true, false, false, false, false},
    {"OtherModeOffCautionStaysQuiet", kNone,         "",             false, kEicasCaution,  77, "VERTICAL MODE OFF",true, false, false, false, false},
    {"SameTextAfterAckStaysSilent",   kEicasWarning, "GEN 1 OVLD",   true,  kEicasWarning,  40, "GEN 1 OVLD",    true,  false, false, false, false},
    {"ShorterTextAfterAckStaysSilent",kEicasCaution, "GEN 1-3 OVLD", true,  kEicasCaution,  40, "GEN 1 OVLD",    true,  false, false, false, false},
    {"LongerTextAlertsAgain",         kEicasWarning, "GEN 1 OVLD",   true,  kEicasWarning,  40, "GEN 1-3 OVLD",  false, true,  false, true,  false},
    {"UnacknowledgedRepostNoNewChime",kEicasWarning, "W",            false, kEicasWarning,  40, "W",             false, true,  false, false, false},
    {"WarningOverALatchedCaution",    kEicasCaution, "C",            false, kEicasWarning,  41, "W",             false, true,  true,  true,  false},
};
// clang-format on

class EicasPostTest : public EicasDauTest, public testing::WithParamInterface<PostCase> {};

TEST_P(EicasPostTest, LatchesAndChimesFollowTheRules) {
    const PostCase& row = GetParam();
    if (row.storedLevel != kNone) {
        post(row.storedLevel, 40, row.storedText);
        if (row.storedAcknowledged) {
            unit().acknowledgeWarnings();
            unit().acknowledgeCautions();
        }
        scenario.step();
    }
    // Only a latched caution's chime sounds when the post comes.
    silence();
    if (unit().cautionLatched) {
        scenario.sounds().play(sounds::kCautionChime);
    }

    post(row.level, row.id, row.text);

    const auto posted = unit().findMessage(key(row.level, row.id));
    ASSERT_NE(posted, unit().messages.end());
    EXPECT_EQ(posted->text, row.text);
    EXPECT_EQ(posted->acknowledged, row.acknowledged);
    EXPECT_EQ(unit().warningLatched, row.warningLatched);
    EXPECT_EQ(unit().cautionLatched, row.cautionLatched);
    EXPECT_EQ(chimes(sounds::kWarningChime), row.warningChime);
    EXPECT_EQ(chimes(sounds::kCautionChime), row.cautionChime)
        << "a new warning stops the caution chime";
}

INSTANTIATE_TEST_SUITE_P(Rules, EicasPostTest, testing::ValuesIn(kPostCases),
                         [](const testing::TestParamInfo<PostCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(EicasDauTest, TwoWarningsInOneFrameChimeOnce) {
    post(kEicasWarning, 40, "FIRST");
    silence();
    post(kEicasWarning, 41, "SECOND");
    EXPECT_FALSE(chimes(sounds::kWarningChime)) << "the second finds the latch set";
}

TEST_F(EicasDauTest, LatchedAlertsFlashAndRepeatTheirChimesEveryFiveSeconds) {
    post(kEicasCaution, 40, "C");
    const uint32_t latchedAt = now();
    const uint32_t chimedAt = unit().lastCautionChimeTick;
    for (int frame = 0; frame < 40; ++frame) {
        scenario.step();
        EXPECT_EQ(unit().cautionFlash, (now() - latchedAt) % 1000 < 500) << frame;
    }
    while (!chimes(sounds::kCautionChime)) {
        scenario.step();
    }
    const uint32_t repeatedAfter = unit().lastCautionChimeTick - chimedAt;
    EXPECT_GE(repeatedAfter, 5000u);
    EXPECT_LT(repeatedAfter, 5000u + AirframeScenario::kFrameMs + 1);

    // A latched warning silences the caution's repetitions.
    post(kEicasWarning, 41, "W");
    const uint32_t cautionChime = unit().lastCautionChimeTick;
    const uint32_t warningChime = unit().lastWarningChimeTick;
    scenario.run(11.0);
    EXPECT_EQ(unit().lastCautionChimeTick, cautionChime);
    EXPECT_GE(unit().lastWarningChimeTick - warningChime, 10000u);
}

TEST_F(EicasDauTest, MasterButtonsAcknowledgeTheirLevelAndClearTheLatch) {
    post(kEicasWarning, 40, "W");
    post(kEicasCaution, 41, "C");
    unit().acknowledgeWarnings();
    EXPECT_FALSE(unit().warningLatched);
    EXPECT_TRUE(unit().cautionLatched);
    EXPECT_TRUE(unit().findMessage(key(kEicasWarning, 40))->acknowledged);
    EXPECT_FALSE(unit().findMessage(key(kEicasCaution, 41))->acknowledged);
    unit().acknowledgeCautions();
    EXPECT_FALSE(unit().cautionLatched);
    scenario.step();
    EXPECT_FALSE(unit().warningFlash || unit().cautionFlash);
}

TEST_F(EicasDauTest, TheLatchGoesWithTheLastUnacknowledgedMessageUnlessARequestHoldsIt) {
    post(kEicasCaution, 40, "C1");
    post(kEicasCaution, 41, "C2");
    unit().removeMessage(key(kEicasCaution, 40));
    EXPECT_TRUE(unit().cautionLatched);
    unit().setCautionRequest(true);
    unit().removeMessage(key(kEicasCaution, 41));
    EXPECT_TRUE(unit().cautionLatched) << "the caution request holds the latch";
    unit().setCautionRequest(false);
    scenario.step();
    EXPECT_FALSE(unit().cautionLatched);
    unit().removeMessage(key(kEicasCaution, 99));
    EXPECT_FALSE(unit().cautionLatched) << "removing an absent message only checks the latch";
}

TEST_F(EicasDauTest, AWarningRequestLatchesAndChimesOnlyAfterFiveSeconds) {
    unit().setWarningRequest(true);
    EXPECT_TRUE(unit().warningLatched);
    EXPECT_FALSE(chimes(sounds::kWarningChime));
    scenario.run(4.8);
    EXPECT_FALSE(chimes(sounds::kWarningChime));
    scenario.run(0.4);
    EXPECT_TRUE(chimes(sounds::kWarningChime));
    unit().setWarningRequest(false);
    scenario.step();
    EXPECT_FALSE(unit().warningLatched);
}

TEST_F(EicasDauTest, TheCabinCallOutFollowsTheWarningChimeUntilTheMasterButton) {
    Pressure& pressure = *scenario.aircraft().pressure();
    pressure.cabinAltitudeWarning = true;
    unit().setWarningRequest(true);
    scenario.run(5.2);
    EXPECT_TRUE(scenario.sounds().isQueued(sounds::kCabinCallout));
    unit().setWarningRequest(false);
    EXPECT_TRUE(unit().warningRequest) << "the standing cabin warning keeps its request";

    unit().acknowledgeWarnings();
    EXPECT_TRUE(pressure.cabinAltitudeAcknowledged);
    scenario.run(3.0);
    ASSERT_FALSE(scenario.sounds().isQueued(sounds::kCabinCallout));
    unit().setWarningRequest(true);
    const uint32_t latchedTick = unit().lastWarningChimeTick;
    scenario.run(5.5);
    EXPECT_NE(unit().lastWarningChimeTick, latchedTick) << "the chime repeats";
    EXPECT_FALSE(scenario.sounds().isQueued(sounds::kCabinCallout)) << "without the call-out";
    unit().setWarningRequest(false);
    EXPECT_FALSE(unit().warningRequest) << "after the master button the withdrawal holds";
}

// A message re-posted while the unit is dark leaves: the stored text no longer says what its
// poster says, and the new one is dropped until the poster posts it again with power.
TEST_F(EicasDauTest, ADarkUnitKeepsItsListButNoReplacedTextAndDropsNewPosts) {
    post(kEicasCaution, 40, "KEPT");
    post(kEicasCaution, 42, "STALE");
    scenario.electric().gpu.setSwitch(false);
    scenario.request("TaviBatt1Click");
    scenario.request("TaviBatt2Click");
    scenario.step(3);
    ASSERT_TRUE(unit().unpowered);
    EXPECT_FALSE(unit().cautionFlash);
    post(kEicasCaution, 42, "STALE NO MORE");
    post(kEicasWarning, 41, "DROPPED");
    EXPECT_EQ(unit().findMessage(key(kEicasCaution, 40))->text, "KEPT");
    EXPECT_EQ(unit().findMessage(key(kEicasCaution, 42)), unit().messages.end());
    EXPECT_EQ(unit().findMessage(key(kEicasWarning, 41)), unit().messages.end());
    EXPECT_FALSE(unit().warningLatched);
}

TEST(EicasUnitListTest, NumbersTheAffectedUnits) {
    EXPECT_EQ(eicasUnitList({true, false, true, false}), "1-3");
    EXPECT_EQ(eicasUnitList({true, true}), "1-2");
    EXPECT_EQ(eicasUnitList({false, false, true}), "3");
    EXPECT_EQ(eicasUnitList({false, false}), "");
}

} // namespace
} // namespace tavi::test
