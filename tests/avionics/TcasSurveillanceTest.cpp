// The TCAS reading the stand-in simulator's traffic: sensitivity level, self-test, which
// objects it keeps, their geometry and when it scans.
#include "navdata/GcNav.h"
#include "platform/panel/TrafficSource.h"
#include "support/TcasBench.h"

#include <cmath>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace tavi::test {
namespace {

class TcasTest : public testing::Test {
protected:
    Tcas& tcas() { return bench.tcas(); }

    TcasBench bench;
};

// ---- Sensitivity level ----

struct LevelCase {
    const char* name;
    int32_t mode;
    double radioAltitude;
    double altitude;
    int32_t level;
    bool standby;
    bool taOnly;
};

const LevelCase kLevelCases[] = {
    {"TaRaBelow1000FtRadio", kTransponderTaRa, 999.0, 30000.0, 2, false, true},
    {"TaRaAt1000FtRadio", kTransponderTaRa, 1000.0, 2349.0, 3, false, false},
    {"TaRaAt2350Ft", kTransponderTaRa, 1000.0, 2350.0, 4, false, false},
    {"TaRaBelow5000Ft", kTransponderTaRa, 3000.0, 4999.0, 4, false, false},
    {"TaRaAt5000Ft", kTransponderTaRa, 3000.0, 5000.0, 5, false, false},
    {"TaRaAt10000Ft", kTransponderTaRa, 3000.0, 10000.0, 6, false, false},
    {"TaRaAt20000Ft", kTransponderTaRa, 3000.0, 20000.0, 7, false, false},
    {"TaRaBelow42000Ft", kTransponderTaRa, 3000.0, 41999.0, 7, false, false},
    {"TaRaAt42000Ft", kTransponderTaRa, 3000.0, 42000.0, 8, false, false},
    {"TaOnly", kTransponderTaOnly, 3000.0, 30000.0, 2, false, true},
    {"AtcAltitude", kTransponderAtcAltitude, 3000.0, 30000.0, 1, true, false},
    {"AtcOn", kTransponderAtcOn, 3000.0, 30000.0, 1, true, false},
    {"Standby", kTransponderStandby, 3000.0, 30000.0, 1, true, false},
};

class TcasLevelTest : public TcasTest, public testing::WithParamInterface<LevelCase> {};

TEST_P(TcasLevelTest, TransponderModeAndOwnAltitudesSelectTheLevel) {
    const LevelCase& row = GetParam();
    TransponderMode = row.mode;
    bench.setOwnAltitude(row.altitude, row.radioAltitude);
    bench.step();
    EXPECT_EQ(tcas().sensitivityLevel, row.level);
    EXPECT_EQ(tcas().standby, row.standby);
    EXPECT_EQ(tcas().taOnly, row.taOnly);
}

INSTANTIATE_TEST_SUITE_P(Levels, TcasLevelTest, testing::ValuesIn(kLevelCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TcasTest, StandbyShowsNoTraffic) {
    bench.traffic().set(bench.intruder(7, 5.0, 0.0, 0.0));
    bench.scan();
    ASSERT_EQ(tcas().trafficCount, 1u);

    TransponderMode = kTransponderAtcAltitude;
    const int queries = bench.traffic().listQueries();
    bench.step(40);
    EXPECT_EQ(tcas().trafficCount, 0u);
    EXPECT_EQ(bench.traffic().listQueries(), queries) << "no scan in standby";
}

// ---- Self-test ----

TEST_F(TcasTest, SelfTestRunsFiveSecondsAtLevelThreeEvenInStandby) {
    TransponderMode = kTransponderStandby;
    bench.step();
    ASSERT_TRUE(tcas().standby);

    tcas().startSelfTest(bench.aircraft());
    const uint32_t start = bench.now();
    bench.step();
    EXPECT_TRUE(tcas().selfTest);
    EXPECT_EQ(tcas().sensitivityLevel, 3);
    EXPECT_FALSE(tcas().standby);

    while (tcas().selfTest && bench.now() - start < 6000) {
        bench.step();
    }
    EXPECT_GT(bench.now() - start, 4999u);
    EXPECT_LE(bench.now() - start, 4999u + 56u);
    EXPECT_EQ(tcas().sensitivityLevel, 1);
    EXPECT_TRUE(tcas().standby);
}

TEST_F(TcasTest, SelfTestNeedsRadioSideOnePowerAndAPressWithoutItEndsTheTest) {
    tcas().startSelfTest(bench.aircraft());
    bench.step();
    ASSERT_TRUE(tcas().selfTest);

    bench.bench.network.avionicsMaster1 = false;
    bench.step();
    tcas().startSelfTest(bench.aircraft());
    EXPECT_FALSE(tcas().selfTest);

    bench.bench.network.avionicsMaster1 = true;
    bench.bench.network.power({0, 1, 2, 4, 5, 6, 7, 8, 9});
    bench.step();
    tcas().startSelfTest(bench.aircraft());
    EXPECT_FALSE(tcas().selfTest) << "essential bus 1 feeds radio side 1";
}

// ---- Which objects are targets ----

struct OfflineCase {
    const char* name;
    bool isUser;
    bool engine1;
    bool engine2;
    double heightAboveGround;
    bool ignored;
    bool onGround;
};

const OfflineCase kOfflineCases[] = {
    {"Airborne", false, true, true, 5000.0, false, false},
    {"UserAircraft", true, true, true, 5000.0, true, false},
    {"EngineOneStopped", false, false, true, 5000.0, true, false},
    {"OnlyEngineTwoStopped", false, true, false, 5000.0, false, false},
    {"Below50FtAboveGround", false, true, true, 49.0, true, true},
    {"At50FtAboveGround", false, true, true, 50.0, false, false},
};

class TcasOfflineTest : public TcasTest, public testing::WithParamInterface<OfflineCase> {};

TEST_P(TcasOfflineTest, SimulatorTrafficIsATargetWhenRunningAndAirborne) {
    const OfflineCase& row = GetParam();
    sim::TrafficObject object = bench.intruder(7, 5.0, 45.0, 1000.0);
    object.isUser = row.isUser;
    object.engineCombustion = {row.engine1, row.engine2};
    object.heightAboveGround = row.heightAboveGround;
    bench.traffic().set(object);
    bench.scan();
    const TcasTraffic* record = bench.record(7);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->ignored, row.ignored);
    EXPECT_EQ(record->onGround, row.onGround);
    EXPECT_FALSE(record->isNew);
}

INSTANTIATE_TEST_SUITE_P(Filters, TcasOfflineTest, testing::ValuesIn(kOfflineCases),
                         [](const auto& info) { return std::string(info.param.name); });

class TcasOnlineTest : public TcasTest {
protected:
    TcasOnlineTest() { bench.traffic().setOnline(true); }
};

TEST_F(TcasOnlineTest, SpeedsComeFromTheMovementBetweenScans) {
    bench.traffic().set(bench.intruder(7, 5.0, 0.0, 2000.0));
    bench.scan();
    const TcasTraffic* first = bench.record(7);
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isNew);
    EXPECT_TRUE(first->ignored) << "ignored on its first scan";
    EXPECT_EQ(first->verticalSpeed, 0.0);
    EXPECT_EQ(first->groundSpeed, 0.0);

