#include "avionics/EicasDau.h"

#include "airframe/Electric.h"
#include "airframe/Pressure.h"
#include "avionics/Aws.h"
#include "core/Aircraft.h"
#include "core/Imports.h"

#include <new>

namespace tavi {

namespace {

// On the system's millisecond tick count, not on simulation time.
constexpr uint32_t kChimeRepeatMs = 5000;
constexpr uint32_t kFlashPeriodMs = 1000;
constexpr uint32_t kFlashLitMs = 500;
constexpr float kDauLoadAmps = 5.0f;

bool isModeOffCaution(const EicasMessage& message) {
    return message.id == EicasDau::kLateralModeOffId || message.id == EicasDau::kVerticalModeOffId;
}

std::size_t characterCount(const std::string& text) {
    std::size_t count = 0;
    for (const char byte : text) {
        count += (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
    }
    return count;
}

uint32_t simulationTime() {
    return theAircraft ? theAircraft->simTimeMs : 0;
}

uint32_t tickCount() {
    return hostServices().tickCountMs();
}

Pressure* cabinPressure() {
    return theAircraft ? theAircraft->pressure() : nullptr;
}

bool cabinWarningUnacknowledged(const Pressure* pressure) {
    return pressure && pressure->cabinAltitudeWarning && !pressure->cabinAltitudeAcknowledged;
}

} // namespace

// A dark unit drops the new message after the old one has gone, so its list never holds a text
// its poster has replaced; the posters post again once it has power.
void EicasDau::postMessage(const EicasMessage& key, const EicasMessage& message) {
    EicasMessage posted = message;
    bool alert = true;
    if (const auto stored = findMessage(key); stored != messages.end()) {
        if (characterCount(posted.text) <= characterCount(stored->text) && stored->acknowledged) {
            posted.acknowledged = true;
            alert = false;
        }
        messages.erase(stored);
    }
    if (isModeOffCaution(posted)) {
        posted.acknowledged = true;
        alert = false;
    }
    insertMessage(posted, alert);
}

void EicasDau::insertMessage(const EicasMessage& message, bool alert) {
    fetchAws();
    if (unpowered) {
        return;
    }
    try {
        messages.insert(message);
    } catch (const std::bad_alloc&) {
        // A full module heap drops the message as a dark unit would.
        return;
    }
    if (message.level == kEicasWarning && !warningLatched && alert) {
        latchWarning();
        if (aws && cautionLatched) {
            aws->stop(sounds::kCautionChime);
        }
        if (aws && !aws->isQueued(sounds::kWarningChime)) {
            aws->play(sounds::kWarningChime, false);
        }
    } else if (message.level == kEicasCaution && !isModeOffCaution(message) && !cautionLatched &&
               alert) {
        latchCaution();
        if (aws) {
            aws->play(sounds::kCautionChime, false);
        }
    }
}

void EicasDau::removeMessage(const EicasMessage& key) {
    if (const auto stored = findMessage(key); stored != messages.end()) {
        messages.erase(stored);
    }
    releaseLatches();
}

EicasDau::MessageList::iterator EicasDau::findMessage(const EicasMessage& key) {
    for (auto it = messages.begin(); it != messages.end(); ++it) {
        if (it->level == key.level && it->id == key.id) {
            return it;
        }
    }
    return messages.end();
}

void EicasDau::setWarningRequest(bool raise) {
    if (raise) {
        if (!warningLatched) {
            latchWarning();
        }
        warningRequest = true;
    } else if (!cabinWarningUnacknowledged(cabinPressure())) {
        warningRequest = false;
    }
}

void EicasDau::setCautionRequest(bool raise) {
    if (raise && !cautionLatched) {
        latchCaution();
    }
    cautionRequest = raise;
}

void EicasDau::acknowledgeWarnings() {
    warningLatched = false;
    warningRequest = false;
    for (const EicasMessage& message : messages) {
        if (message.level == kEicasWarning) {
            message.acknowledged = true;
        }
    }
    if (Pressure* pressure = cabinPressure()) {
        pressure->cabinAltitudeAcknowledged = true;
    }
}

void EicasDau::acknowledgeCautions() {
    cautionLatched = false;
    cautionRequest = false;
    for (const EicasMessage& message : messages) {
        if (message.level == kEicasCaution) {
            message.acknowledged = true;
        }
    }
}

void EicasDau::update(Aircraft& aircraft) {
    aws = aircraft.aws();
    if (unpowered) {
        warningFlash = false;
        cautionFlash = false;
        return;
    }
    const uint32_t now = aircraft.simTimeMs;
    warningFlash = warningLatched && (now - warningLatchTimeMs) % kFlashPeriodMs < kFlashLitMs;
    cautionFlash = cautionLatched && (now - cautionLatchTimeMs) % kFlashPeriodMs < kFlashLitMs;
    repeatChimes(aircraft);
    releaseLatches();
}

// A latched warning silences the caution's repetitions.
void EicasDau::repeatChimes(Aircraft& aircraft) {
    const uint32_t tick = tickCount();
    if (warningLatched && tick - lastWarningChimeTick >= kChimeRepeatMs) {
        if (aws && !aws->isQueued(sounds::kWarningChime)) {
            aws->play(sounds::kWarningChime, false);
            if (cabinWarningUnacknowledged(aircraft.pressure())) {
                aws->enqueue(sounds::kCabinCallout);
            }
        }
        lastWarningChimeTick = tick;
    } else if (cautionLatched && !warningLatched && tick - lastCautionChimeTick >= kChimeRepeatMs) {
        if (aws) {
            aws->play(sounds::kCautionChime, false);
        }
        lastCautionChimeTick = tick;
    }
}

void EicasDau::releaseLatches() {
    bool warningLeft = false;
    bool cautionLeft = false;
    for (const EicasMessage& message : messages) {
        if (message.acknowledged || isModeOffCaution(message)) {
            continue;
        }
        warningLeft = warningLeft || message.level == kEicasWarning;
        cautionLeft = cautionLeft || message.level == kEicasCaution;
    }
    if (!warningLeft && !warningRequest) {
        warningLatched = false;
    }
    if (!cautionLeft && !cautionRequest) {
        cautionLatched = false;
    }
}

void EicasDau::latchWarning() {
    warningLatched = true;
    warningLatchTimeMs = simulationTime();
    lastWarningChimeTick = tickCount();
}

void EicasDau::latchCaution() {
    cautionLatched = true;
    cautionLatchTimeMs = simulationTime();
    lastCautionChimeTick = tickCount();
}

void EicasDau::fetchAws() {
    if (!aws && theAircraft) {
        aws = theAircraft->aws();
    }
}

void EicasDau::addElectricLoad(Aircraft&, BusLoads& loads) {
    for (int bus : {Electric::kDcBus1, Electric::kDcBus2, Electric::kEssentialBus1,
                    Electric::kEssentialBus2}) {
        loads[bus] += kDauLoadAmps;
    }
}

void EicasDau::updatePower(Aircraft& aircraft) {
    const Electric* electric = aircraft.electric();
    const bool dark = !electric || !(electric->isPowered(Electric::kDcBus1) ||
                                     electric->isPowered(Electric::kDcBus2) ||
                                     electric->isPowered(Electric::kEssentialBus1) ||
                                     electric->isPowered(Electric::kEssentialBus2));
    if (dark && !unpowered) {
        powerLossTimeMs = aircraft.simTimeMs;
    }
    unpowered = dark;
}

bool EicasPowerWatch::poweredAgain(const EicasDau* unit) {
    const bool unpowered = !unit || unit->unpowered;
    const bool again = seenUnpowered && !unpowered;
    seenUnpowered = unpowered;
    return again;
}

void showEicasMessage(EicasDau* unit, uint32_t now, int32_t level, int32_t id,
                      const std::string& text) {
    if (!unit) {
        return;
    }
    const EicasMessage key(0, level, id, std::string());
    if (text.empty()) {
        unit->removeMessage(key);
    } else {
        unit->postMessage(key, EicasMessage(now, level, id, text));
    }
}

std::string eicasUnitList(std::initializer_list<bool> affected) {
    std::string list;
    int number = 1;
    for (const bool unit : affected) {
        if (unit) {
            list += (list.empty() ? "" : "-") + std::to_string(number);
        }
        ++number;
    }
    return list;
}

std::string eicasUnitsText(const char* prefix, std::initializer_list<bool> affected,
                           const char* suffix) {
    const std::string list = eicasUnitList(affected);
    return list.empty() ? std::string() : prefix + list + suffix;
}

} // namespace tavi
