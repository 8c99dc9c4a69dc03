// The geometry both navigation databases must hold for the module to fly them: runways along
// their headings, localizers on their runways' centrelines, and procedure legs whose fixes, as
// the module resolves them, stand where the legs say and end approaches on their runways.
#include "navdata/GcNav.h"
#include "navdata/Ils.h"
#include "navdata/NavDatabase.h"
#include "navdata/NavTestFixture.h"
#include "navdata/Runway.h"
#include "navdata/TerminalLeg.h"
#include "navdata/Waypoint.h"

#include <cmath>
#include <gtest/gtest.h>

namespace tavi {
namespace {

using platform::db::RecordSet;

constexpr double kFeetPerNm = 6076.12;
constexpr double kHeadingToleranceDegrees = 0.5;
constexpr double kBeamToleranceFeet = 30.0;
constexpr double kSamePlaceNm = 0.01;

double angleBetween(double a, double b) {
    return std::fabs(std::remainder(a - b, 360.0));
}

struct NavDataCase {
    const char* name;
    std::filesystem::path region;
};

std::ostream& operator<<(std::ostream& out, const NavDataCase& c) {
    return out << c.name;
}

class NavDataGeometryTest : public test::NavDatabaseFixture,
                            public testing::WithParamInterface<NavDataCase> {
protected:
    NavDataGeometryTest() {
        connectTo(test::navSchema() + test::readText(GetParam().region));
        rows.open(databaseFile());
    }

    // Every integer of the first column the query answers.
    std::vector<int32_t> ids(std::string_view sql) const {
        std::vector<int32_t> found;
        for (RecordSet row = rows.execute(sql); !row.eof(); row.moveNext()) {
            found.push_back(row.field("ID").toInt32());
        }
        return found;
    }

    Runway runway(int32_t id) const {
        Runway found;
        database.getRunwayInfo(id, found);
        return found;
    }

    platform::db::Connection rows;
};

// The other end of a runway: the designator's number 18 apart, L and R swapped.
std::string reciprocal(const std::string& designator) {
    const int number = std::stoi(designator.substr(0, 2));
    std::string other = std::to_string(number > 18 ? number - 18 : number + 18);
    other.insert(0, 2 - other.size(), '0');
    if (designator.size() > 2) {
        const char side = designator[2];
        other += side == 'L' ? 'R' : side == 'R' ? 'L' : side;
    }
    return other;
}

TEST_P(NavDataGeometryTest, RunwaysPointFromTheirThresholdsToTheirOtherEnds) {
    int pairs = 0;
    for (const int32_t id : ids("SELECT ID FROM Runways ORDER BY ID")) {
        const Runway from = runway(id);
        Runway to;
        database.getRunwayInfoByIdent(from.aptIdent, reciprocal(from.runwayDesignator()), to);
        if (to.id == 0) {
            continue;
        }
        ++pairs;
        const double course =
            GcNav::courseBetween(from.latitude, from.longitude, to.latitude, to.longitude);
        EXPECT_LT(angleBetween(course, from.trueHeading), kHeadingToleranceDegrees)
            << from.aptIdent << " " << from.ident << ": heading " << from.trueHeading << ", ends "
            << course;
    }
    EXPECT_GT(pairs, 0);
}

TEST_P(NavDataGeometryTest, LocalizersLieOnTheirRunwaysCentrelines) {
    const std::vector<int32_t> runways =
        ids("SELECT RunwayID AS ID FROM ILSes WHERE RunwayID IS NOT NULL");
    ASSERT_FALSE(runways.empty());
    for (const int32_t id : runways) {
        const Runway served = runway(id);
        Ils ils;
        database.getIlsInfoForRunway(id, ils);
        EXPECT_LT(angleBetween(ils.localizerCourse, served.trueHeading), kHeadingToleranceDegrees)
            << ils.ident;
        // The beam, flown inbound on the course, passes over the threshold.
        double latitude = 0.0;
        double longitude = 0.0;
        GcNav(ils.latitude, ils.longitude)
            .destination(ils.localizerCourse + 180.0, 1.0, latitude, longitude);
        double crossTrack = 0.0;
        double alongTrack = 0.0;
        GcNav::crossTrackBetween(ils.latitude, ils.longitude, latitude, longitude, served.latitude,
                                 served.longitude, crossTrack, alongTrack);
        EXPECT_LT(std::fabs(crossTrack) * kFeetPerNm, kBeamToleranceFeet)
            << ils.ident << " passes " << crossTrack * kFeetPerNm << " ft beside " << served.ident;
        EXPECT_GT(alongTrack, 0.0) << ils.ident << " stands beyond the runway's far end";
    }
}

TEST_P(NavDataGeometryTest, EveryLegFixStandsWhereItsLegPlacesIt) {
    const std::vector<int32_t> legs = ids("SELECT ID FROM TerminalLegs WHERE WptID IS NOT NULL");
    ASSERT_FALSE(legs.empty());
    for (const int32_t leg : legs) {
        RecordSet row = rows.execute("SELECT WptID, WptLat, WptLon FROM TerminalLegs WHERE ID = ?",
                                     {platform::db::Param::integer(leg)});
        Waypoint fix;
        database.getWaypointInfo(row.field("WptID").toInt32(), fix);
        EXPECT_LT(GcNav::distanceBetween(fix.latitude, fix.longitude,
                                         row.field("WptLat").toDouble(),
                                         row.field("WptLon").toDouble()),
                  kSamePlaceNm)
            << "leg " << leg << " names " << fix.ident;
    }
}

// An approach tied to a runway, by its row or by the designator in its full name, ends at that
// runway's threshold; circling approaches serve no runway of their own.
TEST_P(NavDataGeometryTest, ApproachesEndOnTheirRunways) {
    int ended = 0;
    for (const int32_t id : ids("SELECT ID FROM Terminals WHERE Proc = 3 ORDER BY ID")) {
        RecordSet row =
            rows.execute("SELECT ICAO, Name, FullName, RwyID FROM Terminals WHERE ID = ?",
                         {platform::db::Param::integer(id)});
        const std::string icao = row.field("ICAO").toText();
        const std::string name = row.field("Name").toText();
        const std::string fullName = row.field("FullName").toText();
        Runway served;
        if (!row.field("RwyID").isNull()) {
            served = runway(row.field("RwyID").toInt32());
        } else {
            std::vector<Runway> runways;
            database.getAirportRunways(icao, runways);
            for (const Runway& candidate : runways) {
                if (fullName.find(candidate.runwayDesignator()) != std::string::npos) {
                    served = candidate;
                }
            }
        }
        if (served.id == 0) {
            continue;
        }
        TerminalLeg missedApproachPoint;
        ASSERT_TRUE(database.getIapMapPoint(icao, name, fullName, missedApproachPoint)) << name;
        Waypoint fix;
        database.getWaypointInfo(missedApproachPoint.fixId, fix);
        EXPECT_LT(
            GcNav::distanceBetween(fix.latitude, fix.longitude, served.latitude, served.longitude),
            kSamePlaceNm)
            << icao << " " << fullName << " ends at " << fix.ident << ", not at " << served.ident;
        ++ended;
    }
    EXPECT_GT(ended, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Databases, NavDataGeometryTest,
    testing::Values(NavDataCase{"shipped", test::kFixtures / "../../data/nd/region.sql"},
                    NavDataCase{"fixture", test::kFixtures / "navdb/region.sql"}),
    [](const testing::TestParamInfo<NavDataCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace tavi
