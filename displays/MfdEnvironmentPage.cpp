#include "airframe/Pneumatic.h"
#include "core/Format.h"
#include "displays/Mfd.h"
#include "displays/ScreenDrawing.h"

#include <algorithm>
#include <cmath>

namespace tavi {

using platform::gfx::Canvas;

namespace {

constexpr float kOxygenFullScale = 1850.0f;
constexpr float kOxygenRed = 250.0f;
constexpr float kOxygenYellow = 400.0f;
constexpr float kBleedFoot = 180.0f;
constexpr float kBleedSpan = 170.0f;
constexpr double kBarScaleHeight = 40.0;
constexpr double kScaleFoot = 382.0;

} // namespace

std::string Mfd::cabinTemperatureText(float celsius) {
    float shown = std::min(celsius, 50.0f);
    if (shown > -0.5f && shown < 0.0f) {
        shown = 0.0f;
    }
    return format("%1.0f", static_cast<double>(shown));
}

Mfd::Reading Mfd::oxygenReading(float psi) {
    const Argb colour = psi < kOxygenRed ? kRed : psi < kOxygenYellow ? kYellow : kGreen;
    const float shown = std::isfinite(psi) ? std::clamp(psi, -1.0e9f, 1.0e9f) : 0.0f;
    return {format("%d", static_cast<int32_t>(shown) / 10 * 10), colour};
}

void Mfd::drawEnvironmentPage(Canvas& canvas) {
    canvas.drawLine(penWhite15b, {200, 306}, {200, 404});
    canvas.drawLine(penWhite15b, {288, 306}, {288, 404});
    drawPageHeading(canvas, "ECS", 108, 24, 192);
    canvas.drawString("CABIN TEMP", font18, kWhite, {24, 340});
    canvas.drawString("CKPT TEMP", font18, kWhite, {24, 370});
    canvas.drawString("\xC2\xB0"
                      "C",
                      font18, kWhite, {170, 340});
    canvas.drawString("\xC2\xB0"
                      "C",
                      font18, kWhite, {170, 370});
    drawPageHeading(canvas, "OXY", 244, 208, 280);
    drawCentred(canvas, "PRESS", font18, kWhite, 244, 320);
    canvas.fillRectangle(kGreen, {241, 342, 6, kBarScaleHeight});
    canvas.fillRectangle(kYellow, {241, 373.35135, 6, 8.648649});
    canvas.fillRectangle(kRed, {241, 376.5946, 6, 5.405405});
    canvas.drawString("PSI", font18, kWhite, {254, 384});
    drawPageHeading(canvas, "BLEED", 336, 296, 376);
    drawCentred(canvas, "TEMP", font18, kWhite, 336, 320);
    canvas.fillRectangle(kGreen, {333, 342, 6, kBarScaleHeight});
    canvas.fillRectangle(kRed, {333, 342, 6, 10.82353});
    canvas.fillRectangle(kWhite, {333, 363.17648, 6, 19.32353});
    if (!pneumatic) {
        return;
    }
    const Pneumatic& air = *pneumatic;
    drawRightAligned(canvas, cabinTemperatureText(air.cabinTemperature), font18, kGreen, 166, 340);
    drawRightAligned(canvas, cabinTemperatureText(air.cockpitTemperature), font18, kGreen, 166,
                     370);
    const Reading oxygen = oxygenReading(air.ecsIndicatorValue);
    const double h = air.ecsIndicatorValue / kOxygenFullScale * kBarScaleHeight;
    canvas.fillPolygon(
        oxygen.colour,
        {{247, kScaleFoot - h}, {253, kScaleFoot - 6 - h}, {253, kScaleFoot + 6 - h}});
    drawRightAligned(canvas, oxygen.text, font18, oxygen.colour, 250, 384);
    const struct {
        float celsius;
        double tipX;
        double depth;
    } bleeds[] = {{air.bleedTemperature1, 333, -6}, {air.bleedTemperature2, 339, 6}};
    for (const auto& bleed : bleeds) {
        const double hb =
            (std::max(bleed.celsius, kBleedFoot) - kBleedFoot) / kBleedSpan * kBarScaleHeight;
        canvas.fillPolygon(kGreen, {{bleed.tipX, kScaleFoot - hb},
                                    {bleed.tipX + bleed.depth, kScaleFoot - 6 - hb},
                                    {bleed.tipX + bleed.depth, kScaleFoot + 6 - hb}});
    }
}

} // namespace tavi
