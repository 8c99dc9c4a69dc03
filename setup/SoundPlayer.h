#pragma once

#include <cstdint>

namespace tavi::setup {

// The sheet's test sound: the volume the Sound page shows and saves, and the Test button.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Hundredths of a decibel. The value is kept as given, so that a value from the file that
    // lies outside -10000..0 is saved back unchanged; the sound plays it limited to that range.
    virtual void setVolume(int32_t volume) = 0;
    virtual int32_t volume() const = 0;
    // Plays the test sound once; false when there is none to play.
    virtual bool play() = 0;
};

} // namespace tavi::setup
