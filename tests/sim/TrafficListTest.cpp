#include "sim/TrafficList.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

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

TEST_F(TrafficListTest, TheProviderGivesTheSourceOnlyByItsName) {
    EXPECT_EQ(traffic.trafficSource("ITrafficInfo"), &traffic);
    EXPECT_EQ(traffic.trafficSource("IOther"), nullptr);
    traffic.setSourceAvailable(false);
    EXPECT_EQ(traffic.trafficSource("ITrafficInfo"), nullptr);
}

} // namespace
} // namespace tavi::sim
