#include "avionics/Clamp.h"

#include <gtest/gtest.h>

namespace tavi {
namespace {

TEST(ClampTest, BoundsMayComeInEitherOrder) {
    const struct {
        int32_t bound1, bound2, value, limited;
    } cases[] = {
        {89, 200, 300, 200}, {200, 89, 300, 200}, {200, 89, 50, 89},
        {89, 200, 150, 150}, {-5, -5, 7, -5},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(clampInt(row.bound1, row.bound2, row.value), row.limited) << row.value;
        EXPECT_FLOAT_EQ(clampFloat(static_cast<float>(row.bound1), static_cast<float>(row.bound2),
                                   static_cast<float>(row.value)),
                        static_cast<float>(row.limited));
        EXPECT_DOUBLE_EQ(clampDouble(row.bound2, row.bound1, row.value + 0.5),
                         row.value == row.limited ? row.value + 0.5 : row.limited);
    }
}

} // namespace
} // namespace tavi
