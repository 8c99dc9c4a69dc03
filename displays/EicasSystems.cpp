// The systems blocks of the EICAS: gear, flaps, spoilers and trims, cabin pressure and the APU.
#include "airframe/Apu.h"
#include "airframe/Electric.h"
#include "airframe/Mechanisation.h"
#include "airframe/Pressure.h"
#include "avionics/Ahrs.h"
#include "core/Aircraft.h"
#include "core/Format.h"
#include "displays/Eicas.h"
#include "displays/EicasPalette.h"
#include "displays/ScreenDrawing.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tavi {

namespace {

using platform::gfx::PointF;
using platform::gfx::RectF;

constexpr int32_t kGearDown = 16383;
constexpr uint32_t kApuKnobFlashMs = 5000;

// A cabin value cut to a multiple of 50 feet; one the sensors could not give reads 0 rather
// than an undefined conversion.
int32_t cutTo50(double value) {
    return std::isfinite(value) ? static_cast<int32_t>(std::clamp(value, -1e6, 1e6)) / 50 * 50 : 0;
}

} // namespace

Eicas::Reading Eicas::flapsReading(float flapsAngle) {
    if (flapsAngle == 0.0f) {
        return {"0", kWhite};
    }
    for (const float detent : {9.0f, 18.0f, 22.0f, 45.0f}) {
        if (flapsAngle == detent) {
            return {format("%d", static_cast<int>(detent)), kGreen};
        }
    }
    return {"--", kGreen};
}

Eicas::Reading Eicas::gearReading(int32_t legPosition) {
    if (legPosition == kGearDown) {
        return {"DN", kGreen, kGreen};
    }
    if (legPosition == 0) {
        return {"UP", kWhite, kLines};
    }
    return {"UP", kYellow, kYellow};
}

Eicas::Reading Eicas::pitchTrimReading(float trim, bool onGround) {
    if (!std::isfinite(trim)) {
        return {"- -", kYellow};
    }
    const float shown = trim > -0.5f && trim < 0.0f ? 0.0f : trim;
    const std::string text = format("%1.0f", shown);
    if (onGround && (trim < 3.5f || trim >= 8.5f)) {
        return {text, kYellow, kYellow};
    }
    return {text, kGreen, kLines};
}

float Eicas::pitchTrimY(float trim) {
    return trim >= 0.0f ? 433.0f - 3.2f * trim : 433.0f - 8.0f * trim;
}

Eicas::Reading Eicas::cabinAltitudeReading(double feet) {
    const int32_t altitude = cutTo50(feet);
    const platform::gfx::Argb colour = altitude < 8401 ? kGreen : altitude <= 9900 ? kYellow : kRed;
    return {format("%d", altitude), colour};
}

Eicas::Reading Eicas::differentialPressureReading(double psi) {
    float d = static_cast<float>(psi);
    if (d > -0.05f && d < 0.0f) {
        d = 0.0f;
    }
    const platform::gfx::Argb colour = d >= 8.35f                  ? kRed
                                       : d >= 7.95f || d <= -0.05f ? kYellow
                                                                   : kGreen;
    return {format("%2.1f", d), colour};
}

Eicas::Reading Eicas::cabinRateReading(double feetPerMinute) {
    return {format("%d", cutTo50(feetPerMinute)), kGreen};
}

Eicas::Reading Eicas::apuTemperatureReading(float egt) {
    const std::string text = format("%1.0f", egt);
    if (egt >= 716.5f) {
        return {text, kRed, kRed};
    }
    if (egt >= 681.0f) {
        return {text, kYellow, kYellow};
    }
    return {text, kGreen};
}

Eicas::Reading Eicas::apuSpeedReading(float speedPercent) {
    const std::string text = format("%1.0f", speedPercent);
    if (speedPercent < 0.0f || (speedPercent >= 95.5f && speedPercent < 104.5f)) {
        return {text, kGreen};
    }
    if (speedPercent >= 109.5f) {
        return {text, kRed, kRed};
    }
    return {text, kYellow, kYellow};
}

