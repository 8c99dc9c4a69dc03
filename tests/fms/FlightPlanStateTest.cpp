#include "FlightPlanTestSupport.h"
#include "core/Fs9Reader.h"
#include "fms/FlightPlan.h"
#include "platform/profile/Profile.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <sstream>

namespace tavi::test {
namespace {

namespace profile = platform::profile;

constexpr char kSection[] = "FMC";
constexpr char kPrefix[] = "activeFpl.fpl.0";

FlightPlanLeg filledLeg(int seed) {
    FlightPlanLeg leg = legFromWord(seed == 1 ? "P" : "Q");
    leg.distance = 12.5 * seed;
    leg.eta = 3600.25 + seed;
    leg.course = 271.125;
    leg.speed = 233.0 + seed;
    leg.legTime = 191.0;
    leg.reserved = 4.5;
    leg.fuelUsed = 88.25f;
    leg.reservedFlag = true;
    leg.cruiseLeg = true;
    leg.segmentIndex = 3;
    leg.startKind = kStartDirectTo;
    leg.windDirection = 250;
    leg.windSpeed = 35;
    leg.manualTermination = true;
    leg.vnav = {250,  0.72f, 3.25f, 11000, 13000,        10500, -1200, kAltitudeWindow,
                true, true,  true,  7,     kPhaseDescent};
    // A via that ends in a blank, as a procedure's name may, reads back with its blank.
    leg.via = seed == 1 ? "UL612" : "VORA ";
    leg.src = fix("S");
    leg.src.ident = "DIRECT";
    leg.holding.defaultSpeed = 210;
    leg.holding.legTimeMin = 1.5;
    leg.holding.inboundCourse = 123.0;
    leg.holding.rightTurns = 0;
    leg.holding.atPresentPosition = 1;
    leg.holding.spareFlags = {1, 2, 3};
    leg.holding.entered = 1;
    leg.holding.entryKind = HoldEntry::Parallel;
    leg.holding.cornerLongitudes[3] = 8.25;
    leg.holding.farTurnCentre[1] = -1.5;
    leg.holding.holdPhase = 2;
    leg.holding.enteredTime = 123456;
    leg.holding.spare = 9;
    leg.orbit = {220, 4.5, true, true, true, 11};
    leg.pcdrTurn.outboundTime = 2.0;
    leg.pcdrTurn.turnLeft = 1;
    leg.pcdrTurn.timeMode = 0;
    leg.pcdrTurn.pointLatitudes[2] = 47.5;
    leg.pcdrTurn.turnBackLongitude = 8.75;
    leg.pcdrTurn.turnType = 2;
    leg.pcdrTurn.procedureTurnPhase = 3;
    leg.pcdrTurn.turnAngle = -45;
    leg.trmLeg.proc = kProcApproach;
    leg.trmLeg.legType = TerminalLegType::CF;
    leg.trmLeg.course = 93.5f;
    leg.trmLeg.altitude = "MAP";
    leg.tfd = {61.0f, 120.5f, 7300.0f, 12.5f};
    leg.temperature = 11;
    leg.temperatureAltitude = 9000;
    leg.path.resize(2);
    leg.markers.resize(1);
    return leg;
}

FlightPlan filledPlan() {
    FlightPlan plan = planFrom("");
    plan.legs = {filledLeg(1), filledLeg(2)};
    plan.gspd = 420;
    plan.activeLeg = 1;
    plan.routeEndLeg = 1;
    plan.descentEndLeg = 1;
    plan.totalDistance = 512.5;
    plan.distanceFlown = 37.5;
    plan.timeToGo = 4321.0;
    plan.takeoffEndFuel = 3100.5f;
    plan.predictedEndFuel = 2900.25f;
    plan.fuelUsed = 410.0f;
    plan.reserved = 77;
    plan.recalculated = true;
    plan.routeEndFound = true;
    plan.descentEndFound = true;
    plan.locked = true;
    plan.nextFixOffset = 2;
    plan.orgRwy.ident = "RW09";
    plan.orgRwy.length = 9000;
    plan.destRwy.ident = "RW27";
    plan.destIls.ident = "IZZZ";
    plan.destIls.localizerCourse = 268.0;
    plan.setName("TEST");
    plan.orbit.radius = 2.5;
    plan.pcdrTurn.passed = 1;
    plan.pcdrTurn.speed = 170.0;
    return plan;
}

void expectSameLeg(const FlightPlanLeg& loaded, const FlightPlanLeg& saved) {
    EXPECT_EQ(loaded.distance, saved.distance);
    EXPECT_EQ(loaded.eta, saved.eta);
    EXPECT_EQ(loaded.course, saved.course);
    EXPECT_EQ(loaded.speed, saved.speed);
    EXPECT_EQ(loaded.legTime, saved.legTime);
    EXPECT_EQ(loaded.reserved, saved.reserved);
    EXPECT_EQ(loaded.fuelUsed, saved.fuelUsed);
    EXPECT_EQ(loaded.reservedFlag, saved.reservedFlag);
    EXPECT_EQ(loaded.cruiseLeg, saved.cruiseLeg);
    EXPECT_EQ(loaded.segmentIndex, saved.segmentIndex);
    EXPECT_EQ(loaded.startKind, saved.startKind);
    EXPECT_EQ(loaded.windDirection, saved.windDirection);
    EXPECT_EQ(loaded.windSpeed, saved.windSpeed);
    EXPECT_EQ(loaded.manualTermination, saved.manualTermination);
    EXPECT_EQ(loaded.vnav.speed, saved.vnav.speed);
    EXPECT_EQ(loaded.vnav.mach, saved.vnav.mach);
    EXPECT_EQ(loaded.vnav.pathAngle, saved.vnav.pathAngle);
    EXPECT_EQ(loaded.vnav.altitude, saved.vnav.altitude);
    EXPECT_EQ(loaded.vnav.altitude2, saved.vnav.altitude2);
    EXPECT_EQ(loaded.vnav.predictedAltitude, saved.vnav.predictedAltitude);
    EXPECT_EQ(loaded.vnav.verticalSpeed, saved.vnav.verticalSpeed);
    EXPECT_EQ(loaded.vnav.kind, saved.vnav.kind);
    EXPECT_EQ(loaded.vnav.hasAltitude, saved.vnav.hasAltitude);
    EXPECT_EQ(loaded.vnav.hasSpeed, saved.vnav.hasSpeed);
    EXPECT_EQ(loaded.vnav.pathAngleEntered, saved.vnav.pathAngleEntered);
    EXPECT_EQ(loaded.vnav.reserved, saved.vnav.reserved);
    EXPECT_EQ(loaded.vnav.phase, saved.vnav.phase);
    EXPECT_EQ(loaded.via, saved.via);
    EXPECT_EQ(loaded.wpt.ident, saved.wpt.ident);
    EXPECT_EQ(loaded.wpt.longitude, saved.wpt.longitude);
    EXPECT_EQ(loaded.src.ident, saved.src.ident);
    EXPECT_EQ(loaded.src.kind, saved.src.kind);
    EXPECT_EQ(loaded.holding.defaultSpeed, saved.holding.defaultSpeed);
    EXPECT_EQ(loaded.holding.legTimeMin, saved.holding.legTimeMin);
    EXPECT_EQ(loaded.holding.inboundCourse, saved.holding.inboundCourse);
    EXPECT_EQ(loaded.holding.rightTurns, saved.holding.rightTurns);
    EXPECT_EQ(loaded.holding.atPresentPosition, saved.holding.atPresentPosition);
    EXPECT_EQ(loaded.holding.spareFlags, saved.holding.spareFlags);
    EXPECT_EQ(loaded.holding.entered, saved.holding.entered);
    EXPECT_EQ(loaded.holding.entryKind, saved.holding.entryKind);
    EXPECT_EQ(loaded.holding.cornerLongitudes, saved.holding.cornerLongitudes);
    EXPECT_EQ(loaded.holding.farTurnCentre, saved.holding.farTurnCentre);
    EXPECT_EQ(loaded.holding.holdPhase, saved.holding.holdPhase);
    EXPECT_EQ(loaded.holding.enteredTime, saved.holding.enteredTime);
    EXPECT_EQ(loaded.holding.spare, saved.holding.spare);
    EXPECT_EQ(loaded.orbit.speed, saved.orbit.speed);
    EXPECT_EQ(loaded.orbit.radius, saved.orbit.radius);
    EXPECT_EQ(loaded.orbit.rightTurns, saved.orbit.rightTurns);
    EXPECT_EQ(loaded.orbit.entered, saved.orbit.entered);
    EXPECT_EQ(loaded.orbit.active, saved.orbit.active);
    EXPECT_EQ(loaded.orbit.reserved, saved.orbit.reserved);
    EXPECT_EQ(loaded.pcdrTurn.outboundTime, saved.pcdrTurn.outboundTime);
    EXPECT_EQ(loaded.pcdrTurn.turnLeft, saved.pcdrTurn.turnLeft);
    EXPECT_EQ(loaded.pcdrTurn.timeMode, saved.pcdrTurn.timeMode);
    EXPECT_EQ(loaded.pcdrTurn.pointLatitudes, saved.pcdrTurn.pointLatitudes);
    EXPECT_EQ(loaded.pcdrTurn.turnBackLongitude, saved.pcdrTurn.turnBackLongitude);
    EXPECT_EQ(loaded.pcdrTurn.turnType, saved.pcdrTurn.turnType);
    EXPECT_EQ(loaded.pcdrTurn.procedureTurnPhase, saved.pcdrTurn.procedureTurnPhase);
    EXPECT_EQ(loaded.pcdrTurn.turnAngle, saved.pcdrTurn.turnAngle);
    EXPECT_EQ(loaded.trmLeg.proc, saved.trmLeg.proc);
    EXPECT_EQ(loaded.trmLeg.legType, saved.trmLeg.legType);
    EXPECT_EQ(loaded.trmLeg.course, saved.trmLeg.course);
    EXPECT_EQ(loaded.trmLeg.altitude, saved.trmLeg.altitude);
    EXPECT_EQ(loaded.tfd.time, saved.tfd.time);
    EXPECT_EQ(loaded.tfd.fuel, saved.tfd.fuel);
    EXPECT_EQ(loaded.tfd.fuelRemaining, saved.tfd.fuelRemaining);
    EXPECT_EQ(loaded.tfd.distance, saved.tfd.distance);
}

// The keys of the section in file order.
std::vector<std::string> keysOf(const std::string& text) {
    std::vector<std::string> keys;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos) {
            keys.push_back(line.substr(0, equals));
        }
    }
    return keys;
}

