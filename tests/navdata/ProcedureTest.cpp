#include "navdata/NavDatabase.h"
#include "navdata/NavTestFixture.h"
#include "navdata/Runway.h"
#include "navdata/TerminalLeg.h"

#include <gtest/gtest.h>

namespace tavi {
namespace {

using test::Lines;
using Names = std::vector<std::string>;
using Type = TerminalLegType;

// What a leg query made of one leg.
struct LegSummary {
    int32_t proc;
    TerminalLegType type;
    int32_t fixId;
    int32_t turn;
    bool flyOver;
    std::string altitude;
    bool operator==(const LegSummary&) const = default;
};

std::ostream& operator<<(std::ostream& out, const LegSummary& leg) {
    return out << "{proc " << leg.proc << ", type " << static_cast<int>(leg.type) << ", fix "
               << leg.fixId << ", turn " << leg.turn << ", flyOver " << leg.flyOver << ", alt '"
               << leg.altitude << "'}";
}

std::vector<LegSummary> summary(const std::vector<TerminalLeg>& legs) {
    std::vector<LegSummary> result;
    for (const TerminalLeg& leg : legs) {
        result.push_back(
            {leg.proc, leg.legType, leg.fixId, leg.turnDirection, leg.flyOver, leg.altitude});
    }
    return result;
}

std::vector<int32_t> codes(const std::vector<TerminalLeg>& legs) {
    std::vector<int32_t> result;
    for (const TerminalLeg& leg : legs) {
        result.push_back(leg.proc);
    }
    return result;
}

class ProcedureTest : public test::NavDatabaseFixture {
protected:
    // Runway IDs of ZZAA.
    static constexpr int32_t k09L = 1;
    static constexpr int32_t k27R = 2;
    static constexpr int32_t k09R = 3;
    static constexpr int32_t k27L = 4;

    Runway runway(int32_t id) const {
        Runway result;
        database.getRunwayInfo(id, result);
        return result;
    }

    std::vector<TerminalLeg> sidLegs(const Runway& departure, const std::string& sid,
                                     const std::string& transition,
                                     const std::string& icao = "ZZAA") const {
        std::vector<TerminalLeg> legs(1);
        database.getSidLegs(icao, departure, sid, transition, legs);
        return legs;
    }

