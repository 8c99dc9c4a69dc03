#include "core/DigitalFilter.h"

#include <gtest/gtest.h>
#include <limits>
#include <vector>

namespace tavi {
namespace {

using Law = DigitalFilter::Law;

// T = 1, dt = 0.25: a = 0.2, so a step to 10 gives 10 (1 - 0.8^k) after k steps.
TEST(DigitalFilterTest, FirstOrderLagFollowsTheClosedForm) {
    DigitalFilter filter(Law::FirstOrderLag, 1.0, 1, 0.0);
    const double expected[] = {2.0, 3.6, 4.88, 5.904, 6.7232, 7.37856};
    for (double value : expected) {
        EXPECT_NEAR(filter.update(0.25, 10.0), value, 1e-12);
    }
}

TEST(DigitalFilterTest, FirstOrderLagWithoutTimeConstantPassesThrough) {
    DigitalFilter filter(Law::FirstOrderLag, 0.0, 1, 0.0);
    for (double value : {3.0, -7.0, 12.5}) {
        EXPECT_DOUBLE_EQ(filter.update(0.1, value), value);
    }
}

// T = 3, dt = 1: a = 0.25, b = 0.75, so y = 0.0625 x + 1.5 y0 - 0.5625 y1.
TEST(DigitalFilterTest, SecondOrderLagUsesTwoPastOutputs) {
    DigitalFilter filter(Law::SecondOrderLag, 3.0, 1, 0.0);
    EXPECT_DOUBLE_EQ(filter.update(1.0, 16.0), 1.0);
    EXPECT_DOUBLE_EQ(filter.update(1.0, 16.0), 2.5);
    EXPECT_DOUBLE_EQ(filter.update(1.0, 16.0), 4.1875);
    EXPECT_EQ(filter.outputHistory, (std::deque<double>{4.1875, 2.5}));
}

// Rate 2 over dt 0.5 allows 1 per step; within 1 of the input the output takes the input.
TEST(DigitalFilterTest, RateLimiterStepsTowardTheInput) {
    DigitalFilter filter(Law::RateLimiter, 1.0, 1, 2.0);
    std::vector<double> outputs;
    for (int i = 0; i < 11; ++i) {
        outputs.push_back(filter.update(0.5, 10.0));
    }
    EXPECT_EQ(outputs, (std::vector<double>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 10}));
    EXPECT_DOUBLE_EQ(filter.update(0.5, 7.5), 9.0);
    EXPECT_DOUBLE_EQ(filter.update(0.5, 7.5), 8.0);
    EXPECT_DOUBLE_EQ(filter.update(0.5, 7.5), 7.5);
}

TEST(DigitalFilterTest, ZeroTimeStepKeepsTheOutputButRecordsTheInput) {
    DigitalFilter filter(Law::FirstOrderLag, 1.0, 3, 0.0);
    filter.update(0.25, 10.0);
    EXPECT_DOUBLE_EQ(filter.update(0.0, 50.0), 2.0);
    EXPECT_DOUBLE_EQ(filter.update(-1.0, 60.0), 2.0);
    EXPECT_EQ(filter.inputHistory, (std::deque<double>{60.0, 50.0, 10.0}));
}

TEST(DigitalFilterTest, InputHistoryKeepsTheNewestValues) {
    DigitalFilter filter(Law::FirstOrderLag, 1.0, 3, 0.0);
    EXPECT_EQ(filter.inputHistory, (std::deque<double>{0.0, 0.0, 0.0}));
    for (double value : {1.0, 2.0, 3.0, 4.0}) {
        filter.update(0.1, value);
    }
    EXPECT_EQ(filter.inputHistory, (std::deque<double>{4.0, 3.0, 2.0}));

    DigitalFilter negative(Law::FirstOrderLag, 1.0, -5, 0.0);
    negative.update(0.1, 1.0);
    EXPECT_TRUE(negative.inputHistory.empty());
}

TEST(DigitalFilterTest, NonFiniteSampleIsIgnored) {
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    constexpr double infinity = std::numeric_limits<double>::infinity();
    for (Law law : {Law::FirstOrderLag, Law::SecondOrderLag, Law::RateLimiter}) {
        SCOPED_TRACE(static_cast<int>(law));
        DigitalFilter filter(law, 1.0, 2, 2.0);
        DigitalFilter reference(law, 1.0, 2, 2.0);
        const double first = reference.update(0.25, 10.0);
        EXPECT_DOUBLE_EQ(filter.update(0.25, 10.0), first);
        EXPECT_DOUBLE_EQ(filter.update(0.25, nan), first);
        EXPECT_DOUBLE_EQ(filter.update(0.25, -infinity), first);
        EXPECT_DOUBLE_EQ(filter.update(nan, 10.0), first);
        EXPECT_DOUBLE_EQ(filter.update(0.25, 10.0), reference.update(0.25, 10.0));
        EXPECT_EQ(filter.inputHistory, reference.inputHistory);
    }
}

} // namespace
} // namespace tavi
