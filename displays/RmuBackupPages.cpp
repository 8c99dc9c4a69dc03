// The engine and navigation backup pages of the radio management unit.
#include "airframe/Fadec.h"
#include "airframe/JetEngine.h"
#include "airframe/Mechanisation.h"
#include "avionics/Ahrs.h"
#include "avionics/Radio.h"
#include "core/Aircraft.h"
#include "core/Format.h"
#include "displays/Rmu.h"
#include "displays/RmuDrawing.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tavi {

using platform::gfx::Argb;
using platform::gfx::Canvas;
using platform::gfx::PointF;

namespace {

constexpr PointF kCompassCentre{90, 166};
constexpr double kArcStart = 222.0;
constexpr double kArcEnd = 318.0;

// The aircraft symbol about its centre, and the four deviation dots either side of it.
const std::vector<PointF> kAircraftSymbol = {{0, -9}, {2, -3}, {7, 1},  {7, 3},  {2, 1},
                                             {2, 5},  {3, 5},  {3, 7},  {-3, 7}, {-3, 5},
                                             {-2, 5}, {-2, 1}, {-7, 3}, {-7, 1}, {-2, -3}};
constexpr double kDeviationDotX[] = {-27, -15, 9, 21};

std::string_view sixCharacters(std::string_view text) {
    return text.substr(0, std::min<std::size_t>(6, text.size()));
}

// A reading that is no number shows as 0, never as "nan" or as a needle thrown off the scale.
float finiteOr0(float value) {
    return std::isfinite(value) ? value : 0.0f;
}

// Degrees reduced into 0..360.
double reduced(double degrees) {
    const double r = std::fmod(degrees, 360.0);
    return r < 0.0 ? r + 360.0 : r;
}

bool onArc(double angle) {
    return angle >= kArcStart && angle <= kArcEnd;
}

PointF polar(double radius, double degrees) {
    const double radians = degrees * std::numbers::pi / 180.0;
    return {radius * std::cos(radians), radius * std::sin(radians)};
}

// A relative bearing stands on the compass arc ahead or its tail behind; otherwise an arrow in
// the upper corner on its side points to it.
bool bearingOnArc(double relative) {
    return relative >= 312.0 || relative <= 48.0 || (relative >= 132.0 && relative <= 228.0);
}

void drawDeviationDots(Canvas& canvas) {
    for (double x : kDeviationDotX) {
        canvas.drawEllipse(rmu::kWhitePen, {x, -3, 6, 6});
    }
}

void drawRedFlag(Canvas& canvas) {
    canvas.drawLine(rmu::kRedPen, {-24, -7}, {24, 7});
    canvas.drawLine(rmu::kRedPen, {-24, 7}, {24, -7});
}

// The corner arrow of a bearing off the arc: upper right for 48..132 degrees, upper left for
// 228..312 degrees.
void placeCornerArrow(Canvas& canvas, double relative, double rightX, double leftX) {
    canvas.resetTransform();
    if (relative > 48.0 && relative < 132.0) {
        canvas.translate(rightX, 55);
        canvas.rotate(-45);
    } else {
        canvas.translate(leftX, 55);
        canvas.rotate(45);
    }
}

} // namespace

// The engine backup page.

Argb Rmu::oilPressureColour(float pressure, float n2) {
    if (pressure < 34.0f || pressure >= 155.0f) {
        return rmu::kRed;
    }
    if (pressure < 50.0f) {
        return n2 >= 88.0f ? rmu::kAmber : rmu::kGreen;
    }
    return pressure < 95.0f ? rmu::kGreen : rmu::kAmber;
}

Argb Rmu::oilTemperatureColour(float temperature) {
    if (temperature < 21.0f) {
        return rmu::kAmber;
    }
    return temperature <= 126.0f ? rmu::kGreen : rmu::kRed;
}

int32_t Rmu::roundedFuelFlow(float poundsPerHour, bool kilograms) {
    const float tenths = kilograms ? poundsPerHour * 0.453592f * 0.1f : poundsPerHour * 0.1f;
    return rmu::truncated(std::floor(tenths + 0.5f)) * 10;
}

