#include "avionics/Gps.h"

#include "support/AvionicsBench.h"

#include <cmath>
#include <gtest/gtest.h>

namespace tavi::test {
namespace {

constexpr int kMagneticHeadingToken = 81;
constexpr int kTrueHeadingToken = 86;

class GpsTest : public testing::Test {
protected:
    Gps& gps() { return *bench.aircraft().gps(); }

    void fly(double groundSpeed, bool onGround, float drift) {
        bench.panel().setVariable("GROUND VELOCITY", 0, groundSpeed);
        bench.ahrs.onGround = onGround;
        bench.adc.driftAngle = drift;
        bench.step();
    }

    AvionicsBench bench;
};

struct TrackCase {
    const char* name;
    double groundSpeed;
    bool onGround;
    float drift;
    float magneticTrack;
    float trueTrack;
};

// Heading 355 magnetic, 3 true; the tracks stay within [0, 360) across north.
const TrackCase kTrackCases[] = {
    {"StandingOnTheGround", 4.9, true, 6.0f, 355.0f, 3.0f},
    {"TaxiingAtFiveKnots", 5.0, true, 6.0f, 1.0f, 9.0f},
    {"SlowInTheAir", 2.0, false, -4.5f, 350.5f, 358.5f},
    {"Cruising", 450.0, false, 6.0f, 1.0f, 9.0f},
};

class GpsTrackTest : public GpsTest, public testing::WithParamInterface<TrackCase> {};

TEST_P(GpsTrackTest, TracksAreTheHeadingsPlusTheDriftExceptStandingOnTheGround) {
    const TrackCase& row = GetParam();
    bench.panel().setToken(kMagneticHeadingToken, 355.0);
    bench.panel().setToken(kTrueHeadingToken, 3.0);
    bench.panel().setVariable("GPS GROUND MAGNETIC TRACK", 0, 123.0);
    bench.panel().setVariable("GPS GROUND TRUE TRACK", 0, 124.0);
    fly(row.groundSpeed, row.onGround, row.drift);
    EXPECT_FLOAT_EQ(gps().magneticTrack, row.magneticTrack);
    EXPECT_FLOAT_EQ(gps().trueTrack, row.trueTrack);
    EXPECT_FLOAT_EQ(gpsTrueTrack(), row.trueTrack);
    EXPECT_FLOAT_EQ(gps().groundSpeed, static_cast<float>(row.groundSpeed));
}

INSTANTIATE_TEST_SUITE_P(Tracks, GpsTrackTest, testing::ValuesIn(kTrackCases),
                         [](const testing::TestParamInfo<TrackCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(GpsTest, PositionComesFromTheSimulatorsFixedPointTokens) {
    // 47.449 N, 122.309 W, as the simulator encodes them.
    bench.panel().setToken(71, 47.449 * 40007000.0 / 360.0);
    bench.panel().setToken(72, -122.309 / 360.0 * std::ldexp(1.0, 48));
    bench.panel().setVariable("GPS POSITION ALT", 0, 132.5);
    bench.step();
    EXPECT_NEAR(gps().latitude, 47.449, 1e-9);
    EXPECT_NEAR(gps().longitude, -122.309, 1e-9);
    EXPECT_DOUBLE_EQ(gps().gpsAltitude, 132.5);

    bench.panel().setToken(72, 179.999 / 360.0 * std::ldexp(1.0, 48));
    bench.step();
    EXPECT_NEAR(gps().longitude, 179.999, 1e-9) << "the date line keeps its precision";
}

struct PowerCase {
    const char* name;
    bool master2;
    bool bus2;
    bool unpowered;
};

const PowerCase kPowerCases[] = {
    {"MasterOnBusPowered", true, true, false},
    {"MasterOff", false, true, true},
    {"BusDead", true, false, true},
};

class GpsPowerTest : public GpsTest, public testing::WithParamInterface<PowerCase> {};

TEST_P(GpsPowerTest, RunsOnBus2BehindAvionicsMaster2) {
    const PowerCase& row = GetParam();
    bench.network.avionicsMaster1 = true;
    bench.network.avionicsMaster2 = row.master2;
    if (row.bus2) {
        bench.network.power({Electric::kDcBus1, Electric::kDcBus2});
    } else {
        bench.network.power({Electric::kDcBus1});
    }
    bench.step(2);
    EXPECT_EQ(gps().unpowered, row.unpowered);

    BusLoads loads;
    gps().addElectricLoad(bench.aircraft(), loads);
    EXPECT_FLOAT_EQ(loads[Electric::kDcBus2], row.unpowered ? 0.0f : 5.0f);
    EXPECT_FLOAT_EQ(loads[Electric::kDcBus1], 0.0f);
}

INSTANTIATE_TEST_SUITE_P(Power, GpsPowerTest, testing::ValuesIn(kPowerCases),
                         [](const testing::TestParamInfo<PowerCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(GpsWithoutNeighboursTest, AnAircraftWithoutAirDataOrAttitudeGivesTheBareHeadings) {
    ModuleHarness module;
    module.startModule();
    Aircraft& aircraft = module.aircraft();
    System* ahrs = aircraft.systems[12];
    System* adc = aircraft.systems[13];
    System* electric = aircraft.systems[9];
    aircraft.systems[12] = nullptr;
    aircraft.systems[13] = nullptr;
    aircraft.systems[9] = nullptr;
    module.simulator.panel.setToken(kTrueHeadingToken, 270.0);
    module.simulator.step();
    EXPECT_FLOAT_EQ(aircraft.gps()->trueTrack, 270.0f);
    EXPECT_TRUE(aircraft.gps()->unpowered);
    aircraft.systems[12] = ahrs;
    aircraft.systems[13] = adc;
    aircraft.systems[9] = electric;
}

} // namespace
} // namespace tavi::test
