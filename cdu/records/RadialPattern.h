#pragma once

#include <cstdint>

namespace tavi {

// The entries of RADIAL (a point on an inbound course before the fix and one on an outbound
// course after it) and of INTERCEPT (a radial or course from the FROM fix, or HDG SEL, against
// the inbound course to the TO fix). A course or distance below 0 is not entered.
struct RadialPattern {
    static constexpr double kNotEntered = -1.0;

    static bool isEntered(double value) { return value >= 0.0; }

    double inboundDistance = kNotEntered;
    double inboundCourse = kNotEntered;
    double outboundDistance = kNotEntered;
    double outboundCourse = kNotEntered;
    bool inboundTrue = false;
    bool outboundTrue = false;
    bool headingSelect = false;
    // The ACTIVE FLT PLAN sub-page INTERCEPT returns to.
    int32_t returnSubPage = 1;
};

} // namespace tavi
