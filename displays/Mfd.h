#pragma once

#include "displays/PanelElement.h"
#include "navdata/Airport.h"
#include "navdata/FlatEarth.h"
#include "navdata/Navaid.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Path.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavi {

class Adc;
class Ahrs;
class Electric;
class Fadec;
class FlightDirector;
class FlightPlan;
class Fms;
class FuelSystem;
class Gps;
class Hydraulic;
class JetEngine;
class Mechanisation;
class Pneumatic;
class Radio;
class RadioUnit;
class Tcas;

// One multifunction display (side 1 left, side 2 right). The upper part shows a heading-up map
// arc or a north-up plan view around the aircraft with the nearby airports and navaids, the
// active flight plan and the data fields around them; the lower part one systems page (engine
// and doors, hydraulic, fuel, environment, electrical) or the TCAS traffic page, which comes up
// by itself while an advisory stands; the menu bar labels the six bezel buttons and the knob.
// The nearby airports and navaids are fetched only when the aircraft has moved or the range
// grew; every other frame draws the ones kept here.
class Mfd : public PanelElement {
public:
    using Argb = platform::gfx::Argb;
    using PointF = platform::gfx::PointF;
    using Pen = platform::gfx::Pen;

    static constexpr float kWidth = 400.0f;
    static constexpr float kHeight = 476.0f;

    static constexpr Argb kWhite = 0xFFFFFFFF;
    static constexpr Argb kLineWhite = 0xFFF5F5F5;
    static constexpr Argb kCyan = 0xFF00FFFF;
    static constexpr Argb kGreen = 0xFF00FF00;
    static constexpr Argb kBlack = 0xFF000000;
    static constexpr Argb kRed = 0xFFFF0000;
    static constexpr Argb kYellow = 0xFFF8DF23;
    static constexpr Argb kMagenta = 0xFFFF00FF;

    static constexpr Pen penWhite1{kLineWhite, 1.0};
    static constexpr Pen penWhite15{kLineWhite, 1.5};
    static constexpr Pen penWhite15b{kLineWhite, 1.5};
    static constexpr Pen penWhite2{kLineWhite, 2.0};
    static constexpr Pen penCyan2{kCyan, 2.0};
    static constexpr Pen penCyan15{kCyan, 1.5};
    static constexpr Pen penMagenta2{kMagenta, 2.0};
    static constexpr Pen penRed2{kRed, 2.0};
    static constexpr Pen penRed15{kRed, 1.5};
    static constexpr Pen penYellow2{kYellow, 2.0};
    static constexpr Pen penYellow15{kYellow, 1.5};
    static constexpr Pen penGreen2{kGreen, 2.0};

    enum MfdLowerPage : int32_t {
        kEnginePage = 0,
        kHydraulicPage = 1,
        kFuelPage = 2,
        kEnvironmentPage = 3,
        kElectricalPage = 4,
        kTcasPage = 5
    };
    enum MfdMenuLevel : int32_t {
        kMainMenu = 0,
        kSysMenu = 1,
        kMfdMenu = 2,
        kSpeedsMenu = 3,
        kJoystickMenu = 4
    };
    // Inputs of onButton: the six bezel buttons are 0..5, then the knob's steps.
    enum KnobInput : int32_t {
        kKnobSmallDown = 6,
        kKnobLargeDown = 7,
        kKnobSmallUp = 8,
        kKnobLargeUp = 9
    };
    enum NavAptMode : int32_t { kNoSymbols = 0, kNavaids = 1, kAirports = 2, kBoth = 3 };

    // Nautical miles of the map ranges the knob steps through.
    static constexpr std::array<int32_t, 9> kRanges = {5, 10, 25, 50, 100, 200, 300, 500, 1000};
    static constexpr int32_t kVariableCount = 8;

    // A value as a page shows it: its text, colour and the alert box pen colour around it, if any.
    struct Reading {
        std::string text;
        Argb colour = 0;
        Argb box = 0;
    };

    explicit Mfd(int side);

    void update(Aircraft& aircraft) override;
    void loadSettings(Aircraft& aircraft) override;
    int draw(platform::gfx::Surface& surface, int width, int height, bool blank) override;
    void addElectricLoad(Aircraft& aircraft, BusLoads& loads) override;
    void updatePower(Aircraft& aircraft) override;

