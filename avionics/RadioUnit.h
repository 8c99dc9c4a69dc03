#pragma once

#include "core/SimVar.h"
#include "core/System.h"

#include <array>
#include <cstdint>
#include <string>

namespace tavi {

class Aircraft;

// One side of the aircraft's radios: its COM, NAV and ADF receivers and its share of the
// transponder, the twelve COM and twelve NAV memories, the cursor of its radio management unit
// and the TCAS display range. The simulator owns the active frequencies: every tuning operation
// sends them by key event, and every frame reads them back, so a frequency the simulator
// refuses returns to its old value. Frequencies are in the layouts of RadioFrequency.h.
class RadioUnit {
public:
    static constexpr int kMemoryCount = 12;
    // The memories on the first page of the radio management unit.
    static constexpr int kMemoryPageSize = 6;

    // COM and NAV cursor positions, as the radio management unit boxes and tunes them: the
    // standby frequency, the memory it came from, or the active frequency tuned directly.
    enum Cursor : int32_t {
        kCursorNone = 0,
        kCursorStandby = 1,
        kCursorMemorySelect = 2,
        kCursorActive = 3,
    };
    // ADF and transponder cursor positions: the frequency (code), or the mode.
    enum FieldCursor : int32_t {
        kFieldCursorNone = 0,
        kFieldCursorValue = 1,
        kFieldCursorMode = 2,
    };
    // Indices of the power flags: each is set while its part of the side has no power.
    enum PowerFlag : std::size_t {
        kDmeUnpowered = 0,
        kAdfUnpowered = 1,
        kNavUnpowered = 2,
        kGlideSlopeUnpowered = 3,
    };
    enum ToFrom : int32_t { kNoToFrom = 0, kTo = 1, kFrom = 2 };
    // The TCAS display cursor (otherCursor): the range or the altitude band.
    enum TcasCursor : int32_t { kTcasCursorRange = 1, kTcasCursorBand = 2 };
    // Which traffic the TCAS display shows by altitude.
    enum TcasAltitudeBand : int32_t { kBandBelow = 0, kBandNormal = 1, kBandAbove = 2 };
    // What the knob tunes on the navigation backup page.
    enum NavBackupKnobMode : int32_t {
        kBackupKnobCourse = 0,
        kBackupKnobNavFrequency = 1,
        kBackupKnobAdfFrequency = 2,
    };

    explicit RadioUnit(int32_t side);

    // The frame: read back and receive, then the power of the side.
    void update(const Aircraft& aircraft);
    void updatePower(const Aircraft& aircraft);
    void addElectricLoad(const Aircraft& aircraft, BusLoads& loads) const;

    // Cursors of the radio management unit; each operation clears the cursors of the other
    // fields.
    void setComCursor(int32_t value);
    void setNavCursor(int32_t value);
    void setTransponderCursor(int32_t value);
    void cycleComCursor();
    void cycleNavCursor();
    void selectAdfCursor();
    void cycleAdfMode();
    void selectTransponderCode();
    void setTcasCursor(int32_t value);
    // ADF mode one step on or back: VOICE wraps to ANT and back.
    void nextAdfMode();
    void previousAdfMode();
    // The TCAS altitude band one step lower, staying at BELOW; one step on, ABOVE wrapping to
    // BELOW.
    void lowerTcasAltitudeBand();
    void nextTcasAltitudeBand();
    void selectNavBackupKnob(int32_t mode) { navBackupKnobMode = mode; }

    // Switches of the radio management unit's pages.
    void toggleSquelch() { sqActive = !sqActive; }
    void toggleComBandwidth() { comWideBandwidth = !comWideBandwidth; }
    void toggleTaDisplayManual() { taDisplayManual = !taDisplayManual; }
    void toggleFlightId() { flightIdEnabled = !flightIdEnabled; }
    void toggleAutoBright() { autoBrightEnabled = !autoBrightEnabled; }
    // The crew tuned the NAV receiver by hand: the FMS tunes it no more.
    void endNavAutoTuning() { navAutoTuning = false; }
    // The crew handed the NAV receiver back to the FMS's automatic tuning.
    void resumeNavAutoTuning() { navAutoTuning = true; }