void Eicas::drawGearAndTrims(platform::gfx::Canvas& canvas) const {
    if (!mechanisation) {
        return;
    }
    if (mechanisation->spoilerPosition > 1.0f) {
        canvas.drawString("OPN", font18, kGreen, {325, 345});
    } else {
        canvas.drawString("CLD", font18, kWhite, {326, 345});
    }
    const Reading flaps = flapsReading(mechanisation->flapAngle);
    if (flaps.text.size() == 2) {
        canvas.drawString(flaps.text.substr(0, 1), font18, flaps.colour, {336, 313});
    }
    canvas.drawString(flaps.text.substr(flaps.text.size() - 1), font18, flaps.colour, {348, 313});

    const auto powered = [this](int bus) {
        return electric && electric->isPowered(bus);
    };
    const bool mainsLost = !powered(1) && !powered(2) && !powered(3) && !powered(4);
    const bool noseLost = !powered(3) && !powered(4);
    // Left, nose and right boxes, with the leg each shows and whether its sensors have power.
    const std::array<std::tuple<double, std::size_t, bool>, 3> boxes = {
        {{264, 1, mainsLost}, {300, 0, noseLost}, {336, 2, mainsLost}}};
    for (const auto& [x, leg, lost] : boxes) {
        const RectF box{x, 278, 27, 22};
        if (lost) {
            canvas.drawRectangle(eicas::kYellow2, box);
            canvas.drawLine(eicas::kYellow2, {x + 10, 289}, {x + 17, 289});
            continue;
        }
        const Reading gear = gearReading(mechanisation->gearPositions[leg]);
        canvas.drawRectangle({gear.box, gear.box == kLines ? 1.5 : 2.0}, box);
        canvas.drawString(gear.text, font18, gear.colour, {x, 279});
    }
    drawTrims(canvas);
}

void Eicas::drawTrims(platform::gfx::Canvas& canvas) const {
    const float trim = mechanisation->pitchTrimIndication;
    const Reading pitch = pitchTrimReading(trim, ahrs && ahrs->onGround);
    canvas.drawRectangle({pitch.box, pitch.box == kLines ? 1.5 : 2.0}, {333, 422, 30, 20});
    canvas.fillRectangle(kGreen, {315, 405.8, 6, 16});
    if (trim != 0.0f) {
        canvas.drawString(trim > 0.0f ? "UP" : "DN", font18, pitch.colour, {335, 402});
    }
    // A trim that is not a number has no pointer, as its readout has no digits.
    if (std::isfinite(trim)) {
        const double y = pitchTrimY(trim);
        canvas.fillPolygon(pitch.colour, {{321, y}, {327, y + 6}, {327, y - 6}});
    }
    drawRightAligned(canvas, pitch.text, font18, pitch.colour, 362, 422);

    if (std::isfinite(mechanisation->rudderTrimAngle)) {
        const double x = 253.0 + 3.5 * mechanisation->rudderTrimAngle;
        canvas.fillPolygon(kGreen, {{x, 458}, {x - 6, 452}, {x + 6, 452}});
    }
    if (std::isfinite(mechanisation->aileronTrimAngle)) {
        canvas.fillPolygon(kGreen,
                           rotatedAbout({{253, 409}, {247, 415}, {259, 415}}, PointF{253, 446},
                                        5.0 * mechanisation->aileronTrimAngle));
    }
}

void Eicas::drawCabinAndApu(platform::gfx::Canvas& canvas) const {
    if (pressure) {
        const Reading altitude = cabinAltitudeReading(pressure->cabinAltitude);
        drawRightAligned(canvas, altitude.text, font18, altitude.colour, 160, 382);
        const Reading difference = differentialPressureReading(pressure->differentialPressure);
        drawRightAligned(canvas, difference.text, font18, difference.colour, 160, 402);
        const Reading rate = cabinRateReading(pressure->cabinRate);
        drawRightAligned(canvas, rate.text, font18, rate.colour, 160, 422);
    }
    if (electric) {
        drawApu(canvas);
    }
}

void Eicas::drawApu(platform::gfx::Canvas& canvas) const {
    const electric::Apu& apu = electric->apu;
    if (apu.knob == electric::Apu::kKnobOff && apu.speed < 10.0f) {
        drawRightAligned(canvas, "OFF", font18, kGreen, 160, 446);
        return;
    }
    canvas.drawString("\xC2\xB0"
                      "C",
                      font18, kWhite, {162, 446});
    const Reading temperature = apuTemperatureReading(apu.egt);
    drawBox(canvas, temperature.box, {128, 447, 32, 18});
    drawRightAligned(canvas, temperature.text, font18, temperature.colour, 160, 446);
    canvas.drawString("%", font18, kWhite, {102, 446});
    const Reading speed = apuSpeedReading(apu.speed);
    drawRightAligned(canvas, speed.text, font18, speed.colour, 100, 446);
    const uint32_t sinceKnob = aircraft->simTimeMs - apu.knobChangedTime;
    const bool flashing = apu.knob == electric::Apu::kKnobOn && sinceKnob < kApuKnobFlashMs;
    if (!flashing || sinceKnob % 1000 < 500) {
        drawBox(canvas, speed.box, {68, 447, 32, 18});
    }
}

} // namespace tavi
