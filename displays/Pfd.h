#pragma once

#include "displays/PanelElement.h"
#include "displays/PfdLayer.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Path.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace tavi {

class Adc;
class Ahrs;
class AhrsUnit;
class Autopilot;
class Baro;
class EicasDau;
class Electric;
class FlightDirector;
class Fms;
class Gps;
class Gpws;
class RadAlt;
class Radio;
class RadioUnit;
class Tcas;
struct LnavState;

// One primary flight display (side 1 the captain's, side 2 the first officer's): the airspeed
// tape, the altitude tape with the vertical speed beside the HSI, the attitude director, the HSI
// as a full rose or an arc, the mode annunciator and the readouts around them; while the side's
// air data runs its self-test, the self-test page instead. Shapes that never change are made on
// the first update; every paint only moves them. The parts that stay the same from one paint to
// the next (the scales, the card, the fixed frames) are kept as pictures and drawn again only
// when what they show changes.
class Pfd : public PanelElement {
public:
    using PointF = platform::gfx::PointF;
    static constexpr float kWidth = 400.0f;
    static constexpr float kHeight = 476.0f;

    // Bearing pointer sources.
    enum BearingSource : int32_t {
        kBearingOff = 0,
        kBearingVor = 1,
        kBearingAdf = 2,
        kBearingFms = 3
    };

    explicit Pfd(int side);

    void update(Aircraft& aircraft) override;
    void loadSettings(Aircraft& aircraft) override;
    int draw(platform::gfx::Surface& surface, int width, int height, bool blank) override;
    void addElectricLoad(Aircraft& aircraft, BusLoads& loads) override;
    void updatePower(Aircraft& aircraft) override;
    void saveState(const StateFile& file) override;
    void loadState(const StateFile& file) override;

    // The guidance panel's altitude knob stepped: hides an armed ASEL for two seconds.
    void markAltitudeSelectChange();

    // Needle deflection (degrees, -60..60, positive up) of the vertical speed scale.
    static float vsiDeflection(float feetPerMinute);
    // The resolution-advisory band limits for the TCAS state: red from, red to, green from,
    // green to, as deflections.
    static std::array<float, 4> raBands(int32_t kind, bool selfTest, bool justIssued,
                                        int32_t sensitivityLevel);

    // Texts of the readouts, as drawn.
    static std::string machText(float mach);
    static std::string distanceText(double nauticalMiles);
    static std::string headingReadoutText(float heading);
    static std::string verticalSpeedReadout(int32_t feetPerMinute);
    static std::string fmsTimeToGoText(double seconds);
    static std::string navTimeToGoText(float distance, float speed);

    // A rolling drum column: its digit and how far it has rolled towards the next.
    struct DrumColumn {
        int32_t digit = 0;
        float fraction = 0.0f;
    };
    // Hundreds, tens and units of the airspeed drum.
    static std::array<DrumColumn, 3> airspeedDrum(float knots);
    // Ten-thousands, thousands, hundreds and the 20-ft drum's position of the altitude readout.
    struct AltitudeDrum {
        std::array<DrumColumn, 3> columns;
        float lastTwoDigits = 0.0f;
    };
    static AltitudeDrum altitudeDrum(float feet);

    // The airspeed readout's colour now.
    platform::gfx::Argb speedReadoutColour() const;
    // Whether the altitude alert (amber preselect) holds now.
    bool altitudeAlert() const;

    const int32_t side;
    const float pitchPixelsPer10Deg = 38.0f;
    bool hsiArcMode = false;
    bool vBarOn = true;
    bool baroInInches = true;
    bool machVisible = false;
    bool showTimeToGo = false;
    bool speedTrendVisible = false;
    bool altitudeTrendVisible = false;
    int32_t fmaVerticalMode = 0;
    int32_t fmaArmedVerticalMode = 0;
    int32_t fmaLateralMode = 0;
    uint32_t fmaVerticalModeTime = 0;
    uint32_t altitudeSelectChangeTime = 0;
    uint32_t fmaLateralModeTime = 0;
    int32_t bearing1Source = kBearingOff;
    int32_t bearing2Source = kBearingOff;
    float bearing1Angle = 90.0f;
    float bearing2Angle = 90.0f;
    bool bearing1Valid = false;
    bool bearing2Valid = false;
    std::array<float, 4> raBandLimits{};

