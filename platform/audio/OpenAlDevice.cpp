#define AL_ALEXT_PROTOTYPES
#include "platform/audio/OpenAlDevice.h"

#include "platform/audio/SoundOutput.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <thread>

namespace tavi::platform::audio {

// The OpenAL device and context, shared by the device object and every buffer made on it, so
// that a buffer stays playable after the device object is released.
struct OpenAlContext {
    OpenAlContext(ALCdevice* alDevice, ALCcontext* alContext)
        : device(alDevice), context(alContext) {}
    ~OpenAlContext() {
        if (alcGetCurrentContext() == context) {
            alcMakeContextCurrent(nullptr);
        }
        alcDestroyContext(context);
        alcCloseDevice(device);
    }
    OpenAlContext(const OpenAlContext&) = delete;
    OpenAlContext& operator=(const OpenAlContext&) = delete;

    // OpenAL calls act on the current context; each device makes its own current first.
    void makeCurrent() const {
        if (alcGetCurrentContext() != context) {
            alcMakeContextCurrent(context);
        }
    }

    bool connected() const {
        ALCint isConnected = ALC_TRUE;
        if (alcIsExtensionPresent(device, "ALC_EXT_disconnect")) {
            alcGetIntegerv(device, ALC_CONNECTED, 1, &isConnected);
        }
        return isConnected == ALC_TRUE;
    }

    ALCdevice* device;
    ALCcontext* context;
    // Losses of buffer memory so far, and the restores still to refuse (loopback only).
    uint32_t losses = 0;
    int restoreRefusals = 0;
};

namespace {

float gainOf(int32_t volume) {
    if (volume <= kVolumeMin) {
        return 0.0f;
    }
    return static_cast<float>(std::pow(10.0, volume / 2000.0));
}

ALenum openAlFormat(const WaveFormat& format) {
    if (format.formatTag != kWaveFormatPcm ||
        format.blockAlign != format.channels * format.bitsPerSample / 8) {
        return AL_NONE;
    }
    if (format.channels == 1) {
        return format.bitsPerSample == 8    ? AL_FORMAT_MONO8
               : format.bitsPerSample == 16 ? AL_FORMAT_MONO16
                                            : AL_NONE;
    }
    if (format.channels == 2) {
        return format.bitsPerSample == 8    ? AL_FORMAT_STEREO8
               : format.bitsPerSample == 16 ? AL_FORMAT_STEREO16
                                            : AL_NONE;
    }
    return AL_NONE;
}

constexpr uint32_t kMinSampleRate = 1000;
constexpr uint32_t kMaxSampleRate = 192000;

// Samples in an OpenAL buffer, shared by a buffer and its duplicates until one of them is
// filled anew.
class Samples {
public:
    explicit Samples(std::shared_ptr<OpenAlContext> context) : context_(std::move(context)) {
        context_->makeCurrent();
        alGenBuffers(1, &id_);
    }
    ~Samples() {
        context_->makeCurrent();
        alDeleteBuffers(1, &id_);
    }
    Samples(const Samples&) = delete;
    Samples& operator=(const Samples&) = delete;

    ALuint id() const { return id_; }

private:
    std::shared_ptr<OpenAlContext> context_;
    ALuint id_ = 0;
};

class OpenAlBuffer final : public AudioBuffer {
public:
    OpenAlBuffer(std::shared_ptr<OpenAlContext> context, const WaveFormat& format, ALenum alFormat,
                 uint32_t bytes, std::shared_ptr<Samples> samples)
        : context_(std::move(context)), format_(format), alFormat_(alFormat), size_(bytes),
          restoredLosses_(context_->losses) {
        context_->makeCurrent();
        alGetError();
        alGenSources(1, &source_);
        // The sound plays as it is recorded: at the listener, never attenuated by distance.
        alSourcei(source_, AL_SOURCE_RELATIVE, AL_TRUE);
        alSource3f(source_, AL_POSITION, 0.0f, 0.0f, 0.0f);
        alSourcef(source_, AL_ROLLOFF_FACTOR, 0.0f);
        valid_ = alGetError() == AL_NO_ERROR;
        if (samples) {
            attach(std::move(samples));
        }
    }

