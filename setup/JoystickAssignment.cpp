#include "setup/JoystickAssignment.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <optional>

namespace tavi::setup {

namespace {

constexpr int32_t kLastJoystick = 7;

// One decimal number as "%d" reads it: leading white space, an optional sign, at least one
// digit; saturates at the int32 limits instead of overflowing.
std::optional<int32_t> readNumber(std::string_view text, std::size_t& at) {
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) {
        ++at;
    }
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    const std::size_t firstDigit = at;
    int64_t magnitude = 0;
    constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) {
        magnitude = std::min(magnitude * 10 + (text[at] - '0'), kLimit);
        ++at;
    }
    if (at == firstDigit) {
        return std::nullopt;
    }
    const int64_t value = negative ? -magnitude : magnitude;
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

} // namespace

JoystickAssignment JoystickAssignment::parse(std::string_view text, JoystickAssignment fallback) {
    std::size_t at = 0;
    const std::optional<int32_t> joystick = readNumber(text, at);
    if (!joystick || at >= text.size() || text[at] != ':') {
        return fallback;
    }
    ++at;
    const std::optional<int32_t> button = readNumber(text, at);
    if (!button) {
        return fallback;
    }
    return {std::clamp(*joystick, 0, kLastJoystick), *button};
}

std::string JoystickAssignment::text() const {
    return std::to_string(joystick) + ":" + std::to_string(button);
}

std::string JoystickAssignment::caption() const {
    if (button == kNoButton) {
        return "Not Selected";
    }
    return "Joystick " + std::to_string(int64_t{joystick} + 1) + ", Button " +
           std::to_string(int64_t{button} + 1);
}

} // namespace tavi::setup
