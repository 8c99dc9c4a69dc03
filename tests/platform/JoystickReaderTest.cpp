#include "platform/input/JoystickReader.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <linux/joystick.h>

namespace tavi::test {
namespace {

std::string eventBytes(std::initializer_list<js_event> events) {
    std::string bytes;
    for (const js_event& event : events) {
        bytes.append(reinterpret_cast<const char*>(&event), sizeof event);
    }
    return bytes;
}

TEST(JoystickReaderTest, ButtonEventsBuildTheMaskAndMissingDevicesAreAbsent) {
    TempFolder devices;
    devices.write("js2", eventBytes({{0, 1, JS_EVENT_BUTTON | JS_EVENT_INIT, 0},
                                     {10, 1, JS_EVENT_BUTTON, 3},
                                     {20, 300, JS_EVENT_AXIS, 3},
                                     {30, 1, JS_EVENT_BUTTON, 5},
                                     {40, 0, JS_EVENT_BUTTON, 5},
                                     {50, 1, JS_EVENT_BUTTON, 40}}));
    platform::JoystickReader reader(devices.path().string());
    EXPECT_EQ(reader.buttons(2), std::optional<uint32_t>(0x9u));
    EXPECT_EQ(reader.buttons(0), std::nullopt);
    EXPECT_EQ(reader.buttons(8), std::nullopt);
    EXPECT_EQ(reader.buttons(-1), std::nullopt);
}

} // namespace
} // namespace tavi::test
