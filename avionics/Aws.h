#pragma once

#include "avionics/EicasDau.h"
#include "core/System.h"
#include "core/sound/AircraftSounds.h"

#include <cstdint>

namespace tavi {

class Electric;
class SoundManager;

// Sounds of the aircraft table that the systems name.
namespace sounds {
inline constexpr SoundId kCautionChime = 14;
inline constexpr SoundId kWarningChime = 15;
inline constexpr SoundId kAuralUnitOk = 16;
inline constexpr SoundId kAuralUnitOneChannel = 17;
inline constexpr SoundId kAuralUnitOne = 18;
inline constexpr SoundId kKnobClick = 47;
inline constexpr SoundId kApuStartup = 49;
inline constexpr SoundId kApuRunning = 50;
inline constexpr SoundId kApuShutdown = 51;
inline constexpr SoundId kBatteriesOn = 52;
inline constexpr SoundId kBatteriesStartup = 53;
inline constexpr SoundId kCabinCallout = 56;
} // namespace sounds

// The aural warning unit: every system's only way to the sound manager. A sound that is not
// forced starts only while at least one of the unit's two power channels has power; a sound
// already playing goes on when the power goes.
class Aws : public System {
public:
    void update(Aircraft& aircraft) override;
    void addElectricLoad(Aircraft& aircraft, BusLoads& loads) override;

    bool play(SoundId id, bool force);
    bool playLooped(SoundId id, bool force);
    bool stop(SoundId id);
    // Queued behind the call-outs already waiting; the first plays at once.
    bool enqueue(SoundId id);
    void dequeue(SoundId id, bool stopIfPlaying);
    bool isPlaying(SoundId id);
    bool isQueued(SoundId id);
    // Hundredths of a decibel, -10000..0.
    void setVolume(SoundId id, int32_t volume);
    int32_t volume(SoundId id);
    int32_t masterVolume();

    // Channel 1 hangs on essential bus 1, channel 2 on DC bus 2.
    bool channel1Powered = false;
    bool channel2Powered = false;
    bool previousChannel1Powered = false;
    bool previousChannel2Powered = false;
    bool started = false;
    Electric* electric = nullptr;

private:
    bool hasPower() const { return channel1Powered || channel2Powered; }
    // The Aircraft's sound manager, null before the start-up has made it.
    static SoundManager* manager();
    void announcePowerChange();
    void updateFailMessage(Aircraft& aircraft);

    EicasPowerWatch eicasPower;
};

} // namespace tavi
