#include "navdata/GeoAngles.h"

#include <algorithm>
#include <cmath>

namespace tavi::geo {

float normalize180(float degrees) {
    float angle = std::fmod(degrees, 360.0f);
    if (angle > 180.0f) {
        angle -= 360.0f;
    } else if (angle <= -180.0f) {
        angle += 360.0f;
    }
    return angle;
}

float angleDifference(float fromDeg, float toDeg) {
    return normalize180(normalize180(toDeg) - normalize180(fromDeg));
}

double clampDouble(double bound1, double bound2, double value) {
    return std::clamp(value, std::min(bound1, bound2), std::max(bound1, bound2));
}

} // namespace tavi::geo