void Rmu::drawEngineBackupPage(Canvas& canvas) {
    if (const Fadec* fadec = aircraft->fadec()) {
        const std::string rating = fadec->thrustRatingText();
        drawText(canvas, rating, font14, rmu::kCyan, 31, 10);
        drawRightAligned(canvas, rating, font14, rmu::kCyan, 151, 10);
    }
    for (double x : {18.0, 152.0}) {
        canvas.fillRectangle(rmu::kWhite, {x, 10, 10, 60});
        canvas.fillRectangle(rmu::kRed, {x, 10, 10, 10});
    }
    drawCentred(canvas, "N1", font14, rmu::kWhite, 0, kWidth, 32);
    const std::array<const JetEngine*, 2> engines = {engine1, engine2};
    // One engine value: engine 1 from its start, engine 2 ending at its right edge.
    const auto value = [&](std::size_t engine, const std::string& text, double start, double right,
                           double pitch, double y, Argb colour) {
        if (engine == 0) {
            drawPitched(canvas, text, font14, colour, start, pitch, y, '.', 2);
        } else {
            drawPitchedRight(canvas, text, font14, colour, right, pitch, y, '.', 2);
        }
    };
    for (std::size_t i = 0; i < engines.size(); ++i) {
        if (engines[i]) {
            const float n1 = std::min(finiteOr0(engines[i]->n1Percent), 120.0f);
            value(i, format("%3.1f", n1), 32, 146, 7, 32, n1 >= 100.0f ? rmu::kRed : rmu::kGreen);
        }
    }
    canvas.clipRectangle({0, 10, 180, 61});
    for (std::size_t i = 0; i < engines.size(); ++i) {
        if (engines[i]) {
            const float n1 = finiteOr0(engines[i]->n1Percent);
            const double y = 70.0 - (n1 <= 100.0f ? n1 / 2.0 : std::min(n1, 110.0f) - 50.0);
            if (i == 0) {
                canvas.fillPolygon(rmu::kCyan, {{19, y}, {8, y - 5}, {8, y + 5}});
            } else {
                canvas.fillPolygon(rmu::kCyan, {{161, y}, {172, y - 5}, {172, y + 5}});
            }
        }
    }
    canvas.resetClip();
    drawCentred(canvas, "ITT", font14, rmu::kWhite, 0, kWidth, 80);
    drawCentred(canvas, "N2", font14, rmu::kWhite, 0, kWidth, 100);
    drawCentred(canvas, fuelUseKg ? "FF  KPH" : "FF  PPH", font14, rmu::kWhite, 0, kWidth, 120);
    drawCentred(canvas, "OIL  P", font14, rmu::kWhite, 0, kWidth, 146);
    drawCentred(canvas, "OIL  T", font14, rmu::kWhite, 0, kWidth, 164);
    for (std::size_t i = 0; i < engines.size(); ++i) {
        const JetEngine* engine = engines[i];
        if (!engine) {
            continue;
        }
        value(i, format("%d", rmu::truncated(engine->itt)), 16, 162, 8, 80, rmu::kGreen);
        const float n2 = std::min(finiteOr0(engine->n2Percent), 120.0f);
        value(i, format("%2.1f", n2), 16, 162, 8, 100, n2 >= 102.5f ? rmu::kRed : rmu::kGreen);
        value(i, format("%d", roundedFuelFlow(finiteOr0(engine->fuelFlow), fuelUseKg)), 16, 162, 8,
              120, rmu::kGreen);
        const float pressure = std::min(finiteOr0(engine->oilPressure), 200.0f);
        value(i, format("%d", rmu::truncated(pressure)), 16, 162, 8, 146,
              oilPressureColour(pressure, n2));
        const float temperature = std::min(finiteOr0(engine->oilTemperature), 150.0f);
        value(i, format("%d", rmu::truncated(temperature)), 16, 162, 8, 164,
              oilTemperatureColour(temperature));
    }
    drawText(canvas, "MORE", font14, rmu::kGreen, 4, 184);
    if (mechanisation && rmu::gearDownAndLocked(mechanisation->gearPositions)) {
        drawCentred(canvas, "1  MSG", font14, rmu::kWhite, 0, kWidth, 184);
    }
}

// The navigation backup page.

