#include "avionics/Adc.h"
#include "avionics/Ahrs.h"
#include "avionics/Autopilot.h"
#include "avionics/Baro.h"
#include "avionics/EicasDau.h"
#include "avionics/FlightDirector.h"
#include "avionics/Gps.h"
#include "avionics/RadAlt.h"
#include "avionics/Radio.h"
#include "avionics/Tcas.h"
#include "core/Format.h"
#include "displays/Pfd.h"
#include "displays/PfdPalette.h"
#include "fms/Fms.h"

#include <array>
#include <cmath>

namespace tavi {

using platform::gfx::Argb;
using platform::gfx::Canvas;
using platform::gfx::Pen;

namespace {

constexpr Pfd::PointF kFmaOrigin{200, 7};
constexpr const char* kDashes = "- - -";

bool flashVisible(uint32_t elapsed) {
    return elapsed % 500 < 250;
}

struct ModeText {
    const char* text;
    // The box drawn for three seconds after the mode became active; zero width for none.
    platform::gfx::RectF box;
};

ModeText verticalModeText(const FlightDirector& director) {
    switch (director.verticalMode()) {
    case FdVerticalMode::Pit:
        return {"PIT", {}};
    case FdVerticalMode::Alt:
        return {"ALT", {}};
    case FdVerticalMode::Asel:
        return {"ASEL", {23, 0, 40, 16}};
    case FdVerticalMode::Vs:
        return {"VS", {}};
    case FdVerticalMode::Speed:
        return {director.isMachMode() ? "MACH" : "IAS", {}};
    case FdVerticalMode::ClimbDescent:
        return {director.isClimbing() ? "CLB" : "DES", {}};
    case FdVerticalMode::Gs:
        return {"GS", {23, 0, 26, 16}};
    case FdVerticalMode::Toga:
        return {director.isTakeoffMode() ? "TO" : "GA", {}};
    default:
        return {"", {}};
    }
}

ModeText lateralModeText(FdLateralMode mode) {
    switch (mode) {
    case FdLateralMode::Rol:
    case FdLateralMode::TogaRol:
        return {"ROL", {}};
    case FdLateralMode::Hdg:
        return {"HDG", {}};
    case FdLateralMode::Vor:
        return {"VOR", {-60, 0, 35, 16}};
    case FdLateralMode::Vapp:
        return {"VAPP", {-67, 0, 42, 16}};
    case FdLateralMode::Loc:
        return {"LOC", {-59, 0, 34, 16}};
    case FdLateralMode::Bc:
        return {"BC", {-50, 0, 25, 16}};
    case FdLateralMode::Lnav:
        return {"LNAV", {-67, 0, 42, 16}};
    default:
        return {"", {}};
    }
}

const char* armedLateralText(FdLateralMode mode) {
    switch (mode) {
    case FdLateralMode::Vor:
    case FdLateralMode::Vapp:
    case FdLateralMode::Loc:
    case FdLateralMode::Bc:
    case FdLateralMode::Lnav:
        return lateralModeText(mode).text;
    default:
        return "";
    }
}

const char* bearingLegend(int32_t source, int pointer) {
    static constexpr std::array<std::array<const char*, 4>, 2> kLegends = {
        {{"OFF ", "VOR1", "ADF1", "FMS "}, {"OFF ", "VOR2", "ADF2", "FMS "}}};
    if (source < 0 || source > 3) {
        return "";
    }
    return kLegends[static_cast<std::size_t>(pointer - 1)][static_cast<std::size_t>(source)];
}

} // namespace

bool Pfd::altitudeAlert() const {
    if (!adc || !ahrs || !flightDirector) {
        return false;
    }
    const std::size_t s = static_cast<std::size_t>(side - 1);
    const bool altitudeBad = adc->validity[kAltitudeGroup][s].invalid || adc->selfTest[s];
    const float away = std::fabs(adc->indicatedAltitude - flightDirector->altitudePreselect());
    return !ahrs->onGround && away > 200.0f && away <= 1000.0f && !altitudeBad;
}

void Pfd::drawReadouts(Canvas& canvas, const Frame& frame) {
    canvas.resetClip();
    canvas.resetTransform();
    canvas.drawPath(pfd::kWhite15, shapes.speedTargetFrame);
    if (!std::isfinite(baro->mainSettingInHg) || !std::isfinite(baro->mainSettingHpa)) {
        text(canvas, kDashes, font16, pfd::kAmber, {310, 255});
    } else if (baroInInches) {
        text(canvas, format("%-4.2f", static_cast<double>(baro->mainSettingInHg)), font16,
             pfd::kCyan, {310, 255});
        text(canvas, "IN", font16, pfd::kWhite, {360, 255});
    } else {
        textRight(canvas, format("%-4d", static_cast<int32_t>(baro->mainSettingHpa)), font16,
                  pfd::kCyan, {345, 255});
        text(canvas, "HPA", font16, pfd::kWhite, {345, 255});
    }
    drawTargets(canvas);
    drawNavigationBlock(canvas, frame);
    if (!ahrs->onGround) {
        text(canvas,
             adc->windShown ? format("%-3.0f", static_cast<double>(adc->windSpeed)) : kDashes,
             font18, pfd::kMagenta, {22, 365});
        if (adc->windShown) {
            place(canvas, {65, 376}, adc->windDirection - frame.unit->token86Value + 180.0f);
            canvas.drawPath(pfd::kMagenta2, shapes.windArrow);
            canvas.resetTransform();
        }
    }
    canvas.drawEllipse(pfd::kCyan2, {26, 390, 14, 14});
    text(canvas, bearingLegend(bearing1Source, 1), font18, pfd::kCyan, {45, 387});
    canvas.drawPolygon(pfd::kWhite15, {{26, 419}, {33, 426}, {40, 419}, {33, 412}});
    text(canvas, bearingLegend(bearing2Source, 2), font18, pfd::kWhite, {45, 409});
    drawGroundSpeedOrTime(canvas, frame);
    drawStatusFlags(canvas);
    text(canvas, "HDG", font18, pfd::kWhite, {22, 432});
    if (frame.headingFailed) {
        text(canvas, kDashes, font18, pfd::kAmber, {22, 452});
    } else {
        text(canvas, format("%03.0f", static_cast<double>(flightDirector->headingBug())), font18,
             pfd::kCyan, {22, 452});
    }
}

void Pfd::drawTargets(Canvas& canvas) {
    const std::size_t s = static_cast<std::size_t>(side - 1);
    const bool sidePowered = !(side == 1 ? ahrs->side1Unpowered : ahrs->side2Unpowered);
    const auto mode = flightDirector->verticalMode();
    const bool speedFlownByVs =
        mode == FdVerticalMode::Vs ||
        (mode == FdVerticalMode::ClimbDescent && !flightDirector->isClimbing());
    if (sidePowered && speedFlownByVs && flightDirector->vsTarget() != 0.0f &&
        std::isfinite(flightDirector->vsTarget())) {
        canvas.drawLine(pfd::kWhite15, {372, 290}, {331, 290});
        canvas.drawLine(pfd::kWhite15, {331, 290}, {331, 275});
        textRight(canvas, format("%d", static_cast<int32_t>(flightDirector->vsTarget())), font16,
                  pfd::kCyan, {375, 272});
    }
    // A speed or a target that is not a number shows dashes, never a number cast from it.
    const float speedTarget =
        flightDirector->isMachMode() ? flightDirector->machTarget() : flightDirector->iasTarget();
    const bool airspeedBad = adc->validity[kAirspeedGroup][s].invalid || adc->selfTest[s] ||
                             !std::isfinite(adc->smoothedAirspeed) || !std::isfinite(speedTarget);
    if (airspeedBad) {
        textRight(canvas, kDashes, font20, pfd::kAmber, {62, 10});
    } else if (speedFlownByVs) {
        textRight(canvas, kDashes, font20, pfd::kCyan, {62, 10});
    } else if (flightDirector->isMachMode()) {
        const std::string target =
            format("%3.2fM", static_cast<double>(flightDirector->machTarget())).substr(1);
        textRight(canvas, target, font20, pfd::kCyan, {68, 10});
    } else {
        textRight(canvas, format("%d", static_cast<int32_t>(flightDirector->iasTarget())), font20,
                  pfd::kCyan, {62, 10});
    }

    const bool alert = altitudeAlert();
    const Pen& framePen = alert ? pfd::kAmber2 : pfd::kWhite15;
    canvas.drawLine(framePen, {377, 35}, {314, 35});
    canvas.drawLine(framePen, {314, 35}, {314, 8});
    const bool altitudeBad = adc->validity[kAltitudeGroup][s].invalid || adc->selfTest[s] ||
                             !std::isfinite(adc->indicatedAltitude) ||
                             !std::isfinite(flightDirector->altitudePreselect());
    if (altitudeBad) {
        textRight(canvas, kDashes, font20, pfd::kAmber, {357, 10});
        text(canvas, "- -", font18, pfd::kAmber, {351, 12.5});
    } else {
        const Argb colour = alert ? pfd::kAmber : pfd::kCyan;
        const int32_t hundreds = static_cast<int32_t>(flightDirector->altitudePreselect()) / 100;
        textRight(canvas, format("%3d", hundreds), font20, colour, {357, 10});
        text(canvas, "00", font18, colour, {351, 12.5});
    }

    if (!adc->isMachValid(side - 1) || !std::isfinite(adc->mach)) {
        text(canvas, ". - - -", font18, pfd::kAmber, {22, 255});
        text(canvas, "M", font18, pfd::kWhite, {58, 255});
    } else if (machVisible) {
        const bool atLimit =
            static_cast<int32_t>(adc->indicatedAirspeed) == static_cast<int32_t>(Adc::vmo) ||
            static_cast<int32_t>(adc->mach * 1000.0f) == static_cast<int32_t>(Adc::mmo * 1000.0f) ||
            overspeed();
        text(canvas, machText(adc->mach), font18, atLimit ? pfd::kRed : pfd::kGreen, {22, 255});
        text(canvas, "M", font18, pfd::kWhite, {58, 255});
    }
}

void Pfd::drawNavigationBlock(Canvas& canvas, const Frame& frame) {
    const RadioUnit& nav = *frame.nav;
    if (!frame.fmsSource) {
        text(canvas, format("%03d", nav.course == 0 ? 360 : nav.course), font18, pfd::kGreen,
             {22, 280});
        text(canvas, "CRS", font18, pfd::kGreen, {54, 280});
        text(canvas, format(nav.hasLocalizer ? "ILS%d" : "VOR%d", side), font18, pfd::kGreen,
             {22, 300});
        if (nav.navSignal != 0 || nav.glideSlopeFlag || nav.hasDme) {
            text(canvas, nav.identText, font18, pfd::kGreen, {22, 325});
        } else {
            text(canvas, "- - - -", font18, pfd::kAmber, {22, 325});
        }
        if (nav.hasDme && nav.dmeDistance > 0.0f && !nav.unpowered[0]) {
            text(canvas, distanceText(nav.dmeDistance), font18, pfd::kGreen, {22, 345});
        } else {
            text(canvas, "- - -.-", font18, pfd::kAmber, {22, 345});
        }
    } else {
        const LnavState* lnav = frame.lnav;
        const double track = lnav ? lnav->desiredTrackMagnetic : 0.0;
        text(canvas, track < 0.5 ? "360" : format("%03.0lf", track), font18, pfd::kMagenta,
             {22, 280});
        text(canvas, "DTK", font18, pfd::kMagenta, {54, 280});
        text(canvas, format("FMS%d", side), font18, pfd::kMagenta, {22, 300});
        if (lnav && lnav->approach) {
            text(canvas, "APP", font18, pfd::kMagenta, {80, 300});
        } else if (lnav && lnav->terminalArea) {
            text(canvas, "TRM", font18, pfd::kMagenta, {80, 300});
        }
        const bool valid = lnav && lnav->valid;
        if (valid) {
            text(canvas, lnav->ident, font18, pfd::kMagenta, {22, 325});
        } else {
            text(canvas, "- - - -", font18, pfd::kAmber, {22, 325});
        }
        if (valid && lnav->distanceToGo >= 0.0) {
            text(canvas, distanceText(lnav->distanceToGo), font18, pfd::kMagenta, {22, 345});
        } else {
            text(canvas, "- - -.-", font18, pfd::kAmber, {22, 345});
        }
    }
    text(canvas, "NM", font18, pfd::kWhite, {60, 345});
}

void Pfd::drawGroundSpeedOrTime(Canvas& canvas, const Frame& frame) {
    const RadioUnit& nav = *frame.nav;
    const float groundSpeed = gps ? gps->groundSpeed : 0.0f;
    const bool dmeSpeedValid = nav.hasDme && groundSpeed > 20.0f && nav.dmeSpeed > 0.0f;
    if (!showTimeToGo) {
        textRight(canvas, "GSPD", font18, pfd::kWhite, {325, 435});
        textRight(canvas, "KTS", font18, pfd::kWhite, {325, 453});
        if (!frame.fmsSource && dmeSpeedValid) {
            textRight(canvas, format("%1.0f", std::fabs(static_cast<double>(nav.dmeSpeed))), font18,
                      pfd::kGreen, {290, 453});
        } else if (frame.fmsSource && groundSpeed > 20.0f) {
            textRight(canvas, format("%1.0f", static_cast<double>(groundSpeed)), font18,
                      pfd::kMagenta, {290, 453});
        } else {
            textRight(canvas, kDashes, font18, pfd::kAmber, {290, 453});
        }
        return;
    }
    textRight(canvas, "ET", font18, pfd::kWhite, {325, 435});
    if (!frame.fmsSource && dmeSpeedValid) {
        textRight(canvas, navTimeToGoText(nav.dmeDistance, nav.dmeSpeed), font18, pfd::kGreen,
                  {325, 453});
    } else if (frame.fmsSource && frame.lnav && frame.lnav->timeToGo >= 0.0 &&
               groundSpeed > 20.0f) {
        textRight(canvas, fmsTimeToGoText(frame.lnav->timeToGo), font18, pfd::kMagenta, {325, 453});
    } else {
        textRight(canvas, "- -:- -", font18, pfd::kAmber, {325, 453});
    }
}

void Pfd::drawStatusFlags(Canvas& canvas) {
    if (tcas) {
        if (tcas->unpowered) {
            text(canvas, "TCAS", font18, pfd::kAmber, {280, 286});
            text(canvas, "FAIL", font18, pfd::kAmber, {280, 302});
        } else if (tcas->standby) {
            text(canvas, "TCAS", font18, pfd::kWhite, {280, 286});
            text(canvas, "OFF", font18, pfd::kWhite, {280, 302});
        } else if (tcas->taOnly) {
            text(canvas, "TA", font18, pfd::kWhite, {280, 286});
            text(canvas, "ONLY", font18, pfd::kWhite, {280, 302});
        } else {
            text(canvas, "TCAS", font18, pfd::kWhite, {280, 286});
        }
    }
    const int32_t decisionHeight = radAlt->decisionHeight;
    if (decisionHeight >= 5) {
        textRight(canvas, format("%d", decisionHeight >= 1000 ? 999 : decisionHeight), font18,
                  pfd::kCyan, {260, 240});
        text(canvas, "RA", font18, pfd::kWhite, {260, 240});
    }
    const AhrsUnit& unit = ahrs->unit1;
    if ((unit.headingSide1.invalid || unit.headingSide2.invalid) &&
        tenSecondFlagVisible(unit.headingInvalidSince)) {
        text(canvas, "HDG", font18, pfd::kAmber, {220, 258});
    }
    if (fms && !fms->messages.empty() && (now - fms->messageShownTime) % 1000 < 500) {
        text(canvas, "MSG", font18, pfd::kAmber, {220, 278});
    }
    if ((now - radio->token354Time) % 667 < 333) {
        switch (radio->token354Value) {
        case 1:
            canvas.drawRectangle(pfd::kWhite15, {266, 221, 13, 20});
            text(canvas, "O", font18, pfd::kCyan, {265, 220});
            break;
        case 2:
            canvas.drawRectangle(pfd::kWhite15, {296, 221, 13, 20});
            text(canvas, "M", font18, pfd::kOrange, {295, 220});
            break;
        case 3:
            canvas.drawRectangle(pfd::kWhite15, {282, 221, 11, 20});
            text(canvas, "I", font18, pfd::kWhite, {283, 220});
            break;
        default:
            break;
        }
    }
    const auto& aoa = adc->validity[kAngleOfAttackGroup];
    if ((aoa[0].invalid || aoa[1].invalid) && tenSecondFlagVisible(adc->invalidSince[2])) {
        text(canvas, "A", font16, pfd::kAmber, {72, 200});
        text(canvas, "O", font16, pfd::kAmber, {72, 215});
        text(canvas, "A", font16, pfd::kAmber, {72, 230});
    }
    if (radAlt->singleChannelLow && tenSecondFlagVisible(radAlt->singleChannelLowSince)) {
        text(canvas, "RA", font16, pfd::kAmber, {90, 220});
    }
    const char* ils = radio->navFailSeen ? (radio->flag4Seen ? "ILS" : "LOC")
                                         : (radio->flag4Seen ? "GS" : nullptr);
    if (ils && tenSecondFlagVisible(radio->radioFailTime)) {
        text(canvas, ils, font16, pfd::kAmber, {90, 236});
    }
    if (eicasDau && eicasDau->unpowered && tenSecondFlagVisible(eicasDau->powerLossTimeMs)) {
        text(canvas, "CAS MSG", font16, pfd::kAmber, {90, 252});
    }
}

void Pfd::drawFlightModeAnnunciator(Canvas& canvas) {
    canvas.resetClip();
    place(canvas, kFmaOrigin, 0.0);
    const FlightDirector& director = *flightDirector;
    if (!director.isInhibited()) {
        canvas.drawLine(pfd::kGreen2, {-12, 10}, {12, 10});
        const double tip = director.coupledSide() == 2 ? 12.0 : -12.0;
        const double barb = director.coupledSide() == 2 ? 4.0 : -4.0;
        canvas.drawLine(pfd::kGreen2, {tip, 10}, {barb, 5});
        canvas.drawLine(pfd::kGreen2, {tip, 10}, {barb, 15});
    }
    const Autopilot& ap = *autopilot;
    const uint32_t sinceLoss = now - ap.powerLostAt;
    const bool lossShown = sinceLoss >= 5000 || flashVisible(sinceLoss);
    if (ap.engaged && ap.unpowered) {
        if (lossShown) {
            textRight(canvas, "AP", font16, pfd::kRed, {-9, 18});
        }
    } else if (ap.engaged && director.isTcsActive()) {
        textRight(canvas, "TCS", font16, pfd::kWhite, {-9, 18});
    } else if (ap.engaged && std::fabs(director.turnKnobCommand()) > 0.1f) {
        textRight(canvas, "TN KNB", font16, pfd::kAmber, {-9, 18});
    } else if (ap.engaged) {
        textRight(canvas, "AP", font16, pfd::kGreen, {-9, 18});
    } else if (now - ap.disengagedAt <= 5000 && flashVisible(now - ap.disengagedAt)) {
        textRight(canvas, "AP", font16, pfd::kAmber, {-9, 18});
    }
    if (ap.yawDamper && ap.unpowered) {
        if (lossShown) {
            text(canvas, "YD", font16, pfd::kRed, {11, 18});
        }
    } else if (ap.yawDamper) {
        text(canvas, "YD", font16, pfd::kGreen, {11, 18});
    } else if (now - ap.yawDamperOffAt <= 5000 && flashVisible(now - ap.yawDamperOffAt)) {
        text(canvas, "YD", font16, pfd::kAmber, {11, 18});
    }

    const int32_t vertical = static_cast<int32_t>(director.verticalMode());
    if (vertical != fmaVerticalMode) {
        fmaVerticalMode = vertical;
        fmaVerticalModeTime = now;
    }
    const ModeText active = verticalModeText(director);
    text(canvas, active.text, font16, pfd::kGreen, {24, 0});
    if (active.box.width > 0.0 && now - fmaVerticalModeTime <= 3000) {
        canvas.drawRectangle(pfd::kWhite15, active.box);
    }
    const int32_t armed = static_cast<int32_t>(director.armedVerticalMode());
    if (armed != fmaArmedVerticalMode) {
        fmaArmedVerticalMode = armed;
        altitudeSelectChangeTime = now;
    }
    if (director.armedVerticalMode() == FdVerticalMode::Asel &&
        now - altitudeSelectChangeTime >= 2000) {
        text(canvas, "ASEL", font16, pfd::kWhite, {70, 0});
    } else if (director.armedVerticalMode() == FdVerticalMode::Gs) {
        text(canvas, "GS", font16, pfd::kWhite, {70, 0});
    }
    const int32_t lateral = static_cast<int32_t>(director.lateralMode());
    if (lateral != fmaLateralMode) {
        fmaLateralMode = lateral;
        fmaLateralModeTime = now;
    }
    const ModeText lateralText = lateralModeText(director.lateralMode());
    textRight(canvas, lateralText.text, font16, pfd::kGreen, {-24, 0});
    if (lateralText.box.width > 0.0 && now - fmaLateralModeTime <= 3000) {
        canvas.drawRectangle(pfd::kWhite15, lateralText.box);
    }
    textRight(canvas, armedLateralText(director.armedLateralMode()), font16, pfd::kWhite, {-70, 0});
}

} // namespace tavi
