#include "sim/Receivers.h"

#include "support/NavFixtureFiles.h"
#include "support/TempFolder.h"

#include <cmath>
#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace tavi::sim {
namespace {

constexpr uint32_t kVtx = 0x01123000;    // VORTAC VTX, 1.5 degrees east, high
constexpr uint32_t kIaal = 0x01103000;   // ILS IAAL, course 090 true, runway 09L
constexpr uint32_t kDma = 0x01140000;    // paired with channel 087X of the DME DMA
constexpr uint32_t kShared = 0x01163000; // the VOR ABC and the ILS IAAR
constexpr uint32_t kAb = 0x03750000;     // NDB AB
constexpr GeoPoint kVtxAt{46.9, 8.4};
constexpr double kVtxElevation = 1300.0;
constexpr GeoPoint kIaalAntenna{47.0, 8.035};
constexpr GeoPoint kThreshold09L{47.0, 7.98};
constexpr double kThresholdElevation = 1405.0;
constexpr GeoPoint kDmaAt{47.3, 7.7};
constexpr GeoPoint kAbAt{47.05, 8.1};
constexpr double kTick = 1.0 / 18.0;

// The receivers of a panel, over the test region's navigation database.
class ReceiversTest : public testing::Test {
protected:
    ReceiversTest() { test::writeRegionDatabase(root.path()); }

    void placeAt(GeoPoint position, double altitudeFeet, double trueHeading = 0.0) {
        panel.setToken(71, position.latitude * 40007000.0 / 360.0);
        panel.setToken(72, position.longitude / 360.0 * 281474976710656.0);
        panel.setToken(73, altitudeFeet * 0.3048);
        panel.setToken(86, trueHeading);
    }
    void tuneNav(uint32_t frequency, double course = 0.0, int side = 1) {
        panel.setVariable("NAV ACTIVE FREQUENCY", side, frequency);
        panel.setVariable("NAV OBS", side, course);
    }
    void receive() { receivers.update(kTick); }
    double nav(const char* name, int side = 1) const { return panel.variable(name, side); }
    std::optional<std::string> ident(int token) {
        platform::TokenRecord record{.id = token};
        panel.lookupToken(record);
        if (!record.valuePointer) {
            return std::nullopt;
        }
        return static_cast<const char*>(record.valuePointer);
    }

    test::TempFolder root;
    Panel panel;
    Receivers receivers{panel, root.path() / "Orvane/Nd/nd.sqlite"};
};

TEST(GeodesyTest, DistancesAndCoursesOnTheSphere) {
    EXPECT_NEAR(distanceNm({47.0, 8.0}, {48.0, 8.0}), 60.0, 1e-9);
    EXPECT_NEAR(distanceNm({0.0, 179.5}, {0.0, -179.5}), 60.0, 1e-9);
    EXPECT_NEAR(bearingDegrees({0.0, 0.0}, {0.0, 1.0}), 90.0, 1e-9);
    EXPECT_NEAR(bearingDegrees({47.0, 8.0}, {46.0, 8.0}), 180.0, 1e-9);
    const GeoPoint there = destination({47.0, 8.0}, 135.0, 25.0);
    EXPECT_NEAR(distanceNm({47.0, 8.0}, there), 25.0, 1e-9);
    EXPECT_NEAR(bearingDegrees({47.0, 8.0}, there), 135.0, 1e-9);
    EXPECT_NEAR(destination({0.0, 179.9}, 90.0, 12.0).longitude, -179.9, 1e-9);
}

struct VorCase {
    double radial; // magnetic, from the station
    double course;
    int toFrom;
    double cdi;
};

// 10 nm from VTX at 10,000 ft: TO/FROM and the needle for radials around the selected course.
TEST_F(ReceiversTest, VorRadialToFromAndNeedleAgainstTheSelectedCourse) {
    const VorCase cases[] = {
        {90.0, 90.0, 2, 0.0},   {95.0, 90.0, 2, -63.5},   {85.0, 90.0, 2, 63.5},
        {270.0, 90.0, 1, 0.0},  {265.0, 90.0, 1, -63.5},  {275.0, 90.0, 1, 63.5},
        {20.0, 90.0, 2, 127.0}, {160.0, 90.0, 2, -127.0}, {180.0, 90.0, 0, -127.0},
        {0.0, 357.0, 2, -38.1}, {178.0, 0.0, 1, -25.4},
    };
    for (const VorCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "radial " << c.radial << " course " << c.course);
        placeAt(destination(kVtxAt, c.radial + 1.5, 10.0), 10000.0);
        tuneNav(kVtx, c.course);
        receive();
        EXPECT_EQ(nav("NAV SIGNAL"), Receivers::kSignalStrength);
        EXPECT_EQ(nav("NAV HAS NAV"), 1.0);
        EXPECT_EQ(nav("NAV HAS LOCALIZER"), 0.0);
        EXPECT_NEAR(degreesPlusMinus180(nav("NAV RADIAL") - c.radial), 0.0, 1e-6);
        EXPECT_EQ(nav("NAV TOFROM"), c.toFrom);
        EXPECT_NEAR(nav("NAV CDI"), c.cdi, 0.01);
        EXPECT_DOUBLE_EQ(nav("NAV MAGVAR"), 358.5) << "true course = OBS - NAV MAGVAR";
    }
}

