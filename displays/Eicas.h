#pragma once

#include "displays/PanelElement.h"
#include "platform/gfx/Canvas.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tavi {

class Ahrs;
class EicasDau;
struct EicasMessage;
class Electric;
class Fadec;
class FuelSystem;
class JetEngine;
class Mechanisation;
class Pressure;

// The engine indication and crew alerting screen of the centre panel: the thrust rating, N1 and
// ITT dials, N2, fuel flow and fuel quantity rows, oil and vibration bars, gear, flaps, spoilers
// and trims, cabin pressure and APU, and the crew alerting message list, laid over one static
// drawing of frames, scales and labels. Engine 1 is always on the left of a pair.
class Eicas : public PanelElement {
public:
    // A value as the screen shows it: its text, colour and the alert box around it, if any.
    struct Reading {
        std::string text;
        platform::gfx::Argb colour = 0;
        platform::gfx::Argb box = 0;
    };

    static constexpr platform::gfx::Argb kWhite = 0xFFFFFFFF;
    static constexpr platform::gfx::Argb kLines = 0xFFF5F5F5;
    static constexpr platform::gfx::Argb kGreen = 0xFF00FF00;
    static constexpr platform::gfx::Argb kRed = 0xFFFF0000;
    static constexpr platform::gfx::Argb kYellow = 0xFFF8DF23;
    static constexpr platform::gfx::Argb kCyan = 0xFF00FFFF;
    static constexpr float kWidth = 400.0f;
    static constexpr float kHeight = 476.0f;
    static constexpr int32_t kMessageLines = 15;
    // Degrees of ITT dial per degree Celsius: a limit of 948 spans the N1 dial's 200 degrees.
    static constexpr float kIttScale = 200.0f / 948.0f;

    Eicas();

    void update(Aircraft& aircraft) override;
    void loadSettings(Aircraft& aircraft) override;
    int draw(platform::gfx::Surface& surface, int width, int height, bool blank) override;
    void addElectricLoad(Aircraft& aircraft, BusLoads& loads) override;
    void updatePower(Aircraft& aircraft) override;

    // Engine data are valid while either FADEC channel of the engine has power.
    static bool isValid(const JetEngine* engine);
    // Dial angles in degrees, clockwise from +x: 0 % at -20, 100 % at the red line (180).
    static float n1NeedleAngle(float n1Percent);
    static float ittNeedleAngle(float itt);

    static Reading n1Reading(const JetEngine* engine);
    static Reading ittReading(const JetEngine* engine);
    static Reading n2Reading(const JetEngine* engine);
    Reading fuelFlowReading(const JetEngine* engine) const;
    Reading fuelQuantityReading(float pounds) const;
    static Reading oilPressureReading(float psi, float ownN2Percent);
    static Reading oilTemperatureReading(float celsius);
    // Oil pointers' heights on their bars.
    static float oilPressureY(float psi);
    static float oilTemperatureY(float celsius);
    static Reading flapsReading(float flapsAngle);
    // The gear box of the leg at its position: 0 up and locked, 16383 down and locked.
    static Reading gearReading(int32_t legPosition);
    static Reading pitchTrimReading(float trim, bool onGround);
    static float pitchTrimY(float trim);
    static Reading cabinAltitudeReading(double feet);
    static Reading differentialPressureReading(double psi);
    static Reading cabinRateReading(double feetPerMinute);
    static Reading apuTemperatureReading(float egt);
    static Reading apuSpeedReading(float speedPercent);
    // The status line under a message list longer than the screen.
    static std::string messageStatusText(int32_t above, int32_t below);

    Ahrs* ahrs = nullptr;
    JetEngine* engine1 = nullptr;
    JetEngine* engine2 = nullptr;
    FuelSystem* fuelSystem = nullptr;
    Mechanisation* mechanisation = nullptr;
    Pressure* pressure = nullptr;
    Electric* electric = nullptr;
    EicasDau* eicasDau = nullptr;
    Fadec* fadec = nullptr;
    bool fuelUseKg = false;
    // The first message shown; the panel's scroll buttons move it, the list keeps it in range.
    int32_t messageScroll = 0;

private:
    struct Label {
        std::string text;
        platform::gfx::PointF at;
    };
    struct Arc {
        platform::gfx::RectF box;
        double start = 0.0;
        double sweep = 0.0;
    };
    struct Line {
        platform::gfx::PointF from;
        platform::gfx::PointF to;
    };

    void buildStaticDrawing();
    void drawStatic(platform::gfx::Canvas& canvas) const;
    void drawRatingLine(platform::gfx::Canvas& canvas) const;
    void drawDials(platform::gfx::Canvas& canvas) const;
    void drawIttSection(platform::gfx::Canvas& canvas, const std::vector<Line>& n1Needles) const;
    void drawEngineRows(platform::gfx::Canvas& canvas) const;
    void drawOilAndVibration(platform::gfx::Canvas& canvas) const;
    void drawVibration(platform::gfx::Canvas& canvas) const;
    void drawGearAndTrims(platform::gfx::Canvas& canvas) const;
    void drawTrims(platform::gfx::Canvas& canvas) const;
    void drawCabinAndApu(platform::gfx::Canvas& canvas) const;
    void drawApu(platform::gfx::Canvas& canvas) const;
    void drawMessageList(platform::gfx::Canvas& canvas);
    void drawMessageStatus(platform::gfx::Canvas& canvas, int32_t count) const;
    bool isMessageVisible(const EicasMessage& message) const;

    void drawBox(platform::gfx::Canvas& canvas, platform::gfx::Argb colour,
                 const platform::gfx::RectF& box) const;
    void drawPointer(platform::gfx::Canvas& canvas, platform::gfx::Argb colour, double x, double y,
                     bool left) const;

    platform::gfx::Font font16;
    platform::gfx::Font font18;
    std::vector<Line> frameLines;
    std::vector<Line> scaleLines;
    std::vector<Arc> scaleArcs;
    std::vector<platform::gfx::RectF> scaleBoxes;
    std::vector<Label> labels;
    const Aircraft* aircraft = nullptr;
};

} // namespace tavi
