// The electrical system driven through the stand-in simulator, frame by frame.
#include "support/AirframeScenario.h"

#include <gtest/gtest.h>
#include <optional>

namespace tavi::test {
namespace {

using Bus = Electric::Bus;

std::vector<int> poweredBuses(const Electric& electric) {
    std::vector<int> powered;
    for (int bus = 0; bus < kBusCount; ++bus) {
        if (electric.isPowered(bus)) {
            powered.push_back(bus);
        }
    }
    return powered;
}

TEST(ElectricScenarioTest, ColdCockpitWithBatteriesOnShowsTheBatteryBusMessages) {
    AirframeScenario scenario;
    Electric& electric = scenario.electric();
    scenario.panel().setToken(304, 500.0);
    scenario.panel().setToken(303, 500.0);
    scenario.panel().setToken(306, 6.7);
    scenario.park();
    // Only the electrical system's messages are looked at here.
    scenario.holdFlightControls();
    scenario.step(2);
    EXPECT_TRUE(poweredBuses(electric).empty());
    EXPECT_FALSE(electric.networkPowered);
    EXPECT_FALSE(electric.avionicsMaster1 || electric.avionicsMaster2);
    EXPECT_TRUE(electric.generator1.connected && electric.generator4.connected);
    EXPECT_TRUE(scenario.eicas().unpowered);
    EXPECT_FALSE(scenario.sounds().isPlaying(sounds::kBatteriesOn));
    EXPECT_EQ(scenario.keyEventCount(0x102C1), 1) << "the simulator's battery follows at once";
    EXPECT_EQ(scenario.keyEventCount(0x102F5), 2) << "avionics on at first, then off";
    EXPECT_EQ(scenario.panel().namedVariable("TaviBatt1"), 0.0);

    scenario.batteriesOn();
    EXPECT_EQ(scenario.panel().namedVariable("TaviBatt1Click"), 0.0) << "the request is taken";
    EXPECT_EQ(scenario.panel().namedVariable("TaviBatt1"), 1.0);
    EXPECT_EQ(scenario.panel().namedVariable("TaviBatt2"), 1.0);
    EXPECT_TRUE(poweredBuses(electric).empty()) << "the switches act from the next frame";

    scenario.step();
    EXPECT_EQ(poweredBuses(electric), (std::vector<int>{0, 1, 2, 3, 4, 7, 8}));
    EXPECT_TRUE(electric.networkPowered);
    EXPECT_TRUE(scenario.sounds().isPlaying(sounds::kBatteriesStartup));
    EXPECT_TRUE(scenario.sounds().isPlaying(sounds::kBatteriesOn));

    // The EICAS unit has power from the end of that frame; the messages posted while it was
    // dark are posted again in the next, the lights' among them. The fuel pumps are off in a cold
    // cockpit, the 115 VAC bus (terrain function, windshear detection) is dead, and with the
    // avionics masters off neither radio altimeter nor either PFD has power.
    scenario.step();
    const std::vector<std::string> messages = scenario.messages();
    EXPECT_EQ(messages,
              (std::vector<std::string>{"SHED BUS 1-2 OFF", "CHECK PFD 1-2", "GPWS INOP",
                                        "TERR INOP", "E1-2 FUEL LO PRESS", "WINDSHEAR INOP",
                                        "DFDR FAIL", "EMERG LT NOT ARMD", "RAD ALT FAIL"}));
    EXPECT_TRUE(scenario.eicas().cautionLatched);
    // The fuel caution latched in the power-up frame, before the aural unit saw its power: the
    // chime comes with the first repetition.
    bool chimed = false;
    for (int frame = 0; frame < 5 * 18 + 2 && !chimed; ++frame) {
        scenario.step();
        chimed = scenario.sounds().isPlaying(sounds::kCautionChime);
    }
    EXPECT_TRUE(chimed);
}

// Cold and dark, both batteries switched on and nothing else, for an hour: the whole module
// runs on the stand-in simulator. The batteries give what the loads draw, ampere-hour for
// ampere-hour, until the voltage falls below what the network takes.
TEST(ElectricScenarioTest, AnHourOnBatteries) {
    AirframeScenario scenario;
    scenario.fillTanks(500.0, 500.0, 6.7f);
    scenario.park();
    scenario.batteriesOn();
    scenario.step(2);
    Electric& electric = scenario.electric();
    ASSERT_EQ(poweredBuses(electric), (std::vector<int>{0, 1, 2, 3, 4, 7, 8}));
    const double startCharge = electric.battery1.charge;
    double ampereHours = 0.0;
    std::optional<float> voltageWhenDark;
    for (int frame = 0; frame < 3600 * 18; ++frame) {
        // A frame draws the current that the frame before assigned.
        const double amperes = electric.battery1.current;
        scenario.step();
        ampereHours += amperes * static_cast<uint32_t>(scenario.aircraft().frameDeltaMs) / 3.6e6;
        if (!voltageWhenDark && !electric.isPowered(Electric::kEssentialBus1)) {
            voltageWhenDark = electric.battery1.voltage;
        }
    }
    EXPECT_GT(ampereHours, 30.0) << "a real load";
    EXPECT_NEAR(startCharge - electric.battery1.charge, ampereHours, 1e-5 * ampereHours);
    EXPECT_EQ(electric.battery2.charge, electric.battery1.charge) << "both share the load";
    if (voltageWhenDark) {
        EXPECT_LE(*voltageWhenDark, 23.5f) << "the buses last as long as the batteries";
        EXPECT_TRUE(poweredBuses(electric).empty());
        EXPECT_TRUE(scenario.eicas().unpowered);
    }
}

TEST(ElectricScenarioTest, GroundPowerFeedsTheBusesAndReleasesBattery1) {
    AirframeScenario scenario;
    Electric& electric = scenario.electric();
    scenario.park();
    scenario.batteriesOn();
    scenario.run(61.0);
    ASSERT_TRUE(electric.gpu.available);
    EXPECT_TRUE(electric.battery1.connected);

    electric.gpu.setSwitch(true);
    scenario.step();
    EXPECT_TRUE(electric.gpu.isOnline());
    EXPECT_TRUE(electric.busTie1Closed && electric.busTie2Closed);
    EXPECT_EQ(poweredBuses(electric), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
    // On the ground the batteries had closed both ties already.
    EXPECT_FALSE(electric.battery1.connected);
    EXPECT_TRUE(electric.battery2.connected);
    scenario.step();
    EXPECT_LE(electric.battery1.current, 0.0f + 1e-6f) << "battery 1 carries nothing";
    scenario.step();
    EXPECT_FALSE(scenario.shows("SHED BUS 1-2 OFF"));

    // Without batteries ground power alone keeps the buses.
    scenario.request("TaviBatt1Click");
    scenario.request("TaviBatt2Click");
    scenario.step(2);
    EXPECT_EQ(poweredBuses(electric), (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
    EXPECT_TRUE(scenario.shows("BATT 1-2 OFF BUS"));
}

TEST(ElectricScenarioTest, ALostBusTakesItsSystemsPowerAwayInTheNextFrame) {
    AirframeScenario scenario;
    scenario.park();
    scenario.batteriesOn();
    scenario.step(2);
    ASSERT_FALSE(scenario.eicas().unpowered);
    ASSERT_TRUE(scenario.aws().channel1Powered && scenario.aws().channel2Powered);

    scenario.request("TaviBatt1Click");
    scenario.request("TaviBatt2Click");
    scenario.step();
    EXPECT_FALSE(scenario.eicas().unpowered) << "the switches were read at the end of the frame";
    scenario.step();
    EXPECT_TRUE(scenario.eicas().unpowered);
    EXPECT_EQ(scenario.eicas().powerLossTimeMs, scenario.aircraft().simTimeMs);
    EXPECT_FALSE(scenario.aws().channel1Powered || scenario.aws().channel2Powered);
    scenario.step();
    EXPECT_FALSE(scenario.eicas().cautionFlash);
    EXPECT_FALSE(scenario.messages().empty()) << "a dark unit keeps its list";
}

TEST(ElectricScenarioTest, SimulatorGeneratorFollowsEngineCombustion) {
    AirframeScenario scenario;
    scenario.setCombustion(2, true);
    scenario.step();
    EXPECT_EQ(scenario.keyEventCount(0x1033C), 1);
    EXPECT_EQ(scenario.panel().variable("GENERAL ENG GENERATOR ACTIVE", 2), 1.0);
    scenario.step();
    EXPECT_TRUE(scenario.aircraft().engine2()->generatorActive);
    EXPECT_EQ(scenario.keyEventCount(0x1033C), 1);
    EXPECT_EQ(scenario.keyEventCount(0x1033B), 0);
}

TEST(ElectricScenarioTest, OverheadKnobsStepWithinTheirRangeAndClick) {
    AirframeScenario scenario;
    Electric& electric = scenario.electric();
    for (int i = 0; i < 3; ++i) {
        scenario.request("TaviBusTiesInc");
        scenario.step();
    }
    EXPECT_EQ(electric.busTiesKnob, Electric::kKnobOverride);
    EXPECT_EQ(scenario.panel().namedVariable("TaviBusTies"), 2.0);
    EXPECT_TRUE(scenario.sounds().isPlaying(sounds::kKnobClick));
    scenario.request("TaviShedBusDec");
    scenario.request("TaviApuInc");
    scenario.step();
    EXPECT_EQ(scenario.panel().namedVariable("TaviShedBus"), 0.0);
    EXPECT_EQ(scenario.panel().namedVariable("TaviApu"), 1.0);
    EXPECT_EQ(electric.apu.knobChangedTime, scenario.aircraft().simTimeMs);
    scenario.request("TaviApuDec");
    scenario.request("TaviApuDec");
    scenario.step();
    EXPECT_EQ(scenario.panel().namedVariable("TaviApu"), 0.0);
    EXPECT_EQ(scenario.panel().namedVariable("TaviApuDec"), 0.0);
}

TEST(ElectricScenarioTest, TheHumFadesInAndOutOverHalfASecond) {
    AirframeScenario scenario;
    scenario.park();
    scenario.batteriesOn();
    scenario.step();
    Electric& electric = scenario.electric();
    ASSERT_TRUE(electric.networkPowered);
    const uint32_t poweredAt = electric.powerOnTime;
    scenario.step(4);
    const uint32_t since = scenario.aircraft().simTimeMs - poweredAt;
    ASSERT_LT(since, 500u);
    EXPECT_EQ(scenario.aws().volume(sounds::kBatteriesOn),
              static_cast<int32_t>(since * 10000 / 500) - 10000);
    scenario.step(6);
    EXPECT_EQ(scenario.aws().volume(sounds::kBatteriesOn), 0);

    scenario.module.simulator.simConnect.setSound(false);
    scenario.step(2);
    EXPECT_EQ(scenario.aws().volume(sounds::kBatteriesOn), -10000);
    EXPECT_TRUE(scenario.sounds().isPlaying(sounds::kBatteriesOn)) << "it keeps looping, silent";
    scenario.module.simulator.simConnect.setSound(true);

    scenario.request("TaviBatt1Click");
    scenario.request("TaviBatt2Click");
    scenario.step(2);
    ASSERT_FALSE(electric.networkPowered);
    EXPECT_GT(scenario.aws().volume(sounds::kBatteriesOn), -10000);
    EXPECT_TRUE(scenario.sounds().isPlaying(sounds::kBatteriesOn));
    scenario.step(10);
    EXPECT_EQ(scenario.aws().volume(sounds::kBatteriesOn), -10000);
    EXPECT_FALSE(scenario.sounds().isPlaying(sounds::kBatteriesOn));
}

TEST(ElectricScenarioTest, BatteryOverTemperatureWarnsInEveryPhase) {
    AirframeScenario scenario;
    scenario.park();
    scenario.batteriesOn();
    scenario.step(2);
    scenario.enterPhase(kTakeoffPhase);
    Electric& electric = scenario.electric();
    electric.battery1.temperature = 69.99f;
    electric.battery2.temperature = 69.99f;
    scenario.adc().totalAirTemperature = 80.0f;
    scenario.step(2);
    EXPECT_EQ(scenario.messages().front(), "BATT 1-2 OVTEMP");
    EXPECT_TRUE(scenario.eicas().warningLatched);
}

TEST(ElectricScenarioTest, CautionsLeaveDuringTakeOffAndComeBackAfterIt) {
    AirframeScenario scenario;
    scenario.park();
    scenario.batteriesOn();
    scenario.step(2);
    Electric& electric = scenario.electric();
    // Engine 1's generators online: the shed buses are shed, and without the AC Power switch
    // the 115 VAC bus is off.
    scenario.setCombustion(1, true);
    electric.acPowerSwitch = false;
    scenario.step();
    EXPECT_TRUE(scenario.shows("115 VAC BUS OFF"));
    EXPECT_TRUE(scenario.shows("SHED BUS 1-2 OFF"));

    scenario.enterPhase(kTakeoffPhase);
    EXPECT_FALSE(scenario.shows("115 VAC BUS OFF"));
    EXPECT_FALSE(scenario.shows("SHED BUS 1-2 OFF"));
    scenario.enterPhase(kAirbornePhase);
    EXPECT_TRUE(scenario.shows("115 VAC BUS OFF"));
    EXPECT_TRUE(scenario.shows("SHED BUS 1-2 OFF"));
}

TEST(ElectricScenarioTest, AnOverloadedGeneratorIsNamedInItsCaution) {
    AirframeScenario scenario;
    scenario.park();
    scenario.batteriesOn();
    scenario.step(2);
    scenario.setCombustion(1, true);
    scenario.setCombustion(2, true);
    scenario.step();
    // A consumer that draws 1700 A from DC bus 1 overloads generators 1 and 3.
    class HeavyLoad : public System {
    public:
        void update(Aircraft&) override {}
        void addElectricLoad(Aircraft&, BusLoads& loads) override { loads[1] += 3400.0f; }
    } heavy;
    scenario.aircraft().systems[3] = &heavy;
    scenario.step(2);
    scenario.aircraft().systems[3] = nullptr;
    EXPECT_TRUE(scenario.shows("GEN 1-3 OVLD")) << testing::PrintToString(scenario.messages());
}

TEST(ElectricScenarioTest, AnUnpoweredPfdAsksForACheck) {
    AirframeScenario scenario;
    scenario.park();
    scenario.batteriesOn();
    scenario.step(3);
    EXPECT_TRUE(scenario.shows("CHECK PFD 1-2")) << "the avionics masters are off";
    scenario.electric().gpu.setSwitch(true);
    scenario.electric().avionicsMaster1 = true;
    scenario.electric().avionicsMaster2 = true;
    scenario.step(3);
    EXPECT_FALSE(scenario.shows("CHECK PFD 1-2"));
    scenario.electric().avionicsMaster2 = false;
    scenario.step(2);
    EXPECT_TRUE(scenario.shows("CHECK PFD 2")) << testing::PrintToString(scenario.messages());
    scenario.electric().avionicsMaster2 = true;
    scenario.step(2);
    EXPECT_FALSE(scenario.shows("CHECK PFD 2"));
}

TEST(ElectricStartupTest, RunningEnginesModeStartsOnBothBatteriesWithTheMastersOn) {
    AirframeScenario scenario("[Startup]\nstartupMode=2\n");
    Electric& electric = scenario.electric();
    EXPECT_EQ(electric.startupMode, 2);
    // The attitude reference has not yet said the aircraft is on the ground: ties open.
    EXPECT_EQ(poweredBuses(electric), (std::vector<int>{1, 2, 3, 4, 7, 8}));
    EXPECT_TRUE(electric.avionicsMaster1 && electric.avionicsMaster2);
    EXPECT_TRUE(electric.battery1.connected && electric.battery2.connected);
    EXPECT_EQ(electric.powerOnTime, scenario.aircraft().simTimeMs) << "powered from frame 1";
    scenario.park();
    EXPECT_EQ(poweredBuses(electric), (std::vector<int>{0, 1, 2, 3, 4, 7, 8}));
}

TEST(ElectricStartupTest, ReadyForEngineStartModeRunsTheApu) {
    AirframeScenario scenario("[Startup]\nstartupMode=1\n[Electric]\ninfiniteBattery=1\n");
    Electric& electric = scenario.electric();
    EXPECT_TRUE(electric.battery1.infinite && electric.backupBattery.infinite);
    EXPECT_EQ(electric.apu.state, Electric::Apu::kRunning);
    EXPECT_FLOAT_EQ(electric.apu.speed, 100.0f);
    EXPECT_FLOAT_EQ(electric.apu.egt, electric.apu.egtPeak);
    EXPECT_GE(electric.apu.egtPeak, 580.0f);
    EXPECT_LE(electric.apu.egtPeak, 640.0f);
    EXPECT_TRUE(electric.apu.isOnline()) << "the generator is online from the first update";
    EXPECT_EQ(electric.onlineGenerators, 1);
    EXPECT_TRUE(electric.isPowered(Electric::kCentralBus));
    EXPECT_FALSE(electric.isPowered(Electric::kShedBus1) ||
                 electric.isPowered(Electric::kShedBus2));
    EXPECT_TRUE(scenario.module.simulator.simConnect.dataWrites().empty())
        << "no tank is written before the fuel system has read it";

    scenario.park();
    EXPECT_TRUE(electric.busTie1Closed && electric.busTie2Closed);
    EXPECT_TRUE(electric.battery1.connected) << "tie 1 was open in the frame before";
    scenario.step();
    EXPECT_FALSE(electric.battery1.connected);
    EXPECT_TRUE(electric.battery2.connected);
}

TEST(ElectricStartupTest, AStartupModeThatIsNoNumberMeansDarkAndCold) {
    AirframeScenario scenario("[Startup]\nstartupMode=running\n");
    EXPECT_EQ(scenario.electric().startupMode, 0);
    EXPECT_FALSE(scenario.electric().battery1.batterySwitch);
}

} // namespace
} // namespace tavi::test
