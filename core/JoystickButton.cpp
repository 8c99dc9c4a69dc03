#include "core/JoystickButton.h"

#include "core/Aircraft.h"

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace tavi {

namespace {

constexpr int32_t kLastJoystick = Aircraft::kJoystickCount - 1;
constexpr int64_t kBitsPerMask = 32;

// A decimal number after optional blanks and sign, as the "%d" conversion reads it; the
// position after it moves on. Values beyond 64 bits saturate.
std::optional<int64_t> readNumber(std::string_view text, std::size_t& position) {
    while (position < text.size() && std::isspace(static_cast<unsigned char>(text[position]))) {
        ++position;
    }
    bool negative = false;
    if (position < text.size() && (text[position] == '-' || text[position] == '+')) {
        negative = text[position] == '-';
        ++position;
    }
    const std::size_t digitsStart = position;
    int64_t value = 0;
    for (; position < text.size() && std::isdigit(static_cast<unsigned char>(text[position]));
         ++position) {
        if (value < INT64_MAX / 10) {
            value = value * 10 + (text[position] - '0');
        }
    }
    if (position == digitsStart) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

} // namespace

JoystickButton JoystickButton::parse(std::string_view setting) {
    std::size_t position = 0;
    const std::optional<int64_t> joystick = readNumber(setting, position);
    if (!joystick || position >= setting.size() || setting[position] != ':') {
        return {};
    }
    ++position;
    const std::optional<int64_t> bit = readNumber(setting, position);
    if (!bit || *joystick < 0 || *bit < 0) {
        return {};
    }
    JoystickButton button;
    button.joystick = static_cast<int32_t>(*joystick > kLastJoystick ? kLastJoystick : *joystick);
    button.mask = 1u << (*bit % kBitsPerMask);
    return button;
}

bool JoystickButton::isHeld(const Aircraft& aircraft) const {
    if (!hasButton()) {
        return false;
    }
    const auto index = static_cast<std::size_t>(joystick);
    return aircraft.joystickPresent[index] && (aircraft.joysticks[index].buttons & mask) != 0;
}

} // namespace tavi