    ~OpenAlBuffer() override {
        context_->makeCurrent();
        alDeleteSources(1, &source_);
    }

    OpenAlBuffer(const OpenAlBuffer&) = delete;
    OpenAlBuffer& operator=(const OpenAlBuffer&) = delete;

    bool valid() const { return valid_; }

    uint32_t size() const override { return size_; }

    AudioResult fill(std::span<const uint8_t> bytes) override {
        if (bytes.size() != size_) {
            return kAudioInvalidArgument;
        }
        context_->makeCurrent();
        alGetError();
        // New samples go into an OpenAL buffer of their own, leaving any duplicate's alone.
        auto samples = std::make_shared<Samples>(context_);
        const uint32_t wholeFrames = size_ - size_ % format_.blockAlign;
        alBufferData(samples->id(), alFormat_, bytes.data(), static_cast<ALsizei>(wholeFrames),
                     static_cast<ALsizei>(format_.samplesPerSecond));
        if (alGetError() != AL_NO_ERROR) {
            return kAudioFail;
        }
        attach(std::move(samples));
        return alGetError() == AL_NO_ERROR ? kAudioOk : kAudioFail;
    }

    AudioResult play(bool looping) override {
        context_->makeCurrent();
        alSourcei(source_, AL_LOOPING, looping ? AL_TRUE : AL_FALSE);
        if (state() != AL_PLAYING) {
            alSourcePlay(source_);
        }
        return kAudioOk;
    }

    AudioResult stop() override {
        context_->makeCurrent();
        alSourcePause(source_);
        return kAudioOk;
    }

    AudioResult rewind() override {
        context_->makeCurrent();
        if (state() == AL_PLAYING) {
            alSourcei(source_, AL_BYTE_OFFSET, 0);
        } else {
            alSourceRewind(source_);
        }
        return kAudioOk;
    }

    BufferStatus status() const override {
        context_->makeCurrent();
        ALint looping = AL_FALSE;
        alGetSourcei(source_, AL_LOOPING, &looping);
        return {state() == AL_PLAYING, looping == AL_TRUE, isLost()};
    }

    AudioResult restore() override {
        if (!context_->connected()) {
            return kAudioBufferLost;
        }
        if (restoredLosses_ == context_->losses) {
            return kAudioOk;
        }
        if (context_->restoreRefusals > 0) {
            --context_->restoreRefusals;
            return kAudioBufferLost;
        }
        restoredLosses_ = context_->losses;
        // The memory comes back empty; the owner fills it again.
        const uint8_t silence = format_.bitsPerSample == 8 ? 128 : 0;
        const std::vector<uint8_t> empty(size_, silence);
        return fill(empty);
    }

    AudioResult setVolume(int32_t volume) override {
        volume_ = std::clamp(volume, kVolumeMin, kVolumeMax);
        context_->makeCurrent();
        alSourcef(source_, AL_GAIN, gainOf(volume_));
        return kAudioOk;
    }

    std::optional<int32_t> volume() const override { return volume_; }

    AudioResult duplicate(std::unique_ptr<AudioBuffer>& copy) const override {
        auto buffer = std::make_unique<OpenAlBuffer>(context_, format_, alFormat_, size_, samples_);
        if (!buffer->valid()) {
            return kAudioOutOfMemory;
        }
        buffer->setVolume(volume_);
        copy = std::move(buffer);
        return kAudioOk;
    }

private:
    // A source can only change its buffer while it is stopped.
    void attach(std::shared_ptr<Samples> samples) {
        alSourceStop(source_);
        alSourcei(source_, AL_BUFFER, static_cast<ALint>(samples->id()));
        alSourceRewind(source_);
        samples_ = std::move(samples);
    }

    ALint state() const {
        ALint value = AL_INITIAL;
        alGetSourcei(source_, AL_SOURCE_STATE, &value);
        return value;
    }

    bool isLost() const { return restoredLosses_ != context_->losses || !context_->connected(); }

