#include "core/Angles.h"

#include <cmath>

namespace tavi {

double normalize360(double degrees) {
    if (!std::isfinite(degrees)) {
        return 0.0;
    }
    const double remainder = std::fmod(degrees, 360.0);
    // A tiny negative remainder plus 360 rounds to 360, which the second remainder turns into 0;
    // a zero remainder of either sign becomes +0.
    return remainder <= 0.0 ? std::fmod(remainder + 360.0, 360.0) : remainder;
}

float normalize360Float(double degrees) {
    const auto angle = static_cast<float>(normalize360(degrees));
    return angle < 360.0f ? angle : 0.0f;
}

double normalize180(double degrees) {
    if (!std::isfinite(degrees)) {
        return 0.0;
    }
    const double remainder = std::fmod(degrees, 360.0);
    if (remainder > 180.0) {
        return remainder - 360.0;
    }
    if (remainder <= -180.0) {
        return remainder + 360.0;
    }
    // -0 (from -360, for example) becomes +0.
    return remainder == 0.0 ? 0.0 : remainder;
}

void blendPair(float& a, float& b, float w) {
    const float blend = b <= a ? b + (a - b) * w : a + (b - a) * (1.0f - w);
    a = blend;
    b = blend;
}

} // namespace tavi
