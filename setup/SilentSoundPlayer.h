#pragma once

#include "setup/SoundPlayer.h"

namespace tavi::setup {

// Keeps the volume and plays nothing.
class SilentSoundPlayer : public SoundPlayer {
public:
    void setVolume(int32_t volume) override { current = volume; }
    int32_t volume() const override { return current; }
    bool play() override { return false; }

private:
    int32_t current = 0;
};

} // namespace tavi::setup
