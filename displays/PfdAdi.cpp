#include "avionics/Adc.h"
#include "avionics/Ahrs.h"
#include "avionics/FlightDirector.h"
#include "avionics/Gpws.h"
#include "avionics/RadAlt.h"
#include "avionics/Radio.h"
#include "core/Format.h"
#include "displays/Pfd.h"
#include "displays/PfdPalette.h"
#include "displays/ScreenDrawing.h"
#include "fms/Fms.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace tavi {

using platform::gfx::Canvas;
using platform::gfx::Pen;
using platform::gfx::RectF;

namespace {

constexpr Pfd::PointF kAdiCentre{200, 147};
constexpr Pfd::PointF kDeviationCentre{295, 147};
constexpr double kUnitsPerDegree = 3.8;
constexpr RectF kSphere{-94, -94, 188, 188};
constexpr float kLowBankLimit = 14.0f;

// The sphere with its sides cut off, where the attitude is drawn.
void clipToSphere(Canvas& canvas) {
    canvas.clipEllipse(kSphere);
    canvas.clipRectangle({-81, -170, 162, 340});
}

// The sphere with its sides cut off as a polygon about the ADI centre.
std::vector<Pfd::PointF> sphereOutline() {
    constexpr double kRadius = 94.0;
    constexpr double kSide = 81.0;
    constexpr int kSteps = 96;
    std::vector<Pfd::PointF> points;
    for (int i = 0; i < kSteps; ++i) {
        const double angle = 2.0 * std::numbers::pi * i / kSteps;
        const double x = std::clamp(kRadius * std::cos(angle), -kSide, kSide);
        points.push_back({x, kRadius * std::sin(angle)});
    }
    return points;
}

// The part of the polygon on the side of the line through the point with the normal where
// (p - point) . normal >= 0.
std::vector<Pfd::PointF> cutByLine(const std::vector<Pfd::PointF>& polygon, Pfd::PointF point,
                                   Pfd::PointF normal) {
    auto side = [&](Pfd::PointF p) {
        return (p.x - point.x) * normal.x + (p.y - point.y) * normal.y;
    };
    std::vector<Pfd::PointF> kept;
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const Pfd::PointF a = polygon[i];
        const Pfd::PointF b = polygon[(i + 1) % polygon.size()];
        const double sa = side(a);
        const double sb = side(b);
        if (sa >= 0.0) {
            kept.push_back(a);
        }
        if ((sa >= 0.0) != (sb >= 0.0)) {
            const double t = sa / (sa - sb);
            kept.push_back({a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)});
        }
    }
    return kept;
}

void drawLetters(Canvas& canvas, const platform::gfx::Font& font, const char* letters,
                 const std::array<Pfd::PointF, 6>& at) {
    for (std::size_t i = 0; i < at.size(); ++i) {
        canvas.drawString(std::string(1, letters[i]), font, pfd::kAmber, at[i]);
    }
}

} // namespace

