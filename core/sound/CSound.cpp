#include "core/sound/CSound.h"

#include <cstdlib>

namespace tavi {

namespace audio = platform::audio;

CSound::CSound(std::shared_ptr<audio::AudioDevice> device,
               std::vector<std::unique_ptr<audio::AudioBuffer>> buffers,
               std::unique_ptr<WaveFile> wave)
    : device_(std::move(device)), buffers_(std::move(buffers)), bufferSize_(wave->dataSize()),
      wave_(std::move(wave)) {
    // Each buffer holds its own copy of the samples.
    for (auto& buffer : buffers_) {
        fillBuffer(*buffer);
    }
    reset();
}

CSound::~CSound() = default;

audio::AudioResult CSound::play(bool looping) {
    if (buffers_.empty()) {
        return audio::kAudioNotInitialised;
    }
    audio::AudioBuffer& buffer = freeBuffer();
    bool restored = false;
    audio::AudioResult result = restoreBuffer(buffer, restored);
    if (audio::failed(result)) {
        return result;
    }
    if (restored) {
        result = fillBuffer(buffer);
        if (audio::failed(result)) {
            return result;
        }
        reset();
    }
    looping_ = looping;
    return buffer.play(looping);
}

audio::AudioResult CSound::stop() {
    pauseMark_ = false;
    return stopBuffers();
}

audio::AudioResult CSound::stopBuffers() {
    audio::AudioResult combined = audio::kAudioOk;
    for (auto& buffer : buffers_) {
        const audio::AudioResult result = buffer->stop();
        if (audio::failed(result)) {
            combined = result;
        }
    }
    return combined;
}

void CSound::reset() {
    for (auto& buffer : buffers_) {
        buffer->rewind();
    }
}

bool CSound::isPlaying() const {
    for (const auto& buffer : buffers_) {
        if (buffer->status().playing) {
            return true;
        }
    }
    return false;
}

void CSound::setVolume(int32_t volume) {
    for (auto& buffer : buffers_) {
        buffer->setVolume(volume);
    }
}

int32_t CSound::volume() const {
    for (const auto& buffer : buffers_) {
        if (const auto volume = buffer->volume()) {
            return *volume;
        }
    }
    return 0;
}

void CSound::pauseIfPlaying() {
    if (isPlaying()) {
        stopBuffers();
        pauseMark_ = true;
    }
}

void CSound::resume() {
    if (pauseMark_) {
        play(looping_);
        pauseMark_ = false;
    }
}

audio::AudioResult CSound::restoreBuffer(audio::AudioBuffer& buffer, bool& restored) {
    restored = false;
    if (!buffer.status().lost) {
        return kNothingToRestore;
    }
    for (int attempt = 0; attempt < kRestoreAttempts; ++attempt) {
        if (buffer.restore() == audio::kAudioBufferLost) {
            device_->wait(kRestoreWaitMs);
        }
        if (buffer.restore() != audio::kAudioBufferLost) {
            restored = true;
            return audio::kAudioOk;
        }
    }
    return audio::kAudioBufferLost;
}

audio::AudioBuffer& CSound::freeBuffer() {
    for (auto& buffer : buffers_) {
        if (!buffer->status().playing) {
            return *buffer;
        }
    }
    return *buffers_[static_cast<std::size_t>(std::rand()) % buffers_.size()];
}

audio::AudioResult CSound::fillBuffer(audio::AudioBuffer& buffer) {
    bool restored = false;
    const audio::AudioResult result = restoreBuffer(buffer, restored);
    if (audio::failed(result)) {
        return result;
    }
    const audio::WaveFormat* format = wave_->format();
    const uint8_t silence = format && format->bitsPerSample == 8 ? 128 : 0;
    std::vector<uint8_t> bytes(bufferSize_, silence);
    uint32_t bytesRead = 0;
    wave_->rewind();
    wave_->read(bytes, bytesRead);
    return buffer.fill(bytes);
}

} // namespace tavi
