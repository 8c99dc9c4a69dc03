#include "airframe/Electric.h"
#include "support/ModuleHarness.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace tavi::test {
namespace {

bool contains(const std::vector<std::string>& lines, const std::string& wanted) {
    return std::find(lines.begin(), lines.end(), wanted) != lines.end();
}

TEST(SimConnectClientTest, ConstructorConfiguresTheConnectionInOrder) {
    ModuleHarness module;
    module.init();
    const std::vector<std::string> expected = {
        "Open RavoZ gauge",
        "SubscribeToSystemEvent 0 FlightLoaded",
        "SubscribeToSystemEvent 0 FlightLoaded",
        "SubscribeToSystemEvent 1 FlightSaved",
        "SubscribeToSystemEvent 2 Pause",
        "SubscribeToSystemEvent 3 Sim",
        "SubscribeToSystemEvent 4 Sound",
        "AddToDataDefinition 0 PARTIAL PANEL COMM enum",
        "AddToDataDefinition 1 FUEL TANK LEFT MAIN QUANTITY Gallons",
        "AddToDataDefinition 2 FUEL TANK RIGHT MAIN QUANTITY Gallons",
        "AddToDataDefinition 3 FUEL TANK CENTER QUANTITY Gallons",
        "AddToDataDefinition 4 FUEL TANK CENTER2 QUANTITY Gallons",
        "AddToDataDefinition 5 FUEL TANK EXTERNAL1 QUANTITY Gallons",
        "AddToDataDefinition 6 FUEL TANK EXTERNAL2 QUANTITY Gallons",
        "AddToDataDefinition 7 ELEVATOR POSITION Position",
        "AddToDataDefinition 8 AILERON POSITION Position",
        "RequestSystemState 0 FlightLoaded",
        "MapClientEventToSimEvent 5 AXIS_ELEVATOR_SET",
        "AddClientEventToNotificationGroup 0 5 maskable",
        "MapClientEventToSimEvent 6 AXIS_AILERONS_SET",
        "AddClientEventToNotificationGroup 0 6 maskable",
        "SetNotificationGroupPriority 0 1",
        "MapClientEventToSimEvent 7 APU_STARTER",
        "AddClientEventToNotificationGroup 1 7 maskable",
        "MapClientEventToSimEvent 8 APU_OFF_SWITCH",
        "AddClientEventToNotificationGroup 1 8 maskable",
        "MapClientEventToSimEvent 9 APU_GENERATOR_SWITCH_TOGGLE",
        "AddClientEventToNotificationGroup 1 9 maskable",
        "MapClientEventToSimEvent 10 APU_GENERATOR_SWITCH_SET",
        "AddClientEventToNotificationGroup 1 10 maskable",
        "SetNotificationGroupPriority 1 10000000",
        "MapClientEventToSimEvent 11 AXIS_RUDDER_SET",
        "AddClientEventToNotificationGroup 2 11",
        "SetNotificationGroupPriority 2 1",
        "CallDispatch",
    };
    EXPECT_EQ(module.simulator.simConnect.calls(), expected);
    EXPECT_EQ(
        module.logLines(),
        (std::vector<std::string>{"Simconnect is ok", "5C0001", "FlightLoaded hr = 0",
                                  "FlightLoaded hr = 0", "FlightSaved hr = 0", "Paused hr = 0",
                                  "Sim hr = 0", "Sound hr = 0", "SimConnect_CallDispatch hr = 0"}));
    EXPECT_FALSE(module.aircraft().simState.isPaused());
    EXPECT_FALSE(module.aircraft().simState.isSoundOn()) << "muted until the Sound event";
    EXPECT_EQ(module.simulator.simConnect.pendingMessages(), 0u)
        << "nothing is delivered from inside the set-up calls";
}

TEST(SimConnectClientTest, BrokenConnectionIsLoggedAndTheModuleGoesOn) {
    ModuleHarness module;
    module.simulator.simConnect.failOpen();
    module.init();
    const std::vector<std::string> lines = module.logLines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], "Simconnect is broken");
    EXPECT_EQ(lines[1], "0");
    EXPECT_EQ(lines[2], "FlightLoaded hr = 80004005");
    EXPECT_TRUE(contains(lines, "SimConnect_CallDispatch hr = 80004005"));
    EXPECT_FALSE(module.aircraft().simState.isPaused())
        << "a failed Pause subscription must not freeze the clock";
    EXPECT_TRUE(module.aircraft().simState.isSoundOn());
    module.simulator.stepSeconds(1.0);
    EXPECT_FALSE(module.aircraft().initialised);
}