    sim::TrafficObject* object = bench.traffic().find(7);
    const double fromLatitude = object->latitude;
    object->latitude += 0.1 / 60.0;
    object->altitude += 50.0;
    const uint32_t before = tcas().lastScanTime;
    bench.scan();
    const TcasTraffic* second = bench.record(7);
    ASSERT_NE(second, nullptr);
    EXPECT_FALSE(second->isNew);
    EXPECT_FALSE(second->ignored);
    const double seconds = (tcas().lastScanTime - before) / 1000.0;
    EXPECT_NEAR(second->verticalSpeed, 50.0 * 60.0 / seconds, 1e-6)
        << "the change over the time between the scans";
    EXPECT_NEAR(second->groundSpeed,
                GcNav::distanceBetween(fromLatitude, object->longitude, object->latitude,
                                       object->longitude) *
                    3600.0 / seconds,
                1e-6);
    EXPECT_NEAR(second->groundSpeed, 360.0, 10.0);
}

// The rate comes from the exact altitudes, not from the table's 25-ft steps.
TEST_F(TcasOnlineTest, LevelTrafficReadsNoVerticalSpeedAndAStepReadsItsOwnRate) {
    bench.traffic().set(bench.intruder(7, 5.0, 0.0, 2012.0));
    bench.scans(3);
    const TcasTraffic* record = bench.record(7);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->verticalSpeed, 0.0);
    bench.traffic().find(7)->altitude += 8.0;
    const uint32_t before = tcas().lastScanTime;
    bench.scan();
    const double seconds = (tcas().lastScanTime - before) / 1000.0;
    EXPECT_EQ(std::fmod(bench.record(7)->altitude, 25.0), 0.0) << "the table keeps 25-ft steps";
    EXPECT_NEAR(bench.record(7)->verticalSpeed, 8.0 * 60.0 / seconds, 1e-6);
}

