#pragma once

#include "core/ModuleHeapAllocator.h"
#include "core/System.h"

#include <cstdint>
#include <initializer_list>
#include <set>
#include <string>

namespace tavi {

class Aws;

enum EicasLevel : int32_t {
    kEicasWarning = 0,
    kEicasCaution = 1,
    kEicasAdvisory = 2,
};

// One EICAS message; its level and id together are its key.
struct EicasMessage {
    EicasMessage() = default;
    EicasMessage(uint32_t time, int32_t level, int32_t id, std::string text)
        : time(time), level(level), id(id), text(std::move(text)) {}

    // The simulation time at which the message was built.
    uint32_t time = 0;
    int32_t level = kEicasWarning;
    int32_t id = 0;
    // Not part of the order of the list, so the list may change it in place.
    mutable bool acknowledged = false;
    std::string text;
};

// The aircraft's list of active EICAS messages and the master WARNING and CAUTION alerts: a new
// warning or caution latches its master light, which flashes and chimes every 5 s until the
// crew acknowledges it or no unacknowledged message of its level is left. Without power the
// unit drops new messages and shows nothing.
class EicasDau : public System {
public:
    // Warnings first, then cautions, then advisories; the newest first within a level.
    struct MessageOrder {
        bool operator()(const EicasMessage& a, const EicasMessage& b) const {
            return a.level != b.level ? a.level < b.level : a.time > b.time;
        }
    };
    using MessageList =
        std::multiset<EicasMessage, MessageOrder, ModuleHeapAllocator<EicasMessage>>;

    // The flight director's mode-off cautions: always acknowledged, they never latch.
    static constexpr int32_t kLateralModeOffId = 76;
    static constexpr int32_t kVerticalModeOffId = 77;

    void update(Aircraft& aircraft) override;
    void addElectricLoad(Aircraft& aircraft, BusLoads& loads) override;
    void updatePower(Aircraft& aircraft) override;

    // Replaces any message with the key's level and id. A re-post keeps the acknowledgement
    // unless its text grew; it alerts again only then.
    void postMessage(const EicasMessage& key, const EicasMessage& message);
    void removeMessage(const EicasMessage& key);
    MessageList::iterator findMessage(const EicasMessage& key);
    // A master alert for a condition that has no message.
    void setWarningRequest(bool raise);
    void setCautionRequest(bool raise);
    // The master WARNING and master CAUTION buttons.
    void acknowledgeWarnings();
    void acknowledgeCautions();

    bool unpowered = false;
    uint32_t powerLossTimeMs = 0;
    bool warningLatched = false;
    bool cautionLatched = false;
    uint32_t warningLatchTimeMs = 0;
    uint32_t cautionLatchTimeMs = 0;
    // The system's millisecond tick count at the last chime.
    uint32_t lastWarningChimeTick = 0;
    uint32_t lastCautionChimeTick = 0;
    // The master lights are lit in this frame.
    bool warningFlash = false;
    bool cautionFlash = false;
    bool warningRequest = false;
    bool cautionRequest = false;
    MessageList messages;
    Aws* aws = nullptr;

private:
    void insertMessage(const EicasMessage& message, bool alert);
    void latchWarning();
    void latchCaution();
    void repeatChimes(Aircraft& aircraft);
    // Clears each latch that no unacknowledged message and no request holds any more.
    void releaseLatches();
    void fetchAws();
};

// A poster's view of the EICAS unit's power. The unit drops what is posted while it is dark, so
// a poster re-evaluates all its messages in the frame in which it first sees the unit powered.
class EicasPowerWatch {
public:
    // True in the first look that finds the unit powered after it was dark or absent.
    bool poweredAgain(const EicasDau* unit);

private:
    bool seenUnpowered = true;
};

// Posts the message when its text is not empty and removes it otherwise; nothing without the
// unit.
void showEicasMessage(EicasDau* unit, uint32_t now, int32_t level, int32_t id,
                      const std::string& text);

// The numbers of the affected units, counted from 1, joined by "-": {true, false, true} gives
// "1-3"; empty when no unit is affected.
std::string eicasUnitList(std::initializer_list<bool> affected);
// The message text naming the affected units between the prefix and the suffix, or nothing when
// no unit is affected.
std::string eicasUnitsText(const char* prefix, std::initializer_list<bool> affected,
                           const char* suffix);

} // namespace tavi
