#include "core/Angles.h"

#include "support/NonFiniteValues.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace tavi {
namespace {

using test::kInfinity;
using test::kNaN;

struct AngleCase {
    double degrees;
    double expected;
};

class Normalize360 : public testing::TestWithParam<AngleCase> {};

TEST_P(Normalize360, BringsIntoZeroTo360) {
    const double result = normalize360(GetParam().degrees);
    EXPECT_DOUBLE_EQ(result, GetParam().expected);
    EXPECT_FALSE(std::signbit(result));
}

INSTANTIATE_TEST_SUITE_P(
    Angles, Normalize360,
    testing::Values(AngleCase{-720.0, 0.0}, AngleCase{360.0, 0.0}, AngleCase{-10.0, 350.0},
                    AngleCase{0.0, 0.0}, AngleCase{-0.0, 0.0}, AngleCase{359.5, 359.5},
                    AngleCase{725.0, 5.0}, AngleCase{-370.0, 350.0}, AngleCase{-1e-20, 0.0},
                    AngleCase{std::ldexp(360.0, 900), 0.0},
                    AngleCase{std::ldexp(-360.0, 900) - std::ldexp(90.0, 900), 0.0},
                    AngleCase{kNaN, 0.0}, AngleCase{kInfinity, 0.0}, AngleCase{-kInfinity, 0.0}));

class Normalize180 : public testing::TestWithParam<AngleCase> {};

TEST_P(Normalize180, BringsIntoMinus180To180) {
    EXPECT_DOUBLE_EQ(normalize180(GetParam().degrees), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Angles, Normalize180,
    testing::Values(AngleCase{540.0, 180.0}, AngleCase{-180.0, 180.0}, AngleCase{180.0, 180.0},
                    AngleCase{-540.0, 180.0}, AngleCase{190.0, -170.0}, AngleCase{-190.0, 170.0},
                    AngleCase{-179.5, -179.5}, AngleCase{360.0, 0.0}, AngleCase{721.0, 1.0},
                    AngleCase{-1e-20, -1e-20}, AngleCase{std::ldexp(-360.0, 900), 0.0},
                    AngleCase{kNaN, 0.0}, AngleCase{kInfinity, 0.0}, AngleCase{-kInfinity, 0.0}));

TEST(AnglesTest, HugeAnglesEndInRange) {
    for (double degrees : {1e300, -1e300, 1.7e308, -1.7e308, 123456789012.375}) {
        SCOPED_TRACE(degrees);
        const double full = normalize360(degrees);
        EXPECT_GE(full, 0.0);
        EXPECT_LT(full, 360.0);
        const double half = normalize180(degrees);
        EXPECT_GT(half, -180.0);
        EXPECT_LE(half, 180.0);
    }
}

struct BlendCase {
    float a;
    float b;
    float w;
    float expected;
};

class BlendPair : public testing::TestWithParam<BlendCase> {};

// Both readings become w a + (1 - w) b, whichever of the two is the larger.
TEST_P(BlendPair, SetsBothToTheWeightedBlend) {
    const BlendCase& c = GetParam();
    float a = c.a;
    float b = c.b;
    blendPair(a, b, c.w);
    EXPECT_FLOAT_EQ(a, c.expected);
    EXPECT_FLOAT_EQ(b, c.expected);

    float swappedA = c.b;
    float swappedB = c.a;
    blendPair(swappedA, swappedB, 1.0f - c.w);
    EXPECT_FLOAT_EQ(swappedA, c.expected);
    EXPECT_FLOAT_EQ(swappedB, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Pairs, BlendPair,
                         testing::Values(BlendCase{10.0f, 20.0f, 0.25f, 17.5f},
                                         BlendCase{20.0f, 10.0f, 0.25f, 12.5f},
                                         BlendCase{5.0f, 5.0f, 0.3f, 5.0f},
                                         BlendCase{-4.0f, 8.0f, 0.5f, 2.0f},
                                         BlendCase{8.0f, -4.0f, 0.1f, -2.8f}));

} // namespace
} // namespace tavi
