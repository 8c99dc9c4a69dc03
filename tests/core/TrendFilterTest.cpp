#include "core/TrendFilter.h"

#include "support/NonFiniteValues.h"

#include <gtest/gtest.h>
#include <limits>

namespace tavi {
namespace {

using test::kInfinity;
using test::kNaN;

class TrendFilterTest : public testing::Test {
protected:
    void SetUp() override { filter.init(2.0, 0.5); }

    TrendFilter filter;
};

TEST_F(TrendFilterTest, FirstSampleHasNoRate) {
    EXPECT_DOUBLE_EQ(filter.update(0.5, 10.0), 10.0);
}

TEST_F(TrendFilterTest, ZeroTimeStepReturnsTheValue) {
    filter.update(0.5, 10.0);
    EXPECT_DOUBLE_EQ(filter.update(0.0, 7.0), 7.0);
    EXPECT_DOUBLE_EQ(filter.update(-1.0, 3.0), 3.0);
}

// Ramp of 4 per unit sampled every 0.25: the smoothed rate approaches 4 by
// rate = 0.75 rate + 0.25 x 4, and the output is v + 2 x (0.5 rate + 0.5 x 4).
TEST_F(TrendFilterTest, ProjectsARampAhead) {
    EXPECT_DOUBLE_EQ(filter.update(0.25, 0.0), 0.0);
    EXPECT_DOUBLE_EQ(filter.update(0.25, 1.0), 6.0);
    EXPECT_DOUBLE_EQ(filter.update(0.25, 2.0), 7.75);
    EXPECT_DOUBLE_EQ(filter.update(0.25, 3.0), 9.3125);
    EXPECT_DOUBLE_EQ(filter.smoothedRate, 2.3125);
}

TEST_F(TrendFilterTest, LongTimeStepTakesTheRawRate) {
    filter.init(3.0, 0.0);
    filter.update(1.0, 5.0);
    EXPECT_DOUBLE_EQ(filter.update(2.0, 9.0), 15.0);
}

TEST_F(TrendFilterTest, NonFiniteSampleIsIgnored) {
    for (double value : {0.0, 1.0, 2.0, 3.0}) {
        filter.update(0.25, value);
    }
    EXPECT_DOUBLE_EQ(filter.update(0.25, kNaN), 9.3125);
    EXPECT_DOUBLE_EQ(filter.update(kInfinity, 3.5), 9.3125);
    EXPECT_DOUBLE_EQ(filter.update(kNaN, 3.5), 9.3125);
    // The ramp goes on as if the bad samples had never come: rate 2.734375.
    EXPECT_DOUBLE_EQ(filter.update(0.25, 4.0), 10.734375);
}

} // namespace
} // namespace tavi
