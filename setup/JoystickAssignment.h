#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tavi::setup {

// A joystick button chosen for a function, stored as "joystick:button" with the joystick
// 0..7 and the button 0..31, or -1 for none.
struct JoystickAssignment {
    static constexpr int32_t kNoButton = -1;

    int32_t joystick = 0;
    int32_t button = kNoButton;

    // "joystick:button" as two decimal numbers; text that does not start that way gives the
    // fallback. The joystick number is limited to 0..7.
    static JoystickAssignment parse(std::string_view text, JoystickAssignment fallback);
    std::string text() const;
    // "Joystick 2, Button 3" counting from 1, or "Not Selected".
    std::string caption() const;
    bool operator==(const JoystickAssignment&) const = default;
};

} // namespace tavi::setup
