#pragma once

#include "displays/PanelElement.h"
#include "platform/gfx/Canvas.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tavi {

class Adc;
class Ahrs;
class Baro;

// The integrated standby instrument: attitude, airspeed, altitude, heading and its own baro
// setting, from bus 2 behind avionics master 2. Each power-up after start-up runs a 90-second
// alignment, and holding the cage button for 2 s runs a 10-second one; while either runs, the
// instruments show their flags. Its brightness, baro knob and STD button arrive through named
// panel variables.
class Isi : public PanelElement {
public:
    static constexpr float kSize = 210.0f;
    static constexpr uint32_t kAlignMs = 90000;
    static constexpr uint32_t kFastAlignMs = 10000;
    static constexpr uint32_t kCageHoldMs = 2000;
    static constexpr platform::gfx::Argb kYellow = 0xFFFFFF00;
    static constexpr platform::gfx::Argb kCyan = 0xFF00FFFF;
    static constexpr platform::gfx::Argb kRed = 0xFFFF0000;
    static constexpr platform::gfx::Argb kWhite = 0xFFFFFFFF;
    // The named variables, in the order they are registered and polled.
    static constexpr std::array<const char*, 5> kVariableNames = {
        "IsiIncBrightClick", "IsiDecBrightClick", "IsiStdClick", "IsiKnobDecClick",
        "IsiKnobIncClick"};

    Isi();

    void update(Aircraft& aircraft) override;
    void loadSettings(Aircraft& aircraft) override;
    int draw(platform::gfx::Surface& surface, int width, int height, bool blank) override;
    void addElectricLoad(Aircraft& aircraft, BusLoads& loads) override;
    void updatePower(Aircraft& aircraft) override;

    // The cage button: true for a press, false for its release.
    void setCageButton(bool pressed);
    bool isAligning() const { return aligning || fastAligning; }
    // The text under the attitude flag while aligning: "INIT 90s", "INIT 10s" or empty.
    std::string alignmentText() const;
    // What the drums of the altitude readout show: ten-thousands, thousands and hundreds
    // digits with their roll fractions, and the last two digits.
    struct Drums {
        int32_t tenThousands = 0;
        int32_t thousands = 0;
        int32_t hundreds = 0;
        int32_t rest = 0;
        float tenThousandsRoll = 0.0f;
        float thousandsRoll = 0.0f;
        float hundredsRoll = 0.0f;
    };
    static Drums altitudeDrums(float feet);
    // The Mach readout without its leading zero, as ".78".
    static std::string machText(float mach);
    // The label of the heading scale at a multiple of 20 degrees: "36" for north.
    static std::string headingLabel(int32_t degrees);

    float pitchScale = 34.0f;
    Ahrs* ahrs = nullptr;
    Adc* adc = nullptr;
    Baro* baro = nullptr;
    bool machShown = false;
    bool baroInInches = false;
    bool started = false;
    bool aligning = false;
    bool fastAligning = false;
    uint32_t alignStartTime = 0;
    uint32_t fastAlignStartTime = 0;
    uint32_t cagePressTime = 0;
    bool cageHeld = false;
    std::array<int32_t, 5> variableIds{-1, -1, -1, -1, -1};
    bool variablesRegistered = false;

private:
    void pollVariables();
    void drawAttitude(platform::gfx::Canvas& canvas) const;
    void drawSphere(platform::gfx::Canvas& canvas) const;
    void drawRollScale(platform::gfx::Canvas& canvas) const;
    void drawBaroSetting(platform::gfx::Canvas& canvas) const;
    void drawAirspeed(platform::gfx::Canvas& canvas) const;
    void drawAltitude(platform::gfx::Canvas& canvas) const;
    void drawAltitudeTape(platform::gfx::Canvas& canvas, float feet) const;
    void drawDrums(platform::gfx::Canvas& canvas, float feet) const;
    void drawHeading(platform::gfx::Canvas& canvas) const;
    void drawFlag(platform::gfx::Canvas& canvas, const platform::gfx::RectF& box,
                  const std::string& text, platform::gfx::PointF at) const;
    // The sphere's transform: pitch shift, then bank, then the instrument's centre.
    void sphereTransform(platform::gfx::Canvas& canvas) const;
    bool attitudeFlagged() const;
    float pitch() const;
    float bank() const;
    void buildLadder();

    struct Line {
        platform::gfx::PointF from;
        platform::gfx::PointF to;
    };
    struct Label {
        std::string text;
        platform::gfx::PointF at;
    };

    platform::gfx::Font font16;
    platform::gfx::Font font18;
    std::vector<Line> ladderLines;
    std::vector<Label> ladderNumbers;
    const Aircraft* aircraft = nullptr;
    float skidValue = 0.0f;
};

} // namespace tavi
