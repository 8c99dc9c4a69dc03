#include "airframe/ThrustTables.h"

#include <algorithm>
#include <array>
#include <gtest/gtest.h>

namespace tavi::test {
namespace {

using Table = ThrustTables::Table;

struct SizeRow {
    Table table;
    int32_t rows;
    int32_t columns;
};

// The grids include the axis row and column.
TEST(ThrustTablesTest, EveryTableHasItsGrid) {
    const ThrustTables tables;
    const std::array<SizeRow, ThrustTables::kTableCount> sizes = {{
        {ThrustTables::kTakeoff, 40, 23},
        {ThrustTables::kTakeoffAntiIce, 40, 12},
        {ThrustTables::kGoAround100, 13, 23},
        {ThrustTables::kGoAround150, 13, 23},
        {ThrustTables::kGoAround200, 13, 23},
        {ThrustTables::kGoAround100AntiIce, 13, 12},
        {ThrustTables::kGoAround150AntiIce, 13, 12},
        {ThrustTables::kGoAround200AntiIce, 13, 12},
        {ThrustTables::kAltTakeoff, 40, 12},
        {ThrustTables::kAltTakeoffAntiIce, 40, 12},
        {ThrustTables::kFlightIdle, 14, 12},
        {ThrustTables::kFlightIdleAntiIce, 21, 15},
        {ThrustTables::kContinuous, 19, 13},
        {ThrustTables::kContinuousAntiIce100, 21, 12},
        {ThrustTables::kContinuousAntiIce200, 21, 12},
        {ThrustTables::kClimb, 19, 13},
        {ThrustTables::kCruise, 19, 15},
    }};
    for (const SizeRow& size : sizes) {
        const Interpolator2D& table = tables.table(size.table);
        EXPECT_EQ(table.rows, size.rows) << "table " << size.table;
        EXPECT_EQ(table.columns, size.columns) << "table " << size.table;
        for (int32_t row = 1; row < table.rows; ++row) {
            for (int32_t column = 1; column < table.columns; ++column) {
                const float n1 = table.table[row * table.columns + column];
                ASSERT_GT(n1, 20.0f) << "table " << size.table;
                ASSERT_LT(n1, 110.0f) << "table " << size.table;
            }
        }
    }
}

struct PointRow {
    Table table;
    float x;
    float altitude;
    float n1;
};

class ThrustTablePointTest : public testing::TestWithParam<PointRow> {
protected:
    static const ThrustTables& tables() {
        static const ThrustTables instance;
        return instance;
    }
};

TEST_P(ThrustTablePointTest, ReadsItsScheduleAtTheGridPoint) {
    const PointRow row = GetParam();
    EXPECT_FLOAT_EQ(tables().lookup(row.table, row.x, row.altitude), row.n1);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, ThrustTablePointTest,
    testing::Values(PointRow{ThrustTables::kTakeoff, 15, 0, 86.5f},
                    PointRow{ThrustTables::kTakeoffAntiIce, 0, 0, 84.2f},
                    PointRow{ThrustTables::kGoAround100, 15, 0, 86.5f},
                    PointRow{ThrustTables::kGoAround150, 15, 0, 86.4f},
                    PointRow{ThrustTables::kGoAround200, 15, 0, 86.2f},
                    PointRow{ThrustTables::kAltTakeoff, 20, 0, 84.3f},
                    PointRow{ThrustTables::kAltTakeoffAntiIce, 0, 0, 81.3f},
                    PointRow{ThrustTables::kFlightIdle, 0, 35000, 57.0f},
                    PointRow{ThrustTables::kFlightIdleAntiIce, -40, 20000, 60.2f},
                    PointRow{ThrustTables::kContinuous, 0, 11000, 89.4f},
                    PointRow{ThrustTables::kContinuousAntiIce100, 0, 10000, 86.9f},
                    PointRow{ThrustTables::kContinuousAntiIce200, 0, 10000, 87.8f},
                    PointRow{ThrustTables::kClimb, 0, 25000, 90.4f},
                    PointRow{ThrustTables::kCruise, 0, 35000, 90.5f}));

TEST(ThrustTablesTest, TakeoffThrustRisesWithTemperatureUpToItsCornerAndFallsAboveIt) {
    const ThrustTables tables;
    const std::array<float, 22> seaLevel = {75.5f, 76.1f, 77.0f, 77.8f, 78.7f, 79.5f, 80.3f, 81.1f,
                                            81.9f, 82.7f, 83.5f, 84.2f, 85.0f, 85.8f, 86.5f, 87.3f,
                                            88.0f, 88.8f, 89.5f, 90.2f, 90.9f, 90.8f};
    const std::array<float, 22> temperatures = {-54, -50, -45, -40, -35, -30, -25, -20,
                                                -15, -10, -5,  0,   5,   10,  15,  20,
                                                25,  30,  35,  40,  45,  50};
    std::array<float, 22> at5000{};
    for (std::size_t i = 0; i < temperatures.size(); ++i) {
        EXPECT_FLOAT_EQ(tables.lookup(ThrustTables::kTakeoff, temperatures[i], 0.0f), seaLevel[i])
            << temperatures[i];
        at5000[i] = tables.lookup(ThrustTables::kTakeoff, temperatures[i], 5000.0f);
    }
    EXPECT_FLOAT_EQ(at5000.front(), 80.4f);
    EXPECT_FLOAT_EQ(at5000.back(), 90.6f);
    const auto peak = std::max_element(at5000.begin(), at5000.end());
    EXPECT_FLOAT_EQ(*peak, 93.8f);
    EXPECT_EQ(temperatures[static_cast<std::size_t>(peak - at5000.begin())], 25.0f);
    EXPECT_TRUE(std::is_sorted(at5000.begin(), peak + 1));
    EXPECT_TRUE(std::is_sorted(peak, at5000.end(), std::greater<float>()));

    EXPECT_FLOAT_EQ(tables.lookup(ThrustTables::kTakeoff, 12.5f, 0.0f), (85.8f + 86.5f) / 2.0f)
        << "bilinear between the grid points";
    EXPECT_FLOAT_EQ(tables.lookup(ThrustTables::kTakeoff, -80.0f, -5000.0f),
                    tables.lookup(ThrustTables::kTakeoff, -54.0f, -1000.0f))
        << "clamped to the axes";
}

} // namespace
} // namespace tavi::test

