// The tuning side of a radio unit: frequencies, memories, cursors, transponder code, course and
// TCAS range.
#include "avionics/RadioUnit.h"

#include "avionics/RadioFrequency.h"
#include "avionics/Transponder.h"
#include "core/Imports.h"

#include <algorithm>
#include <cmath>

namespace tavi {

namespace {

constexpr uint32_t kCom1SetEvent = 0x100AB;
constexpr uint32_t kCom2SetEvent = 0x1038A;
constexpr uint32_t kNav1SetEvent = 0x100AC;
constexpr uint32_t kNav2SetEvent = 0x100AD;
constexpr uint32_t kAdf1SetEvent = 0x103AF;
constexpr uint32_t kAdf2SetEvent = 0x103FC;
constexpr uint32_t kTransponderSetEvent = 0x100B3;
constexpr uint32_t kObs1SetEvent = 0x100B4;
constexpr uint32_t kObs2SetEvent = 0x100B5;

constexpr int32_t kLowestAdfTenths = 1000;
constexpr int32_t kHighestAdfTenths = 17995;
constexpr int kHighestOctalPair = 63;
constexpr int32_t kTcasRanges[] = {6, 12, 20, 40, 80, 120};
constexpr int32_t kLongestStandardTcasRange = 40;

constexpr int32_t kFirstMemoryDefault[] = {0x01180000, 0x01185000, 0x01190000, 0x01195000};
constexpr int32_t kFirstNavMemoryDefault[] = {0x01080000, 0x01085000, 0x01090000, 0x01095000};

void sendTuningEvent(uint32_t eventId, int32_t value) {
    panelServices().sendKeyEvent(eventId, static_cast<uint32_t>(value));
}

// The 16-bit BCD the simulator's COM and NAV events take: the MHz digits without the leading 1
// and the first two kHz digits.
int32_t frequencyEventValue(int32_t bcd) {
    return static_cast<int32_t>((static_cast<uint32_t>(bcd) >> 8) & 0xFFFF);
}

bool isMemoryIndex(int index) {
    return index >= 0 && index < RadioUnit::kMemoryCount;
}

int wrapMemoryIndex(int index) {
    if (index >= RadioUnit::kMemoryCount) {
        return 0;
    }
    if (index < 0) {
        return RadioUnit::kMemoryCount - 1;
    }
    return index;
}

int octalPair(uint32_t nibbles) {
    return static_cast<int>(((nibbles >> 4) & 0xF) * 8 + (nibbles & 0xF));
}

uint32_t octalPairNibbles(int pair) {
    return static_cast<uint32_t>(((pair / 8) << 4) | (pair % 8));
}

int stepOctalPair(int pair, int step) {
    const int stepped = pair + step;
    if (stepped > kHighestOctalPair) {
        return 0;
    }
    if (stepped < 0) {
        return kHighestOctalPair;
    }
    return stepped;
}

// One pair of code digits stepped. A pair holding a digit 8 or 9, as the simulator may hand
// back, is no code: the first step reaches the valid pair next to it in the step's direction
// (down from 89 is 77, up wraps to 00 as up from 77 does), and an unstepped one drops to 77.
int stepCodePair(uint32_t nibbles, int step) {
    const uint32_t high = (nibbles >> 4) & 0xF;
    const uint32_t low = nibbles & 0xF;
    constexpr uint32_t kHighestDigit = 7;
    if (high <= kHighestDigit && low <= kHighestDigit) {
        return stepOctalPair(octalPair(nibbles), step);
    }
    const int below =
        high > kHighestDigit ? kHighestOctalPair : static_cast<int>(high * 8 + kHighestDigit);
    if (step <= 0) {
        return stepOctalPair(below, step == 0 ? 0 : step + 1);
    }
    const int above = high >= kHighestDigit ? 0 : static_cast<int>((high + 1) * 8);
    return stepOctalPair(above, step - 1);
}

int32_t degrees0To359(int degrees) {
    const int reduced = degrees % 360;
    return reduced < 0 ? reduced + 360 : reduced;
}

} // namespace

RadioUnit::RadioUnit(int32_t side)
    : side(side), identToken(side == 1 ? 47 : 56),
      comActiveVar("COM ACTIVE FREQUENCY", "Frequency BCD32", side),
      navActiveVar("NAV ACTIVE FREQUENCY", "Frequency BCD32", side),
      adfActiveVar("ADF ACTIVE FREQUENCY", "Frequency ADF BCD32", side),
      transponderCodeVar("TRANSPONDER CODE", "Bco16", 1),
      adfRadialVar("ADF RADIAL", "degrees", side), adfSignalVar("ADF SIGNAL", "number", side),
      navObsVar("NAV OBS", "degree", side), dmeSpeedVar("NAV DMESPEED", "knots", side),
      dmeVar("NAV DME", "nautical miles", side), gsFlagVar("NAV GS FLAG", "flags", side),
      toFromVar("NAV TOFROM", "flags", side), gsiVar("NAV GSI", "number", side),
      cdiVar("NAV CDI", "number", side),
      glideSlopeErrorVar("NAV GLIDE SLOPE ERROR", "number", side),
      glideSlopeVar("NAV GLIDE SLOPE", "degrees", side),
      localizerVar("NAV LOCALIZER", "degrees", side),
      radialErrorVar("NAV RADIAL ERROR", "number", side), radialVar("NAV RADIAL", "degrees", side),
      magVarVar("NAV MAGVAR", "degrees", side),
      backCourseFlagsVar("NAV BACK COURSE FLAGS", "flags", side),
      hasGlideSlopeVar("NAV HAS GLIDE SLOPE", "bool", side), hasDmeVar("NAV HAS DME", "bool", side),
      hasLocalizerVar("NAV HAS LOCALIZER", "bool", side), hasNavVar("NAV HAS NAV", "bool", side),
      navCodesVar("NAV CODES", "flags", side), navSignalVar("NAV SIGNAL", "number", side),
      navSoundVar("NAV SOUND", "BOOL", side), adfSoundVar("ADF SOUND", "BOOL", side),
      dmeSoundVar("DME SOUND", "BOOL", side) {
    std::copy(std::begin(kFirstMemoryDefault), std::end(kFirstMemoryDefault), comMemories.begin());
    std::copy(std::begin(kFirstNavMemoryDefault), std::end(kFirstNavMemoryDefault),
              navMemories.begin());
    comStandby = comMemories[0];
    navStandby = navMemories[0];
    refreshTexts();
}

void RadioUnit::refreshTexts() {
    comActiveText = comFrequencyText(comActive);
    navActiveText = comFrequencyText(navActive);
    adfActiveText = adfFrequencyText(adfActive);
    transponderText = transponderCodeText(TransponderCode);
    comStandbyText = comFrequencyText(comStandby);
    navStandbyText = comFrequencyText(navStandby);
    for (int i = 0; i < kMemoryCount; ++i) {
        comMemoryTexts[static_cast<std::size_t>(i)] =
            comFrequencyText(comMemories[static_cast<std::size_t>(i)]);
        navMemoryTexts[static_cast<std::size_t>(i)] =
            comFrequencyText(navMemories[static_cast<std::size_t>(i)]);
    }
}

void RadioUnit::sendCom() const {
    sendTuningEvent(side == 1 ? kCom1SetEvent : kCom2SetEvent, frequencyEventValue(comActive));
}

void RadioUnit::sendNav() const {
    sendTuningEvent(side == 1 ? kNav1SetEvent : kNav2SetEvent, frequencyEventValue(navActive));
}

void RadioUnit::sendAdf() const {
    sendTuningEvent(side == 1 ? kAdf1SetEvent : kAdf2SetEvent, adfActive);
}

void RadioUnit::sendTransponderCode() const {
    sendTuningEvent(kTransponderSetEvent, TransponderCode);
}

// Cursors.

void RadioUnit::clearCursors() {
    comCursor = kCursorNone;
    navCursor = kCursorNone;
    adfCursor = kFieldCursorNone;
    transponderCursor = kFieldCursorNone;
    otherCursor = kCursorNone;
}

void RadioUnit::setComCursor(int32_t value) {
    clearCursors();
    comCursor = value;
}

void RadioUnit::setNavCursor(int32_t value) {
    clearCursors();
    navCursor = value;
}

void RadioUnit::setTransponderCursor(int32_t value) {
    clearCursors();
    transponderCursor = value;
}

void RadioUnit::cycleComCursor() {
    setComCursor(comCursor == kCursorStandby ? kCursorMemorySelect : kCursorStandby);
}

void RadioUnit::cycleNavCursor() {
    setNavCursor(navCursor == kCursorStandby ? kCursorMemorySelect : kCursorStandby);
}

void RadioUnit::selectAdfCursor() {
    clearCursors();
    adfCursor = kFieldCursorValue;
}

void RadioUnit::cycleAdfMode() {
    if (adfCursor == kFieldCursorMode) {
        nextAdfMode();
        return;
    }
    clearCursors();
    adfCursor = kFieldCursorMode;
}

void RadioUnit::selectTransponderCode() {
    setTransponderCursor(kFieldCursorValue);
}

void RadioUnit::setTcasCursor(int32_t value) {
    clearCursors();
    otherCursor = value;
}

void RadioUnit::nextAdfMode() {
    adfMode = (adfMode + 1) % 4;
}

void RadioUnit::previousAdfMode() {
    adfMode = adfMode <= 0 ? 3 : adfMode - 1;
}

void RadioUnit::lowerTcasAltitudeBand() {
    tcasAltitudeBand = std::max(tcasAltitudeBand - 1, int32_t{kBandBelow});
}

void RadioUnit::nextTcasAltitudeBand() {
    tcasAltitudeBand = (tcasAltitudeBand + 1) % (kBandAbove + 1);
}

// Memories.

void RadioUnit::selectMemory(MemoryBank bank, int step) {
    const auto isEmpty = [&](int index) {
        return bank.memories[static_cast<std::size_t>(index)] == 0;
    };
    if (std::all_of(bank.memories.begin(), bank.memories.end(),
                    [](int32_t memory) { return memory == 0; })) {
        bank.standbyFromMemory = false;
        bank.index = 0;
        return;
    }
    const int current = isMemoryIndex(bank.index) ? bank.index : 0;
    int target = wrapMemoryIndex(current + step);
    if (!isEmpty(current) && isEmpty(target)) {
        // An empty slot, ready to receive a frequency.
        bank.index = target;
        bank.standbyFromMemory = false;
        return;
    }
    bank.standbyFromMemory = true;
    const int direction = step > 0 ? 1 : -1;
    for (int searched = 0; isEmpty(target) && searched < kMemoryCount - 1; ++searched) {
        target = wrapMemoryIndex(target + direction);
    }
    bank.index = target;
    if (!isEmpty(target)) {
        bank.standby = bank.memories[static_cast<std::size_t>(target)];
    }
}

void RadioUnit::refreshStandbyFromMemory(MemoryBank bank) {
    if (bank.standbyFromMemory && isMemoryIndex(bank.index)) {
        bank.standby = bank.memories[static_cast<std::size_t>(bank.index)];
    }
}

void RadioUnit::insertMemory(MemoryBank bank, int index) {
    if (!isMemoryIndex(index)) {
        return;
    }
    std::copy_backward(bank.memories.begin() + index, bank.memories.end() - 1, bank.memories.end());
    bank.memories[static_cast<std::size_t>(index)] = 0;
    refreshStandbyFromMemory(bank);
}

void RadioUnit::deleteMemory(MemoryBank bank, int index) {
    if (!isMemoryIndex(index)) {
        return;
    }
    std::copy(bank.memories.begin() + index + 1, bank.memories.end(),
              bank.memories.begin() + index);
    bank.memories.back() = 0;
    refreshStandbyFromMemory(bank);
}

bool RadioUnit::isMemoryPageFull(const std::array<int32_t, kMemoryCount>& memories) {
    return std::none_of(memories.begin(), memories.begin() + kMemoryPageSize,
                        [](int32_t memory) { return memory == 0; });
}

// COM.

void RadioUnit::swapCom() {
    if (comStandby == 0) {
        return;
    }
    std::swap(comActive, comStandby);
    comStandbyFromMemory = false;
    refreshTexts();
    sendCom();
}

void RadioUnit::stepComActive(int dMhz, int dKhz) {
    setComActive(stepComFrequency(comActive, dMhz, dKhz));
}

void RadioUnit::setComActive(int32_t bcd) {
    comActive = bcd;
    refreshTexts();
    sendCom();
}

void RadioUnit::stepComStandby(int dMhz, int dKhz) {
    comStandby = stepComFrequency(comStandby, dMhz, dKhz);
    comStandbyFromMemory = false;
    refreshTexts();
}

void RadioUnit::selectComMemory(int step) {
    selectMemory(comBank(), step);
    refreshTexts();
}

void RadioUnit::stepComMemory(int slot, int dMhz, int dKhz) {
    if (!isMemoryIndex(slot)) {
        return;
    }
    int32_t& memory = comMemories[static_cast<std::size_t>(slot)];
    memory = stepComFrequency(memory, dMhz, dKhz);
    refreshStandbyFromMemory(comBank());
    refreshTexts();
}

void RadioUnit::insertComMemory(int index) {
    insertMemory(comBank(), index);
    refreshTexts();
}

void RadioUnit::deleteComMemory(int index) {
    deleteMemory(comBank(), index);
    refreshTexts();
}

bool RadioUnit::isComMemoryPageFull() const {
    return isMemoryPageFull(comMemories);
}

// NAV.

void RadioUnit::swapNav() {
    if (navStandby == 0) {
        return;
    }
    std::swap(navActive, navStandby);
    navStandbyFromMemory = false;
    refreshTexts();
    sendNav();
}

void RadioUnit::stepNavActive(int dMhz, int dKhz) {
    setNavActive(stepNavFrequency(navActive, dMhz, dKhz));
}

void RadioUnit::setNavActive(int32_t bcd) {
    navActive = bcd;
    refreshTexts();
    sendNav();
}

void RadioUnit::stepNavStandby(int dMhz, int dKhz) {
    navStandby = stepNavFrequency(navStandby, dMhz, dKhz);
    navStandbyFromMemory = false;
    refreshTexts();
}

void RadioUnit::selectNavMemory(int step) {
    selectMemory(navBank(), step);
    refreshTexts();
}

void RadioUnit::stepNavMemory(int slot, int dMhz, int dKhz) {
    if (!isMemoryIndex(slot)) {
        return;
    }
    int32_t& memory = navMemories[static_cast<std::size_t>(slot)];
    memory = stepNavFrequency(memory, dMhz, dKhz);
    refreshStandbyFromMemory(navBank());
    refreshTexts();
}

void RadioUnit::insertNavMemory(int index) {
    insertMemory(navBank(), index);
    refreshTexts();
}

void RadioUnit::deleteNavMemory(int index) {
    deleteMemory(navBank(), index);
    refreshTexts();
}

bool RadioUnit::isNavMemoryPageFull() const {
    return isMemoryPageFull(navMemories);
}

// ADF.

void RadioUnit::setAdfFrequency(int32_t bcd) {
    adfActive = bcd;
    refreshTexts();
    sendAdf();
}

void RadioUnit::stepAdfFrequency(int dTenths) {
    int32_t tenths = adfTenths(adfActive) + dTenths;
    if (tenths < kLowestAdfTenths) {
        tenths = kHighestAdfTenths;
    } else if (tenths > kHighestAdfTenths) {
        tenths = kLowestAdfTenths;
    }
    setAdfFrequency(makeAdfBcd(tenths));
}

void RadioUnit::swapAdf() {
    std::swap(adfActive, adfStandby);
    refreshTexts();
    sendAdf();
}

void RadioUnit::storeStandby() {
    if (comCursor != kCursorNone) {
        if (isMemoryIndex(comMemoryIndex)) {
            comMemories[static_cast<std::size_t>(comMemoryIndex)] = comStandby;
        }
        comStandbyFromMemory = true;
    } else if (navCursor != kCursorNone) {
        if (isMemoryIndex(navMemoryIndex)) {
            navMemories[static_cast<std::size_t>(navMemoryIndex)] = navStandby;
        }
        navStandbyFromMemory = true;
    } else if (adfCursor != kFieldCursorNone) {
        adfStandby = adfActive;
    } else if (transponderCursor != kFieldCursorNone) {
        TransponderPresetCode = TransponderCode;
    }
    refreshTexts();
}

// Transponder.

void RadioUnit::stepTransponderCode(int dOuter, int dInner) {
    const auto nibbles = static_cast<uint32_t>(TransponderCode);
    const int outer = stepCodePair(nibbles >> 8, dOuter);
    const int inner = stepCodePair(nibbles, dInner);
    TransponderCode =
        static_cast<int32_t>((octalPairNibbles(outer) << 8) | octalPairNibbles(inner));
    refreshTexts();
    sendTransponderCode();
}

void RadioUnit::swapTransponderCode() {
    std::swap(TransponderCode, TransponderPresetCode);
    refreshTexts();
    sendTransponderCode();
}

// Courses.

void RadioUnit::setCourse(int degrees) {
    course = degrees0To359(degrees);
    sendTuningEvent(side == 1 ? kObs1SetEvent : kObs2SetEvent, course);
}

void RadioUnit::syncCourseToBearing() {
    if (isVorReceived()) {
        setCourse(static_cast<int>(std::floor(stationBearing + 0.5f)));
    }
}

void RadioUnit::setBackupCourse(int degrees) {
    const int32_t reduced = degrees0To359(degrees);
    backupCourse = reduced == 0 ? 360 : reduced;
    updateBackupCdi();
}

// TCAS range.

void RadioUnit::increaseTcasRange(bool wrap) {
    switch (tcasRange) {
    case 6:
        tcasRange = 12;
        break;
    case 12:
        tcasRange = 20;
        break;
    case 20:
        tcasRange = 40;
        break;
    case 40:
        if (extendedTcasRange) {
            tcasRange = 80;
        } else if (wrap) {
            tcasRange = 6;
        }
        break;
    case 80:
        tcasRange = 120;
        break;
    case 120:
        if (wrap) {
            tcasRange = 6;
        }
        break;
    default:
        break;
    }
    if (!extendedTcasRange) {
        tcasRange = std::min(tcasRange, kLongestStandardTcasRange);
    }
}

void RadioUnit::decreaseTcasRange() {
    const auto* const found = std::find(std::begin(kTcasRanges), std::end(kTcasRanges), tcasRange);
    if (found == std::begin(kTcasRanges)) {
        tcasRange = kTcasRanges[std::size(kTcasRanges) - 1];
    } else if (found != std::end(kTcasRanges)) {
        tcasRange = *(found - 1);
    }
    if (!extendedTcasRange) {
        tcasRange = std::min(tcasRange, kLongestStandardTcasRange);
    }
}

void RadioUnit::toggleExtendedTcasRange() {
    extendedTcasRange = !extendedTcasRange;
    if (!extendedTcasRange) {
        tcasRange = std::min(tcasRange, kLongestStandardTcasRange);
    }
}

void RadioUnit::toggleTimedSelect(uint32_t now) {
    timedSelect = !timedSelect;
    if (timedSelect) {
        timedSelectTime = now;
    }
}

} // namespace tavi
