#pragma once

#include "platform/audio/AudioDevice.h"

namespace tavi::platform::audio {

struct OpenAlContext;

// A sound device on OpenAL Soft: each buffer is an OpenAL buffer played by a source of its own.
class OpenAlDevice : public AudioDevice {
public:
    explicit OpenAlDevice(std::shared_ptr<OpenAlContext> context);
    ~OpenAlDevice() override;
    OpenAlDevice(const OpenAlDevice&) = delete;
    OpenAlDevice& operator=(const OpenAlDevice&) = delete;

    AudioResult createBuffer(const WaveFormat& format, uint32_t bytes,
                             std::unique_ptr<AudioBuffer>& buffer) override;
    void wait(uint32_t ms) override;

protected:
    std::shared_ptr<OpenAlContext> context_;
};

// The machine's default sound output; null with the failure when it has none.
std::shared_ptr<AudioDevice> openOutputDevice(AudioResult& result);

// A device that renders into memory instead of loudspeakers. Its clock moves only when it is
// told to render, so what played, looped and stopped, and how loud, can be read back.
class LoopbackAudioDevice final : public OpenAlDevice {
public:
    static constexpr uint32_t kSampleRate = 44100;

    // Null when OpenAL Soft offers no loopback device.
    static std::shared_ptr<LoopbackAudioDevice> open();

    explicit LoopbackAudioDevice(std::shared_ptr<OpenAlContext> context);

    // The next ms milliseconds of output as interleaved stereo samples (left, right).
    std::vector<float> render(uint32_t ms);
    void wait(uint32_t ms) override;
    // Milliseconds rendered since the device opened.
    uint64_t renderedMs() const { return renderedMs_; }

    // Every buffer loses its memory, as when another program takes the sound card; the next
    // `refusals` restores still answer that the buffer is lost.
    void loseBuffers(int refusals);

private:
    uint64_t renderedMs_ = 0;
};

} // namespace tavi::platform::audio