class FlightPlanStateTest : public testing::Test {
protected:
    FlightPlanStateTest() { file.path = (folder / "state.flt").string(); }

    std::string value(const std::string& key) const {
        return profile::lookup(file.path, kSection, key).value_or("<missing>");
    }

    TempFolder folder;
    StateFile file;
    Fs9Reader reader;
};

TEST_F(FlightPlanStateTest, PlanAndLegsComeBackAsSaved) {
    const FlightPlan saved = filledPlan();
    ASSERT_TRUE(saved.save(reader, file, kSection, kPrefix));

    FlightPlan loaded = planFrom("X Y Z");
    loaded.load(reader, file, kSection, kPrefix);
    EXPECT_EQ(loaded.gspd, 420u);
    EXPECT_EQ(loaded.activeLeg, 1u);
    EXPECT_EQ(loaded.routeEndLeg, 1u);
    EXPECT_EQ(loaded.descentEndLeg, 1u);
    EXPECT_EQ(loaded.totalDistance, 512.5);
    EXPECT_EQ(loaded.distanceFlown, 37.5);
    EXPECT_EQ(loaded.timeToGo, 4321.0);
    EXPECT_EQ(loaded.takeoffEndFuel, 3100.5f);
    EXPECT_EQ(loaded.predictedEndFuel, 2900.25f);
    EXPECT_EQ(loaded.fuelUsed, 410.0f);
    EXPECT_EQ(loaded.reserved, 77u);
    EXPECT_TRUE(loaded.recalculated);
    EXPECT_TRUE(loaded.routeEndFound);
    EXPECT_TRUE(loaded.descentEndFound);
    EXPECT_TRUE(loaded.locked);
    EXPECT_EQ(loaded.nextFixOffset, 2);
    EXPECT_EQ(loaded.org.ident, "KAAA");
    EXPECT_EQ(loaded.dest.ident, "KZZZ");
    EXPECT_EQ(loaded.dest.longitude, 5.0);
    EXPECT_EQ(loaded.orgRwy.length, 9000);
    EXPECT_EQ(loaded.destRwy.ident, "RW27");
    EXPECT_EQ(loaded.destIls.localizerCourse, 268.0);
    EXPECT_EQ(loaded.name(), "TEST");
    EXPECT_EQ(loaded.orbit.radius, 2.5);
    EXPECT_EQ(loaded.pcdrTurn.passed, 1);
    EXPECT_EQ(loaded.pcdrTurn.speed, 170.0);
    ASSERT_EQ(loaded.legCount(), 2u) << "the stored legs replace the plan's";
    expectSameLeg(loaded.legs[0], saved.legs[0]);
    expectSameLeg(loaded.legs[1], saved.legs[1]);
}