void Pfd::drawAdi(Canvas& canvas, const Frame& frame) {
    const float pitch = ahrs->unit1.pitch;
    const float bank = ahrs->unit1.bank;
    const double p = kUnitsPerDegree * pitch;
    place(canvas, kAdiCentre, 0.0);
    if (static_cast<int32_t>(flightDirector->lateralMode()) == 2 &&
        flightDirector->bankLimit() == kLowBankLimit) {
        canvas.drawArc(pfd::kGreen3, {-98, -98, 196, 196}, -104, 28);
        for (const double angle : {-104.0, -76.0}) {
            canvas.drawLine(pfd::kGreen3, {0, 0},
                            {108 * std::cos(radians(angle)), 108 * std::sin(radians(angle))});
        }
    }
    if (frame.attitudeInvalid) {
        canvas.fillPolygon(pfd::kSky, sphereOutline());
    } else {
        // Sky and ground are the sphere's halves on either side of the horizon, cut here rather
        // than clipped: the horizon passes p below the centre, turned by the bank.
        const double b = bank * std::numbers::pi / 180.0;
        const PointF down{-std::sin(b), std::cos(b)};
        const PointF horizon{-p * down.x, -p * down.y};
        const std::vector<PointF> sphere = sphereOutline();
        canvas.fillPolygon(pfd::kSky, cutByLine(sphere, horizon, {-down.x, -down.y}));
        canvas.fillPolygon(pfd::kGround, cutByLine(sphere, horizon, down));
        clipToSphere(canvas);
        place(canvas, kAdiCentre, bank);
        canvas.translate(0, -p);
        canvas.drawPath(pfd::kRed5, shapes.chevrons);
        canvas.drawLine(pfd::kWhite15, {-120, 0}, {120, 0});
        drawPitchLadder(canvas, ahrs->onGround, p);
        const std::vector<PointF> pointer = {{0, p - 93}, {-8, p - 81}, {8, p - 81}};
        canvas.fillPolygon(pfd::kWhite, pointer);
        canvas.drawPolygon(pfd::kWhite15, pointer);
    }
    canvas.resetClip();
    drawLayer(canvas, layers.adiFrame, {}, [this](Canvas& frame) {
        place(frame, kAdiCentre, 0.0);
        frame.drawPath(pfd::kWhite15, shapes.adiOutline);
        frame.clipExcludeEllipse(kSphere);
        frame.drawPath(pfd::kWhite15, shapes.rollScale);
    });

    const std::size_t s = static_cast<std::size_t>(side - 1);
    const bool aoaInvalid = adc->validity[kAngleOfAttackGroup][s].invalid;
    const bool nearStall = static_cast<int32_t>(flightDirector->verticalMode()) == 8 ||
                           adc->smoothedAirspeed <= 1.23f * adc->minimumSpeed;
    if (adc->lowAoaMargin && nearStall && !frame.attitudeInvalid && !aoaInvalid) {
        place(canvas, kAdiCentre, 0.0);
        clipToSphere(canvas);
        canvas.translate(0, kUnitsPerDegree * (adc->angleOfAttack - adc->stallAngleOfAttack));
        const float speed = adc->smoothedAirspeed;
        const float stall = adc->minimumSpeed;
        const Pen& pen = adc->aoaMargin <= 2.0f || speed <= stall           ? pfd::kRed3
                         : adc->aoaMargin <= 5.0f || speed <= 1.13f * stall ? pfd::kAmber3
                                                                            : pfd::kGreen3;
        canvas.drawPath(pen, shapes.pitchLimit);
        canvas.resetClip();
    }
    drawCommandBars(canvas, frame);
    drawVerticalDeviation(canvas, frame);
    drawAdiAnnunciations(canvas, frame);
}

// Lines every 5 degrees, long and labelled at the tens; on the ground only those from -15 to
// +95 degrees, labelled from -10 to +30. Lines beyond the sphere's reach are never seen and are
// left out.
void Pfd::drawPitchLadder(Canvas& canvas, bool onGround, double centreOffset) {
    const double half = canvas.measureString("0", font18).height / 2.0;
    for (int degrees = -90; degrees <= 95; degrees += 5) {
        const double y = -kUnitsPerDegree * degrees;
        const bool major = degrees % 10 == 0;
        const bool shown =
            degrees != 0 && (major || degrees >= -85) &&
            (!onGround || (major ? degrees >= -10 && degrees <= 30 : degrees >= -15));
        if (!shown || std::fabs(y - centreOffset) > 130.0) {
            continue;
        }
        const double halfWidth = major ? 21.0 : 11.0;
        canvas.drawLine(pfd::kWhite15, {-halfWidth, y}, {halfWidth, y});
        if (major) {
            const std::string label = format("%d0", std::abs(degrees) / 10);
            canvas.drawString(label, font18, pfd::kWhite, {23, y - half});
            canvas.drawString(label, font18, pfd::kWhite, {-47, y - half});
        }
    }
}

void Pfd::drawCommandBars(Canvas& canvas, const Frame& frame) {
    const float pitch = ahrs->unit1.pitch;
    const float bank = ahrs->unit1.bank;
    const bool directorOn =
        side == 1 ? flightDirector->isDirectorOn(1) : flightDirector->isDirectorOn(2);
    const float pitchOffset =
        static_cast<float>(kUnitsPerDegree) * (flightDirector->pitchCommandBar() - pitch);
    place(canvas, kAdiCentre, 0.0);
    drawLayer(canvas, layers.aircraftSymbol, {vBarOn ? 1.0 : 0.0, 0.0}, [this](Canvas& symbol) {
        place(symbol, kAdiCentre, 0.0);
        const platform::gfx::Path& shape = vBarOn ? shapes.vBarSymbol : shapes.crossBarSymbol;
        symbol.fillPath(pfd::kBlack, shape);
        symbol.drawPath(pfd::kYellow2, shape);
    });
    if (vBarOn) {
        if (directorOn && !flightDirector->isInhibited() && !frame.attitudeInvalid) {
            clipToSphere(canvas);
            canvas.translate(0, pitchOffset - 1.5);
            canvas.rotate(bank - flightDirector->bankCommandBar());
            canvas.fillPath(pfd::kMagenta, shapes.vBarWedges);
            canvas.drawPath(pfd::kMagenta1, shapes.vBarWedges);
        }
    } else {
        if (directorOn && !frame.attitudeInvalid) {
            clipToSphere(canvas);
            const double d = -94.0 * std::sin(radians(flightDirector->bankCommandBar() - bank));
            canvas.drawLine(pfd::kMagenta25, {d, -64}, {d, 64});
            canvas.translate(0, pitchOffset);
            canvas.drawLine(pfd::kMagenta25, {-64, 0}, {64, 0});
        }
    }
    canvas.resetClip();
}

