#include "sim/TrafficList.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <optional>

namespace tavi::sim {
namespace {

// The user aircraft at 45 N 7 E, as the panel's position tokens give it.
class TrafficListTest : public testing::Test {
protected:
    TrafficListTest() {
        panel.setToken(71, 45.0 * 40007000.0 / 360.0);
        panel.setToken(72, 7.0 / 360.0 * 281474976710656.0);
    }

    TrafficObject northOfUser(uint32_t id, double nauticalMiles) {
        TrafficObject object;
        object.id = id;
        object.latitude = 45.0 + nauticalMiles / 60.0;
        object.longitude = 7.0;
        return object;
    }

    double read(uint32_t id, const char* variable, const char* unit, uint32_t index = 0) {
        double value = -1.0;
        traffic.readVariable(id, traffic.variableId(variable), traffic.unitId(unit), &value, index);
        return value;
    }

    Panel panel;
    TrafficList traffic{panel};
};

TEST_F(TrafficListTest, ListsTheObjectsWithinTheRadiusInTheirOrderUpToTheCount) {
    traffic.set(northOfUser(3, 10.0));
    traffic.set(northOfUser(1, 130.0));
    traffic.set(northOfUser(2, 20.0));
    traffic.set(northOfUser(4, 30.0));
    std::array<uint32_t, 3> ids{};
    EXPECT_EQ(traffic.objectsWithin(120.0 * 1852.0, 3, ids.data()), 3u);
    EXPECT_EQ(ids, (std::array<uint32_t, 3>{3, 2, 4}));
    EXPECT_EQ(traffic.objectsWithin(120.0 * 1852.0, 2, ids.data()), 2u);
    EXPECT_EQ(traffic.objectsWithin(15.0 * 1852.0, 3, ids.data()), 1u);
}

TEST_F(TrafficListTest, VariablesReadInTheirUnitsAndAnythingElseLeavesTheValue) {
    TrafficObject object = northOfUser(5, 10.0);
    object.groundSpeed = 300.0;
    object.verticalSpeed = -1200.0;
    object.engineCombustion = {false, true};
    traffic.set(object);

    EXPECT_DOUBLE_EQ(read(5, "GROUND VELOCITY", "KNOTS"), 300.0);
    EXPECT_NEAR(read(5, "GROUND VELOCITY", "FEET PER MINUTE"), 30380.6, 0.1);
    EXPECT_DOUBLE_EQ(read(5, "velocity world y", "feet per minute"), -1200.0);
    EXPECT_DOUBLE_EQ(read(5, "ENG COMBUSTION", "BOOL", 1), 0.0);
    EXPECT_DOUBLE_EQ(read(5, "ENG COMBUSTION", "BOOL", 2), 1.0);

    EXPECT_DOUBLE_EQ(read(5, "ENG COMBUSTION", "BOOL", 3), -1.0) << "no third engine";
    EXPECT_DOUBLE_EQ(read(5, "PLANE ALTITUDE", "KNOTS"), -1.0) << "a length is no speed";
    EXPECT_DOUBLE_EQ(read(5, "FUEL ON BOARD", "FEET"), -1.0);
    EXPECT_DOUBLE_EQ(read(6, "PLANE ALTITUDE", "FEET"), -1.0) << "no such object";
}

TEST_F(TrafficListTest, ObjectsFlyOnWithTheirSpeeds) {
    TrafficObject object = northOfUser(5, 10.0);
    object.trueHeading = 90.0;
    object.groundSpeed = 360.0;
    object.verticalSpeed = 600.0;
    object.altitude = 5000.0;
    traffic.set(object);
    traffic.advance(60.0);
    const TrafficObject* moved = traffic.find(5);
    EXPECT_NEAR(moved->latitude, object.latitude, 1e-12);
    EXPECT_NEAR((moved->longitude - 7.0) * 60.0 *
                    std::cos(moved->latitude * std::numbers::pi / 180.0),
                6.0, 1e-9);
    EXPECT_DOUBLE_EQ(moved->altitude, 5600.0);
}

TEST_F(TrafficListTest, AnIntruderStartsWhereTheScriptPutsIt) {
    panel.setToken(73, 10000.0 * 0.3048);
    panel.setToken(2, 1500.0 * 0.3048 * 256.0);
    const TrafficObject& ahead =
        traffic.addIntruder(7, TrafficStart::relative(0.0, 6.0, -500.0), {180.0, 250.0});
    EXPECT_NEAR(ahead.latitude, 45.1, 1e-9);
    EXPECT_NEAR(ahead.longitude, 7.0, 1e-9);
    EXPECT_NEAR(ahead.altitude, 9500.0, 1e-6);
    EXPECT_NEAR(ahead.indicatedAltitude, 9500.0, 1e-6);
    EXPECT_NEAR(ahead.heightAboveGround, 8000.0, 1e-6);
    EXPECT_EQ(ahead.trueHeading, 180.0);
    EXPECT_EQ(ahead.engineCombustion, (std::array<bool, 2>{true, true}));

    const TrafficObject& fixed =
        traffic.addIntruder(8, TrafficStart::absolute({45.5, 7.5}, 3000.0), {90.0, 200.0});
    EXPECT_EQ(fixed.latitude, 45.5);
    EXPECT_EQ(fixed.longitude, 7.5);
    EXPECT_EQ(fixed.altitude, 3000.0);
}

TEST_F(TrafficListTest, AHeadOnIntruderClosesAtTheSumOfTheSpeeds) {
    traffic.addIntruder(7, TrafficStart::relative(90.0, 6.0, 0.0), {270.0, 250.0});
    for (int i = 0; i < 18 * 36; ++i) {
        traffic.advance(1.0 / 18.0);
    }
    const TrafficObject* intruder = traffic.find(7);
    EXPECT_NEAR(distanceNm({45.0, 7.0}, {intruder->latitude, intruder->longitude}), 3.5, 0.01);
}

struct ClimbCase {
    double verticalSpeed;
    std::optional<double> levelOff;
    double seconds;
    double altitude;
    double finalVerticalSpeed;
};

// From 8000 ft, in ticks of 1/18 s.
TEST_F(TrafficListTest, ClimbsAndDescentsLevelOffWhereTheScriptSays) {
    const ClimbCase cases[] = {
        {1500.0, 9000.0, 30.0, 8750.0, 1500.0}, {1500.0, 9000.0, 60.0, 9000.0, 0.0},
        {-1000.0, 7500.0, 60.0, 7500.0, 0.0},   {1000.0, std::nullopt, 60.0, 9000.0, 1000.0},
        {1000.0, 7000.0, 60.0, 9000.0, 1000.0},
    };
    for (const ClimbCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.verticalSpeed << " fpm for " << c.seconds << " s");
        traffic.addIntruder(9, TrafficStart::absolute({45.2, 7.0}, 8000.0),
                            {0.0, 200.0, c.verticalSpeed, c.levelOff});
        for (int i = 0; i < static_cast<int>(c.seconds * 18.0); ++i) {
            traffic.advance(1.0 / 18.0);
        }
        EXPECT_NEAR(traffic.find(9)->altitude, c.altitude, 1e-6);
        EXPECT_EQ(traffic.find(9)->verticalSpeed, c.finalVerticalSpeed);
    }
}

TEST_F(TrafficListTest, TheProviderGivesTheSourceOnlyByItsName) {
    EXPECT_EQ(traffic.trafficSource("ITrafficInfo"), &traffic);
    EXPECT_EQ(traffic.trafficSource("IOther"), nullptr);
    traffic.setSourceAvailable(false);
    EXPECT_EQ(traffic.trafficSource("ITrafficInfo"), nullptr);
}

} // namespace
} // namespace tavi::sim
