// Collecting the loads of every system and screen, moving them between buses and sharing them
// among the sources.
#include "support/AirframeScenario.h"

#include <gtest/gtest.h>

namespace tavi::test {
namespace {

// A consumer that draws fixed currents from chosen buses.
class FixedLoad : public System {
public:
    void update(Aircraft&) override {}
    void addElectricLoad(Aircraft&, BusLoads& loads) override {
        for (int bus = 0; bus < kBusCount; ++bus) {
            loads[bus] += amps[bus];
        }
    }

    BusLoads amps;
};

class FixedScreen : public PanelElement {
public:
    void update(Aircraft&) override {}
    void addElectricLoad(Aircraft&, BusLoads& loads) override { loads[Electric::kDcBus2] += 8.0f; }
};

class ElectricLoadsTest : public testing::Test {
protected:
    ElectricLoadsTest() : electric(scenario.electric()) {
        // Only the network itself and the test's consumer draw current: every other system and
        // every screen leaves for the test but the attitude reference, which tells the ground
        // from the air.
        saved = aircraft().systems;
        savedScreens = aircraft().displays;
        aircraft().displays.fill(nullptr);
        for (std::size_t slot = 0; slot < saved.size(); ++slot) {
            if (saved[slot] != &electric && saved[slot] != aircraft().ahrs()) {
                aircraft().systems[slot] = nullptr;
            }
        }
        aircraft().systems[3] = &consumer;
        electric.battery1.batterySwitch = true;
        electric.battery2.batterySwitch = true;
    }
    ~ElectricLoadsTest() override {
        aircraft().systems = saved;
        aircraft().displays = savedScreens;
    }

    Aircraft& aircraft() { return scenario.aircraft(); }

    void online(std::initializer_list<electric::PowerSource*> sources) {
        for (electric::PowerSource* source : sources) {
            source->connected = true;
            source->voltage = 28.0f;
        }
    }

    void distributeInFlight() {
        aircraft().ahrs()->onGround = false;
        electric.distribute(aircraft());
    }