    // COM tuning.
    void swapCom();
    void stepComActive(int dMhz, int dKhz);
    void setComActive(int32_t bcd);
    void stepComStandby(int dMhz, int dKhz);
    void selectComMemory(int step);
    void stepComMemory(int slot, int dMhz, int dKhz);
    void insertComMemory(int index);
    void deleteComMemory(int index);
    bool isComMemoryPageFull() const;

    // NAV tuning.
    void swapNav();
    void stepNavActive(int dMhz, int dKhz);
    void setNavActive(int32_t bcd);
    void stepNavStandby(int dMhz, int dKhz);
    void selectNavMemory(int step);
    void stepNavMemory(int slot, int dMhz, int dKhz);
    void insertNavMemory(int index);
    void deleteNavMemory(int index);
    bool isNavMemoryPageFull() const;

    // ADF tuning.
    void setAdfFrequency(int32_t bcd);
    void stepAdfFrequency(int dTenths);
    void swapAdf();

    // The standby of the field under the cursor goes into its memory (or preset).
    void storeStandby();

    // Transponder code: the first two and the last two octal digits step apart.
    void stepTransponderCode(int dOuter, int dInner);
    void swapTransponderCode();

    // NAV course (OBS) and the course of the navigation backup page.
    void setCourse(int degrees);
    void syncCourseToBearing();
    void setBackupCourse(int degrees);

    // TCAS display range: 6, 12, 20, 40 nm, and 80 and 120 nm with the extended ranges.
    void increaseTcasRange(bool wrap);
    void decreaseTcasRange();
    void toggleExtendedTcasRange();
    void toggleTimedSelect(uint32_t now);

    // Tuning.
    int32_t comActive = 0;
    int32_t navActive = 0;
    int32_t adfActive = 0;
    int32_t side;
    // Degrees 1..360 as read back.
    int32_t course = 0;
    std::string comActiveText;
    std::string navActiveText;
    std::string adfActiveText;
    std::string transponderText;
    std::array<std::string, kMemoryCount> comMemoryTexts;
    std::array<std::string, kMemoryCount> navMemoryTexts;
    std::string comStandbyText;
    std::string navStandbyText;
    std::array<int32_t, kMemoryCount> comMemories{};
    std::array<int32_t, kMemoryCount> navMemories{};
    int32_t adfStandby = 0;
    int32_t comMemoryIndex = 0;
    int32_t navMemoryIndex = 0;
    int32_t comStandby = 0;
    int32_t navStandby = 0;
    // The standby shows the selected memory.
    bool comStandbyFromMemory = true;
    bool navStandbyFromMemory = true;
    // The radio management unit's timed selection; off 20 s after it went on.
    bool timedSelect = false;
    // Degrees 1..360.
    int32_t backupCourse = 360;
    // Nautical miles.
    int32_t tcasRange = 6;
    bool extendedTcasRange = false;
    uint32_t timedSelectTime = 0;
    int32_t tcasAltitudeBand = kBandNormal;
    int32_t navBackupKnobMode = kBackupKnobCourse;
    // Switches of the radio management unit's pages.
    bool sqActive = false;
    bool comWideBandwidth = true;
    bool taDisplayManual = false;
    bool flightIdEnabled = true;
    bool autoBrightEnabled = true;
    bool mlsDisplayEnabled = false;
    bool tcasDisplayEnabled = true;
    // The FMS may tune the NAV receiver; a NAV tuning on the CDU's RADIO TUNING page ends it.
    bool navAutoTuning = true;
    int32_t comCursor = kCursorStandby;
    int32_t navCursor = kCursorNone;
    int32_t adfCursor = kFieldCursorNone;
    // 0..3.
    int32_t adfMode = 1;
    int32_t transponderCursor = kFieldCursorNone;
    // A further cursor of the screen, cleared by every cursor operation.
    int32_t otherCursor = kCursorNone;

