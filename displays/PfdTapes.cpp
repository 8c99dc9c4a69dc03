#include "avionics/Adc.h"
#include "avionics/Ahrs.h"
#include "avionics/FlightDirector.h"
#include "avionics/RadAlt.h"
#include "avionics/Tcas.h"
#include "core/Format.h"
#include "displays/Pfd.h"
#include "displays/PfdPalette.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <vector>

namespace tavi {

using platform::gfx::Argb;
using platform::gfx::Canvas;
using platform::gfx::Pen;

namespace {

constexpr double kKnotPixels = 2.5;
constexpr double kFootPixels = 0.2;
constexpr float kLowestTapeSpeed = 40.0f;
constexpr Pfd::PointF kSpeedReference{69, 147};
constexpr Pfd::PointF kAltitudeReference{314, 147};
constexpr double kVsiHiddenWidth = 40.0;

// The brackets of a thousand mark (y0) and of the 500-ft mark above it, each with its hook
// towards the thousand.
void drawAltitudeBrackets(Canvas& canvas, double y0) {
    const std::array<std::vector<platform::gfx::PointF>, 4> lines = {{
        {{0, y0}, {30, y0 - 30}, {30, y0 - 70}, {0, y0 - 100}},
        {{30, y0 - 30}, {30, y0 - 22}, {16, y0 - 8}},
        {{0, y0 - 100}, {30, y0 - 130}, {30, y0 - 170}, {0, y0 - 200}},
        {{30, y0 - 170}, {30, y0 - 178}, {16, y0 - 192}},
    }};
    for (const auto& line : lines) {
        for (std::size_t i = 1; i < line.size(); ++i) {
            canvas.drawLine(pfd::kWhite15, line[i - 1], line[i]);
        }
    }
}

// VS, or a flight level change descending: the vertical speed target is flown, not the speed.
bool verticalSpeedTargetFlown(const FlightDirector& director) {
    const auto mode = director.verticalMode();
    return mode == FdVerticalMode::Vs ||
           (mode == FdVerticalMode::ClimbDescent && !director.isClimbing());
}

} // namespace

bool Pfd::overspeed() const {
    return side == 1 ? adc->isOverspeed1() : adc->isOverspeed2();
}

platform::gfx::Argb Pfd::speedReadoutColour() const {
    if (!adc || !ahrs) {
        return pfd::kGreen;
    }
    const bool airborne = !ahrs->onGround;
    const float speed = adc->smoothedAirspeed;
    Argb colour = pfd::kGreen;
    if (airborne && speed + adc->airspeedTrend >= adc->maxOperatingSpeed) {
        colour = pfd::kAmber;
    }
    if (overspeed()) {
        colour = pfd::kRed;
    }
    if (airborne && !slewing) {
        const float stall = adc->minimumSpeed;
        if (speed <= stall) {
            colour = pfd::kRed;
        } else if (speed <= 1.13f * stall) {
            colour = pfd::kAmber;
        } else if (speed <= 1.23f * stall) {
            colour = pfd::kWhite;
        }
    }
    return colour;
}

std::array<Pfd::DrumColumn, 3> Pfd::airspeedDrum(float knots) {
    const int32_t n = static_cast<int32_t>(knots);
    const float f = knots - static_cast<float>(n);
    const int32_t units = n % 10;
    const int32_t tens = n % 100 / 10;
    return {
        {{n / 100, tens == 9 && units == 9 ? f : 0.0f}, {tens, units == 9 ? f : 0.0f}, {units, f}}};
}

Pfd::AltitudeDrum Pfd::altitudeDrum(float feet) {
    const int32_t n = static_cast<int32_t>(std::fabs(feet));
    const int32_t thousands = n % 10000 / 1000;
    const int32_t hundreds = n % 1000 / 100;
    const int32_t r = n % 100;
    const float rolling = r > 80 ? static_cast<float>(r - 80) * 0.05f : 0.0f;
    AltitudeDrum drum;
    drum.columns = {{{n / 10000, thousands == 9 && hundreds == 9 ? rolling : 0.0f},
                     {thousands, hundreds == 9 ? rolling : 0.0f},
                     {hundreds, rolling}}};
    drum.lastTwoDigits = (static_cast<float>(r) + static_cast<float>(r % 20) / 20.0f) / 20.0f;
    return drum;
}

void Pfd::drawDrum(Canvas& canvas, double x, DrumColumn column, Argb colour) const {
    for (int32_t k = -2; k <= 11; ++k) {
        const double top = (column.digit + column.fraction - k) * 20.0 - 12.0;
        // Digits above or below the readout's window are never seen.
        if (top < -42.0 || top > 42.0) {
            continue;
        }
        const char digit = static_cast<char>('0' + (k + 10) % 10);
        canvas.drawString(std::string(1, digit), font22, colour, {x, top});
    }
}

void Pfd::drawSpeedTape(Canvas& canvas) {
    const std::size_t s = static_cast<std::size_t>(side - 1);
    // A speed that is not a number shows the tape's failed form.
    const bool invalid =
        adc->validity[kAirspeedGroup][s].invalid || !std::isfinite(adc->smoothedAirspeed);
    const bool eitherInvalid =
        adc->validity[kAirspeedGroup][0].invalid || adc->validity[kAirspeedGroup][1].invalid;
    const float speed = adc->smoothedAirspeed;
    const float shown = std::clamp(speed, kLowestTapeSpeed, 400.0f);
    auto y = [shown](double v) {
        return (shown - v) * kKnotPixels;
    };
    const bool airborne = !ahrs->onGround;
    const Argb colour = speedReadoutColour();

    canvas.resetClip();
    canvas.resetTransform();
    drawLayer(canvas, layers.speedTape, {}, [](Canvas& tape) {
        tape.fillRectangle(pfd::kTape, {23, 40, 46, 214});
    });
    place(canvas, kSpeedReference, 0.0);
    canvas.clipRectangle({-69, -107, 79, 214});
    if (!invalid) {
        canvas.fillRectangle(pfd::kRed,
                             {-6, 2.5 * shown - 1250.0, 6, 1250.0 - 2.5 * adc->maxOperatingSpeed});
        const float stall = adc->minimumSpeed;
        // The minimum speed is not known before its first computation.
        if (airborne && !slewing && stall > 0.0f) {
            auto yc = [shown](double v) {
                return std::max(shown - v, 0.0) * kKnotPixels;
            };
            auto band = [&](Argb bandColour, double from, double to) {
                canvas.fillRectangle(bandColour, {-9, from, 6, to - from});
            };
            band(pfd::kWhite, yc(1.23 * stall), yc(1.13 * stall));
            band(pfd::kAmber, yc(1.13 * stall), yc(stall));
            band(pfd::kRed, yc(stall), y(0));
        }
        if (!slewing) {
            const float trend = std::fabs(adc->airspeedTrend);
            if (trend >= 4.0f) {
                speedTrendVisible = true;
            } else if (trend < 3.0f) {
                speedTrendVisible = false;
            }
            if (speedTrendVisible) {
                canvas.fillRectangle(pfd::kMagenta, {3, 0, 3, -kKnotPixels * adc->airspeedTrend});
            }
        }
        drawLayer(canvas, layers.speedScale, {shown, 0.0}, [&](Canvas& scale) {
            place(scale, kSpeedReference, 0.0);
            scale.clipRectangle({-69, -107, 79, 214});
            for (int v = 40; v <= 380; v += 20) {
                if (y(v) + 60 < -107) {
                    break;
                }
                if (y(v) - 60 <= 107) {
                    scale.drawLine(pfd::kWhite15, {-12, y(v)}, {0, y(v)});
                    scale.drawLine(pfd::kWhite15, {-12, y(v) - 25}, {0, y(v) - 25});
                    textRight(scale, format("%d", v), font18, pfd::kWhite, {-15, y(v) - 10});
                }
            }
        });
        canvas.resetClip();
        canvas.resetTransform();
        canvas.fillPath(pfd::kBlack, shapes.speedBox);
        if (speed >= kLowestTapeSpeed) {
            canvas.clipPath(shapes.speedBox);
            place(canvas, kSpeedReference, 0.0);
            const auto drum = airspeedDrum(speed);
            drawDrum(canvas, -49, drum[0], colour);
            drawDrum(canvas, -37, drum[1], colour);
            drawDrum(canvas, -25, drum[2], colour);
        }
    }
    canvas.resetClip();
    canvas.resetTransform();
    if (eitherInvalid) {
        canvas.fillRectangle(pfd::kBlack, {23, 41, 12, 44});
    }
    if (invalid) {
        canvas.fillPath(pfd::kBlack, shapes.speedBox);
        canvas.drawLine(pfd::kRed3, {23, 40}, {69, 254});
        canvas.drawLine(pfd::kRed3, {69, 40}, {23, 254});
    }
    if (eitherInvalid && tenSecondFlagVisible(adc->invalidSince[0])) {
        text(canvas, "I", font16, pfd::kAmber, {26, 41});
        text(canvas, "A", font16, pfd::kAmber, {23, 55});
        text(canvas, "S", font16, pfd::kAmber, {23, 69});
    }
    canvas.drawLine(pfd::kWhite15, {23, 40}, {69, 40});
    canvas.drawLine(pfd::kWhite15, {69, 40}, {69, 254});
    canvas.drawLine(pfd::kWhite15, {69, 254}, {23, 254});
    canvas.drawPath(pfd::kWhite15, shapes.speedBox);
    if (invalid) {
        return;
    }
    if (!verticalSpeedTargetFlown(*flightDirector) && std::isfinite(flightDirector->iasTarget())) {
        place(canvas, kSpeedReference, 0.0);
        canvas.clipRectangle({-72, -105, 80, 210});
        canvas.translate(0, std::clamp(y(flightDirector->iasTarget()), -107.0, 107.0));
        canvas.drawPath(pfd::kCyan2, shapes.speedBug);
        canvas.resetClip();
    }
    drawSpeedBugs(canvas, shown);
    if (speed < kLowestTapeSpeed) {
        drawSpeedList(canvas);
    }
}

void Pfd::drawSpeedBugs(Canvas& canvas, float shownSpeed) const {
    struct Bug {
        Pen pen;
        Argb colour;
        const char* label;
        double labelX;
        const char* secondLabel;
        bool onlyNearTakeOff;
    };
    static constexpr std::array<Bug, 4> kBugs = {
        {{pfd::kMagenta2, pfd::kMagenta, "1", 18, nullptr, true},
         {pfd::kCyan2, pfd::kCyan, "R", 18, nullptr, true},
         {pfd::kWhite15, pfd::kWhite, "2", 18, nullptr, true},
         {pfd::kGreen2, pfd::kGreen, "A", 8, "P", false}}};
    const double v2 = adc->referenceSpeeds[2];
    for (std::size_t i = 0; i < kBugs.size(); ++i) {
        const Bug& bug = kBugs[i];
        // A bug being edited (state 2) stays on the tape as well.
        const bool shown = adc->referenceSpeedStates[i] != 0;
        if (!shown || (bug.onlyNearTakeOff && shownSpeed > v2 + 42.0)) {
            continue;
        }
        const double y = (shownSpeed - adc->referenceSpeeds[i]) * kKnotPixels;
        place(canvas, kSpeedReference, 0.0);
        canvas.clipRectangle({-72, -105, 100, 210});
        canvas.drawLine(bug.pen, {2, y}, {7, y});
        canvas.drawLine(bug.pen, {7, y - 4}, {7, y + 4});
        text(canvas, bug.label, font16, bug.colour, {bug.labelX, y - 9});
        if (bug.secondLabel) {
            text(canvas, bug.secondLabel, font16, bug.colour, {18, y - 9});
        }
        canvas.resetClip();
    }
}

void Pfd::drawSpeedList(Canvas& canvas) const {
    struct Row {
        Pen pen;
        Argb colour;
        const char* label;
        double y;
    };
    static constexpr std::array<Row, 3> kRows = {{{pfd::kMagenta2, pfd::kMagenta, "1", 84},
                                                  {pfd::kCyan2, pfd::kCyan, "R", 64},
                                                  {pfd::kWhite15, pfd::kWhite, "2", 44}}};
    place(canvas, kSpeedReference, 0.0);
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        const Row& row = kRows[i];
        if (adc->referenceSpeedStates[i] == 0) {
            continue;
        }
        const std::string value = format("%3d", adc->referenceSpeeds[i]);
        for (std::size_t c = 0; c < value.size() && c < 3; ++c) {
            text(canvas, std::string(1, value[c]), font16, row.colour,
                 {-46.0 + 8.0 * static_cast<double>(c), row.y});
        }
        text(canvas, row.label, font16, row.colour, {-13, row.y});
        canvas.drawLine(row.pen, {-18, row.y + 9}, {-13, row.y + 9});
        canvas.drawLine(row.pen, {-18, row.y + 5}, {-18, row.y + 13});
    }
}

