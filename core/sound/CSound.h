#pragma once

#include "core/sound/WaveFile.h"
#include "platform/audio/AudioDevice.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace tavi {

// One loaded sound: its buffers on the sound device and the WAV file they are filled from.
class CSound {
public:
    // Answer of restoreBuffer when the buffer was not lost.
    static constexpr platform::audio::AudioResult kNothingToRestore = 1;
    // A buffer that cannot be restored within this many tries makes the play fail.
    static constexpr int kRestoreAttempts = 10;
    static constexpr uint32_t kRestoreWaitMs = 10;

    // Fills every buffer with the file's samples and rewinds them.
    CSound(std::shared_ptr<platform::audio::AudioDevice> device,
           std::vector<std::unique_ptr<platform::audio::AudioBuffer>> buffers,
           std::unique_ptr<WaveFile> wave);
    virtual ~CSound();
    CSound(const CSound&) = delete;
    CSound& operator=(const CSound&) = delete;

    // Starts a free buffer from its position, restoring and refilling it first if it was lost.
    platform::audio::AudioResult play(bool looping);
    // Stops every buffer where it is; a sound stopped while paused stays stopped on resume.
    platform::audio::AudioResult stop();
    // Rewinds every buffer to its start.
    void reset();
    bool isPlaying() const;
    void setVolume(int32_t volume);
    // The volume of the first buffer that reports one, else 0.
    int32_t volume() const;

    // Stops a playing sound and marks it to be resumed.
    void pauseIfPlaying();
    // Plays a marked sound again as it last played, from where it stopped.
    void resume();

    platform::audio::AudioResult restoreBuffer(platform::audio::AudioBuffer& buffer,
                                               bool& restored);
    // The first buffer that is not playing, else any one.
    platform::audio::AudioBuffer& freeBuffer();

private:
    platform::audio::AudioResult fillBuffer(platform::audio::AudioBuffer& buffer);
    platform::audio::AudioResult stopBuffers();

    std::shared_ptr<platform::audio::AudioDevice> device_;
    std::vector<std::unique_ptr<platform::audio::AudioBuffer>> buffers_;
    uint32_t bufferSize_;
    std::unique_ptr<WaveFile> wave_;
    bool pauseMark_ = false;
    bool looping_ = false;
};

} // namespace tavi
