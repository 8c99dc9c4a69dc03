#pragma once

#include "platform/audio/OpenAlDevice.h"
#include "platform/host/HostServices.h"
#include "platform/input/JoystickReader.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tavi::sim {

// A key as it reached the simulator after every hook passed it on.
struct KeyStroke {
    uint32_t virtualKey;
    uint32_t keyFlags;
};

// The host process and operating system around the module: the clock, loaded files, the
// window-less timer, the simulator's main window, the keyboard hook and the joysticks.
class Host final : public platform::HostServices {
public:
    static constexpr platform::WindowHandle kMainWindow = 1;
    static constexpr platform::WindowHandle kDialogWindow = 2;
    static constexpr platform::ThreadId kMainThread = 1;

    explicit Host(std::string executablePath);

    // Test bed.
    void setTickCount(uint32_t ms) { tickCount = ms; }
    // The clock moves on, and the simulated-time sound device plays that long.
    void advanceTickCount(uint32_t ms);
    void setLoadedModule(std::string fileName, std::string path);
    // Fires every live timer once.
    void fireTimers();
    std::size_t liveTimers() const { return timers.size(); }
    // A simulator dialog (the last active pop-up is another window) or a menu mode.
    void setDialogOpen(bool open) { dialogOpen = open; }
    void setGuiFlags(uint32_t flags) { guiFlags = flags; }
    void failNextHookInstall() { hookInstallFails = true; }
    bool keyboardHookInstalled() const { return !hooks.empty(); }
    // Sends a key message through the hooks; true when a hook swallowed it.
    bool key(uint32_t virtualKey, bool down, bool alt = false, bool repeat = false);
    const std::vector<KeyStroke>& keysReachingSimulator() const { return keysToSimulator; }
    void setJoystick(int32_t joystick, bool present, uint32_t buttons = 0);
    // Joysticks that no caller has set are read from the machine's joystick devices.
    void useMachineJoysticks() { machineJoysticks = std::make_unique<platform::JoystickReader>(); }
    // The module's sounds play on a device whose clock is the simulator's: they last their
    // simulated time however fast the simulator runs, and nothing is heard. Without it they
    // play on the machine's sound output.
    void playSoundsInSimulatedTime();

    // HostServices.
    uint32_t tickCountMs() override { return tickCount; }
    std::string loadedModulePath(const char* fileName) override;
    std::string executablePath() override { return executable; }
    platform::TimerId setTimer(uint32_t periodMs, platform::TimerProc proc) override;
    void killTimer(platform::TimerId timer) override;
    platform::WindowHandle findWindowByClass(const char* className) override;
    platform::ThreadId windowThread(platform::WindowHandle window) override;
    platform::GuiThreadInfo guiThreadInfo(platform::ThreadId thread) override;
    platform::WindowHandle lastActivePopup(platform::WindowHandle window) override;
    platform::HookHandle installKeyboardHook(platform::KeyboardHookProc proc,
                                             platform::ThreadId thread) override;
    void removeKeyboardHook(platform::HookHandle hook) override;
    intptr_t callNextHook(platform::HookHandle hook, int32_t code, uint32_t virtualKey,
                          uint32_t keyFlags) override;
    std::optional<uint32_t> joystickButtons(int32_t joystick) override;
    std::shared_ptr<platform::audio::AudioDevice>
    openSoundOutput(platform::audio::AudioResult& result) override;

private:
    intptr_t runHooksFrom(std::size_t position, int32_t code, uint32_t virtualKey,
                          uint32_t keyFlags);

    struct Joystick {
        bool set = false;
        bool present = false;
        uint32_t buttons = 0;
    };

    std::string executable;
    uint32_t tickCount = 0;
    std::map<std::string, std::string> loadedModules;
    std::map<platform::TimerId, platform::TimerProc> timers;
    platform::TimerId nextTimer = 1;
    bool dialogOpen = false;
    uint32_t guiFlags = 0;
    bool hookInstallFails = false;
    std::vector<std::pair<platform::HookHandle, platform::KeyboardHookProc>> hooks;
    platform::HookHandle nextHook = 1;
    std::vector<KeyStroke> keysToSimulator;
    std::array<Joystick, 16> joysticks{};
    std::unique_ptr<platform::JoystickReader> machineJoysticks;
    std::shared_ptr<platform::audio::LoopbackAudioDevice> simulatedTimeSound;
};

} // namespace tavi::sim
