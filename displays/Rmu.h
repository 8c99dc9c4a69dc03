#pragma once

#include "displays/PanelElement.h"
#include "platform/gfx/Canvas.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavi {

class Adc;
class Ahrs;
class FuelSystem;
class JetEngine;
class Mechanisation;
class Radio;
class RadioUnit;

// The radio management unit of one side: it shows and tunes the COM, NAV, ADF, transponder and
// TCAS display settings of one radio side, and carries the engine and navigation backup
// displays. Twenty keys and a concentric knob work it, through the bezel or through named panel
// variables; one of twelve pages shows at a time.
class Rmu : public PanelElement {
public:
    enum Page : int32_t {
        kRadioPage = 0,
        kPageMenu = 1,
        kComMemoryPage = 2,
        kNavMemoryPage = 3,
        kAtcTcasControlPage = 4,
        kSystemSelectPage = 5,
        kMaintDataPage = 6,
        kRmuSetupPage = 7,
        kSoftwareVersionsPage = 8,
        kEngineBackupPage = 9,
        kEngineBackup2Page = 10,
        kNavBackupPage = 11,
    };
    // Line keys L1..L6 and R1..R6, the function keys and the knob's four directions.
    enum Key : int32_t {
        kL1 = 1,
        kL2,
        kL3,
        kL4,
        kL5,
        kL6,
        kR1,
        kR2,
        kR3,
        kR4,
        kR5,
        kR6,
        kSq,
        kDim,
        kSide,
        kSto,
        kId,
        kPge,
        kTst,
        kDme,
        kInnerKnobUp,
        kInnerKnobDown,
        kOuterKnobUp,
        kOuterKnobDown,
    };
    // The simulator's mouse-event flags.
    static constexpr uint32_t kPress = 0x20000000;
    static constexpr uint32_t kRelease = 0x20000;
    static constexpr uint32_t kLeave = 0x800;
    static constexpr uint32_t kHeld = 0x200000;
    static constexpr int kVariableCount = 24;
    // After this long without a key or knob, the cursor returns to the COM standby and the
    // navigation backup knob to the course.
    static constexpr uint32_t kIdleTimeoutMs = 20000;
    static constexpr float kWidth = 180.0f;
    static constexpr float kHeight = 225.0f;

    explicit Rmu(int32_t side);

    void update(Aircraft& aircraft) override;
    void loadSettings(Aircraft& aircraft) override;
    int draw(platform::gfx::Surface& surface, int width, int height, bool blank) override;
    void addElectricLoad(Aircraft& aircraft, BusLoads& loads) override;
    void updatePower(Aircraft& aircraft) override;
    // Fills the screen with the background colour instead of clearing the surface.
    void clearBackground(platform::gfx::Canvas& canvas, float width, float height) override;

    // Keys 1..20 and knob steps 21..24 with the simulator's mouse-event flags. Both act whether
    // or not the screen has power, from the first frame on.
    void onKey(int32_t key, uint32_t flags);
    void onKnob(int32_t knob, uint32_t flags);
    // Every page change: the cursor back on the COM standby, then the page.
    void setPage(int32_t newPage);
    void resetCursor();
    // The radio side the pages show and the keys tune; null before the first frame.
    RadioUnit* controlledUnit() const;
    // Engine backup readouts: the oil pressure colour, which turns amber in its low band only
    // with the engine running fast; the oil temperature colour; the fuel flow in kilograms or
    // pounds per hour to the nearest 10.
    static platform::gfx::Argb oilPressureColour(float pressure, float n2);
    static platform::gfx::Argb oilTemperatureColour(float temperature);
    static int32_t roundedFuelFlow(float poundsPerHour, bool kilograms);
    // The names of the 24 named variables of the side, in key order.
    static std::array<std::string, kVariableCount> variableNames(int32_t side);

    // The page shown; it changes only through setPage.
    int32_t page() const { return page_; }

    int32_t ownSide;
    int32_t controlledSide;
    bool keyPressed = false;
    bool dimMode = false;
    bool fuelUseKg = false;
    uint32_t comKeyTime = 0;
    uint32_t navKeyTime = 0;
    uint32_t adfKeyTime = 0;
    uint32_t xpdrKeyTime = 0;
    uint32_t versionsEntryTime = 0xFFFFFFFF;
    uint32_t navBackupKeyTime = 0;
    // The transponder mode the STANDBY toggle returns to; -1 before the first toggle.
    int32_t savedTransponderMode = -1;
    // The memory selected on a memory page, or -1; the first memory the page lists, 0 or 6.
    int32_t selectedMemoryLine = -1;
    int32_t memoryFirstLine = 0;
    std::array<int32_t, kVariableCount> variableIds;
    bool variablesRegistered = false;