    // Reception.
    int32_t adfSignal = 0;
    // Degrees 0..360: the magnetic heading plus the ADF's relative bearing.
    float adfBearing = 0.0f;
    // The panel token whose text is the tuned station's ident.
    int32_t identToken;
    std::string identText;
    std::array<bool, 4> unpowered{};
    // Knots and nautical miles.
    float dmeSpeed = 0.0f;
    float dmeDistance = 0.0f;
    float gsi = 0.0f;
    // NAV CDI, +-127 with positive to fly right; inverted on a localizer's back course.
    float cdiDeviation = 0.0f;
    float backupDeviation = 0.0f;
    // Degrees.
    float glideSlope = 0.0f;
    float localizer = 0.0f;
    float glideSlopeError = 0.0f;
    float radialError = 0.0f;
    float radial = 0.0f;
    float magneticVariation = 0.0f;
    // Degrees 0..360: the bearing to a VOR, or a localizer's bearing relative to the true
    // heading; 90 without a station.
    float stationBearing = 0.0f;
    int32_t toFrom = 0;
    int32_t backupToFrom = kNoToFrom;
    int32_t backCourseFlags = 0;
    int32_t navCodes = 0;
    int32_t navSignal = 0;
    bool glideSlopeFlag = false;
    bool hasGlideSlope = false;
    bool hasDme = false;
    bool hasLocalizer = false;
    bool hasNav = false;
    // The simulator's ident audio and the cockpit's selections.
    bool navSoundOn = false;
    bool navIdentSelected = false;
    bool adfSoundOn = false;
    bool adfIdentSelected = false;
    bool dmeSoundOn = false;
    bool dmeIdentSelected = false;

private:
    // The memories, standby and selection of the COM or the NAV radio.
    struct MemoryBank {
        std::array<int32_t, kMemoryCount>& memories;
        int32_t& index;
        int32_t& standby;
        bool& standbyFromMemory;
    };

    MemoryBank comBank() { return {comMemories, comMemoryIndex, comStandby, comStandbyFromMemory}; }
    MemoryBank navBank() { return {navMemories, navMemoryIndex, navStandby, navStandbyFromMemory}; }
    static void selectMemory(MemoryBank bank, int step);
    static void insertMemory(MemoryBank bank, int index);
    static void deleteMemory(MemoryBank bank, int index);
    static void refreshStandbyFromMemory(MemoryBank bank);
    static bool isMemoryPageFull(const std::array<int32_t, kMemoryCount>& memories);
    void clearCursors();
    void refreshTexts();
    void sendCom() const;
    void sendNav() const;
    void sendAdf() const;
    void sendTransponderCode() const;

    void readTuning();
    void readAdf(const Aircraft& aircraft);
    void keepAdfAudio();
    void readNav();
    void updateStationBearing(const Aircraft& aircraft);
    void readIdent(const Aircraft& aircraft);
    void updateBackupCdi();
    void keepNavAndDmeAudio();
    void updateTimedSelect(uint32_t now);
    bool isVorReceived() const { return navSignal != 0 && hasNav && !hasLocalizer; }

    SimVar comActiveVar;
    SimVar navActiveVar;
    SimVar adfActiveVar;
    SimVar transponderCodeVar;
    SimVar adfRadialVar;
    SimVar adfSignalVar;
    SimVar navObsVar;
    SimVar dmeSpeedVar;
    SimVar dmeVar;
    SimVar gsFlagVar;
    SimVar toFromVar;
    SimVar gsiVar;
    SimVar cdiVar;
    SimVar glideSlopeErrorVar;
    SimVar glideSlopeVar;
    SimVar localizerVar;
    SimVar radialErrorVar;
    SimVar radialVar;
    SimVar magVarVar;
    SimVar backCourseFlagsVar;
    SimVar hasGlideSlopeVar;
    SimVar hasDmeVar;
    SimVar hasLocalizerVar;
    SimVar hasNavVar;
    SimVar navCodesVar;
    SimVar navSignalVar;
    SimVar navSoundVar;
    SimVar adfSoundVar;
    SimVar dmeSoundVar;
};

} // namespace tavi