    // Systems read by the painters, refreshed by every update.
    Ahrs* ahrs = nullptr;
    Adc* adc = nullptr;
    RadAlt* radAlt = nullptr;
    Autopilot* autopilot = nullptr;
    FlightDirector* flightDirector = nullptr;
    Baro* baro = nullptr;
    Radio* radio = nullptr;
    Gpws* gpws = nullptr;
    Tcas* tcas = nullptr;
    Fms* fms = nullptr;
    Gps* gps = nullptr;
    EicasDau* eicasDau = nullptr;
    Electric* electric = nullptr;
    uint32_t now = 0;
    bool slewing = false;

    // The side's named panel variables, in registration order.
    enum NamedVariable : int {
        kInHpaClick,
        kStdClick,
        kKnobDecClick,
        kKnobIncClick,
        kBrg1,
        kBrg1Dec,
        kBrg1Inc,
        kBrg2,
        kBrg2Dec,
        kBrg2Inc,
        kDhDec,
        kDhInc,
        kFullWxClick,
        kGspdTtgClick,
        kNavSourceRadio,
        kNavSourceFms,
        kNamedVariableCount
    };
    // The name of a named variable of a side.
    static std::string namedVariableName(int variable, int side);
    std::array<int32_t, kNamedVariableCount> namedVariableIds{};
    bool namedVariablesRegistered = false;

private:
    // Shapes made on the first update (coordinates relative to each instrument's centre).
    struct Shapes {
        platform::gfx::Path adiOutline;
        platform::gfx::Path rollScale;
        platform::gfx::Path chevrons;
        platform::gfx::Path rollPointer;
        platform::gfx::Path crossBarSymbol;
        platform::gfx::Path vBarSymbol;
        platform::gfx::Path vBarWedges;
        platform::gfx::Path pitchLimit;
        platform::gfx::Path deviationScale;
        platform::gfx::Path deviationPointer;
        platform::gfx::Path roseTicks;
        platform::gfx::Path roseFixedMarks;
        platform::gfx::Path roseTrack;
        platform::gfx::Path roseBug;
        platform::gfx::Path roseCourse;
        platform::gfx::Path roseBearing1;
        platform::gfx::Path roseBearing2;
        platform::gfx::Path roseDeviationBar;
        platform::gfx::Path hsiAircraft;
        platform::gfx::Path deviationDots;
        platform::gfx::Path arcTicks;
        platform::gfx::Path arcReadoutBox;
        platform::gfx::Path arcBug;
        platform::gfx::Path arcTrack;
        platform::gfx::Path arcBearing1;
        platform::gfx::Path arcBearing2;
        platform::gfx::Path arcCourse;
        platform::gfx::Path arcDeviationBar;
        platform::gfx::Path vsiCircle;
        platform::gfx::Path vsiMajorTicks;
        platform::gfx::Path vsiMinorTicks;
        platform::gfx::Path vsiNeedle;
        platform::gfx::Path vsiBug;
        platform::gfx::Path speedTargetFrame;
        platform::gfx::Path windArrow;
        platform::gfx::Path speedBox;
        platform::gfx::Path speedBug;
        platform::gfx::Path altitudeBox;
        platform::gfx::Path altitudeBug;
    };

    // The centre of the vertical speed scale.
    static constexpr PointF kVsiCentre{409, 380};

    // Per-frame values shared by the painters.
    struct Frame {
        bool attitudeInvalid = false;
        bool headingFailed = false;
        float heading = 0.0f;
        bool fmsSource = false;
        const RadioUnit* nav = nullptr;
        const LnavState* lnav = nullptr;
        const AhrsUnit* unit = nullptr;
        float course = 0.0f;
    };

    // The pictures kept between paints.
    struct Layers {
        PfdLayer adiFrame{{104, 34, 192, 216}};
        PfdLayer aircraftSymbol{{110, 136, 180, 38}};
        PfdLayer roseCard{{116, 296, 168, 168}};
        PfdLayer arcCard{{86, 294, 228, 84}};
        PfdLayer verticalSpeedScale{{292, 284, 84, 192}};
        PfdLayer raBands{{318, 288, 60, 188}};
        PfdLayer roseSymbols{{104, 284, 192, 192}};
        PfdLayer arcSymbols{{128, 270, 144, 180}};
        PfdLayer speedTape{{23, 40, 46, 214}};
        PfdLayer speedScale{{0, 40, 79, 214}};
        PfdLayer altitudeTape{{314, 40, 63, 214}};
        PfdLayer altitudeScale{{304, 40, 96, 214}};
    };

