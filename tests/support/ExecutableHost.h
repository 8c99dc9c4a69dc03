#pragma once

#include "core/Imports.h"
#include "platform/audio/OpenAlDevice.h"

#include <string>

namespace tavi::test {

// Host services that name a simulator executable and know nothing else; installed in the
// module's import table for the life of the object.
class ExecutableHost final : public platform::HostServices {
public:
    explicit ExecutableHost(std::string executable) : executable(std::move(executable)) {
        for (platform::ImportEntry* entry = ImportTable; entry->id != 0; ++entry) {
            if (entry->id == platform::kHostServicesImport) {
                slot = entry;
                previous = entry->table;
                entry->table = this;
            }
        }
    }
    ~ExecutableHost() override {
        if (slot) {
            slot->table = previous;
        }
    }
    ExecutableHost(const ExecutableHost&) = delete;
    ExecutableHost& operator=(const ExecutableHost&) = delete;

    uint32_t tickCountMs() override { return 0; }
    std::string loadedModulePath(const char*) override { return {}; }
    std::string executablePath() override { return executable; }
    platform::TimerId setTimer(uint32_t, platform::TimerProc) override { return 0; }
    void killTimer(platform::TimerId) override {}
    platform::WindowHandle findWindowByClass(const char*) override { return 0; }
    platform::ThreadId windowThread(platform::WindowHandle) override { return 0; }
    platform::GuiThreadInfo guiThreadInfo(platform::ThreadId) override { return {}; }
    platform::WindowHandle lastActivePopup(platform::WindowHandle window) override {
        return window;
    }
    platform::HookHandle installKeyboardHook(platform::KeyboardHookProc,
                                             platform::ThreadId) override {
        return 0;
    }
    void removeKeyboardHook(platform::HookHandle) override {}
    intptr_t callNextHook(platform::HookHandle, int32_t, uint32_t, uint32_t) override { return 0; }
    std::optional<uint32_t> joystickButtons(int32_t) override { return std::nullopt; }
    std::shared_ptr<platform::audio::AudioDevice>
    openSoundOutput(platform::audio::AudioResult& result) override {
        return platform::audio::openOutputDevice(result);
    }

private:
    std::string executable;
    platform::ImportEntry* slot = nullptr;
    void* previous = nullptr;
};

} // namespace tavi::test
