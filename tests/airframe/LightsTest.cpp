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
    EXPECT_TRUE(lights.hasStarted());
    EXPECT_EQ(lights.exteriorLightOn(Lights::kNavigationLights), expected.nav);
    EXPECT_EQ(lights.exteriorLightOn(Lights::kBeaconLights), expected.beacon);
    EXPECT_EQ(lights.exteriorLightOn(Lights::kStrobeLights), expected.strobe);
    EXPECT_EQ(lights.emergencyLight(), expected.emergencyLight);
    EXPECT_EQ(lights.seatBeltSignOn(), expected.signs);
    EXPECT_EQ(lights.noSmokingSignOn(), expected.signs);
    EXPECT_FALSE(lights.exteriorLightOn(Lights::kLandingLights) ||
                 lights.exteriorLightOn(Lights::kTaxiLights) ||
                 lights.exteriorLightOn(Lights::kLogoLights));

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
    EXPECT_TRUE(lights.panelLightsOn());
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
    EXPECT_TRUE(lights.panelLightsOn() && lights.floodLightsOn());
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
    ASSERT_TRUE(lights.hasStarted());
    EXPECT_TRUE(lights.panelLightsOn() && lights.floodLightsOn());
    EXPECT_TRUE(panel.keyEventsSent().empty() ||
                panel.keyEventsSent().back().eventId != kPanelLightsOff)
        << "nothing is sent in the first frame";
    module.simulator.step();
    EXPECT_EQ(panel.token(kPanelLightToken), 0.0) << "no power on DC bus 1";
    EXPECT_TRUE(lights.panelLightsOn() && lights.floodLightsOn());
}

// One exterior light of the simulator with its token, switching events and buses.
struct ExteriorCase {
    const char* name;
    Lights::ExteriorLight light;
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

    bool switchOn() { return scenario.lights().exteriorLightOn(GetParam().light); }
    void setSwitch(bool on) {
        if (switchOn() != on) {
            scenario.lights().toggleExteriorLight(GetParam().light);
        }
    }

