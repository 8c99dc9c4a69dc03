#include "core/Aircraft.h"

#include "core/Imports.h"
#include "core/sound/SoundManager.h"
#include "displays/PanelElement.h"

namespace tavi {

Aircraft* theAircraft = nullptr;

namespace {

constexpr uint32_t kTimerPeriodMs = 50;

} // namespace

Aircraft::Aircraft() : slewVar("IS SLEW ACTIVE", "BOOL", 0) {
    platform::HostServices& host = hostServices();
    simWindow = host.findWindowByClass("FS98MAIN");
    simThreadId = host.windowThread(simWindow);
    timerId = host.setTimer(kTimerPeriodMs, timerProc);
    buildPaths();
    truncateLog();
    openSimConnect();
}

Aircraft::~Aircraft() {
    panelServices().panelShutdown();
    simConnectServices().close(simConnect);
    hostServices().killTimer(timerId);
    inFrame = false;
    if (!initialised) {
        return;
    }
    hostServices().removeKeyboardHook(keyboardHook);
    keyboardHook = 0;
    panelServices().unregisterKeyEventHandler(keyEventHandler, this);
    for (PanelElement*& screen : displays) {
        delete screen;
        screen = nullptr;
    }
    for (System*& system : systems) {
        delete system;
        system = nullptr;
    }
}

PanelElement* Aircraft::display(int slot) const {
    if (slot < 0 || slot >= kDisplaySlots) {
        return nullptr;
    }
    return displays[static_cast<std::size_t>(slot)];
}

System* Aircraft::system(int slot) const {
    if (slot < 0 || slot >= kSystemSlots) {
        return nullptr;
    }
    return systems[static_cast<std::size_t>(slot)];
}

void Aircraft::createEnginesAndHydraulics() {}

System* Aircraft::createSystem(int) {
    return nullptr;
}

PanelElement* Aircraft::createDisplay(int) {
    return nullptr;
}

} // namespace tavi