TEST_F(FlightPlanStateTest, LegReadBackWaitsForTheRecalculation) {
    ASSERT_TRUE(filledPlan().save(reader, file, kSection, kPrefix));
    FlightPlan loaded;
    loaded.load(reader, file, kSection, kPrefix);
    ASSERT_EQ(loaded.legCount(), 2u);
    EXPECT_EQ(loaded.legs[0].temperature, -100);
    EXPECT_EQ(loaded.legs[0].temperatureAltitude, -1);
    EXPECT_TRUE(loaded.legs[0].path.empty());
    EXPECT_TRUE(loaded.legs[0].markers.empty());
}

TEST_F(FlightPlanStateTest, KeysAreWrittenInTheirOrder) {
    FlightPlan plan = planFrom("P");
    ASSERT_TRUE(plan.save(reader, file, kSection, "p"));
    const std::vector<std::string> keys = keysOf(TempFolder::read(file.path));
    const std::vector<std::string> expected = {"p.data",
                                               "p.org.data",
                                               "p.org.ident",
                                               "p.org.aptIdent",
                                               "p.org.channel",
                                               "p.org.strType",
                                               "p.dest.data",
                                               "p.dest.ident",
                                               "p.dest.aptIdent",
                                               "p.dest.channel",
                                               "p.dest.strType",
                                               "p.orgRwy.data",
                                               "p.orgRwy.ident",
                                               "p.orgRwy.aptIdent",
                                               "p.orgRwy.channel",
                                               "p.orgRwy.strType",
                                               "p.orgRwy.rwData",
                                               "p.destRwy.data",
                                               "p.destRwy.ident",
                                               "p.destRwy.aptIdent",
                                               "p.destRwy.channel",
                                               "p.destRwy.strType",
                                               "p.destRwy.rwData",
                                               "p.destIls.data",
                                               "p.destIls.ident",
                                               "p.destIls.aptIdent",
                                               "p.destIls.channel",
                                               "p.destIls.strType",
                                               "p.destIls.category",
                                               "p.destIls.crs",
                                               "p.destIls.hasDme",
                                               "p.name",
                                               "p.orbit",
                                               "p.pcdrTurn",
                                               "p.legs.count",
                                               "p.legs.0.data",
                                               "p.legs.0.vnav",
                                               "p.legs.0.via",
                                               "p.legs.0.wpt.data",
                                               "p.legs.0.wpt.ident",
                                               "p.legs.0.wpt.aptIdent",
                                               "p.legs.0.wpt.channel",
                                               "p.legs.0.wpt.strType",
                                               "p.legs.0.src.data",
                                               "p.legs.0.src.ident",
                                               "p.legs.0.src.aptIdent",
                                               "p.legs.0.src.channel",
                                               "p.legs.0.src.strType",
                                               "p.legs.0.holding",
                                               "p.legs.0.orbit",
                                               "p.legs.0.pcdrTurn",
                                               "p.legs.0.trmLeg.data",
                                               "p.legs.0.trmLeg.alt",
                                               "p.legs.0.tfd"};
    EXPECT_EQ(keys, expected);
}