    AirframeScenario scenario;
    Electric& electric;
    FixedLoad consumer;
    std::array<System*, Aircraft::kSystemSlots> saved{};
    std::array<PanelElement*, Aircraft::kDisplaySlots> savedScreens{};
};

TEST_F(ElectricLoadsTest, HalvedLoadsMoveFromShedEssentialAndAcBusesOntoTheirDcBus) {
    online(
        {&electric.generator1, &electric.generator2, &electric.generator3, &electric.generator4});
    consumer.amps[Electric::kShedBus1] = 10.0f;
    consumer.amps[Electric::kAcBus] = 10.0f;
    consumer.amps[Electric::kEssentialBus1] = 10.0f;
    consumer.amps[Electric::kDcBus1] = 10.0f;
    distributeInFlight();

    const float acOnEssential = 5.0f + 5.0f * 115.0f / 28.0f;
    const float dc1 = 5.0f + 5.0f + acOnEssential;
    EXPECT_FLOAT_EQ(electric.buses[Electric::kShedBus1].load, 5.0f);
    EXPECT_FLOAT_EQ(electric.buses[Electric::kAcBus].load, 5.0f);
    EXPECT_FLOAT_EQ(electric.buses[Electric::kEssentialBus1].load, acOnEssential);
    EXPECT_FLOAT_EQ(electric.buses[Electric::kDcBus1].load, dc1);
    // Tie 1 is open with all four generators: side 1 is shared by generators 1 and 3.
    EXPECT_FLOAT_EQ(electric.generator1.current, dc1 / 2.0f);
    EXPECT_FLOAT_EQ(electric.generator3.current, dc1 / 2.0f);
    EXPECT_FLOAT_EQ(electric.generator2.current, 0.0f);
    EXPECT_FLOAT_EQ(electric.battery1.current, 0.0f) << "a full battery takes no charge";
}

TEST_F(ElectricLoadsTest, GeneratorsChargeABatteryThatIsNotFull) {
    online(
        {&electric.generator1, &electric.generator2, &electric.generator3, &electric.generator4});
    electric.battery1.charge = 55.0f;
    electric.battery2.charge = 69.0f;
    consumer.amps[Electric::kDcBus1] = 20.0f;
    consumer.amps[Electric::kBatteryBus1] = 6.0f;
    distributeInFlight();

    // 15 A of charge on side 1 (the missing charge, between 10 and 20); 10 A on side 2.
    EXPECT_FLOAT_EQ(electric.generator1.current, (10.0f + 15.0f) / 2.0f);
    EXPECT_FLOAT_EQ(electric.generator2.current, 10.0f / 2.0f);
    EXPECT_FLOAT_EQ(electric.battery1.current, -15.0f + 3.0f);
    EXPECT_FLOAT_EQ(electric.battery2.current, -10.0f);
}

TEST_F(ElectricLoadsTest, OnBatteriesAloneTheClosedTiesShareTheNetwork) {
    consumer.amps[Electric::kDcBus1] = 10.0f;
    consumer.amps[Electric::kBatteryBus1] = 4.0f;
    aircraft().displays[2] = new FixedScreen();
    aircraft().ahrs()->onGround = true;
    electric.distribute(aircraft());
    delete aircraft().displays[2];
    aircraft().displays[2] = nullptr;

    ASSERT_TRUE(electric.busTie1Closed && electric.busTie2Closed);
    const float each = (5.0f + 4.0f) / 2.0f;
    EXPECT_FLOAT_EQ(electric.battery1.current, each + 2.0f);
    EXPECT_FLOAT_EQ(electric.battery2.current, each);
    EXPECT_FLOAT_EQ(electric.buses[Electric::kDcBus2].load, 4.0f) << "screens draw too";
}

TEST_F(ElectricLoadsTest, GroundPowerCarriesTheNetworkAndNoSourceIsGivenTheLoad) {
    online({&electric.gpu, &electric.generator1});
    electric.battery1.charge = 40.0f;
    consumer.amps[Electric::kDcBus1] = 30.0f;
    consumer.amps[Electric::kBatteryBus2] = 2.0f;
    distributeInFlight();

    EXPECT_FLOAT_EQ(electric.generator1.current, 0.0f);
    EXPECT_FLOAT_EQ(electric.battery1.current, 0.0f) << "no charge from ground power";
    EXPECT_FLOAT_EQ(electric.battery2.current, 1.0f);
    EXPECT_FLOAT_EQ(electric.gpu.current, 0.0f);
}

TEST_F(ElectricLoadsTest, ADeadDcBusCarriesNoLoad) {
    electric.battery1.batterySwitch = false;
    consumer.amps[Electric::kDcBus1] = 10.0f;
    consumer.amps[Electric::kDcBus2] = 10.0f;
    distributeInFlight();

    ASSERT_FALSE(electric.isPowered(Electric::kDcBus1));
    EXPECT_FLOAT_EQ(electric.buses[Electric::kDcBus1].load, 0.0f);
    EXPECT_FLOAT_EQ(electric.battery1.current, 0.0f);
    EXPECT_FLOAT_EQ(electric.battery2.current, 5.0f);
}

TEST_F(ElectricLoadsTest, TheApuKnobAndFuelValveDrawFromEssentialBus2) {
    electric.apu.knob = Electric::Apu::kKnobOn;
    BusLoads loads;
    electric.addElectricLoad(aircraft(), loads);
    EXPECT_FLOAT_EQ(loads[Electric::kEssentialBus2], 15.0f);
    electric.apu.fuelShutoffOpen = false;
    loads = BusLoads();
    electric.addElectricLoad(aircraft(), loads);
    EXPECT_FLOAT_EQ(loads[Electric::kEssentialBus2], 10.0f);
    electric.apu.knob = Electric::Apu::kKnobStart;
    loads = BusLoads();
    electric.addElectricLoad(aircraft(), loads);
    EXPECT_FLOAT_EQ(loads[Electric::kEssentialBus2], 0.0f);
}

struct FeedCase {
    const char* name;
    bool generator1, generator2, apu;
    bool onGround;
    bool acPowerSwitch;
    bool essentialPowerAuto;
    bool battery1Switch;
    // Expected.
    bool acBus, essential1, essential2;
};

// clang-format off
const FeedCase kFeedCases[] = {
    // name                         G1     G2     APU    ground AC     essAuto batt1  AC bus ess1   ess2
    {"Generator1FeedsTheAcBus",     true,  false, false, false, true,  true,  true,  true,  true,  true},
    {"AcPowerSwitchOff",            true,  false, false, false, false, true,  true,  false, true,  true},
    {"Generator2ThroughBothTies",   false, true,  false, false, true,  true,  true,  true,  true,  true},
    {"ApuOnTheGroundThroughTie1",   false, false, true,  true,  true,  true,  true,  true,  true,  true},
    {"ApuInFlightTiesOpen",         false, false, true,  false, true,  true,  true,  false, true,  true},
    {"BatteriesInFlightFeedEss",    false, false, false, false, true,  true,  false, false, false, true},
    {"BatteriesOnGroundFeedDcFirst",false, false, false, true,  true,  true,  false, false, true,  true},
    {"EssentialOnTakesEitherBus",   false, false, false, false, true,  false, true,  false, true,  true},
};
// clang-format on

class ElectricFeedTest : public ElectricLoadsTest, public testing::WithParamInterface<FeedCase> {};

TEST_P(ElectricFeedTest, AcAndEssentialBusesFollowTheirSources) {
    const FeedCase& row = GetParam();
    if (row.generator1) {
        online({&electric.generator1});
    }
    if (row.generator2) {
        online({&electric.generator2});
    }
    if (row.apu) {
        online({&electric.apu});
    }
    electric.acPowerSwitch = row.acPowerSwitch;
    electric.essentialPowerAuto = row.essentialPowerAuto;
    electric.battery1.batterySwitch = row.battery1Switch;
    aircraft().ahrs()->onGround = row.onGround;
    electric.distribute(aircraft());

    EXPECT_EQ(electric.isPowered(Electric::kAcBus), row.acBus);
    EXPECT_EQ(electric.isPowered(Electric::kEssentialBus1), row.essential1);
    EXPECT_EQ(electric.isPowered(Electric::kEssentialBus2), row.essential2);
}

INSTANTIATE_TEST_SUITE_P(Rules, ElectricFeedTest, testing::ValuesIn(kFeedCases),
                         [](const testing::TestParamInfo<FeedCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
} // namespace tavi::test
