// Stations of the navigation database, heard by the stand-in's receivers, as the module's radios
// read them.
#include "sim/Geodesy.h"
#include "support/NavFixtureFiles.h"
#include "support/RadioScenario.h"

#include <cmath>
#include <gtest/gtest.h>

namespace tavi::test {
namespace {

using sim::destination;
using sim::GeoPoint;

constexpr int32_t kVtxFrequency = 0x01123000;
constexpr GeoPoint kVtx{46.9, 8.4};
constexpr int32_t kIaalFrequency = 0x01103000;
constexpr GeoPoint kIaalAntenna{47.0, 8.035};
constexpr int32_t kAbFrequency = 0x03750000;
constexpr GeoPoint kAb{47.05, 8.1};
// The region's variation, east.
constexpr double kVariation = 1.5;

class ReceivedStationTest : public RadioScenario {
protected:
    ReceivedStationTest() { writeRegionDatabase(module.folder.path()); }

    void placeAt(GeoPoint position, double altitudeFeet, double trueHeading) {
        panel().setToken(71, position.latitude * 40007000.0 / 360.0);
        panel().setToken(72, position.longitude / 360.0 * 281474976710656.0);
        panel().setToken(73, altitudeFeet * 0.3048);
        panel().setToken(86, trueHeading);
        panel().setToken(81, trueHeading - kVariation);
        panel().setToken(82, kVariation);
    }
};

// 10 nm out on VTX's radial 095 at 10,000 ft, course 090 selected.
TEST_F(ReceivedStationTest, ATunedVorReachesTheRadioReadouts) {
    placeAt(destination(kVtx, 95.0 + kVariation, 10.0), 10000.0, 270.0);
    unit(1).setNavActive(kVtxFrequency);
    unit(1).setCourse(90);
    step(2);

    const RadioUnit& nav1 = unit(1);
    EXPECT_NE(nav1.navSignal, 0);
    EXPECT_TRUE(nav1.hasNav);
    EXPECT_FALSE(nav1.hasLocalizer);
    EXPECT_NEAR(nav1.radial, 95.0, 0.01);
    EXPECT_EQ(nav1.toFrom, RadioUnit::kFrom);
    EXPECT_NEAR(nav1.cdiDeviation, -63.5, 0.1) << "right of the course: fly left";
    EXPECT_NEAR(nav1.stationBearing, 275.0, 0.01);
    EXPECT_TRUE(nav1.hasDme);
    EXPECT_NEAR(nav1.dmeDistance, std::hypot(10.0, 8700.0 / sim::kFeetPerNm), 0.01);
    EXPECT_EQ(nav1.identText, "VTX");
    EXPECT_FALSE(unit(2).hasNav) << "NAV 2 is not tuned";

    unit(1).syncCourseToBearing();
    unit(1).setBackupCourse(275);
    step();
    EXPECT_EQ(unit(1).course, 275);
    EXPECT_EQ(unit(1).toFrom, RadioUnit::kTo);
    EXPECT_NEAR(unit(1).cdiDeviation, 0.0, 0.5);
    EXPECT_EQ(unit(1).backupToFrom, RadioUnit::kTo);
    EXPECT_NEAR(unit(1).backupDeviation, 0.0, 0.5);
}

TEST_F(ReceivedStationTest, TheLocalizerNeedleSensesForTheCourseTheAircraftIsOn) {
    unit(2).setNavActive(kIaalFrequency);
    // Front course, 1 degree left of it (north), inbound.
    placeAt(destination(kIaalAntenna, 271.0, 6.0), 2500.0, 90.0);
    step(2);
    EXPECT_TRUE(unit(2).hasLocalizer);
    EXPECT_NEAR(unit(2).localizer, 90.0, 1e-4);
    EXPECT_NEAR(unit(2).cdiDeviation, 50.8, 0.1);
    EXPECT_TRUE(unit(2).hasGlideSlope);
    EXPECT_TRUE(unit(2).glideSlopeFlag);
    EXPECT_FLOAT_EQ(unit(2).glideSlope, 3.0f);
    EXPECT_LT(unit(2).gsi, 0.0f) << "2500 ft at 6 nm is below the path";

    // Back course, 1 degree north of it, inbound westbound: north is on the right.
    placeAt(destination(kIaalAntenna, 89.0, 6.0), 2500.0, 270.0);
    step(2);
    EXPECT_TRUE(unit(2).hasLocalizer);
    EXPECT_NEAR(unit(2).cdiDeviation, -50.8, 0.1);
    EXPECT_FALSE(unit(2).glideSlopeFlag);
}

TEST_F(ReceivedStationTest, TheAdfPointsAtTheTunedNdb) {
    unit(1).setAdfFrequency(kAbFrequency);
    placeAt(destination(kAb, 200.0, 8.0), 3000.0, 0.0);
    step(2);
    EXPECT_NE(unit(1).adfSignal, 0);
    EXPECT_NEAR(unit(1).adfBearing, 20.0 - kVariation, 0.1) << "magnetic bearing to the NDB";
}

} // namespace
} // namespace tavi::test