TEST_F(FlightPlanStateTest, BlobsHoldTheirFieldsAtTheStoredOffsets) {
    const FlightPlan plan = filledPlan();
    ASSERT_TRUE(plan.save(reader, file, kSection, "p"));
    const std::string planBlob = value("p.data");
    ASSERT_EQ(planBlob.size(), 144u);
    EXPECT_EQ(planBlob.substr(0, 16), "0000000000000000") << "bytes 0-7 hold nothing";
    EXPECT_EQ(planBlob.substr(16, 8), "A4010000") << "gspd 420 at 8";
    EXPECT_EQ(planBlob.substr(128, 8), "01010101") << "the four flags at 64";
    EXPECT_EQ(planBlob.substr(136, 8), "02000000") << "nextFixOffset at 68";

    const std::string legBlob = value("p.legs.0.data");
    ASSERT_EQ(legBlob.size(), 168u);
    EXPECT_EQ(legBlob.substr(136, 8), "01000000") << "startKind at 68";
    EXPECT_EQ(legBlob.substr(160, 2), "01") << "manualTermination at 80";
    EXPECT_EQ(value("p.legs.0.vnav").substr(80, 8), "02000000") << "phase at 40";
    EXPECT_EQ(value("p.legs.0.holding").size(), 432u);
    EXPECT_EQ(value("p.legs.0.holding").substr(400, 8), "02000000") << "holdPhase at 200";
    EXPECT_EQ(value("p.legs.0.pcdrTurn").size(), 336u);
    EXPECT_EQ(value("p.legs.0.pcdrTurn").substr(320, 8), "D3FFFFFF") << "turnAngle at 160";
    EXPECT_EQ(value("p.legs.0.orbit"), "DC00000000000000000000000000124001010100"
                                       "0B000000");
    EXPECT_EQ(value("p.legs.0.tfd").size(), 32u);
    EXPECT_EQ(value("p.legs.count"), "2");
}

