#include "airframe/FuelSystem.h"
#include "core/Format.h"
#include "core/Units.h"
#include "displays/Mfd.h"
#include "displays/ScreenDrawing.h"

#include <algorithm>
#include <cmath>

namespace tavi {

using platform::gfx::Canvas;

namespace {

constexpr float kFullTankLb = 5570.0f;
constexpr double kTankScaleHeight = 60.0;
constexpr float kMaxShownQuantity = 15000.0f;
constexpr float kColdFuel = -40.0f;

// The limits of the MFD in the unit shown: amber, red.
struct FuelLimits {
    float amber;
    float red;
};

double scaleHeight(float pounds) {
    return kTankScaleHeight * pounds / kFullTankLb;
}

} // namespace

std::string Mfd::fuelQuantityText(float quantity) {
    // A value the tanks' sensors could not give is no quantity at all.
    const float shown = std::isfinite(quantity) ? std::clamp(quantity, -1.0e9f, 1.0e9f) : 0.0f;
    return format("%d", static_cast<int32_t>(shown) / 10 * 10);
}

Mfd::Argb Mfd::fuelLevelColour(float quantity, float amberLimit, float redLimit) {
    if (quantity < redLimit) {
        return kRed;
    }
    return quantity <= amberLimit ? kYellow : kGreen;
}

Mfd::Reading Mfd::fuelTemperatureReading(float celsius) {
    if (!std::isfinite(celsius)) {
        return {kNoValue, kYellow};
    }
    const std::string text =
        celsius > -0.5f && celsius < 0.5f ? "0" : format("%1.0f", static_cast<double>(celsius));
    if (celsius > kColdFuel) {
        return {text, kGreen};
    }
    return {text, kYellow, kYellow};
}

void Mfd::drawFuelPage(Canvas& canvas) {
    drawPageHeading(canvas, "FUEL", 200, 24, 376);
    if (!fuelSystem) {
        return;
    }
    const FuelSystem& fuel = *fuelSystem;
    const auto& limits = fuel.displayLimits[1];
    const FuelLimits shownLimits =
        fuelUseKg ? FuelLimits{limits[2], limits[3]} : FuelLimits{limits[0], limits[1]};
    const float factor = fuelUseKg ? kKilogramsPerPound : 1.0f;
    const char* unit = fuelUseKg ? "KG" : "LB";
    const double amber = scaleHeight(limits[0]);
    const double red = scaleHeight(limits[1]);
    for (const double x : {40.0, 354.0}) {
        canvas.fillRectangle(kGreen, {x, 340, 6, 50.52065});
        canvas.fillRectangle(kYellow, {x, 400 - amber, 6, amber});
        canvas.fillRectangle(kRed, {x, 400 - red, 6, red + 0.1});
    }
    drawPolyline(canvas, penWhite15b, {{46, 340}, {116, 340}, {116, 400}, {46, 400}});
    drawPolyline(canvas, penWhite15b, {{354, 340}, {284, 340}, {284, 400}, {354, 400}});
    drawCentred(canvas, "TANK 1", font18, kWhite, 78, 316);
    drawCentred(canvas, "TANK 2", font18, kWhite, 322, 316);
    canvas.drawString(unit, font18, kWhite, {90, 344});
    canvas.drawString(unit, font18, kWhite, {328, 344});

    const struct {
        float pounds;
        double boxX;
        double valueRight;
        double scaleX;
        double depth;
        const std::array<bool, 3>& pumps;
        std::array<double, 3> letterX;
        double offX;
    } tanks[] = {{fuel.leftFuel, 50, 90, 40, -6, fuel.pumpRunning1, {56, 72, 88}, 62},
                 {fuel.rightFuel, 288, 328, 360, 6, fuel.pumpRunning2, {294, 310, 326}, 300}};
    for (const auto& tank : tanks) {
        const float shown = tank.pounds * factor;
        const Argb colour = fuelLevelColour(shown, shownLimits.amber, shownLimits.red);
        if (colour != kGreen) {
            canvas.drawRectangle({colour, 2.0}, {tank.boxX, 345, 38, 19});
        }
        drawRightAligned(canvas, fuelQuantityText(shown), font18, colour, tank.valueRight, 344);
        const double p = std::min(scaleHeight(tank.pounds), kTankScaleHeight);
        const double y = 400 - p;
        if (std::isfinite(y)) {
            canvas.fillPolygon(colour, {{tank.scaleX, y},
                                        {tank.scaleX + tank.depth, y - 6},
                                        {tank.scaleX + tank.depth, y + 6}});
        }
        bool anyPump = false;
        for (std::size_t i = 0; i < 3; ++i) {
            if (tank.pumps[i]) {
                canvas.drawString(std::string(1, static_cast<char>('A' + i)), font18, kGreen,
                                  {tank.letterX[i], 380});
                anyPump = true;
            }
        }
        if (!anyPump) {
            canvas.drawString("OFF", font18, kGreen, {tank.offX, 380});
        }
    }
    drawCentred(canvas, "PUMP", font18, kWhite, 81, 364);
    drawCentred(canvas, "PUMP", font18, kWhite, 319, 364);
    drawFuelTotals(canvas);
}

void Mfd::drawFuelTotals(Canvas& canvas) {
    const FuelSystem& fuel = *fuelSystem;
    const auto& limits = fuel.displayLimits[1];
    const float factor = fuelUseKg ? kKilogramsPerPound : 1.0f;
    const char* unit = fuelUseKg ? "KG" : "LB";
    canvas.drawString("TOTAL", font18, kWhite, {130, 344});
    canvas.drawString("USED", font18, kWhite, {130, 364});
    canvas.drawString("TEMP", font18, kWhite, {130, 384});
    canvas.drawString("\xC2\xB0"
                      "C",
                      font18, kWhite, {238, 384});
    canvas.drawString(unit, font18, kWhite, {244, 344});
    canvas.drawString(unit, font18, kWhite, {244, 364});

    const float lower = std::min(fuel.leftFuel, fuel.rightFuel) * factor;
    const Argb totalColour = fuelUseKg ? fuelLevelColour(lower, limits[2], limits[3])
                                       : fuelLevelColour(lower, limits[0], limits[1]);
    const float total = std::min((fuel.leftFuel + fuel.rightFuel) * factor, kMaxShownQuantity);
    drawReading(canvas,
                {fuelQuantityText(total), totalColour, totalColour == kGreen ? 0 : totalColour},
                font18, 240, 344, {190, 345, 50, 19});
    const float used =
        std::min((side == 1 ? fuel.fuelUsed1 : fuel.fuelUsed2) * factor, kMaxShownQuantity);
    drawRightAligned(canvas, fuelQuantityText(used), font18, kGreen, 240, 364);
    drawReading(canvas, fuelTemperatureReading(fuel.fuelTemperature), font18, 230, 384,
                {200, 385, 30, 19});
}

} // namespace tavi
