#include "cdu/PerfInit.h"

#include "core/Fs9Reader.h"
#include "core/StateField.h"
#include "fms/Fms.h"
#include "support/ModuleHarness.h"
#include "support/TempFolder.h"

#include <cstring>
#include <gtest/gtest.h>

namespace tavi::test {
namespace {

PerfInit confirmedRecord(int32_t isaDeviation) {
    PerfInit record;
    record.initialised = true;
    record.crzIsaDev = isaDeviation;
    return record;
}

TEST(PerfInitCeiling, FollowsTheTableClampedAtItsEdgesAndAtFlightLevel370) {
    struct Case {
        float weight;
        int32_t isaDeviation;
        int32_t ceiling;
        int32_t optimum;
    };
    const Case cases[] = {
        {50000.0f, 35, 31000, 28800}, {48000.0f, 30, 35000, 32500},  {40000.0f, 0, 37000, 37000},
        {60000.0f, 50, 31000, 28800}, {30000.0f, -10, 37000, 37000}, {49000.0f, 35, 32500, 30200},
    };
    for (const Case& c : cases) {
        const PerfInit record = confirmedRecord(c.isaDeviation);
        EXPECT_EQ(record.maxAltitudeForWeight(c.weight), c.ceiling) << c.weight;
        EXPECT_EQ(record.optimumAltitudeForWeight(c.weight), c.optimum) << c.weight;
    }
    EXPECT_EQ(confirmedRecord(0).maxAltitudeForWeight(std::nanf("")), 37000);
    EXPECT_EQ(PerfInit().maxAltitudeForWeight(50000.0f), 0) << "not confirmed";
    EXPECT_EQ(PerfInit().optimumAltitudeForWeight(50000.0f), 0);
}

TEST(PerfInitWeights, IsCompleteOnlyWithEveryWeightEntered) {
    PerfInit record;
    EXPECT_FALSE(record.isComplete());
    record.passengerCount = 4;
    record.cargoWeight = 500.0;
    EXPECT_FALSE(record.isComplete()) << "fuel still -1";
    record.fuelWeight = 6000.0;
    EXPECT_TRUE(record.isComplete());
    EXPECT_DOUBLE_EQ(record.grossWeight(), 4 * 190.0 + 28000.0 + 500.0 + 6000.0);
    record.bow = -1.0;
    EXPECT_FALSE(record.isComplete());
}

TEST(PerfInitSchedules, DescentAndCruiseByMode) {
    PerfInit record;
    EXPECT_EQ(record.descentSpeed(320.0f), 310);
    EXPECT_DOUBLE_EQ(record.descentAngle(), 3.0);
    record.descentMode = 1;
    EXPECT_EQ(record.descentSpeed(320.9f), 320);
    EXPECT_DOUBLE_EQ(record.descentMach(0.78f), 0.78f);
    EXPECT_DOUBLE_EQ(record.descentAngle(), 4.0);
    record.descentMode = 2;
    record.manualDescentIas = 280;
    record.manualDescentAngle = 2.5;
    EXPECT_EQ(record.descentSpeed(320.0f), 280);
    EXPECT_DOUBLE_EQ(record.descentAngle(), 2.5);
    EXPECT_DOUBLE_EQ(record.cruiseMach(0.78f), 0.75);
    record.cruizeMode = 1;
    EXPECT_DOUBLE_EQ(record.cruiseMach(0.78f), 0.0);
    record.cruizeMode = 3;
    EXPECT_DOUBLE_EQ(record.cruiseMach(0.78f), 0.76);
}

TEST(PerfInitEntries, OutOfRangeEntriesAreRefusedAndChangeNothing) {
    PerfInit record;
    EXPECT_STREQ(record.enterWeight(PerfInit::Weight::Fuel, 1000000.0), "INVALID ENTRY");
    EXPECT_STREQ(record.enterWeight(PerfInit::Weight::Cargo, -5.0), "INVALID ENTRY");
    EXPECT_STREQ(record.enterWeight(PerfInit::Weight::Bow, std::nan("")), "INVALID ENTRY");
    EXPECT_STREQ(record.enterPassengers(1000, 0.0), "INVALID ENTRY");
    EXPECT_STREQ(record.enterPassengers(10, 301.0), "INVALID ENTRY");
    EXPECT_STREQ(record.enterIsaDeviation(36), "INVALID ENTRY");
    EXPECT_STREQ(record.enterIsaDeviation(-60), "INVALID ENTRY");
    EXPECT_STREQ(record.enterManualCruiseSpeed(74, 0.0), "INVALID ENTRY");
    EXPECT_STREQ(record.enterManualCruiseSpeed(451, 0.0), "INVALID ENTRY");
    EXPECT_STREQ(record.enterDescentAngle(6.5), "INVALID ENTRY");
    EXPECT_STREQ(record.enterInitialCruiseAltitude(25000, 30000.0f), "RESET ALT SEL?");
    EXPECT_DOUBLE_EQ(record.fuelWeight, -1.0);
    EXPECT_DOUBLE_EQ(record.cargoWeight, -1.0);
    EXPECT_DOUBLE_EQ(record.bow, 28000.0);
    EXPECT_EQ(record.passengerCount, -1);
    EXPECT_EQ(record.crzIsaDev, 0);
    EXPECT_EQ(record.cruizeMode, 0);
    EXPECT_EQ(record.descentMode, 0);
    EXPECT_EQ(record.cruiseAltitude, 0);

    EXPECT_EQ(record.enterPassengers(12, 0.0), nullptr);
    EXPECT_EQ(record.enterWeight(PerfInit::Weight::Reserve, 1500.0), nullptr);
    EXPECT_EQ(record.enterInitialCruiseAltitude(25000, 25000.0f), nullptr);
    EXPECT_EQ(record.enterIsaDeviation(-59), nullptr);
    EXPECT_EQ(record.passengerCount, 12);
    EXPECT_DOUBLE_EQ(record.paxWeight, 190.0) << "a weight of 0 keeps the one in use";
    EXPECT_EQ(record.fuelReserveType, 1);
    EXPECT_EQ(record.cruiseAltitude, 25000);
    EXPECT_FALSE(record.optimumRequested);
}

class PerfInitState : public testing::Test {
protected:
    PerfInitState() { file.path = (folder / "state.flt").string(); }

