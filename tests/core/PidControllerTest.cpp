#include "core/PidController.h"

#include <gtest/gtest.h>
#include <limits>

namespace tavi {
namespace {

// K = 2, Ti = 4, no derivative, weights b = 1, c = 0, limits -10..10, dt = 0.5: each step adds
// 2 x ((ep - ep_prev) + 0.125 e).
class PidControllerTest : public testing::Test {
protected:
    void SetUp() override { pid.init(2.0, 0.1, 1.0, 0.0, 4.0, 0.0, -10.0, 10.0); }

    void step(double measurement, double setPoint) {
        pid.update(0.5, measurement, setPoint, 1.0, 1.0);
    }

    PidController pid;
};

TEST_F(PidControllerTest, StepsIncrementally) {
    step(0.0, 1.0);
    EXPECT_DOUBLE_EQ(pid.output, 2.25);
    step(0.0, 1.0);
    EXPECT_DOUBLE_EQ(pid.output, 2.5);
    step(0.5, 1.0);
    EXPECT_DOUBLE_EQ(pid.output, 1.625);
}

// Scales 0.5 and 2: Y = 1, R = 4, so e = ep = 3 and the step adds 2 x (3 + 0.375).
TEST_F(PidControllerTest, ScalesTheInputs) {
    pid.update(0.5, 2.0, 2.0, 0.5, 2.0);
    EXPECT_DOUBLE_EQ(pid.output, 6.75);
}

TEST_F(PidControllerTest, ZeroTimeStepLeavesTheOutput) {
    step(0.0, 1.0);
    pid.update(0.0, 0.0, 5.0, 1.0, 1.0);
    EXPECT_DOUBLE_EQ(pid.output, 2.25);
    EXPECT_DOUBLE_EQ(pid.scaledSetPoint, 5.0);
}

TEST_F(PidControllerTest, ResetRestartsFromTheValueWithoutPastErrors) {
    step(0.0, 1.0);
    step(0.0, 1.0);
    pid.reset(3.0);
    EXPECT_DOUBLE_EQ(pid.output, 3.0);
    step(0.0, 1.0);
    // The proportional error counts in full again: 3 + 2 x (1 + 0.125).
    EXPECT_DOUBLE_EQ(pid.output, 5.25);
}

TEST_F(PidControllerTest, NonFiniteInputIsIgnored) {
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    constexpr double infinity = std::numeric_limits<double>::infinity();
    step(0.0, 1.0);
    step(nan, 1.0);
    step(0.0, infinity);
    pid.update(nan, 0.0, 1.0, 1.0, 1.0);
    pid.update(0.5, 0.0, 1.0, nan, 1.0);
    EXPECT_DOUBLE_EQ(pid.output, 2.25);
    step(0.0, 1.0);
    EXPECT_DOUBLE_EQ(pid.output, 2.5);
}

// With a minimum above 0 (or a maximum below 0) the controller starts at the limit and a step
// without error keeps it there.
TEST(PidControllerInit, StartsInsideTheLimits) {
    PidController pid;
    pid.init(1.0, 0.1, 1.0, 0.0, 0.0, 0.0, 2.0, 10.0);
    EXPECT_DOUBLE_EQ(pid.output, 2.0);
    pid.update(1.0, 0.0, 0.0, 1.0, 1.0);
    EXPECT_DOUBLE_EQ(pid.output, 2.0);

    pid.init(1.0, 0.1, 1.0, 0.0, 0.0, 0.0, -10.0, -3.0);
    EXPECT_DOUBLE_EQ(pid.output, -3.0);
    pid.update(1.0, 0.0, 0.0, 1.0, 1.0);
    EXPECT_DOUBLE_EQ(pid.output, -3.0);
}

struct LimitCase {
    double start;
    double change;
    double expected;
    bool stopsAtLimits = false;
};

class PidControllerLimits : public testing::TestWithParam<LimitCase> {};

// K = 1, b = 1, proportional only, limits -5..5: the first step after a reset changes the output
// by the set point. A change that would cross a limit is dropped, not cut to the limit, unless
// the controller stops at its limits.
TEST_P(PidControllerLimits, HoldsOrStopsRatherThanCrossingALimit) {
    const LimitCase& c = GetParam();
    PidController pid;
    pid.init(1.0, 0.1, 1.0, 0.0, 0.0, 0.0, -5.0, 5.0);
    pid.stopsAtLimits = c.stopsAtLimits;
    pid.reset(c.start);
    pid.update(1.0, 0.0, c.change, 1.0, 1.0);
    EXPECT_DOUBLE_EQ(pid.output, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Steps, PidControllerLimits,
                         testing::Values(LimitCase{4.5, 1.0, 4.5}, LimitCase{4.5, 0.5, 5.0},
                                         LimitCase{-4.5, -1.0, -4.5}, LimitCase{-4.5, -0.5, -5.0},
                                         LimitCase{0.0, 3.0, 3.0}, LimitCase{4.5, 1.0, 5.0, true},
                                         LimitCase{-4.5, -7.0, -5.0, true},
                                         LimitCase{0.0, 3.0, 3.0, true}));

TEST(PidControllerHold, NextStepStartsFromTheHeldOutput) {
    PidController pid;
    pid.init(1.0, 0.1, 1.0, 0.0, 0.0, 0.0, -5.0, 5.0);
    pid.reset(4.5);
    pid.update(1.0, 0.0, 1.0, 1.0, 1.0);
    EXPECT_DOUBLE_EQ(pid.output, 4.5);
    // The held step still became the previous error: the same error changes nothing.
    pid.update(1.0, 0.0, 1.0, 1.0, 1.0);
    EXPECT_DOUBLE_EQ(pid.output, 4.5);
    pid.update(1.0, 0.0, 0.8, 1.0, 1.0);
    EXPECT_NEAR(pid.output, 4.3, 1e-12);
}

// K = 1, b = 0, c = 1, Td = 2, N = 0.25, dt = 1.5: k = dt / (N Td) = 3, so the derivative error
// of a set point of 4 filters as ed = (12 + ed_prev) / 4 = 3, 3.75, 3.9375, and
// D = (4 / 3)(ed - 2 ed_prev + ed_prev2) = 4, -3, -0.75.
TEST(PidControllerDerivative, FiltersTheDerivativeError) {
    PidController pid;
    pid.init(1.0, 0.25, 0.0, 1.0, 0.0, 2.0, -100.0, 100.0);
    pid.update(1.5, 0.0, 4.0, 1.0, 1.0);
    EXPECT_NEAR(pid.output, 4.0, 1e-12);
    pid.update(1.5, 0.0, 4.0, 1.0, 1.0);
    EXPECT_NEAR(pid.output, 1.0, 1e-12);
    pid.update(1.5, 0.0, 4.0, 1.0, 1.0);
    EXPECT_NEAR(pid.output, 0.25, 1e-12);
}

class PidControllerUnfilteredDerivative : public testing::TestWithParam<double> {};

// Without a usable filter time the raw derivative error (4) is used: D = 2 x 4 = 8, then
// 2 x (4 - 8) = -8.
TEST_P(PidControllerUnfilteredDerivative, UsesTheRawError) {
    PidController pid;
    pid.init(1.0, GetParam(), 0.0, 1.0, 0.0, 2.0, -100.0, 100.0);
    pid.update(1.0, 0.0, 4.0, 1.0, 1.0);
    EXPECT_DOUBLE_EQ(pid.output, 8.0);
    pid.update(1.0, 0.0, 4.0, 1.0, 1.0);
    EXPECT_DOUBLE_EQ(pid.output, 0.0);
}

INSTANTIATE_TEST_SUITE_P(FilterFactors, PidControllerUnfilteredDerivative,
                         testing::Values(0.0, -1.0, std::numeric_limits<double>::denorm_min()));

} // namespace
} // namespace tavi
