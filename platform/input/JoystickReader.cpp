#include "platform/input/JoystickReader.h"

#include <cerrno>
#include <fcntl.h>
#include <linux/joystick.h>
#include <unistd.h>

namespace tavi::platform {

JoystickReader::JoystickReader(std::string deviceFolder) : deviceFolder(std::move(deviceFolder)) {}

JoystickReader::~JoystickReader() {
    for (Device& device : devices) {
        close(device);
    }
}

bool JoystickReader::open(int joystick) {
    Device& device = devices[static_cast<std::size_t>(joystick)];
    if (device.fd >= 0) {
        return true;
    }
    const std::string path = deviceFolder + "/js" + std::to_string(joystick);
    device.fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    device.buttons = 0;
    return device.fd >= 0;
}

void JoystickReader::close(Device& device) {
    if (device.fd >= 0) {
        ::close(device.fd);
    }
    device.fd = -1;
    device.buttons = 0;
}

std::optional<uint32_t> JoystickReader::buttons(int joystick) {
    if (joystick < 0 || joystick >= kJoystickCount || !open(joystick)) {
        return std::nullopt;
    }
    Device& device = devices[static_cast<std::size_t>(joystick)];
    js_event event{};
    ssize_t got = 0;
    while ((got = ::read(device.fd, &event, sizeof event)) == sizeof event) {
        if ((event.type & ~JS_EVENT_INIT) != JS_EVENT_BUTTON || event.number >= 32) {
            continue;
        }
        const uint32_t bit = 1u << event.number;
        device.buttons = event.value ? device.buttons | bit : device.buttons & ~bit;
    }
    if (got < 0 && errno != EAGAIN) {
        // Unplugged: the joystick reads as absent until it comes back.
        close(device);
        return std::nullopt;
    }
    return device.buttons;
}

} // namespace tavi::platform
