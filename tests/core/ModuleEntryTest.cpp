#include "airframe/Electric.h"
#include "airframe/Fadec.h"
#include "airframe/FuelSystem.h"
#include "airframe/Hydraulic.h"
#include "airframe/JetEngine.h"
#include "airframe/Lights.h"
#include "airframe/Mechanisation.h"
#include "airframe/Pneumatic.h"
#include "airframe/Pressure.h"
#include "avionics/Adc.h"
#include "avionics/Ahrs.h"
#include "avionics/Aws.h"
#include "avionics/EicasDau.h"
#include "avionics/Gps.h"
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
    const std::size_t blocks = platform::moduleHeapLiveBlocks();
    module.aircraft().systems[3] = new RecordingSystem(journal, "3");
    module.aircraft().displays[0] = new RecordingScreen(journal, "0");
    EXPECT_EQ(platform::moduleHeapLiveBlocks(), blocks + 2);
    delete theAircraft;
    theAircraft = nullptr;
    EXPECT_EQ(platform::moduleHeapLiveBlocks(), 0u);
    ModuleDeinit();
}

TEST(ModuleEntryTest, TypedAccessorsAnswerTheirClassOrNull) {
    ModuleHarness module;
    module.startModule();
    Aircraft& aircraft = module.aircraft();
    ASSERT_NE(aircraft.engine1(), nullptr);
    ASSERT_NE(aircraft.engine2(), nullptr);
    EXPECT_EQ(aircraft.engine1()->engineNumber, 1);
    EXPECT_EQ(aircraft.engine2()->engineNumber, 2);
    ASSERT_NE(aircraft.hydraulic1(), nullptr);
    ASSERT_NE(aircraft.hydraulic2(), nullptr);
    EXPECT_EQ(aircraft.hydraulic1()->systemNumber, 1);
    EXPECT_EQ(aircraft.hydraulic2()->systemNumber, 2);
    EXPECT_EQ(aircraft.electric(), aircraft.system(9));
    EXPECT_EQ(aircraft.eicasDau(), aircraft.system(10));
    EXPECT_EQ(aircraft.ahrs(), aircraft.system(12));
    EXPECT_EQ(aircraft.adc(), aircraft.system(13));
    EXPECT_EQ(aircraft.gps(), aircraft.system(14));
    EXPECT_EQ(aircraft.fadec(), aircraft.system(17));
    EXPECT_EQ(aircraft.mechanisation(), aircraft.system(18));
    EXPECT_EQ(aircraft.fuelSystem(), aircraft.system(19));
    EXPECT_EQ(aircraft.pressure(), aircraft.system(20));
    EXPECT_EQ(aircraft.pneumatic(), aircraft.system(25));
    EXPECT_EQ(aircraft.aws(), aircraft.system(27));
    EXPECT_EQ(aircraft.lights(), aircraft.system(28));
    EXPECT_NE(aircraft.electric(), nullptr);

    std::swap(aircraft.systems[9], aircraft.systems[10]);
    EXPECT_EQ(aircraft.electric(), nullptr) << "slot 9 holds the EICAS unit";
    EXPECT_EQ(aircraft.eicasDau(), nullptr);
    std::swap(aircraft.systems[9], aircraft.systems[10]);
    System* lights = aircraft.systems[28];
    aircraft.systems[28] = nullptr;
    EXPECT_EQ(aircraft.lights(), nullptr);
    aircraft.systems[28] = lights;
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
