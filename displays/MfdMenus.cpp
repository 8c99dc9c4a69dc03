#include "airframe/FuelSystem.h"
#include "avionics/Adc.h"
#include "core/Format.h"
#include "displays/Mfd.h"
#include "displays/ScreenDrawing.h"
#include "fms/GlobalFlightPlans.h"

#include <algorithm>

namespace tavi {

using platform::gfx::Canvas;
using platform::gfx::RectF;

namespace {

constexpr int32_t kMinReferenceSpeed = 89;

// Where each reference-speed row of the SPDS menu stands.
struct SpeedRow {
    const char* label;
    double labelX;
    double valueX;
    Mfd::Argb colour;
    double boxX;
};
constexpr std::array<SpeedRow, 4> kSpeedRows = {{{"V1", 142, 136, Mfd::kMagenta, 130},
                                                 {"VR", 188, 184, Mfd::kCyan, 178},
                                                 {"V2", 236, 230, Mfd::kWhite, 224},
                                                 {"AP", 282, 278, Mfd::kGreen, 272}}};

} // namespace

void Mfd::onButton(int input) {
    if (input >= kKnobSmallDown && input <= kKnobLargeUp && menuLevel != kSpeedsMenu) {
        stepRange(input <= kKnobLargeDown ? -1 : 1);
        return;
    }
    switch (menuLevel) {
    case kMainMenu:
        onMainMenu(input);
        break;
    case kSysMenu:
        onSysMenu(input);
        break;
    case kMfdMenu:
        onMfdMenu(input);
        break;
    case kSpeedsMenu:
        onSpeedsMenu(input);
        break;
    case kJoystickMenu:
        onJoystickMenu(input);
        break;
    default:
        break;
    }
}

void Mfd::stepRange(int direction) {
    const int32_t before = range();
    rangeIndex = (rangeIndex + direction + 9) % 9;
    if (range() > before) {
        nearbyDataLoaded = false;
    }
}

void Mfd::onMainMenu(int input) {
    switch (input) {
    case 0:
        menuLevel = kSysMenu;
        break;
    case 1:
        menuLevel = kMfdMenu;
        break;
    case 3:
        if (lowerPage == kTcasPage) {
            lowerPage = savedLowerPage;
        } else {
            savedLowerPage = lowerPage;
            lowerPage = kTcasPage;
        }
        tcasPoppedUp = false;
        break;
    case 5:
        planMode = !planMode;
        break;
    default:
        break;
    }
}

void Mfd::onSysMenu(int input) {
    static constexpr std::array<int32_t, 6> kPages = {-1,        kEnginePage,    kEnvironmentPage,
                                                      kFuelPage, kHydraulicPage, kElectricalPage};
    if (input < 0 || input > 5) {
        return;
    }
    if (input == 3 && lowerPage == kFuelPage) {
        if (fuelResetArmed && fuelSystem) {
            (side == 1 ? fuelSystem->fuelUsed1 : fuelSystem->fuelUsed2) = 0.0f;
        }
        fuelResetArmed = !fuelResetArmed;
        return;
    }
    fuelResetArmed = false;
    if (input == 0) {
        menuLevel = kMainMenu;
    } else {
        lowerPage = kPages[static_cast<std::size_t>(input)];
    }
}

void Mfd::onMfdMenu(int input) {
    switch (input) {
    case 0:
        menuLevel = kMainMenu;
        break;
    case 1:
        menuLevel = kSpeedsMenu;
        break;
    case 2:
        menuLevel = kJoystickMenu;
        break;
    case 3:
        navAptMode = (navAptMode + 1) % 4;
        break;
    case 4:
        showData = !showData;
        break;
    default:
        break;
    }
}

void Mfd::onSpeedsMenu(int input) {
    if (!adc) {
        return;
    }
    auto& unset = adc->referenceSpeedUnset;
    auto& speeds = adc->referenceSpeeds;
    switch (input) {
    case 0:
        adc->selectSpeedBug(0);
        menuLevel = kMfdMenu;
        return;
    case 2:
        if (unset[0]) {
            unset[0] = false;
            adc->clampSpeedBugs();
        }
        break;
    case 3:
    case 4: {
        const std::size_t row = static_cast<std::size_t>(input - 2);
        if (unset[row]) {
            speeds[row] = std::max(speeds[row - 1], kMinReferenceSpeed);
            adc->clampSpeedBugs();
            unset[row] = false;
            adc->clampSpeedBugs();
        }
        break;
    }
    case 5:
        unset[3] = false;
        adc->clampSpeedBugs();
        break;
    case kKnobSmallDown:
    case kKnobLargeDown:
    case kKnobSmallUp:
    case kKnobLargeUp: {
        static constexpr std::array<int32_t, 4> kSteps = {-1, -10, 1, 10};
        const int bug = adc->selectedSpeedBug();
        if (bug >= 1 && bug <= 4) {
            speeds[static_cast<std::size_t>(bug - 1)] +=
                kSteps[static_cast<std::size_t>(input - kKnobSmallDown)];
            adc->clampSpeedBugs();
        }
        return;
    }
    default:
        return;
    }
    pressSpeedRow(input - 1);
}

void Mfd::pressSpeedRow(int32_t row) {
    if (selectedSpeedRow == row) {
        int32_t& state = adc->referenceSpeedStates[static_cast<std::size_t>(row - 1)];
        state = (state + 2) % 3;
    } else {
        adc->selectSpeedBug(row);
    }
    selectedSpeedRow = row;
}

void Mfd::onJoystickMenu(int input) {
    switch (input) {
    case 0:
        menuLevel = kMfdMenu;
        break;
    case 1:
        activeFlightPlan.findNextFixLeg(activeFlightPlan.nextFixOffset + 1);
        break;
    case 2:
        activeFlightPlan.findNextFixLeg(activeFlightPlan.nextFixOffset - 1);
        break;
    default:
        break;
    }
}

// Menu bar.

void Mfd::drawMenuBar(Canvas& canvas) {
    switch (menuLevel) {
    case kMainMenu:
        drawMainMenu(canvas);
        break;
    case kSysMenu:
        drawSysMenu(canvas);
        break;
    case kMfdMenu:
        drawMfdMenu(canvas);
        break;
    case kSpeedsMenu:
        drawSpeedsMenu(canvas);
        break;
    case kJoystickMenu:
        drawJoystickMenu(canvas);
        break;
    default:
        break;
    }
}

void Mfd::drawLabel(Canvas& canvas, std::string_view text, double x, bool lowerLine, Argb colour) {
    canvas.drawString(text, font18, colour,
                      {x, static_cast<double>(menuBarTop + (lowerLine ? 30 : 10))});
}

void Mfd::drawBracket(Canvas& canvas, double x0, double x1, double x2, double x3) {
    drawPolyline(canvas, penWhite15b, {{x0, 436}, {x0, 430}, {x1, 430}});
    drawPolyline(canvas, penWhite15b, {{x2, 430}, {x3, 430}, {x3, 436}});
}

void Mfd::drawMainMenu(Canvas& canvas) {
    drawLabel(canvas, "SYS", 40, true);
    drawLabel(canvas, "MENU", 80, false);
    drawLabel(canvas, "MFD", 86, true);
    drawLabel(canvas, "CKLST", 126, true);
    drawLabel(canvas, "TCAS", 180, true);
    drawLabel(canvas, "WX", 236, true);
    drawLabel(canvas, "MAP", 277, false);
    drawLabel(canvas, "PLAN", 272, true);
    drawLabel(canvas, "M/P", 344, false);
    drawLabel(canvas, "RNG", 340, true);
    drawBracket(canvas, 34, 75, 133, 180);
    canvas.drawRectangle(penWhite15b, planMode ? RectF{273, 440, 44, 20} : RectF{276, 420, 40, 20});
    if (lowerPage == kTcasPage) {
        canvas.drawRectangle(penWhite15b, {181, 440, 44, 20});
    }
}

void Mfd::drawSysMenu(Canvas& canvas) {
    drawLabel(canvas, "RTN", 40, true);
    drawLabel(canvas, "T/O", 92, true);
    drawLabel(canvas, "ECS", 134, false);
    drawLabel(canvas, "A/I", 138, true);
    drawLabel(canvas, "FUEL", 180, true);
    drawLabel(canvas, "HYD", 228, true);
    drawLabel(canvas, "ELEC", 272, true);
    switch (lowerPage) {
    case kEnginePage:
        canvas.drawRectangle(penWhite15b, {92, 440, 30, 20});
        break;
    case kHydraulicPage:
        canvas.drawRectangle(penWhite15b, {228, 440, 36, 20});
        break;
    case kFuelPage:
        drawLabel(canvas, "RESET", 176, false);
        canvas.drawRectangle(penWhite15b,
                             fuelResetArmed ? RectF{176, 420, 56, 20} : RectF{180, 440, 44, 20});
        break;
    case kEnvironmentPage:
        canvas.drawRectangle(penWhite15b, {134, 420, 36, 40});
        break;
    case kElectricalPage:
        canvas.drawRectangle(penWhite15b, {272, 440, 44, 20});
        break;
    default:
        break;
    }
}

void Mfd::drawMfdMenu(Canvas& canvas) {
    drawLabel(canvas, "RTN", 40, true);
    drawLabel(canvas, "MENU", 106, false);
    drawLabel(canvas, "SPDS", 82, true);
    drawLabel(canvas, "JSTK", 134, true);
    drawLabel(canvas, "NAV", 184, false);
    drawLabel(canvas, "APT", 184, true);
    drawLabel(canvas, "DATA", 226, true);
    drawLabel(canvas, "MAINT", 272, true);
    drawLabel(canvas, "M/P", 344, false);
    drawLabel(canvas, "RNG", 340, true);
    drawBracket(canvas, 84, 104, 158, 178);
    switch (navAptMode) {
    case kNavaids:
        canvas.drawRectangle(penWhite15b, {184, 420, 37, 20});
        break;
    case kAirports:
        canvas.drawRectangle(penWhite15b, {184, 440, 37, 20});
        break;
    case kBoth:
        canvas.drawRectangle(penWhite15b, {184, 420, 37, 40});
        break;
    default:
        break;
    }
    if (showData) {
        canvas.drawRectangle(penWhite15b, {226, 440, 46, 20});
    }
}

void Mfd::drawJoystickMenu(Canvas& canvas) {
    drawLabel(canvas, "RTN", 40, true);
    drawLabel(canvas, "JOYSTICK", 115, false);
    drawLabel(canvas, "SKP", 88, true);
    drawLabel(canvas, "RCL", 140, true);
    drawLabel(canvas, "ENT", 185, true);
    drawLabel(canvas, "M/P", 344, false);
    drawLabel(canvas, "RNG", 340, true);
    drawBracket(canvas, 84, 109, 200, 225);
}

void Mfd::drawSpeedsMenu(Canvas& canvas) {
    drawLabel(canvas, "RTN", 40, true);
    drawLabel(canvas, "SET", 340, true);
    if (!adc) {
        return;
    }
    for (std::size_t i = 0; i < kSpeedRows.size(); ++i) {
        const SpeedRow& row = kSpeedRows[i];
        canvas.drawString(row.label, font18, row.colour, {row.labelX, 418});
        const std::string value =
            adc->referenceSpeedUnset[i] ? "---" : format("%3d", adc->referenceSpeeds[i]);
        for (std::size_t c = 0; c < value.size(); ++c) {
            canvas.drawString(std::string_view(value).substr(c, 1), font18, row.colour,
                              {row.valueX + 12.0 * static_cast<double>(c), 440});
        }
        const int32_t state = adc->referenceSpeedStates[i];
        if (state == 1 || state == 2) {
            canvas.drawRectangle(penWhite1, {row.boxX, 418, 48, 44});
        }
        if (state == 2) {
            canvas.drawRectangle(penWhite1, {row.boxX + 3, 440, 42, 22});
        }
    }
}

} // namespace tavi
