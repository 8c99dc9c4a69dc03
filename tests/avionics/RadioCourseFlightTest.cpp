// The flight director flies a VOR radial and a localizer (front and back course) of the
// navigation database, closed loop through the stand-in's receivers: a point-mass aircraft turns
// at the rate its commanded bank gives at a constant speed, as an ideal autopilot would fly it.
#include "sim/Geodesy.h"
#include "support/FlightDirectorBench.h"
#include "support/NavFixtureFiles.h"

#include <cmath>
#include <gtest/gtest.h>

namespace tavi::test {
namespace {

using sim::GeoPoint;

constexpr double kRegionVariation = 1.5;

class RadioCourseFlightTest : public testing::Test {
protected:
    RadioCourseFlightTest() { writeRegionDatabase(bench.simulatorFolder()); }

    void start(GeoPoint position, double trueHeading, double speed, double altitude) {
        at = position;
        heading = trueHeading;
        groundSpeed = speed;
        altitudeFeet = altitude;
        bench.setSpeed(static_cast<float>(speed));
        // The heading bug on the intercept heading, which HDG flies until the capture.
        panel().setToken(855, std::round(trueHeading - kRegionVariation));
        place(0.0);
        bench.step(2);
    }

    // Bank is positive left wing down.
    void fly(double seconds) {
        constexpr double dt = 1.0 / 18.0;
        for (int i = 0; i < static_cast<int>(seconds * 18.0); ++i) {
            const double bank = bench.autopilot().bankCommand;
            const double turnRate = -std::tan(bank * sim::kDegreesToRadians) * 32.174 /
                                    (groundSpeed * 1.68781) / sim::kDegreesToRadians;
            heading = sim::degrees0To360(heading + turnRate * dt);
            at = sim::destination(at, heading, groundSpeed * dt / 3600.0);
            place(turnRate);
            bench.setAttitude(0.0f, static_cast<float>(bank));
            bench.step();
        }
    }

    sim::Panel& panel() { return bench.panel(); }
    RadioUnit& nav1() { return bench.receiver(1); }

    FlightDirectorBench bench;
    GeoPoint at;
    double heading = 0.0;
    double groundSpeed = 0.0;
    double altitudeFeet = 0.0;

private:
    void place(double turnRate) {
        panel().setToken(71, at.latitude * 40007000.0 / 360.0);
        panel().setToken(72, at.longitude / 360.0 * 281474976710656.0);
        panel().setToken(73, altitudeFeet * 0.3048);
        panel().setToken(86, heading);
        panel().setToken(81, heading - kRegionVariation);
        panel().setToken(82, kRegionVariation);
        panel().setVariable("GROUND VELOCITY", 0, groundSpeed);
        panel().setVariable("GPS GROUND TRUE TRACK", 0, heading);
        for (AhrsUnit* unit : {&bench.ahrs().unit1, &bench.ahrs().unit2}) {
            unit->heading = static_cast<float>(heading - kRegionVariation);
            unit->token86Value = static_cast<float>(heading);
            unit->token81Value = static_cast<float>(heading - kRegionVariation);
            unit->headingRate = static_cast<float>(turnRate);
        }
    }
};

// 25 nm east of VTX, 5 degrees north of the inbound course 270, intercepting at 30 degrees.
TEST_F(RadioCourseFlightTest, InterceptsAndTracksAVorRadialInbound) {
    start(sim::destination({46.9, 8.4}, 85.0 + kRegionVariation, 25.0), 240.0 + kRegionVariation,
          250.0, 8000.0);
    nav1().setNavActive(0x01123000);
    nav1().setCourse(270);
    bench.step(2);
    bench.fd().pressNav();
    fly(240.0);
    EXPECT_EQ(bench.fd().lateralMode(), FdLateralMode::Vor);
    EXPECT_EQ(nav1().toFrom, RadioUnit::kTo);
    EXPECT_LT(std::fabs(nav1().cdiDeviation), 12.7f) << "within a degree of the radial";
    EXPECT_NEAR(sim::degreesPlusMinus180(heading - kRegionVariation - 270.0), 0.0, 5.0);
}

// 15 nm west of IAAL's antenna, 2 degrees north of the course 090 true, intercepting at 30.
TEST_F(RadioCourseFlightTest, CapturesAndTracksALocalizer) {
    start(sim::destination({47.0, 8.035}, 272.0, 15.0), 120.0, 180.0, 3000.0);
    nav1().setNavActive(0x01103000);
    bench.step(2);
    bench.fd().pressApproach();
    fly(150.0);
    EXPECT_EQ(bench.fd().lateralMode(), FdLateralMode::Loc);
    EXPECT_TRUE(nav1().hasLocalizer);
    EXPECT_LT(std::fabs(nav1().cdiDeviation), 10.0f) << "within 0.2 degrees of the course";
    EXPECT_NEAR(sim::degreesPlusMinus180(heading - 90.0), 0.0, 5.0);
}

// 12 nm east of IAAL's antenna, 2 degrees north of the back course, inbound westbound.
TEST_F(RadioCourseFlightTest, CapturesAndTracksALocalizersBackCourse) {
    start(sim::destination({47.0, 8.035}, 88.0, 12.0), 240.0, 180.0, 3000.0);
    nav1().setNavActive(0x01103000);
    bench.step(2);
    bench.fd().pressApproach();
    EXPECT_EQ(bench.fd().armedLateralMode(), FdLateralMode::Bc);
    fly(150.0);
    EXPECT_EQ(bench.fd().lateralMode(), FdLateralMode::Bc);
    EXPECT_LT(std::fabs(nav1().cdiDeviation), 10.0f);
    EXPECT_NEAR(sim::degreesPlusMinus180(heading - 270.0), 0.0, 5.0);
}

} // namespace
} // namespace tavi::test