void Rmu::drawNavBackupPage(Canvas& canvas) {
    const RadioUnit& unit = *controlledUnit();
    const AhrsUnit* heading = ahrs ? &ahrs->unit1 : nullptr;
    const bool headingValid =
        heading && !(controlledSide == 2 ? heading->headingSide2 : heading->headingSide1).invalid;
    float h = 0.0f;
    if (heading) {
        h = finiteOr0(headingValid ? heading->heading
                                   : (controlledSide == 2 ? heading->frozenHeading2
                                                          : heading->frozenHeading1));
    }
    const bool navPowered = !unit.unpowered[RadioUnit::kNavUnpowered];
    const bool navValid = unit.navSignal != 0 && unit.hasNav && navPowered && headingValid;
    const bool vorValid = navValid && !unit.hasLocalizer;
    const bool adfValid =
        unit.adfSignal != 0 && !unit.unpowered[RadioUnit::kAdfUnpowered] && headingValid;

    drawNavBackupFrames(canvas, unit, headingValid, h);
    drawCompass(canvas, h);
    drawBearingPointers(canvas, unit, h, vorValid, adfValid);
    drawCourse(canvas, unit, h, headingValid, navValid);
    if (unit.hasLocalizer) {
        drawGlideslope(canvas, unit);
    }
    drawNavBackupReadouts(canvas, unit, vorValid, adfValid, headingValid);
}

void Rmu::drawNavBackupFrames(Canvas& canvas, const RadioUnit& unit, bool headingValid,
                              float heading) {
    canvas.drawRectangle(rmu::kWhitePen, {6, 14, 52, 30});
    canvas.drawRectangle(rmu::kWhitePen, {122, 14, 52, 30});
    canvas.drawLine(rmu::kWhitePen, {58, 14}, {90, 36});
    canvas.drawLine(rmu::kWhitePen, {90, 36}, {122, 14});
    canvas.drawLine(rmu::kWhitePen, {90, 36}, {90, 58});
    if (headingValid) {
        const bool north = heading < 0.5f || heading >= 359.5f;
        drawCentred(canvas, north ? "360" : format("%1.0f", heading), font16, rmu::kWhite, 0,
                    kWidth, 6);
    } else {
        drawCentred(canvas, "- - -", font16, rmu::kAmber, 0, kWidth, 6);
    }
    drawPitched(canvas, sixCharacters(unit.navActiveText), font16, rmu::kWhite, 9, 7, 24, '.', 2);
    if (unit.navBackupKnobMode == RadioUnit::kBackupKnobNavFrequency) {
        canvas.drawRectangle(rmu::kCursorPen, {10, 24, 44, 16});
    }
    drawPitched(canvas, sixCharacters(unit.adfActiveText), font16, rmu::kWhite, 125, 7, 24, '.', 2);
    if (unit.navBackupKnobMode == RadioUnit::kBackupKnobAdfFrequency) {
        canvas.drawRectangle(rmu::kCursorPen, {126, 24, 44, 16});
    }
    canvas.fillRectangle(backgroundColor, {14, 12, 36, 4});
    canvas.fillRectangle(backgroundColor, {130, 12, 36, 4});
    drawCentred(canvas, "NAV", font16, rmu::kWhite, 6, 52, 6);
    drawCentred(canvas, "ADF", font16, rmu::kWhite, 122, 52, 6);

    canvas.drawRectangle(rmu::kWhitePen, {6, 190, 38, 25});
    canvas.fillRectangle(backgroundColor, {11, 188, 28, 4});
    const double crsX = (42.0 - canvas.measureString("CRS", font14).width) / 2.0 + 6.0;
    drawText(canvas, "CRS", font14, rmu::kGreen, crsX, 182);
    if (headingValid) {
        const int32_t course = unit.backupCourse == 0 ? 360 : unit.backupCourse;
        drawPitched(canvas, format("%03d", course), font14, rmu::kGreen, crsX, 8, 198);
    } else {
        drawPitched(canvas, "---", font14, rmu::kAmber, crsX, 8, 198);
    }
    if (unit.navBackupKnobMode == RadioUnit::kBackupKnobCourse) {
        canvas.drawRectangle(rmu::kCursorPen, {std::trunc(crsX - 2.0), 198, 30, 14});
    }
}

