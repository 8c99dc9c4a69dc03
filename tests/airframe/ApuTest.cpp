#include "support/AirframeScenario.h"
#include "support/HeldSystem.h"

#include <gtest/gtest.h>

namespace tavi::test {
namespace {

using Apu = Electric::Apu;

class ApuTest : public testing::Test {
protected:
    ApuTest() {
        scenario.park();
        scenario.batteriesOn();
        scenario.step();
        scenario.fillTanks(500.0, 500.0, 6.7f);
    }

    Apu& apu() { return scenario.electric().apu; }
    sim::SimConnectServer& simConnect() { return scenario.module.simulator.simConnect; }
    bool playing(SoundId id) { return scenario.sounds().isPlaying(id); }
    uint32_t now() { return scenario.aircraft().simTimeMs; }

    // Frames until the APU reaches the state; the milliseconds they took.
    uint32_t runUntilState(int32_t state, double limitSeconds) {
        const uint32_t start = now();
        for (int i = 0; i < limitSeconds * 18 && apu().state != state; ++i) {
            scenario.step();
        }
        EXPECT_EQ(apu().state, state);
        return now() - start;
    }

    AirframeScenario scenario;
};

TEST_F(ApuTest, AStartFromTheKnobRunsBurnsFuelAndFeedsTheGenerator) {
    scenario.request("TaviApuInc");
    scenario.step();
    EXPECT_EQ(scenario.panel().namedVariable("TaviApu"), 1.0);
    scenario.request("TaviApuInc");
    scenario.step();
    EXPECT_EQ(apu().knob, Apu::kKnobStart);
    EXPECT_EQ(apu().state, Apu::kOff) << "the APU sees the knob in the next frame";
    scenario.step();
    EXPECT_EQ(apu().state, Apu::kStarting);
    EXPECT_EQ(scenario.panel().namedVariable("TaviApu"), 2.0);
    EXPECT_TRUE(playing(sounds::kApuStartup));
    EXPECT_GE(apu().generatorVoltage, 27.8f);
    EXPECT_LE(apu().generatorVoltage, 28.2f + 1e-4f);

    scenario.run(0.6);
    EXPECT_EQ(scenario.panel().namedVariable("TaviApu"), 1.0) << "Start springs back to On";
    EXPECT_FALSE(scenario.electric().battery1.connected) << "the start runs on battery 2";
    EXPECT_TRUE(scenario.electric().isPowered(Electric::kCentralBus));
    EXPECT_FLOAT_EQ(apu().voltage, 0.0f);

    const uint32_t started = runUntilState(Apu::kRunning, 20.0) + 600;
    EXPECT_NEAR(started, 13150, 250) << "about 13 s to 95 %";
    EXPECT_TRUE(playing(sounds::kApuRunning));
    EXPECT_FALSE(playing(sounds::kApuStartup));
    EXPECT_GE(apu().speed, 95.0f);

    scenario.run(6.8);
    EXPECT_FALSE(apu().isOnline());
    EXPECT_FLOAT_EQ(apu().fuelFlow, 170.0f);
    scenario.run(0.4);
    EXPECT_TRUE(apu().isOnline()) << "7 s after reaching the running state";
    EXPECT_FLOAT_EQ(apu().speed, 100.0f);
    scenario.step();
    EXPECT_EQ(scenario.electric().onlineGenerators, 1);
    EXPECT_FLOAT_EQ(apu().fuelFlow, 190.0f);
    EXPECT_GT(apu().egt, 579.0f);

    // 0.5 gallon of 6.7 lb at 190 lb/h: one tank write about a minute later, on the right main
    // tank of tank selector 1.
    scenario.run(50.0);
    EXPECT_TRUE(simConnect().dataWrites().empty());
    scenario.run(10.0);
    ASSERT_EQ(simConnect().dataWrites().size(), 1u);
    const sim::DataWrite& write = simConnect().dataWrites().front();
    EXPECT_EQ(write.defineId, 2u);
    EXPECT_NEAR(write.value, 499.5, 0.01);
    EXPECT_EQ(scenario.panel().variable("FUEL TANK RIGHT MAIN QUANTITY"), write.value);
    EXPECT_EQ(scenario.panel().token(303), write.value);

    simConnect().pilotEvent("APU_OFF_SWITCH", 0);
    scenario.step();
    EXPECT_EQ(apu().knob, Apu::kKnobOff);
    EXPECT_EQ(apu().state, Apu::kSpoolingDown);
    EXPECT_TRUE(playing(sounds::kApuShutdown));
    EXPECT_FALSE(playing(sounds::kApuRunning));
    runUntilState(Apu::kOff, 40.0);
    EXPECT_FLOAT_EQ(apu().speed, 0.0f);
    EXPECT_FLOAT_EQ(apu().voltage, 0.0f);
}

TEST_F(ApuTest, WithoutStartPowerNothingStartsAndTheKnobSpringsBack) {
    scenario.request("TaviBatt2Click");
    scenario.run(1.0);
    simConnect().pilotEvent("APU_STARTER", 0);
    scenario.step();
    EXPECT_EQ(apu().state, Apu::kOff);
    EXPECT_FALSE(playing(sounds::kApuStartup));
    scenario.step();
    EXPECT_EQ(apu().knob, Apu::kKnobOn) << "the last start time lies in the past";
}

TEST_F(ApuTest, LosingStartPowerOrFuelShutsTheApuDown) {
    simConnect().pilotEvent("APU_STARTER", 0);
    scenario.run(5.0);
    ASSERT_EQ(apu().state, Apu::kStarting);
    scenario.request("TaviBatt2Click");
    scenario.step(2);
    EXPECT_EQ(apu().state, Apu::kSpoolingDown);
    EXPECT_TRUE(playing(sounds::kApuShutdown));

    runUntilState(Apu::kOff, 30.0);
    scenario.request("TaviBatt2Click");
    scenario.step();
    apu().setKnob(Apu::kKnobStart, now());
    runUntilState(Apu::kRunning, 20.0);
    scenario.sounds().stop(sounds::kApuShutdown);
    apu().fuelShutoffOpen = false;
    scenario.step();
    EXPECT_EQ(apu().state, Apu::kSpoolingDown) << "above 30 % in the same update";
    EXPECT_TRUE(playing(sounds::kApuShutdown));
}

TEST_F(ApuTest, AtLowSpeedTheRunningApuStopsForWantOfFuelWithoutASound) {
    apu().state = Apu::kRunning;
    apu().speed = 20.0f;
    apu().fuelShutoffOpen = false;
    scenario.step();
    EXPECT_EQ(apu().state, Apu::kSpoolingDown);
    EXPECT_FALSE(playing(sounds::kApuShutdown));
}

TEST_F(ApuTest, StopAtRestIsSilent) {
    apu().stop(scenario.aircraft());
    EXPECT_EQ(apu().state, Apu::kOff);
    EXPECT_FALSE(playing(sounds::kApuShutdown));
}

TEST_F(ApuTest, ARunningApuWithItsGeneratorSwitchedOffIsOffBus) {
    apu().setKnob(Apu::kKnobStart, now());
    runUntilState(Apu::kRunning, 20.0);
    simConnect().pilotEvent("APU_GENERATOR_SWITCH_TOGGLE", 0);
    scenario.run(8.0);
    EXPECT_FALSE(apu().connected);
    EXPECT_TRUE(apu().offBus);
    EXPECT_FLOAT_EQ(apu().fuelFlow, 170.0f);
    EXPECT_TRUE(scenario.shows("APU GEN OFF BUS"));
    simConnect().pilotEvent("APU_GENERATOR_SWITCH_SET", 5);
    scenario.step(2);
    EXPECT_TRUE(apu().isOnline());
    EXPECT_FALSE(scenario.shows("APU GEN OFF BUS"));
}

// In flight with the APU the only generator, a turn of the knob to Start changes nothing: the
// generator stays on line every frame and every bus keeps its power.
TEST_F(ApuTest, AStartOfARunningApuChangesNothing) {
    scenario.aircraft().ahrs()->onGround = false;
    scenario.enterPhase(kAirbornePhase);
    apu().setKnob(Apu::kKnobStart, now());
    runUntilState(Apu::kRunning, 20.0);
    scenario.run(10.0);
    ASSERT_TRUE(apu().isOnline());
    auto poweredBuses = [&] {
        std::vector<bool> powered;
        for (int bus = 0; bus < kBusCount; ++bus) {
            powered.push_back(scenario.electric().isPowered(bus));
        }
        return powered;
    };
    const std::vector<bool> powered = poweredBuses();
    ASSERT_TRUE(powered[Electric::kCentralBus]);
    scenario.sounds().stop(sounds::kApuStartup);
    const float egtPeak = apu().egtPeak;
    const float generatorVoltage = apu().generatorVoltage;

    scenario.request("TaviApuInc");
    for (int frame = 0; frame < 10 * 18; ++frame) {
        scenario.step();
        ASSERT_TRUE(apu().isOnline()) << "frame " << frame;
        ASSERT_TRUE(scenario.electric().battery1.connected) << "frame " << frame;
        ASSERT_EQ(poweredBuses(), powered) << "frame " << frame;
    }
    EXPECT_EQ(apu().state, Apu::kRunning);
    EXPECT_EQ(apu().knob, Apu::kKnobOn) << "the knob springs back";
    EXPECT_EQ(apu().egtPeak, egtPeak);
    EXPECT_EQ(apu().generatorVoltage, generatorVoltage);
    EXPECT_FALSE(playing(sounds::kApuStartup));
    EXPECT_TRUE(playing(sounds::kApuRunning));
}

TEST_F(ApuTest, ExhaustTemperatureFollowsTheSpeed) {
    scenario.adc().totalAirTemperature = 15.0f;
    apu().setKnob(Apu::kKnobStart, now());
    scenario.run(1.0);
    ASSERT_LT(apu().speed, 14.0f);
    EXPECT_FLOAT_EQ(apu().egt, 15.0f + 30.0f * apu().speed / 14.0f);
    scenario.run(5.0);
    EXPECT_FLOAT_EQ(apu().egt, 45.0f + apu().speed / 100.0f * (apu().egtPeak - 45.0f));
    runUntilState(Apu::kRunning, 20.0);
    scenario.run(8.0);
    EXPECT_FLOAT_EQ(apu().egt, apu().egtPeak);
}

TEST_F(ApuTest, NoTankIsWrittenFromAnUnreadQuantity) {
    holdSystem<FuelSystem>(scenario.aircraft(), 19);
    scenario.fillTanks(500.0, 500.0, 6.7f);
    scenario.fuel().started = false;
    apu().setKnob(Apu::kKnobStart, now());
    runUntilState(Apu::kRunning, 20.0);
    scenario.run(80.0);
    EXPECT_TRUE(simConnect().dataWrites().empty());
    EXPECT_GT(apu().fuelBurned, 3.35f) << "the burn is kept until the quantity is read";
    scenario.fuel().started = true;
    scenario.fuel().tankSelector = 2;
    scenario.step();
    ASSERT_EQ(simConnect().dataWrites().size(), 1u);
    EXPECT_EQ(simConnect().dataWrites().front().defineId, 1u) << "selector 2: the left tank";
    EXPECT_LT(simConnect().dataWrites().front().value, 499.5);
}

// Start-up mode 1 with the simulator 10 min into the flight when the panel loads: the APU runs
// from the module's first frame and burns from then on, not for the 10 min before.
TEST(ApuStartupTest, NothingBurnsBeforeTheModuleRuns) {
    ModuleHarness module;
    module.writeIni("[Startup]\nstartupMode=1\n");
    sim::Panel& panel = module.simulator.panel;
    panel.setToken(304, 500.0);
    panel.setToken(303, 500.0);
    panel.setToken(306, 6.7);
    panel.setVariable("FUEL TANK LEFT MAIN QUANTITY", 0, 500.0);
    panel.setVariable("FUEL TANK RIGHT MAIN QUANTITY", 0, 500.0);
    module.init();
    module.simulator.startFlight();
    module.simulator.stepBy(600.0);
    const Apu& apu = module.aircraft().electric()->apu;
    ASSERT_EQ(apu.state, Apu::kRunning);
    module.simulator.stepSeconds(30.0);
    EXPECT_TRUE(module.simulator.simConnect.dataWrites().empty());
    EXPECT_NEAR(apu.fuelBurned, 190.0f * 30.0f / 3600.0f, 0.05f);
    module.simulator.stepSeconds(40.0);
    ASSERT_EQ(module.simulator.simConnect.dataWrites().size(), 1u);
    EXPECT_NEAR(module.simulator.simConnect.dataWrites().front().value, 499.5, 0.01);
}

TEST_F(ApuTest, AnAlmostEmptyTankIsWrittenUnchanged) {
    // The fuel system's reading alone: a working one would give the APU no fuel from that tank.
    holdSystem<FuelSystem>(scenario.aircraft(), 19);
    scenario.fillTanks(500.0, 0.3, 6.7f);
    apu().makeReady();
    scenario.run(70.0);
    ASSERT_FALSE(simConnect().dataWrites().empty());
    EXPECT_DOUBLE_EQ(simConnect().dataWrites().front().value, 0.3);
}

} // namespace
} // namespace tavi::test
