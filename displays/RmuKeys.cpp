// The keys, the knob and the named variables of the radio management unit.
#include "avionics/Ahrs.h"
#include "avionics/Radio.h"
#include "avionics/RadioUnit.h"
#include "avionics/Tcas.h"
#include "avionics/Transponder.h"
#include "core/Aircraft.h"
#include "core/Format.h"
#include "core/Imports.h"
#include "displays/Rmu.h"

#include <algorithm>

namespace tavi {

namespace {

constexpr uint32_t kComHoldMs = 3000;
constexpr uint32_t kTransponderHoldMs = 2000;
constexpr uint32_t kAdfHoldMs = 2000;

// The knob's four steps as (MHz, kHz) or as one number, in knob order 21..24.
struct KnobStep {
    int large;
    int small;
};

KnobStep frequencyStep(int32_t knob, int kHzStep) {
    switch (knob) {
    case Rmu::kInnerKnobUp:
        return {0, kHzStep};
    case Rmu::kInnerKnobDown:
        return {0, -kHzStep};
    case Rmu::kOuterKnobUp:
        return {1, 0};
    default:
        return {-1, 0};
    }
}

bool isKnobUp(int32_t knob) {
    return knob == Rmu::kInnerKnobUp || knob == Rmu::kOuterKnobUp;
}

int adfStep(int32_t knob) {
    switch (knob) {
    case Rmu::kInnerKnobUp:
        return 5;
    case Rmu::kInnerKnobDown:
        return -5;
    case Rmu::kOuterKnobUp:
        return 100;
    default:
        return -100;
    }
}

// The list line (0..5) of a memory page's line key, or -1.
int32_t memoryLineOfKey(int32_t key) {
    switch (key) {
    case Rmu::kL2:
    case Rmu::kL3:
    case Rmu::kL4:
        return key - Rmu::kL2;
    case Rmu::kR2:
    case Rmu::kR3:
    case Rmu::kR4:
        return key - Rmu::kR2 + 3;
    default:
        return -1;
    }
}

// One knob step on a COM or NAV field by where its cursor stands.
template <typename StepStandby, typename SelectMemory, typename StepActive>
void tuneFrequency(int32_t cursor, KnobStep step, bool up, StepStandby stepStandby,
                   SelectMemory selectMemory, StepActive stepActive) {
    switch (cursor) {
    case RadioUnit::kCursorStandby:
        stepStandby(step.large, step.small);
        break;
    case RadioUnit::kCursorMemorySelect:
        selectMemory(up ? 1 : -1);
        break;
    case RadioUnit::kCursorActive:
        stepActive(step.large, step.small);
        break;
    default:
        break;
    }
}

// The screen line (1..6) that a line key faces on either side, or 0 for the other keys.
int32_t screenLineOfKey(int32_t key) {
    if (key >= Rmu::kL1 && key <= Rmu::kL6) {
        return key;
    }
    return key >= Rmu::kR1 && key <= Rmu::kR6 ? key - Rmu::kR1 + 1 : 0;
}

} // namespace

std::array<std::string, Rmu::kVariableCount> Rmu::variableNames(int32_t side) {
    static constexpr const char* kKeys[kVariableCount] = {"L1",
                                                          "L2",
                                                          "L3",
                                                          "L4",
                                                          "L5",
                                                          "L6",
                                                          "R1",
                                                          "R2",
                                                          "R3",
                                                          "R4",
                                                          "R5",
                                                          "R6",
                                                          "Sq",
                                                          "Dim",
                                                          "Side",
                                                          "Sto",
                                                          "Id",
                                                          "Pge",
                                                          "Tst",
                                                          "Dme",
                                                          "InnerKnobRight",
                                                          "InnerKnobLeft",
                                                          "KnobRight",
                                                          "KnobLeft"};
    std::array<std::string, kVariableCount> names;
    for (int i = 0; i < kVariableCount; ++i) {
        names[static_cast<std::size_t>(i)] = format("Rmu%dButton%sClick", side, kKeys[i]);
    }
    return names;
}

void Rmu::registerNamedVariables() {
    if (variablesRegistered) {
        return;
    }
    const auto names = variableNames(ownSide);
    for (std::size_t i = 0; i < names.size(); ++i) {
        variableIds[i] = panelServices().registerNamedVariable(names[i].c_str());
    }
    variablesRegistered = true;
}

void Rmu::pollNamedVariables() {
    for (int32_t key = kL1; key <= kOuterKnobDown; ++key) {
        const int32_t id = variableIds[static_cast<std::size_t>(key - 1)];
        if (panelServices().readNamedVariable(id) == 0.0) {
            continue;
        }
        if (key == kTst) {
            if (Tcas* tcas = aircraft->tcas()) {
                tcas->startSelfTest(*aircraft);
            }
        } else if (key >= kInnerKnobUp) {
            onKnob(key, kPress);
        } else {
            onKey(key, kPress);
            onKey(key, kRelease);
        }
        panelServices().writeNamedVariable(id, 0.0);
    }
}

void Rmu::onKey(int32_t key, uint32_t flags) {
    if (!controlledUnit()) {
        return;
    }
    if ((flags & kPress) != 0) {
        aircraft->rmuLastKeyTime = now();
        if (!keyPressed) {
            keyPressed = true;
            if (dimMode && key != kDim) {
                dimMode = false;
                return;
            }
            if (key == kDim) {
                dimMode = !dimMode;
            } else if (key == kPge) {
                controlledUnit()->setComCursor(RadioUnit::kCursorStandby);
                setPage(kPageMenu);
            }
            if (page_ == kNavBackupPage) {
                navBackupKeyTime = now();
            }
            if (flags != kPress) {
                return;
            }
            switch (page_) {
            case kRadioPage:
                radioPageKey(key, flags);
                break;
            case kPageMenu:
                pageMenuKey(key);
                break;
            case kComMemoryPage:
            case kNavMemoryPage:
                memoryPageKey(key, page_ == kNavMemoryPage);
                break;
            default:
                otherPageKey(key);
                break;
            }
        } else if (page_ == kRadioPage) {
            radioPageHeldKey(key);
        }
    }
    if ((flags & (kRelease | kLeave)) != 0 && keyPressed) {
        keyPressed = false;
    }
}

void Rmu::onKnob(int32_t knob, uint32_t) {
    if (!controlledUnit()) {
        return;
    }
    aircraft->rmuLastKeyTime = now();
    if (dimMode) {
        setBrightness(brightness + (isKnobUp(knob) ? 5 : -5));
        return;
    }
    switch (page_) {
    case kRadioPage:
        radioPageKnob(knob);
        break;
    case kComMemoryPage:
    case kNavMemoryPage:
        memoryPageKnob(knob, page_ == kNavMemoryPage);
        break;
    case kNavBackupPage:
        navBackupKnob(knob);
        break;
    default:
        break;
    }
}

// The radio page.

void Rmu::radioPageKey(int32_t key, uint32_t) {
    RadioUnit& unit = *controlledUnit();
    switch (key) {
    case kL1:
        if (unit.comCursor != RadioUnit::kCursorActive) {
            unit.swapCom();
        }
        break;
    case kL2:
        comKeyTime = now();
        unit.cycleComCursor();
        break;
    case kL3:
        xpdrKeyTime = now();
        unit.selectTransponderCode();
        break;
    case kL4:
        if (unit.transponderCursor == RadioUnit::kFieldCursorMode) {
            toggleTransponderStandby();
        } else {
            unit.setTransponderCursor(RadioUnit::kFieldCursorMode);
        }
        break;
    case kL5:
        if (unit.otherCursor == RadioUnit::kTcasCursorRange) {
            unit.increaseTcasRange(true);
        } else {
            unit.setTcasCursor(RadioUnit::kTcasCursorRange);
        }
        break;
    case kL6:
        if (unit.otherCursor == RadioUnit::kTcasCursorBand) {
            unit.nextTcasAltitudeBand();
        } else {
            unit.setTcasCursor(RadioUnit::kTcasCursorBand);
        }
        break;
    case kR1:
        if (unit.navCursor != RadioUnit::kCursorActive) {
            unit.swapNav();
        }
        break;
    case kR2:
        navKeyTime = now();
        unit.cycleNavCursor();
        break;
    case kR3:
        adfKeyTime = now();
        unit.selectAdfCursor();
        break;
    case kR4:
        unit.cycleAdfMode();
        break;
    case kSq:
        unit.toggleSquelch();
        break;
    case kSide:
        if (unit.transponderCursor != RadioUnit::kFieldCursorNone) {
            radio->transponderSide = radio->transponderSide == 1 ? 2 : 1;
        } else {
            resetCursor();
            controlledSide = controlledSide == 1 ? 2 : 1;
        }
        break;
    case kSto:
        unit.storeStandby();
        break;
    case kId:
        radio->transponderIdent(now());
        break;
    default:
        break;
    }
}

void Rmu::radioPageHeldKey(int32_t key) {
    RadioUnit& unit = *controlledUnit();
    const auto held = [this](uint32_t& since, uint32_t holdMs) {
        if (now() - since < holdMs) {
            return false;
        }
        since = now();
        return true;
    };
    const auto directOrStandby = [](int32_t cursor) {
        return cursor == RadioUnit::kCursorActive ? RadioUnit::kCursorStandby
                                                  : RadioUnit::kCursorActive;
    };
    if (key == kL2 && held(comKeyTime, kComHoldMs)) {
        unit.setComCursor(directOrStandby(unit.comCursor));
    } else if (key == kR2 && held(navKeyTime, kComHoldMs)) {
        unit.setNavCursor(directOrStandby(unit.navCursor));
    } else if (key == kL3 && held(xpdrKeyTime, kTransponderHoldMs)) {
        unit.swapTransponderCode();
    } else if (key == kR3 && held(adfKeyTime, kAdfHoldMs)) {
        unit.swapAdf();
    }
}

void Rmu::toggleTransponderStandby() {
    if (TransponderMode == kTransponderStandby) {
        if (savedTransponderMode == -1) {
            savedTransponderMode = kTransponderTaRa;
        }
        TransponderMode = savedTransponderMode;
    } else {
        savedTransponderMode = TransponderMode;
        TransponderMode = kTransponderStandby;
    }
}

void Rmu::radioPageKnob(int32_t knob) {
    RadioUnit& unit = *controlledUnit();
    const bool up = isKnobUp(knob);
    tuneFrequency(
        unit.comCursor, frequencyStep(knob, 25), up,
        [&](int mhz, int khz) { unit.stepComStandby(mhz, khz); },
        [&](int direction) { unit.selectComMemory(direction); },
        [&](int mhz, int khz) { unit.stepComActive(mhz, khz); });
    tuneFrequency(
        unit.navCursor, frequencyStep(knob, 50), up,
        [&](int mhz, int khz) { unit.stepNavStandby(mhz, khz); },
        [&](int direction) { unit.selectNavMemory(direction); },
        [&](int mhz, int khz) { unit.stepNavActive(mhz, khz); });
    if (unit.adfCursor == RadioUnit::kFieldCursorValue) {
        unit.stepAdfFrequency(adfStep(knob));
    } else if (unit.adfCursor == RadioUnit::kFieldCursorMode) {
        if (up) {
            unit.nextAdfMode();
        } else {
            unit.previousAdfMode();
        }
    }
    if (unit.transponderCursor == RadioUnit::kFieldCursorValue) {
        const KnobStep step = frequencyStep(knob, 1);
        unit.stepTransponderCode(step.large, step.small);
    } else if (unit.transponderCursor == RadioUnit::kFieldCursorMode) {
        stepTransponderMode(knob);
    }
    if (unit.otherCursor == RadioUnit::kTcasCursorRange) {
        if (up) {
            unit.increaseTcasRange(true);
        } else {
            unit.decreaseTcasRange();
        }
    } else if (unit.otherCursor == RadioUnit::kTcasCursorBand) {
        if (up) {
            unit.tcasAltitudeBand =
                std::min(unit.tcasAltitudeBand + 1, int32_t{RadioUnit::kBandAbove});
        } else {
            unit.lowerTcasAltitudeBand();
        }
    }
}

void Rmu::stepTransponderMode(int32_t knob) {
    if (isKnobUp(knob)) {
        nextTransponderMode();
    } else {
        previousTransponderMode();
    }
    if (TransponderMode != kTransponderStandby) {
        savedTransponderMode = TransponderMode;
    }
}

// The other pages.

void Rmu::pageMenuKey(int32_t key) {
    switch (key) {
    case kL1:
        setPage(kComMemoryPage);
        break;
    case kL2:
        setPage(kNavMemoryPage);
        break;
    case kL5:
        setPage(kAtcTcasControlPage);
        break;
    case kL6:
        setPage(kRadioPage);
        break;
    case kR2:
        controlledUnit()->selectNavBackupKnob(RadioUnit::kBackupKnobCourse);
        setPage(kNavBackupPage);
        break;
    case kR3:
        setPage(kEngineBackupPage);
        break;
    case kR5:
        setPage(kSystemSelectPage);
        break;
    case kR6:
        if (ahrs && ahrs->onGround) {
            setPage(kMaintDataPage);
        }
        break;
    default:
        break;
    }
}

void Rmu::memoryPageKey(int32_t key, bool nav) {
    RadioUnit& unit = *controlledUnit();
    const int32_t line = memoryLineOfKey(key);
    if (line >= 0) {
        const int32_t memory = memoryFirstLine + line;
        selectedMemoryLine = selectedMemoryLine == memory ? -1 : memory;
        return;
    }
    switch (key) {
    case kL5: {
        selectedMemoryLine = -1;
        const bool full = nav ? unit.isNavMemoryPageFull() : unit.isComMemoryPageFull();
        memoryFirstLine = memoryFirstLine == 0 && full ? RadioUnit::kMemoryPageSize : 0;
        break;
    }
    case kL6:
        setPage(kRadioPage);
        break;
    case kR5:
        if (selectedMemoryLine != -1) {
            nav ? unit.insertNavMemory(selectedMemoryLine)
                : unit.insertComMemory(selectedMemoryLine);
        }
        break;
    case kR6:
        if (selectedMemoryLine != -1) {
            nav ? unit.deleteNavMemory(selectedMemoryLine)
                : unit.deleteComMemory(selectedMemoryLine);
        }
        break;
    default:
        break;
    }
}

void Rmu::memoryPageKnob(int32_t knob, bool nav) {
    if (selectedMemoryLine == -1) {
        return;
    }
    RadioUnit& unit = *controlledUnit();
    if (nav) {
        const KnobStep step = frequencyStep(knob, 50);
        unit.stepNavMemory(selectedMemoryLine, step.large, step.small);
    } else {
        const KnobStep step = frequencyStep(knob, 25);
        unit.stepComMemory(selectedMemoryLine, step.large, step.small);
    }
}

void Rmu::otherPageKey(int32_t key) {
    RadioUnit& unit = *controlledUnit();
    const int32_t line = screenLineOfKey(key);
    switch (page_) {
    case kAtcTcasControlPage:
        if (line == 1) {
            unit.toggleTimedSelect(now());
        } else if (line == 2) {
            unit.toggleTaDisplayManual();
        } else if (key == kL6) {
            setPage(kRadioPage);
        }
        break;
    case kSystemSelectPage:
        if (key == kR3) {
            radio->unit1.toggleComBandwidth();
        } else if (key == kR4) {
            radio->unit2.toggleComBandwidth();
        } else if (key == kL6) {
            setPage(kRadioPage);
        }
        break;
    case kMaintDataPage:
        if (line == 2) {
            versionsEntryTime = now();
            setPage(kSoftwareVersionsPage);
        } else if (line == 4) {
            setPage(kRmuSetupPage);
        } else if (key == kL6) {
            setPage(kRadioPage);
        }
        break;
    case kRmuSetupPage:
        if (line == 2) {
            unit.toggleFlightId();
        } else if (line == 4) {
            unit.toggleExtendedTcasRange();
        } else if (line == 5) {
            unit.toggleAutoBright();
        } else {
            returnKey(key);
        }
        break;
    case kSoftwareVersionsPage:
        returnKey(key);
        break;
    case kEngineBackupPage:
    case kEngineBackup2Page:
        if (key == kL6) {
            setPage(page_ == kEngineBackupPage ? kEngineBackup2Page : kEngineBackupPage);
        }
        break;
    case kNavBackupPage:
        if (key == kL1) {
            unit.selectNavBackupKnob(RadioUnit::kBackupKnobNavFrequency);
        } else if (key == kR1) {
            unit.selectNavBackupKnob(RadioUnit::kBackupKnobAdfFrequency);
        } else if (key == kL6) {
            unit.selectNavBackupKnob(RadioUnit::kBackupKnobCourse);
        }
        break;
    default:
        break;
    }
}

void Rmu::returnKey(int32_t key) {
    if (key == kL6) {
        setPage(kRadioPage);
    } else if (key == kR6) {
        setPage(kMaintDataPage);
    }
}

void Rmu::navBackupKnob(int32_t knob) {
    navBackupKeyTime = now();
    RadioUnit& unit = *controlledUnit();
    switch (unit.navBackupKnobMode) {
    case RadioUnit::kBackupKnobCourse: {
        const KnobStep step = frequencyStep(knob, 1);
        unit.setBackupCourse(unit.backupCourse + step.small + 10 * step.large);
        break;
    }
    case RadioUnit::kBackupKnobNavFrequency: {
        const KnobStep step = frequencyStep(knob, 50);
        unit.stepNavActive(step.large, step.small);
        break;
    }
    case RadioUnit::kBackupKnobAdfFrequency:
        unit.stepAdfFrequency(adfStep(knob));
        break;
    default:
        break;
    }
}

} // namespace tavi