void Rmu::drawCompass(Canvas& canvas, float heading) {
    canvas.translate(kCompassCentre.x, kCompassCentre.y);
    canvas.drawArc(rmu::kWhitePen, {-108, -108, 216, 216}, kArcStart, kArcEnd - kArcStart);
    for (int k = 0; k < 36; ++k) {
        const double major = reduced(-heading + 10.0 * k);
        if (onArc(major)) {
            canvas.drawLine(rmu::kWhitePen, polar(96, major), polar(108, major));
        }
        const double minor = reduced(major + 5.0);
        if (onArc(minor)) {
            canvas.drawLine(rmu::kWhitePen, polar(100, minor), polar(108, minor));
        }
    }
    for (int d = 0; d < 360; d += 30) {
        const double t = reduced(d - heading - 90.0);
        if (!onArc(t)) {
            continue;
        }
        std::string label;
        switch (d) {
        case 0:
            label = "N";
            break;
        case 90:
            label = "E";
            break;
        case 180:
            label = "S";
            break;
        case 270:
            label = "W";
            break;
        default:
            label = format("%d", d / 10);
            break;
        }
        const PointF at = polar(92, t);
        drawText(canvas, label, font16, rmu::kWhite,
                 at.x - canvas.measureString(label, font16).width / 2, at.y);
    }
    canvas.resetTransform();
}

void Rmu::drawBearingPointers(Canvas& canvas, const RadioUnit& unit, float heading, bool vorValid,
                              bool adfValid) {
    const auto onArcFrame = [&](double relative) {
        canvas.resetTransform();
        canvas.resetClip();
        canvas.clipRectangle({45, 0, 90, 208});
        canvas.translate(kCompassCentre.x, kCompassCentre.y);
        canvas.rotate(relative);
    };
    if (vorValid) {
        const double relative = reduced(finiteOr0(unit.stationBearing) - heading);
        if (bearingOnArc(relative)) {
            onArcFrame(relative);
            canvas.drawLine(rmu::kWideCyanPen, {0, -68}, {0, -32});
            canvas.drawEllipse(rmu::kWideCyanPen, {-6, -32, 12, 12});
            canvas.drawLine(rmu::kWideCyanPen, {0, 68}, {0, 20});
            canvas.resetClip();
        } else {
            placeCornerArrow(canvas, relative, 165, 33);
            canvas.drawLine(rmu::kWideCyanPen, {0, -8}, {0, 8});
            canvas.drawLine(rmu::kWideCyanPen, {0, 8}, {6, 2});
            canvas.drawLine(rmu::kWideCyanPen, {0, 8}, {-6, 2});
        }
    }
    if (adfValid) {
        const double relative = reduced(finiteOr0(unit.adfBearing) - heading);
        if (bearingOnArc(relative)) {
            onArcFrame(relative);
            canvas.drawLine(rmu::kWideWhitePen, {-6, -20}, {-6, -38});
            canvas.drawLine(rmu::kWideWhitePen, {6, -20}, {6, -38});
            canvas.drawPolygon(rmu::kWideWhitePen, {{-6, -38}, {0, -44}, {6, -38}, {0, -32}});
            canvas.drawLine(rmu::kWideWhitePen, {0, -44}, {0, -68});
            canvas.drawLine(rmu::kWideWhitePen, {-6, 20}, {-6, 38});
            canvas.drawLine(rmu::kWideWhitePen, {-6, 38}, {6, 38});
            canvas.drawLine(rmu::kWideWhitePen, {6, 38}, {6, 20});
            canvas.drawLine(rmu::kWideWhitePen, {0, 38}, {0, 68});
            canvas.resetClip();
        } else {
            placeCornerArrow(canvas, relative, 147, 15);
            canvas.drawLine(rmu::kWideWhitePen, {-1, -8}, {-1, 5});
            canvas.drawLine(rmu::kWideWhitePen, {1, -8}, {1, 5});
            canvas.drawLine(rmu::kWideWhitePen, {0, 8}, {6, 2});
            canvas.drawLine(rmu::kWideWhitePen, {0, 8}, {-6, 2});
        }
    }
    canvas.resetTransform();
}

