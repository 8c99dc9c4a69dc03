#include "cdu/pages/OrbitPages.h"

#include "cdu/pages/CduPageIds.h"
#include "cdu/pages/NavPageKeys.h"
#include "cdu/pages/PageText.h"
#include "cdu/pages/PatternPages.h"
#include "core/Angles.h"
#include "fms/Fms.h"
#include "fms/GlobalFlightPlans.h"

namespace tavi {

using namespace navpages;
using namespace pagetext;

namespace {

constexpr const char* kNoValue = "\u2013\u2013\u2013";
constexpr double kBoundaryNm = 10.0;
constexpr int32_t kProcedureTurnSpeedLimit = 170;
// Pilot points the FMS computes itself.

void limitSpeed(FlightPlanLeg& leg) {
    leg.vnav.speed = kProcedureTurnSpeedLimit;
    leg.vnav.mach = 0.0f;
    leg.vnav.hasSpeed = true;
}

} // namespace

void OrbitPages::registerPages() {
    Fms::CduPageEntry& orbit = fms.pages[cdu_page::kOrbit];
    orbit.draw = [this] {
        drawOrbitPage();
    };
    orbit.onKey = [this](int32_t key) {
        onOrbitKey(key);
    };
    Fms::CduPageEntry& turn = fms.pages[cdu_page::kProcedureTurn];
    turn.draw = [this] {
        drawProcedureTurnPage();
    };
    turn.onKey = [this](int32_t key) {
        onProcedureTurnKey(key);
    };
}

template <class Apply>
bool OrbitPages::takeEntry(Apply apply) {
    const std::string entry = fms.scratchPad.text();
    if (entry.empty()) {
        return false;
    }
    if (!apply(entry)) {
        fms.showMessage(kInvalidEntry, 0);
        return false;
    }
    fms.takeScratchpad();
    return true;
}

void OrbitPages::drawOrbitPage() const {
    CduScreen& screen = fms.screen;
    const FlightPlanLeg& leg = PatternPages::selectedLeg(fms);
    const OrbitPattern& orbit = leg.orbit;
    screen.drawTitle("ORBIT");
    screen.drawPageNumber(1, 1);
    label(screen, 1, 2, "ORBIT FIX");
    labelEndingAt(screen, 1, 22, "RADIUS");
    screen.putText(2, 1, leg.wpt.ident, CduColour::Green, true, false);
    valueEndingAt(screen, 2, 23,
                  orbit.radius > 0.0 ? FmsParser::formatDistance(orbit.radius) : kNoValue,
                  CduColour::Green);
    label(screen, 3, 1, "SPEED");
    screen.putText(4, 0, "MAX END", CduColour::White, true, false);
    valueEndingAt(screen, 4, 19, "OR", CduColour::White);
    valueEndingAt(screen, 4, 23, orbit.speed > 0 ? FmsParser::formatInteger(orbit.speed) : kNoValue,
                  CduColour::Green);
    label(screen, 5, 2, "DIRECTION");
    screen.putText(6, 1, orbit.rightTurns ? "CW" : "CCW", CduColour::Green, true, false);
    valueEndingAt(screen, 6, 18, "OR", CduColour::White);
    labelEndingAt(screen, 6, 22, orbit.rightTurns ? "CCW" : "CW");
    screen.drawRightPrompt("", false, 6);
    screen.drawLeftPrompt("CLEAR", false, 7);
    screen.drawRightPrompt("ACTIVATE", false, 7);
}

void OrbitPages::onOrbitKey(int32_t key) {
    FlightPlanLeg& leg = PatternPages::selectedLeg(fms);
    OrbitPattern& orbit = leg.orbit;
    switch (key) {
    case kR1:
        takeEntry([&](const std::string& entry) {
            return FmsParser::parseOrbitRadius(entry, orbit.radius);
        });
        break;
    case kR2:
        takeEntry(
            [&](const std::string& entry) { return FmsParser::parseSpeed(entry, orbit.speed); });
        break;
    case kR3:
        orbit.rightTurns = !orbit.rightTurns;
        break;
    case kL4:
        orbit = OrbitPattern();
        fms.patternPages.showReturnPage();
        break;
    case kR4:
        if (orbit.radius > 0.0) {
            leg.trmLeg.flyOver = false;
            orbit.active = true;
            fms.patternPages.showReturnPage();
        }
        break;
    default:
        break;
    }
}

void OrbitPages::drawProcedureTurnPage() const {
    CduScreen& screen = fms.screen;
    const FlightPlanLeg& leg = PatternPages::selectedLeg(fms);
    const ProcedureTurn& turn = leg.pcdrTurn;
    const bool magnetic = fms.heading.activeMag;
    const double course = magnetic ? turn.magneticCourse : turn.trueCourse;
    // The angled leg turns right of the outbound course while the record's side flag is set.
    const bool right = turn.turnLeft != 0;
    const bool beyond = turn.extent > kBoundaryNm;
    const bool byTime = turn.timeMode != 0;
    screen.drawTitle("PROCEDURE TURN");
    screen.drawPageNumber(1, 1);
    label(screen, 1, 2, "PT FIX BOUNDARY DIST");
    screen.putText(2, 1, leg.wpt.ident, CduColour::Green, true, false);
    screen.putTextRight(2, 23, "10.0NM", CduColour::Green, false, false);
    label(screen, 3, 1, "PT ANG(CRS) OUTBD TIME");
    const double angledCourse =
        normalize360(right ? course + turn.turnAngle : course - turn.turnAngle);
    screen.putText(4, 0,
                   FmsParser::formatTurnAngle(turn.turnAngle, right) + "(" +
                       FmsParser::formatCourse(angledCourse, !magnetic) + ")",
                   CduColour::Green, false, beyond);
    screen.putTextRight(4, kLastColumnEnd, FmsParser::formatDistance(turn.outboundTime) + "MIN",
                        CduColour::Green, byTime, beyond);
    label(screen, 5, 1, "INBD CRS");
    labelEndingAt(screen, 5, 22, "OUTBD DIST");
    screen.putText(6, 0, FmsParser::formatCourse(normalize360(course + 180.0), !magnetic),
                   CduColour::Green, false, false);
    screen.putTextRight(6, kLastColumnEnd, FmsParser::formatDistance(turn.outboundDistance) + "NM",
                        CduColour::Green, !byTime, beyond);
    if (turn.modified != 0) {
        screen.drawRightPrompt("ACTIVATE", false, 7);
    }
}

void OrbitPages::onProcedureTurnKey(int32_t key) {
    FlightPlanLeg& leg = PatternPages::selectedLeg(fms);
    ProcedureTurn& turn = leg.pcdrTurn;
    bool taken = false;
    switch (key) {
    case kL2:
        taken = takeEntry([&](const std::string& entry) {
            bool right = false;
            if (!FmsParser::parseTurnAngle(entry, turn.turnAngle, right)) {
                return false;
            }
            turn.turnLeft = right ? 1 : 0;
            return true;
        });
        break;
    case kR2:
        taken = takeEntry([&](const std::string& entry) {
            if (!FmsParser::parseHoldLegTime(entry, turn.outboundTime)) {
                return false;
            }
            turn.timeMode = 1;
            turn.outboundDistance = turn.speed / kMinutesPerHour * turn.outboundTime;
            return true;
        });
        break;
    case kR3:
        taken = takeEntry([&](const std::string& entry) {
            if (!FmsParser::parseHoldLegDistance(entry, turn.outboundDistance)) {
                return false;
            }
            turn.timeMode = 0;
            turn.outboundTime = turn.outboundDistance / turn.speed * kMinutesPerHour;
            return true;
        });
        break;
    case kR4:
        activateProcedureTurn();
        break;
    default:
        break;
    }
    if (taken) {
        turn.compute(leg.wpt.latitude, leg.wpt.longitude);
        turn.modified = 1;
    }
}

void OrbitPages::activateProcedureTurn() {
    FlightPlan& plan = PatternPages::selectedPlan(fms);
    const int32_t line = fms.activeFplPage.selectedLine;
    if (!PatternPages::designatesLeg(fms)) {
        fms.patternPages.showReturnPage();
        return;
    }
    const auto fixIndex = static_cast<std::size_t>(line - 1);
    const auto pointIndex = static_cast<std::size_t>(line);
    const ProcedureTurn& previous = plan.legs[fixIndex].pcdrTurn;
    if (previous.active != 0 && previous.procedureTurnPhase == 0) {
        std::vector<Waypoint> removed;
        plan.removeProcedureTurnLegs(fixIndex, removed, fms.planContext());
        for (const Waypoint& fix : removed) {
            fms.releasePilotPoint(fix);
        }
    }
    FlightPlanLeg& fixLeg = plan.legs[fixIndex];
    fixLeg.trmLeg.flyOver = false;
    ProcedureTurn& built = fixLeg.pcdrTurn;
    built.active = 1;
    built.compute(fixLeg.wpt.latitude, fixLeg.wpt.longitude);
    built.modified = 0;
    built.procedureTurnPhase = 0;
    const ProcedureTurn copy = built;
    const Waypoint fix = fixLeg.wpt;
    limitSpeed(fixLeg);

    PilotPoint point;
    point.ppType = kComputedPoint;
    point.ident = fms.activeFplPage.nextPointName(PointFamily::Intercept);
    point.latitude = copy.pointLatitudes[ProcedureTurn::kMinuteBeyond];
    point.longitude = copy.pointLongitudes[ProcedureTurn::kMinuteBeyond];
    point.variation = fms.planContext().magneticVariation(point.latitude, point.longitude);
    fms.pilotPoints().add(point);
    if (plan.insertWaypoint(point, pointIndex, false, fms.planContext())) {
        // The turn's own leg, that to its point, carries the turn and the speed limit.
        plan.legs[pointIndex].pcdrTurn = copy;
        limitSpeed(plan.legs[pointIndex]);
        plan.insertWaypoint(fix, pointIndex + 1, false, fms.planContext());
    } else {
        plan.legs[fixIndex].pcdrTurn.active = 0;
        fms.pilotPoints().remove(point.ident);
    }
    fms.patternPages.showReturnPage();
}

} // namespace tavi
