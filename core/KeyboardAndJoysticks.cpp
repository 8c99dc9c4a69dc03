// The keyboard hook on the simulator's thread and the joystick poll.
#include "core/Aircraft.h"
#include "core/Imports.h"

namespace tavi {

namespace {

constexpr uint32_t kTabKey = 9;
constexpr uint32_t kShiftKey = 16;
constexpr uint32_t kControlKey = 17;
constexpr int32_t kCduPopupWindow = 10000;
constexpr uint32_t kGuiModesHoldingKeys = platform::kGuiInMoveSize | platform::kGuiInMenuMode |
                                          platform::kGuiSystemMenuMode |
                                          platform::kGuiPopupMenuMode;

// Keys stay with the simulator while one of its dialogs or menus is open.
bool keysHeldBack(Aircraft& aircraft) {
    platform::HostServices& host = hostServices();
    const platform::GuiThreadInfo gui = host.guiThreadInfo(aircraft.simThreadId);
    const bool heldBack =
        host.lastActivePopup(aircraft.simWindow) != aircraft.simWindow ||
        (gui.activeWindow == aircraft.simWindow && (gui.flags & kGuiModesHoldingKeys) != 0);
    if (heldBack) {
        aircraft.simWindow = host.findWindowByClass("FS98MAIN");
    }
    return heldBack;
}

bool offerKey(Aircraft& aircraft, uint32_t virtualKey) {
    System* fms = aircraft.system(Aircraft::kFmsSlot);
    if (fms && panelServices().isPanelWindowOpen(kCduPopupWindow) &&
        fms->handleKey(aircraft, virtualKey, aircraft.shiftDown, aircraft.ctrlDown)) {
        return true;
    }
    for (System* system : aircraft.systems) {
        if (system && system != fms &&
            system->handleKey(aircraft, virtualKey, aircraft.shiftDown, aircraft.ctrlDown)) {
            return true;
        }
    }
    return false;
}

} // namespace

intptr_t keyboardHookProc(int32_t code, uint32_t virtualKey, uint32_t keyFlags) {
    Aircraft* aircraft = theAircraft;
    platform::HostServices& host = hostServices();
    const platform::HookHandle hook = aircraft ? aircraft->keyboardHook : 0;
    auto passOn = [&] {
        return host.callNextHook(hook, code, virtualKey, keyFlags);
    };
    if (!aircraft) {
        return passOn();
    }
    const bool heldBack = keysHeldBack(*aircraft);
    if (code < 0 || heldBack) {
        return passOn();
    }
    aircraft->altDown = (keyFlags & platform::kKeyFlagAlt) != 0;
    const bool down = (keyFlags & platform::kKeyFlagUp) == 0;
    switch (virtualKey) {
    case kTabKey:
        aircraft->tabDown = down;
        return passOn();
    case kShiftKey:
        aircraft->shiftDown = down;
        return passOn();
    case kControlKey:
        aircraft->ctrlDown = down;
        return passOn();
    default:
        break;
    }
    if (down && offerKey(*aircraft, virtualKey)) {
        return 1;
    }
    return passOn();
}

void Aircraft::pollJoysticks() {
    for (int n = 0; n < kJoystickCount; ++n) {
        const std::optional<uint32_t> buttons = hostServices().joystickButtons(n);
        joystickPresent[static_cast<std::size_t>(n)] = buttons.has_value();
        if (buttons) {
            joysticks[static_cast<std::size_t>(n)].buttons = *buttons;
        }
    }
}

} // namespace tavi
