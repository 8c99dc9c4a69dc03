#pragma once

#include "platform/audio/AudioDevice.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace tavi::platform {

using WindowHandle = uintptr_t;
using ThreadId = uint32_t;
using TimerId = uintptr_t;
using HookHandle = uintptr_t;

// State of a thread's user interface: its active window and its mode flags.
struct GuiThreadInfo {
    WindowHandle activeWindow = 0;
    uint32_t flags = 0;
};

// Bits of GuiThreadInfo::flags.
inline constexpr uint32_t kGuiInMoveSize = 0x2;
inline constexpr uint32_t kGuiInMenuMode = 0x4;
inline constexpr uint32_t kGuiSystemMenuMode = 0x8;
inline constexpr uint32_t kGuiPopupMenuMode = 0x10;

// Bits of the key flags handed to a keyboard hook.
inline constexpr uint32_t kKeyFlagAlt = 1u << 29;
inline constexpr uint32_t kKeyFlagRepeat = 1u << 30;
inline constexpr uint32_t kKeyFlagUp = 1u << 31;

using TimerProc = void (*)();
using KeyboardHookProc = intptr_t (*)(int32_t code, uint32_t virtualKey, uint32_t keyFlags);

// Services of the operating system and of the simulator process that hosts the module: the
// clock, loaded files, the timer, windows, the keyboard hook, the joysticks and the sound
// output. The host fills
// in the table before the module starts; every call comes on the simulator's thread.
class HostServices {
public:
    virtual ~HostServices() = default;

    // Milliseconds since the system started (wraps after 49.7 days).
    virtual uint32_t tickCountMs() = 0;
    // Full path of the loaded module with this file name, empty when none is loaded.
    virtual std::string loadedModulePath(const char* fileName) = 0;
    // Full path of the simulator's own executable.
    virtual std::string executablePath() = 0;

    // A window-less timer delivered on the simulator's thread; 0 when it cannot be made.
    virtual TimerId setTimer(uint32_t periodMs, TimerProc proc) = 0;
    virtual void killTimer(TimerId timer) = 0;

    virtual WindowHandle findWindowByClass(const char* className) = 0;
    virtual ThreadId windowThread(WindowHandle window) = 0;
    virtual GuiThreadInfo guiThreadInfo(ThreadId thread) = 0;
    virtual WindowHandle lastActivePopup(WindowHandle window) = 0;

    // A keyboard hook on one thread; 0 when it cannot be installed.
    virtual HookHandle installKeyboardHook(KeyboardHookProc proc, ThreadId thread) = 0;
    virtual void removeKeyboardHook(HookHandle hook) = 0;
    // Hands a key on to the next hook and in the end to the simulator.
    virtual intptr_t callNextHook(HookHandle hook, int32_t code, uint32_t virtualKey,
                                  uint32_t keyFlags) = 0;

    // The buttons held on joystick 0..7 (bit b for button b + 1), or nothing when absent.
    virtual std::optional<uint32_t> joystickButtons(int32_t joystick) = 0;

    // The device the module plays its sounds on; null, with the failure, when there is none.
    virtual std::shared_ptr<audio::AudioDevice> openSoundOutput(audio::AudioResult& result) = 0;
};

} // namespace tavi::platform
