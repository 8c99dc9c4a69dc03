#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace tavi {

// A value limited to the range spanned by two bounds, which may be given in either order:
// clampInt(200, 89, 300) is 200.
inline int32_t clampInt(int32_t bound1, int32_t bound2, int32_t value) {
    return std::clamp(value, std::min(bound1, bound2), std::max(bound1, bound2));
}

inline float clampFloat(float bound1, float bound2, float value) {
    return std::clamp(value, std::min(bound1, bound2), std::max(bound1, bound2));
}

inline double clampDouble(double bound1, double bound2, double value) {
    return std::clamp(value, std::min(bound1, bound2), std::max(bound1, bound2));
}

// A value cut towards zero to a 32-bit integer; saturated at the ends of the range and 0 for no
// number.
inline int32_t saturatedInt32(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    constexpr double kLowest = std::numeric_limits<int32_t>::min();
    constexpr double kHighest = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(std::clamp(std::trunc(value), kLowest, kHighest));
}

} // namespace tavi
