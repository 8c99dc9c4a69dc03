#include "ProcedureTestSupport.h"
#include "avionics/Adc.h"
#include "avionics/AirData.h"
#include "navdata/GcNav.h"

#include <functional>
#include <gtest/gtest.h>

namespace tavi::test {
namespace {

using Type = TerminalLegType;

// Database waypoint IDs of the test region.
constexpr int32_t kWaypointP = 1;
constexpr int32_t kWaypointQ = 2;

TerminalLeg record(Type type, int32_t fixId = 0) {
    TerminalLeg leg;
    leg.proc = kProcSid;
    leg.legType = type;
    leg.fixId = fixId;
    return leg;
}

class ProcedureLegConverterTest : public ProcedureFixture {
protected:
    ProcedureLegConverterTest() {
        plan.locked = true;
        plan.org = airport("ZZAA", 47.0, 8.0);
        plan.org.elevation = 1000;
        FlightPlanLeg start;
        start.wpt = fix("BASE");
        start.wpt.latitude = 47.0;
        start.wpt.longitude = 8.5;
        start.course = 90.0;
        start.vnav.altitude = 3000;
        plan.legs.push_back(start);
    }

    ProcedureJob job(bool arrival) {
        return ProcedureJob{plan,    names,   true, "ALPHA1", arrival ? kPhaseDescent : kPhaseClimb,
                            arrival, Runway()};
    }

    ConversionResult convert(const std::vector<TerminalLeg>& records, std::size_t position = 0,
                             bool arrival = false) {
        return ProcedureLegConverter(environment())
            .convert(records, position, plan.legCount(), job(arrival));
    }

