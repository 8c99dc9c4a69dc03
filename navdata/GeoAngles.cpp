#include "navdata/GeoAngles.h"

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

} // namespace tavi::geo