TEST_F(ReceiversTest, DmeGivesTheSlantDistanceAndItsRateAndTheIdentNamesTheStation) {
    tuneNav(kVtx, 0.0, 2);
    placeAt(destination(kVtxAt, 45.0, 10.0), 10000.0);
    receive();
    const double height = (10000.0 - kVtxElevation) / kFeetPerNm;
    EXPECT_EQ(nav("NAV HAS DME", 2), 1.0);
    EXPECT_NEAR(nav("NAV DME", 2), std::hypot(10.0, height), 1e-6);
    EXPECT_EQ(ident(56), "VTX");
    EXPECT_EQ(ident(47), std::nullopt) << "NAV 1 is not tuned";

    // 0.1 nm further in a second: 360 kt over the ground, a little less along the slant.
    placeAt(destination(kVtxAt, 45.0, 10.1), 10000.0);
    receivers.update(1.0);
    EXPECT_NEAR(nav("NAV DMESPEED", 2), 360.0 * 10.05 / std::hypot(10.05, height), 0.5);
}

TEST_F(ReceiversTest, ADmeWithoutAVorGivesDistanceButNoNavigationSignal) {
    tuneNav(kDma);
    placeAt(destination(kDmaAt, 200.0, 10.0), 8000.0);
    receive();
    EXPECT_EQ(nav("NAV SIGNAL"), 0.0);
    EXPECT_EQ(nav("NAV HAS NAV"), 0.0);
    EXPECT_EQ(nav("NAV HAS DME"), 1.0);
    EXPECT_NEAR(nav("NAV DME"), 10.0, 0.2);
    EXPECT_EQ(ident(47), "DMA");
}

struct RangeCase {
    double distance;
    double altitude;
    bool heard;
};

// VTX is a high station (130 nm); low down the horizon ends reception first.
TEST_F(ReceiversTest, AStationOutOfRangeOrBelowTheHorizonIsNotReceived) {
    const RangeCase cases[] = {
        {100.0, 35000.0, true},
        {140.0, 35000.0, false},
        {60.0, 2000.0, false},
        {30.0, 2000.0, true},
    };
    tuneNav(kVtx);
    for (const RangeCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.distance << " nm at " << c.altitude << " ft");
        placeAt(destination(kVtxAt, 0.0, c.distance), c.altitude);
        receive();
        EXPECT_EQ(nav("NAV SIGNAL") != 0.0, c.heard);
        EXPECT_EQ(nav("NAV HAS NAV") != 0.0, c.heard);
        EXPECT_EQ(nav("NAV HAS DME") != 0.0, c.heard);
        EXPECT_EQ(ident(47).has_value(), c.heard);
        if (!c.heard) {
            EXPECT_EQ(nav("NAV CDI"), 0.0);
            EXPECT_EQ(nav("NAV TOFROM"), 0.0);
        }
    }
}