void Pfd::drawAltitudeTape(Canvas& canvas) {
    const std::size_t s = static_cast<std::size_t>(side - 1);
    // An altitude that is not a number shows the tape's failed form.
    const bool invalid =
        adc->validity[kAltitudeGroup][s].invalid || !std::isfinite(adc->indicatedAltitude);
    const bool eitherInvalid =
        adc->validity[kAltitudeGroup][0].invalid || adc->validity[kAltitudeGroup][1].invalid;
    const float shown = std::clamp(adc->indicatedAltitude, -1000.0f, 60000.0f);

    canvas.resetClip();
    canvas.resetTransform();
    drawLayer(canvas, layers.altitudeTape, {}, [](Canvas& tape) {
        tape.fillRectangle(pfd::kTape, {314, 40, 63, 214});
    });
    if (invalid) {
        canvas.fillRectangle(pfd::kGround, {314, 147, 63, 107});
        canvas.fillPath(pfd::kBlack, shapes.altitudeBox);
        canvas.fillRectangle(pfd::kBlack, {365, 41, 12, 44});
        canvas.drawLine(pfd::kRed2, {314, 40}, {377, 254});
        canvas.drawLine(pfd::kRed2, {377, 40}, {314, 254});
    } else {
        place(canvas, kAltitudeReference, 0.0);
        canvas.clipRectangle({-10, -107, 130, 214});
        if (!ahrs->onGround) {
            const AhrsUnit& unit = side == 1 ? ahrs->unit1 : ahrs->unit2;
            const float trend = std::fabs(unit.verticalSpeedTenth);
            if (trend >= 40.0f) {
                altitudeTrendVisible = true;
            } else if (trend < 30.0f) {
                altitudeTrendVisible = false;
            }
            if (altitudeTrendVisible) {
                canvas.fillRectangle(pfd::kMagenta,
                                     {-7, 0, 3, -kFootPixels * unit.verticalSpeedTenth});
            }
        }
        drawLayer(canvas, layers.altitudeScale, {shown, 0.0}, [&](Canvas& scale) {
            place(scale, kAltitudeReference, 0.0);
            scale.clipRectangle({-10, -107, 130, 214});
            drawAltitudeScale(scale, shown);
        });
        if (radAlt->radioAltitude <= 2500.0f) {
            const double g = kFootPixels * radAlt->radioAltitude;
            canvas.fillRectangle(pfd::kGround, {0, g, 63, 200 + g});
            canvas.drawLine(pfd::kYellow2, {0, g}, {63, g});
            canvas.drawLine(pfd::kYellow2, {0, g - 6}, {63, g - 6});
        }
        canvas.clipRectangle({-5, -105, 120, 210});
        if (std::isfinite(flightDirector->altitudePreselect())) {
            canvas.translate(0,
                             std::clamp((shown - flightDirector->altitudePreselect()) * kFootPixels,
                                        -107.0, 107.0));
            canvas.drawPath(pfd::kCyan2, shapes.altitudeBug);
        }
        drawAltitudeDrum(canvas, shown);
    }
    canvas.resetClip();
    canvas.resetTransform();
    canvas.drawPath(pfd::kWhite15, shapes.altitudeBox);
    if (eitherInvalid && tenSecondFlagVisible(adc->invalidSince[1])) {
        text(canvas, "A", font16, pfd::kAmber, {365, 41});
        text(canvas, "L", font16, pfd::kAmber, {365, 55});
        text(canvas, "T", font16, pfd::kAmber, {365, 69});
    }
    canvas.drawLine(pfd::kWhite15, {377, 40}, {314, 40});
    canvas.drawLine(pfd::kWhite15, {314, 40}, {314, 254});
    canvas.drawLine(pfd::kWhite15, {314, 254}, {377, 254});
}

