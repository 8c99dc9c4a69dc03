#pragma once

#include "core/sound/SoundManager.h"
#include "setup/SoundPlayer.h"

#include <filesystem>

namespace tavi::setup {

// The test sound "sound.wav" beside the program, played through the module's sound library.
// Without a sound device or without the file, Test plays nothing.
class SoundManagerPlayer : public SoundPlayer {
public:
    static constexpr SoundId kTestSound = 0;

    explicit SoundManagerPlayer(
        const std::filesystem::path& programFolder,
        SoundManager::DeviceOpener openDevice = platform::audio::openOutputDevice);

    void setVolume(int32_t volume) override;
    int32_t volume() const override { return shownVolume; }
    bool play() override;

private:
    SoundManager sounds;
    // The manager keeps its volume within -10000..0; the page shows and saves this one.
    int32_t shownVolume = 0;
};

} // namespace tavi::setup
