#include "core/sound/SoundManager.h"

#include "core/Format.h"
#include "platform/files/Files.h"

#include <algorithm>

namespace tavi {

namespace audio = platform::audio;

namespace {

int32_t clampVolume(int32_t volume) {
    return std::clamp(volume, audio::kVolumeMin, audio::kVolumeMax);
}

std::string describeFormat(const audio::WaveFormat& format) {
    return tavi::format("format %u with %u channels of %u bits not supported", format.formatTag,
                        format.channels, format.bitsPerSample);
}

} // namespace

SoundManager::SoundManager(Log log, DeviceOpener openDevice)
    : log_(std::move(log)), openDevice_(std::move(openDevice)) {}

SoundManager::~SoundManager() {
    queue_.clear();
    for (auto& [id, sound] : sounds_) {
        sound->stop();
    }
    sounds_.clear();
    device_.reset();
}

audio::AudioResult SoundManager::init() {
    device_.reset();
    audio::AudioResult result = audio::kAudioFail;
    device_ = openDevice_(result);
    if (!device_) {
        log_(format("No sound device (%X): the sounds stay silent", static_cast<unsigned>(result)));
    }
    return device_ ? audio::kAudioOk : result;
}

void SoundManager::setFolder(std::string folder) {
    folder_ = std::move(folder);
}

std::filesystem::path SoundManager::pathOf(std::string_view fileName) const {
    return platform::files::resolveCaseInsensitive(
        platform::files::nativePath(folder_ + std::string(fileName)));
}

audio::AudioResult SoundManager::create(std::unique_ptr<CSound>& sound, std::string_view fileName,
                                        int bufferCount) {
    if (!device_) {
        return audio::kAudioNotInitialised;
    }
    if (fileName.empty() || bufferCount <= 0) {
        return audio::kAudioInvalidArgument;
    }
    const std::filesystem::path path = pathOf(fileName);
    auto refuse = [&](const std::string& reason, audio::AudioResult result) {
        log_(format("Sound not loaded: %s: %s", path.c_str(), reason.c_str()));
        return result;
    };
    auto wave = std::make_unique<WaveFile>();
    wave->open(path);
    if (wave->dataSize() == 0) {
        return refuse(wave->failure(), audio::kAudioFail);
    }
    std::vector<std::unique_ptr<audio::AudioBuffer>> buffers(1);
    audio::AudioResult result =
        device_->createBuffer(*wave->format(), wave->dataSize(), buffers[0]);
    if (audio::failed(result)) {
        return refuse(describeFormat(*wave->format()), result);
    }
    for (int copy = 1; copy < bufferCount; ++copy) {
        std::unique_ptr<audio::AudioBuffer> duplicate;
        result = buffers[0]->duplicate(duplicate);
        if (audio::failed(result)) {
            return refuse(format("no room for buffer %d", copy + 1), result);
        }
        buffers.push_back(std::move(duplicate));
    }
    sound = std::make_unique<CSound>(device_, std::move(buffers), std::move(wave));
    sound->setVolume(muted_ ? audio::kVolumeMin : volume_);
    return result;
}

bool SoundManager::load(SoundId id, std::string_view fileName) {
    if (sounds_.contains(id)) {
        return true;
    }
    std::unique_ptr<CSound> sound;
    if (audio::failed(create(sound, fileName, 1))) {
        return false;
    }
    sounds_[id] = std::move(sound);
    return true;
}

int SoundManager::loadAll() {
    int loaded = 0;
    for (SoundId id = 0; id < kAircraftSoundCount; ++id) {
        if (load(id, kAircraftSoundFiles[static_cast<std::size_t>(id)])) {
            ++loaded;
        }
    }
    return loaded;
}

CSound* SoundManager::find(SoundId id) const {
    const auto found = sounds_.find(id);
    return found == sounds_.end() ? nullptr : found->second.get();
}

bool SoundManager::start(SoundId id, bool looping) {
    CSound* sound = find(id);
    if (!sound || paused_) {
        return false;
    }
    if (sound->isPlaying()) {
        return true;
    }
    sound->reset();
    return sound->play(looping) == audio::kAudioOk;
}

bool SoundManager::play(SoundId id) {
    return start(id, false);
}

bool SoundManager::playLooped(SoundId id) {
    return start(id, true);
}

bool SoundManager::stop(SoundId id) {
    CSound* sound = find(id);
    return sound && !audio::failed(sound->stop());
}

bool SoundManager::isPlaying(SoundId id) const {
    const CSound* sound = find(id);
    return sound && sound->isPlaying();
}

bool SoundManager::enqueue(SoundId id) {
    if (!find(id) || isQueued(id)) {
        return false;
    }
    queue_.push_back(id);
    if (queue_.size() == 1) {
        return play(id);
    }
    return true;
}

void SoundManager::dequeue(SoundId id, bool stopIfPlaying) {
    const auto entry = std::find(queue_.begin(), queue_.end(), id);
    if (entry == queue_.end()) {
        return;
    }
    if (entry != queue_.begin()) {
        queue_.erase(entry);
    } else if (stopIfPlaying && isPlaying(id)) {
        // The front stays queued: the next service removes it and starts the next call-out.
        stop(id);
    }
}

bool SoundManager::isQueued(SoundId id) const {
    return std::find(queue_.begin(), queue_.end(), id) != queue_.end();
}

void SoundManager::serviceQueue() {
    if (queue_.empty() || paused_ || isPlaying(queue_.front())) {
        return;
    }
    queue_.pop_front();
    if (!queue_.empty()) {
        play(queue_.front());
    }
}

void SoundManager::setSoundVolume(SoundId id, int32_t volume) {
    if (CSound* sound = find(id)) {
        sound->setVolume(clampVolume(volume));
    }
}

int32_t SoundManager::soundVolume(SoundId id) const {
    const CSound* sound = find(id);
    return sound ? sound->volume() : 0;
}

void SoundManager::setVolume(int32_t volume) {
    volume_ = clampVolume(volume);
    for (auto& [id, sound] : sounds_) {
        sound->setVolume(volume_);
    }
}

void SoundManager::setMuted(bool muted) {
    if (muted == muted_) {
        return;
    }
    for (auto& [id, sound] : sounds_) {
        sound->setVolume(muted ? audio::kVolumeMin : volume_);
    }
    muted_ = muted;
}

void SoundManager::setPaused(bool paused) {
    if (paused == paused_) {
        return;
    }
    for (auto& [id, sound] : sounds_) {
        if (paused) {
            sound->pauseIfPlaying();
        } else {
            sound->resume();
        }
    }
    paused_ = paused;
}

} // namespace tavi