void Pfd::drawAltitudeScale(Canvas& canvas, float shownAltitude) const {
    for (int thousand = -1000; thousand <= 59000; thousand += 1000) {
        const double y0 = (shownAltitude - thousand) * kFootPixels;
        if (y0 + 300 < -107) {
            break;
        }
        if (y0 - 300 > 107) {
            continue;
        }
        for (int k = 1; k <= 9; ++k) {
            if (k != 5) {
                canvas.drawLine(pfd::kWhite15, {0, y0 - 20 * k}, {12, y0 - 20 * k});
            }
        }
        drawAltitudeBrackets(canvas, y0);
        textRight(canvas, format("%d", thousand), font16, pfd::kWhite, {55, y0 - 10});
        textRight(canvas, format("%d", thousand + 500), font16, pfd::kWhite, {55, y0 - 110});
    }
}

void Pfd::drawAltitudeDrum(Canvas& canvas, float shownAltitude) const {
    canvas.resetClip();
    canvas.resetTransform();
    canvas.fillPath(pfd::kBlack, shapes.altitudeBox);
    canvas.clipPath(shapes.altitudeBox);
    place(canvas, kAltitudeReference, 0.0);
    const AltitudeDrum drum = altitudeDrum(shownAltitude);
    if (shownAltitude < 10000.0f) {
        canvas.fillRectangle(pfd::kGreenHatch, {11, -10, 12, 20});
        canvas.drawRectangle(pfd::kGreen15, {11, -10, 12, 20});
    } else {
        drawDrum(canvas, 11, drum.columns[0], pfd::kGreen);
    }
    if (shownAltitude < 0.0f) {
        canvas.drawString("-", font22, pfd::kGreen, {23, -12});
    } else if (shownAltitude >= 1000.0f) {
        drawDrum(canvas, 21, drum.columns[1], pfd::kGreen);
    }
    drawDrum(canvas, 31, drum.columns[2], pfd::kGreen);
    for (int m = -40; m <= 120; m += 20) {
        const double top = (drum.lastTwoDigits - m / 20.0) * 16.0 - 9.0;
        if (top < -49.0) {
            continue;
        }
        canvas.drawString(format("%02d", (m + 100) % 100), font18, pfd::kGreen, {43, top});
    }
}

