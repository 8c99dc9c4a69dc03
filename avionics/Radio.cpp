#include "avionics/Radio.h"

#include "airframe/Electric.h"
#include "core/Aircraft.h"
#include "core/Imports.h"

namespace tavi {

namespace {

constexpr int kToken354 = 354;
constexpr int kToken881 = 881;
constexpr int kCom1TransmitToken = 874;
constexpr int kCom2TransmitToken = 875;
constexpr int kComReceiveBothToken = 876;

constexpr uint32_t kClearToken881Event = 0x103AE;
constexpr uint32_t kComReceiveBothEvent = 0x103A2;
constexpr uint32_t kCom1TransmitEvent = 0x1039F;
constexpr uint32_t kCom2TransmitEvent = 0x103A0;

// How long the transponder replies with ident after the button.
constexpr uint32_t kIdentMs = 18000;

void sendRadioEvent(uint32_t eventId, uint32_t value) {
    panelServices().sendKeyEvent(eventId, value);
}

// Calculator code that evaluates to a text, cut to the length kept; empty when it fails.
std::string evaluateText(const char* code, std::size_t length) {
    std::string text;
    if (!panelServices().executeCalculatorCode(code, nullptr, nullptr, &text)) {
        return {};
    }
    return text.substr(0, std::min(length, text.find('\0')));
}

} // namespace

void Radio::update(Aircraft& aircraft) {
    unit1.update(aircraft);
    unit2.update(aircraft);
    updateToken354(aircraft);
    if (aircraft.tokens.value(kToken881) != 0.0) {
        sendRadioEvent(kClearToken881Event, 0);
    }
    keepComAudio(aircraft);
    endIdent(aircraft.simTimeMs);
    if (!started) {
        readAtcIdentification();
        started = aircraft.simTimeMs != 0;
    }
}

void Radio::updateToken354(const Aircraft& aircraft) {
    const Electric* electric = aircraft.electric();
    const bool powered =
        electric && electric->avionicsMaster1 && electric->isPowered(Electric::kEssentialBus1);
    const double token = aircraft.tokens.value(kToken354);
    const int32_t value =
        powered && token >= -2147483648.0 && token < 2147483648.0 ? static_cast<int32_t>(token) : 0;
    if (value != 0 && token354Value == 0) {
        token354Time = aircraft.simTimeMs;
    }
    token354Value = value;
}

// Keeps the simulator's COM receive and transmit selection in step with the audio panel.
void Radio::keepComAudio(const Aircraft& aircraft) const {
    const bool receivingBoth = aircraft.tokens.value(kComReceiveBothToken) != 0.0;
    const bool com1Transmits = aircraft.tokens.value(kCom1TransmitToken) != 0.0;
    const bool com2Transmits = aircraft.tokens.value(kCom2TransmitToken) != 0.0;
    const bool wantBoth = com1Audio && com2Audio;
    if (wantBoth != receivingBoth) {
        sendRadioEvent(kComReceiveBothEvent, wantBoth ? 1 : 0);
    }
    if (com1Audio && !com1Transmits) {
        sendRadioEvent(kCom1TransmitEvent, 1);
    } else if (!com1Audio && !com2Transmits) {
        sendRadioEvent(kCom2TransmitEvent, 1);
    }
}

void Radio::readAtcIdentification() {
    atcId = evaluateText("(A:atc id, string)", kAtcTextLength);
    flightNumber = evaluateText("(A:ATC FLIGHT NUMBER, string)", kAtcTextLength);
}

void Radio::endIdent(uint32_t now) {
    if (identActive && now - identTime >= kIdentMs) {
        identActive = false;
    }
}

void Radio::loadSettings(Aircraft& aircraft) {
    enableSb3Integration = aircraft.readIniBool("FSUIPC", "enableSb3Integration", false);
}

void Radio::addElectricLoad(Aircraft& aircraft, BusLoads& loads) {
    unit1.addElectricLoad(aircraft, loads);
    unit2.addElectricLoad(aircraft, loads);
}

void Radio::updatePower(Aircraft& aircraft) {
    unit1.updatePower(aircraft);
    unit2.updatePower(aircraft);
    const bool navFail =
        unit1.unpowered[RadioUnit::kNavUnpowered] || unit2.unpowered[RadioUnit::kNavUnpowered];
    const bool flag4 = unit1.unpowered[RadioUnit::kGlideSlopeUnpowered] ||
                       unit2.unpowered[RadioUnit::kGlideSlopeUnpowered];
    if ((navFail && !navFailSeen) || (flag4 && !flag4Seen)) {
        radioFailTime = aircraft.simTimeMs;
    }
    navFailSeen = navFail;
    flag4Seen = flag4;
}

void Radio::toggleCom1Audio() {
    if (!com1Audio || com2Audio) {
        com1Audio = !com1Audio;
    }
}

void Radio::toggleCom2Audio() {
    if (!com2Audio || com1Audio) {
        com2Audio = !com2Audio;
    }
}

bool Radio::isCom1AudioLit(const Aircraft& aircraft) const {
    const Electric* electric = aircraft.electric();
    return com1Audio && electric && electric->networkPowered;
}

bool Radio::isCom2AudioLit(const Aircraft& aircraft) const {
    const Electric* electric = aircraft.electric();
    return com2Audio && electric && electric->networkPowered;
}

void Radio::transponderIdent(uint32_t now) {
    identActive = true;
    identTime = now;
}

} // namespace tavi
