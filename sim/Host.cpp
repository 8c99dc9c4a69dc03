#include "sim/Host.h"

#include <algorithm>
#include <cstring>

namespace tavi::sim {

Host::Host(std::string executablePath) : executable(std::move(executablePath)) {}

void Host::advanceTickCount(uint32_t ms) {
    tickCount += ms;
    if (simulatedTimeSound) {
        simulatedTimeSound->render(ms);
    }
}

void Host::playSoundsInSimulatedTime() {
    simulatedTimeSound = platform::audio::LoopbackAudioDevice::open();
}

std::shared_ptr<platform::audio::AudioDevice>
Host::openSoundOutput(platform::audio::AudioResult& result) {
    if (simulatedTimeSound) {
        result = platform::audio::kAudioOk;
        return simulatedTimeSound;
    }
    return platform::audio::openOutputDevice(result);
}

void Host::setLoadedModule(std::string fileName, std::string path) {
    loadedModules[std::move(fileName)] = std::move(path);
}

void Host::fireTimers() {
    // A timer procedure may kill timers: fire a copy.
    const auto current = timers;
    for (const auto& [id, proc] : current) {
        if (timers.contains(id)) {
            proc();
        }
    }
}

bool Host::key(uint32_t virtualKey, bool down, bool alt, bool repeat) {
    uint32_t flags = 0;
    if (alt) {
        flags |= platform::kKeyFlagAlt;
    }
    if (repeat) {
        flags |= platform::kKeyFlagRepeat;
    }
    if (!down) {
        flags |= platform::kKeyFlagUp;
    }
    const std::size_t reachedBefore = keysToSimulator.size();
    runHooksFrom(0, 0, virtualKey, flags);
    return keysToSimulator.size() == reachedBefore;
}

void Host::setJoystick(int32_t joystick, bool present, uint32_t buttons) {
    if (joystick >= 0 && static_cast<std::size_t>(joystick) < joysticks.size()) {
        joysticks[static_cast<std::size_t>(joystick)] = {true, present, buttons};
    }
}

std::string Host::loadedModulePath(const char* fileName) {
    const auto found = loadedModules.find(fileName ? fileName : "");
    return found == loadedModules.end() ? std::string() : found->second;
}

platform::TimerId Host::setTimer(uint32_t, platform::TimerProc proc) {
    const platform::TimerId id = nextTimer++;
    timers[id] = proc;
    return id;
}

void Host::killTimer(platform::TimerId timer) {
    timers.erase(timer);
}

platform::WindowHandle Host::findWindowByClass(const char* className) {
    return className && std::strcmp(className, "FS98MAIN") == 0 ? kMainWindow : 0;
}

platform::ThreadId Host::windowThread(platform::WindowHandle window) {
    return window == kMainWindow ? kMainThread : 0;
}

platform::GuiThreadInfo Host::guiThreadInfo(platform::ThreadId thread) {
    if (thread != kMainThread) {
        return {};
    }
    return {dialogOpen ? kDialogWindow : kMainWindow, guiFlags};
}

platform::WindowHandle Host::lastActivePopup(platform::WindowHandle window) {
    return dialogOpen && window == kMainWindow ? kDialogWindow : window;
}

platform::HookHandle Host::installKeyboardHook(platform::KeyboardHookProc proc,
                                               platform::ThreadId thread) {
    if (hookInstallFails || thread != kMainThread || !proc) {
        hookInstallFails = false;
        return 0;
    }
    const platform::HookHandle handle = nextHook++;
    // The hook installed last runs first.
    hooks.insert(hooks.begin(), {handle, proc});
    return handle;
}

void Host::removeKeyboardHook(platform::HookHandle hook) {
    std::erase_if(hooks, [hook](const auto& entry) { return entry.first == hook; });
}

intptr_t Host::callNextHook(platform::HookHandle hook, int32_t code, uint32_t virtualKey,
                            uint32_t keyFlags) {
    const auto self = std::find_if(hooks.begin(), hooks.end(),
                                   [hook](const auto& entry) { return entry.first == hook; });
    const std::size_t next = self == hooks.end() ? hooks.size() : self - hooks.begin() + 1;
    return runHooksFrom(next, code, virtualKey, keyFlags);
}

intptr_t Host::runHooksFrom(std::size_t position, int32_t code, uint32_t virtualKey,
                            uint32_t keyFlags) {
    if (position < hooks.size()) {
        return hooks[position].second(code, virtualKey, keyFlags);
    }
    keysToSimulator.push_back({virtualKey, keyFlags});
    return 0;
}

std::optional<uint32_t> Host::joystickButtons(int32_t joystick) {
    if (joystick < 0 || static_cast<std::size_t>(joystick) >= joysticks.size()) {
        return std::nullopt;
    }
    const Joystick& injected = joysticks[static_cast<std::size_t>(joystick)];
    if (!injected.set) {
        return machineJoysticks ? machineJoysticks->buttons(joystick) : std::nullopt;
    }
    return injected.present ? std::optional<uint32_t>(injected.buttons) : std::nullopt;
}

} // namespace tavi::sim
