#pragma once

#include <cstdint>
#include <string_view>

namespace tavi {

struct LegConstraints;

// The altitude texts of procedure legs: "5000", "FL100", "2400A" (at or above), "FL120B" (at
// or below) and windows such as "FL240AFL280B".
class AltitudeText {
public:
    // 4 or 5 characters of a signed integer from -1300 to 60000, or "FL" and 1 to 3 digits up
    // to 600 (hundreds of feet).
    static bool parseAltitude(std::string_view text, int32_t& feet);
    // At least 3 characters: an altitude (kind at), or one followed by "A" (at or above) or
    // "B" (at or below). The outputs are written only on success.
    static bool parseConstraint(std::string_view text, int32_t& feet, uint32_t& kind);
    // An at-or-above constraint directly followed by an at-or-below one: the record gets a
    // window from the lower to the upper altitude. The record is untouched on failure.
    static bool parseWindow(std::string_view text, LegConstraints& constraints);
};

} // namespace tavi