TEST_F(ReceiversTest, OfTwoStationsOnOneFrequencyTheNearestHeardOneIsReceived) {
    tuneNav(kShared);
    placeAt(destination(kThreshold09L, 270.0, 6.0), 3000.0);
    receive();
    EXPECT_EQ(ident(47), "IAAR");
    EXPECT_EQ(nav("NAV HAS LOCALIZER"), 1.0);

    placeAt(destination({47.2, 8.3}, 45.0, 10.0), 10000.0);
    receive();
    EXPECT_EQ(ident(47), "ABC");
    EXPECT_EQ(nav("NAV HAS LOCALIZER"), 0.0);
    EXPECT_EQ(nav("NAV HAS NAV"), 1.0);
}

struct LocalizerCase {
    double bearingFromAntenna;
    double distance;
    bool heard;
    double cdi;
    int backCourseFlags;
};

// IAAL's course is 090 true; the approach comes from the west.
TEST_F(ReceiversTest, LocalizerDeviationAndCoverageOnTheFrontAndBackCourse) {
    const LocalizerCase cases[] = {
        {270.0, 8.0, true, 0.0, 0},    {269.0, 8.0, true, -50.8, 0},  {271.0, 8.0, true, 50.8, 0},
        {267.0, 8.0, true, -127.0, 0}, {290.0, 12.0, true, 127.0, 0}, {290.0, 20.0, false, 0.0, 0},
        {275.0, 20.0, true, 127.0, 0}, {310.0, 5.0, false, 0.0, 0},   {270.0, 30.0, false, 0.0, 0},
        {91.0, 5.0, true, -50.8, 20},  {89.0, 5.0, true, 50.8, 20},
    };
    tuneNav(kIaal);
    for (const LocalizerCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bearingFromAntenna << " deg, " << c.distance << " nm");
        placeAt(destination(kIaalAntenna, c.bearingFromAntenna, c.distance), 4000.0);
        receive();
        EXPECT_EQ(nav("NAV HAS LOCALIZER") != 0.0, c.heard);
        EXPECT_EQ(nav("NAV SIGNAL") != 0.0, c.heard);
        EXPECT_NEAR(nav("NAV CDI"), c.cdi, 0.05);
        EXPECT_EQ(nav("NAV BACK COURSE FLAGS"), c.backCourseFlags);
        if (c.heard) {
            EXPECT_DOUBLE_EQ(nav("NAV LOCALIZER"), 90.0);
            EXPECT_NEAR(nav("NAV RADIAL"), c.bearingFromAntenna, 1e-6);
            EXPECT_EQ(ident(47), "IAAL");
        }
    }
}

struct GlideSlopeCase {
    double distance; // from the glide slope's antenna
    double angle;    // seen from it
    bool heard;
    double gsi;
};

TEST_F(ReceiversTest, GlideSlopeDeviationAboveAndBelowTheThreeDegreePath) {
    const GeoPoint antenna = destination(kThreshold09L, 90.0, 1000.0 / kFeetPerNm);
    const GlideSlopeCase cases[] = {
        {5.0, 3.0, true, 0.0},   {5.0, 3.35, true, 60.0},   {5.0, 2.3, true, -120.0},
        {2.0, 4.0, true, 120.0}, {0.5, 2.825, true, -30.0}, {12.0, 3.0, false, 0.0},
    };
    tuneNav(kIaal);
    for (const GlideSlopeCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.distance << " nm at " << c.angle << " deg");
        const double height = c.distance * kFeetPerNm * std::tan(c.angle * kDegreesToRadians);
        placeAt(destination(antenna, 270.0, c.distance), kThresholdElevation + height);
        receive();
        EXPECT_EQ(nav("NAV HAS GLIDE SLOPE"), 1.0);
        EXPECT_DOUBLE_EQ(nav("NAV GLIDE SLOPE"), 3.0 * 131072.0);
        EXPECT_EQ(nav("NAV GS FLAG") != 0.0, c.heard);
        EXPECT_NEAR(nav("NAV GSI"), c.gsi, 0.05);
    }
    placeAt(destination(kIaalAntenna, 90.0, 3.0), 3000.0);
    receive();
    EXPECT_EQ(nav("NAV HAS LOCALIZER"), 1.0);
    EXPECT_EQ(nav("NAV HAS GLIDE SLOPE"), 0.0) << "no glide slope on the back course";
    EXPECT_EQ(nav("NAV GS FLAG"), 0.0);
}

struct MarkerCase {
    double feetBeforeThreshold;
    double height;
    int marker;
};