    FlightPlan plan;
};

struct ConversionCase {
    const char* name;
    TerminalLeg record;
    const char* route;
    std::function<void(const FlightPlan&)> check;
};

TerminalLeg withCourse(TerminalLeg leg, float course, float distance = 0.0f) {
    leg.course = course;
    leg.distance = distance;
    return leg;
}

TerminalLeg withNavaid(TerminalLeg leg, double latitude, double longitude, float bearing,
                       float distance) {
    leg.navaidLatitude = latitude;
    leg.navaidLongitude = longitude;
    leg.navaidBearing = bearing;
    leg.navaidDistance = distance;
    return leg;
}

TerminalLeg withTurn(TerminalLeg leg, int32_t turn) {
    leg.turnDirection = turn;
    return leg;
}

TerminalLeg withAltitude(TerminalLeg leg, const char* altitude) {
    leg.altitude = altitude;
    return leg;
}

TerminalLeg latLonFix(Type type, double latitude, double longitude) {
    TerminalLeg leg = record(type);
    leg.fixLatitude = latitude;
    leg.fixLongitude = longitude;
    return leg;
}

void expectPoint(const Waypoint& point, double latitude, double longitude, double tolerance) {
    EXPECT_NEAR(point.latitude, latitude, tolerance);
    EXPECT_NEAR(point.longitude, longitude, tolerance);
}

const std::vector<ConversionCase> kConversionCases = {
    {"TF to a database fix", record(Type::TF, kWaypointP), "BASE P",
     [](const FlightPlan& plan) {
         expectPoint(plan.legs[1].wpt, 47.5, 8.5, 1e-9);
     }},
    {"AF to a database fix", record(Type::AF, kWaypointP), "BASE P", nullptr},
    {"RF to a database fix", record(Type::RF, kWaypointP), "BASE P", nullptr},
    {"IF given by its position", latLonFix(Type::IF, 47.2, 8.6), "BASE *LL01",
     [](const FlightPlan& plan) {
         expectPoint(plan.legs[1].wpt, 47.2, 8.6, 1e-9);
     }},
    {"CF starts at its distance back from the fix",
     withCourse(record(Type::CF, kWaypointQ), 0.0f, 6.0f), "BASE Q",
     [](const FlightPlan& plan) {
         EXPECT_EQ(plan.legs[1].src.ident, "SRC");
         EXPECT_NEAR(GcNav::distanceBetween(47.6, 8.7, plan.legs[1].src.latitude,
                                            plan.legs[1].src.longitude),
                     6.0, 1e-6);
         EXPECT_LT(plan.legs[1].src.latitude, 47.6);
     }},
    {"DF makes the fix before it a fly-over fix", record(Type::DF, kWaypointP), "BASE P",
     [](const FlightPlan& plan) {
         EXPECT_TRUE(plan.legs[0].trmLeg.flyOver);
     }},
    {"CA ends at an altitude point", withAltitude(withCourse(record(Type::CA), 90.0f), "5000"),
     "BASE *ALT01",
     [](const FlightPlan& plan) {
         EXPECT_TRUE(plan.legs[1].trmLeg.flyOver);
     }},
    {"FA", withAltitude(record(Type::FA), "5000"), "BASE *ALT01", nullptr},
    {"VA", withAltitude(record(Type::VA), "5000"), "BASE *ALT01", nullptr},
    {"CD at the navaid's bearing and distance",
     withNavaid(record(Type::CD), 47.0, 8.5, 90.0f, 10.0f), "BASE *INT01",
     [](const FlightPlan& plan) {
         EXPECT_NEAR(GcNav::distanceBetween(47.0, 8.5, plan.legs[1].wpt.latitude,
                                            plan.legs[1].wpt.longitude),
                     10.0, 1e-6);
     }},
    {"FD", withNavaid(record(Type::FD), 47.0, 8.5, 90.0f, 10.0f), "BASE *INT01", nullptr},
    {"VD", withNavaid(record(Type::VD), 47.0, 8.5, 90.0f, 10.0f), "BASE *INT01", nullptr},
    {"CI waits at the base for the next leg", withCourse(record(Type::CI), 45.0f), "BASE *INT01",
     [](const FlightPlan& plan) {
         expectPoint(plan.legs[1].wpt, 47.0, 8.5, 1e-9);
     }},
    {"VI", record(Type::VI), "BASE *INT01", nullptr},
    {"CR ends on the radial",
     withNavaid(withCourse(record(Type::CR), 90.0f), 46.5, 8.8, 0.1f, 0.0f), "BASE *INT01",
     [](const FlightPlan& plan) {
         EXPECT_NEAR(plan.legs[1].wpt.longitude, 8.8, 0.01);
     }},
    {"VR parallel to the radial is dropped",
     withNavaid(withCourse(record(Type::VR), 90.0f), 47.0, 8.5, 90.0f, 0.0f), "BASE", nullptr},
    {"FC ends at its distance", withCourse(record(Type::FC), 0.0f, 12.0f), "BASE *PBD01",
     [](const FlightPlan& plan) {
         expectPoint(plan.legs[1].wpt, 47.2, 8.5, 1e-6);
     }},
    {"FM ends on vectors", record(Type::FM), "BASE FM",
     [](const FlightPlan& plan) {
         EXPECT_TRUE(plan.legs[1].isManualTermination());
         expectPoint(plan.legs[1].wpt, 0.0, 0.0, 0.0);
     }},
    {"VM", record(Type::VM), "BASE (VECTORS)", nullptr},
    {"HF holds at the fix before", withTurn(withCourse(record(Type::HF), 270.0f, 5.0f), kTurnLeft),
     "BASE",
     [](const FlightPlan& plan) {
         const HoldingPattern& hold = plan.legs[0].holding;
         EXPECT_TRUE(hold.active);
         EXPECT_FALSE(hold.rightTurns);
         EXPECT_DOUBLE_EQ(hold.holdSpeed, 250.0);
         EXPECT_DOUBLE_EQ(hold.legTimeMin, 5.0 / 250.0 * 60.0);
         EXPECT_DOUBLE_EQ(hold.inboundCourse, 270.0);
     }},
    {"HA", withTurn(record(Type::HA), kTurnRight), "BASE",
     [](const FlightPlan& plan) {
         EXPECT_TRUE(plan.legs[0].holding.rightTurns);
     }},
    {"HM without a turn direction holds right", record(Type::HM), "BASE",
     [](const FlightPlan& plan) {
         EXPECT_TRUE(plan.legs[0].holding.active);
         EXPECT_TRUE(plan.legs[0].holding.rightTurns);
     }},
    {"HF at its own fix flies there first", withCourse(record(Type::HF, kWaypointP), 90.0f, 4.0f),
     "BASE P",
     [](const FlightPlan& plan) {
         EXPECT_FALSE(plan.legs[0].holding.active);
         const HoldingPattern& hold = plan.legs[1].holding;
         EXPECT_TRUE(hold.active);
         EXPECT_TRUE(hold.rightTurns);
         EXPECT_EQ(plan.legs[1].legType(), Type::HF);
     }},
    {"PI flies the fix twice", withCourse(record(Type::PI), 270.0f, 4.0f), "BASE *INT01 BASE",
     [](const FlightPlan& plan) {
         EXPECT_EQ(plan.legs[0].vnav.speed, 170);
         EXPECT_EQ(plan.legs[1].vnav.speed, 170);
         EXPECT_FALSE(plan.legs[2].vnav.hasSpeed);
         EXPECT_DOUBLE_EQ(plan.legs[2].pcdrTurn.outboundDistance, 4.0);
         EXPECT_EQ(plan.legs[1].wpt.latitude,
                   plan.legs[0].pcdrTurn.pointLatitudes[ProcedureTurn::kMinuteBeyond]);
     }},
    {"DS", record(Type::DS), "BASE /", nullptr},
};

int32_t generatedType(const std::string& ident) {
    for (const auto& [prefix, type] :
         {std::pair{"*LL", 1}, {"*PBD", 2}, {"*INT", 5}, {"*ALT", 6}}) {
        if (ident.starts_with(prefix)) {
            return type;
        }
    }
    return 0;
}

class ConversionTable : public ProcedureLegConverterTest,
                        public testing::WithParamInterface<ConversionCase> {};

TEST_P(ConversionTable, ConvertsThePathTerminator) {
    const ConversionCase& row = GetParam();
    convert({row.record});
    EXPECT_EQ(routeOf(plan), row.route);
    for (std::size_t i = 1; i < plan.legCount() && plan.legCount() == 2; ++i) {
        EXPECT_EQ(plan.legs[i].via, "ALPHA1");
        EXPECT_EQ(plan.legs[i].legType(), row.record.legType);
    }
    // Activated: every generated point is in the store with the type its name stands for.
    for (const FlightPlanLeg& leg : plan.legs) {
        if (leg.wpt.ident.front() != '*') {
            continue;
        }
        const PilotPoint* stored = pilotPoints.find(leg.wpt.ident);
        ASSERT_NE(stored, nullptr) << leg.wpt.ident;
        EXPECT_EQ(static_cast<int32_t>(stored->ppType), generatedType(leg.wpt.ident));
    }
    if (row.check) {
        row.check(plan);
    }
}

INSTANTIATE_TEST_SUITE_P(PathTerminators, ConversionTable, testing::ValuesIn(kConversionCases),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             for (char& c : name) {
                                 c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             }
                             return name;
                         });

TEST_F(ProcedureLegConverterTest, AltitudePointLiesWhereTheClimbAt2000FpmEnds) {
    convert({withAltitude(withCourse(record(Type::CA), 90.0f), "FL100")});
    const auto tas = [](double feet) {
        return Adc::groundSpeedFromCas(250.0, feet, isaTemperatureClamped(float(feet)), 0, 0, 0);
    };
    const double expected = (tas(10000) + tas(3000)) * 0.5 * 7000.0 / 2000.0 / 60.0;
    EXPECT_NEAR(
        GcNav::distanceBetween(47.0, 8.5, plan.legs[1].wpt.latitude, plan.legs[1].wpt.longitude),
        expected, 1e-6);
    EXPECT_EQ(plan.legs[1].vnav.altitude, 10000);
    EXPECT_EQ(plan.legs[1].vnav.phase, kPhaseClimb);
}

// A break before the procedure has no position: the altitude point starts from the aircraft in
// the air and from the last fix on the ground, never from 0N 0E.
TEST_F(ProcedureLegConverterTest, PointAfterABreakStartsFromTheAircraftOrTheLastFix) {
    for (const bool airborne : {true, false}) {
        plan.legs.resize(1);
        FlightPlanLeg gap;
        gap.setDiscontinuity(true);
        plan.legs.push_back(gap);
        context.inAir = airborne;
        context.latitude = 47.3;
        context.longitude = 8.1;
        context.altitudeFt = 4000.0f;
        ProcedureLegConverter(environment())
            .convert({withAltitude(withCourse(record(Type::VA), 90.0f), "5000")}, 0, 2, job(false));
        ASSERT_EQ(plan.legCount(), 3u) << airborne;
        const Waypoint& point = plan.legs[2].wpt;
        const double fromLatitude = airborne ? context.latitude : 47.0;
        const double fromLongitude = airborne ? context.longitude : 8.5;
        EXPECT_LT(
            GcNav::distanceBetween(fromLatitude, fromLongitude, point.latitude, point.longitude),
            10.0)
            << airborne;
        EXPECT_NEAR(point.latitude, fromLatitude, 1e-3) << "flown due east, " << airborne;
    }
}

TEST_F(ProcedureLegConverterTest, UnreadableAltitudeCountsDownToZeroFeet) {
    convert({withAltitude(withCourse(record(Type::CA), 0.0f), "HIGH")});
    EXPECT_FALSE(plan.legs[1].vnav.hasAltitude);
    EXPECT_GT(plan.legs[1].wpt.latitude, 47.0);
}

TEST_F(ProcedureLegConverterTest, DmeSearchStopsInsideTheToleranceOrFarAway) {
    // From 3 nm west of the navaid, flying west.
    convert({withNavaid(withCourse(record(Type::CD), 270.0f), 47.0, 8.5733, 0.0f, 10.0f)});
    const double range =
        GcNav::distanceBetween(47.0, 8.5733, plan.legs[1].wpt.latitude, plan.legs[1].wpt.longitude);
    EXPECT_NEAR(range, 10.0, 0.2);
    EXPECT_GT(range, 9.8);

    convert({withNavaid(withCourse(record(Type::CD), 270.0f), 47.0, 8.5733, 0.0f, 0.0f)});
    const Waypoint& far = plan.legs[2].wpt;
    EXPECT_GT(GcNav::distanceBetween(47.0, 8.5733, far.latitude, far.longitude), 500.0);
}

TEST_F(ProcedureLegConverterTest, InterceptPointMovesWhereTheNextCourseMeetsIt) {
    const std::vector<TerminalLeg> records = {withCourse(record(Type::CI), 45.0f),
                                              withCourse(record(Type::CF, kWaypointP), 270.0f)};
    convert(records, 0);
    convert(records, 1);
    ASSERT_EQ(routeOf(plan), "BASE *INT01 P");
    // North-east from BASE (47 N 8.5 E) meets the course west into P (47.5 N 8.5 E) 30 nm
    // east of P.
    expectPoint(plan.legs[1].wpt, 47.5, 9.237, 0.05);
    EXPECT_EQ(plan.legs[2].src.kind, WaypointKind::Plain);
}

TEST_F(ProcedureLegConverterTest, GeneratedNamesCountInTwosAndDroppedFixesUseTheirNumber) {
    convert({withNavaid(withCourse(record(Type::CD), 90.0f), 47.0, 8.5, 90.0f, 5.0f)});
    EXPECT_FALSE(convert({latLonFix(Type::IF, 47.0, 8.005)}).completed);
    convert({withNavaid(withCourse(record(Type::CD), 90.0f), 47.0, 8.5, 90.0f, 9.0f)});
    convert({latLonFix(Type::TF, 47.3, 8.9)});
    convert({withNavaid(withCourse(record(Type::CD), 90.0f), 47.0, 8.5, 90.0f, 12.0f)});
    EXPECT_EQ(routeOf(plan), "BASE *INT01 *INT03 *LL03 *INT05");
    EXPECT_NE(pilotPoints.find("*INT05"), nullptr);
    EXPECT_EQ(pilotPoints.find("*LL01"), nullptr);
}

TEST_F(ProcedureLegConverterTest, RepeatedFixAndFixNearTheOriginAreDropped) {
    convert({record(Type::TF, kWaypointP)});
    EXPECT_FALSE(convert({record(Type::IF, kWaypointP)}).completed);
    FlightPlan empty;
    empty.locked = true;
    empty.org = plan.legs[1].wpt;
    plan = empty;
    EXPECT_FALSE(convert({latLonFix(Type::IF, 47.5, 8.505)}).completed);
    EXPECT_EQ(plan.legCount(), 0u);
}

TEST_F(ProcedureLegConverterTest, VerticalAngleOfDepartureAndArrival) {
    TerminalLeg steep = record(Type::TF, kWaypointP);
    steep.verticalAngle = 12.0f;
    convert({steep});
    EXPECT_FLOAT_EQ(plan.legs[1].vnav.pathAngle, 12.0f);
    EXPECT_TRUE(plan.legs[1].trmLeg.flyOver);
    EXPECT_FALSE(plan.legs[1].vnav.pathAngleEntered);

    TerminalLeg approach = record(Type::TF, kWaypointQ);
    approach.proc = kProcApproach;
    approach.verticalAngle = 13.0f;
    convert({approach}, 0, true);
    EXPECT_FLOAT_EQ(plan.legs[2].vnav.pathAngle, 3.0f);
    EXPECT_TRUE(plan.legs[2].trmLeg.flyOver);
    EXPECT_TRUE(plan.legs[2].vnav.pathAngleEntered);
    EXPECT_EQ(plan.legs[2].vnav.speed, 150);

    TerminalLeg shallow = latLonFix(Type::TF, 47.9, 9.9);
    shallow.verticalAngle = 0.5f;
    convert({shallow}, 0, true);
    EXPECT_FLOAT_EQ(plan.legs[3].vnav.pathAngle, 0.5f);
    EXPECT_FALSE(plan.legs[3].vnav.pathAngleEntered);
}

TEST_F(ProcedureLegConverterTest, AltitudeWindowAndConstraintKinds) {
    convert({withAltitude(record(Type::TF, kWaypointP), "FL240AFL280B")});
    convert({withAltitude(record(Type::TF, kWaypointQ), "2400A")});
    EXPECT_EQ(plan.legs[1].vnav.kind, kAltitudeWindow);
    EXPECT_EQ(plan.legs[1].vnav.altitude, 24000);
    EXPECT_EQ(plan.legs[1].vnav.altitude2, 28000);
    EXPECT_EQ(plan.legs[2].vnav.kind, kAltitudeAtOrAbove);
    EXPECT_EQ(plan.legs[2].vnav.altitude, 2400);
    EXPECT_TRUE(plan.legs[2].vnav.hasAltitude);
}

} // namespace
} // namespace tavi::test
