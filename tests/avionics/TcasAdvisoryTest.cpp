// The TCAS advisories: encounters through the stand-in simulator's traffic, and the threat
// tests, the choice of the resolution advisory and the call-outs on the running system.
#include "support/TcasBench.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace tavi::test {
namespace {

using namespace sounds;

constexpr uint32_t kIntruder = 7;

// The own aircraft flies level; an intruder comes head-on 800 ft above at 480 kt and, 2 nm
// out, dives at 4000 fpm through the own altitude. The crew flies every resolution advisory:
// the vertical speed of a corrective one, level flight under a preventive one.
class TcasEncounterTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(bench.hasSounds()); }

    void start(double ownAltitude) {
        bench.setOwnTrueHeading(0.0);
        bench.setOwnGroundSpeed(0.0);
        bench.setOwnAltitude(ownAltitude, 4000.0);
        bench.traffic().set(bench.intruder(kIntruder, 8.0, 0.0, 800.0, 180.0, 480.0, 0.0));
    }

    // Scans until the condition holds; false when it never does within the encounter.
    bool scanUntil(const std::function<bool()>& condition) {
        for (int i = 0; i < 120; ++i) {
            scan();
            if (condition()) {
                return true;
            }
        }
        return false;
    }

    void scan() {
        bench.scan();
        const std::vector<SoundId> callouts = bench.takeCallouts();
        heard.insert(heard.end(), callouts.begin(), callouts.end());
        sim::TrafficObject* intruder = bench.traffic().find(kIntruder);
        if (intruder && intruder->verticalSpeed == 0.0 && record() && record()->range < 2.0) {
            intruder->verticalSpeed = -4000.0;
        }
        if (!tcas().raSet.empty()) {
            const TcasAdvisoryKind& kind =
                tcas().advisoryKinds[static_cast<std::size_t>(tcas().raKind)];
            bench.setOwnVerticalSpeed(kind.corrective ? kind.targetVerticalSpeed : 0.0);
        }
    }

    Tcas& tcas() { return bench.tcas(); }
    const TcasTraffic* record() { return bench.record(kIntruder); }
    bool underTa() { return tcas().taSet.contains(kIntruder); }
    bool underRa() { return tcas().raSet.contains(kIntruder); }

    TcasBench bench;
    std::vector<SoundId> heard;
};

TEST_F(TcasEncounterTest, TrafficThenClimbThenAdjustThenClearOfConflict) {
    start(10000.0);
    ASSERT_TRUE(scanUntil([&] { return underTa(); }));
    EXPECT_EQ(heard, std::vector<SoundId>{kTcasTraffic});
    EXPECT_EQ(record()->threatLevel, kTcasTrafficAdvisory);
    EXPECT_LE(record()->tau, 45.0 - 2.5) << "the TA test held for 2.5 s first";
    EXPECT_EQ(tcas().sensitivityLevel, 6);

    ASSERT_TRUE(scanUntil([&] { return underRa(); }));
    EXPECT_EQ(heard.back(), kTcasClimb);
    EXPECT_EQ(tcas().raKind, kRaClimb);
    EXPECT_TRUE(tcas().raAnnounced);
    EXPECT_EQ(record()->threatLevel, kTcasResolutionAdvisory);
    EXPECT_TRUE(tcas().taSet.empty()) << "the TA turned into the RA";
    const uint32_t raStart = tcas().raStart;

    ASSERT_TRUE(scanUntil([&] { return tcas().raKind != kRaClimb; }));
    EXPECT_EQ(tcas().raKind, kRaDontDescend2000)
        << "clear of the threat in altitude: the weakest advisory that still keeps ALIM";
    EXPECT_EQ(heard.back(), kTcasAdjustVerticalSpeed);
    EXPECT_FALSE(tcas().raAnnounced);
    EXPECT_GE(bench.now() - raStart, 9000u);
    EXPECT_GT(bench.tcas().ownAltitude - record()->altitude, 400.0);

    ASSERT_TRUE(scanUntil([&] { return tcas().raSet.empty(); }));
    EXPECT_EQ(heard, (std::vector<SoundId>{kTcasTraffic, kTcasClimb, kTcasAdjustVerticalSpeed,
                                           kTcasClearOfConflict}));
    EXPECT_EQ(record()->threatLevel, kTcasTrafficAdvisory) << "still near, as traffic";
    EXPECT_EQ(tcas().raKind, kRaDontDescend2000) << "the kind stays after the advisory";
}