TEST_F(FlightPlanStateTest, PlanWithoutLegsStoresACountOfZero) {
    FlightPlan plan = planFrom("");
    ASSERT_TRUE(plan.save(reader, file, kSection, "p"));
    EXPECT_EQ(value("p.legs.count"), "0");
    EXPECT_EQ(value("p.legs.0.data"), "<missing>");
    FlightPlan loaded = planFrom("X Y");
    loaded.load(reader, file, kSection, "p");
    EXPECT_EQ(loaded.legCount(), 0u);
}

TEST_F(FlightPlanStateTest, APlanWithoutItsKeysIsRefusedAndStaysAsItWas) {
    folder.write("state.flt", "[FMC]\np.name=KEPT\n");
    FlightPlan plan = planFrom("X Y");
    plan.gspd = 280;
    plan.distanceFlown = 12.0;
    const std::string name = plan.name();
    EXPECT_FALSE(plan.load(reader, file, kSection, "p"));
    EXPECT_EQ(plan.gspd, 280u);
    EXPECT_EQ(plan.distanceFlown, 12.0);
    EXPECT_EQ(plan.name(), name);
    EXPECT_EQ(plan.legCount(), 2u);
}

TEST_F(FlightPlanStateTest, ACountBeyondTheStoredLegsRefusesThePlanWhole) {
    FlightPlan plan = filledPlan();
    ASSERT_TRUE(plan.save(reader, file, kSection, "p"));
    FlightPlan loaded;
    ASSERT_TRUE(loaded.load(reader, file, kSection, "p"));
    EXPECT_EQ(loaded.legCount(), 2u);
    ASSERT_TRUE(profile::write(file.path, kSection, "p.legs.count", "2000000000"));
    FlightPlan refused;
    EXPECT_FALSE(refused.load(reader, file, kSection, "p"));
    EXPECT_EQ(refused.legCount(), 0u);
}

TEST_F(FlightPlanStateTest, StoredIndexesStayWithinTheLegs) {
    FlightPlan plan = filledPlan();
    plan.activeLeg = 7;
    plan.routeEndLeg = 9;
    plan.descentEndLeg = 8;
    ASSERT_TRUE(plan.save(reader, file, kSection, "p"));
    FlightPlan loaded;
    loaded.load(reader, file, kSection, "p");
    EXPECT_EQ(loaded.activeLeg, 2u);
    EXPECT_EQ(loaded.routeEndLeg, 1u);
    EXPECT_EQ(loaded.descentEndLeg, 1u);
}

} // namespace
} // namespace tavi::test