    Aircraft* aircraft = nullptr;
    Radio* radio = nullptr;
    Ahrs* ahrs = nullptr;
    Adc* adc = nullptr;
    JetEngine* engine1 = nullptr;
    JetEngine* engine2 = nullptr;
    FuelSystem* fuelSystem = nullptr;
    Mechanisation* mechanisation = nullptr;

private:
    // Texts, lines and shapes as the pages use them.
    platform::gfx::Argb titleColour() const;
    void drawText(platform::gfx::Canvas& canvas, std::string_view text,
                  const platform::gfx::Font& font, platform::gfx::Argb colour, double x, double y);
    void drawCentred(platform::gfx::Canvas& canvas, std::string_view text,
                     const platform::gfx::Font& font, platform::gfx::Argb colour, double left,
                     double span, double y);
    void drawRightAligned(platform::gfx::Canvas& canvas, std::string_view text,
                          const platform::gfx::Font& font, platform::gfx::Argb colour, double right,
                          double y);
    // One character at each x, as many as there are of both.
    void drawAt(platform::gfx::Canvas& canvas, std::string_view text,
                const platform::gfx::Font& font, platform::gfx::Argb colour,
                const std::vector<double>& xs, double y);
    // One character every pitch from x; the marked character stands shift further right.
    void drawPitched(platform::gfx::Canvas& canvas, std::string_view text,
                     const platform::gfx::Font& font, platform::gfx::Argb colour, double x,
                     double pitch, double y, char marked = '\0', double shift = 0.0);
    // The same, ending at the right edge.
    void drawPitchedRight(platform::gfx::Canvas& canvas, std::string_view text,
                          const platform::gfx::Font& font, platform::gfx::Argb colour, double right,
                          double pitch, double y, char marked = '\0', double shift = 0.0);
    void drawTitle(platform::gfx::Canvas& canvas, const std::string& title, double underlineFrom,
                   double underlineTo);
    void drawReturnLabel(platform::gfx::Canvas& canvas, double x);
    void drawMaintMenuLabel(platform::gfx::Canvas& canvas);
    void drawDimPage(platform::gfx::Canvas& canvas);
    void drawPage(platform::gfx::Canvas& canvas);

    // The pages.
    void drawRadioFrame(platform::gfx::Canvas& canvas, const RadioUnit& unit);
    void drawRadioPage(platform::gfx::Canvas& canvas);
    void drawComAndNav(platform::gfx::Canvas& canvas, const RadioUnit& unit);
    // What the radio page shows of the COM or the NAV radio.
    struct FrequencyField {
        const std::string& activeText;
        const std::string& standbyText;
        int32_t standby;
        int32_t cursor;
        bool fromMemory;
        int32_t memoryIndex;
    };
    // The active and standby frequencies at the x of each character, the memory label from
    // the left edge, and the cursor box.
    void drawFrequencyField(platform::gfx::Canvas& canvas, const FrequencyField& field,
                            const std::vector<double>& xs, double left,
                            const std::vector<platform::gfx::RectF>& cursorBoxes);
    void drawTransponderAndAdf(platform::gfx::Canvas& canvas, const RadioUnit& unit);
    void drawTcasDisplay(platform::gfx::Canvas& canvas, const RadioUnit& unit);
    void drawMemoryPage(platform::gfx::Canvas& canvas, bool nav);
    void drawPageMenu(platform::gfx::Canvas& canvas);
    void drawAtcTcasPage(platform::gfx::Canvas& canvas);
    void drawSystemSelectPage(platform::gfx::Canvas& canvas);
    void drawMaintDataPage(platform::gfx::Canvas& canvas);
    void drawSetupPage(platform::gfx::Canvas& canvas);
    void drawSoftwareVersionsPage(platform::gfx::Canvas& canvas);
    void drawEngineBackupPage(platform::gfx::Canvas& canvas);
    void drawEngineBackup2Page(platform::gfx::Canvas& canvas);
    void drawNavBackupPage(platform::gfx::Canvas& canvas);
    void drawNavBackupFrames(platform::gfx::Canvas& canvas, const RadioUnit& unit,
                             bool headingValid, float heading);
    void drawCompass(platform::gfx::Canvas& canvas, float heading);
    void drawBearingPointers(platform::gfx::Canvas& canvas, const RadioUnit& unit, float heading,
                             bool vorValid, bool adfValid);
    void drawCourse(platform::gfx::Canvas& canvas, const RadioUnit& unit, float heading,
                    bool headingValid, bool navValid);
    void drawGlideslope(platform::gfx::Canvas& canvas, const RadioUnit& unit);
    void drawNavBackupReadouts(platform::gfx::Canvas& canvas, const RadioUnit& unit, bool vorValid,
                               bool adfValid, bool headingValid);

    // The keys and the knob of each page.
    uint32_t now() const;
    void radioPageKey(int32_t key, uint32_t flags);
    void radioPageHeldKey(int32_t key);
    void toggleTransponderStandby();
    void radioPageKnob(int32_t knob);
    void stepTransponderMode(int32_t knob);
    void pageMenuKey(int32_t key);
    void memoryPageKey(int32_t key, bool nav);
    void memoryPageKnob(int32_t knob, bool nav);
    void otherPageKey(int32_t key);
    // L6 back to the radios, R6 back to the maintenance menu.
    void returnKey(int32_t key);
    void navBackupKnob(int32_t knob);
    void registerNamedVariables();
    void pollNamedVariables();

    int32_t page_ = kRadioPage;
    platform::gfx::Font font12;
    platform::gfx::Font font14;
    platform::gfx::Font font16;
    platform::gfx::Font font18;
    platform::gfx::Font frequencyFont;
};

} // namespace tavi