TEST_F(TcasEncounterTest, TheLevelHoldsWhileTheAdvisoryLasts) {
    start(4950.0);
    ASSERT_TRUE(scanUntil([&] { return underRa(); }));
    EXPECT_EQ(tcas().sensitivityLevel, 4);
    ASSERT_TRUE(scanUntil([&] { return tcas().ownAltitude > 5100.0; }));
    ASSERT_TRUE(underRa());
    EXPECT_EQ(tcas().sensitivityLevel, 4) << "climbing through 5000 ft";
    ASSERT_TRUE(scanUntil([&] { return tcas().raSet.empty(); }));
    bench.step();
    EXPECT_EQ(tcas().sensitivityLevel, 5);
}

struct TaOnlyCase {
    const char* name;
    std::function<void(TcasBench&)> select;
};

class TcasTaOnlyTest : public TcasEncounterTest, public testing::WithParamInterface<TaOnlyCase> {};

// Selected by the crew, or below 1000 ft above the ground, TA only ends the advisory under way
// without a call-out and gives no new one; the threat stays a traffic advisory.
TEST_P(TcasTaOnlyTest, EndsTheAdvisoryUnderWayAndKeepsTheTrafficAdvisory) {
    start(10000.0);
    ASSERT_TRUE(scanUntil([&] { return underRa(); }));
    heard.clear();
    GetParam().select(bench);
    bench.step();
    EXPECT_EQ(tcas().sensitivityLevel, 2) << "at once";
    EXPECT_TRUE(tcas().taOnly);
    for (int i = 0; i < 8; ++i) {
        scan();
        EXPECT_FALSE(underRa());
        EXPECT_TRUE(underTa());
    }
    EXPECT_TRUE(heard.empty()) << testing::PrintToString(heard);
}

INSTANTIATE_TEST_SUITE_P(Selections, TcasTaOnlyTest,
                         testing::Values(TaOnlyCase{"Selected",
                                                    [](TcasBench&) {
                                                        TransponderMode = kTransponderTaOnly;
                                                    }},
                                         TaOnlyCase{"NearTheGround",
                                                    [](TcasBench& b) {
                                                        b.radAlt->radioAltitude = 990.0f;
                                                    }}),
                         [](const auto& info) { return std::string(info.param.name); });

struct InterruptionCase {
    const char* name;
    std::function<void(TcasBench&)> interrupt;
};

class TcasInterruptionTest : public TcasEncounterTest,
                             public testing::WithParamInterface<InterruptionCase> {};

TEST_P(TcasInterruptionTest, EndsTheAdvisoriesWithoutACallout) {
    start(10000.0);
    ASSERT_TRUE(scanUntil([&] { return underRa(); }));
    heard.clear();
    GetParam().interrupt(bench);
    for (int i = 0; i < 3; ++i) {
        scan();
    }
    EXPECT_TRUE(tcas().raSet.empty());
    EXPECT_TRUE(tcas().taSet.empty());
    EXPECT_TRUE(heard.empty()) << testing::PrintToString(heard);
}

const InterruptionCase kInterruptionCases[] = {
    {"Standby",
     [](TcasBench&) {
         TransponderMode = kTransponderStandby;
     }},
    {"AcBusLost",
     [](TcasBench& b) {
         b.bench.network.power({0, 1, 2, 3, 4, 5, 6, 7, 8});
     }},
};

