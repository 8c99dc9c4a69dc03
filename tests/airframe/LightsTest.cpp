// The light switches and passenger signs driven through the stand-in simulator.
#include "airframe/Lights.h"

#include "support/AirframeScenario.h"
#include "support/VirtualKeys.h"

#include <functional>
#include <gtest/gtest.h>

namespace tavi::test {
namespace {

constexpr uint32_t kKeyL = 0x4C;
constexpr uint32_t kKeyO = 0x4F;
constexpr SoundId kSignChime = 45;
constexpr SoundId kLightSwitchClick = 48;
constexpr uint32_t kPanelLightsOn = 0x10208;
constexpr uint32_t kPanelLightsOff = 0x10209;
constexpr int kPanelLightToken = 10;

std::string startupIni(int mode) {
    return "[Startup]\nstartupMode=" + std::to_string(mode) + "\n";
}

int eventCount(AirframeScenario& scenario, uint32_t eventId) {
    const std::vector<sim::KeyEvent>& events = scenario.panel().keyEventsSent();
    return static_cast<int>(std::count_if(
        events.begin(), events.end(), [&](const auto& event) { return event.eventId == eventId; }));
}

// The scenario with the sounds of the light switches and the sign chime loaded too.
class LightsScenario : public AirframeScenario {
public:
    explicit LightsScenario(const std::string& ini = "") : AirframeScenario(ini) {
        if (hasSounds()) {
            const std::filesystem::path folder = module.folder.path() / "sounds";
            for (const auto& [id, ms] : {std::pair{kSignChime, 600u}, {kLightSwitchClick, 100u}}) {
                const std::string name = "light" + std::to_string(id) + ".wav";
                writeFile(folder / name, sineWave16(ms));
                sounds().load(id, name);
            }
        }
    }

