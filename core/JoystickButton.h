#pragma once

#include <cstdint>
#include <string_view>

namespace tavi {

class Aircraft;

// A joystick button named in the settings file as a joystick number, a colon and the bit number
// of the button ("2:3" is button 4 of joystick 2). A negative number or a text of another form
// names no button; joysticks above 7 are taken as joystick 7, and bit numbers wrap at 32.
struct JoystickButton {
    static constexpr uint32_t kNoButton = 0xFFFFFFFF;

    static JoystickButton parse(std::string_view setting);

    bool hasButton() const { return mask != kNoButton; }
    // Level-based: true on every frame in which the joystick was read and the button is held.
    bool isHeld(const Aircraft& aircraft) const;

    int32_t joystick = 0;
    uint32_t mask = kNoButton;
};

} // namespace tavi
