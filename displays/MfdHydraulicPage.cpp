#include "airframe/Hydraulic.h"
#include "airframe/Mechanisation.h"
#include "core/Format.h"
#include "displays/Mfd.h"
#include "displays/ScreenDrawing.h"

#include <algorithm>
#include <cmath>

namespace tavi {

using platform::gfx::Canvas;
using platform::gfx::PointF;

namespace {

constexpr float kMaxShownPressure = 4000.0f;
constexpr float kLowPressure = 1250.0f;
constexpr float kHighPressure = 3250.0f;
constexpr double kQuantityStep = 9.0;
constexpr double kBrakeScaleHeight = 40.0;

} // namespace

Mfd::Reading Mfd::hydraulicPressureReading(float psi, bool unpowered) {
    // A pressure that is not a number is shown as a sensor without power, never as "nan00".
    if (unpowered || !std::isfinite(psi)) {
        return {"- - - -", kYellow};
    }
    const float limited = std::min(psi, kMaxShownPressure);
    const std::string text =
        limited < 50.0f
            ? "0"
            : format("%1.0f00", static_cast<double>(limited) * static_cast<double>(0.01f));
    if (limited > kLowPressure && limited < kHighPressure) {
        return {text, kGreen};
    }
    return {text, kYellow, kYellow};
}

float Mfd::brakePointerHeight(float temperature, float scaleMaxGreen, float scaleMax) {
    if (!std::isfinite(temperature)) {
        return 0.0f;
    }
    float position = 0.0f;
    if (temperature < scaleMaxGreen) {
        position = temperature / scaleMaxGreen * 20.0f;
    } else if (scaleMax <= scaleMaxGreen) {
        // With the green end at the top of the scale a brake that reaches it stands at the top,
        // where the formula would divide by zero.
        position = 40.0f;
    } else {
        position = 20.0f + (temperature - scaleMaxGreen) / (scaleMax - scaleMaxGreen) * 20.0f;
    }
    return std::isfinite(position) ? std::clamp(position, 0.0f, 40.0f) : 0.0f;
}

void Mfd::drawHydraulicPage(Canvas& canvas) {
    canvas.drawLine(penWhite15b, {260, 306}, {260, 404});
    drawPageHeading(canvas, "HYDRAULIC", 138, 24, 252);
    for (const double x : {28.0, 194.0}) {
        canvas.fillRectangle(kGreen, {x, 340, 54, 6});
        canvas.fillRectangle(kYellow, {x, 340, kQuantityStep, 6});
    }
    drawCentred(canvas, "QTY", font18, kWhite, 138, 332);
    drawCentred(canvas, "SYS 1", font18, kWhite, 55, 320);
    drawCentred(canvas, "SYS 2", font18, kWhite, 221, 320);
    drawCentred(canvas, "PRESS", font18, kWhite, 138, 360);
    drawCentred(canvas, "ELEC PUMP", font18, kWhite, 138, 384);
    const struct {
        const Hydraulic* system;
        double scaleX;
        double pressureRight;
        double boxX;
        double pumpX;
    } systems[] = {{hydraulic1, 28, 82, 40, 42}, {hydraulic2, 194, 240, 198, 200}};
    for (const auto& s : systems) {
        if (!s.system) {
            continue;
        }
        if (!s.system->unpowered && std::isfinite(s.system->quantity)) {
            const double q = s.scaleX + kQuantityStep * s.system->quantity;
            canvas.fillPolygon(s.system->quantity >= 1.0f ? kGreen : kYellow,
                               {{q, 346}, {q - 6, 352}, {q + 6, 352}});
        }
        drawReading(canvas, hydraulicPressureReading(s.system->pressure, s.system->unpowered),
                    font18, s.pressureRight, 360, {s.boxX, 360, 42, 20});
        canvas.drawString(s.system->electricPumpRunning ? "ON" : "OFF", font18, kGreen,
                          {s.pumpX, 384});
    }
    drawBrakes(canvas);
}

void Mfd::drawBrakes(Canvas& canvas) {
    drawPageHeading(canvas, "BRAKES", 322, 268, 376);
    const double width = canvas.measureString("BRAKES", font18).width;
    const double xL = 322 - width / 2 - 4;
    const double xR = 322 + width / 2 + 4;
    drawCentred(canvas, "TEMP", font18, kWhite, 322, 320);
    for (const double x : {xL, xR - 6}) {
        canvas.fillRectangle(kGreen, {x, 340, 6, kBrakeScaleHeight});
        canvas.fillRectangle(kYellow, {x, 340, 6, kBrakeScaleHeight / 2});
    }
    canvas.drawString("OB", font18, kWhite, {xL - 22, 384});
    canvas.drawString("IB", font18, kWhite, {xL + 6, 384});
    canvas.drawString("IB", font18, kWhite, {xR - 22, 384});
    canvas.drawString("OB", font18, kWhite, {xR, 384});
    if (!mechanisation) {
        return;
    }
    const Mechanisation& m = *mechanisation;
    const float g = m.scaleMaxGreen;
    const float max = m.scaleMax;
    const double a = brakePointerHeight(m.brakeTemperatureLeft, g, max);
    const double b = brakePointerHeight(m.brakeTemperatureRight, g, max);
    const Argb colourA = m.brakeTemperatureLeft >= g ? kYellow : kGreen;
    const Argb colourB = m.brakeTemperatureRight >= g ? kYellow : kGreen;
    const auto pointer = [&canvas](Argb colour, double tipX, double depth, double height) {
        const double y = 380 - height;
        canvas.fillPolygon(colour, {{tipX, y}, {tipX + depth, y - 6}, {tipX + depth, y + 6}});
    };
    if (!m.brakeSensor1Unpowered) {
        pointer(colourA, xL, -6, a);
        pointer(colourB, xR, 6, b);
    }
    if (!m.brakeSensor2Unpowered) {
        pointer(colourA, xL + 6, 6, a);
        pointer(colourB, xR - 6, -6, b);
    }
}

} // namespace tavi