    // Lays the layer's picture onto the screen, painting it first when the values it shows have
    // changed. The paint starts from a reset transform and clip.
    void drawLayer(platform::gfx::Canvas& canvas, PfdLayer& layer, std::array<double, 5> values,
                   const std::function<void(platform::gfx::Canvas&)>& paint);

    void buildShapes();
    void buildAdiShapes();
    void buildHsiShapes();
    void buildVerticalSpeedShapes();
    void buildTapeShapes();
    void cacheSystems(Aircraft& aircraft);
    void updateBearingPointers();
    void actOnNamedVariables();
    void stepDecisionHeight(bool up) const;
    bool systemsPresent() const;
    Frame frameValues() const;

    void drawSpeedTape(platform::gfx::Canvas& canvas);
    void drawSpeedBugs(platform::gfx::Canvas& canvas, float shownSpeed) const;
    void drawSpeedList(platform::gfx::Canvas& canvas) const;
    void drawAltitudeScale(platform::gfx::Canvas& canvas, float shownAltitude) const;
    void drawAltitudeDrum(platform::gfx::Canvas& canvas, float shownAltitude) const;
    void drawDrum(platform::gfx::Canvas& canvas, double x, DrumColumn column,
                  platform::gfx::Argb colour) const;
    bool overspeed() const;
    void drawAltitudeTape(platform::gfx::Canvas& canvas);
    void drawReadouts(platform::gfx::Canvas& canvas, const Frame& frame);
    void drawTargets(platform::gfx::Canvas& canvas);
    void drawNavigationBlock(platform::gfx::Canvas& canvas, const Frame& frame);
    void drawGroundSpeedOrTime(platform::gfx::Canvas& canvas, const Frame& frame);
    void drawStatusFlags(platform::gfx::Canvas& canvas);
    void drawAdi(platform::gfx::Canvas& canvas, const Frame& frame);
    void drawPitchLadder(platform::gfx::Canvas& canvas, bool onGround, double centreOffset);
    void drawCommandBars(platform::gfx::Canvas& canvas, const Frame& frame);
    void drawVerticalDeviation(platform::gfx::Canvas& canvas, const Frame& frame);
    void drawVnavDeviation(platform::gfx::Canvas& canvas);
    void drawAdiAnnunciations(platform::gfx::Canvas& canvas, const Frame& frame);
    void drawHsiRose(platform::gfx::Canvas& canvas, const Frame& frame);
    void drawHsiArc(platform::gfx::Canvas& canvas, const Frame& frame);
    void drawCourseDeviation(platform::gfx::Canvas& canvas, const Frame& frame, PointF centre,
                             const platform::gfx::Path& bar) const;
    void drawVerticalSpeed(platform::gfx::Canvas& canvas, const Frame& frame);
    void computeRaBands(platform::gfx::Canvas& canvas);
    void drawFlightModeAnnunciator(platform::gfx::Canvas& canvas);
    void drawSelfTestPage(platform::gfx::Canvas& canvas);

    void text(platform::gfx::Canvas& canvas, const std::string& value,
              const platform::gfx::Font& font, platform::gfx::Argb colour, PointF at) const;
    void textRight(platform::gfx::Canvas& canvas, const std::string& value,
                   const platform::gfx::Font& font, platform::gfx::Argb colour, PointF at) const;
    void textCentred(platform::gfx::Canvas& canvas, const std::string& value,
                     const platform::gfx::Font& font, platform::gfx::Argb colour, double y) const;
    // Moves the origin to the point and turns it by the angle.
    void place(platform::gfx::Canvas& canvas, PointF centre, double degrees) const;
    bool tenSecondFlagVisible(uint32_t since) const;

    Shapes shapes;
    Layers layers;
    platform::gfx::Font font16;
    platform::gfx::Font font18;
    platform::gfx::Font font20;
    platform::gfx::Font font22;
    platform::gfx::Font labelFont15;
};

} // namespace tavi
