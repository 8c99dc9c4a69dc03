// The five instruments of the standby instrument: attitude, baro setting, airspeed, altitude
// with its rolling drums, and heading.
#include "avionics/Adc.h"
#include "avionics/Ahrs.h"
#include "avionics/Baro.h"
#include "core/Format.h"
#include "displays/Isi.h"
#include "displays/ScreenDrawing.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <vector>

namespace tavi {

namespace {

using platform::gfx::Argb;
using platform::gfx::PointF;
using platform::gfx::RectF;

constexpr Argb kLines = 0xFFF5F5F5;
const platform::gfx::Pen kWhite2{kLines, 2.0};
const platform::gfx::Pen kWhite15{kLines, 1.5};
const platform::gfx::Pen kWhite1{kLines, 1.0};
const platform::gfx::Pen kYellow15{Isi::kYellow, 1.5};
const platform::gfx::Pen kYellow1{Isi::kYellow, 1.0};
const platform::gfx::Pen kRed3{Isi::kRed, 3.0};
constexpr Argb kSkyFore = 0xFF005096;
constexpr Argb kSkyBack = 0xFF005DA5;
constexpr Argb kGroundFore = 0xFF543900;
constexpr Argb kGroundBack = 0xFF683C00;
const PointF kAttitudeCentre{104, 100};

// Open chevrons pointing at the horizon from far up and far down the sphere.
constexpr std::array<std::pair<double, double>, 5> kChevrons = {
    {{-182, -158}, {-250, -226}, {148, 124}, {199, 175}, {250, 226}}};

const std::vector<PointF> kAltitudeWindowShape = {{34, -14}, {10, -14}, {10, -10}, {-24, -10},
                                                  {-24, 10}, {10, 10},  {10, 14},  {34, 14}};

} // namespace

// Each instrument also shows its flag for a value its source could not give, rather than a
// picture made from it.
bool Isi::attitudeFlagged() const {
    return ahrs->unit1.attitudeSide1.invalid || isAligning() || !std::isfinite(pitch()) ||
           !std::isfinite(bank());
}

float Isi::pitch() const {
    return ahrs->unit2.pitch;
}

float Isi::bank() const {
    return ahrs->unit2.bank;
}

void Isi::drawFlag(platform::gfx::Canvas& canvas, const RectF& box, const std::string& text,
                   PointF at) const {
    canvas.fillRectangle(kYellow, box);
    canvas.drawString(text, font18, kBlack, at);
}

void Isi::sphereTransform(platform::gfx::Canvas& canvas) const {
    canvas.resetTransform();
    canvas.translate(kAttitudeCentre.x, kAttitudeCentre.y);
    canvas.rotate(bank());
    canvas.translate(0, -pitchScale * 0.1f * pitch());
}

void Isi::drawAttitude(platform::gfx::Canvas& canvas) const {
    canvas.resetTransform();
    canvas.resetClip();
    canvas.translate(kAttitudeCentre.x, kAttitudeCentre.y);
    canvas.clipRectangle({-69, -69, 138, 138});
    if (attitudeFlagged()) {
        canvas.fillRectangle(kYellow, {-20, -55, 40, 20});
        drawCentred(canvas, "ATT", font18, kBlack, 0, -55);
        if (isAligning()) {
            canvas.fillRectangle(kYellow, {-35, 50, 70, 20});
            drawCentred(canvas, alignmentText(), font18, kBlack, 0, 50);
        }
        canvas.resetClip();
        return;
    }
    drawSphere(canvas);
    drawRollScale(canvas);
}

void Isi::drawSphere(platform::gfx::Canvas& canvas) const {
    sphereTransform(canvas);
    canvas.fillRectangleHatched(kSkyFore, kSkyBack, {-100, -400, 200, 400});
    canvas.fillRectangleHatched(kGroundFore, kGroundBack, {-100, 0, 200, 400});
    for (const auto& [a, b] : kChevrons) {
        drawPolyline(canvas, kRed3, {{-25, a}, {0, b}, {25, a}});
    }
    canvas.drawLine(kWhite2, {-100, 0}, {100, 0});

    canvas.resetClip();
    canvas.resetTransform();
    canvas.translate(kAttitudeCentre.x, kAttitudeCentre.y);
    canvas.clipRectangle({-69, -50, 138, 118});
    sphereTransform(canvas);
    for (const Line& line : ladderLines) {
        canvas.drawLine(kWhite15, line.from, line.to);
    }
    const double halfHeight = canvas.measureString("0", font16).height / 2.0;
    for (const Label& number : ladderNumbers) {
        canvas.drawString(number.text, font16, kWhite, {number.at.x, number.at.y - halfHeight});
    }
    canvas.resetClip();
}

void Isi::drawRollScale(platform::gfx::Canvas& canvas) const {
    canvas.resetTransform();
    canvas.translate(kAttitudeCentre.x, kAttitudeCentre.y);
    canvas.drawArc(kWhite15, {-62, -62, 124, 124}, -120, 60);
    const std::vector<PointF> index = {{-4, -68}, {4, -68}, {0, -63}};
    canvas.drawPolygon(kYellow1, index);
    canvas.fillPolygon(kYellow, index);
    for (const double t : {-60.0, -45.0, -30.0, -20.0, -10.0, 10.0, 20.0, 30.0, 45.0, 60.0}) {
        const double angle = t * std::numbers::pi / 180.0;
        canvas.drawLine(kWhite15, {62 * std::sin(angle), -62 * std::cos(angle)},
                        {68 * std::sin(angle), -68 * std::cos(angle)});
    }
    canvas.rotate(bank());
    const std::vector<PointF> pointer = {{0, -60}, {-4, -55}, {4, -55}};
    canvas.fillPolygon(kBlack, pointer);
    canvas.drawPolygon(kWhite1, pointer);
    const double k = 8.0 * std::clamp(skidValue, -64.0f, 64.0f) / 64.0;
    const std::vector<PointF> skid = {{k - 4, -55}, {k + 4, -55}, {k + 7, -51.5}, {k - 7, -51.5}};
    canvas.fillPolygon(kBlack, skid);
    canvas.drawPolygon(kWhite1, skid);

    canvas.resetClip();
    canvas.resetTransform();
    canvas.translate(kAttitudeCentre.x, kAttitudeCentre.y);
    for (const double side : {-1.0, 1.0}) {
        const std::vector<PointF> wing = {{side * 40, -2.5}, {side * 18, -2.5}, {side * 18, 8},
                                          {side * 23, 8},    {side * 23, 2.5},  {side * 40, 2.5}};
        canvas.fillPolygon(kBlack, wing);
        canvas.drawPolygon(kYellow15, wing);
    }
    canvas.fillRectangle(kBlack, {-3, -3, 6, 6});
    canvas.drawRectangle(kYellow15, {-3, -3, 6, 6});
}

void Isi::drawBaroSetting(platform::gfx::Canvas& canvas) const {
    canvas.resetTransform();
    canvas.resetClip();
    if (isAligning()) {
        return;
    }
    if (baroInInches) {
        canvas.drawString(format("%-4.2f", baro->standbySettingInHg), font16, kCyan, {140, 8});
        canvas.drawString("IN", font16, kWhite, {180, 8});
    } else {
        canvas.drawString(format("%-4d", static_cast<int>(baro->standbySettingHpa)), font16, kCyan,
                          {136, 8});
        canvas.drawString("HPA", font16, kWhite, {170, 8});
    }
}

std::string Isi::machText(float mach) {
    return format("%3.2f", std::isfinite(mach) ? std::clamp(mach, 0.0f, 0.99f) : 0.0f).substr(1);
}

void Isi::drawAirspeed(platform::gfx::Canvas& canvas) const {
    const bool flagged = adc->validity[kAirspeedGroup][0].invalid || isAligning() ||
                         !std::isfinite(adc->smoothedAirspeed) ||
                         !std::isfinite(adc->maxOperatingSpeed);
    const Argb textColour = adc->isOverspeed1() ? kRed : kWhite;
    canvas.resetTransform();
    canvas.resetClip();
    canvas.translate(35, 100);
    canvas.clipRectangle({-35, -69, 35, 138});
    if (!flagged) {
        const float v = std::max(adc->smoothedAirspeed, 40.0f);
        const auto y = [v](double speed) {
            return 1.5 * (v - speed);
        };
        canvas.fillRectangle(kRed, {-4, y(520), 4, 1.5 * (520.0 - adc->maxOperatingSpeed)});
        for (int s = 40; s < 540; s += 20) {
            const double at = y(s);
            if (at + 40 < -69) {
                break;
            }
            if (at - 40 > 69) {
                continue;
            }
            canvas.drawLine(kWhite2, {-8, at}, {0, at});
            if (s < 260) {
                for (const double tick : {7.5, 15.0, 22.5}) {
                    canvas.drawLine(kWhite2, {-4, at - tick}, {0, at - tick});
                }
            }
            const std::string label = format("%d", s);
            canvas.drawString(label, font16, adc->maxOperatingSpeed >= s ? kWhite : kRed,
                              {-5 - canvas.measureString(label, font16).width, at - 9});
        }
    }
    canvas.resetClip();
    canvas.fillRectangle(kBlack, {0, -8, 12, 16});
    canvas.fillPolygon(kYellow, {{0, 0}, {9, -7}, {12, -7}, {12, 7}, {9, 7}});
    canvas.resetTransform();
    if (!flagged && machShown) {
        canvas.drawString(machText(adc->mach), font16, textColour, {14, 176});
    }
    if (flagged) {
        drawFlag(canvas, {10, 92, 40, 20}, "IAS", {16, 92});
    }
}

Isi::Drums Isi::altitudeDrums(float feet) {
    const auto a = static_cast<int32_t>(std::fabs(feet));
    Drums drums;
    drums.tenThousands = a / 10000;
    drums.thousands = a / 1000 % 10;
    drums.hundreds = a / 100 % 10;
    drums.rest = a % 100;
    drums.hundredsRoll = drums.rest > 80 ? static_cast<float>(drums.rest - 80) * 0.05f : 0.0f;
    drums.thousandsRoll = drums.hundreds == 9 ? drums.hundredsRoll : 0.0f;
    drums.tenThousandsRoll =
        drums.thousands == 9 && drums.hundreds == 9 ? drums.hundredsRoll : 0.0f;
    return drums;
}

void Isi::drawAltitude(platform::gfx::Canvas& canvas) const {
    canvas.resetTransform();
    canvas.resetClip();
    if (adc->validity[kAltitudeGroup][0].invalid || isAligning() ||
        !std::isfinite(baro->standbySettingAltitude)) {
        drawFlag(canvas, {162, 92, 40, 20}, "ALT", {166, 92});
        return;
    }
    const float feet = std::clamp(baro->standbySettingAltitude, -2000.0f, 50000.0f);
    drawAltitudeTape(canvas, feet);
    drawDrums(canvas, feet);
}

void Isi::drawAltitudeTape(platform::gfx::Canvas& canvas, float feet) const {
    canvas.translate(173, 100);
    canvas.clipRectangle({-10, -69, 130, 138});
    for (int thousand = -2000; thousand < 50000; thousand += 1000) {
        const double y = 0.1 * (feet - static_cast<float>(thousand));
        if (y + 200 < -69) {
            break;
        }
        if (y - 200 > 69) {
            continue;
        }
        for (int k = 0; k <= 10; ++k) {
            const double length = k == 0 || k == 5 || k == 10 ? 4 : 8;
            canvas.drawLine(kWhite2, {0, y - 10 * k}, {length, y - 10 * k});
        }
        canvas.drawString(format("%03d", std::abs(thousand) / 100), font16, kWhite, {5, y - 9});
        canvas.drawString(format("%03d", std::abs(thousand + 500) / 100), font16, kWhite,
                          {5, y - 59});
    }
    canvas.resetClip();
}

void Isi::drawDrums(platform::gfx::Canvas& canvas, float feet) const {
    canvas.resetTransform();
    canvas.translate(173, 100);
    canvas.fillPolygon(kBlack, kAltitudeWindowShape);
    canvas.clipPolygon(kAltitudeWindowShape);
    const Drums drums = altitudeDrums(feet);
    const float magnitude = std::fabs(feet);
    const struct {
        double x;
        int32_t digit;
        float roll;
        bool shown;
    } wheels[] = {{-24, drums.tenThousands, drums.tenThousandsRoll, magnitude >= 10000.0f},
                  {-14, drums.thousands, drums.thousandsRoll, magnitude >= 1000.0f},
                  {-4, drums.hundreds, drums.hundredsRoll, true}};
    for (const auto& wheel : wheels) {
        if (!wheel.shown) {
            continue;
        }
        const double offset = 20.0 * (wheel.digit + wheel.roll);
        for (int k = -2; k <= 11; ++k) {
            const double y = offset - 20.0 * k;
            if (y >= -26) {
                canvas.drawString(format("%d", (k + 10) % 10), font18, kWhite, {wheel.x, y - 11});
            }
        }
    }
    const double r = drums.rest;
    const double q = 16.0 * (r + std::fmod(r, 20.0) / 20.0) / 20.0;
    for (int j = 0; j <= 8; ++j) {
        const int t = -40 + 20 * j;
        const double y = q + 32 - 16 * j;
        if (y >= -36) {
            canvas.drawString(format("%02d", (t + 100) % 100), font16, kWhite, {12, y - 9});
        }
    }
    canvas.resetClip();
    drawPolyline(canvas, kYellow15, kAltitudeWindowShape);
    if (feet < 0.0f) {
        canvas.drawString("N", font16, kWhite, {-14, 12});
        canvas.drawString("E", font16, kWhite, {-14, 28});
        canvas.drawString("G", font16, kWhite, {-14, 44});
    }
}

std::string Isi::headingLabel(int32_t degrees) {
    int32_t heading = ((degrees % 360) + 360) % 360;
    if (heading == 0) {
        heading = 360;
    }
    return format("%d", heading / 10);
}

void Isi::drawHeading(platform::gfx::Canvas& canvas) const {
    canvas.resetTransform();
    canvas.resetClip();
    if (ahrs->unit1.headingSide1.invalid || isAligning() || !std::isfinite(ahrs->unit1.heading)) {
        return;
    }
    canvas.translate(104, 189);
    canvas.clipRectangle({-55, -20, 110, 20});
    for (int w = -60; w < 420; w += 20) {
        const double x = 1.8 * (w - ahrs->unit1.heading);
        if (x + 100 < -55) {
            continue;
        }
        if (x - 100 > 55) {
            break;
        }
        canvas.drawLine(kWhite2, {x, 0}, {x, -4});
        canvas.drawLine(kWhite2, {x + 9, 0}, {x + 9, -6});
        canvas.drawLine(kWhite2, {x + 18, 0}, {x + 18, -8});
        canvas.drawLine(kWhite2, {x + 27, 0}, {x + 27, -6});
        drawCentred(canvas, headingLabel(w), font16, kWhite, x, -20);
    }
    canvas.resetClip();
    drawPolyline(canvas, kWhite15, {{-55, -20}, {-55, 0}, {55, 0}, {55, -20}});
    canvas.fillPolygon(kYellow, {{0, -2}, {-7, 7}, {-7, 10}, {7, 10}, {7, 7}});
}

} // namespace tavi
