#include "platform/heap/ModuleHeap.h"
#include "support/ModuleHarness.h"
#include "support/RecordingSystem.h"

#include <gtest/gtest.h>

namespace tavi::test {
namespace {

TEST(ModuleEntryTest, SecondInitChangesNothing) {
    ModuleHarness module;
    module.init();
    Aircraft* first = theAircraft;
    const std::size_t lines = module.logLines().size();
    module.init();
    EXPECT_EQ(theAircraft, first);
    EXPECT_EQ(module.logLines().size(), lines);
    EXPECT_EQ(module.simulator.host.liveTimers(), 1u);
}

TEST(ModuleEntryTest, LogIsEmptiedAtConstruction) {
    ModuleHarness module;
    module.folder.write("panel/tavi.log", "old line\n");
    module.init();
    EXPECT_EQ(module.logLines().front(), "Simconnect is ok");
}

TEST(ModuleEntryTest, TeardownReleasesEveryLinkToTheSimulator) {
    ModuleHarness module;
    module.startModule();
    std::vector<std::string> journal;
    module.aircraft().systems[12] = new RecordingSystem(journal, "12");
    module.deinit();
    EXPECT_EQ(theAircraft, nullptr);
    EXPECT_EQ(module.simulator.panel.panelShutdownCalls(), 1);
    EXPECT_EQ(module.simulator.simConnect.calls().back(), "Close");
    EXPECT_FALSE(module.simulator.simConnect.isOpen());
    EXPECT_EQ(module.simulator.host.liveTimers(), 0u);
    EXPECT_FALSE(module.simulator.host.keyboardHookInstalled());
    EXPECT_EQ(module.simulator.panel.keyEventHandlerCount(), 0u);
    EXPECT_FALSE(platform::moduleHeapExists());
}

TEST(ModuleEntryTest, StopBeforeStartUpSkipsTheSlotTeardown) {
    ModuleHarness module;
    module.init();
    EXPECT_FALSE(module.aircraft().initialised);
    for (int slot = 0; slot < Aircraft::kSystemSlots; ++slot) {
        EXPECT_EQ(module.aircraft().system(slot), nullptr);
    }
    module.deinit();
    EXPECT_EQ(module.simulator.panel.panelShutdownCalls(), 1);
    EXPECT_EQ(module.simulator.host.liveTimers(), 0u);
}

TEST(ModuleEntryTest, EveryHeapBlockIsFreedByTheTeardown) {
    ModuleHarness module;
    module.startModule();
    std::vector<std::string> journal;
    module.aircraft().systems[3] = new RecordingSystem(journal, "3");
    module.aircraft().displays[2] = new RecordingScreen(journal, "2");
    EXPECT_EQ(platform::moduleHeapLiveBlocks(), 3u);
    delete theAircraft;
    theAircraft = nullptr;
    EXPECT_EQ(platform::moduleHeapLiveBlocks(), 0u);
    ModuleDeinit();
}

TEST(ModuleEntryTest, FactoriesAnswerNullOutsideTheirIds) {
    for (int id : {0, 1, 2, 3, 4, 5, 6, 7, 8, 30, -1}) {
        EXPECT_EQ(Aircraft::createSystem(id), nullptr) << id;
    }
    for (int id : {0, 12, -1}) {
        EXPECT_EQ(Aircraft::createDisplay(id), nullptr) << id;
    }
    ModuleHarness module;
    module.init();
    EXPECT_EQ(module.aircraft().display(12), nullptr);
    EXPECT_EQ(module.aircraft().display(-1), nullptr);
}

} // namespace
} // namespace tavi::test