INSTANTIATE_TEST_SUITE_P(Interruptions, TcasInterruptionTest, testing::ValuesIn(kInterruptionCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TcasEncounterTest, SelfTestShowsFourTargetsUntilTheNextScanAfterIt) {
    start(10000.0);
    ASSERT_TRUE(scanUntil([&] { return underTa(); }));
    tcas().startSelfTest(bench.aircraft());
    scan();
    ASSERT_EQ(tcas().trafficCount, 4u);
    const struct {
        uint32_t id;
        int32_t relativeAltitudeHundreds;
        double verticalSpeed;
        int32_t threatLevel;
    } targets[] = {{1, 10, 0.0, kTcasOtherTraffic},
                   {2, 2, -600.0, kTcasProximate},
                   {3, -2, 600.0, kTcasTrafficAdvisory},
                   {4, -10, 0.0, kTcasResolutionAdvisory}};
    for (std::size_t slot = 0; slot < 4; ++slot) {
        const TcasTraffic& target = tcas().traffic[slot];
        EXPECT_EQ(target.id, targets[slot].id);
        EXPECT_EQ(target.relativeAltitudeHundreds, targets[slot].relativeAltitudeHundreds);
        EXPECT_EQ(target.altitudeHundreds, 100 + targets[slot].relativeAltitudeHundreds);
        EXPECT_EQ(target.verticalSpeed, targets[slot].verticalSpeed);
        EXPECT_EQ(target.threatLevel, targets[slot].threatLevel);
        EXPECT_FALSE(target.ignored);
    }
    EXPECT_TRUE(underTa()) << "the advisories stay as they were";
    EXPECT_TRUE(heard == std::vector<SoundId>{kTcasTraffic});

    while (tcas().selfTest) {
        ASSERT_EQ(tcas().trafficCount, 4u);
        bench.step();
    }
    bench.scan();
    EXPECT_EQ(tcas().trafficCount, 1u);
    EXPECT_EQ(tcas().traffic[0].id, kIntruder);
}

TEST_F(TcasEncounterTest, AnObjectInAnotherObjectsSlotStartsItsOwnConfirmation) {
    start(10000.0);
    ASSERT_TRUE(scanUntil([&] { return underTa(); }));
    ASSERT_EQ(tcas().traffic[0].id, kIntruder);

    sim::TrafficObject newcomer = *bench.traffic().find(kIntruder);
    newcomer.id = 8;
    bench.traffic().remove(kIntruder);
    bench.traffic().set(newcomer);
    scan();
    ASSERT_EQ(tcas().traffic[0].id, 8u);
    EXPECT_EQ(tcas().traffic[0].threatLevel, kTcasOtherTraffic);
    EXPECT_EQ(tcas().traffic[0].conditionSince, bench.now());
    EXPECT_TRUE(tcas().taSet.empty());

    ASSERT_TRUE(scanUntil([&] { return !tcas().taSet.empty(); }));
    EXPECT_GT(bench.now() - tcas().traffic[0].conditionSince, 2500u);
    EXPECT_EQ(heard, (std::vector<SoundId>{kTcasTraffic, kTcasTraffic}));
}

// ---- Threat tests ----

struct ThreatCase {
    const char* name;
    bool resolution;
    int32_t level;
    double tau;
    double range;
    double verticalTau;
    double predictedSeparation;
    bool held;
    bool threat;
};

const ThreatCase kThreatCases[] = {
    {"RaLevel5AtTau25", true, 5, 25.0, 3.0, 20.0, 2000.0, false, true},
    {"RaLevel5AtTau25_5", true, 5, 25.5, 3.0, 20.0, 2000.0, false, false},
    {"RaLevel5WithinDmod", true, 5, 25.5, 0.55, 20.0, 2000.0, false, true},
    {"RaLevel5HeldAtTau29_9", true, 5, 29.9, 3.0, 20.0, 2000.0, true, true},
    {"RaLevel5HeldAtTau30_1", true, 5, 30.1, 3.0, 20.0, 2000.0, true, false},
    {"RaLevel5HeldWithinDmodMargin", true, 5, -5.0, 0.75, 20.0, 2000.0, true, true},
    {"RaLevel5HeldBeyondDmodMargin", true, 5, -5.0, 0.76, 20.0, 2000.0, true, false},
    // The RA altitude threshold lies beyond ALIM (350 ft at level 5).
    {"RaLevel5Separation404", true, 5, 20.0, 3.0, -1.0, 404.0, false, true},
    {"RaLevel5Separation600", true, 5, 20.0, 3.0, -1.0, 600.0, false, true},
    {"RaLevel5Separation601", true, 5, 20.0, 3.0, -1.0, -601.0, false, false},
    {"RaLevel5HeldSeparation700", true, 5, 20.0, 3.0, -1.0, -700.0, true, true},
    {"RaLevel5HeldSeparation701", true, 5, 20.0, 3.0, -1.0, 701.0, true, false},
    {"RaLevel3Separation600", true, 3, 10.0, 3.0, -1.0, -600.0, false, true},
    {"RaLevel6Separation601", true, 6, 20.0, 3.0, -1.0, 601.0, false, false},
    {"RaLevel7Separation700", true, 7, 20.0, 3.0, -1.0, 700.0, false, true},
    {"RaLevel7Separation701", true, 7, 20.0, 3.0, -1.0, -701.0, false, false},
    {"RaLevel8Separation800", true, 8, 20.0, 3.0, -1.0, -800.0, false, true},
    {"RaLevel8Separation801", true, 8, 20.0, 3.0, -1.0, 801.0, false, false},
    {"RaLevel5VerticalTauBeyond", true, 5, 20.0, 3.0, 25.5, 2000.0, false, false},
    {"RaLevel2New", true, 2, 1.0, 0.1, 1.0, 0.0, false, false},
    {"RaLevel2Held", true, 2, 5.0, 0.1, 1.0, 0.0, true, false},
    {"TaLevel2AtTau20", false, 2, 20.0, 3.0, 10.0, 2000.0, false, true},
    {"TaLevel2AtTau20_1", false, 2, 20.1, 1.0, 10.0, 2000.0, false, false},
    {"TaLevel2WithinDmod", false, 2, 60.0, 0.3, 50.0, 850.0, false, true},
    {"TaLevel2WithinDmodOpening", false, 2, -3.0, 0.3, 50.0, 850.0, false, false},
    {"RaLevel5WithinDmodNotClosing", true, 5, -1.0, 0.2, 0.0, 0.0, false, false},
    {"TaLevel7Separation851", false, 7, 20.0, 3.0, -1.0, 851.0, false, false},
    {"TaLevel7HeldSeparation950", false, 7, 20.0, 3.0, -1.0, -950.0, true, true},
    {"TaLevel8Separation1200", false, 8, 20.0, 3.0, -1.0, 1200.0, false, true},
    {"TaLevel8Separation1201", false, 8, 20.0, 3.0, -1.0, 1201.0, false, false},
};

class TcasThreatTest : public testing::TestWithParam<ThreatCase> {};

TEST_P(TcasThreatTest, BothTestsHoldWithinTheLevelsThresholds) {
    const ThreatCase& row = GetParam();
    const auto test = row.resolution ? Tcas::isResolutionAdvisory : Tcas::isTrafficAdvisory;
    EXPECT_EQ(
        test(row.level, row.tau, row.range, row.verticalTau, row.predictedSeparation, row.held),
        row.threat);
}

INSTANTIATE_TEST_SUITE_P(Thresholds, TcasThreatTest, testing::ValuesIn(kThreatCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- The advisory logic on the running system, between frames ----

// The own aircraft at 10000 ft, 4000 ft above the ground, level 6 (ALIM 400 ft). Threats are
// written into the traffic table as a scan would leave them; the test calls the TCAS itself.
class TcasLogicTest : public testing::Test {
protected:
    TcasLogicTest() {
        bench.setOwnAltitude(10000.0, 4000.0);
        bench.step();
    }

    void SetUp() override {
        ASSERT_TRUE(bench.hasSounds());
        ASSERT_EQ(tcas().sensitivityLevel, 6);
        ASSERT_EQ(tcas().trafficCount, 0u);
    }

    Tcas& tcas() { return bench.tcas(); }

    // A threat at a height above the own aircraft (ft) with its vertical speed, tau (s) and
    // range (nm), with the vertical geometry a scan gives it against the own vertical speed.
    uint32_t threat(uint32_t slot, double height, double verticalSpeed, double tau,
                    double range = 2.0) {
        TcasTraffic& record = tcas().traffic[slot];
        record = TcasTraffic{};
        record.id = 100 + slot;
        record.altitude = tcas().ownAltitude + height;
        record.verticalSpeed = verticalSpeed;
        record.tau = tau;
        record.range = range;
        const double closure = tcas().ownVerticalSpeed - verticalSpeed;
        record.verticalTau = height == 0.0 ? 0.0 : height / closure * 60.0;
        record.predictedSeparation = closure == 0.0 ? height : height - closure * tau / 60.0;
        tcas().trafficCount = std::max(tcas().trafficCount, slot + 1);
        threats.emplace(record.id, slot);
        return record.id;
    }

    // An advisory of the kind under way since `since`, last changed then.
    void advisoryUnderWay(int32_t kind, uint32_t since, double separation) {
        tcas().raKind = kind;
        tcas().raStart = since;
        tcas().raLastChange = since;
        tcas().advisoryKinds[static_cast<std::size_t>(kind)].minimumSeparation = separation;
    }

    TcasBench bench;
    Tcas::TargetSet threats;
};

TEST_F(TcasLogicTest, AThreatIsConfirmedAfterMoreThan2500Ms) {
    const uint32_t id = threat(0, 0.0, 0.0, 20.0);
    tcas().evaluateAdvisories(10000);
    EXPECT_EQ(tcas().traffic[0].conditionSince, 10000u);
    tcas().evaluateAdvisories(12500);
    EXPECT_TRUE(tcas().raSet.empty()) << "exactly 2500 ms";
    EXPECT_EQ(tcas().traffic[0].threatLevel, kTcasOtherTraffic);
    tcas().evaluateAdvisories(12501);
    EXPECT_TRUE(tcas().raSet.contains(id));
    EXPECT_EQ(tcas().traffic[0].threatLevel, kTcasResolutionAdvisory);
}

TEST_F(TcasLogicTest, TimeUnderTheTrafficTestCountsForTheResolutionTest) {
    const uint32_t id = threat(0, 0.0, 0.0, 40.0);
    tcas().evaluateAdvisories(10000);
    tcas().evaluateAdvisories(13000);
    ASSERT_TRUE(tcas().taSet.contains(id));
    tcas().traffic[0].tau = 29.0;
    tcas().evaluateAdvisories(14000);
    EXPECT_TRUE(tcas().raSet.contains(id)) << "at once";
    EXPECT_TRUE(tcas().taSet.empty());

    tcas().traffic[0].tau = 100.0;
    tcas().traffic[0].range = 7.0;
    tcas().evaluateAdvisories(15000);
    EXPECT_TRUE(tcas().raSet.empty());
    EXPECT_EQ(tcas().traffic[0].conditionSince, 0u);
    EXPECT_EQ(tcas().traffic[0].threatLevel, kTcasOtherTraffic) << "beyond 6 nm";
}

TEST_F(TcasLogicTest, NoAdvisoryWithin50FtOfTheGround) {
    threat(0, 0.0, 0.0, 20.0, 1.0);
    tcas().ownRadioAltitude = 50.0;
    tcas().evaluateAdvisories(10000);
    tcas().evaluateAdvisories(20000);
    EXPECT_TRUE(tcas().raSet.empty());
    EXPECT_TRUE(tcas().taSet.empty());
    EXPECT_EQ(tcas().traffic[0].threatLevel, kTcasProximate);
}

struct SenseCase {
    const char* name;
    double radioAltitude;
    RaSense sense;
};

class TcasSenseTest : public TcasLogicTest, public testing::WithParamInterface<SenseCase> {};

// A level threat 100 ft above: passing under it keeps ALIM, climbing through it does not.
TEST_P(TcasSenseTest, ADescendNeedsMoreThan1100FtAboveTheGround) {
    threat(0, 100.0, 0.0, 20.0);
    tcas().ownRadioAltitude = GetParam().radioAltitude;
    EXPECT_EQ(tcas().chooseRaSense(threats), GetParam().sense);
}

INSTANTIATE_TEST_SUITE_P(RadioAltitudes, TcasSenseTest,
                         testing::Values(SenseCase{"Above1100Ft", 1101.0, kRaDown},
                                         SenseCase{"At1100Ft", 1100.0, kRaUp}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TcasLogicTest, ThreatsAboveAndBelowGiveLevelOff) {
    threat(0, 350.0, 0.0, 20.0);
    threat(1, -350.0, 0.0, 20.0);
    EXPECT_EQ(tcas().chooseRaSense(threats), kRaLevel);

    tcas().evaluateAdvisories(10000);
    tcas().evaluateAdvisories(12600);
    EXPECT_EQ(tcas().raSet.size(), 2u);
    EXPECT_EQ(tcas().raKind, kRaLevelOff);
    EXPECT_EQ(tcas().raStart, 12600u);
    EXPECT_EQ(bench.takeCallouts(), std::vector<SoundId>{kTcasMonitorVerticalSpeed});
}

TEST_F(TcasLogicTest, Climbing1000FpmAtTheStartGivesMaintainClimb) {
    for (const auto& [verticalSpeed, kind] :
         {std::pair{1000.0, kRaMaintainClimb}, std::pair{999.0, kRaClimb}}) {
        tcas().ownVerticalSpeed = verticalSpeed;
        threats.clear();
        threat(0, -300.0, 0.0, 20.0);
        EXPECT_EQ(tcas().chooseInitialRa(threats, kRaUp, 5000), kind) << verticalSpeed;
    }
}

TEST_F(TcasLogicTest, CandidatesWithoutSeparationGiveClimb) {
    threat(0, 0.0, 0.0, -1.0);
    EXPECT_EQ(tcas().selectRaKind(threats, {}, 5.0), kRaClimb);
    EXPECT_EQ(tcas().selectRaKind(threats, {kRaDescend, kRaLevelOff}, 5.0), kRaClimb)
        << "an opening threat at the own altitude";
}

// A climb whose threat, 500 ft below, has passed: from 9 s after its start, and 5 s after a
// change, it becomes do not descend.
TEST_F(TcasLogicTest, AdvisoriesChangeOnlyAfter9SAndThenEvery5S) {
    threat(0, -500.0, 0.0, -2.0, 0.5);
    advisoryUnderWay(kRaClimb, 20000, 800.0);
    EXPECT_EQ(tcas().updateRa(threats, 28999), kRaClimb);
    EXPECT_EQ(tcas().updateRa(threats, 29000), kRaDontDescend);
    EXPECT_EQ(tcas().raLastChange, 29000u);

    advisoryUnderWay(kRaClimb, 0, 800.0);
    tcas().raLastChange = 30000;
    EXPECT_EQ(tcas().updateRa(threats, 34999), kRaClimb);
    EXPECT_EQ(tcas().updateRa(threats, 35000), kRaDontDescend);
}

TEST_F(TcasLogicTest, AClimbWhoseThreatsAllPassedBecomesDoNotDescend) {
    const uint32_t id = threat(0, -350.0, 0.0, 20.0);
    tcas().evaluateAdvisories(10000);
    tcas().evaluateAdvisories(12600);
    ASSERT_TRUE(tcas().raSet.contains(id));
    ASSERT_EQ(tcas().raKind, kRaClimb);
    EXPECT_EQ(bench.takeCallouts(), std::vector<SoundId>{kTcasClimb});
    bench.silence();

    TcasTraffic& passed = tcas().traffic[0];
    passed.tau = -2.0;
    passed.range = 0.5;
    passed.altitude = tcas().ownAltitude - 450.0;
    passed.predictedSeparation = -450.0;
    tcas().evaluateAdvisories(21600);
    EXPECT_TRUE(tcas().raSet.contains(id));
    EXPECT_EQ(tcas().raKind, kRaDontDescend);
    EXPECT_EQ(bench.takeCallouts(), std::vector<SoundId>{kTcasAdjustVerticalSpeed});
}

struct ReversalCase {
    const char* name;
    double threatHeight;
    int32_t kind;
};

class TcasReversalTest : public TcasLogicTest, public testing::WithParamInterface<ReversalCase> {};

// Climbing at 1500 fpm under a climb advisory, with a threat below climbing faster that will be
// 230 ft above at the closest point in 10 s: increasing the climb cannot keep ALIM, a descent
// can, but it crosses the threat's altitude.
TEST_P(TcasReversalTest, AReversalCrossesNoThreatWithin300Ft) {
    const ReversalCase& row = GetParam();
    tcas().ownVerticalSpeed = 1500.0;
    threat(0, row.threatHeight, (230.0 - row.threatHeight) * 6.0, 10.0);
    advisoryUnderWay(kRaClimb, 0, 20.0);
    EXPECT_EQ(tcas().updateRa(threats, 20000), row.kind);
    EXPECT_TRUE(tcas().advisoryKinds[kRaDescend].crossing);
}

INSTANTIATE_TEST_SUITE_P(Reversals, TcasReversalTest,
                         testing::Values(ReversalCase{"ThreatWithin300Ft", -200.0,
                                                      kRaIncreaseClimb},
                                         ReversalCase{"ThreatBeyond300Ft", -400.0, kRaDescend}),
                         [](const auto& info) { return std::string(info.param.name); });

struct WeakeningCase {
    const char* name;
    double threatVerticalSpeed;
    int32_t kind;
};

class TcasWeakeningTest : public TcasLogicTest,
                          public testing::WithParamInterface<WeakeningCase> {};

// Climbing at 1500 fpm under a climb advisory, 500 ft above a threat 20 s away: against a level
// threat level flight keeps ALIM and the advisory weakens; against one climbing at 1500 fpm
// level flight meets it at the closest approach, so no preventive advisory will do.
TEST_P(TcasWeakeningTest, WeakensOnlyToAnAdvisoryWhoseLevelFlightKeepsAlim) {
    tcas().ownVerticalSpeed = 1500.0;
    threat(0, -500.0, GetParam().threatVerticalSpeed, 20.0);
    advisoryUnderWay(kRaClimb, 0, 800.0);
    EXPECT_EQ(tcas().updateRa(threats, 20000), GetParam().kind);
}

INSTANTIATE_TEST_SUITE_P(Threats, TcasWeakeningTest,
                         testing::Values(WeakeningCase{"Level", 0.0, kRaDontDescend},
                                         WeakeningCase{"ClimbingAfterUs", 1500.0, kRaClimb}),
                         [](const auto& info) { return std::string(info.param.name); });

struct NearGroundCase {
    const char* name;
    int32_t kind;
    double radioAltitude;
    int32_t result;
};

class TcasNearGroundTest : public TcasLogicTest,
                           public testing::WithParamInterface<NearGroundCase> {};

// At 1100 ft or below no change sends the aircraft down: a climb that cannot keep ALIM is not
// reversed, and a descent under way becomes do not climb at once.
TEST_P(TcasNearGroundTest, NoDescentIsAdvisedAt1100FtOrBelow) {
    const NearGroundCase& row = GetParam();
    tcas().ownRadioAltitude = row.radioAltitude;
    tcas().ownVerticalSpeed = 1500.0;
    threat(0, -400.0, (230.0 + 400.0) * 6.0, 10.0);
    advisoryUnderWay(row.kind, 0, 20.0);
    const int32_t result = tcas().updateRa(threats, row.kind == kRaClimb ? 20000 : 1000);
    EXPECT_EQ(result, row.result);
}

INSTANTIATE_TEST_SUITE_P(
    Heights, TcasNearGroundTest,
    testing::Values(NearGroundCase{"ReversalAbove1100Ft", kRaClimb, 1101.0, kRaDescend},
                    NearGroundCase{"NoReversalAt1050Ft", kRaClimb, 1050.0, kRaIncreaseClimb},
                    NearGroundCase{"DescentUnderWayAt1050Ft", kRaDescend, 1050.0, kRaDontClimb},
                    NearGroundCase{"DescentUnderWayAbove1100Ft", kRaDescend, 1101.0, kRaDescend}),
    [](const auto& info) { return std::string(info.param.name); });

// One threat 600 ft above and one 300 ft below, both level: the climb passes under the first
// and away from the second, crossing neither.
TEST_F(TcasLogicTest, CrossingComparesEachThreatWithItsOwnSeparation) {
    threat(0, 600.0, 0.0, 20.0);
    threat(1, -300.0, 0.0, 20.0);
    tcas().selectRaKind(threats, {kRaClimb}, 5.0);
    const TcasAdvisoryKind& climb = tcas().advisoryKinds[kRaClimb];
    EXPECT_NEAR(climb.minimumSeparation, 600.0 - 437.5, 0.5);
    EXPECT_FALSE(climb.crossing);
}

// A closest approach 2 s away, within the 5 s response: the own vertical speed has moved only
// 2/5 of the way to the climb's 1500 fpm, an average of 300 fpm.
TEST_F(TcasLogicTest, AClosestApproachWithinTheResponseDelayGetsPartOfTheChange) {
    threat(0, 100.0, 0.0, 2.0);
    tcas().selectRaKind(threats, {kRaClimb}, 5.0);
    EXPECT_NEAR(tcas().advisoryKinds[kRaClimb].minimumSeparation, 100.0 - 10.0, 1e-9);
}

struct IncreaseDescentCase {
    const char* name;
    double radioAltitude;
    double verticalSpeed;
    int32_t kind;
};

class TcasIncreaseDescentTest : public TcasLogicTest,
                                public testing::WithParamInterface<IncreaseDescentCase> {};

// A descend advisory that no longer keeps ALIM against a threat above descending after the
// own aircraft; increasing the descent would.
TEST_P(TcasIncreaseDescentTest, IncreaseDescentNeedsHeightAboveTheGround) {
    const IncreaseDescentCase& row = GetParam();
    tcas().ownRadioAltitude = row.radioAltitude;
    tcas().ownVerticalSpeed = row.verticalSpeed;
    threat(0, 200.0, -1200.0, 20.0);
    advisoryUnderWay(kRaDescend, 0, 300.0);
    EXPECT_EQ(tcas().updateRa(threats, 20000), row.kind);
}

INSTANTIATE_TEST_SUITE_P(
    Heights, TcasIncreaseDescentTest,
    testing::Values(IncreaseDescentCase{"DescendingBelow1450Ft", 1449.0, -100.0, kRaDescend},
                    IncreaseDescentCase{"DescendingAt1450Ft", 1450.0, -100.0, kRaIncreaseDescent},
                    IncreaseDescentCase{"LevelBelow1650Ft", 1649.0, 0.0, kRaDescend},
                    IncreaseDescentCase{"LevelAt1650Ft", 1650.0, 0.0, kRaIncreaseDescent}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Call-outs ----

struct FirstCalloutCase {
    int32_t kind;
    bool crossing;
    std::optional<SoundId> sound;
};

TEST_F(TcasLogicTest, CalloutOfANewAdvisory) {
    const FirstCalloutCase cases[] = {
        {kRaClimb, false, kTcasClimb},
        {kRaClimb, true, kTcasCrossingClimb},
        {kRaDescend, false, kTcasDescend},
        {kRaDescend, true, kTcasCrossingDescend},
        {kRaMaintainClimb, false, kTcasMaintainVerticalSpeed},
        {kRaMaintainDescent, true, kTcasMaintainVerticalSpeedCrossing},
        {kRaDontDescend, false, kTcasMonitorVerticalSpeed},
        {kRaDontClimb, true, kTcasMonitorVerticalSpeed},
        {kRaLevelOff, false, kTcasMonitorVerticalSpeed},
        {kRaIncreaseClimb, false, std::nullopt},
        {kRaDontDescend1000, false, std::nullopt},
    };
    for (const FirstCalloutCase& row : cases) {
        bench.silence();
        tcas().advisoryKinds[static_cast<std::size_t>(row.kind)].crossing = row.crossing;
        tcas().announceFirstRa(row.kind);
        const std::vector<SoundId> expected =
            row.sound ? std::vector<SoundId>{*row.sound} : std::vector<SoundId>{};
        EXPECT_EQ(bench.takeCallouts(), expected) << row.kind << (row.crossing ? " crossing" : "");
    }
}

struct ChangeCalloutCase {
    int32_t kind;
    int32_t previousKind;
    bool crossing;
    SoundId sound;
};

TEST_F(TcasLogicTest, CalloutOfAChangedAdvisory) {
    const ChangeCalloutCase cases[] = {
        {kRaLevelOff, kRaClimb, false, kTcasMonitorVerticalSpeed},
        {kRaClimb, kRaDescend, false, kTcasClimbNow},
        {kRaDontDescend, kRaDontClimb, false, kTcasClimbNow},
        {kRaDescend, kRaClimb, true, kTcasDescendNow},
        {kRaDontDescend, kRaClimb, false, kTcasAdjustVerticalSpeed},
        {kRaDontClimb500, kRaDescend, false, kTcasAdjustVerticalSpeed},
        {kRaClimb, kRaDontDescend, true, kTcasCrossingClimb},
        {kRaIncreaseClimb, kRaClimb, false, kTcasIncreaseClimb},
        {kRaIncreaseDescent, kRaDescend, false, kTcasIncreaseDescent},
        {kRaMaintainClimb, kRaLevelOff, false, kTcasMaintainVerticalSpeed},
        {kRaDescend, kRaLevelOff, false, kTcasDescend},
    };
    for (const ChangeCalloutCase& row : cases) {
        bench.silence();
        tcas().advisoryKinds[static_cast<std::size_t>(row.kind)].crossing = row.crossing;
        tcas().announceRaChange(row.kind, row.previousKind);
        EXPECT_EQ(bench.takeCallouts(), std::vector<SoundId>{row.sound})
            << row.previousKind << " -> " << row.kind;
    }
}

} // namespace
} // namespace tavi::test
