// The bus tie and shed bus rules, one row for each rule and knob position.
#include "support/AirframeScenario.h"

#include <gtest/gtest.h>

namespace tavi::test {
namespace {

struct TieCase {
    const char* name;
    // Online sources.
    bool generator1, generator2, generator3, generator4, apu, gpu;
    bool onGround;
    int32_t busTiesKnob;
    int32_t shedBusKnob;
    // Expected.
    bool tie1, tie2, shed1, shed2;
};

constexpr int32_t kOff = Electric::kKnobOff;
constexpr int32_t kBusTieAuto = Electric::kKnobAuto;
constexpr int32_t kOverride = Electric::kKnobOverride;

// clang-format off
const TieCase kTieCases[] = {
    // name                          G1     G2     G3     G4     APU    GPU    ground ties       sheds      tie1   tie2   shed1  shed2
    {"GroundPowerClosesBothTies",    false, false, false, false, false, true,  true,  kBusTieAuto,     kBusTieAuto,     true,  true,  true,  true},
    {"GroundPowerWinsOverGenerators",true,  true,  true,  true,  true,  true,  false, kBusTieAuto,     kBusTieAuto,     true,  true,  true,  true},
    {"BothRightAndOneLeft",          true,  true,  false, true,  false, false, false, kBusTieAuto,     kBusTieAuto,     true,  true,  true,  true},
    {"BothRightOneLeftAndApu",       false, true,  true,  true,  true,  false, false, kBusTieAuto,     kBusTieAuto,     true,  false, true,  true},
    {"BothLeftAndOneRight",          true,  true,  true,  false, false, false, false, kBusTieAuto,     kBusTieAuto,     true,  true,  true,  true},
    {"BothLeftOneRightAndApu",       true,  false, true,  true,  true,  false, false, kBusTieAuto,     kBusTieAuto,     false, true,  true,  true},
    {"TwoGeneratorsAndApu",          true,  true,  false, false, true,  false, false, kBusTieAuto,     kBusTieAuto,     true,  true,  true,  true},
    {"BothLeftAndApu",               true,  false, true,  false, true,  false, false, kBusTieAuto,     kBusTieAuto,     true,  true,  true,  true},
    {"TwoGenerators",                true,  true,  false, false, false, false, false, kBusTieAuto,     kBusTieAuto,     true,  true,  false, false},
    {"BothLeftGenerators",           true,  false, true,  false, false, false, false, kBusTieAuto,     kBusTieAuto,     true,  true,  false, false},
    {"OneGeneratorAndApu",           false, false, false, true,  true,  false, false, kBusTieAuto,     kBusTieAuto,     true,  true,  false, false},
    {"OneGenerator",                 true,  false, false, false, false, false, false, kBusTieAuto,     kBusTieAuto,     true,  true,  false, false},
    {"ApuOnTheGround",               false, false, false, false, true,  false, true,  kBusTieAuto,     kBusTieAuto,     true,  true,  false, false},
    {"ApuInFlight",                  false, false, false, false, true,  false, false, kBusTieAuto,     kBusTieAuto,     false, false, false, false},
    {"BatteriesOnTheGround",         false, false, false, false, false, false, true,  kBusTieAuto,     kBusTieAuto,     true,  true,  false, false},
    {"BatteriesInFlight",            false, false, false, false, false, false, false, kBusTieAuto,     kBusTieAuto,     false, false, false, false},
    {"AllFourGenerators",            true,  true,  true,  true,  false, false, false, kBusTieAuto,     kBusTieAuto,     false, true,  true,  true},
    {"AllFourGeneratorsAndApu",      true,  true,  true,  true,  true,  false, false, kBusTieAuto,     kBusTieAuto,     false, true,  true,  true},
    {"TiesKnobOffOpensBoth",         false, false, false, false, false, true,  true,  kOff,      kBusTieAuto,     false, false, true,  true},
    {"TiesKnobOverrideClosesBoth",   false, false, false, false, false, false, false, kOverride, kBusTieAuto,     true,  true,  false, false},
    {"ShedKnobOffDisablesBoth",      true,  true,  true,  true,  false, false, false, kBusTieAuto,     kOff,      false, true,  false, false},
    {"ShedOverrideWithAGenerator",   true,  false, false, false, false, false, false, kBusTieAuto,     kOverride, true,  true,  true,  true},
    {"ShedOverrideWithGroundPower",  false, false, false, false, false, true,  true,  kBusTieAuto,     kOverride, true,  true,  true,  true},
    {"ShedOverrideOnBatteries",      false, false, false, false, false, false, true,  kBusTieAuto,     kOverride, true,  true,  false, false},
};
// clang-format on

class BusTieTableTest : public testing::TestWithParam<TieCase> {
protected:
    static void setSource(electric::PowerSource& source, bool online) {
        source.connected = true;
        source.voltage = online ? 28.0f : 0.0f;
    }

    AirframeScenario scenario;
};

TEST_P(BusTieTableTest, TiesAndShedBusesFollowTheSources) {
    const TieCase& row = GetParam();
    Electric& electric = scenario.electric();
    setSource(electric.generator1, row.generator1);
    setSource(electric.generator2, row.generator2);
    setSource(electric.generator3, row.generator3);
    setSource(electric.generator4, row.generator4);
    setSource(electric.apu, row.apu);
    electric.apu.state = row.apu ? Electric::Apu::kRunning : Electric::Apu::kOff;
    setSource(electric.gpu, row.gpu);
    electric.gpu.connected = row.gpu;
    scenario.aircraft().ahrs()->onGround = row.onGround;
    electric.busTiesKnob = row.busTiesKnob;
    electric.shedBusKnob = row.shedBusKnob;

    electric.distribute(scenario.aircraft());

    EXPECT_EQ(electric.busTie1Closed, row.tie1);
    EXPECT_EQ(electric.busTie2Closed, row.tie2);
    EXPECT_EQ(electric.shedBus1Enabled, row.shed1);
    EXPECT_EQ(electric.shedBus2Enabled, row.shed2);
    // A shed bus has power exactly when it is enabled and its DC bus has power.
    EXPECT_EQ(electric.isPowered(Electric::kShedBus1),
              row.shed1 && electric.isPowered(Electric::kDcBus1));
    EXPECT_EQ(electric.isPowered(Electric::kShedBus2),
              row.shed2 && electric.isPowered(Electric::kDcBus2));
}

INSTANTIATE_TEST_SUITE_P(Rules, BusTieTableTest, testing::ValuesIn(kTieCases),
                         [](const testing::TestParamInfo<TieCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
} // namespace tavi::test
