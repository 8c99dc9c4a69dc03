#pragma once

#include <cstdint>
#include <string>

namespace tavi {

class Fs9Reader;
struct StateFile;

// The entries of RADIAL (a point on an inbound course before the fix and one on an outbound
// course after it) and of INTERCEPT (a radial or course from the FROM fix, or HDG SEL, against
// the inbound course to the TO fix). A course or distance below 0 is not entered.
struct RadialPattern {
    static constexpr double kNotEntered = -1.0;

    static bool isEntered(double value) { return value >= 0.0; }

    // The record as one 40-byte blob under the key; a missing key leaves it as it was.
    void save(const Fs9Reader& reader, const StateFile& file, const char* section,
              const std::string& key) const;
    void load(const Fs9Reader& reader, const StateFile& file, const char* section,
              const std::string& key);

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