TEST(SimConnectClientTest, SystemEventsSetTheSimulatorFlags) {
    ModuleHarness module;
    module.init();
    sim::SimConnectServer& sc = module.simulator.simConnect;
    sc.setPaused(true);
    sc.setSound(true);
    sc.setRunning(true);
    sc.pump();
    EXPECT_TRUE(module.aircraft().simState.isPaused());
    EXPECT_TRUE(module.aircraft().simState.isSoundOn());
    EXPECT_TRUE(module.aircraft().simRunning);
    sc.setPaused(false);
    sc.setSound(false);
    sc.setRunning(false);
    sc.pump();
    EXPECT_FALSE(module.aircraft().simState.isPaused());
    EXPECT_FALSE(module.aircraft().simState.isSoundOn());
    EXPECT_FALSE(module.aircraft().simRunning);
    EXPECT_TRUE(contains(module.logLines(), "SC: SIMCONNECT_RECV_ID_EVENT, 18"));
}

TEST(SimConnectClientTest, FlightFileAndStateRepliesAreKept) {
    ModuleHarness module;
    module.init();
    module.simulator.simConnect.loadFlight("Flights/Approach.FLT");
    module.simulator.simConnect.systemEvent("FlightSaved", 0);
    module.simulator.simConnect.pump();
    EXPECT_EQ(module.aircraft().loadedFlightPath, "Flights/Approach.FLT");
    const std::vector<std::string> lines = module.logLines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "New Flight Loaded: Flights/Approach.FLT"), 1)
        << "subscribing twice does not duplicate the notification";
    EXPECT_TRUE(contains(lines, "SC: SIMCONNECT_RECV_ID_SYSTEM_STATE, 11C"));
}

TEST(SimConnectClientTest, ExceptionsAreLoggedWithTheirDetails) {
    ModuleHarness module;
    module.init();
    module.simulator.simConnect.queueException(7, 3, 2);
    module.simulator.simConnect.pump();
    EXPECT_TRUE(contains(module.logLines(), "***** EXCEPTION=7  SendID=3  uOffset=2  cbData=24"));
}

TEST(SimConnectClientTest, GroupPriorityDecidesWhichPilotEventsTheSimulatorKeeps) {
    ModuleHarness module;
    module.startModule();
    sim::SimConnectServer& sc = module.simulator.simConnect;
    sc.pilotEvent("APU_STARTER", 0);
    sc.pilotEvent("AXIS_RUDDER_SET", 1200);
    sc.pilotEvent("AXIS_ELEVATOR_SET", 300);
    const std::vector<sim::AppliedEvent>& applied = sc.appliedEvents();
    ASSERT_EQ(applied.size(), 2u) << "the APU starter is masked from the simulator";
    EXPECT_EQ(applied[0].name, "AXIS_RUDDER_SET");
    EXPECT_EQ(applied[1].name, "AXIS_ELEVATOR_SET");

    sc.setNotificationGroupPriority(module.aircraft().simConnect, 0, 10'000'000);
    sc.pilotEvent("AXIS_ELEVATOR_SET", 300);
    EXPECT_EQ(sc.appliedEvents().size(), 2u) << "the autopilot's priority withholds the axis";
    EXPECT_EQ(sc.pump(), 4) << "the module is told of every event";
}

