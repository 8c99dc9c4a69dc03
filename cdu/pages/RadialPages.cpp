#include "cdu/pages/RadialPages.h"

#include "cdu/pages/CduPageIds.h"
#include "cdu/pages/NavPageKeys.h"
#include "cdu/pages/PageText.h"
#include "cdu/pages/PatternPages.h"
#include "cdu/pages/WaypointEntry.h"
#include "core/Angles.h"
#include "fms/Fms.h"
#include "fms/GlobalFlightPlans.h"

namespace tavi {

using namespace navpages;
using namespace pagetext;

namespace {

constexpr const char* kTrueCoursesOnly = "BRG/CRS MUST BE IN TRUE";
constexpr const char* kNoIntersection = "RADIALS DO NOT INTERSECT";
constexpr const char* kNoCourseTenths = "\u2013\u2013\u2013.\u2013\u00B0";
constexpr const char* kNoCourse = "\u2013\u2013\u2013\u00B0";
constexpr const char* kNoDistance = "\u2013\u2013\u2013.\u2013";
constexpr double kPolarNorth = 73.0;
constexpr double kPolarSouth = -60.0;

std::string courseTenths(double course, bool isTrue) {
    return RadialPattern::isEntered(course) ? FmsParser::formatCourseTenths(course, isTrue)
                                            : kNoCourseTenths;
}

std::string distanceText(double distance) {
    return RadialPattern::isEntered(distance) ? FmsParser::formatLongDistance(distance) + "NM"
                                              : kNoDistance;
}

std::string courseText(double course, bool isTrue) {
    return RadialPattern::isEntered(course) ? FmsParser::formatCourse(course, isTrue) : kNoCourse;
}

bool isMagnetic(double course, bool isTrue) {
    return RadialPattern::isEntered(course) && !isTrue;
}

} // namespace

void RadialPages::registerPages() {
    Fms::CduPageEntry& radial = fms.pages[cdu_page::kRadial];
    radial.draw = [this] {
        drawRadialPage();
    };
    radial.onKey = [this](int32_t key) {
        onRadialKey(key);
    };
    radial.enter = [this] {
        const int32_t returnSubPage = radialPattern.returnSubPage;
        radialPattern = RadialPattern();
        radialPattern.returnSubPage = returnSubPage;
    };
    Fms::CduPageEntry& intercept = fms.pages[cdu_page::kIntercept];
    intercept.draw = [this] {
        drawInterceptPage();
    };
    intercept.onKey = [this](int32_t key) {
        onInterceptKey(key);
    };
    intercept.enter = [this] {
        interceptPattern = RadialPattern();
        interceptPattern.returnSubPage = fms.activeFplPage.subPage;
    };
}

const Waypoint& RadialPages::toFix() const {
    return PatternPages::selectedLeg(fms).wpt;
}

const Waypoint& RadialPages::fromFix() const {
    const FlightPlan& plan = PatternPages::selectedPlan(fms);
    const int32_t line = fms.activeFplPage.selectedLine;
    if (line - 1 <= 0) {
        return plan.org;
    }
    return plan.legs[static_cast<std::size_t>(line - 2)].wpt;
}

void RadialPages::drawRadialPage() const {
    CduScreen& screen = fms.screen;
    const RadialPattern& r = radialPattern;
    screen.drawTitle("RADIAL");
    screen.drawPageNumber(1, 1);
    label(screen, 1, 2, "RADIAL FIX");
    screen.putText(2, 1, toFix().ident, CduColour::Green, true, false);
    label(screen, 3, 1, "INBOUND");
    labelEndingAt(screen, 3, 22, "OUTBOUND");
    screen.putText(4, 0, courseTenths(r.inboundCourse, r.inboundTrue), CduColour::Green, true,
                   false);
    valueEndingAt(screen, 4, 23, courseTenths(r.outboundCourse, r.outboundTrue), CduColour::Green);
    label(screen, 5, 1, "DIST");
    labelEndingAt(screen, 5, 22, "DIST");
    screen.putText(6, 0, distanceText(r.inboundDistance), CduColour::Green, true, false);
    valueEndingAt(screen, 6, 23, distanceText(r.outboundDistance), CduColour::Green);
    screen.drawLeftPrompt("CLEAR", false, 7);
    if (radialComplete(true) || radialComplete(false)) {
        screen.drawRightPrompt("ACTIVATE", false, 7);
    }
}

bool RadialPages::radialComplete(bool inbound) const {
    const RadialPattern& r = radialPattern;
    return inbound ? RadialPattern::isEntered(r.inboundCourse) &&
                         RadialPattern::isEntered(r.inboundDistance)
                   : RadialPattern::isEntered(r.outboundCourse) &&
                         RadialPattern::isEntered(r.outboundDistance);
}

template <class Parse>
void RadialPages::enterField(double& field, Parse parse) {
    if (fms.isScratchpadDelete()) {
        field = RadialPattern::kNotEntered;
        fms.takeScratchpad();
        return;
    }
    const std::string entry = fms.scratchPad.text();
    if (entry.empty()) {
        return;
    }
    if (parse(entry)) {
        fms.takeScratchpad();
    } else {
        fms.showMessage(kInvalidEntry, 0);
    }
}

void RadialPages::enterCourse(double& course, bool& isTrue) {
    enterField(course, [&](const std::string& entry) {
        return FmsParser::parseCourse(entry, course, isTrue);
    });
}

void RadialPages::onRadialKey(int32_t key) {
    RadialPattern& r = radialPattern;
    const auto enterDistance = [this](double& distance) {
        enterField(distance, [&](const std::string& entry) {
            return FmsParser::parseRadialDistance(entry, distance);
        });
    };
    switch (key) {
    case kL2:
        enterCourse(r.inboundCourse, r.inboundTrue);
        break;
    case kL3:
        enterDistance(r.inboundDistance);
        break;
    case kR2:
        enterCourse(r.outboundCourse, r.outboundTrue);
        break;
    case kR3:
        enterDistance(r.outboundDistance);
        break;
    case kL4:
        fms.patternPages.showReturnPage();
        break;
    case kR4:
        if (radialComplete(true) || radialComplete(false)) {
            activateRadial();
        }
        break;
    default:
        break;
    }
}

bool RadialPages::refusesMagneticInPolarRegion(const Waypoint& fix, bool anyMagnetic) {
    const bool polar = fix.latitude > kPolarNorth || fix.latitude < kPolarSouth;
    if (polar && anyMagnetic) {
        fms.showMessage(kTrueCoursesOnly, 1);
        return true;
    }
    return false;
}

void RadialPages::activateRadial() {
    // Points on the radials of a line that names no fix would be laid out from 0N 0E.
    if (!PatternPages::designatesLeg(fms)) {
        fms.patternPages.showReturnPage();
        return;
    }
    const RadialPattern& r = radialPattern;
    const Waypoint fix = toFix();
    if (refusesMagneticInPolarRegion(fix, isMagnetic(r.inboundCourse, r.inboundTrue) ||
                                              isMagnetic(r.outboundCourse, r.outboundTrue))) {
        return;
    }
    const auto makePoint = [&](double bearing, bool bearingTrue, double distance) {
        const std::string name = fms.activeFplPage.nextPointName(PointFamily::PlaceBearingDistance);
        PilotPoint point = WaypointEntry::makePbdPoint(name, fix, bearing, bearingTrue, distance);
        fms.pilotPoints().add(point);
        return point;
    };
    const bool inbound = radialComplete(true);
    const bool outbound = radialComplete(false);
    PilotPoint before;
    PilotPoint after;
    if (inbound) {
        before = makePoint(normalize360(r.inboundCourse + 180.0), r.inboundTrue, r.inboundDistance);
    }
    if (outbound) {
        after = makePoint(r.outboundCourse, r.outboundTrue, r.outboundDistance);
    }
    FlightPlan& plan = PatternPages::selectedPlan(fms);
    const auto line = static_cast<std::size_t>(fms.activeFplPage.selectedLine);
    if (outbound) {
        plan.insertWaypoint(after, line, false, fms.planContext());
    }
    if (inbound && line > 0) {
        plan.insertWaypoint(before, line - 1, false, fms.planContext());
    }
    fms.patternPages.showReturnPage();
}

void RadialPages::drawInterceptPage() const {
    CduScreen& screen = fms.screen;
    const RadialPattern& r = interceptPattern;
    const bool courseEntered = RadialPattern::isEntered(r.outboundCourse);
    screen.drawTitle("INTERCEPT");
    screen.drawPageNumber(1, 1);
    label(screen, 1, 2, "FROM ");
    screen.putText(1, 7, fromFix().ident, CduColour::Green, false, false);
    if (r.headingSelect) {
        screen.putText(2, 0, "FLY HDG SEL", CduColour::Green, true, false);
    } else {
        screen.putText(2, 0, courseText(r.outboundCourse, r.outboundTrue), CduColour::Green, true,
                       false);
        valueEndingAt(screen, 2, 22, courseEntered ? "RAD/CRS           " : "RAD/CRS OR HDG SEL",
                      CduColour::White);
        if (!courseEntered) {
            screen.drawRightPrompt("", false, 2);
        }
    }
    label(screen, 5, 1, "TO ");
    screen.putText(5, 5, toFix().ident, CduColour::Green, false, false);
    const bool inboundEntered = RadialPattern::isEntered(r.inboundCourse);
    screen.putText(6, 0,
                   inboundEntered ? FmsParser::formatCourse(normalize360(r.inboundCourse + 180.0),
                                                            r.inboundTrue)
                                  : kNoCourse,
                   CduColour::Green, true, false);
    screen.putText(6, 5, "RAD   OR   CRS", CduColour::White, true, false);
    valueEndingAt(screen, 6, 23, courseText(r.inboundCourse, r.inboundTrue), CduColour::Green);
    screen.drawLeftPrompt("CLEAR", false, 7);
    if (inboundEntered && (courseEntered || r.headingSelect)) {
        screen.drawRightPrompt("ACTIVATE", false, 7);
    }
}

void RadialPages::onInterceptKey(int32_t key) {
    RadialPattern& r = interceptPattern;
    switch (key) {
    case kL1:
        if (fms.isScratchpadDelete()) {
            r.outboundCourse = RadialPattern::kNotEntered;
            r.headingSelect = false;
            fms.takeScratchpad();
        } else if (r.headingSelect) {
            fms.showMessage(kInvalidEntry, 0);
        } else {
            enterCourse(r.outboundCourse, r.outboundTrue);
        }
        break;
    case kL3:
        enterField(r.inboundCourse, [&](const std::string& entry) {
            double radial = 0.0;
            if (!FmsParser::parseCourse(entry, radial, r.inboundTrue)) {
                return false;
            }
            r.inboundCourse = normalize360(radial + 180.0);
            return true;
        });
        break;
    case kR3:
        enterCourse(r.inboundCourse, r.inboundTrue);
        break;
    case kR1:
        if (fms.isScratchpadDelete()) {
            r.outboundCourse = RadialPattern::kNotEntered;
            r.headingSelect = false;
            fms.takeScratchpad();
        } else if (!r.headingSelect && !RadialPattern::isEntered(r.outboundCourse)) {
            r.headingSelect = true;
        }
        break;
    case kL4:
        returnToFlightPlan();
        break;
    case kR4:
        if (RadialPattern::isEntered(r.inboundCourse) &&
            (RadialPattern::isEntered(r.outboundCourse) || r.headingSelect)) {
            if (r.headingSelect) {
                activateHeadingIntercept();
            } else {
                activateIntercept();
            }
        }
        break;
    default:
        break;
    }
}

void RadialPages::returnToFlightPlan() {
    fms.setPage(cdu_page::kActiveFlightPlan, interceptPattern.returnSubPage);
}

void RadialPages::activateIntercept() {
    const RadialPattern& r = interceptPattern;
    const Waypoint to = toFix();
    if (refusesMagneticInPolarRegion(to, isMagnetic(r.inboundCourse, r.inboundTrue) ||
                                             isMagnetic(r.outboundCourse, r.outboundTrue))) {
        return;
    }
    const std::string name = fms.activeFplPage.nextPointName(PointFamily::RadialIntersection);
    const PilotPoint point = WaypointEntry::makeRadialIntersectionPoint(
        name, fromFix(), r.outboundCourse, r.outboundTrue, to,
        normalize360(r.inboundCourse + 180.0), r.inboundTrue);
    fms.pilotPoints().add(point);
    if (point.isDefined()) {
        FlightPlan& plan = PatternPages::selectedPlan(fms);
        const auto line = static_cast<std::size_t>(fms.activeFplPage.selectedLine);
        plan.insertWaypoint(point, line - 1, false, fms.planContext());
    } else {
        fms.showMessage(kNoIntersection, 0);
    }
    returnToFlightPlan();
}

void RadialPages::activateHeadingIntercept() {
    const RadialPattern& r = interceptPattern;
    const Waypoint to = toFix();
    if (refusesMagneticInPolarRegion(to, !r.inboundTrue)) {
        return;
    }
    FlightPlan& plan = PatternPages::selectedPlan(fms);
    const auto line = static_cast<std::size_t>(fms.activeFplPage.selectedLine);
    plan.locked = true;
    PilotPoint heading;
    heading.ppType = kComputedPoint;
    heading.ident = "(HDG SEL)";
    const Waypoint& from = fromFix();
    heading.variation = fms.planContext().magneticVariation(from.latitude, from.longitude);
    if (plan.insertWaypoint(heading, line - 1, false, fms.planContext()) &&
        line < plan.legCount()) {
        FlightPlanLeg& headingLeg = plan.legs[line - 1];
        headingLeg.manualTermination = true;
        headingLeg.trmLeg.legType = TerminalLegType::VM;
        const double course = r.inboundCourse + (r.inboundTrue ? 0.0 : to.variation);
        plan.legs[line].setInterceptCourse(course, fms.planContext());
    }
    plan.locked = false;
    plan.recalculate(fms.planContext());
    returnToFlightPlan();
}

} // namespace tavi