void Rmu::drawCourse(Canvas& canvas, const RadioUnit& unit, float heading, bool headingValid,
                     bool navValid) {
    const double courseAngle = unit.backupCourse - heading;
    canvas.resetTransform();
    canvas.clipRectangle({45, 0, 90, 208});
    canvas.translate(kCompassCentre.x, kCompassCentre.y);
    canvas.rotate(courseAngle);
    if (!navValid) {
        drawRedFlag(canvas);
    }
    drawDeviationDots(canvas);
    if (headingValid) {
        canvas.drawLine(rmu::kWideGreenPen, {0, -16}, {0, -68});
        canvas.drawLine(rmu::kWideGreenPen, {0, 16}, {0, 68});
        canvas.fillPolygon(rmu::kGreen, {{0, -38}, {8, -30}, {-8, -30}});
    } else {
        drawText(canvas, "HDG", font16, rmu::kRed, -canvas.measureString("HDG", font16).width / 2,
                 -60);
        drawText(canvas, "FAIL", font16, rmu::kRed, -canvas.measureString("FAIL", font16).width / 2,
                 -44);
    }
    canvas.resetClip();
    canvas.resetTransform();

    canvas.translate(kCompassCentre.x, kCompassCentre.y);
    canvas.fillPolygon(rmu::kWhite, kAircraftSymbol);
    canvas.resetTransform();
    if (navValid) {
        canvas.translate(kCompassCentre.x, kCompassCentre.y);
        canvas.rotate(courseAngle);
        canvas.translate(finiteOr0(unit.backupDeviation) * 30.0 / 127.0, 0);
        canvas.drawLine(rmu::kWideGreenPen, {0, -20}, {0, 20});
        canvas.resetTransform();
    }
}

void Rmu::drawGlideslope(Canvas& canvas, const RadioUnit& unit) {
    const bool received = unit.glideSlopeFlag && !unit.unpowered[RadioUnit::kGlideSlopeUnpowered];
    canvas.resetTransform();
    canvas.translate(150, 150);
    canvas.rotate(90);
    if (!received) {
        drawRedFlag(canvas);
    }
    drawDeviationDots(canvas);
    canvas.fillRectangle(rmu::kWhite, {-1.5, -6, 3, 12});
    if (received) {
        const double g = finiteOr0(unit.gsi) * 30.0 / 127.0;
        canvas.drawPolygon(rmu::kGreenPen, {{g, 3}, {g - 6, -8}, {g + 6, -8}});
    }
    canvas.resetTransform();
}

void Rmu::drawNavBackupReadouts(Canvas& canvas, const RadioUnit& unit, bool vorValid, bool adfValid,
                                bool headingValid) {
    const auto bearingText = [](float bearing) {
        const float shown = bearing >= 359.5f ? 0.0f : finiteOr0(bearing);
        return format("%03.0f\xC2\xB0", shown);
    };
    if (vorValid) {
        drawPitched(canvas, bearingText(unit.stationBearing), font16, rmu::kCyan, 16, 9, 117);
        drawPitched(canvas, "VOR", font16, rmu::kCyan, 16, 9, 132);
        canvas.fillEllipse(rmu::kCyan, {6, 137, 8, 8});
    }
    if (adfValid) {
        drawPitched(canvas, bearingText(unit.adfBearing), font16, rmu::kWhite, 16, 9, 150);
        drawPitched(canvas, "ADF", font16, rmu::kWhite, 16, 9, 165);
        canvas.fillPolygon(rmu::kWhite, {{6, 173}, {10, 169}, {14, 173}, {10, 177}});
    }
    if (!unit.hasLocalizer && !unit.unpowered[RadioUnit::kNavUnpowered] && headingValid) {
        if (unit.backupToFrom == RadioUnit::kTo) {
            drawText(canvas, "TO", font14, rmu::kGreen, 48, 200);
        } else if (unit.backupToFrom == RadioUnit::kFrom) {
            drawText(canvas, "FROM", font14, rmu::kGreen, 48, 200);
        }
    }
    canvas.drawRectangle(rmu::kWhitePen, {136, 190, 38, 25});
    canvas.fillRectangle(backgroundColor, {141, 188, 28, 4});
    drawCentred(canvas, "DME", font14, rmu::kGreen, 136, 38, 182);
    const float distance = finiteOr0(unit.dmeDistance);
    if (unit.hasDme && distance > 0.0f && !unit.unpowered[RadioUnit::kDmeUnpowered]) {
        drawCentred(canvas, format(distance < 99.95f ? "%-3.1f" : "%-3.0f", distance), font14,
                    rmu::kGreen, 136, 38, 198);
    } else {
        drawCentred(canvas, "- - -.-", font14, rmu::kAmber, 136, 38, 198);
    }
}

} // namespace tavi
