#pragma once

#include "core/sound/SoundManager.h"
#include "platform/audio/OpenAlDevice.h"
#include "support/ModuleHarness.h"
#include "support/WavBytes.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace tavi::test {

// The aircraft's sounds on a loopback device whose time moves only as the test renders it:
// each sound is a tone lasting the given milliseconds, written into the module's folder.
class LoopbackSounds {
public:
    // False when OpenAL offers no loopback device.
    bool install(ModuleHarness& module, const std::vector<std::pair<SoundId, uint32_t>>& lengths) {
        device = platform::audio::LoopbackAudioDevice::open();
        if (!device) {
            return false;
        }
        Aircraft& aircraft = module.aircraft();
        auto manager = std::make_unique<SoundManager>(
            [&aircraft](std::string_view line) { aircraft.log(line); },
            [this](platform::audio::AudioResult& result) {
                result = platform::audio::kAudioOk;
                return device;
            });
        manager->init();
        const std::filesystem::path folder = module.folder.path() / "sounds";
        manager->setFolder(folder.string() + "/");
        for (const auto& [id, ms] : lengths) {
            const std::string name = "sound" + std::to_string(id) + ".wav";
            writeFile(folder / name, sineWave16(ms));
            manager->load(id, name);
        }
        aircraft.soundManager = std::move(manager);
        return true;
    }

    // The device plays on for this long.
    void render(uint32_t ms) {
        if (device) {
            device->render(ms);
        }
    }

private:
    std::shared_ptr<platform::audio::LoopbackAudioDevice> device;
};

} // namespace tavi::test
