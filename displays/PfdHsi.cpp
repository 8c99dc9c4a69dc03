#include "avionics/Adc.h"
#include "avionics/Ahrs.h"
#include "avionics/FlightDirector.h"
#include "avionics/Radio.h"
#include "displays/Pfd.h"
#include "displays/PfdPalette.h"
#include "fms/LnavState.h"

#include <array>

namespace tavi {

using platform::gfx::Argb;
using platform::gfx::Canvas;
using platform::gfx::RectF;

namespace {

constexpr Pfd::PointF kRoseCentre{200, 380};
constexpr Pfd::PointF kArcCentre{200, 435};

struct CardLabel {
    const char* text;
    double x;
};
constexpr std::array<CardLabel, 12> kCardLabels = {{{"N", -8},
                                                    {"3", -6},
                                                    {"6", -6},
                                                    {"E", -7},
                                                    {"12", -10},
                                                    {"15", -10},
                                                    {"S", -7},
                                                    {"21", -10},
                                                    {"24", -10},
                                                    {"W", -10},
                                                    {"30", -10},
                                                    {"33", -10}}};

// The red cross over the deviation dots of a course without a source.
void drawCourseFlag(Canvas& canvas) {
    canvas.drawLine(pfd::kRed3, {-34, -7}, {34, 7});
    canvas.drawLine(pfd::kRed3, {-34, 7}, {34, -7});
}

void drawToFrom(Canvas& canvas, int32_t toFrom) {
    if (toFrom != 1 && toFrom != 2) {
        return;
    }
    const double y = toFrom == 1 ? -15.0 : 15.0;
    const double tip = toFrom == 1 ? -28.0 : 28.0;
    canvas.drawLine(pfd::kWhite15, {-21, y}, {21, y});
    canvas.drawLine(pfd::kWhite15, {-21, y}, {0, tip});
    canvas.drawLine(pfd::kWhite15, {21, y}, {0, tip});
}

// Angle from the heading, raised into 0..360.
float relativeAngle(float angle, float heading) {
    float r = angle - heading;
    while (r < 0.0f) {
        r += 360.0f;
    }
    return r;
}

bool withinArcWindow(float r) {
    return (r >= 312.0f && r <= 360.0f) || (r >= 0.0f && r <= 48.0f);
}

} // namespace

void Pfd::drawCourseDeviation(Canvas& canvas, const Frame& frame, PointF centre,
                              const platform::gfx::Path& bar) const {
    const double courseAngle = frame.course - frame.heading;
    auto shifted = [&](double offset) {
        place(canvas, centre, courseAngle);
        canvas.translate(offset, 0);
    };
    if (!frame.fmsSource) {
        if (frame.nav->navSignal == 0 || frame.nav->unpowered[2]) {
            return;
        }
        shifted(frame.nav->cdiDeviation * 40.0 / 127.0);
        canvas.fillPath(pfd::kGreen, bar);
        if (&bar == &shapes.roseDeviationBar) {
            canvas.drawPath(pfd::kGreen2, bar);
        }
        if (!frame.nav->hasLocalizer) {
            place(canvas, centre, courseAngle);
            drawToFrom(canvas, frame.nav->toFrom);
        }
        return;
    }
    if (!frame.lnav || !frame.lnav->valid) {
        return;
    }
    shifted(frame.lnav->deviation * 40.0);
    canvas.fillPath(pfd::kMagenta, bar);
    if (&bar == &shapes.roseDeviationBar) {
        canvas.drawPath(pfd::kMagenta2, bar);
    }
    place(canvas, centre, courseAngle);
    drawToFrom(canvas, 1);
}

void Pfd::drawHsiRose(Canvas& canvas, const Frame& frame) {
    canvas.resetClip();
    const float h = frame.heading;
    const bool failed = frame.headingFailed;
    if (!failed) {
        place(canvas, kRoseCentre, adc->driftAngle);
        canvas.drawPath(pfd::kMagenta2, shapes.roseTrack);
    }
    if (adc->selfTest[static_cast<std::size_t>(side - 1)]) {
        place(canvas, kRoseCentre, 0.0);
        textCentred(canvas, "HDG", font16, pfd::kRed, -50);
        textCentred(canvas, "TEST", font16, pfd::kRed, -36);
    }
    drawLayer(canvas, layers.roseCard, {h, 0.0}, [&](Canvas& card) {
        place(card, kRoseCentre, -h);
        card.drawPath(pfd::kWhite15, shapes.roseTicks);
        const double half = card.measureString("N", font16).height / 2.0;
        for (std::size_t i = 0; i < kCardLabels.size(); ++i) {
            place(card, kRoseCentre, -h + 30.0 * static_cast<double>(i));
            card.drawString(kCardLabels[i].text, font16, pfd::kWhite,
                            {kCardLabels[i].x, -59 - half});
        }
    });
    if (!failed) {
        place(canvas, kRoseCentre, flightDirector->headingBug() - h);
        canvas.drawPath(pfd::kCyan2, shapes.roseBug);
    }
    place(canvas, kRoseCentre, failed ? 0.0 : frame.course - h);
    const bool noRadio = !frame.fmsSource && frame.nav->navSignal == 0;
    const bool noLnav = frame.fmsSource && !(frame.lnav && frame.lnav->valid);
    if (noRadio || failed || frame.nav->unpowered[2] || noLnav) {
        drawCourseFlag(canvas);
    }
    canvas.drawPath(pfd::kWhite15, shapes.deviationDots);
    if (bearing1Valid && !failed) {
        place(canvas, kRoseCentre, bearing1Angle - h);
        canvas.drawPath(pfd::kCyan1, shapes.roseBearing1);
        canvas.fillPath(pfd::kCyan, shapes.roseBearing1);
        canvas.drawEllipse(pfd::kCyan25, {-6, -32, 12, 12});
    }
    if (bearing2Valid && !failed) {
        place(canvas, kRoseCentre, bearing2Angle - h);
        canvas.drawPath(pfd::kWhite2, shapes.roseBearing2);
    }
    if (!failed) {
        place(canvas, kRoseCentre, frame.course - h);
        const Argb colour = frame.fmsSource ? pfd::kMagenta : pfd::kGreen;
        canvas.drawPath(frame.fmsSource ? pfd::kMagenta2 : pfd::kGreen2, shapes.roseCourse);
        canvas.fillPath(colour, shapes.roseCourse);
        drawCourseDeviation(canvas, frame, kRoseCentre, shapes.roseDeviationBar);
    }
    drawLayer(canvas, layers.roseSymbols, {}, [this](Canvas& symbols) {
        place(symbols, kRoseCentre, 0.0);
        symbols.drawPath(pfd::kWhite1, shapes.hsiAircraft);
        symbols.drawPath(pfd::kWhite15, shapes.roseFixedMarks);
    });
    place(canvas, kRoseCentre, 0.0);
    if (failed) {
        textCentred(canvas, "HDG", font16, pfd::kRed, -50);
        textCentred(canvas, "FAIL", font16, pfd::kRed, -36);
    }
}

void Pfd::drawHsiArc(Canvas& canvas, const Frame& frame) {
    canvas.resetClip();
    const float h = frame.heading;
    const bool failed = frame.headingFailed;
    if (adc->selfTest[static_cast<std::size_t>(side - 1)]) {
        place(canvas, kArcCentre, 0.0);
        textCentred(canvas, "HDG", font18, pfd::kRed, -100);
        textCentred(canvas, "TEST", font18, pfd::kRed, -86);
    }
    if (!failed) {
        place(canvas, kArcCentre, adc->driftAngle);
        canvas.drawPath(pfd::kMagenta2, shapes.arcTrack);
    }
    drawLayer(canvas, layers.arcCard, {h, 0.0}, [&](Canvas& card) {
        place(card, kArcCentre, 0.0);
        card.drawArc(pfd::kWhite15, {-133, -133, 266, 266}, 222, 96);
        card.clipPolygon({{0, 0}, {-222, -200}, {222, -200}});
        place(card, kArcCentre, -h);
        card.drawPath(pfd::kWhite15, shapes.arcTicks);
        const double half = card.measureString("N", font16).height / 2.0;
        for (std::size_t i = 0; i < kCardLabels.size(); ++i) {
            const double bearing = 30.0 * static_cast<double>(i);
            // Labels far outside the window are clipped away anyway.
            const float r = relativeAngle(static_cast<float>(bearing), h);
            if (r > 60.0f && r < 300.0f) {
                continue;
            }
            place(card, kArcCentre, -h + bearing);
            card.drawString(kCardLabels[i].text, font16, pfd::kWhite,
                            {kCardLabels[i].x, -107 - half});
        }
    });
    place(canvas, kArcCentre, 0.0);
    canvas.drawPath(pfd::kWhite15, shapes.arcReadoutBox);
    if (!failed) {
        textCentred(canvas, headingReadoutText(ahrs->unit1.heading), font16, pfd::kGreen, -161);
        const float bug = relativeAngle(flightDirector->headingBug(), h);
        if (withinArcWindow(bug)) {
            place(canvas, kArcCentre, bug);
            canvas.drawPath(pfd::kCyan2, shapes.arcBug);
        }
    } else {
        textCentred(canvas, "- - -", font16, pfd::kAmber, -161);
    }
    auto bearingShown = [&](bool valid, float angle) {
        const float r = relativeAngle(angle, h);
        return !failed && valid && (withinArcWindow(r) || (r >= 132.0f && r <= 228.0f));
    };
    if (bearingShown(bearing1Valid, bearing1Angle)) {
        place(canvas, kArcCentre, relativeAngle(bearing1Angle, h));
        canvas.drawPath(pfd::kCyan1, shapes.arcBearing1);
        canvas.fillPath(pfd::kCyan, shapes.arcBearing1);
        canvas.drawEllipse(pfd::kCyan25, {-6, -81, 12, 12});
    }
    if (bearingShown(bearing2Valid, bearing2Angle)) {
        place(canvas, kArcCentre, relativeAngle(bearing2Angle, h));
        canvas.drawPath(pfd::kWhite2, shapes.arcBearing2);
    }
    place(canvas, kArcCentre, failed ? 0.0 : frame.course - h);
    const bool noRadio = !frame.fmsSource && frame.nav->navSignal == 0;
    const bool noLnav = frame.fmsSource && !(frame.lnav && frame.lnav->valid);
    if (noRadio || failed || frame.nav->unpowered[2] || noLnav) {
        drawCourseFlag(canvas);
    }
    canvas.drawPath(pfd::kWhite15, shapes.deviationDots);
    if (!failed) {
        canvas.fillPath(frame.fmsSource ? pfd::kMagenta : pfd::kGreen, shapes.arcCourse);
        drawCourseDeviation(canvas, frame, kArcCentre, shapes.arcDeviationBar);
    }
    drawLayer(canvas, layers.arcSymbols, {}, [this](Canvas& symbols) {
        place(symbols, kArcCentre, 0.0);
        symbols.drawPath(pfd::kWhite1, shapes.hsiAircraft);
        symbols.drawArc(pfd::kWhite15, {-67, -67, 134, 134}, 190, 160);
    });
    place(canvas, kArcCentre, 0.0);
    if (failed) {
        textCentred(canvas, "HDG", font18, pfd::kRed, -100);
        textCentred(canvas, "FAIL", font18, pfd::kRed, -86);
    }
}

} // namespace tavi
