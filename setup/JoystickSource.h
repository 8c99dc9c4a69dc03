#pragma once

#include "platform/input/JoystickReader.h"

#include <cstdint>
#include <optional>

namespace tavi::setup {

// Where the capture dialog reads the joysticks' buttons.
class JoystickSource {
public:
    static constexpr int kJoystickCount = platform::JoystickReader::kJoystickCount;

    virtual ~JoystickSource() = default;
    // Bit b is set while button b + 1 is held; nothing when the joystick is absent.
    virtual std::optional<uint32_t> buttons(int joystick) = 0;
};

// The machine's joysticks.
class JoystickReaderSource : public JoystickSource {
public:
    std::optional<uint32_t> buttons(int joystick) override { return reader.buttons(joystick); }

private:
    platform::JoystickReader reader;
};

} // namespace tavi::setup