TEST_F(TcasOnlineTest, TheReportedAltitudeFollowsTheOwnAltimeterReference) {
    bench.bench.adc.pressureAltitude = 10300.0f;
    bench.traffic().set(bench.intruder(7, 5.0, 0.0, 2000.0));
    bench.scan();
    const TcasTraffic* record = bench.record(7);
    ASSERT_NE(record, nullptr);
    EXPECT_DOUBLE_EQ(record->altitude, 12000.0);
    EXPECT_DOUBLE_EQ(record->reportedAltitude, 12300.0);
    EXPECT_EQ(record->altitudeHundreds, 123);
}

struct NameCase {
    const char* name;
    std::optional<std::string> objectName;
    bool ignored;
};

const NameCase kNameCases[] = {
    {"SquawkBoxInLowerCase", "squawkbox", true},
    {"Fwinn", "FWINN", true},
    {"FsInn", "fsinn", true},
    {"IvAp", "IVAP", true},
    {"Asterisk", "*ATC", true},
    {"ClientNameWithMore", "SquawkBoxX", false},
    {"Callsign", "DLH123", false},
    {"NoName", std::nullopt, false},
};

class TcasNameTest : public TcasOnlineTest, public testing::WithParamInterface<NameCase> {};

TEST_P(TcasNameTest, TheNetworkClientsOwnObjectsAreIgnored) {
    sim::TrafficObject object = bench.intruder(7, 5.0, 0.0, 2000.0);
    object.name = GetParam().objectName;
    bench.traffic().set(object);
    bench.scans(2);
    const TcasTraffic* record = bench.record(7);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->ignored, GetParam().ignored);
}

