#include "airframe/Electric.h"
#include "avionics/Ahrs.h"
#include "core/Format.h"
#include "displays/Mfd.h"
#include "displays/ScreenDrawing.h"

#include <algorithm>
#include <cmath>

namespace tavi {

using platform::gfx::Canvas;

namespace {

constexpr float kMaxShownVolts = 40.0f;
constexpr int32_t kMaxShownAmps = 600;
constexpr int32_t kOverloadAmps = 400;
constexpr float kBatteryHot = 70.0f;
constexpr float kApuShownSpeed = 10.0f;

// A value the sensors could not give reads as zero, not as an undefined number.
int32_t truncated(float value, float low, float high) {
    return std::isfinite(value) ? static_cast<int32_t>(std::clamp(value, low, high)) : 0;
}

int32_t shownAmps(float amps) {
    return std::min(truncated(amps, -1.0e6f, 1.0e6f) / 5 * 5, kMaxShownAmps);
}

} // namespace

std::string Mfd::voltsText(float volts) {
    return format("%2.1f", static_cast<double>(std::min(volts, kMaxShownVolts)));
}

std::string Mfd::ampsText(float amps) {
    return format("%d", shownAmps(amps));
}

std::string Mfd::batteryDegreesText(float celsius) {
    return format("%d", truncated(celsius, -40.0f, 150.0f));
}

std::array<Mfd::Reading, 2> Mfd::sourceReadings(float volts, float amps, bool switchOn) {
    const std::string ampsShown = ampsText(amps);
    if (!switchOn) {
        return {{{voltsText(volts), kYellow, kYellow}, {ampsShown, kYellow, kYellow}}};
    }
    if (shownAmps(amps) > kOverloadAmps) {
        return {{{voltsText(volts), kGreen}, {ampsShown, kYellow, kYellow}}};
    }
    return {{{voltsText(volts), kGreen}, {ampsShown, kGreen}}};
}

std::array<Mfd::Reading, 2> Mfd::batteryReadings(float volts, float celsius, bool switchAuto) {
    const bool hot = celsius >= kBatteryHot;
    Reading voltsShown{voltsText(volts), switchAuto ? kGreen : kYellow,
                       switchAuto ? Argb{0} : kYellow};
    Reading degrees{batteryDegreesText(celsius), hot ? kRed : voltsShown.colour,
                    hot ? kRed : voltsShown.box};
    return {{voltsShown, degrees}};
}

void Mfd::drawSourceBox(Canvas& canvas, std::string_view name, double x, float volts, float amps,
                        bool switchOn) {
    canvas.drawString(name, font16, kWhite, {x + (name == "APU" ? 4 : 1), 300});
    canvas.drawRectangle(penWhite15b, {x, 316, 40, 34});
    canvas.drawLine(penWhite15b, {x, 333}, {x + 40, 333});
    const auto readings = sourceReadings(volts, amps, switchOn);
    drawReading(canvas, readings[0], font16, x + 40, 316, {x, 316, 40, 17});
    drawReading(canvas, readings[1], font16, x + 40, 333, {x, 333, 40, 17});
}

void Mfd::drawBattery(Canvas& canvas, std::string_view name, double x, float volts, float celsius,
                      bool switchAuto) {
    canvas.drawRectangle(penWhite15b, {x, 370, 40, 34});
    canvas.drawLine(penWhite15b, {x, 387}, {x + 40, 387});
    const auto readings = batteryReadings(volts, celsius, switchAuto);
    drawReading(canvas, readings[0], font16, x + 40, 370, {x, 370, 40, 17});
    drawReading(canvas, readings[1], font16, x + 40, 387, {x, 387, 40, 17});
    canvas.drawString("V", font16, kWhite, {x + 42, 370});
    canvas.drawString("\xC2\xB0"
                      "C",
                      font16, kWhite, {x + 42, 387});
    canvas.drawString(name, font16, kWhite, {x + 70, 378});
}

void Mfd::drawElectricalPage(Canvas& canvas) {
    if (!electric) {
        return;
    }
    const Electric& e = *electric;
    const auto units = [this, &canvas](double x) {
        canvas.drawString("V", font16, kWhite, {x, 316});
        canvas.drawString("A", font16, kWhite, {x, 333});
    };
    drawSourceBox(canvas, "GEN1", 26, e.generator1.voltage, e.generator1.current,
                  e.generator1.connected);
    canvas.drawLine(penWhite15b, {42, 350}, {42, 376});
    units(68);
    canvas.drawLine(penWhite15b, {28, 376}, {64, 376});
    canvas.drawString("ESS1", font16, kWhite, {27, 378});
    drawSourceBox(canvas, "GEN3", 86, e.generator3.voltage, e.generator3.current,
                  e.generator3.connected);
    canvas.drawLine(penWhite15b, {102, 350}, {102, 370});
    if (e.apu.knob != Electric::Apu::kKnobOff || e.apu.speed >= kApuShownSpeed) {
        drawSourceBox(canvas, "APU", 146, e.apu.voltage, e.apu.current, e.apu.connected);
        canvas.drawLine(penWhite15b, {162, 350}, {162, 360});
        units(188);
    }
    if (ahrs && ahrs->onGround) {
        canvas.drawString("GPU", font16, kWhite, {218, 300});
        canvas.drawRectangle(penWhite15b, {214, 316, 40, 17});
        canvas.drawLine(penWhite15b, {230, 333}, {230, 360});
        canvas.drawString("V", font16, kWhite, {256, 316});
        drawRightAligned(canvas, voltsText(e.gpu.voltage), font16, kGreen, 254, 316);
    }
    drawSourceBox(canvas, "GEN2", 274, e.generator2.voltage, e.generator2.current,
                  e.generator2.connected);
    canvas.drawLine(penWhite15b, {290, 350}, {290, 360});
    units(316);
    drawSourceBox(canvas, "GEN4", 334, e.generator4.voltage, e.generator4.current,
                  e.generator4.connected);
    canvas.drawLine(penWhite15b, {350, 350}, {350, 376});
    canvas.drawLine(penWhite15b, {336, 376}, {372, 376});
    canvas.drawString("ESS2", font16, kWhite, {335, 378});
    drawBattery(canvas, "BATT1", 86, e.battery1.voltage, e.battery1.temperature,
                e.battery1.batterySwitch);
    canvas.drawLine(penWhite15b, {230, 360}, {230, 370});
    drawBattery(canvas, "BATT2", 214, e.battery2.voltage, e.battery2.temperature,
                e.battery2.batterySwitch);
    canvas.drawLine(penWhite15b, {28, 360}, {372, 360});
    const struct {
        int bus;
        double x;
        double y;
        double width;
    } segments[] = {{1, 28, 358, 80},
                    {0, 152, 358, 88},
                    {2, 280, 358, 92},
                    {3, 28, 374, 36},
                    {4, 336, 374, 36}};
    for (const auto& segment : segments) {
        canvas.fillRectangle(e.isPowered(segment.bus) ? kGreen : kYellow,
                             {segment.x, segment.y, segment.width, 4});
    }
}

} // namespace tavi
