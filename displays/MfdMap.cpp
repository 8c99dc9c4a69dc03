#include "avionics/Adc.h"
#include "avionics/Ahrs.h"
#include "avionics/FlightDirector.h"
#include "avionics/Gps.h"
#include "avionics/Radio.h"
#include "core/Format.h"
#include "displays/Mfd.h"
#include "displays/Pfd.h"
#include "displays/ScreenDrawing.h"
#include "fms/Fms.h"
#include "fms/GlobalFlightPlans.h"

#include <cmath>
#include <numbers>

namespace tavi {

using platform::gfx::Canvas;
using platform::gfx::PointF;
using platform::gfx::RectF;

namespace {

constexpr PointF kMapCentre{200, 212};
constexpr PointF kPlanCentre{200, 130};
constexpr double kMapRadius = 162.0;
constexpr double kPlanRadius = 110.0;
constexpr double kArcHalfWidth = 63.0;
constexpr const char* kDashes4 = "- - - -";

PointF offset(PointF point, double dx, double dy) {
    return {point.x + dx, point.y + dy};
}

std::vector<PointF> around(PointF point, std::initializer_list<PointF> shape) {
    std::vector<PointF> points;
    points.reserve(shape.size());
    for (const PointF& corner : shape) {
        points.push_back(offset(point, corner.x, corner.y));
    }
    return points;
}

// The bug's angle clockwise from the heading, 0..360.
float bugOffset(float bug, float heading) {
    float b = bug - heading;
    while (b < 0.0f) {
        b += 360.0f;
    }
    return b;
}

} // namespace

// Data fields.

void Mfd::drawDataFields(Canvas& canvas) {
    drawNavigationSource(canvas);
    drawAirData(canvas);
    canvas.drawLine(penWhite15b, {20, 300}, {380, 300});
    canvas.drawLine(penWhite15b, {20, 410}, {380, 410});
    drawWind(canvas);
    if (navAptMode == kNavaids || navAptMode == kBoth) {
        canvas.drawString("NAV", font18, kGreen, {355, 220});
    }
    if (navAptMode == kAirports || navAptMode == kBoth) {
        canvas.drawString("APT", font18, kCyan, {355, 240});
    }
    if (!planMode) {
        drawHeadingBugPointer(canvas);
    } else {
        canvas.drawString("N", font18, kWhite, {24, 136});
        canvas.drawLine(penWhite15b, {32, 135}, {32, 115});
        canvas.drawLine(penWhite15b, {32, 115}, {26, 121});
        canvas.drawLine(penWhite15b, {32, 115}, {38, 121});
        canvas.drawLine(penWhite15b, {32, 154}, {32, 174});
    }
}

void Mfd::drawNavigationSource(Canvas& canvas) {
    const RadioUnit* nav = navUnit();
    if (!flightDirector || !nav) {
        return;
    }
    const bool fmsSource = flightDirector->isFmsSource(side);
    Reading ident{kDashes4, kYellow};
    Reading distance{"- - -.-", kYellow};
    Reading time{"- - -", kYellow};
    if (fmsSource) {
        canvas.drawString(format("FMS%d", side), font18, kMagenta, {16, 15});
        const LnavState* lnav = fms ? fms->lnavState() : nullptr;
        if (lnav && lnav->valid) {
            ident = {lnav->ident, kMagenta};
            if (lnav->distanceToGo >= 0.0) {
                distance = {Pfd::distanceText(lnav->distanceToGo), kMagenta};
            }
            if (lnav->timeToGo >= 0.0) {
                time = {format("%1.0f", lnav->timeToGo / 60.0), kMagenta};
            }
        }
    } else {
        canvas.drawString(format("NAV%d", side), font18, kGreen, {16, 15});
        if (nav->navSignal != 0 || nav->glideSlopeFlag || nav->hasDme) {
            ident = {nav->identText, kGreen};
        }
        if (nav->hasDme && nav->dmeDistance > 0.0f && !nav->unpowered[0]) {
            distance = {Pfd::distanceText(nav->dmeDistance), kGreen};
        }
        const float groundSpeed = gps ? gps->groundSpeed : 0.0f;
        if (nav->hasDme && groundSpeed > 20.0f && nav->dmeSpeed > 0.0f) {
            const auto seconds =
                static_cast<int32_t>(nav->dmeDistance / std::fabs(nav->dmeSpeed) * 3600.0f);
            time = {format("%1.0f", static_cast<double>(seconds) / 60.0), kGreen};
        }
    }
    canvas.drawString(ident.text, font18, ident.colour, {16, 35});
    canvas.drawString(distance.text, font18, distance.colour, {16, 55});
    canvas.drawString("NM", font18, kWhite, {54, 55});
    canvas.drawString(time.text, font18, time.colour, {16, 75});
    canvas.drawString("MIN", font18, kWhite, {54, 75});
}

std::string Mfd::temperatureText(float celsius) {
    if (!std::isfinite(celsius)) {
        return kNoValue;
    }
    if (celsius > -0.5f && celsius < 0.5f) {
        return "0";
    }
    return format("%+1.0f", static_cast<double>(celsius));
}

void Mfd::drawAirData(Canvas& canvas) {
    if (!adc) {
        return;
    }
    drawRightAligned(canvas, temperatureText(adc->staticAirTemperature), font18, kGreen, 350, 15);
    canvas.drawString("SAT", font18, kWhite, {355, 15});
    drawRightAligned(canvas, temperatureText(adc->totalAirTemperature), font18, kGreen, 350, 35);
    canvas.drawString("TAT", font18, kWhite, {355, 35});
    drawRightAligned(canvas, wholeNumberText(adc->trueAirspeed), font18, kGreen, 350, 55);
    canvas.drawString("TAS", font18, kWhite, {355, 55});
}

void Mfd::drawWind(Canvas& canvas) {
    if (!adc || !ahrs || ahrs->onGround) {
        return;
    }
    if (!adc->windShown) {
        canvas.drawString("- - -", font18, kMagenta, {16, 184});
        return;
    }
    canvas.drawString(format("%-3.0f", static_cast<double>(adc->windSpeed)), font18, kMagenta,
                      {16, 184});
    canvas.translate(65, 195);
    canvas.rotate(adc->windDirection - ahrs->unit1.token86Value + 180.0f);
    canvas.drawPath(penMagenta2, windArrowPath);
    canvas.resetTransform();
}

void Mfd::drawHeadingBugPointer(Canvas& canvas) {
    const HeadingState heading = headingState();
    if (heading.lost || !flightDirector) {
        return;
    }
    const float b = bugOffset(flightDirector->headingBug(), heading.heading);
    if (b > 180.0f && b < 297.0f) {
        canvas.translate(26, 110);
        canvas.rotate(-135);
    } else if (b > 63.0f && b <= 180.0f) {
        canvas.translate(374, 110);
        canvas.rotate(135);
    } else {
        return;
    }
    canvas.drawPath(penCyan2, windArrowPath);
    canvas.resetTransform();
}

std::string Mfd::crossTrackText(double crossTrack) {
    const double a = std::fabs(crossTrack);
    const char sideLetter = crossTrack > 0.0 ? 'R' : 'L';
    if (a < 0.005) {
        return "0.0";
    }
    if (a < 0.995) {
        return format("%4.2lf%c", a, sideLetter);
    }
    if (a < 99.95) {
        return format("%3.1lf%c", a, sideLetter);
    }
    if (a < 128.0) {
        return format("%3.0lf%c", a, sideLetter);
    }
    return {};
}

void Mfd::drawCrossTrack(Canvas& canvas) {
    const LnavState* lnav = fms ? fms->lnavState() : nullptr;
    if (!lnav || !lnav->valid) {
        return;
    }
    const std::string text = crossTrackText(lnav->crossTrackError);
    if (text.empty()) {
        return;
    }
    const double width = canvas.measureString(text, font18).width;
    canvas.fillRectangle(kBlack, {200 - width / 2 - 1, 276, width + 2, 20});
    canvas.drawString(text, font18, kWhite, {200 - width / 2, 276});
}

// Views.

std::string Mfd::halfRangeText(int32_t range) {
    return range % 2 == 0 ? format("%d", range / 2) : format("%d.5", range / 2);
}

void Mfd::drawMapView(Canvas& canvas) {
    const HeadingState heading = headingState();
    canvas.resetTransform();
    canvas.resetClip();
    canvas.translate(kMapCentre.x, kMapCentre.y);
    if (!heading.lost && adc) {
        canvas.save();
        canvas.rotate(adc->driftAngle);
        canvas.drawPath(penMagenta2, trackPointerPath);
        canvas.restore();
    }
    canvas.drawArc(penWhite15b, {-kMapRadius, -kMapRadius, 2 * kMapRadius, 2 * kMapRadius}, 207,
                   126);

    canvas.save();
    canvas.clipPolygon(mapSectorRegion);
    canvas.rotate(-heading.heading);
    canvas.drawPath(penWhite15b, compassTickPath);
    // Only the figures near the arc can show through the wedge.
    for (std::size_t i = 0; i < compassLabelPath.size(); ++i) {
        const float off =
            std::fabs(std::remainder(30.0f * static_cast<float>(i) - heading.heading, 360.0f));
        if (off <= kArcHalfWidth + 15.0) {
            canvas.fillPath(kWhite, compassLabelPath[i]);
        }
    }
    canvas.restore();

    canvas.resetClip();
    canvas.drawPath(penWhite15b, headingBoxPath);
    if (!heading.lost) {
        drawSymbols(canvas);
    }
    const std::string readout = heading.lost ? "- - -" : Pfd::headingReadoutText(heading.heading);
    drawCentred(canvas, readout, font20, heading.lost ? kYellow : kGreen, 0, -196);
    if (!heading.lost && flightDirector) {
        const float b = bugOffset(flightDirector->headingBug(), heading.heading);
        if (b <= kArcHalfWidth || b >= 360.0 - kArcHalfWidth) {
            canvas.save();
            canvas.rotate(b);
            canvas.drawPath(penCyan2, headingBugPath);
            canvas.restore();
        }
    }
    canvas.drawPath(penWhite1, aircraftSymbolPath);
    canvas.drawArc(penWhite15b, {-81, -81, 162, 162}, 190, 160);
    for (const double t : {-60.0, 60.0}) {
        const double angle = t * std::numbers::pi / 180.0;
        canvas.drawLine(penWhite15b, {std::sin(angle) * 73, -std::cos(angle) * 73},
                        {std::sin(angle) * 89, -std::cos(angle) * 89});
    }
    const std::string half = halfRangeText(range());
    drawCentred(canvas, half, font20, kWhite, 81, -10);
    drawCentred(canvas, half, font20, kWhite, -81, -10);
    if (heading.lost) {
        canvas.fillRectangle(kBlack, {-22, -120, 44, 32});
        drawCentred(canvas, "HDG", font18, kRed, 0, -120);
        drawCentred(canvas, "FAIL", font18, kRed, 0, -104);
    }
}

void Mfd::drawPlanView(Canvas& canvas) {
    canvas.resetTransform();
    canvas.resetClip();
    canvas.translate(kPlanCentre.x, kPlanCentre.y);
    const RectF ring{-kPlanRadius, -kPlanRadius, 2 * kPlanRadius, 2 * kPlanRadius};
    canvas.drawArc(penWhite15b, ring, 188, 164);
    canvas.drawArc(penWhite15b, ring, 8, 164);
    drawSymbols(canvas);
    canvas.drawPath(penWhite1, aircraftSymbolPath);
    const std::string text = format("%d", range());
    canvas.drawString(text, font20, kWhite, {102, -10});
    drawRightAligned(canvas, text, font20, kWhite, -100, -10);
}

Mfd::Projection::Projection(double latitude, double longitude, double rotation, double scale)
    : origin(latitude, longitude), sinRotation(std::sin(-rotation * std::numbers::pi / 180.0)),
      cosRotation(std::cos(-rotation * std::numbers::pi / 180.0)), pixelsPerNm(scale) {}

PointF Mfd::Projection::place(double latitude, double longitude) const {
    double east = 0.0;
    double north = 0.0;
    origin.eastNorthTo(latitude, longitude, east, north);
    const double x = pixelsPerNm * east;
    const double y = -pixelsPerNm * north;
    return {x * cosRotation - y * sinRotation, x * sinRotation + y * cosRotation};
}

bool Mfd::Projection::reaches(PointF point, const RectF& clipBounds) const {
    constexpr double kIdentReach = 70.0;
    constexpr double kSymbolReach = 20.0;
    return point.x >= clipBounds.x - kIdentReach &&
           point.x <= clipBounds.x + clipBounds.width + kSymbolReach &&
           point.y >= clipBounds.y - kSymbolReach &&
           point.y <= clipBounds.y + clipBounds.height + kIdentReach;
}

bool Mfd::Projection::crosses(PointF from, PointF to, const RectF& clipBounds) {
    const double right = clipBounds.x + clipBounds.width;
    const double bottom = clipBounds.y + clipBounds.height;
    return !((from.x < clipBounds.x && to.x < clipBounds.x) || (from.x > right && to.x > right) ||
             (from.y < clipBounds.y && to.y < clipBounds.y) || (from.y > bottom && to.y > bottom));
}

RectF Mfd::symbolBounds() const {
    return planMode ? RectF{-kPlanRadius, -kPlanRadius, 2 * kPlanRadius, 2 * kPlanRadius}
                    : RectF{-125, -125, 250, 210};
}

Mfd::Projection Mfd::projection() const {
    const FlightPlan& plan = activeFlightPlan;
    double latitude = fms ? fms->position.latitude : 0.0;
    double longitude = fms ? fms->position.longitude : 0.0;
    if (plan.nextFixOffset >= 0) {
        const std::size_t index = plan.activeLeg + static_cast<std::size_t>(plan.nextFixOffset);
        if (index < plan.legs.size()) {
            latitude = plan.legs[index].wpt.latitude;
            longitude = plan.legs[index].wpt.longitude;
        }
    }
    double rotation = 0.0;
    if (!planMode && ahrs) {
        rotation = (side == 1 ? ahrs->unit1 : ahrs->unit2).token86Value;
    }
    const double radius = planMode ? kPlanRadius : kMapRadius;
    return {latitude, longitude, rotation, radius / range()};
}

void Mfd::drawSymbols(Canvas& canvas) {
    canvas.resetClip();
    if (planMode) {
        canvas.clipEllipse({-kPlanRadius, -kPlanRadius, 2 * kPlanRadius, 2 * kPlanRadius});
    } else {
        canvas.clipPolygon(mapClipRegion);
    }
    const Projection view = projection();
    if (navAptMode == kNavaids || navAptMode == kBoth) {
        drawNavaids(canvas, view);
    }
    if (navAptMode == kAirports || navAptMode == kBoth) {
        drawAirports(canvas, view);
    }
    drawFlightPlan(canvas, view);
    canvas.resetClip();
}

void Mfd::drawNavaids(Canvas& canvas, const Projection& view) {
    for (const Navaid& navaid : nearbyNavaids) {
        if (navaid.id == 0) {
            continue;
        }
        const int32_t type = navaid.navaidType;
        const bool vor = type == 1 || type == 2 || type == 4;
        const bool dme = type == 2 || type == 4 || type == 3 || type == 9 || type == 7;
        const bool ndb = type == 5 || type == 7;
        if (!vor && !dme && !ndb) {
            continue;
        }
        const PointF p = view.place(navaid.latitude, navaid.longitude);
        if (!view.reaches(p, symbolBounds())) {
            continue;
        }
        if (vor) {
            canvas.drawPolygon(
                penGreen2,
                around(p, {{3, -5.196}, {6, 0}, {3, 5.196}, {-3, 5.196}, {-6, 0}, {-3, -5.196}}));
        }
        if (dme) {
            canvas.drawPolygon(penGreen2, around(p, {{3, -5.196},
                                                     {7.5, -7.794},
                                                     {10.5, -2.598},
                                                     {6, 0},
                                                     {3, 5.196},
                                                     {3, 9.696},
                                                     {-3, 9.696},
                                                     {-3, 5.196},
                                                     {-6, 0},
                                                     {-10.5, -2.598},
                                                     {-7.5, -7.794},
                                                     {-3, -5.196}}));
        }
        if (ndb) {
            canvas.drawEllipse(penGreen2, {p.x - 3, p.y - 3, 6, 6});
            canvas.drawEllipse(penGreen2, {p.x - 7, p.y - 7, 14, 14});
        }
        if (showData) {
            canvas.drawString(navaid.ident, font16, kGreen, offset(p, 12, -16));
        }
    }
}

void Mfd::drawAirports(Canvas& canvas, const Projection& view) {
    for (const Airport& airport : nearbyAirports) {
        if (airport.id == 0) {
            continue;
        }
        const PointF p = view.place(airport.latitude, airport.longitude);
        if (!view.reaches(p, symbolBounds())) {
            continue;
        }
        const bool primary = airport.primaryId == 0;
        if (primary) {
            canvas.drawEllipse(penCyan2, {p.x - 6, p.y - 6, 12, 12});
        }
        if (showData) {
            canvas.drawString(airport.ident, font16, kCyan, offset(p, 10, primary ? -3 : 13));
        }
    }
}

// Flight-plan overlay.

void Mfd::drawFlightPlan(Canvas& canvas, const Projection& view) {
    const FlightPlan& plan = activeFlightPlan;
    if (!plan.hasOriginAndDestination() || plan.legs.empty()) {
        return;
    }
    const std::size_t first = plan.activeLeg > 0 ? plan.activeLeg - 1 : 0;
    drawPlanLines(canvas, plan, view, first);
    drawPlanFixes(canvas, plan, view, first);
}

void Mfd::drawPlanLines(Canvas& canvas, const FlightPlan& plan, const Projection& view,
                        std::size_t first) {
    const std::size_t active = plan.activeLeg;
    for (std::size_t i = std::max(first, active); i < plan.legs.size(); ++i) {
        const FlightPlanLeg& leg = plan.legs[i];
        if (leg.isFixLeg()) {
            for (const PilotPoint& marker : leg.markers) {
                if (marker.ident != "TOC" && marker.ident != "TOD") {
                    continue;
                }
                const PointF p = view.place(marker.latitude, marker.longitude);
                if (!view.reaches(p, symbolBounds())) {
                    continue;
                }
                canvas.drawPolygon(penWhite15b, around(p, {{0, -8}, {5, 0}, {0, 8}, {-5, 0}}));
                if (showData) {
                    canvas.drawString(marker.ident, font16, kWhite, offset(p, 12, -16));
                }
            }
        }
        const bool turnSkipped = leg.isProcedureTurnLeg() && leg.pcdrTurn.turnType == 2;
        for (std::size_t k = 0; k < leg.path.size(); ++k) {
            const PathSegment& segment = leg.path[k];
            PointF from = view.place(segment.startLatitude, segment.startLongitude);
            PointF to = view.place(segment.endLatitude, segment.endLongitude);
            if (segment.turnDirection == kSegmentStraight) {
                if (Projection::crosses(from, to, symbolBounds())) {
                    canvas.drawLine(penWhite15b, from, to);
                }
                continue;
            }
            if (segment.turnDirection != kSegmentLeftArc &&
                segment.turnDirection != kSegmentRightArc) {
                continue;
            }
            if ((k == 0 && leg.startKind == kStartDirectTo) || turnSkipped) {
                continue;
            }
            // An arc is drawn along the turn LNAV flies, through its intermediate points, not
            // as a chord that would cut the corner of the turn.
            std::vector<PointF> points{from};
            for (const auto& [latitude, longitude] : segment.points) {
                points.push_back(view.place(latitude, longitude));
            }
            points.push_back(to);
            drawPolyline(canvas, penWhite15b, points);
        }
    }
}

void Mfd::drawPlanFixes(Canvas& canvas, const FlightPlan& plan, const Projection& view,
                        std::size_t first) {
    const std::size_t active = plan.activeLeg;
    for (std::size_t i = first; i < plan.legs.size(); ++i) {
        const FlightPlanLeg& leg = plan.legs[i];
        const PointF p = view.place(leg.wpt.latitude, leg.wpt.longitude);
        if (leg.orbit.active) {
            const double radius = leg.orbit.radius * view.scale();
            canvas.drawEllipse(penWhite15b, {p.x - radius, p.y - radius, 2 * radius, 2 * radius});
        } else if (i >= active && (leg.holding.active != 0 || leg.holding.entered != 0)) {
            std::array<PointF, 4> corners;
            for (std::size_t c = 0; c < 4; ++c) {
                corners[c] =
                    view.place(leg.holding.cornerLatitudes[c], leg.holding.cornerLongitudes[c]);
            }
            drawHold(canvas, corners);
        }
        const bool isActive = i == active;
        if (!view.reaches(p, symbolBounds())) {
            continue;
        }
        canvas.drawPolygon(
            isActive ? penMagenta2 : penWhite15b,
            around(p, {{0, -9}, {2, -2}, {9, 0}, {2, 2}, {0, 9}, {-2, 2}, {-9, 0}, {-2, -2}}));
        if (showData) {
            canvas.drawString(leg.wpt.ident, font16, isActive ? kMagenta : kWhite,
                              offset(p, 12, -16));
        }
    }
}

void Mfd::drawHold(Canvas& canvas, const std::array<PointF, 4>& c) {
    canvas.drawLine(penWhite15b, c[0], c[1]);
    canvas.drawLine(penWhite15b, c[2], c[3]);
    // Each turn is the half of the circle on its two corners that lies away from the racetrack's
    // other two corners.
    const auto turn = [&canvas](PointF a, PointF b, PointF inner) {
        const PointF mid{(a.x + b.x) / 2, (a.y + b.y) / 2};
        const double radius = std::hypot(b.x - a.x, b.y - a.y) / 2;
        if (radius <= 0.0) {
            return;
        }
        const double start = std::atan2(a.y - mid.y, a.x - mid.x) * 180.0 / std::numbers::pi;
        const double halfway = (start + 90.0) * std::numbers::pi / 180.0;
        const double outward =
            std::cos(halfway) * (mid.x - inner.x) + std::sin(halfway) * (mid.y - inner.y);
        canvas.drawArc(penWhite15b, {mid.x - radius, mid.y - radius, 2 * radius, 2 * radius}, start,
                       outward >= 0.0 ? 180.0 : -180.0);
    };
    turn(c[1], c[2], {(c[0].x + c[3].x) / 2, (c[0].y + c[3].y) / 2});
    turn(c[3], c[0], {(c[1].x + c[2].x) / 2, (c[1].y + c[2].y) / 2});
}

} // namespace tavi