    Lights& lights() { return *aircraft().lights(); }
    bool playing(SoundId id) { return sounds().isPlaying(id); }
    void setTimeOfDay(int32_t timeOfDay) { module.simulator.clock.setTimeOfDay(timeOfDay); }
    bool press(uint32_t key) { return module.simulator.host.key(key, true); }
    void hold(uint32_t modifier, bool down) { module.simulator.host.key(modifier, down); }
};

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

struct LightsStartupCase {
    int mode;
    bool nav;
    bool beacon;
    bool strobe;
    int32_t emergencyLight;
    bool signs;
    bool cautions;
};

void PrintTo(const LightsStartupCase& row, std::ostream* out) {
    *out << "startupMode " << row.mode;
}

class LightsStartupTest : public testing::TestWithParam<LightsStartupCase> {};

TEST_P(LightsStartupTest, StartupModeSetsTheSwitchesAndTheSimulatorFollows) {
    const LightsStartupCase& expected = GetParam();
    LightsScenario scenario(startupIni(expected.mode));
    scenario.panel().setToken(14, 1.0);
    scenario.park();
    scenario.step(2);
    if (expected.mode == 0) {
        scenario.batteriesOn();
    }
    scenario.step(3);

    const Lights& lights = scenario.lights();
    EXPECT_TRUE(lights.started);
    EXPECT_EQ(lights.navLights, expected.nav);
    EXPECT_EQ(lights.beaconLights, expected.beacon);
    EXPECT_EQ(lights.strobeLights, expected.strobe);
    EXPECT_EQ(lights.emergencyLight, expected.emergencyLight);
    EXPECT_EQ(lights.seatBeltSign, expected.signs);
    EXPECT_EQ(lights.noSmokingSign, expected.signs);
    EXPECT_FALSE(lights.landingLights || lights.taxiLights || lights.logoLights);

    sim::Panel& panel = scenario.panel();
    EXPECT_EQ(panel.token(619) != 0.0, expected.nav);
    EXPECT_EQ(panel.token(368) != 0.0, expected.beacon);
    EXPECT_EQ(panel.token(11) != 0.0, expected.strobe);
    EXPECT_EQ(panel.token(14), 0.0) << "the simulator's landing lights go off";
    EXPECT_EQ(panel.namedVariable("TaviEmergLt"), expected.emergencyLight);
    EXPECT_EQ(panel.namedVariable("TaviNavLt"), expected.nav);
    EXPECT_EQ(panel.namedVariable("TaviFstnLt"), expected.signs);

    ASSERT_FALSE(scenario.eicas().unpowered);
    EXPECT_EQ(scenario.shows("DFDR FAIL"), expected.cautions);
    EXPECT_EQ(scenario.shows("EMERG LT NOT ARMD"), expected.cautions);
}

INSTANTIATE_TEST_SUITE_P(Modes, LightsStartupTest,
                         testing::Values(LightsStartupCase{0, false, false, false, 0, false, true},
                                         LightsStartupCase{1, true, true, false, 1, true, false},
                                         LightsStartupCase{2, true, true, true, 1, true, false}));

TEST(LightsTest, PanelLightingFollowsTheSwitchesByNightAndDcBus1) {
    LightsScenario scenario;
    scenario.park();
    scenario.setTimeOfDay(sim::SimClock::kNight);
    scenario.batteriesOn();
    scenario.step(2);
    Lights& lights = scenario.lights();
    EXPECT_EQ(lights.panelLighting, Lights::kUnlit);

    scenario.request("TaviPanelLtClick");
    scenario.step();
    EXPECT_TRUE(lights.panelLights);
    EXPECT_EQ(scenario.panel().namedVariable("TaviPanelLt"), 1.0);
    EXPECT_EQ(scenario.panel().namedVariable("TaviPanelLtClick"), 0.0);
    if (scenario.hasSounds()) {
        EXPECT_TRUE(scenario.playing(sounds::kKnobClick));
    }
    scenario.step(2);
    EXPECT_EQ(lights.panelLighting, Lights::kPanelLit);
    EXPECT_EQ(scenario.panel().token(kPanelLightToken), 1.0);
    EXPECT_EQ(eventCount(scenario, kPanelLightsOn), 1);

    scenario.request("TaviFloodLtClick");
    scenario.step(2);
    EXPECT_EQ(lights.panelLighting, Lights::kFloodLit);
    EXPECT_EQ(eventCount(scenario, kPanelLightsOn), 1) << "the simulator's lights burn already";

    scenario.setTimeOfDay(sim::SimClock::kDay);
    scenario.step();
    EXPECT_EQ(lights.panelLighting, Lights::kUnlit);
    scenario.setTimeOfDay(sim::SimClock::kNight);

    // DC bus 1 lost: the simulator's panel lights go off, the switches stay on.
    scenario.batteriesOn();
    scenario.step(3);
    ASSERT_FALSE(scenario.electric().isPowered(Electric::kDcBus1));
    EXPECT_EQ(lights.panelLighting, Lights::kUnlit);
    EXPECT_TRUE(lights.panelLights && lights.floodLights);
    EXPECT_EQ(scenario.panel().token(kPanelLightToken), 0.0);
    EXPECT_EQ(eventCount(scenario, kPanelLightsOff), 1);

    scenario.batteriesOn();
    scenario.step(3);
    EXPECT_EQ(lights.panelLighting, Lights::kFloodLit);
    EXPECT_EQ(scenario.panel().token(kPanelLightToken), 1.0);
    EXPECT_EQ(eventCount(scenario, kPanelLightsOn), 2);

    scenario.request("TaviPanelLtClick");
    scenario.request("TaviFloodLtClick");
    scenario.step(2);
    EXPECT_EQ(scenario.panel().token(kPanelLightToken), 0.0);
    EXPECT_EQ(eventCount(scenario, kPanelLightsOff), 2);
}

TEST(LightsTest, InTheFirstFrameThePanelSwitchesTakeTheSimulatorsState) {
    ModuleHarness module;
    sim::Panel& panel = module.simulator.panel;
    panel.setToken(kPanelLightToken, 1.0);
    module.startModule();
    const Lights& lights = *module.aircraft().lights();
    ASSERT_TRUE(lights.started);
    EXPECT_TRUE(lights.panelLights && lights.floodLights);
    EXPECT_TRUE(panel.keyEventsSent().empty() ||
                panel.keyEventsSent().back().eventId != kPanelLightsOff)
        << "nothing is sent in the first frame";
    module.simulator.step();
    EXPECT_EQ(panel.token(kPanelLightToken), 0.0) << "no power on DC bus 1";
    EXPECT_TRUE(lights.panelLights && lights.floodLights);
}

// One exterior light of the simulator with its token, switching events and buses.
struct ExteriorCase {
    const char* name;
    bool Lights::*cockpitSwitch;
    const char* request;
    const char* state;
    int token;
    uint32_t onEvent;
    uint32_t offEvent;
    std::vector<int> feedingBuses;
};

void PrintTo(const ExteriorCase& light, std::ostream* out) {
    *out << light.name;
}

class ExteriorLightTest : public testing::TestWithParam<ExteriorCase> {
protected:
    ExteriorLightTest() {
        real = scenario.aircraft().systems[9];
        scenario.aircraft().systems[9] = &network;
        scenario.step(2);
    }
    ~ExteriorLightTest() override { scenario.aircraft().systems[9] = real; }