    // A bezel button (0..5) or a knob step (KnobInput).
    void onButton(int input);
    // The nearby airports and navaids, fetched again when the aircraft has moved more than
    // 0.2 degrees or the data is stale.
    void refreshNearbyData();

    // Nautical miles of the map range in use.
    int32_t range() const;
    // The side's named panel variable of the index (0..7).
    static std::string variableName(int index, int side);
    // How many times the nearby airports and navaids have been fetched from the database.
    int32_t nearbyFetchCount() const { return nearbyFetches; }

    // What a field shows for a value that is not a number.
    static constexpr const char* kNoValue = "- - -";

    // Texts and colours the screen computes.
    static std::string crossTrackText(double crossTrack);
    // The value rounded to a whole number, or dashes for a value that is not a number.
    static std::string wholeNumberText(float value);
    static std::string temperatureText(float celsius);
    static std::string halfRangeText(int32_t range);
    static Reading hydraulicPressureReading(float psi, bool unpowered);
    // Height of a brake pointer's tip above the scale's foot (0..40).
    static float brakePointerHeight(float temperature, float scaleMaxGreen, float scaleMax);
    static std::string fuelQuantityText(float quantity);
    static Argb fuelLevelColour(float quantity, float amberLimit, float redLimit);
    static Reading fuelTemperatureReading(float celsius);
    static Reading oxygenReading(float psi);
    static std::string cabinTemperatureText(float celsius);
    static std::string voltsText(float volts);
    static std::string ampsText(float amps);
    static std::string batteryDegreesText(float celsius);
    // The source box's volt and ampere readings (green, yellow or boxed yellow).
    static std::array<Reading, 2> sourceReadings(float volts, float amps, bool switchOn);
    // The battery's volt and degree readings.
    static std::array<Reading, 2> batteryReadings(float volts, float celsius, bool switchAuto);
    // The intruder's altitude tag (relative altitude, or flight level).
    static std::string tcasTag(int32_t relativeAltitude, int32_t flightLevel, bool flightLevelTag);

    const int32_t side;
    const int32_t menuBarTop = 410;
    int32_t lowerPage = kEnginePage;
    int32_t savedLowerPage = kEnginePage;
    int32_t menuLevel = kMainMenu;
    bool fuelUseKg = false;
    bool fuelResetArmed = false;
    bool planMode = false;
    int32_t selectedSpeedRow = 0;
    bool tcasPoppedUp = false;
    bool nearbyDataLoaded = false;
    bool showData = true;
    int32_t rangeIndex = 0;
    std::array<double, 2> fetchPosition{1000.0, 1000.0};
    std::array<Airport, 4> nearbyAirports{};
    std::array<Navaid, 8> nearbyNavaids{};
    int32_t navAptMode = kNoSymbols;
    std::array<int32_t, kVariableCount> buttonVariables{-1, -1, -1, -1, -1, -1, -1, -1};
    bool variablesRegistered = false;

    // Systems read by the painters, refreshed by every update.
    Ahrs* ahrs = nullptr;
    Adc* adc = nullptr;
    FlightDirector* flightDirector = nullptr;
    Radio* radio = nullptr;
    Mechanisation* mechanisation = nullptr;
    Hydraulic* hydraulic1 = nullptr;
    Hydraulic* hydraulic2 = nullptr;
    JetEngine* engine1 = nullptr;
    JetEngine* engine2 = nullptr;
    FuelSystem* fuelSystem = nullptr;
    Pneumatic* pneumatic = nullptr;
    Electric* electric = nullptr;
    Fadec* fadec = nullptr;
    Tcas* tcas = nullptr;
    Fms* fms = nullptr;
    Gps* gps = nullptr;

private:
    using Canvas = platform::gfx::Canvas;
    using Font = platform::gfx::Font;

    // Places points of the earth on a view: relative to the view centre, in logical units.
    class Projection {
    public:
        Projection(double latitude, double longitude, double rotation, double scale);
        PointF place(double latitude, double longitude) const;
        double scale() const { return pixelsPerNm; }
        // Whether a symbol at the point, with its ident to its right, can reach the view's
        // clip; the bounds of the clip are relative to the view centre.
        bool reaches(PointF point, const platform::gfx::RectF& clipBounds) const;
        // Whether the line between the points can cross the clip's bounds.
        static bool crosses(PointF from, PointF to, const platform::gfx::RectF& clipBounds);