    // The events of this light that one frame sends.
    std::vector<uint32_t> frame(bool switchOn, bool simOn, std::initializer_list<int> powered) {
        const ExteriorCase& light = GetParam();
        setSwitch(switchOn);
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
    setSwitch(true);
    scenario.panel().clearKeyEventsSent();
    scenario.step();
    EXPECT_EQ(eventCount(scenario, light.onEvent), 0);
    EXPECT_EQ(scenario.panel().namedVariable(light.state), 1.0);

    scenario.request(light.request);
    scenario.step();
    EXPECT_FALSE(switchOn()) << "the panel's switch toggles it";
    EXPECT_EQ(scenario.panel().namedVariable(light.request), 0.0);
    EXPECT_EQ(scenario.panel().namedVariable(light.state), 0.0);
    if (scenario.hasSounds()) {
        EXPECT_TRUE(scenario.playing(kLightSwitchClick));
    }
}

INSTANTIATE_TEST_SUITE_P(Lights, ExteriorLightTest,
                         testing::Values(ExteriorCase{"navigation",
                                                      Lights::kNavigationLights,
                                                      "TaviNavLtClick",
                                                      "TaviNavLt",
                                                      619,
                                                      0x1034B,
                                                      0x1034B,
                                                      {Electric::kDcBus1}},
                                         ExteriorCase{"strobe",
                                                      Lights::kStrobeLights,
                                                      "TaviStrobeLtClick",
                                                      "TaviStrobeLt",
                                                      11,
                                                      0x10204,
                                                      0x10205,
                                                      {Electric::kDcBus1}},
                                         ExteriorCase{"beacon",
                                                      Lights::kBeaconLights,
                                                      "TaviBcnLtClick",
                                                      "TaviBcnLt",
                                                      368,
                                                      0x102BF,
                                                      0x102BF,
                                                      {Electric::kDcBus2}},
                                         ExteriorCase{"landing",
                                                      Lights::kLandingLights,
                                                      "TaviLandLtClick",
                                                      "TaviLandLt",
                                                      14,
                                                      0x1020B,
                                                      0x1020C,
                                                      {Electric::kDcBus1, Electric::kDcBus2}},
                                         ExteriorCase{"taxi",
                                                      Lights::kTaxiLights,
                                                      "TaviTaxiLtClick",
                                                      "TaviTaxiLt",
                                                      369,
                                                      0x102C0,
                                                      0x102C0,
                                                      {Electric::kShedBus2}},
                                         ExteriorCase{"logo",
                                                      Lights::kLogoLights,
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
    scenario.park();
    scenario.batteriesOn();
    scenario.step(2);
    ASSERT_TRUE(scenario.shows("DFDR FAIL"));
    Lights& lights = scenario.lights();
    auto on = [&lights](Lights::ExteriorLight light) {
        return lights.exteriorLightOn(light);
    };
    auto all = [&] {
        return std::vector<bool>{on(Lights::kNavigationLights), lights.panelLightsOn(),
                                 on(Lights::kStrobeLights),     on(Lights::kBeaconLights),
                                 on(Lights::kLandingLights),    on(Lights::kTaxiLights),
                                 on(Lights::kLogoLights)};
    };

    EXPECT_TRUE(scenario.press(kKeyL));
    EXPECT_EQ(all(), std::vector<bool>(7, true));
    scenario.step(2);
    EXPECT_FALSE(scenario.shows("DFDR FAIL")) << "the EICAS step took the beacon's change";
    EXPECT_TRUE(scenario.press(kKeyL));
    EXPECT_EQ(all(), std::vector<bool>(7, false));
    scenario.step(2);
    EXPECT_TRUE(scenario.shows("DFDR FAIL"));

    scenario.hold(kControlKey, true);
    EXPECT_TRUE(scenario.press(kKeyL));
    EXPECT_TRUE(on(Lights::kLandingLights));
    EXPECT_FALSE(on(Lights::kNavigationLights));
    EXPECT_FALSE(scenario.press(kKeyO)) << "Ctrl+O belongs to the simulator";
    scenario.hold(kShiftKey, true);
    EXPECT_TRUE(scenario.press(kKeyL)) << "both modifiers act as none";
    EXPECT_TRUE(on(Lights::kNavigationLights) && on(Lights::kTaxiLights));
    scenario.hold(kControlKey, false);

    EXPECT_TRUE(scenario.press(kKeyL));
    EXPECT_FALSE(lights.panelLightsOn());
    EXPECT_TRUE(on(Lights::kNavigationLights)) << "Shift+L is the panel lights alone";
    scenario.hold(kShiftKey, false);

    const bool strobe = on(Lights::kStrobeLights);
    EXPECT_TRUE(scenario.press(kKeyO));
    EXPECT_NE(on(Lights::kStrobeLights), strobe);
    EXPECT_FALSE(scenario.press('P'));
}

TEST(LightsTest, EmergencySwitchStepsOnlyOnItsTwoRequestValues) {
    LightsScenario scenario(startupIni(1));
    scenario.park();
    scenario.step(3);
    Lights& lights = scenario.lights();
    ASSERT_EQ(lights.emergencyLight(), Lights::kEmergencyArmed);
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
        EXPECT_EQ(lights.emergencyLight(), step.position);
        EXPECT_EQ(scenario.panel().namedVariable("TaviEmergLt"), step.position);
        EXPECT_EQ(scenario.panel().namedVariable("TaviEmergLtClick"), step.left);
    }
    scenario.step();
    EXPECT_TRUE(scenario.shows("EMERG LT NOT ARMD"));
    EXPECT_EQ(lights.emergencyLight(), 0) << "3 is ignored every frame";

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
    EXPECT_TRUE(scenario.lights().exteriorLightOn(Lights::kBeaconLights));
}

TEST(LightsTest, SignChimeNeedsTheAuralUnitsPowerButTheSignTogglesAnyway) {
    LightsScenario scenario;
    ASSERT_TRUE(scenario.hasSounds());
    scenario.park();
    scenario.step(2);
    ASSERT_FALSE(scenario.aws().channel1Powered || scenario.aws().channel2Powered);

    scenario.request("TaviFstnLtClick");
    scenario.step();
    EXPECT_TRUE(scenario.lights().seatBeltSignOn());
    EXPECT_EQ(scenario.panel().namedVariable("TaviFstnLt"), 1.0);
    EXPECT_TRUE(scenario.playing(kLightSwitchClick)) << "the switch is heard";
    EXPECT_FALSE(scenario.playing(kSignChime));

    scenario.batteriesOn();
    scenario.step(2);
    scenario.request("TaviSmokeLtClick");
    scenario.step();
    EXPECT_TRUE(scenario.lights().noSmokingSignOn());
    EXPECT_TRUE(scenario.playing(kSignChime));
}

struct LightsLoadCase {
    const char* name;
    std::function<void(Lights&, Aircraft&)> set;
    std::vector<std::pair<int, float>> loads;
    bool dcBus1Powered = true;
};

// Each row starts from the dark cockpit with every bus powered but the ones the row takes away.
TEST(LightsTest, EachLightDrawsFromItsBuses) {
    auto exterior = [](Lights::ExteriorLight light) {
        return [light](Lights& lights, Aircraft&) {
            lights.toggleExteriorLight(light);
        };
    };
    const std::vector<LightsLoadCase> cases = {
        {"panel",
         [](Lights& l, Aircraft& a) { l.togglePanelLights(a); },
         {{Electric::kDcBus1, 5.0f}}},
        {"flood",
         [](Lights& l, Aircraft& a) { l.toggleFloodLights(a); },
         {{Electric::kDcBus1, 5.0f}}},
        {"panel without bus 1",
         [](Lights& l, Aircraft& a) {
             l.togglePanelLights(a);
             l.toggleFloodLights(a);
         },
         {},
         false},
        {"emergency armed", [](Lights& l, Aircraft&) { l.moveEmergencyLight(1); }, {}},
        {"emergency on",
         [](Lights& l, Aircraft&) { l.moveEmergencyLight(2); },
         {{Electric::kEssentialBus2, 5.0f}}},
        {"navigation", exterior(Lights::kNavigationLights), {{Electric::kDcBus1, 7.5f}}},
        {"strobe", exterior(Lights::kStrobeLights), {{Electric::kDcBus1, 7.5f}}},
        {"beacon", exterior(Lights::kBeaconLights), {{Electric::kDcBus2, 7.5f}}},
        {"landing",
         exterior(Lights::kLandingLights),
         {{Electric::kShedBus1, 5.0f}, {Electric::kDcBus1, 5.0f}, {Electric::kDcBus2, 5.0f}}},
        {"taxi", exterior(Lights::kTaxiLights), {{Electric::kShedBus2, 5.0f}}},
        {"logo", exterior(Lights::kLogoLights), {{Electric::kDcBus1, 5.0f}}},
    };
    for (const LightsLoadCase& row : cases) {
        SCOPED_TRACE(row.name);
        FixedNetwork network;
        LightsScenario scenario;
        for (int bus = 0; bus < kBusCount; ++bus) {
            network.buses[static_cast<std::size_t>(bus)].powered =
                bus != Electric::kDcBus1 || row.dcBus1Powered;
        }
        System* real = scenario.aircraft().systems[9];
        scenario.aircraft().systems[9] = &network;
        scenario.step(2);
        Lights& lights = scenario.lights();
        EXPECT_EQ(lights.emergencyLight(), Lights::kEmergencyOff);
        row.set(lights, scenario.aircraft());
        BusLoads loads;
        lights.addElectricLoad(scenario.aircraft(), loads);
        scenario.aircraft().systems[9] = real;
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
