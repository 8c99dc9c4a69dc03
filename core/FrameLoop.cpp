// The timed frame loop, the deferred start-up and the simulator's key events.
#include "core/Aircraft.h"
#include "core/Format.h"
#include "core/Imports.h"
#include "core/ModuleGraphics.h"
#include "core/sound/SoundManager.h"
#include "displays/PanelElement.h"
#include "platform/Random.h"

#include <cmath>
#include <cstdint>
#include <optional>

namespace tavi {

namespace {

constexpr int kTickToken = 1;
constexpr int kSecondsToken = 604;
constexpr int kFirstSystemId = 9;
constexpr int kFirstDisplayId = 1;
constexpr int kLastDisplayId = 11;

// A token value as a 32-bit integer, or nothing when it is not a finite value in range.
std::optional<int32_t> toInt32(double value) {
    if (!std::isfinite(value) || value >= 2147483648.0 || value <= -2147483649.0) {
        return std::nullopt;
    }
    return static_cast<int32_t>(value);
}

double readToken(int tokenId) {
    TokenVar record{};
    record.id = tokenId;
    panelServices().lookupToken(record);
    return record.value;
}

// The time base restarts after a tick whose tokens could not be read or converted. A time that
// is no number at all keeps the last good one, so that the clock does not jump afterwards.
void restartTimeBase(Aircraft& aircraft, double seconds) {
    aircraft.inFrame = false;
    aircraft.previousSimMs = aircraft.simMs;
    if (const std::optional<int32_t> ms = toInt32(seconds * 1000.0)) {
        aircraft.simMs = *ms > 0 ? *ms : 0;
    }
    aircraft.frameDeltaMs = 0;
}

// Reads the tick and time tokens; false when no frame is to run.
bool beginFrame(Aircraft& aircraft) {
    const double seconds = readToken(kSecondsToken);
    const std::optional<int32_t> tick = toInt32(readToken(kTickToken));
    const std::optional<int32_t> simMs = toInt32(seconds * 1000.0);
    if (!tick || !simMs) {
        restartTimeBase(aircraft, seconds);
        return false;
    }
    aircraft.previousTick = aircraft.tick;
    aircraft.tick = *tick;
    if (aircraft.tick == aircraft.previousTick) {
        return false;
    }
    aircraft.inFrame = true;
    aircraft.previousSimMs = aircraft.simMs;
    aircraft.simMs = *simMs;
    return true;
}

void advanceClock(Aircraft& aircraft) {
    if (aircraft.simState.isPaused()) {
        aircraft.frameDeltaMs = 0;
        return;
    }
    // Time going back (a reset of the simulator's clock) must not run the systems backwards.
    const int64_t delta = int64_t{aircraft.simMs} - aircraft.previousSimMs;
    aircraft.frameDeltaMs = delta > 0 ? static_cast<int32_t>(delta) : 0;
    aircraft.simTimeMs += static_cast<uint32_t>(aircraft.frameDeltaMs);
}

} // namespace

void timerProc() {
    Aircraft* aircraft = theAircraft;
    if (!aircraft || !aircraft->simRunning) {
        return;
    }
    if (!beginFrame(*aircraft)) {
        return;
    }
    aircraft->pollJoysticks();
    advanceClock(*aircraft);
    if (!aircraft->initialised) {
        aircraft->initialise();
        aircraft->log("reading ini");
        aircraft->startSystems();
        aircraft->initialised = true;
        aircraft->log("Plane initialised");
    }
    aircraft->update();
}

void Aircraft::initialise() {
    startGraphics();
    platform::seedRandom(hostServices().tickCountMs());
    buildPaths();
    log("Initialising plane");
    useFsuipc = readIniBool("FSUIPC", "useFsuipc", false);

    systems.fill(nullptr);
    createEnginesAndHydraulics();
    log("Engines and hydraulics initialised");
    for (int id = kFirstSystemId; id < kSystemSlots; ++id) {
        systems[static_cast<std::size_t>(id)] = createSystem(id);
        log(format("System %d initialised", id));
    }

    displays.fill(nullptr);
    for (int id = kFirstDisplayId; id <= kLastDisplayId; ++id) {
        displays[static_cast<std::size_t>(id)] = createDisplay(id);
        log(format("Display %d initialised", id));
    }

    soundManager = std::make_unique<SoundManager>([this](std::string_view line) { log(line); },
                                                  [](platform::audio::AudioResult& result) {
                                                      return hostServices().openSoundOutput(result);
                                                  });
    log("Sound manager initialised");
    panelServices().registerKeyEventHandler(keyEventHandler, this);
}

void Aircraft::startSystems() {
    initSound();
    for (System* system : systems) {
        if (system) {
            system->loadSettings(*this);
        }
    }
    for (PanelElement* screen : displays) {
        if (screen) {
            screen->loadSettings(*this);
        }
    }
    if (!keyboardHook) {
        keyboardHook = hostServices().installKeyboardHook(keyboardHookProc, simThreadId);
    }
}

void Aircraft::update() {
    tokens.refresh();
    slewActive = slewVar.read() != 0.0;
    for (System* system : systems) {
        if (system) {
            system->update(*this);
            system->updatePower(*this);
        }
    }
    for (PanelElement* screen : displays) {
        if (screen) {
            screen->update(*this);
            screen->updatePower(*this);
        }
    }
    if (soundManager) {
        soundManager->setMuted(!simState.isSoundOn());
        soundManager->setPaused(simState.isPaused());
        soundManager->serviceQueue();
    }
}

void Aircraft::preUpdate() {
    for (System* system : systems) {
        if (system) {
            system->preUpdate(*this);
        }
    }
    preUpdateSeen = true;
}

void keyEventHandler(uint32_t eventId, uint32_t data, void* userData) {
    auto* aircraft = static_cast<Aircraft*>(userData);
    if (!aircraft) {
        return;
    }
    for (System* system : aircraft->systems) {
        if (system && system->wantsSimEvents()) {
            system->handleSimEvent(eventId, data);
        }
    }
}

} // namespace tavi