void Pfd::drawVerticalSpeed(Canvas& canvas, const Frame& frame) {
    // The scale's shapes stop where the strip 40 units around its centre begins, and the needle
    // starts where it leaves that strip and the hub, so no clip is needed.
    canvas.resetClip();
    place(canvas, kVsiCentre, 0.0);
    const bool advisory = tcas && !tcas->raSet.empty();
    if (tcas && (advisory || tcas->selfTest)) {
        computeRaBands(canvas);
    }
    drawLayer(canvas, layers.verticalSpeedScale, {}, [this](Canvas& scale) {
        place(scale, kVsiCentre, 0.0);
        scale.drawPath(pfd::kWhite15, shapes.vsiCircle);
        scale.drawPath(pfd::kWhite15, shapes.vsiMajorTicks);
        scale.drawPath(pfd::kWhite15, shapes.vsiMinorTicks);
        const double half = scale.measureString("0", labelFont15).height / 2.0;
        struct Label {
            const char* text;
            PointF at;
        };
        static constexpr std::array<Label, 7> kLabels = {{{"0", {-108, 0.5}},
                                                          {"1", {-98, -34}},
                                                          {"1", {-98, 34}},
                                                          {"2", {-88, -54}},
                                                          {"2", {-88, 54}},
                                                          {"3", {-72, -76}},
                                                          {"3", {-72, 76}}}};
        for (const Label& label : kLabels) {
            scale.drawString(label.text, labelFont15, pfd::kWhite, {label.at.x, label.at.y - half});
        }
    });

    const bool unpoweredSide = side == 1 ? ahrs->side1Unpowered : ahrs->side2Unpowered;
    // A vertical speed that is not a number shows the failed indicator, never a needle from it.
    if (unpoweredSide || !std::isfinite(frame.unit->verticalSpeed)) {
        canvas.resetClip();
        place(canvas, kVsiCentre, 0.0);
        text(canvas, "V", font18, pfd::kRed, {-72, -16});
        text(canvas, "S", font18, pfd::kRed, {-72, 0});
        canvas.drawRectangle(pfd::kRed2, {-74, -16, 18, 37});
        return;
    }
    const int32_t speed = static_cast<int32_t>(frame.unit->verticalSpeed);
    const float deflection = vsiDeflection(static_cast<float>(speed));
    bool warning = false;
    if (advisory) {
        warning = tcas->raKind == 14 ? speed > 250 || speed < -250
                                     : raBandLimits[0] < deflection && deflection < raBandLimits[1];
    }
    place(canvas, kVsiCentre, deflection);
    const Pen& needlePen = warning ? pfd::kRed25 : pfd::kGreen25;
    const double hiddenTo = kVsiHiddenWidth / std::cos(deflection * std::numbers::pi / 180.0);
    canvas.drawLine(needlePen, {-hiddenTo, 0}, {-86, 0});
    canvas.drawPath(needlePen, shapes.vsiNeedle);
    if (verticalSpeedTargetFlown(*flightDirector) && flightDirector->vsTarget() != 0.0f &&
        std::isfinite(flightDirector->vsTarget())) {
        place(canvas, kVsiCentre, vsiDeflection(flightDirector->vsTarget()));
        canvas.drawPath(pfd::kCyan2, shapes.vsiBug);
    }
    if (speed < -500 || speed > 500) {
        place(canvas, kVsiCentre, 0.0);
        text(canvas, verticalSpeedReadout(speed), font16, warning ? pfd::kRed : pfd::kGreen,
             {-80, -10});
    }
}

} // namespace tavi
