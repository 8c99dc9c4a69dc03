#pragma once

#include "core/sound/AircraftSounds.h"
#include "core/sound/CSound.h"
#include "platform/audio/AudioDevice.h"
#include "platform/audio/OpenAlDevice.h"

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace tavi {

// The cockpit's sounds: the sound device, the loaded sounds by SoundId, the queue of call-outs
// that play one after the other, the overall volume and the muted and paused states.
class SoundManager {
public:
    // Where the manager writes its log lines.
    using Log = std::function<void(std::string_view line)>;
    using DeviceOpener = std::function<std::shared_ptr<platform::audio::AudioDevice>(
        platform::audio::AudioResult& result)>;

    explicit SoundManager(Log log, DeviceOpener openDevice = platform::audio::openOutputDevice);
    ~SoundManager();
    SoundManager(const SoundManager&) = delete;
    SoundManager& operator=(const SoundManager&) = delete;

    // Opens the sound device in place of any device held before. Without one every sound
    // stays absent, which is logged once.
    platform::audio::AudioResult init();
    // The folder that sound file names are relative to, written with "\" or "/".
    void setFolder(std::string folder);

    // A sound of the file (relative to the folder) with the given number of buffers, at the
    // manager's volume, or silent while muted.
    platform::audio::AudioResult create(std::unique_ptr<CSound>& sound, std::string_view fileName,
                                        int bufferCount);
    // True when the id is loaded afterwards; an id loaded before is not read again.
    bool load(SoundId id, std::string_view fileName);
    // Loads the aircraft's sound table; answers how many of its sounds are loaded.
    int loadAll();

    // Rewinds and plays the sound once; true without restarting when it is already playing;
    // false when it is not loaded, the play failed or the manager is paused.
    bool play(SoundId id);
    // As play, looping.
    bool playLooped(SoundId id);
    bool stop(SoundId id);
    bool isPlaying(SoundId id) const;

    // Appends a call-out to the queue; the first in the queue plays at once.
    bool enqueue(SoundId id);
    void dequeue(SoundId id, bool stopIfPlaying);
    bool isQueued(SoundId id) const;
    // Once a frame: when the front call-out has ended, the next one starts.
    void serviceQueue();

    void setSoundVolume(SoundId id, int32_t volume);
    int32_t soundVolume(SoundId id) const;
    void setVolume(int32_t volume);
    int32_t volume() const { return volume_; }
    void setMuted(bool muted);
    void setPaused(bool paused);
    bool muted() const { return muted_; }
    bool paused() const { return paused_; }

private:
    CSound* find(SoundId id) const;
    bool start(SoundId id, bool looping);
    std::filesystem::path pathOf(std::string_view fileName) const;

    Log log_;
    DeviceOpener openDevice_;
    std::shared_ptr<platform::audio::AudioDevice> device_;
    std::string folder_;
    std::map<SoundId, std::unique_ptr<CSound>> sounds_;
    std::deque<SoundId> queue_;
    int32_t volume_ = 0;
    bool muted_ = false;
    bool paused_ = false;
};

} // namespace tavi