    private:
        FlatEarth origin;
        double sinRotation;
        double cosRotation;
        double pixelsPerNm;
    };

    // The heading shown: the gyro's, or the one held when the side's heading failed.
    struct HeadingState {
        float heading = 0.0f;
        bool lost = true;
    };

    void buildShapes();
    void registerVariables();
    void pollVariables();
    void popUpTcasPage();
    HeadingState headingState() const;
    const RadioUnit* navUnit() const;

    // Menus.
    void onMainMenu(int input);
    void onSysMenu(int input);
    void onMfdMenu(int input);
    void onSpeedsMenu(int input);
    void onJoystickMenu(int input);
    void stepRange(int direction);
    void pressSpeedRow(int32_t row);
    void drawMenuBar(Canvas& canvas);
    void drawMainMenu(Canvas& canvas);
    void drawSysMenu(Canvas& canvas);
    void drawMfdMenu(Canvas& canvas);
    void drawSpeedsMenu(Canvas& canvas);
    void drawJoystickMenu(Canvas& canvas);
    void drawLabel(Canvas& canvas, std::string_view text, double x, bool lowerLine,
                   Argb colour = kWhite);
    void drawBracket(Canvas& canvas, double x0, double x1, double x2, double x3);

    // Upper part.
    void drawDataFields(Canvas& canvas);
    void drawNavigationSource(Canvas& canvas);
    void drawAirData(Canvas& canvas);
    void drawWind(Canvas& canvas);
    void drawHeadingBugPointer(Canvas& canvas);
    void drawCrossTrack(Canvas& canvas);
    void drawMapView(Canvas& canvas);
    void drawPlanView(Canvas& canvas);
    Projection projection() const;
    void drawSymbols(Canvas& canvas);
    platform::gfx::RectF symbolBounds() const;
    void drawNavaids(Canvas& canvas, const Projection& view);
    void drawAirports(Canvas& canvas, const Projection& view);
    void drawFlightPlan(Canvas& canvas, const Projection& view);
    void drawPlanLines(Canvas& canvas, const FlightPlan& plan, const Projection& view,
                       std::size_t first);
    void drawPlanFixes(Canvas& canvas, const FlightPlan& plan, const Projection& view,
                       std::size_t first);
    void drawHold(Canvas& canvas, const std::array<PointF, 4>& corners);

    // Lower pages.
    void drawLowerPage(Canvas& canvas);
    void drawPageHeading(Canvas& canvas, std::string_view title, double centre, double x0,
                         double x1);
    void drawEnginePage(Canvas& canvas);
    void drawTakeoffData(Canvas& canvas);
    void drawOilLevels(Canvas& canvas);
    void drawDoors(Canvas& canvas);
    static platform::gfx::Path doorOutline();
    void drawHydraulicPage(Canvas& canvas);
    void drawBrakes(Canvas& canvas);
    void drawFuelPage(Canvas& canvas);
    void drawFuelTotals(Canvas& canvas);
    void drawEnvironmentPage(Canvas& canvas);
    void drawElectricalPage(Canvas& canvas);
    void drawSourceBox(Canvas& canvas, std::string_view name, double x, float volts, float amps,
                       bool switchOn);
    void drawBattery(Canvas& canvas, std::string_view name, double x, float volts, float celsius,
                     bool switchAuto);
    void drawTcasPage(Canvas& canvas);
    void drawTcasStatus(Canvas& canvas);
    void drawIntruders(Canvas& canvas, double pixelsPerNm, int32_t range);

    void drawReading(Canvas& canvas, const Reading& reading, const Font& font, double right,
                     double y, const platform::gfx::RectF& box);

    Font font14;
    Font font16;
    Font font18;
    Font font20;
    Font font22;
    platform::gfx::Path windArrowPath;
    platform::gfx::Path trackPointerPath;
    platform::gfx::Path aircraftSymbolPath;
    platform::gfx::Path compassTickPath;
    platform::gfx::Path headingBoxPath;
    platform::gfx::Path headingBugPath;
    // The compass figures, one path per 30 degrees from north.
    std::array<platform::gfx::Path, 12> compassLabelPath;
    const platform::gfx::Path doorOutlinePath = doorOutline();
    std::vector<PointF> mapSectorRegion;
    std::vector<PointF> mapClipRegion;
    int32_t nearbyFetches = 0;
};

} // namespace tavi
