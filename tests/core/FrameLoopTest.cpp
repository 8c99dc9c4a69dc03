#include "support/ModuleHarness.h"
#include "support/RecordingSystem.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace tavi::test {
namespace {

class FrameLoopTest : public testing::Test {
protected:
    // Starts the module and puts recording systems into the given slots.
    void startWithSystems(std::initializer_list<int> slots) {
        module.startModule();
        for (int slot : slots) {
            System*& system = module.aircraft().systems[static_cast<std::size_t>(slot)];
            delete system;
            system = new RecordingSystem(journal, std::to_string(slot));
        }
        journal.clear();
    }

    int framesRun() const {
        return static_cast<int>(std::count(journal.begin(), journal.end(), "update 12"));
    }

    ModuleHarness module;
    std::vector<std::string> journal;
};

TEST_F(FrameLoopTest, NothingStartsBeforeTheSimulationRuns) {
    module.init();
    for (int i = 0; i < 20; ++i) {
        module.simulator.step();
    }
    EXPECT_FALSE(module.aircraft().initialised);
    for (const std::string& line : module.logLines()) {
        EXPECT_NE(line, "Initialising plane");
    }
    EXPECT_EQ(module.simulator.panel.keyEventHandlerCount(), 0u);
    EXPECT_FALSE(module.simulator.host.keyboardHookInstalled());
}

TEST_F(FrameLoopTest, StartUpWritesItsLogLinesInOrder) {
    module.startModule();
    std::vector<std::string> expected = {"Initialising plane",
                                         "Engines and hydraulics initialised"};
    for (int id = 9; id <= 29; ++id) {
        expected.push_back(format("System %d initialised", id));
    }
    for (int id = 1; id <= 11; ++id) {
        expected.push_back(format("Display %d initialised", id));
    }
    expected.insert(expected.end(), {"Sound manager initialised", "reading ini",
                                     "Plane initialised", "Extracting VHF navaids",
                                     "Extracted VHF navaids", "Loading config", "Loaded config"});

    // Other parts may log between these lines (the sound loading does), never out of order.
    const std::vector<std::string> lines = module.logLines();
    auto next = lines.begin();
    for (const std::string& line : expected) {
        next = std::find(next, lines.end(), line);
        ASSERT_NE(next, lines.end()) << "missing or out of order: " << line;
    }
    EXPECT_EQ(lines.back(), "Loaded config");
    EXPECT_TRUE(module.aircraft().initialised);
    EXPECT_EQ(module.simulator.panel.keyEventHandlerCount(), 1u);
    EXPECT_TRUE(module.simulator.host.keyboardHookInstalled());
}

TEST_F(FrameLoopTest, OneFramePerTickHoweverOftenTheTimerFires) {
    startWithSystems({12});
    module.simulator.fireTimerOnly();
    module.simulator.fireTimerOnly();
    EXPECT_EQ(framesRun(), 0);
    EXPECT_EQ(module.aircraft().previousTick, module.aircraft().tick);
    module.simulator.step();
    EXPECT_EQ(framesRun(), 1);
}

TEST_F(FrameLoopTest, FirstDeltaIsTheSimulatorsWholeRunningTime) {
    module.init();
    module.simulator.startFlight();
    module.simulator.stepBy(100.0);
    EXPECT_EQ(module.aircraft().frameDeltaMs, 100000);
    EXPECT_EQ(module.aircraft().simTimeMs, 100000u);
    module.simulator.stepSeconds(1.0);
    EXPECT_NEAR(module.aircraft().simTimeMs, 101000u, 1);
}

TEST_F(FrameLoopTest, PauseStopsTheClockAndNoPausedTimeEntersIt) {
    startWithSystems({12});
    const uint32_t before = module.aircraft().simTimeMs;
    module.simulator.simConnect.setPaused(true);
    module.simulator.stepSeconds(1.0);
    EXPECT_EQ(module.aircraft().simTimeMs, before);
    EXPECT_EQ(module.aircraft().frameDeltaMs, 0);
    EXPECT_EQ(framesRun(), 18) << "systems still update while paused";

    module.simulator.simConnect.setPaused(false);
    module.simulator.step();
    EXPECT_NEAR(module.aircraft().frameDeltaMs, 56, 1);
    EXPECT_NEAR(module.aircraft().simTimeMs, before + 56u, 1);
}

TEST_F(FrameLoopTest, SimEventStopsAndRestartsTheFrames) {
    startWithSystems({12});
    module.simulator.simConnect.setRunning(false);
    module.simulator.stepSeconds(1.0);
    EXPECT_EQ(framesRun(), 0);
    module.simulator.simConnect.setRunning(true);
    module.simulator.step();
    EXPECT_EQ(framesRun(), 1);
}

TEST_F(FrameLoopTest, ClockGoingBackCountsAsNoTime) {
    startWithSystems({12});
    module.simulator.stepSeconds(2.0);
    const uint32_t before = module.aircraft().simTimeMs;
    sim::Panel& panel = module.simulator.panel;
    panel.setToken(sim::Simulator::kTickToken, panel.token(sim::Simulator::kTickToken) + 1);
    panel.setToken(sim::Simulator::kSecondsToken, 0.5);
    module.simulator.host.fireTimers();
    EXPECT_EQ(module.aircraft().frameDeltaMs, 0);
    EXPECT_EQ(module.aircraft().simTimeMs, before);
}

TEST_F(FrameLoopTest, UnreadableTokensSkipTheFrameAndRestartTheTimeBase) {
    startWithSystems({12});
    module.simulator.stepSeconds(1.0);
    const uint32_t before = module.aircraft().simTimeMs;
    sim::Panel& panel = module.simulator.panel;
    for (double bad : {std::numeric_limits<double>::quiet_NaN(),
                       std::numeric_limits<double>::infinity(), 1e12}) {
        journal.clear();
        panel.setToken(sim::Simulator::kTickToken, panel.token(sim::Simulator::kTickToken) + 1);
        panel.setToken(sim::Simulator::kSecondsToken, bad);
        module.simulator.host.fireTimers();
        EXPECT_EQ(framesRun(), 0) << bad;
        EXPECT_FALSE(module.aircraft().inFrame);
        EXPECT_EQ(module.aircraft().frameDeltaMs, 0);
    }
    panel.setToken(sim::Simulator::kTickToken, 1e300);
    module.simulator.host.fireTimers();
    EXPECT_EQ(framesRun(), 0);

    module.simulator.step();
    EXPECT_EQ(framesRun(), 1);
    EXPECT_EQ(module.aircraft().simTimeMs,
              before + static_cast<uint32_t>(module.aircraft().frameDeltaMs));
    EXPECT_LT(module.aircraft().frameDeltaMs, 1000);
}

TEST_F(FrameLoopTest, IrregularTicksAddUpToTheSimulatorsTime) {
    startWithSystems({});
    const uint32_t start = module.aircraft().simTimeMs;
    const double startSeconds = module.simulator.simulatorSeconds();
    module.simulator.stepIrregular(200, 0.012, 0.2, 7);
    const double elapsedMs = (module.simulator.simulatorSeconds() - startSeconds) * 1000.0;
    EXPECT_NEAR(module.aircraft().simTimeMs - start, elapsedMs, 1.0);
}

TEST_F(FrameLoopTest, SystemsThenScreensRunInSlotOrderEachUpdateFollowedByItsPower) {
    startWithSystems({24, 3, 9});
    for (const int slot : {5, 1}) {
        PanelElement*& screen = module.aircraft().displays[static_cast<std::size_t>(slot)];
        delete screen;
        screen = new RecordingScreen(journal, "screen" + std::to_string(slot));
    }
    module.simulator.step();
    EXPECT_EQ(journal, (std::vector<std::string>{"update 3", "updatePower 3", "update 9",
                                                 "updatePower 9", "update 24", "updatePower 24",
                                                 "update screen1", "updatePower screen1",
                                                 "update screen5", "updatePower screen5"}));
}

TEST_F(FrameLoopTest, PreUpdateReachesEverySystemInSlotOrder) {
    startWithSystems({20, 2});
    module.aircraft().preUpdate();
    EXPECT_EQ(journal, (std::vector<std::string>{"preUpdate 2", "preUpdate 20"}));
    EXPECT_TRUE(module.aircraft().preUpdateSeen);
}

TEST_F(FrameLoopTest, SimulatorKeyEventsReachOnlySystemsThatWantThem) {
    module.startModule();
    auto& systems = module.aircraft().systems;
    for (int slot : {18, 23, 24}) {
        delete systems[static_cast<std::size_t>(slot)];
    }
    systems[18] = new RecordingSystem(journal, "18", {}, true);
    systems[23] = new RecordingSystem(journal, "23", {}, false);
    systems[24] = new RecordingSystem(journal, "24", {}, true);
    module.simulator.panel.simulatorKeyEvent(65587, 7);
    EXPECT_EQ(journal, (std::vector<std::string>{"event 18 65587 7", "event 24 65587 7"}));

    journal.clear();
    for (int slot : {18, 24}) {
        delete systems[static_cast<std::size_t>(slot)];
        systems[static_cast<std::size_t>(slot)] = nullptr;
    }
    module.simulator.panel.simulatorKeyEvent(1, 1);
    EXPECT_TRUE(journal.empty()) << "no system asks for events";
}

TEST_F(FrameLoopTest, SlewStateIsReadEveryFrame) {
    startWithSystems({});
    module.simulator.panel.setVariable("IS SLEW ACTIVE", 0, 1.0);
    module.simulator.step();
    EXPECT_TRUE(module.aircraft().slewActive);
    module.simulator.panel.setVariable("IS SLEW ACTIVE", 0, 0.0);
    module.simulator.step();
    EXPECT_FALSE(module.aircraft().slewActive);
}

} // namespace
} // namespace tavi::test
