#include "core/Interpolator2D.h"

#include <gtest/gtest.h>
#include <limits>
#include <vector>

namespace tavi {
namespace {

// x axis 0, 10, 20; y axis 100, 200, 300.
std::vector<float> sampleTable() {
    return {
        0.0f,   0.0f, 10.0f, 20.0f, //
        100.0f, 1.0f, 2.0f,  4.0f,  //
        200.0f, 3.0f, 5.0f,  9.0f,  //
        300.0f, 6.0f, 8.0f,  14.0f, //
    };
}

struct LookupCase {
    float x;
    float y;
    float expected;
};

class Interpolator2DLookup : public testing::TestWithParam<LookupCase> {};

TEST_P(Interpolator2DLookup, InterpolatesBilinearlyAndClampsAtTheEdges) {
    std::vector<float> table = sampleTable();
    const Interpolator2D interpolator(table.data(), 4, 4);
    const LookupCase& c = GetParam();
    EXPECT_FLOAT_EQ(interpolator.lookup(c.x, c.y), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Points, Interpolator2DLookup,
                         testing::Values(
                             // On breakpoints.
                             LookupCase{0.0f, 100.0f, 1.0f}, LookupCase{10.0f, 200.0f, 5.0f},
                             LookupCase{20.0f, 300.0f, 14.0f}, LookupCase{0.0f, 300.0f, 6.0f},
                             // Between breakpoints.
                             LookupCase{5.0f, 100.0f, 1.5f}, LookupCase{15.0f, 250.0f, 9.0f},
                             LookupCase{2.5f, 125.0f, 1.8125f},
                             // At the x maximum: the last column, interpolated in y only.
                             LookupCase{20.0f, 150.0f, 6.5f}, LookupCase{20.0f, 250.0f, 11.5f},
                             // Past the axes: the nearest edge.
                             LookupCase{-5.0f, 50.0f, 1.0f}, LookupCase{100.0f, 1000.0f, 14.0f},
                             LookupCase{-5.0f, 250.0f, 4.5f}, LookupCase{30.0f, 150.0f, 6.5f},
                             LookupCase{15.0f, -1000.0f, 3.0f},
                             // A NaN coordinate counts as the axis minimum.
                             LookupCase{std::numeric_limits<float>::quiet_NaN(), 100.0f, 1.0f}));

struct StoreCase {
    float x;
    float y;
    int column;
    int row;
};

class Interpolator2DStore : public testing::TestWithParam<StoreCase> {};

// Store intervals are half-open: an axis value belongs to the cell that starts there; at an
// axis maximum it is the last cell.
TEST_P(Interpolator2DStore, WritesTheCellThatHoldsThePoint) {
    std::vector<float> table = sampleTable();
    Interpolator2D interpolator(table.data(), 4, 4);
    const StoreCase& c = GetParam();
    interpolator.store(c.x, c.y, 99.0f);

    std::vector<float> expected = sampleTable();
    expected[static_cast<std::size_t>(c.row * 4 + c.column)] = 99.0f;
    EXPECT_EQ(table, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Points, Interpolator2DStore,
    testing::Values(StoreCase{10.0f, 200.0f, 2, 2}, StoreCase{5.0f, 150.0f, 1, 1},
                    StoreCase{9.9f, 199.0f, 1, 1}, StoreCase{20.0f, 300.0f, 3, 3},
                    StoreCase{20.0f, 100.0f, 3, 1}, StoreCase{0.0f, 300.0f, 1, 3},
                    StoreCase{-5.0f, 1000.0f, 1, 3}, StoreCase{50.0f, 250.0f, 3, 2}));

TEST(Interpolator2DTest, LookupReadsWhatStoreWrote) {
    std::vector<float> table = sampleTable();
    Interpolator2D interpolator(table.data(), 4, 4);
    interpolator.store(10.0f, 200.0f, 99.0f);
    EXPECT_FLOAT_EQ(interpolator.lookup(10.0f, 200.0f), 99.0f);
}

// x axis 0, 0, 10 and y axis 5, 5, 6: an interval between equal values counts as its start.
TEST(Interpolator2DTest, EqualAxisValuesGiveTheIntervalStart) {
    std::vector<float> table = {
        0.0f, 0.0f, 0.0f, 10.0f, //
        5.0f, 1.0f, 2.0f, 7.0f,  //
        5.0f, 3.0f, 4.0f, 9.0f,  //
        6.0f, 5.0f, 6.0f, 11.0f, //
    };
    const Interpolator2D interpolator(table.data(), 4, 4);
    EXPECT_FLOAT_EQ(interpolator.lookup(0.0f, 5.0f), 1.0f);
    EXPECT_FLOAT_EQ(interpolator.lookup(5.0f, 5.0f), 4.5f);
    EXPECT_FLOAT_EQ(interpolator.lookup(0.0f, 5.5f), 4.0f);
}

// Tables sized exactly, so that a read past the end shows under the address sanitizer.
TEST(Interpolator2DTest, SingleAxisValueIsNotInterpolatedAlong) {
    std::vector<float> column = {
        0.0f,  7.0f, //
        0.0f,  2.0f, //
        10.0f, 4.0f, //
    };
    const Interpolator2D byY(column.data(), 3, 2);
    EXPECT_FLOAT_EQ(byY.lookup(-50.0f, 5.0f), 3.0f);
    EXPECT_FLOAT_EQ(byY.lookup(100.0f, 10.0f), 4.0f);

    std::vector<float> row = {
        0.0f, 0.0f, 10.0f, //
        3.0f, 1.0f, 3.0f,  //
    };
    const Interpolator2D byX(row.data(), 2, 3);
    EXPECT_FLOAT_EQ(byX.lookup(5.0f, 99.0f), 2.0f);
    EXPECT_FLOAT_EQ(byX.lookup(10.0f, 0.0f), 3.0f);

    std::vector<float> single = {0.0f, 7.0f, 3.0f, 42.0f};
    Interpolator2D one(single.data(), 2, 2);
    EXPECT_FLOAT_EQ(one.lookup(1.0f, 2.0f), 42.0f);
    one.store(100.0f, -100.0f, 5.0f);
    EXPECT_EQ(single, (std::vector<float>{0.0f, 7.0f, 3.0f, 5.0f}));
}

TEST(Interpolator2DTest, WithoutValueCellsLooksUpZeroAndStoresNothing) {
    Interpolator2D none;
    EXPECT_FLOAT_EQ(none.lookup(1.0f, 2.0f), 0.0f);
    none.store(1.0f, 2.0f, 3.0f);

    Interpolator2D null(nullptr, 4, 4);
    EXPECT_FLOAT_EQ(null.lookup(1.0f, 2.0f), 0.0f);
    null.store(1.0f, 2.0f, 3.0f);

    std::vector<float> axisOnly = {0.0f, 1.0f, 2.0f};
    for (auto [rows, columns] : {std::pair{1, 3}, std::pair{3, 1}, std::pair{-1, 3}}) {
        Interpolator2D interpolator(axisOnly.data(), rows, columns);
        EXPECT_FLOAT_EQ(interpolator.lookup(1.0f, 1.0f), 0.0f);
        interpolator.store(1.0f, 1.0f, 9.0f);
    }
    EXPECT_EQ(axisOnly, (std::vector<float>{0.0f, 1.0f, 2.0f}));
}

} // namespace
} // namespace tavi