namespace tavi::test {
namespace {

double standardTemperature(double altitude) {
    return std::max(15.0 - 0.0019812 * altitude, -56.5);
}

// Take-off >= go-around (to 10000 ft) >= maximum continuous >= climb >= cruise at the same
// pressure altitude and air temperature, on and between the grid points, and where lookups
// clamp to the axes. With anti-ice, the take-off, go-around and continuous tables likewise.
TEST(ThrustTablesTest, RatingsKeepTheirOrderAtEveryAltitudeAndTemperature) {
    const ThrustTables tables;
    const auto at = [&](Table table, double x, double altitude) {
        return tables.lookup(table, static_cast<float>(x), static_cast<float>(altitude));
    };
    int checked = 0;
    for (double altitude = -1000.0; altitude <= 39000.0; altitude += 250.0) {
        for (double deviation = -75.0; deviation <= 45.0; deviation += 1.0) {
            const double sat = standardTemperature(altitude) + deviation;
            const bool goAround = altitude <= 10000.0;
            std::vector<std::pair<const char*, float>> order = {
                {"take-off", at(ThrustTables::kTakeoff, sat, altitude)}};
            if (goAround) {
                order.emplace_back("go-around 100 kt",
                                   at(ThrustTables::kGoAround100, sat, altitude));
                order.emplace_back("go-around 200 kt",
                                   at(ThrustTables::kGoAround200, sat, altitude));
            }
            order.emplace_back("continuous", at(ThrustTables::kContinuous, deviation, altitude));
            order.emplace_back("climb", at(ThrustTables::kClimb, deviation, altitude));
            order.emplace_back("cruise", at(ThrustTables::kCruise, deviation, altitude));
            for (std::size_t i = 1; i < order.size(); ++i) {
                ASSERT_GE(order[i - 1].second, order[i].second)
                    << order[i - 1].first << " below " << order[i].first << " at " << altitude
                    << " " << order[i - 1].second << " " << order[i].second << " ft, ISA "
                    << deviation;
            }
            if (sat <= 10.0) {
                const float takeoff = at(ThrustTables::kTakeoffAntiIce, sat, altitude);
                const float continuous =
                    std::max(at(ThrustTables::kContinuousAntiIce100, sat, altitude),
                             at(ThrustTables::kContinuousAntiIce200, sat, altitude));
                float lowestGoAround = takeoff;
                if (goAround) {
                    for (Table table :
                         {ThrustTables::kGoAround100AntiIce, ThrustTables::kGoAround150AntiIce,
                          ThrustTables::kGoAround200AntiIce}) {
                        ASSERT_GE(takeoff, at(table, sat, altitude)) << altitude << " ft " << sat;
                        lowestGoAround = std::min(lowestGoAround, at(table, sat, altitude));
                    }
                }
                ASSERT_GE(lowestGoAround, continuous) << altitude << " ft, SAT " << sat;
            }
            ++checked;
        }
    }
    EXPECT_GT(checked, 0);
}

} // namespace
} // namespace tavi::test
