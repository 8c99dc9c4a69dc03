#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace tavi::platform {

// The buttons of the machine's joysticks through the Linux joystick devices (/dev/input/jsN).
// Each call reads the events that arrived since the last one; it never blocks.
class JoystickReader {
public:
    static constexpr int kJoystickCount = 8;

    explicit JoystickReader(std::string deviceFolder = "/dev/input");
    ~JoystickReader();
    JoystickReader(const JoystickReader&) = delete;
    JoystickReader& operator=(const JoystickReader&) = delete;

    // Bit b is set while button b + 1 is held; nothing when the joystick is absent.
    std::optional<uint32_t> buttons(int joystick);

private:
    struct Device {
        int fd = -1;
        uint32_t buttons = 0;
    };

    bool open(int joystick);
    void close(Device& device);

    std::string deviceFolder;
    std::array<Device, kJoystickCount> devices{};
};

} // namespace tavi::platform