    std::vector<TerminalLeg> arrivalLegs(const Runway& arrival, const std::string& star,
                                         const std::string& starTransition,
                                         const std::string& approach, const std::string& fullName,
                                         const std::string& approachTransition) const {
        std::vector<TerminalLeg> legs(1);
        database.getStarIapLegs("ZZAA", arrival, star, starTransition, approach, fullName,
                                approachTransition, legs);
        return legs;
    }
};

TEST_F(ProcedureTest, SidsAndStarsOfTheAirportAndOfEachRunway) {
    connectToFixture();
    Names names(1);
    database.getSids("ZZAA", Runway(), names);
    EXPECT_EQ(names, (Names{"ALPHA1", "BRAVO1", "CHAR1", "DELT1", "DELT1"}));
    database.getStars("zzaa", Runway(), names);
    EXPECT_EQ(names, (Names{"ECHO1", "FOX1", "GOLF1", "GOLF1"}));

    const struct {
        int32_t runwayId;
        Names sids;
        Names stars;
    } cases[] = {
        {k09L, {"ALPHA1", "BRAVO1", "DELT1"}, {"FOX1", "GOLF1"}},
        {k09R, {"BRAVO1", "DELT1"}, {"FOX1", "GOLF1"}},
        {k27L, {"BRAVO1", "CHAR1"}, {"ECHO1", "FOX1"}},
        {k27R, {"ALPHA1", "BRAVO1"}, {"FOX1"}},
    };
    for (const auto& c : cases) {
        database.getSids("ZZAA", runway(c.runwayId), names);
        EXPECT_EQ(names, c.sids) << c.runwayId;
        database.getStars("ZZAA", runway(c.runwayId), names);
        EXPECT_EQ(names, c.stars) << c.runwayId;
    }
    database.getSids("ZZZZ", Runway(), names);
    EXPECT_TRUE(names.empty());
    EXPECT_TRUE(lines.empty());
}

TEST_F(ProcedureTest, TransitionListsAreSortedAndDistinct) {
    connectToFixture();
    Names names(1);
    database.getSidEnrouteTransitions("ZZAA", "ALPHA1", names);
    EXPECT_EQ(names, (Names{"ENRA", "ENRB"}));
    database.getSidEnrouteTransitions("ZZAB", "ALPHA1", names);
    EXPECT_TRUE(names.empty());
    database.getStarEnrouteTransitions("ZZAA", "ECHO1", names);
    EXPECT_EQ(names, Names{"TRA"});
    database.getIapTransitions("ZZAA", "I09L", "ILS 09L", names);
    EXPECT_EQ(names, Names{"P"});
    database.getIapTransitions("ZZAA", "I09L", "ILS 27R", names);
    EXPECT_TRUE(names.empty());
    EXPECT_TRUE(lines.empty());
}

TEST_F(ProcedureTest, StarRunwaysListEachRunwayOnce) {
    connectToFixture();
    const struct {
        const char* star;
        Names runways;
    } cases[] = {
        {"ECHO1", {"27L", "27R"}},
        {"GOLF1", {"09L", "09R"}},
        {"FOX1", {}},
        {"NONE1", {}},
    };
    for (const auto& c : cases) {
        Names runways(1);
        database.getStarRunways("ZZAA", c.star, runways);
        EXPECT_EQ(runways, c.runways) << c.star;
    }
    EXPECT_TRUE(lines.empty());
}

TEST_F(ProcedureTest, ApproachesAreListedWithTheRunwayTheyServe) {
    connectToFixture();
    std::vector<Runway> all;
    database.getAirportRunways("ZZAA", all);
    Names names(1);
    Names fullNames(1);
    std::vector<Runway> runways(1);
    database.getAirportIaps("ZZAA", all, names, fullNames, runways);
    EXPECT_EQ(names, (Names{"I09L", "NDBB", "R27R", "VORA"}));
    EXPECT_EQ(fullNames, (Names{"ILS 09L", "NDB-B", "RNAV 27R", "VOR-A"}));
    Names runwayIdents;
    for (const Runway& runway : runways) {
        runwayIdents.push_back(runway.ident);
        EXPECT_EQ(runway.aptIdent, "ZZAA");
    }
    EXPECT_EQ(runwayIdents, (Names{"RW09L", "RW27R", "RW27R", "RW27L"}));
    EXPECT_EQ(runways[0].id, k09L);

    const std::vector<Runway> offered = {runway(k09L), runway(k27L)};
    database.getAirportIaps("ZZAA", offered, names, fullNames, runways);
    EXPECT_EQ(names, (Names{"I09L", "VORA"}));
    EXPECT_EQ(runways.size(), 2u);
    database.getAirportIaps("ZZAA", {}, names, fullNames, runways);
    EXPECT_TRUE(names.empty());
    EXPECT_TRUE(fullNames.empty());
    EXPECT_TRUE(runways.empty());
    EXPECT_TRUE(lines.empty());
}

TEST_F(ProcedureTest, SidLegsRunFromTheRunwayTransitionToTheEnrouteTransition) {
    connectToFixture();
    const LegSummary runway09L[] = {{kProcSid, Type::VA, 0, kTurnNone, false, "1900"},
                                    {kProcSid, Type::DF, 1, kTurnLeft, false, ""}};
    const LegSummary common[] = {{kProcSid, Type::TF, 2, kTurnNone, false, ""},
                                 {kProcSid, Type::TF, 3, kTurnNone, false, "FL100"}};
    const LegSummary enrouteA = {kProcSid, Type::TF, 4, kTurnNone, false, ""};

    EXPECT_EQ(
        summary(sidLegs(runway(k09L), "ALPHA1", "ENRA")),
        (std::vector<LegSummary>{runway09L[0], runway09L[1], common[0], common[1], enrouteA}));
    const std::vector<TerminalLeg> toRunway27R = sidLegs(runway(k27R), "ALPHA1", "");
    EXPECT_EQ(toRunway27R.size(), 4u);
    EXPECT_EQ(toRunway27R[0].course, 270.0f);
    EXPECT_EQ(toRunway27R[1].turnDirection, kTurnRight);

    Runway noIdent = runway(k09L);
    noIdent.ident.clear();
    EXPECT_EQ(summary(sidLegs(noIdent, "ALPHA1", "ENRA")),
              (std::vector<LegSummary>{common[0], common[1], enrouteA}));
    EXPECT_TRUE(sidLegs(runway(k09L), "", "ENRA").empty());
    EXPECT_EQ(summary(sidLegs(Runway(), "ALPHA1", "", "ZZAB")),
              (std::vector<LegSummary>{{kProcSid, Type::TF, 10, kTurnNone, false, ""}}));
    EXPECT_TRUE(lines.empty());
}

TEST_F(ProcedureTest, ArrivalLegsCarryTheirProcedureCodes) {
    connectToFixture();
    const std::vector<TerminalLeg> legs =
        arrivalLegs(runway(k27L), "ECHO1", "TRA", "I09L", "ILS 09L", "P");
    EXPECT_EQ(summary(legs), (std::vector<LegSummary>{
                                 {kProcStar, Type::IF, 9, kTurnNone, false, "FL120"},
                                 {kProcStar, Type::TF, 4, kTurnNone, false, ""},
                                 {kProcStar, Type::TF, 3, kTurnNone, false, "8000"},
                                 {kProcStar, Type::TF, 16, kTurnNone, false, ""},
                                 {kProcApproachTransition, Type::IF, 1, kTurnNone, false, "5000"},
                                 {kProcApproachTransition, Type::TF, 15, kTurnNone, false, "4000"},
                                 {kProcApproach, Type::IF, 15, kTurnNone, false, "4000"},
                                 {kProcApproach, Type::CF, 15, kTurnLeft, false, "2400"},
                                 {kProcApproach, Type::CF, 17, kTurnRight, true, "MAP"},
                                 {kProcMissedApproach, Type::CA, 0, kTurnRight, false, "3000"},
                                 {kProcMissedApproach, Type::HM, 16, kTurnNone, true, "5000"},
                             }));

    const TerminalLeg& full = legs[7];
    EXPECT_EQ(full.fixLatitude, 47.0);
    EXPECT_EQ(full.fixLongitude, 7.85);
    EXPECT_EQ(full.navaidId, 1);
    EXPECT_EQ(full.navaidLatitude, 47.2);
    EXPECT_EQ(full.navaidLongitude, 8.3);
    EXPECT_EQ(full.navaidBearing, 250.5f);
    EXPECT_EQ(full.navaidDistance, 21.25f);
    EXPECT_EQ(full.course, 90.0f);
    EXPECT_EQ(full.distance, 5.5f);
    EXPECT_EQ(full.verticalAngle, -3.0f);
    EXPECT_FALSE(full.turnDirectionDone);
    EXPECT_EQ(legs[9].fixLatitude, 0.0);
    EXPECT_EQ(legs[9].legType, Type::CA);
    EXPECT_TRUE(lines.empty());
}

TEST_F(ProcedureTest, ArrivalPartsFollowTheNamesGiven) {
    connectToFixture();
    Runway idOnlyNot = runway(k27L);
    idOnlyNot.id = 0;
    EXPECT_EQ(codes(arrivalLegs(idOnlyNot, "ECHO1", "", "", "", "")),
              (std::vector<int32_t>{kProcStar, kProcStar}));
    EXPECT_EQ(codes(arrivalLegs(runway(k27R), "ECHO1", "", "", "", "")),
              (std::vector<int32_t>{kProcStar, kProcStar, kProcStar}));
    EXPECT_EQ(codes(arrivalLegs(Runway(), "", "TRA", "I09L", "ILS 09L", "")),
              (std::vector<int32_t>{kProcApproach, kProcApproach, kProcApproach,
                                    kProcMissedApproach, kProcMissedApproach}));
    EXPECT_EQ(codes(arrivalLegs(Runway(), "", "", "NDBB", "NDB-B", "")),
              (std::vector<int32_t>{kProcApproach, kProcApproach, kProcApproach}));
    EXPECT_TRUE(arrivalLegs(runway(k27L), "", "", "", "", "").empty());
    EXPECT_TRUE(lines.empty());
}

TEST_F(ProcedureTest, MissedApproachPointLeg) {
    connectToFixture();
    TerminalLeg leg;
    EXPECT_TRUE(database.getIapMapPoint("ZZAA", "I09L", "ILS 09L", leg));
    EXPECT_EQ(leg.proc, kProcApproach);
    EXPECT_EQ(leg.altitude, "MAP");
    EXPECT_EQ(leg.fixLongitude, 7.98);
    EXPECT_TRUE(leg.flyOver);

    TerminalLeg untouched;
    EXPECT_FALSE(database.getIapMapPoint("ZZAA", "NDBB", "NDB-B", untouched));
    EXPECT_EQ(untouched.fixLatitude, 0.0);
    EXPECT_EQ(untouched.legType, Type::TF);
    EXPECT_EQ(untouched.proc, kProcRoute);
    EXPECT_TRUE(lines.empty());
}

TEST_F(ProcedureTest, ANullTrackCodeRefusesTheProcedureWhole) {
    connectTo(test::relaxedNavSchema() + test::navRegion() +
              "UPDATE TerminalLegs SET TrackCode = NULL WHERE ID = 2;"
              "UPDATE Terminals SET Name = NULL WHERE ID = 7;");
    lines.clear();
    std::vector<TerminalLeg> legs(1);
    EXPECT_FALSE(database.getSidLegs("ZZAA", runway(k09L), "ALPHA1", "ENRA", legs));
    EXPECT_TRUE(legs.empty());
    Names names;
    database.getStars("ZZAA", Runway(), names);
    EXPECT_EQ(lines, (Lines{"getSidLegs", "the value is NULL", "getSids", "the value is NULL"}));
}

// A leg whose path or end cannot be read, or whose fix the database does not hold, would put a
// point where the procedure never goes: the whole procedure is refused, with the fault logged.
TEST_F(ProcedureTest, ADamagedLegRefusesItsProcedureWhole) {
    struct Case {
        const char* damage;
        bool arrival;
        Lines logged;
    };
    const std::string notHeld = "the fix 99 of a leg is not in the database";
    const std::string offTheEarth = "the position is not on the earth";
    const Case cases[] = {
        {"UPDATE TerminalLegs SET TrackCode = 'XF' WHERE ID = 4",
         false,
         {"getSidLegs", "unknown path code 'XF'"}},
        {"UPDATE TerminalLegs SET WptID = NULL, WptLat = NULL, WptLon = NULL WHERE ID = 4",
         false,
         {"getSidLegs", "a DF leg without its fix"}},
        {"UPDATE TerminalLegs SET TrackCode = 'CD' WHERE ID = 3",
         false,
         {"getSidLegs", "a CD leg without its navaid"}},
        {"UPDATE TerminalLegs SET WptLat = 1e999 WHERE ID = 7", false, {"getSidLegs", offTheEarth}},
        {"UPDATE TerminalLegs SET WptLon = NULL WHERE ID = 1",
         false,
         {"getSidLegs", "the value is NULL"}},
        {"UPDATE TerminalLegs SET WptID = 99 WHERE ID = 1", false, {"getSidLegs", notHeld}},
        {"UPDATE Waypoints SET Latitude = 'nan' WHERE ID = 2",
         false,
         {"getWaypointInfo", offTheEarth, "getSidLegs",
          "the fix 2 of a leg is not in the database"}},
        {"UPDATE TerminalLegs SET WptID = 99 WHERE ID = 27", true, {"getStarIapLegs", notHeld}},
        {"UPDATE TerminalLegs SET TrackCode = 'Q' WHERE ID = 30",
         true,
         {"getStarIapLegs", "unknown path code 'Q'"}},
    };
    for (const Case& c : cases) {
        connectTo(test::relaxedNavSchema() + test::navRegion() + c.damage + ";");
        lines.clear();
        std::vector<TerminalLeg> legs(1);
        const bool read = c.arrival
                              ? database.getStarIapLegs("ZZAA", runway(k09L), "GOLF1", "", "I09L",
                                                        "ILS 09L", "P", legs)
                              : database.getSidLegs("ZZAA", runway(k09L), "ALPHA1", "ENRA", legs);
        EXPECT_FALSE(read) << c.damage;
        EXPECT_TRUE(legs.empty()) << c.damage;
        EXPECT_EQ(lines, c.logged) << c.damage;
    }
}

TEST_F(ProcedureTest, QueriesOnAClosedDatabaseLogTheirLabels) {
    database.connect(loaders);
    lines.clear();
    Names names;
    std::vector<Runway> runways;
    std::vector<TerminalLeg> legs;
    TerminalLeg leg;
    database.getSids("ZZAA", Runway(), names);
    database.getStarRunways("ZZAA", "ECHO1", names);
    database.getSidEnrouteTransitions("ZZAA", "ALPHA1", names);
    database.getAirportIaps("ZZAA", runways, names, names, runways);
    database.getStarIapLegs("ZZAA", Runway(), "ECHO1", "", "I09L", "ILS 09L", "", legs);
    database.getIapMapPoint("ZZAA", "I09L", "ILS 09L", leg);
    const std::string closed = "the database is not open";
    EXPECT_EQ(lines, (Lines{"getSids", closed, "getStarRunways", closed, "getSidEnrouteTransitions",
                            closed, "getAirportRunways", closed, "getAirportIaps", closed,
                            "getStarIapLegs", closed, "getIapMapPoint", closed}));
}

TEST_F(ProcedureTest, AProcedureStoredPerRunwayGivesTheLegsOfTheRunwayAsked) {
    connectToFixture();
    const auto fixes = [](const std::vector<TerminalLeg>& legs) {
        std::vector<int32_t> result;
        for (const TerminalLeg& leg : legs) {
            result.push_back(leg.fixId);
        }
        return result;
    };
    EXPECT_EQ(fixes(sidLegs(runway(k09L), "DELT1", "")), std::vector<int32_t>{1});
    EXPECT_EQ(fixes(sidLegs(runway(k09R), "DELT1", "")), std::vector<int32_t>{2});
    // Without a runway the first row is flown, never both.
    EXPECT_EQ(fixes(sidLegs(Runway(), "DELT1", "")), std::vector<int32_t>{1});
    EXPECT_EQ(fixes(arrivalLegs(runway(k09L), "GOLF1", "", "", "", "")),
              (std::vector<int32_t>{1, 15}));
    EXPECT_EQ(fixes(arrivalLegs(runway(k09R), "GOLF1", "", "", "", "")), std::vector<int32_t>{1});
    // A procedure tied to another runway is still flown when no row serves the one asked.
    EXPECT_EQ(fixes(arrivalLegs(runway(k27R), "ECHO1", "", "", "", "")),
              (std::vector<int32_t>{4, 3, 16}));
    EXPECT_TRUE(lines.empty());
}

TEST_F(ProcedureTest, ASecondAirportRowWithTheSameCodeDoublesNothing) {
    connectTo(test::navSchema() + test::navRegion() +
              "INSERT INTO Airports (ID, ICAO, PrimaryID, Latitude, Longtitude, Elevation) "
              "VALUES (11, 'ZZAA', NULL, 47.0, 8.0, 1410);");
    lines.clear();
    Names names;
    database.getSids("ZZAA", Runway(), names);
    EXPECT_EQ(names, (Names{"ALPHA1", "BRAVO1", "CHAR1", "DELT1", "DELT1"}));
    database.getSids("ZZAA", runway(k09L), names);
    EXPECT_EQ(names, (Names{"ALPHA1", "BRAVO1", "DELT1"}));
    database.getStarRunways("ZZAA", "GOLF1", names);
    EXPECT_EQ(names, (Names{"09L", "09R"}));
    std::vector<Runway> all;
    database.getAirportRunways("ZZAA", all);
    Names fullNames;
    std::vector<Runway> runways;
    database.getAirportIaps("ZZAA", all, names, fullNames, runways);
    EXPECT_EQ(names, (Names{"I09L", "NDBB", "R27R", "VORA"}));
    EXPECT_EQ(sidLegs(runway(k09L), "ALPHA1", "ENRA").size(), 5u);
    EXPECT_TRUE(lines.empty());
}

TEST_F(ProcedureTest, TheMissedApproachPointMatchesWithoutRegardToCase) {
    connectTo(test::navSchema() + test::navRegion() +
              "UPDATE TerminalLegs SET Alt = 'map' WHERE ID = 28;");
    lines.clear();
    TerminalLeg leg;
    EXPECT_TRUE(database.getIapMapPoint("ZZAA", "I09L", "ILS 09L", leg));
    EXPECT_EQ(leg.fixId, 17);
    EXPECT_EQ(codes(arrivalLegs(Runway(), "", "", "I09L", "ILS 09L", "")),
              (std::vector<int32_t>{kProcApproach, kProcApproach, kProcApproach,
                                    kProcMissedApproach, kProcMissedApproach}));
}

} // namespace
} // namespace tavi
