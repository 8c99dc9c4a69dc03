#include "core/PiController.h"

#include <gtest/gtest.h>
#include <limits>

namespace tavi {
namespace {

// Kp = 1.5, Ki = 0.25, dt = 2, scales 0.5 and 2: e = 2 x 3 - 0.5 x 4 = 4, integral 2,
// output 2 + 10 + 6.
TEST(PiControllerTest, AddsIntegralFeedForwardAndProportional) {
    PiController pi;
    pi.init(1.5, 0.25, -100.0, 100.0);
    pi.update(2.0, 4.0, 3.0, 10.0, 0.5, 2.0);
    EXPECT_DOUBLE_EQ(pi.integral, 2.0);
    EXPECT_DOUBLE_EQ(pi.output, 18.0);
    EXPECT_DOUBLE_EQ(pi.lastFeedForward, 10.0);
    pi.update(2.0, 4.0, 3.0, 0.0, 0.5, 2.0);
    EXPECT_DOUBLE_EQ(pi.output, 10.0);
}

// Kp = 2, Ki = 0.5, limits -1..1, error 2 each second: the integral grows 1 a step while the
// output stays at 1, and unwinding it takes as long.
TEST(PiControllerTest, IntegralWindsUpWhileTheOutputIsHeld) {
    PiController pi;
    pi.init(2.0, 0.5, -1.0, 1.0);
    for (double integral : {1.0, 2.0, 3.0}) {
        pi.update(1.0, 0.0, 2.0, 0.0, 1.0, 1.0);
        EXPECT_DOUBLE_EQ(pi.integral, integral);
        EXPECT_DOUBLE_EQ(pi.output, 1.0);
    }
    pi.update(1.0, 0.0, 0.0, 0.0, 1.0, 1.0);
    EXPECT_DOUBLE_EQ(pi.output, 1.0);
    pi.update(1.0, 0.0, -2.0, 0.0, 1.0, 1.0);
    EXPECT_DOUBLE_EQ(pi.integral, 2.0);
    EXPECT_DOUBLE_EQ(pi.output, -1.0);
}

TEST(PiControllerTest, InitStartsInsideTheLimits) {
    PiController pi;
    pi.init(1.0, 1.0, 3.0, 8.0);
    EXPECT_DOUBLE_EQ(pi.output, 3.0);
    pi.init(1.0, 1.0, -8.0, -3.0);
    EXPECT_DOUBLE_EQ(pi.output, -3.0);
}

TEST(PiControllerTest, NonFiniteInputIsIgnored) {
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    PiController pi;
    pi.init(1.0, 1.0, -100.0, 100.0);
    pi.update(1.0, 0.0, 2.0, 0.0, 1.0, 1.0);
    pi.update(1.0, nan, 2.0, 0.0, 1.0, 1.0);
    pi.update(1.0, 0.0, 2.0, std::numeric_limits<double>::infinity(), 1.0, 1.0);
    pi.update(nan, 0.0, 2.0, 0.0, 1.0, 1.0);
    EXPECT_DOUBLE_EQ(pi.integral, 2.0);
    EXPECT_DOUBLE_EQ(pi.output, 4.0);
    pi.update(1.0, 0.0, 2.0, 0.0, 1.0, 1.0);
    EXPECT_DOUBLE_EQ(pi.output, 6.0);
}

} // namespace
} // namespace tavi
