#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

// Sound output: a device and its static buffers, one buffer per sound.
namespace tavi::platform::audio {

// Result codes of the sound layer: 0 or another non-negative value is success.
using AudioResult = int32_t;

inline constexpr AudioResult kAudioOk = 0;
inline constexpr AudioResult kAudioNotInitialised = static_cast<AudioResult>(0x800401F0);
inline constexpr AudioResult kAudioInvalidArgument = static_cast<AudioResult>(0x80070057);
inline constexpr AudioResult kAudioOutOfMemory = static_cast<AudioResult>(0x8007000E);
inline constexpr AudioResult kAudioFail = static_cast<AudioResult>(0x80004005);
// The buffer lost its memory and must be restored and filled again before it plays.
inline constexpr AudioResult kAudioBufferLost = static_cast<AudioResult>(0x88780096);

constexpr bool failed(AudioResult result) {
    return result < 0;
}

// Volumes are in hundredths of a decibel: 0 is full level, -10000 is silent.
inline constexpr int32_t kVolumeMax = 0;
inline constexpr int32_t kVolumeMin = -10000;

inline constexpr uint16_t kWaveFormatPcm = 1;

// The format record of a RIFF/WAVE file.
struct WaveFormat {
    uint16_t formatTag = 0;
    uint16_t channels = 0;
    uint32_t samplesPerSecond = 0;
    uint32_t averageBytesPerSecond = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;
    // The bytes that follow the format record of a format other than PCM.
    std::vector<uint8_t> extra;
};

struct BufferStatus {
    bool playing = false;
    bool looping = false;
    bool lost = false;
};

// One static buffer: its bytes are written once and played from the start, from where it was
// stopped, once or looping.
class AudioBuffer {
public:
    virtual ~AudioBuffer() = default;

    virtual uint32_t size() const = 0;
    // Replaces the buffer's bytes; the span holds exactly size() bytes.
    virtual AudioResult fill(std::span<const uint8_t> bytes) = 0;
    // Starts the buffer from its position; a buffer already playing only takes the new looping.
    virtual AudioResult play(bool looping) = 0;
    // Stops the buffer where it is, so that the next play goes on from there.
    virtual AudioResult stop() = 0;
    virtual AudioResult rewind() = 0;
    virtual BufferStatus status() const = 0;
    // Gives a lost buffer its memory back (empty); kAudioBufferLost while that is impossible.
    virtual AudioResult restore() = 0;
    // Clamped to kVolumeMin..kVolumeMax.
    virtual AudioResult setVolume(int32_t volume) = 0;
    virtual std::optional<int32_t> volume() const = 0;
    // Another buffer with the same samples and volume and a position of its own.
    virtual AudioResult duplicate(std::unique_ptr<AudioBuffer>& copy) const = 0;
};

class AudioDevice {
public:
    virtual ~AudioDevice() = default;

    // A buffer of the given size for PCM samples of 8 or 16 bits, mono or stereo; any other
    // format is an invalid argument.
    virtual AudioResult createBuffer(const WaveFormat& format, uint32_t bytes,
                                     std::unique_ptr<AudioBuffer>& buffer) = 0;
    // Lets the given time go by: the loudspeakers' device sleeps, a rendering device renders it.
    virtual void wait(uint32_t ms) = 0;
};

} // namespace tavi::platform::audio