TEST(SimConnectClientTest, ApuEventsStepTheApuKnobAndSetItsGenerator) {
    ModuleHarness module;
    module.startModule();
    sim::SimConnectServer& sc = module.simulator.simConnect;
    Electric::Apu& apu = module.aircraft().electric()->apu;
    auto deliver = [&](const char* event, uint32_t data) {
        sc.pilotEvent(event, data);
        sc.pump();
    };

    deliver("APU_STARTER", 0);
    EXPECT_EQ(apu.knob, Electric::Apu::kKnobStart) << "from Off straight to Start";
    EXPECT_EQ(apu.knobChangedTime, module.aircraft().simTimeMs);
    apu.knob = Electric::Apu::kKnobOn;
    deliver("APU_STARTER", 0);
    EXPECT_EQ(apu.knob, Electric::Apu::kKnobStart) << "and no further";
    deliver("APU_OFF_SWITCH", 0);
    EXPECT_EQ(apu.knob, Electric::Apu::kKnobOff);
    deliver("APU_OFF_SWITCH", 0);
    EXPECT_EQ(apu.knob, Electric::Apu::kKnobOff);

    ASSERT_TRUE(apu.connected);
    deliver("APU_GENERATOR_SWITCH_TOGGLE", 0);
    EXPECT_FALSE(apu.connected);
    deliver("APU_GENERATOR_SWITCH_TOGGLE", 0);
    EXPECT_TRUE(apu.connected);
    deliver("APU_GENERATOR_SWITCH_SET", 0);
    EXPECT_FALSE(apu.connected);
    deliver("APU_GENERATOR_SWITCH_SET", 5);
    EXPECT_TRUE(apu.connected);
}

TEST(SimConnectClientTest, ApuEventsBeforeTheStartUpAreDropped) {
    ModuleHarness module;
    module.init();
    module.simulator.simConnect.pilotEvent("APU_STARTER", 0);
    module.simulator.simConnect.pilotEvent("APU_GENERATOR_SWITCH_TOGGLE", 0);
    EXPECT_EQ(module.simulator.simConnect.pump(), 2);
    module.simulator.startFlight();
    module.simulator.step();
    ASSERT_NE(module.aircraft().electric(), nullptr);
    EXPECT_EQ(module.aircraft().electric()->apu.knob, Electric::Apu::kKnobOff);
    EXPECT_TRUE(module.aircraft().electric()->apu.connected);
}

std::vector<std::string> transmissions(const sim::SimConnectServer& sc) {
    std::vector<std::string> sent;
    for (const std::string& call : sc.calls()) {
        if (call.starts_with("TransmitClientEvent")) {
            sent.push_back(call);
        }
    }
    return sent;
}

TEST(SimConnectClientTest, RudderAxisReachesTheFlightControlsOnceAndTheirCopyFollowsIt) {
    ModuleHarness module;
    // Ready for taxi, so that the GPS has power and gives the ground speed.
    module.writeIni("[Startup]\nstartupMode=2\n");
    module.init();
    sim::SimConnectServer& sc = module.simulator.simConnect;
    sc.pilotEvent("AXIS_RUDDER_SET", 5500);
    EXPECT_EQ(sc.pump(), 1);
    EXPECT_TRUE(transmissions(sc).empty()) << "no flight controls before the start-up";

    module.simulator.startFlight();
    module.simulator.step();
    // Rolling on the ground at 60 kt: the attitude reference and the GPS read it in the next frame.
    module.simulator.panel.setToken(60, 1.0);
    module.simulator.panel.setVariable("GROUND VELOCITY", 0, 60.0);
    module.simulator.step();
    sc.pilotEvent("AXIS_RUDDER_SET", static_cast<uint32_t>(-5500));
    EXPECT_EQ(sc.pump(), 1);
    EXPECT_EQ(sc.pump(), 0) << "the copy never comes back to the module";
    EXPECT_EQ(transmissions(sc),
              (std::vector<std::string>{"TransmitClientEvent 11 4294966296 1900000000 0x10"}));
    const std::vector<sim::AppliedEvent>& applied = sc.appliedEvents();
    ASSERT_EQ(applied.size(), 3u);
    EXPECT_EQ(applied[1].name, "AXIS_RUDDER_SET");
    EXPECT_EQ(static_cast<int32_t>(applied[1].data), -5500);
    EXPECT_EQ(applied[2].name, "AXIS_RUDDER_SET");
    EXPECT_EQ(static_cast<int32_t>(applied[2].data), -1000) << "the scaled copy comes last";
}

TEST(SimConnectClientTest, MessagesAfterTheAircraftIsGoneAreIgnored) {
    ModuleHarness module;
    module.init();
    const platform::RecvEvent event{
        {sizeof(platform::RecvEvent), 1, platform::RecvId::Event}, 0, 3, 1};
    ModuleDeinit();
    const std::vector<std::string> linesAfterStop = module.logLines();
    simConnectDispatch(&event, sizeof event, nullptr);
    EXPECT_EQ(module.logLines(), linesAfterStop)
        << "nothing is logged for a message after the stop";
}

} // namespace
} // namespace tavi::test
