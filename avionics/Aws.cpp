#include "avionics/Aws.h"

#include "airframe/Electric.h"
#include "avionics/Adc.h"
#include "avionics/EicasDau.h"
#include "core/Aircraft.h"
#include "core/sound/SoundManager.h"

#include <algorithm>

namespace tavi {

namespace {

constexpr int32_t kAuralWarnFailId = 66;
constexpr float kAuralChannelLoadAmps = 5.0f;
constexpr int32_t kSilentVolume = -10000;
constexpr int32_t kFullVolume = 0;

} // namespace

SoundManager* Aws::manager() {
    return theAircraft ? theAircraft->soundManager.get() : nullptr;
}

bool Aws::play(SoundId id, bool force) {
    SoundManager* player = manager();
    return player && (force || hasPower()) && player->play(id);
}

bool Aws::playLooped(SoundId id, bool force) {
    SoundManager* player = manager();
    return player && (force || hasPower()) && player->playLooped(id);
}

bool Aws::stop(SoundId id) {
    SoundManager* player = manager();
    return player && player->stop(id);
}

bool Aws::enqueue(SoundId id) {
    SoundManager* player = manager();
    return player && hasPower() && player->enqueue(id);
}

void Aws::dequeue(SoundId id, bool stopIfPlaying) {
    if (SoundManager* player = manager()) {
        player->dequeue(id, stopIfPlaying);
    }
}

bool Aws::isPlaying(SoundId id) {
    SoundManager* player = manager();
    return player && player->isPlaying(id);
}

bool Aws::isQueued(SoundId id) {
    SoundManager* player = manager();
    return player && player->isQueued(id);
}

void Aws::setVolume(SoundId id, int32_t volume) {
    if (SoundManager* player = manager()) {
        player->setSoundVolume(id, std::clamp(volume, kSilentVolume, kFullVolume));
    }
}

int32_t Aws::volume(SoundId id) {
    SoundManager* player = manager();
    return player ? player->soundVolume(id) : 0;
}

int32_t Aws::masterVolume() {
    SoundManager* player = manager();
    return player ? player->volume() : 0;
}

void Aws::update(Aircraft& aircraft) {
    electric = aircraft.electric();
    previousChannel1Powered = channel1Powered;
    previousChannel2Powered = channel2Powered;
    channel1Powered = electric && electric->isPowered(Electric::kEssentialBus1);
    channel2Powered = electric && electric->isPowered(Electric::kDcBus2);
    if (started) {
        announcePowerChange();
    }
    updateFailMessage(aircraft);
    if (!started && aircraft.simTimeMs != 0) {
        started = true;
    }
}

void Aws::announcePowerChange() {
    const bool deadBefore = !previousChannel1Powered && !previousChannel2Powered;
    const bool bothBefore = previousChannel1Powered && previousChannel2Powered;
    const bool bothNow = channel1Powered && channel2Powered;
    if (deadBefore && bothNow) {
        play(sounds::kAuralUnitOk, false);
    } else if (deadBefore && hasPower()) {
        play(sounds::kAuralUnitOneChannel, false);
    } else if (bothBefore && !bothNow) {
        // Heard only while the other channel still has power.
        play(sounds::kAuralUnitOne, false);
    }
}

void Aws::updateFailMessage(Aircraft& aircraft) {
    const Adc* adc = aircraft.adc();
    const bool dead = !hasPower();
    const bool wasDead = !previousChannel1Powered && !previousChannel2Powered;
    const bool poweredAgain = eicasPower.poweredAgain(aircraft.eicasDau());
    if (started && dead == wasDead && !poweredAgain && !(adc && adc->flightPhaseChanged)) {
        return;
    }
    const bool takeoffOrLanding =
        adc && (adc->flightPhase == kTakeoffPhase || adc->flightPhase == kLandingPhase);
    showEicasMessage(aircraft.eicasDau(), aircraft.simTimeMs, kEicasCaution, kAuralWarnFailId,
                     dead && !takeoffOrLanding ? "AURAL WARN FAIL" : "");
}

void Aws::addElectricLoad(Aircraft&, BusLoads& loads) {
    if (channel1Powered) {
        loads[Electric::kEssentialBus1] += kAuralChannelLoadAmps;
    }
    if (channel2Powered) {
        loads[Electric::kDcBus2] += kAuralChannelLoadAmps;
    }
}

} // namespace tavi
