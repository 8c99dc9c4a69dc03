#include "navdata/FlatEarth.h"
#include "navdata/GcNav.h"
#include "navdata/RhumbNav.h"

#include <cmath>
#include <gtest/gtest.h>

namespace tavi {
namespace {

constexpr double kNmTolerance = 1e-6;
constexpr double kDegTolerance = 1e-9;

TEST(GcNavTest, DistancesMatchTheSphereOfOneNauticalMilePerMinute) {
    EXPECT_DOUBLE_EQ(GcNav::distanceBetween(47.0, 8.0, 47.0, 8.0), 0.0);
    EXPECT_NEAR(GcNav::distanceBetween(10.0, 20.0, 11.0, 20.0), 60.0, kNmTolerance);
    EXPECT_NEAR(GcNav::distanceBetween(0.0, 179.5, 0.0, -179.5), 60.0, kNmTolerance);
    EXPECT_NEAR(GcNav::distanceBetween(90.0, 0.0, -90.0, 0.0), 10800.0, kNmTolerance);
}

TEST(GcNavTest, CoursesStayInTheTrueCourseRange) {
    EXPECT_DOUBLE_EQ(GcNav::courseBetween(90.0, 0.0, 10.0, 50.0), 180.0);
    EXPECT_DOUBLE_EQ(GcNav::courseBetween(-90.0, 0.0, 10.0, 50.0), 360.0);
    EXPECT_NEAR(GcNav::courseBetween(0.0, 10.0, 0.0, 0.0), 270.0, kDegTolerance);
    EXPECT_NEAR(GcNav::courseBetween(0.0, 0.0, 0.0, 10.0), 90.0, kDegTolerance);
    EXPECT_NEAR(GcNav::courseBetween(0.0, 179.5, 0.0, -179.5), 90.0, kDegTolerance);
    EXPECT_NEAR(GcNav::courseBetween(10.0, 0.0, 0.0, 0.0), 180.0, kDegTolerance);
}

TEST(GcNavTest, DestinationWrapsAcrossThe180thMeridianBothWays) {
    double lat = 0.0;
    double lon = 0.0;
    GcNav(0.0, 179.5).destination(90.0, 60.0, lat, lon);
    EXPECT_NEAR(lat, 0.0, kDegTolerance);
    EXPECT_NEAR(lon, -179.5, kDegTolerance);
    GcNav(0.0, -179.5).destination(270.0, 60.0, lat, lon);
    EXPECT_NEAR(lon, 179.5, kDegTolerance);
    GcNav(47.0, 8.0).destination(0.0, 60.0, lat, lon);
    EXPECT_NEAR(lat, 48.0, kDegTolerance);
    EXPECT_NEAR(lon, 8.0, kDegTolerance);
}

TEST(GcNavTest, DestinationAndCourseAndDistanceAgree) {
    const GcNav start(47.3, 8.6);
    for (double course = 0.0; course < 360.0; course += 37.5) {
        double lat = 0.0;
        double lon = 0.0;
        start.destination(course, 2500.0, lat, lon);
        EXPECT_NEAR(start.distanceTo(lat, lon), 2500.0, 1e-6) << course;
        EXPECT_NEAR(start.courseTo(lat, lon), course, 1e-9) << course;
    }
}

// Cross-track and along-track distances of a point from the great circle that leaves a start
// point on a course.
void offsetsFromCourse(double lat1, double lon1, double course, double lat, double lon,
                       double& crossTrack, double& alongTrack) {
    double lineLat = 0.0;
    double lineLon = 0.0;
    GcNav(lat1, lon1).destination(course, 100.0, lineLat, lineLon);
    GcNav::crossTrackBetween(lat1, lon1, lineLat, lineLon, lat, lon, crossTrack, alongTrack);
}

TEST(GcNavTest, IntersectionLiesAheadOnBothCourses) {
    const struct {
        double course1;
        double course2;
        double minimumAhead;
    } cases[] = {
        {45.0, 315.0, 0.0},
        // Leaning apart at first, the two courses meet on the far side of the earth.
        {300.0, 60.0, 5400.0},
        {225.0, 135.0, 5400.0},
    };
    for (const auto& c : cases) {
        double lat = 0.0;
        double lon = 0.0;
        ASSERT_TRUE(GcNav::intersection(0.0, 0.0, c.course1, 0.0, 10.0, c.course2, lat, lon));
        double off1 = 0.0;
        double off2 = 0.0;
        double ahead1 = 0.0;
        double ahead2 = 0.0;
        offsetsFromCourse(0.0, 0.0, c.course1, lat, lon, off1, ahead1);
        offsetsFromCourse(0.0, 10.0, c.course2, lat, lon, off2, ahead2);
        EXPECT_NEAR(off1, 0.0, 1e-6) << c.course1;
        EXPECT_NEAR(off2, 0.0, 1e-6) << c.course1;
        EXPECT_GT(ahead1, c.minimumAhead) << c.course1;
        EXPECT_GT(ahead2, c.minimumAhead) << c.course1;
    }
}

TEST(GcNavTest, IntersectionRefusesCoursesAlongOneCircleOrDiverging) {
    double lat = 12.0;
    double lon = 34.0;
    EXPECT_FALSE(GcNav::intersection(0.0, 0.0, 90.0, 0.0, 10.0, 90.0, lat, lon));
    EXPECT_FALSE(GcNav::intersection(0.0, 0.0, 90.0, 0.0, 10.0, 270.0, lat, lon));
    EXPECT_FALSE(GcNav::intersection(0.0, 0.0, 270.0, 0.0, 10.0, 90.0, lat, lon));
    // One heads north, the other south: their crossing lies behind one of them.
    EXPECT_FALSE(GcNav::intersection(0.0, 0.0, 0.0, 0.0, 10.0, 180.0, lat, lon));
    EXPECT_FALSE(GcNav::intersection(0.0, 0.0, 45.0, 0.0, 10.0, 135.0, lat, lon));
    EXPECT_EQ(lat, 12.0);
    EXPECT_EQ(lon, 34.0);
}

TEST(GcNavTest, CrossTrackSignsAndAlongTrack) {
    double xtk = 0.0;
    double atk = 0.0;
    // Track due east along the equator; a point 1 degree south is to the right.
    GcNav::crossTrackBetween(0.0, 0.0, 0.0, 10.0, -1.0, 5.0, xtk, atk);
    EXPECT_NEAR(xtk, 60.0, 0.01);
    EXPECT_GT(atk, 299.0);
    GcNav::crossTrackBetween(0.0, 0.0, 0.0, 10.0, 1.0, 5.0, xtk, atk);
    EXPECT_NEAR(xtk, -60.0, 0.01);
    // Exactly 90 degrees off the course is ahead, just over it behind.
    GcNav::crossTrackBetween(0.0, 0.0, 0.0, 10.0, 1.0, 0.0, xtk, atk);
    EXPECT_GE(atk, 0.0);
    GcNav::crossTrackBetween(0.0, 0.0, 0.0, 10.0, 1.0, -0.01, xtk, atk);
    EXPECT_LT(atk, 0.0);
    EXPECT_NEAR(atk, -0.6, 0.01);
}

// A track that starts on a pole runs down (up) the meridian of its end; a point beside it is
// as far off it, and on the same side, as seen from just beyond the pole.
TEST(GcNavTest, TrackFromAPoleHasItsCrossTrack) {
    const struct {
        double poleLatitude;
        double pointLatitude;
        double pointLongitude;
        double crossTrack;
    } cases[] = {
        // Down meridian 30E from the north pole: west of it is to the right.
        {90.0, 89.9, 29.0, 0.105},
        {90.0, 89.9, 31.0, -0.105},
        // Up meridian 30E from the south pole: east of it is to the right.
        {-90.0, -89.9, 31.0, 0.105},
        {-90.0, -89.9, 29.0, -0.105},
    };
    for (const auto& c : cases) {
        double xtk = 0.0;
        double atk = 0.0;
        const double endLatitude = c.poleLatitude > 0.0 ? 89.7 : -89.7;
        GcNav::crossTrackBetween(c.poleLatitude, 0.0, endLatitude, 30.0, c.pointLatitude,
                                 c.pointLongitude, xtk, atk);
        EXPECT_NEAR(xtk, c.crossTrack, 0.001) << c.poleLatitude << " " << c.pointLongitude;
        EXPECT_NEAR(atk, 6.0, 0.01) << c.poleLatitude;
    }
}

TEST(GcNavTest, AlongTrackBeyondAQuarterOfTheEarthIsNotFolded) {
    double xtk = 0.0;
    double atk = 0.0;
    GcNav::crossTrackBetween(0.0, 0.0, 0.0, 10.0, 0.0, 120.0, xtk, atk);
    EXPECT_NEAR(atk, 7200.0, 1e-6);
    EXPECT_NEAR(xtk, 0.0, 1e-6);
}

TEST(GcNavTest, CrossTrackOfPointsSquarelyAbeamIsNeverNaN) {
    for (double lat3 = -89.0; lat3 <= 89.0; lat3 += 0.37) {
        double xtk = 0.0;
        double atk = 0.0;
        GcNav::crossTrackBetween(0.0, 0.0, 0.0, 10.0, lat3, 0.0, xtk, atk);
        ASSERT_TRUE(std::isfinite(xtk) && std::isfinite(atk)) << lat3;
        EXPECT_NEAR(std::fabs(xtk), std::fabs(lat3) * 60.0, 1e-6);
        EXPECT_NEAR(atk, 0.0, 1e-6);
    }
    double xtk = 1.0;
    double atk = 1.0;
    GcNav::crossTrackBetween(47.0, 8.0, 48.0, 9.0, 47.0, 8.0, xtk, atk);
    EXPECT_EQ(xtk, 0.0);
    EXPECT_EQ(atk, 0.0);
}

TEST(GcNavTest, IntermediatePointClampsTheFraction) {
    double lat = 0.0;
    double lon = 0.0;
    const GcNav start(10.0, 20.0);
    start.intermediatePoint(30.0, 40.0, -0.5, lat, lon);
    EXPECT_NEAR(lat, 10.0, kDegTolerance);
    EXPECT_NEAR(lon, 20.0, kDegTolerance);
    start.intermediatePoint(30.0, 40.0, 2.0, lat, lon);
    EXPECT_NEAR(lat, 30.0, kDegTolerance);
    EXPECT_NEAR(lon, 40.0, kDegTolerance);
    start.intermediatePoint(10.0, 20.0, 0.5, lat, lon);
    EXPECT_EQ(lat, 10.0);
    EXPECT_EQ(lon, 20.0);
    GcNav(0.0, 179.0).intermediatePoint(0.0, -179.0, 0.5, lat, lon);
    EXPECT_NEAR(std::fabs(lon), 180.0, kDegTolerance);
}

TEST(GcNavTest, CourseAtFractionFollowsTheGreatCircle) {
    EXPECT_NEAR(GcNav::courseAtFractionBetween(50.0, -5.0, 50.0, 60.0, 0.0),
                GcNav::courseBetween(50.0, -5.0, 50.0, 60.0), 1e-9);
    // Halfway along an east-west route at 50N the track runs due east.
    EXPECT_NEAR(GcNav::courseAtFractionBetween(50.0, -30.0, 50.0, 30.0, 0.5), 90.0, 1e-6);
}

TEST(RhumbNavTest, DistanceAndCourseTakeTheShorterWayRound) {
    EXPECT_NEAR(RhumbNav::distanceBetween(0.0, 170.0, 0.0, -170.0), 1200.0, kNmTolerance);
    EXPECT_NEAR(RhumbNav::courseBetween(0.0, 170.0, 0.0, -170.0), 90.0, kDegTolerance);
    EXPECT_NEAR(RhumbNav::courseBetween(0.0, -170.0, 0.0, 170.0), 270.0, kDegTolerance);
    EXPECT_NEAR(RhumbNav::distanceBetween(60.0, 0.0, 60.0, 10.0), 300.0, kNmTolerance);
    EXPECT_NEAR(RhumbNav::distanceBetween(10.0, 5.0, 11.0, 5.0), 60.0, kNmTolerance);
    EXPECT_NEAR(RhumbNav::courseBetween(10.0, 5.0, 9.0, 5.0), 180.0, kDegTolerance);
}

TEST(RhumbNavTest, DestinationRetracesDistanceAndCourse) {
    const RhumbNav start(-33.9, 151.2);
    for (double course = 10.0; course < 360.0; course += 45.0) {
        double lat = 0.0;
        double lon = 0.0;
        start.destination(course, 800.0, lat, lon);
        EXPECT_NEAR(start.distanceTo(lat, lon), 800.0, 1e-6) << course;
        EXPECT_NEAR(start.courseTo(lat, lon), course, 1e-9) << course;
    }
}

TEST(RhumbNavTest, DestinationPastAPoleStopsAtThePole) {
    double lat = 0.0;
    double lon = 0.0;
    RhumbNav(89.0, 10.0).destination(0.0, 300.0, lat, lon);
    EXPECT_EQ(lat, 90.0);
    EXPECT_TRUE(std::isfinite(lon));
    RhumbNav(-89.0, 10.0).destination(170.0, 300.0, lat, lon);
    EXPECT_EQ(lat, -90.0);
    EXPECT_TRUE(std::isfinite(lon));
}

TEST(RhumbNavTest, CrossTrackUsesRhumbCourses) {
    double xtk = 0.0;
    double atk = 0.0;
    RhumbNav(0.0, 0.0).crossTrack(0.0, 10.0, -1.0, 5.0, xtk, atk);
    EXPECT_NEAR(xtk, 60.0, 0.2);
    EXPECT_GT(atk, 299.0);
}

TEST(FlatEarthTest, ReferencePointIsTheOrigin) {
    double east = 1.0;
    double north = 1.0;
    double distance = 1.0;
    double bearing = 1.0;
    FlatEarth(47.0, 8.0).offsetTo(47.0, 8.0, east, north, distance, bearing);
    EXPECT_EQ(east, 0.0);
    EXPECT_EQ(north, 0.0);
    EXPECT_EQ(distance, 0.0);
    EXPECT_EQ(bearing, 0.0);
}

TEST(FlatEarthTest, OffsetsAreEastAndNorthPositive) {
    double east = 0.0;
    double north = 0.0;
    double distance = 0.0;
    double bearing = 0.0;
    const FlatEarth origin(60.0, 10.0);
    origin.offsetTo(60.0, 11.0, east, north, distance, bearing);
    EXPECT_NEAR(east, 30.0, 1e-9);
    EXPECT_NEAR(north, 0.0, 1e-9);
    EXPECT_NEAR(bearing, 90.0, 1e-9);
    origin.offsetTo(59.5, 10.0, east, north, distance, bearing);
    EXPECT_NEAR(north, -30.0, 1e-9);
    EXPECT_NEAR(distance, 30.0, 1e-9);
    EXPECT_NEAR(bearing, 180.0, 1e-9);
    origin.eastNorthTo(60.0, 9.0, east, north);
    EXPECT_NEAR(east, -30.0, 1e-9);
}

TEST(FlatEarthTest, PointsAcrossThe180thMeridianAreSmallOffsets) {
    double east = 0.0;
    double north = 0.0;
    double distance = 0.0;
    double bearing = 0.0;
    FlatEarth(0.0, 179.9).offsetTo(0.0, -179.9, east, north, distance, bearing);
    EXPECT_NEAR(east, 12.0, 1e-6);
    EXPECT_NEAR(bearing, 90.0, 1e-9);
    FlatEarth(0.0, -179.9).offsetTo(0.0, 179.9, east, north, distance, bearing);
    EXPECT_NEAR(east, -12.0, 1e-6);
    EXPECT_NEAR(bearing, 270.0, 1e-9);
}

} // namespace
} // namespace tavi