void Pfd::drawVerticalDeviation(Canvas& canvas, const Frame& frame) {
    if (frame.fmsSource) {
        drawVnavDeviation(canvas);
        return;
    }
    if (!frame.nav->glideSlopeFlag) {
        return;
    }
    place(canvas, kDeviationCentre, 0.0);
    const bool unpoweredReceiver = frame.nav->unpowered[3];
    if (unpoweredReceiver) {
        canvas.drawLine(pfd::kRed2, {-7, -52}, {7, 52});
        canvas.drawLine(pfd::kRed2, {7, -52}, {-7, 52});
    }
    canvas.drawPath(pfd::kWhite15, shapes.deviationScale);
    canvas.drawString("GS", font16, pfd::kWhite, {-12, -76});
    // A deviation that is not a number has no pointer.
    if (!unpoweredReceiver && std::isfinite(frame.nav->gsi)) {
        canvas.translate(0, frame.nav->gsi * 52.0 / 120.0);
        canvas.drawPath(pfd::kGreen2, shapes.deviationPointer);
    }
}

// The FMS's deviation from its descent path, while VNAV shows one: the pointer sits below the
// centre when the aircraft is above the path.
void Pfd::drawVnavDeviation(Canvas& canvas) {
    const Vnav* vnav = fms ? &fms->vnav() : nullptr;
    if (!vnav || !vnav->deviationShown) {
        return;
    }
    place(canvas, kDeviationCentre, 0.0);
    canvas.drawPath(pfd::kWhite15, shapes.deviationScale);
    canvas.drawString("FMS", font16, pfd::kWhite, {-16, -76});
    canvas.translate(0, vnav->deviationScale * 52.0 / 120.0);
    canvas.drawPath(pfd::kMagenta2, shapes.deviationPointer);
}

void Pfd::drawAdiAnnunciations(Canvas& canvas, const Frame& frame) {
    place(canvas, kAdiCentre, 0.0);
    const bool radioAltitudeValid = side == 1 ? radAlt->side1Powered : radAlt->side2Powered;
    if (radAlt->radioAltitude <= 2500.0f && radioAltitudeValid) {
        canvas.drawRectangle(pfd::kWhite15, {-21, 68, 42, 20});
        textRight(canvas, format("%d", radAlt->displayedAltitude()), font18, pfd::kGreen, {20, 68});
    }
    if (gpws && gpws->minimums) {
        const uint32_t age = now - gpws->minimumsTime;
        if (age >= 5000 || age % 500 < 250) {
            canvas.fillRectangle(pfd::kBlack, {46, 29, 32, 18});
            canvas.drawRectangle(pfd::kWhite15, {46, 29, 32, 18});
            canvas.drawString("MIN", font18, pfd::kAmber, {46, 28});
        }
    }
    const bool overspeed = side == 1 && !ahrs->onGround ? adc->isOverspeed1() : adc->isOverspeed2();
    if (overspeed) {
        drawLetters(canvas, font16, "MAXSPD",
                    {{{-101, -47}, {-100, -33}, {-100, -19}, {-100, 3}, {-100, 17}, {-100, 31}}});
    }
    const std::size_t s = static_cast<std::size_t>(side - 1);
    if (!ahrs->onGround && adc->smoothedAirspeed <= 1.13f * adc->minimumSpeed &&
        !adc->validity[kAirspeedGroup][s].invalid) {
        drawLetters(canvas, font16, "MINSPD",
                    {{{-101, -47}, {-97, -33}, {-100, -19}, {-100, 3}, {-100, 17}, {-100, 31}}});
    }
    if (frame.attitudeInvalid) {
        canvas.fillRectangle(pfd::kBlack, {-23, -60, 46, 34});
        textCentred(canvas, "ATT", font18, pfd::kRed, -61);
        textCentred(canvas, "FAIL", font18, pfd::kRed, -45);
    }
    const AhrsUnit& unit = ahrs->unit1;
    if (unit.attitudeSide1.invalid || unit.attitudeSide2.invalid) {
        canvas.fillRectangle(pfd::kBlack, {-78, -45, 34, 18});
        const uint32_t lossAge = now - unit.attitudeInvalidSince;
        if (lossAge > 10000 || lossAge % 1000 < 500) {
            canvas.drawString("ATT", font18, pfd::kAmber, {-78, -45});
        }
    }
}

} // namespace tavi