TEST_F(ReceiversTest, MarkersOfTheTunedApproachAreHeardOverhead) {
    const MarkerCase cases[] = {
        {3.9 * kFeetPerNm, 1300.0, 1}, {3500.0, 250.0, 2}, {1000.0, 100.0, 3},
        {1.5 * kFeetPerNm, 500.0, 0},  {3700.0, 100.0, 0},
    };
    tuneNav(kIaal);
    for (const MarkerCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.feetBeforeThreshold << " ft before the threshold");
        placeAt(destination(kThreshold09L, 270.0, c.feetBeforeThreshold / kFeetPerNm),
                kThresholdElevation + c.height);
        receive();
        EXPECT_EQ(panel.token(Receivers::kMarkerToken), c.marker);
    }
}

struct AdfCase {
    double distance;
    double heading;
    double signal;
    double relativeBearing;
};

// South of the NDB AB, which reaches 25 nm; the needle rests at 90 without a station.
TEST_F(ReceiversTest, AdfRelativeBearingToTheStationAndRestWithoutOne) {
    const AdfCase cases[] = {
        {10.0, 0.0, 100.0, 0.0},
        {10.0, 90.0, 100.0, 270.0},
        {10.0, 300.0, 100.0, 60.0},
        {30.0, 0.0, 0.0, 90.0},
    };
    panel.setVariable("ADF ACTIVE FREQUENCY", 2, kAb);
    for (const AdfCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.distance << " nm heading " << c.heading);
        placeAt(destination(kAbAt, 180.0, c.distance), 3000.0, c.heading);
        receive();
        EXPECT_EQ(panel.variable("ADF SIGNAL", 2), c.signal);
        EXPECT_NEAR(panel.variable("ADF RADIAL", 2), c.relativeBearing, 1e-6);
    }
}

TEST_F(ReceiversTest, StationsAreSearchedAgainOnlyForANewFrequencyOrAFarMove) {
    tuneNav(kVtx);
    placeAt(kVtxAt, 10000.0);
    for (int i = 0; i < 20; ++i) {
        receive();
    }
    tuneNav(kVtx, 123.0);
    placeAt(destination(kVtxAt, 0.0, Receivers::kSearchAgainNm - 5.0), 10000.0);
    receive();
    EXPECT_EQ(receivers.stationLookups(), 1);

    placeAt(destination(kVtxAt, 0.0, Receivers::kSearchAgainNm + 5.0), 10000.0);
    receive();
    EXPECT_EQ(receivers.stationLookups(), 2);
    tuneNav(kIaal);
    receive();
    EXPECT_EQ(receivers.stationLookups(), 3);
}

TEST(ReceiversWithoutDatabaseTest, LeaveWhatATestSetUntilADatabaseIsFound) {
    test::TempFolder root;
    Panel panel;
    Receivers receivers{panel, root.path() / "Orvane/Nd/nd.sqlite"};
    panel.setVariable("NAV ACTIVE FREQUENCY", 1, kVtx);
    panel.setVariable("NAV CDI", 1, 42.0);
    receivers.update(kTick);
    EXPECT_FALSE(receivers.hasDatabase());
    EXPECT_EQ(panel.variable("NAV CDI", 1), 42.0);

    test::writeRegionDatabase(root.path());
    panel.setVariable("NAV ACTIVE FREQUENCY", 1, kIaal);
    receivers.update(kTick);
    EXPECT_TRUE(receivers.hasDatabase());
    EXPECT_EQ(panel.variable("NAV CDI", 1), 0.0) << "nothing is received at 0N 0E";
}

TEST(DmeChannelTest, NavFrequenciesPairWithTheirChannels) {
    const std::pair<uint32_t, const char*> cases[] = {
        {0x01080000, "017X"}, {0x01080500, "017Y"}, {0x01122500, "059Y"}, {0x01123000, "070X"},
        {0x01140000, "087X"}, {0x01179500, "126Y"}, {0x01180000, ""},     {0x01079500, ""},
    };
    for (const auto& [frequency, channel] : cases) {
        EXPECT_EQ(NavStations::dmeChannel(frequency), channel) << std::hex << frequency;
    }
}

} // namespace
} // namespace tavi::sim