    // The events of this light that one frame sends.
    std::vector<uint32_t> frame(bool switchOn, bool simOn, std::initializer_list<int> powered) {
        const ExteriorCase& light = GetParam();
        scenario.lights().*light.cockpitSwitch = switchOn;
        scenario.panel().setToken(light.token, simOn ? 1.0 : 0.0);
        network.power(powered);
        scenario.panel().clearKeyEventsSent();
        scenario.step();
        std::vector<uint32_t> sent;
        for (const sim::KeyEvent& event : scenario.panel().keyEventsSent()) {
            if (event.eventId == light.onEvent || event.eventId == light.offEvent) {
                sent.push_back(event.eventId);
            }
        }
        return sent;
    }

    LightsScenario scenario;
    FixedNetwork network;
    System* real = nullptr;
};

TEST_P(ExteriorLightTest, SimulatorLightBurnsOnlyWithItsSwitchOnAndItsBusPowered) {
    const ExteriorCase& light = GetParam();
    using Events = std::vector<uint32_t>;
    for (int bus : light.feedingBuses) {
        SCOPED_TRACE(bus);
        EXPECT_EQ(frame(true, false, {bus}), Events{light.onEvent});
        EXPECT_EQ(scenario.panel().token(light.token), 1.0) << "the simulator applies it";
        EXPECT_EQ(frame(true, true, {bus}), Events{});
    }
    EXPECT_EQ(frame(true, false, {}), Events{}) << "no power, nothing to switch on";
    EXPECT_EQ(frame(true, true, {}), Events{light.offEvent}) << "the bus went dark";
    EXPECT_EQ(scenario.panel().token(light.token), 0.0);
    EXPECT_EQ(frame(false, true, {light.feedingBuses[0]}), Events{light.offEvent});
    EXPECT_EQ(frame(false, false, {light.feedingBuses[0]}), Events{});

    // Every bus but the light's own leaves it dark.
    for (int bus = 0; bus < kBusCount; ++bus) {
        const auto& own = light.feedingBuses;
        network.buses[static_cast<std::size_t>(bus)].powered =
            std::find(own.begin(), own.end(), bus) == own.end();
    }
    scenario.lights().*light.cockpitSwitch = true;
    scenario.panel().clearKeyEventsSent();
    scenario.step();
    EXPECT_EQ(eventCount(scenario, light.onEvent), 0);
    EXPECT_EQ(scenario.panel().namedVariable(light.state), 1.0);

    scenario.request(light.request);
    scenario.step();
    EXPECT_FALSE(scenario.lights().*light.cockpitSwitch) << "the panel's switch toggles it";
    EXPECT_EQ(scenario.panel().namedVariable(light.request), 0.0);
    EXPECT_EQ(scenario.panel().namedVariable(light.state), 0.0);
    if (scenario.hasSounds()) {
        EXPECT_TRUE(scenario.playing(kLightSwitchClick));
    }
}

INSTANTIATE_TEST_SUITE_P(Lights, ExteriorLightTest,
                         testing::Values(ExteriorCase{"navigation",
                                                      &Lights::navLights,
                                                      "TaviNavLtClick",
                                                      "TaviNavLt",
                                                      619,
                                                      0x1034B,
                                                      0x1034B,
                                                      {Electric::kDcBus1}},
                                         ExteriorCase{"strobe",
                                                      &Lights::strobeLights,
                                                      "TaviStrobeLtClick",
                                                      "TaviStrobeLt",
                                                      11,
                                                      0x10204,
                                                      0x10205,
                                                      {Electric::kDcBus1}},
                                         ExteriorCase{"beacon",
                                                      &Lights::beaconLights,
                                                      "TaviBcnLtClick",
                                                      "TaviBcnLt",
                                                      368,
                                                      0x102BF,
                                                      0x102BF,
                                                      {Electric::kDcBus2}},
                                         ExteriorCase{"landing",
                                                      &Lights::landingLights,
                                                      "TaviLandLtClick",
                                                      "TaviLandLt",
                                                      14,
                                                      0x1020B,
                                                      0x1020C,
                                                      {Electric::kDcBus1, Electric::kDcBus2}},
                                         ExteriorCase{"taxi",
                                                      &Lights::taxiLights,
                                                      "TaviTaxiLtClick",
                                                      "TaviTaxiLt",
                                                      369,
                                                      0x102C0,
                                                      0x102C0,
                                                      {Electric::kShedBus2}},
                                         ExteriorCase{"logo",
                                                      &Lights::logoLights,
                                                      "TaviLogoLtClick",
                                                      "TaviLogoLt",
                                                      620,
                                                      0x10348,
                                                      0x10348,
                                                      {Electric::kDcBus1}}),
                         [](const testing::TestParamInfo<ExteriorCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(LightsTest, KeyLSwitchesTheExteriorLightsTogetherAndItsModifiersOneEach) {
    LightsScenario scenario;
    scenario.step(2);
    Lights& lights = scenario.lights();
    auto all = [&lights] {
        return std::vector<bool>{lights.navLights,    lights.panelLights,   lights.strobeLights,
                                 lights.beaconLights, lights.landingLights, lights.taxiLights,
                                 lights.logoLights};
    };

    EXPECT_TRUE(scenario.press(kKeyL));
    EXPECT_EQ(all(), std::vector<bool>(7, true));
    EXPECT_TRUE(lights.beaconChanged);
    scenario.step();
    EXPECT_FALSE(lights.beaconChanged) << "the EICAS step took it";
    EXPECT_TRUE(scenario.press(kKeyL));
    EXPECT_EQ(all(), std::vector<bool>(7, false));

    scenario.hold(kControlKey, true);
    EXPECT_TRUE(scenario.press(kKeyL));
    EXPECT_TRUE(lights.landingLights);
    EXPECT_FALSE(lights.navLights);
    EXPECT_FALSE(scenario.press(kKeyO)) << "Ctrl+O belongs to the simulator";
    scenario.hold(kShiftKey, true);
    EXPECT_TRUE(scenario.press(kKeyL)) << "both modifiers act as none";
    EXPECT_TRUE(lights.navLights && lights.taxiLights);
    scenario.hold(kControlKey, false);

    EXPECT_TRUE(scenario.press(kKeyL));
    EXPECT_FALSE(lights.panelLights);
    EXPECT_TRUE(lights.navLights) << "Shift+L is the panel lights alone";
    scenario.hold(kShiftKey, false);

    const bool strobe = lights.strobeLights;
    EXPECT_TRUE(scenario.press(kKeyO));
    EXPECT_NE(lights.strobeLights, strobe);
    EXPECT_FALSE(scenario.press('P'));
}

TEST(LightsTest, EmergencySwitchStepsOnlyOnItsTwoRequestValues) {
    LightsScenario scenario(startupIni(1));
    scenario.park();
    scenario.step(3);
    Lights& lights = scenario.lights();
    ASSERT_EQ(lights.emergencyLight, Lights::kEmergencyArmed);
    ASSERT_FALSE(scenario.shows("EMERG LT NOT ARMD"));

    struct Step {
        double request;
        int32_t position;
        double left;
    };
    const Step steps[] = {{2.0, 2, 0.0}, {2.0, 2, 0.0}, {1.0, 1, 0.0},
                          {1.0, 0, 0.0}, {1.0, 0, 0.0}, {3.0, 0, 3.0}};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.request);
        scenario.panel().setNamedVariable("TaviEmergLtClick", step.request);
        scenario.step();
        EXPECT_EQ(lights.emergencyLight, step.position);
        EXPECT_EQ(scenario.panel().namedVariable("TaviEmergLt"), step.position);
        EXPECT_EQ(scenario.panel().namedVariable("TaviEmergLtClick"), step.left);
    }
    scenario.step();
    EXPECT_TRUE(scenario.shows("EMERG LT NOT ARMD"));
    EXPECT_EQ(lights.emergencyLight, 0) << "3 is ignored every frame";

    scenario.panel().setNamedVariable("TaviEmergLtClick", 2.0);
    scenario.step(2);
    EXPECT_FALSE(scenario.shows("EMERG LT NOT ARMD"));
}

TEST(LightsTest, CautionsLeaveDuringTakeOffAndLandingAndComeBackAfter) {
    LightsScenario scenario;
    scenario.park();
    scenario.batteriesOn();
    scenario.step(3);
    ASSERT_TRUE(scenario.shows("DFDR FAIL"));

    scenario.enterPhase(kTakeoffPhase);
    scenario.step();
    EXPECT_FALSE(scenario.shows("DFDR FAIL"));
    EXPECT_FALSE(scenario.shows("EMERG LT NOT ARMD"));
    scenario.request("TaviBcnLtClick");
    scenario.step(2);
    scenario.request("TaviBcnLtClick");
    scenario.step(2);
    EXPECT_FALSE(scenario.shows("DFDR FAIL")) << "the beacon's change is still inhibited";

    scenario.enterPhase(kAirbornePhase);
    scenario.step();
    EXPECT_TRUE(scenario.shows("DFDR FAIL"));
    EXPECT_TRUE(scenario.shows("EMERG LT NOT ARMD"));
    scenario.request("TaviBcnLtClick");
    scenario.step(2);
    EXPECT_FALSE(scenario.shows("DFDR FAIL"));
    EXPECT_TRUE(scenario.lights().beaconLights);
}

TEST(LightsTest, SignChimeNeedsTheAuralUnitsPowerButTheSignTogglesAnyway) {
    LightsScenario scenario;
    ASSERT_TRUE(scenario.hasSounds());
    scenario.park();
    scenario.step(2);
    ASSERT_FALSE(scenario.aws().channel1Powered || scenario.aws().channel2Powered);

    scenario.request("TaviFstnLtClick");
    scenario.step();
    EXPECT_TRUE(scenario.lights().seatBeltSign);
    EXPECT_EQ(scenario.panel().namedVariable("TaviFstnLt"), 1.0);
    EXPECT_TRUE(scenario.playing(kLightSwitchClick)) << "the switch is heard";
    EXPECT_FALSE(scenario.playing(kSignChime));

    scenario.batteriesOn();
    scenario.step(2);
    scenario.request("TaviSmokeLtClick");
    scenario.step();
    EXPECT_TRUE(scenario.lights().noSmokingSign);
    EXPECT_TRUE(scenario.playing(kSignChime));
}

struct LightsLoadCase {
    const char* name;
    std::function<void(Lights&)> set;
    std::vector<std::pair<int, float>> loads;
};

TEST(LightsTest, EachLightDrawsFromItsBuses) {
    const std::vector<LightsLoadCase> cases = {
        {"panel", [](Lights& l) { l.panelLights = true; }, {{Electric::kDcBus1, 5.0f}}},
        {"flood", [](Lights& l) { l.floodLights = true; }, {{Electric::kDcBus1, 5.0f}}},
        {"panel without bus 1",
         [](Lights& l) {
             l.panelLights = l.floodLights = true;
             l.bus1Powered = false;
         },
         {}},
        {"emergency armed", [](Lights& l) { l.emergencyLight = Lights::kEmergencyArmed; }, {}},
        {"emergency on",
         [](Lights& l) { l.emergencyLight = Lights::kEmergencyOn; },
         {{Electric::kEssentialBus2, 5.0f}}},
        {"navigation", [](Lights& l) { l.navLights = true; }, {{Electric::kDcBus1, 7.5f}}},
        {"strobe", [](Lights& l) { l.strobeLights = true; }, {{Electric::kDcBus1, 7.5f}}},
        {"beacon", [](Lights& l) { l.beaconLights = true; }, {{Electric::kDcBus2, 7.5f}}},
        {"landing",
         [](Lights& l) { l.landingLights = true; },
         {{Electric::kShedBus1, 5.0f}, {Electric::kDcBus1, 5.0f}, {Electric::kDcBus2, 5.0f}}},
        {"taxi", [](Lights& l) { l.taxiLights = true; }, {{Electric::kShedBus2, 5.0f}}},
        {"logo", [](Lights& l) { l.logoLights = true; }, {{Electric::kDcBus1, 5.0f}}},
    };
    LightsScenario scenario;
    for (const LightsLoadCase& row : cases) {
        SCOPED_TRACE(row.name);
        Lights lights;
        lights.emergencyLight = Lights::kEmergencyOff;
        lights.bus1Powered = true;
        row.set(lights);
        BusLoads loads;
        lights.addElectricLoad(scenario.aircraft(), loads);
        BusLoads expected;
        for (const auto& [bus, amps] : row.loads) {
            expected[bus] = amps;
        }
        for (int bus = 0; bus < kBusCount; ++bus) {
            EXPECT_FLOAT_EQ(loads[bus], expected[bus]) << "bus " << bus;
        }
    }
}

} // namespace
} // namespace tavi::test