INSTANTIATE_TEST_SUITE_P(Names, TcasNameTest, testing::ValuesIn(kNameCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TcasOnlineTest, TheOwnAircraftAndTrafficOnTheGroundAreIgnored) {
    bench.traffic().set(bench.intruder(7, 0.005, 0.0, 5.0));
    bench.traffic().set(bench.intruder(8, 0.02, 0.0, 5.0));
    bench.scans(2);
    ASSERT_NE(bench.record(7), nullptr);
    EXPECT_TRUE(bench.record(7)->ignored) << "within 0.01 nm and 10 ft: the own aircraft";
    EXPECT_FALSE(bench.record(8)->ignored);

    bench.setOwnAltitude(1000.0, 1750.0);
    bench.bench.adc.groundElevation = 500.0f;
    bench.traffic().set(bench.intruder(8, 3.0, 0.0, -140.0));
    bench.traffic().set(bench.intruder(9, 3.0, 90.0, -139.0));
    bench.scans(2);
    EXPECT_TRUE(bench.record(8)->onGround) << "860 ft: within 360 ft of the field";
    EXPECT_TRUE(bench.record(8)->ignored);
    EXPECT_FALSE(bench.record(9)->onGround);
}

// ---- Geometry ----

TEST_F(TcasTest, GeometryOfTwoIntruders) {
    bench.setOwnTrueHeading(90.0);
    bench.setOwnGroundSpeed(300.0);
    bench.beforeScan();
    bench.traffic().set(bench.intruder(7, 5.0, 90.0, 500.0, 270.0, 200.0, -1000.0));
    bench.traffic().set(bench.intruder(8, 3.0, 270.0, -1000.0, 90.0, 200.0, 0.0));
    bench.scan();

    const TcasTraffic* ahead = bench.record(7);
    ASSERT_NE(ahead, nullptr);
    EXPECT_NEAR(ahead->east, 5.0, 0.01);
    EXPECT_NEAR(ahead->north, 0.0, 0.01);
    EXPECT_NEAR(ahead->range, 5.0, 0.01);
    EXPECT_NEAR(ahead->bearing, 90.0, 0.01);
    EXPECT_NEAR(ahead->tau, 36.0, 0.2) << "5 nm closing at 500 kt";
    EXPECT_NEAR(ahead->verticalTau, 30.0, 0.1) << "500 ft closing at 1000 fpm";
    EXPECT_NEAR(ahead->predictedSeparation, -100.0, 5.0) << "it passes 100 ft below";
    EXPECT_EQ(ahead->relativeAltitudeHundreds, 5);
    EXPECT_EQ(ahead->altitudeHundreds, 105);

    const TcasTraffic* behind = bench.record(8);
    ASSERT_NE(behind, nullptr);
    EXPECT_NEAR(behind->bearing, 270.0, 0.01);
    EXPECT_NEAR(behind->tau, -108.0, 0.5) << "the own aircraft pulls away at 100 kt";
    EXPECT_LT(behind->verticalTau, 0.0) << "level at 1000 ft below: never co-altitude";
    EXPECT_DOUBLE_EQ(behind->predictedSeparation, -1000.0);
}

struct RoundingCase {
    double height;
    double reportedAltitude;
    double altitude;
    int32_t relativeAltitudeHundreds;
    int32_t altitudeHundreds;
};

// The own aircraft at 10000 ft.
const RoundingCase kRoundingCases[] = {
    {12.4, 10012.4, 10000.0, 0, 100},  {12.5, 10050.0, 10025.0, 0, 101},
    {149.0, 10149.0, 10150.0, 1, 101}, {150.0, 10150.0, 10150.0, 2, 102},
    {-150.0, -50.0, 9850.0, -2, -1},   {-12.5, -49.0, 10000.0, 0, 0},
};

TEST_F(TcasTest, AltitudesRoundTo25FeetAndHundredsHalfAwayFromZero) {
    uint32_t id = 1;
    for (const RoundingCase& row : kRoundingCases) {
        sim::TrafficObject object = bench.intruder(id++, 5.0, 0.0, row.height);
        object.indicatedAltitude = row.reportedAltitude;
        bench.traffic().set(object);
    }
    bench.scan();
    id = 1;
    for (const RoundingCase& row : kRoundingCases) {
        const TcasTraffic* record = bench.record(id++);
        ASSERT_NE(record, nullptr);
        EXPECT_DOUBLE_EQ(record->altitude, row.altitude) << row.height;
        EXPECT_EQ(record->relativeAltitudeHundreds, row.relativeAltitudeHundreds) << row.height;
        EXPECT_EQ(record->altitudeHundreds, row.altitudeHundreds) << row.reportedAltitude;
        EXPECT_DOUBLE_EQ(record->reportedAltitude, 25.0 * std::round(row.reportedAltitude / 25.0))
            << row.reportedAltitude;
    }
}

TEST_F(TcasTest, StillGeometryGivesFiniteTimes) {
    bench.setOwnTrueHeading(0.0);
    bench.setOwnGroundSpeed(0.0);
    bench.beforeScan();
    // Level at the own altitude, abeam, standing still like the own aircraft.
    bench.traffic().set(bench.intruder(7, 0.5, 90.0, 0.0));
    // Right over the own position.
    bench.traffic().set(bench.intruder(8, 0.0, 0.0, 600.0, 0.0, 0.0, -600.0));
    bench.scan();

    const TcasTraffic* abeam = bench.record(7);
    ASSERT_NE(abeam, nullptr);
    EXPECT_DOUBLE_EQ(abeam->predictedSeparation, 0.0) << "co-altitude stays co-altitude";
    EXPECT_DOUBLE_EQ(abeam->verticalTau, 0.0);

    const TcasTraffic* above = bench.record(8);
    ASSERT_NE(above, nullptr);
    EXPECT_DOUBLE_EQ(above->range, 0.0);
    EXPECT_DOUBLE_EQ(above->tau, 0.0);
    EXPECT_DOUBLE_EQ(above->predictedSeparation, 600.0);
    EXPECT_NEAR(above->verticalTau, 60.0, 1e-9);
}

// Flying alongside 1 nm abeam at the own speed, 100 ft above: nothing closes, and a climb of
// 1 fpm changes no prediction by more than a foot.
TEST_F(TcasTest, ParallelTrafficDoesNotCloseAndItsPredictionsStayBounded) {
    bench.setOwnTrueHeading(0.0);
    bench.setOwnGroundSpeed(300.0);
    bench.beforeScan();
    bench.traffic().set(bench.intruder(7, 1.0, 90.0, 100.0, 0.0, 300.0, 0.0));
    std::vector<double> separations;
    for (const double verticalSpeed : {0.0, 1.0}) {
        bench.setOwnVerticalSpeed(verticalSpeed);
        bench.scan();
        const TcasTraffic* record = bench.record(7);
        ASSERT_NE(record, nullptr);
        EXPECT_LT(record->tau, 0.0) << "not closing";
        EXPECT_TRUE(std::isfinite(record->verticalTau));
        separations.push_back(record->predictedSeparation);
    }
    EXPECT_NEAR(separations[0], 100.0, 1.0);
    EXPECT_NEAR(separations[1], separations[0], 1.0);
    bench.scans(5);
    EXPECT_TRUE(tcas().taSet.empty());
    EXPECT_TRUE(tcas().raSet.empty());
}

// The self-test's resolution-advisory target has id 4; a real threat under that id afterwards
// starts its confirmation as other traffic.
TEST_F(TcasTest, AnObjectWithATestTargetsIdInheritsNothingFromIt) {
    TransponderMode = kTransponderTaRa;
    bench.setOwnTrueHeading(0.0);
    bench.setOwnGroundSpeed(0.0);
    bench.scan();
    tcas().startSelfTest(bench.aircraft());
    bench.scan();
    ASSERT_EQ(tcas().traffic[3].threatLevel, kTcasResolutionAdvisory);
    bench.traffic().set(bench.intruder(4, 3.5, 0.0, 0.0, 180.0, 480.0));
    while (tcas().selfTest) {
        bench.step();
    }
    bench.scan();
    const TcasTraffic* record = bench.record(4);
    ASSERT_NE(record, nullptr);
    ASSERT_LT(record->tau, 30.0);
    EXPECT_EQ(record->threatLevel, kTcasOtherTraffic);
    EXPECT_EQ(record->conditionSince, bench.now());
    EXPECT_TRUE(tcas().raSet.empty());
}

// ---- Scans ----

TEST_F(TcasTest, ScansAboutOnceASecondOfTickCountEvenWhilePaused) {
    bench.scan();
    int queries = bench.traffic().listQueries();
    bench.step(17);
    EXPECT_EQ(bench.traffic().listQueries(), queries) << "952 ms after the scan";
    bench.step();
    EXPECT_EQ(bench.traffic().listQueries(), queries + 1) << "1008 ms after the scan";

    bench.bench.pause(true);
    bench.step();
    const uint32_t pausedAt = bench.now();
    queries = bench.traffic().listQueries();
    bench.step(36);
    EXPECT_EQ(bench.now(), pausedAt);
    EXPECT_EQ(bench.traffic().listQueries(), queries + 2);
}

TEST_F(TcasTest, TheTableFollowsTheListedObjects) {
    for (uint32_t id = 1; id <= 3; ++id) {
        bench.traffic().set(bench.intruder(id, 2.0 * id, 0.0, 0.0));
    }
    bench.traffic().set(bench.intruder(4, 121.0, 0.0, 0.0));
    bench.scan();
    EXPECT_EQ(tcas().trafficCount, 3u) << "beyond 120 nm";

    bench.traffic().remove(1);
    bench.traffic().remove(3);
    bench.scan();
    EXPECT_EQ(tcas().trafficCount, 1u);
    EXPECT_EQ(tcas().traffic[0].id, 2u);
    EXPECT_EQ(tcas().traffic[1].id, 0u);
    EXPECT_EQ(tcas().traffic[2].id, 0u);
    EXPECT_EQ(tcas().previousTrafficCount, 3u);
    EXPECT_EQ(tcas().previousTraffic[2].id, 3u);
}

TEST_F(TcasTest, UnknownPositionInTheFirstTenSecondsIsNotScanned) {
    bench.setOwnPosition(0.0, 0.0);
    bench.traffic().set(bench.intruder(7, 1.0, 0.0, 0.0));
    while (bench.now() < 9900) {
        bench.step();
    }
    EXPECT_EQ(tcas().trafficCount, 0u);
    EXPECT_GT(bench.traffic().listQueries(), 100) << "tried every frame";
    bench.step(4);
    EXPECT_EQ(tcas().trafficCount, 1u);
}

// The transponder mode that a test sets goes back to STANDBY, as the module loads it.
struct TransponderModeGuard {
    explicit TransponderModeGuard(int32_t mode) { TransponderMode = mode; }
    ~TransponderModeGuard() { TransponderMode = kTransponderStandby; }
};

TEST(TcasInterfaceTest, WithoutTheTrafficInterfaceNothingAdvancesUntilItComes) {
    const TransponderModeGuard taRa(kTransponderTaRa);
    ModuleHarness module;
    module.simulator.panel.setInterface(platform::kTrafficInterfaceName, nullptr);
    module.startModule();
    module.simulator.stepSeconds(2.0);
    Tcas& tcas = *module.aircraft().tcas();
    EXPECT_EQ(tcas.trafficInfo, nullptr);
    EXPECT_FALSE(tcas.started);
    EXPECT_EQ(tcas.sensitivityLevel, 1);

    module.simulator.panel.setInterface(
        platform::kTrafficInterfaceName,
        static_cast<platform::TrafficSourceProvider*>(&module.simulator.traffic));
    module.simulator.traffic.setSourceAvailable(false);
    module.simulator.stepSeconds(2.0);
    EXPECT_EQ(tcas.trafficInfo, nullptr) << "the provider has no source";
    EXPECT_FALSE(tcas.started);

    module.simulator.traffic.setSourceAvailable(true);
    module.simulator.step();
    EXPECT_EQ(tcas.trafficInfo, &module.simulator.traffic);
    EXPECT_TRUE(tcas.started);
    EXPECT_EQ(tcas.sensitivityLevel, 2) << "TA/RA on the ground";
}

// A source that claims more objects than the table holds.
class OvercountingSource final : public platform::TrafficSource,
                                 public platform::TrafficSourceProvider {
public:
    platform::TrafficSource* trafficSource(const char*) override { return this; }
    uint32_t variableId(const char*) override { return 1; }
    uint32_t unitId(const char*) override { return 1; }
    uint32_t objectsWithin(double, uint32_t maxCount, uint32_t* ids) override {
        for (uint32_t i = 0; i < maxCount; ++i) {
            ids[i] = i + 1;
        }
        return maxCount + 40;
    }
    void readVariable(uint32_t, uint32_t, uint32_t, double*, uint32_t) override {}
    bool isOnlineTraffic() override { return false; }
    std::optional<std::string> objectName(uint32_t) override { return std::nullopt; }
};

class TcasSourceTest : public testing::Test {
protected:
    OvercountingSource source;
    TcasBench bench;
};

TEST_F(TcasSourceTest, ASourceClaimingMoreObjectsThanAskedFillsTheTableOnly) {
    bench.panel().setInterface(platform::kTrafficInterfaceName,
                               static_cast<platform::TrafficSourceProvider*>(&source));
    bench.tcas().trafficInfo = nullptr;
    bench.scan();
    EXPECT_EQ(bench.tcas().trafficInfo, &source);
    EXPECT_EQ(bench.tcas().trafficCount, Tcas::kMaxTraffic);
}

// ---- Power ----

TEST_F(TcasTest, HangsOnThe115VacBusAndKeepsItsTableWithoutPower) {
    BusLoads loads;
    tcas().addElectricLoad(bench.aircraft(), loads);
    for (int bus = 0; bus < kBusCount; ++bus) {
        EXPECT_FLOAT_EQ(loads[bus], bus == 9 ? 2.0f : 0.0f) << bus;
    }

    bench.traffic().set(bench.intruder(7, 5.0, 0.0, 0.0));
    bench.scan();
    ASSERT_EQ(tcas().trafficCount, 1u);
    bench.bench.network.power({0, 1, 2, 3, 4, 5, 6, 7, 8});
    bench.traffic().set(bench.intruder(8, 6.0, 0.0, 0.0));
    const int queries = bench.traffic().listQueries();
    bench.step(40);
    EXPECT_TRUE(tcas().unpowered);
    EXPECT_EQ(bench.traffic().listQueries(), queries);
    EXPECT_EQ(tcas().trafficCount, 1u) << "the table keeps what it had";

    bench.bench.network.power({9});
    bench.scan();
    EXPECT_FALSE(tcas().unpowered);
    EXPECT_EQ(tcas().trafficCount, 2u);
}

} // namespace
} // namespace tavi::test
