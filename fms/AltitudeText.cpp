#include "fms/AltitudeText.h"

#include "fms/LegConstraints.h"

#include <algorithm>
#include <charconv>

namespace tavi {

namespace {

bool parseInteger(std::string_view text, int32_t& value) {
    if (text.empty()) {
        return false;
    }
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && stop == end;
}

bool isDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

bool AltitudeText::parseAltitude(std::string_view text, int32_t& feet) {
    int32_t value = 0;
    if (text.size() >= 3 && text.size() <= 5 && text.substr(0, 2) == "FL") {
        if (!isDigits(text.substr(2)) || !parseInteger(text.substr(2), value) || value > 600) {
            return false;
        }
        feet = value * 100;
        return true;
    }
    if (text.size() < 4 || text.size() > 5 || !parseInteger(text, value) || value < -1300 ||
        value > 60000) {
        return false;
    }
    feet = value;
    return true;
}

bool AltitudeText::parseConstraint(std::string_view text, int32_t& feet, uint32_t& kind) {
    if (text.size() < 3) {
        return false;
    }
    int32_t value = 0;
    uint32_t parsedKind = kAltitudeAt;
    if (!parseAltitude(text, value)) {
        const char suffix = text.back();
        if (suffix == 'A') {
            parsedKind = kAltitudeAtOrAbove;
        } else if (suffix == 'B') {
            parsedKind = kAltitudeAtOrBelow;
        } else {
            return false;
        }
        if (!parseAltitude(text.substr(0, text.size() - 1), value)) {
            return false;
        }
    }
    feet = value;
    kind = parsedKind;
    return true;
}

bool AltitudeText::parseWindow(std::string_view text, LegConstraints& constraints) {
    const std::size_t split = text.find('A');
    if (split == std::string_view::npos) {
        return false;
    }
    int32_t lower = 0;
    int32_t upper = 0;
    uint32_t lowerKind = 0;
    uint32_t upperKind = 0;
    if (!parseConstraint(text.substr(0, split + 1), lower, lowerKind) ||
        lowerKind != kAltitudeAtOrAbove ||
        !parseConstraint(text.substr(split + 1), upper, upperKind) ||
        upperKind != kAltitudeAtOrBelow) {
        return false;
    }
    constraints.hasAltitude = true;
    constraints.kind = kAltitudeWindow;
    constraints.altitude = std::min(lower, upper);
    constraints.altitude2 = std::max(lower, upper);
    return true;
}

} // namespace tavi