    std::shared_ptr<OpenAlContext> context_;
    WaveFormat format_;
    ALenum alFormat_;
    uint32_t size_;
    std::shared_ptr<Samples> samples_;
    ALuint source_ = 0;
    bool valid_ = false;
    int32_t volume_ = kVolumeMax;
    uint32_t restoredLosses_;
};

std::shared_ptr<OpenAlContext> makeContext(ALCdevice* device, const ALCint* attributes) {
    if (!device) {
        return nullptr;
    }
    ALCcontext* context = alcCreateContext(device, attributes);
    if (!context) {
        alcCloseDevice(device);
        return nullptr;
    }
    return std::make_shared<OpenAlContext>(device, context);
}

} // namespace

OpenAlDevice::OpenAlDevice(std::shared_ptr<OpenAlContext> context) : context_(std::move(context)) {}

OpenAlDevice::~OpenAlDevice() = default;

AudioResult OpenAlDevice::createBuffer(const WaveFormat& format, uint32_t bytes,
                                       std::unique_ptr<AudioBuffer>& buffer) {
    const ALenum alFormat = openAlFormat(format);
    if (alFormat == AL_NONE || format.samplesPerSecond < kMinSampleRate ||
        format.samplesPerSecond > kMaxSampleRate || bytes < format.blockAlign) {
        return kAudioInvalidArgument;
    }
    auto created = std::make_unique<OpenAlBuffer>(context_, format, alFormat, bytes, nullptr);
    if (!created->valid()) {
        return kAudioOutOfMemory;
    }
    buffer = std::move(created);
    return kAudioOk;
}

void OpenAlDevice::wait(uint32_t ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

std::shared_ptr<AudioDevice> openOutputDevice(AudioResult& result) {
    // Probing a machine without sound output fills the terminal with the sound library's own
    // errors; the caller's one line says it better. A driver named in the environment is tried.
    if (!std::getenv("ALSOFT_DRIVERS") && !machineHasSoundOutput()) {
        result = kAudioFail;
        return nullptr;
    }
    auto context = makeContext(alcOpenDevice(nullptr), nullptr);
    if (!context) {
        result = kAudioFail;
        return nullptr;
    }
    result = kAudioOk;
    return std::make_shared<OpenAlDevice>(std::move(context));
}

LoopbackAudioDevice::LoopbackAudioDevice(std::shared_ptr<OpenAlContext> context)
    : OpenAlDevice(std::move(context)) {}

std::shared_ptr<LoopbackAudioDevice> LoopbackAudioDevice::open() {
    if (!alcIsExtensionPresent(nullptr, "ALC_SOFT_loopback")) {
        return nullptr;
    }
    ALCdevice* device = alcLoopbackOpenDeviceSOFT(nullptr);
    if (device &&
        !alcIsRenderFormatSupportedSOFT(device, kSampleRate, ALC_STEREO_SOFT, ALC_FLOAT_SOFT)) {
        alcCloseDevice(device);
        return nullptr;
    }
    const ALCint attributes[] = {ALC_FORMAT_CHANNELS_SOFT,
                                 ALC_STEREO_SOFT,
                                 ALC_FORMAT_TYPE_SOFT,
                                 ALC_FLOAT_SOFT,
                                 ALC_FREQUENCY,
                                 static_cast<ALCint>(kSampleRate),
                                 0};
    auto context = makeContext(device, attributes);
    if (!context) {
        return nullptr;
    }
    return std::make_shared<LoopbackAudioDevice>(std::move(context));
}

std::vector<float> LoopbackAudioDevice::render(uint32_t ms) {
    // Frames are counted from the start, so that no fraction of a frame is ever lost.
    const uint64_t framesBefore = renderedMs_ * kSampleRate / 1000;
    renderedMs_ += ms;
    const uint64_t frames = renderedMs_ * kSampleRate / 1000 - framesBefore;
    std::vector<float> samples(frames * 2);
    context_->makeCurrent();
    alcRenderSamplesSOFT(context_->device, samples.data(), static_cast<ALCsizei>(frames));
    return samples;
}

void LoopbackAudioDevice::wait(uint32_t ms) {
    render(ms);
}

void LoopbackAudioDevice::loseBuffers(int refusals) {
    ++context_->losses;
    context_->restoreRefusals = refusals;
}

} // namespace tavi::platform::audio