    TempFolder folder;
    StateFile file;
    Fs9Reader reader;
};

TEST_F(PerfInitState, FiveBlobsRestoreTheFlightAndLeaveTheSummariesAlone) {
    PerfInit saved;
    saved.subPage = 4;
    saved.cruiseReached = true;
    saved.descentPathMode = false;
    saved.fuelAtLastFix = 5123.5f;
    saved.climbLimitedTarget = SpeedTarget(240, 0.6);
    saved.climbLimitedTarget.machActive = true;
    saved.descentLimitedTarget = SpeedTarget(250, 0.0);
    saved.appDist = 12.5;
    saved.cruiseAltitude = 35000;
    saved.stepClimbActive = true;
    saved.fuelWeight = 8000.25;
    saved.passengerCount = 7;
    saved.stepPlanned = true;
    saved.prediction[PerfPrediction::TodDistance] = 300.0f;
    ASSERT_TRUE(saved.save(reader, file, "FMC", "perfInit"));
    const std::string text = TempFolder::read(folder / "state.flt");
    for (int blob = 1; blob <= 5; ++blob) {
        EXPECT_NE(text.find("perfInit.data." + std::to_string(blob) + "="), std::string::npos);
    }

    PerfInit loaded;
    loaded.prediction[PerfPrediction::TodDistance] = 12.0f;
    loaded.load(reader, file, "FMC", "perfInit");
    EXPECT_EQ(loaded.subPage, 4);
    EXPECT_TRUE(loaded.cruiseReached);
    EXPECT_FALSE(loaded.descentPathMode);
    EXPECT_FLOAT_EQ(loaded.fuelAtLastFix, 5123.5f);
    EXPECT_EQ(loaded.climbLimitedTarget.ias, 240);
    EXPECT_DOUBLE_EQ(loaded.climbLimitedTarget.mach, 0.6);
    EXPECT_TRUE(loaded.climbLimitedTarget.machActive);
    EXPECT_EQ(loaded.descentLimitedTarget.ias, 250);
    EXPECT_DOUBLE_EQ(loaded.appDist, 12.5);
    EXPECT_EQ(loaded.cruiseAltitude, 35000);
    EXPECT_TRUE(loaded.stepClimbActive);
    EXPECT_DOUBLE_EQ(loaded.fuelWeight, 8000.25);
    EXPECT_EQ(loaded.passengerCount, 7);
    EXPECT_TRUE(loaded.stepPlanned);
    EXPECT_FLOAT_EQ(loaded.prediction[PerfPrediction::TodDistance], 12.0f);

    PerfInit untouched;
    untouched.cruiseAltitude = 21000;
    untouched.load(reader, file, "FMC", "other");
    EXPECT_EQ(untouched.cruiseAltitude, 21000) << "missing keys change nothing";
}

TEST(PerfInitSettings, ReadByTheModuleDamagedValuesKeepTheirDefaults) {
    ModuleHarness module;
    module.writeIni("[Fms.Perf]\nbow=30500.7\npaxWeight=abc\ndepIas=200\nspdLim=9999\n"
                    "manualDescentAngle=0\ncruizeMode=3\nmanualCruiseMach=0.72\ntransAlt=6000\n");
    module.startModule();
    module.simulator.step();
    const Fms& fms = *module.aircraft().fms();
    EXPECT_DOUBLE_EQ(fms.perfInit.bow, 30500.0) << "whole pounds";
    EXPECT_DOUBLE_EQ(fms.perfInit.paxWeight, 190.0);
    EXPECT_EQ(fms.perfInit.spdLim, 250);
    EXPECT_DOUBLE_EQ(fms.perfInit.manualDescentAngle, 3.0);
    EXPECT_EQ(fms.perfInit.cruizeMode, 3);
    EXPECT_DOUBLE_EQ(fms.perfInit.manualCruiseMach, 0.72);
    EXPECT_EQ(fms.parser.formatAltitude(7000), "FL070") << "above the transition altitude";
}

TEST(PerfInitSettings, WithoutTheSectionTheDefaultsStand) {
    ModuleHarness bare;
    bare.writeIni("[Startup]\nstartupMode=2\n");
    bare.startModule();
    bare.simulator.step();
    const PerfInit& defaults = bare.aircraft().fms()->perfInit;
    EXPECT_DOUBLE_EQ(defaults.bow, 28000.0);
    EXPECT_EQ(defaults.altLim, 10000);
    EXPECT_DOUBLE_EQ(defaults.appDist, 15.0);
    EXPECT_DOUBLE_EQ(defaults.fuelReserveWeight, -1.0);
}

} // namespace
} // namespace tavi::test
