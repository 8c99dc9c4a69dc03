// ACTIVE FLT PLAN: its drawing and its keys.
#include "cdu/pages/ActiveFlightPlanPage.h"

#include "avionics/Adc.h"
#include "avionics/AirData.h"
#include "avionics/FlightDirector.h"
#include "avionics/RadAlt.h"
#include "cdu/pages/CduPageIds.h"
#include "cdu/pages/CommandedSpeed.h"
#include "cdu/pages/FlightPlanListPage.h"
#include "cdu/pages/NavPageKeys.h"
#include "cdu/pages/PageText.h"
#include "cdu/pages/SimulatorPlanImport.h"
#include "cdu/pages/VerticalEntry.h"
#include "cdu/pages/WaypointEntry.h"
#include "core/Aircraft.h"
#include "core/Format.h"
#include "fms/Fms.h"
#include "fms/GlobalFlightPlans.h"

#include <cmath>
#include <cstdlib>

namespace tavi {

namespace {

constexpr int32_t kColumns = CduScreen::kColumns;
constexpr char kThreeDashes[] = "\u2013\u2013\u2013";
// While a prediction run is this recent, the predicted values it replaces show as hyphens.
constexpr uint32_t kFreshPredictionMs = 2000;
constexpr char kFreshAltitude[] = "-----";
constexpr char kFreshSpeed[] = "---";
// The leg's time ends just before this column of its data row.
constexpr int32_t kLegTimeEnd = 12;
constexpr char kNoSpeedCommand[] = "\u2013\u2013\u2013/\u2013\u2013\u2013\u2013\u2013";
constexpr char kDirectDashes[] = "\u2013\u2013\u2013\u2013\u2013 ";
constexpr char kInvalidDelete[] = "INVALID DELETE";
constexpr char kInvalidDirectTo[] = "INVALID DIRECT TO";
constexpr double kArrivalPromptDistance = 200.0;
constexpr double kMissedApproachRadioAltitude = 2500.0;
constexpr uint32_t kClearPlanAfterLandingMs = 30000;
constexpr double kMinuteSeconds = 60.0;

int32_t widthOf(const std::string& text) {
    return static_cast<int32_t>(CduScreen::decodeUtf8(text).size());
}

bool hasAltitudeConstraint(const FlightPlanLeg& leg) {
    return leg.vnav.kind != 0 || leg.vnav.hasAltitude;
}

} // namespace

bool ActiveFlightPlanPage::onGround() const {
    return !fms.airborne;
}

bool ActiveFlightPlanPage::withinAMinute() const {
    const double timeToGo = fms.lnavState()->timeToGo;
    return timeToGo >= 0.0 && timeToGo <= kMinuteSeconds;
}

double ActiveFlightPlanPage::distanceToDestination(const FlightPlan& plan) const {
    double behind = 0.0;
    for (std::size_t i = 0; i < plan.activeLeg && i < plan.legCount(); ++i) {
        behind += plan.legs[i].distance;
    }
    return plan.totalDistance - behind - fms.lnavState()->legAlongTrack;
}

void ActiveFlightPlanPage::draw() {
    ActiveFplPage& page = fms.activeFplPage;
    page.keepSubPageInRange();
    if (!activeFlightPlan.hasOriginAndDestination()) {
        drawStartLayout();
        return;
    }
    fms.screen.drawPageNumber(page.subPage, ActiveFplPage::pageCount());
    const FlightPlan& plan = ActiveFplPage::planAt(page.shownPlan());
    if (page.shownPlan() == ActiveFplPage::kActivePlan) {
        fms.screen.putTextRight(0, 14, "ACTIVE FLT ", CduColour::White, true, false);
        fms.screen.putText(0, 14, "PLAN", CduColour::White, true, false);
        const int32_t lines = ActiveFplPage::activeLineCount();
        const int32_t first = ActiveFplPage::kLinesPerSubPage * (page.subPage - 1);
        for (int32_t i = first; i < first + ActiveFplPage::kLinesPerSubPage && i < lines; ++i) {
            drawLine(plan, i, 2 * (i % ActiveFplPage::kLinesPerSubPage) + 1);
        }
    }
    drawBottomPrompts(plan);
}

void ActiveFlightPlanPage::drawStartLayout() {
    CduScreen& s = fms.screen;
    s.putTextRight(0, 14, "ACTIVE FLT ", CduColour::White, true, false);
    s.putText(0, 14, "PLAN", CduColour::White, true, false);
    s.drawPageNumber(fms.activeFplPage.subPage, ActiveFplPage::pageCount());
    s.putText(1, 1, "ORIGIN", CduColour::White, false, false);
    const Waypoint& origin = activeFlightPlan.org;
    s.putText(2, 0, origin.kind == WaypointKind::Plain ? kFiveDashes : origin.ident,
              CduColour::Yellow, true, false);
    s.drawLeftPrompt("LOAD FS FPL", false, 3);
    s.putTextRight(3, 23, "DEST", CduColour::White, false, false);
    s.putTextRight(4, 24, kFiveDashes, CduColour::Green, true, false);
    s.putText(5, 1, "RECALL OR CREATE", CduColour::White, false, false);
    s.putText(6, 4, "FPL NAMED", CduColour::White, false, false);
    s.putTextRight(6, 24, kTenDashes, CduColour::Amber, true, false);
    s.drawLeftPrompt("FPL LIST", false, 7);
    s.drawRightPrompt("PERF INIT", false, 7);
}

void ActiveFlightPlanPage::drawLine(const FlightPlan& plan, int32_t line, int32_t row) {
    if (line == 0) {
        drawFromLine(plan, row);
    } else if (line == ActiveFplPage::activeLineCount() - 1) {
        drawDestinationLine(plan, row);
    } else {
        drawLegLine(plan, line, row);
    }
}

void ActiveFlightPlanPage::drawFromLine(const FlightPlan& plan, int32_t row) {
    CduScreen& s = fms.screen;
    s.putText(row, 1, "ORIGIN", CduColour::White, false, false);
    s.putTextRight(row, 23, "SPD CMD", CduColour::White, false, false);
    const std::size_t active = plan.activeLeg;
    Waypoint from = plan.fromWaypoint(active);
    if ((from.ident == "SRC" && active > 0 && plan.legs[active - 1].isFixLeg()) ||
        active >= plan.legCount()) {
        from = active == 0 ? plan.org : plan.legs[active - 1].wpt;
    }
    const bool legsRemain = active < plan.legCount();
    std::string text = from.ident;
    if (plan.orbit.entered) {
        text = "ORBIT";
    } else if (legsRemain && plan.legs[active].holding.entered != 0) {
        text = plan.legs[active].holding.exitHold != 0 ? "EXITING HOLD" : "HOLDING";
    } else if (plan.pcdrTurn.active != 0) {
        text = "PROCEDURE TURN";
    } else if (from.kind == WaypointKind::Runway) {
        s.putText(row + 1, widthOf(from.ident) + 1, from.aptIdent, CduColour::Yellow, true, false);
    }
    s.putText(row + 1, 0, text, CduColour::Yellow, true, false);
    drawSpeedCommand(row);
}

// The speed VNAV commands, as a speed and a Mach number; the limiting one of the two is large.
void ActiveFlightPlanPage::drawSpeedCommand(int32_t row) {
    CduScreen& s = fms.screen;
    const CommandedSpeed command = commandedSpeed(fms);
    if (!command.commanded) {
        s.putTextRight(row + 1, kColumns, kNoSpeedCommand, CduColour::Cyan, true, false);
        return;
    }
    const auto machWidth = static_cast<int32_t>(command.machText.size());
    s.putTextRight(row + 1, kColumns, command.machText, CduColour::Cyan, !command.speedLimits,
                   false);
    s.putTextRight(row + 1, kColumns - machWidth, "/", CduColour::Cyan, true, false);
    s.putTextRight(row + 1, kColumns - machWidth - 1, command.speedText, CduColour::Cyan,
                   command.speedLimits, false);
}

void ActiveFlightPlanPage::drawDestinationLine(const FlightPlan& plan, int32_t row) {
    CduScreen& s = fms.screen;
    s.putTextRight(row, 23, "DEST", CduColour::White, false, false);
    const Waypoint& destination = plan.dest;
    s.putTextRight(row + 1, kColumns,
                   destination.aptIdent.empty() ? destination.ident : destination.aptIdent,
                   CduColour::Green, true, false);
    if (plan.endsBeforeDestination()) {
        s.putText(row, 1, "VIA.TO", CduColour::White, false, false);
        s.putText(row + 1, 0, kFiveDashes, CduColour::Green, true, false);
    }
}

void ActiveFlightPlanPage::drawLegLine(const FlightPlan& plan, int32_t line, int32_t row) {
    CduScreen& s = fms.screen;
    const int32_t absoluteLine = static_cast<int32_t>(plan.activeLeg) + line;
    const FlightPlanLeg& leg = plan.legs[static_cast<std::size_t>(absoluteLine - 1)];
    const CduColour colour = line == 1 ? CduColour::Magenta : CduColour::Green;
    if (leg.isDiscontinuity()) {
        s.putText(row, 1, "VIA.TO", CduColour::White, false, false);
        s.putText(row + 1, 0, kFiveDashes, CduColour::Green, true, false);
        return;
    }
    if (leg.manualTermination) {
        s.putText(row, 0, "FLY HDG SEL", colour, false, false);
        s.putText(row + 1, 0, "TO INTERCEPT", colour, true, false);
        return;
    }
    if (leg.isManualTermination()) {
        s.putText(row, 0, format("FLY %03.0f", leg.trmLeg.course) + kDegree + " OR", colour, false,
                  false);
        s.putText(row + 1, 0, "AS ASSIGNED", colour, true, false);
        return;
    }
    drawLegLabel(plan, leg, absoluteLine, row);
    s.putText(row + 1, 0, leg.wpt.ident, colour, true, false);
    s.putText(row + 1, widthOf(leg.wpt.ident), pagetext::legPatternMark(leg), CduColour::Green,
              true, true);
    drawLegVerticalLine(plan, row, leg.vnav);
}

void ActiveFlightPlanPage::drawLegLabel(const FlightPlan& plan, const FlightPlanLeg& leg,
                                        int32_t absoluteLine, int32_t row) {
    CduScreen& s = fms.screen;
    if (absoluteLine > 1) {
        const FlightPlanLeg& previous = plan.legs[static_cast<std::size_t>(absoluteLine - 2)];
        if (!previous.isFixLeg() && !previous.manualTermination) {
            s.putText(row, 0, " >>DISCONTINUITY<<      ", CduColour::White, false, false);
            return;
        }
    }
    const bool magnetic = fms.heading.activeMag;
    s.putText(row, 1,
              FmsParser::formatCourse(magnetic ? leg.magneticCourse() : leg.course, !magnetic),
              CduColour::Green, false, false);
    if (leg.trmLeg.flyOver) {
        s.putText(row, 5, "F", CduColour::Green, false, true);
    }
    if (leg.trmLeg.turnDirection != kTurnNone && !leg.isArcLeg()) {
        s.putText(row, 0, leg.trmLeg.turnDirection == kTurnLeft ? "L" : "R", CduColour::Green,
                  false, true);
    }
    s.putTextRight(row, 12, FmsParser::formatDistance(leg.distance) + "NM", CduColour::Green, false,
                   false);
    s.putTextRight(row + 1, kLegTimeEnd,
                   fms.airborne ? FmsParser::formatClockTime(leg.eta) + "Z"
                                : FmsParser::formatElapsedTime(leg.legTime),
                   CduColour::Green, false, false);
}

void ActiveFlightPlanPage::drawLegVerticalLine(const FlightPlan& plan, int32_t row,
                                               const LegConstraints& k) {
    CduScreen& s = fms.screen;
    const bool predicted =
        plan.routeEndFound && plan.activeLeg <= plan.routeEndLeg && fms.perfInit.initialised;
    const bool fresh =
        fms.planContext().simTimeMs() - fms.perfInit.predictionTime < kFreshPredictionMs;
    std::string altitude = kFiveDashes;
    bool altitudeLarge = true;
    if (k.kind != 0 && (predicted || k.hasAltitude)) {
        altitude = k.kind == kAltitudeWindow
                       ? fms.parser.formatAltitude(k.altitude) + " " +
                             fms.parser.formatAltitude(k.altitude2)
                       : fms.parser.formatAltitudeConstraint(k.altitude, k.kind);
        altitudeLarge = k.hasAltitude;
        if (fresh && !k.hasAltitude) {
            altitude = kFreshAltitude;
            altitudeLarge = true;
        }
    }
    const int32_t altitudeWidth = widthOf(altitude);
    s.putTextRight(row + 1, kColumns, altitude, CduColour::Cyan, altitudeLarge, false);
    s.putTextRight(row + 1, kColumns - altitudeWidth, "/", CduColour::Cyan, true, false);
    std::string speedPart;
    if (k.mach == 0.0f) {
        speedPart = FmsParser::formatInteger(k.speed);
    } else if (k.speed == 0 ||
               casFromMachAtAltitude(k.mach, k.altitude) < static_cast<double>(k.speed)) {
        speedPart = FmsParser::formatMach(k.mach) + "M";
    } else {
        speedPart = FmsParser::formatInteger(k.speed);
    }
    const bool withoutSpeed = k.speed == 0 && k.mach == 0.0f;
    std::string speed = kThreeDashes;
    bool speedLarge = true;
    if ((withoutSpeed && k.phase != kPhaseDescent) || (!predicted && !k.hasSpeed)) {
        speed = kThreeDashes;
    } else if (k.phase == kPhaseDescent && k.hasAltitude) {
        speed = FmsParser::formatOneDecimal(k.pathAngle) + kDegree;
        speedLarge = k.pathAngleEntered;
    } else if (fresh && !k.hasSpeed) {
        speed = kFreshSpeed;
    } else if (!withoutSpeed) {
        // A descent leg without a speed of its own (the top of descent) shows dashes, not "0".
        speed = speedPart;
        speedLarge = k.hasSpeed;
    }
    // The leg's time stays readable: a speed that would run into it (beside the wide text of an
    // altitude window) is left out.
    const int32_t speedEnd = kColumns - altitudeWidth - 1;
    if (speedEnd - widthOf(speed) >= kLegTimeEnd) {
        s.putTextRight(row + 1, speedEnd, speed, CduColour::Cyan, speedLarge, false);
    }
    if (!k.hasAltitude) {
        return;
    }
    s.putTextRight(row, kColumns, FmsParser::formatClimbDescent(static_cast<int32_t>(k.phase)),
                   CduColour::Cyan, false, false);
    if (k.phase == kPhaseDescent && k.hasSpeed) {
        s.putTextRight(row, 20, speedPart, CduColour::Cyan, false, false);
    } else if (k.verticalSpeed != 0 && !(fresh && !k.hasSpeed)) {
        s.putTextRight(row, 20,
                       format("%d", std::abs(k.verticalSpeed)) +
                           (k.verticalSpeed > 0 ? "\u2191" : "\u2193"),
                       CduColour::Cyan, false, false);
    }
}

ActiveFlightPlanPage::BottomLeft ActiveFlightPlanPage::bottomLeft(const FlightPlan& plan) const {
    if (fms.activeFplPage.dirMode) {
        return BottomLeft::Pattern;
    }
    const FlightPlanLeg* active =
        plan.activeLeg < plan.legCount() ? &plan.legs[plan.activeLeg] : nullptr;
    if (active && active->orbit.active && withinAMinute()) {
        return BottomLeft::LeaveOrbit;
    }
    if (plan.orbit.entered) {
        return BottomLeft::ExitOrbit;
    }
    if (active && active->holding.entered != 0) {
        return BottomLeft::ToggleHoldExit;
    }
    if (active && active->holding.active != 0 && withinAMinute()) {
        return BottomLeft::ExitHold;
    }
    if (onGround() && plan.activeLeg == 0) {
        return BottomLeft::Departure;
    }
    const RadAlt* radAlt = theAircraft ? theAircraft->radAlt() : nullptr;
    if (fms.lnavState()->approach && radAlt &&
        radAlt->radioAltitude < kMissedApproachRadioAltitude) {
        return BottomLeft::MissedApproach;
    }
    if (!onGround()) {
        return active && distanceToDestination(plan) <= kArrivalPromptDistance ? BottomLeft::Arrival
                                                                               : BottomLeft::None;
    }
    const uint32_t sinceLanding =
        fms.planContext().simTimeMs() - static_cast<uint32_t>(fms.landingTime);
    if (!fms.plansCleared && sinceLanding >= kClearPlanAfterLandingMs) {
        return BottomLeft::ClearPlan;
    }
    return BottomLeft::None;
}

void ActiveFlightPlanPage::drawBottomPrompts(const FlightPlan& plan) {
    CduScreen& s = fms.screen;
    if (fms.activeFplPage.dirMode) {
        s.putText(1, 0, kDirectDashes, CduColour::White, true, false);
        s.putText(1, 6, "DIRECT", CduColour::White, true, true);
    }
    static constexpr const char* kLeftPrompts[] = {
        "",          "PATTERN",   "EXIT",         "EXIT",    "",
        "EXIT HOLD", "DEPARTURE", "MISSED APRCH", "ARRIVAL", "CLEAR FPL"};
    const BottomLeft left = bottomLeft(plan);
    std::string prompt = kLeftPrompts[static_cast<int32_t>(left)];
    if (left == BottomLeft::ToggleHoldExit) {
        prompt = plan.legs[plan.activeLeg].holding.exitHold != 0 ? "RESUME HOLD" : "EXIT HOLD";
    }
    if (!prompt.empty()) {
        s.drawLeftPrompt(prompt, false, 7);
    }
    if (!fms.perfInit.initialised) {
        s.drawRightPrompt("PERF INIT", false, 7);
    } else if (onGround() && plan.org.kind == WaypointKind::Airport) {
        s.drawRightPrompt("TAKEOFF", false, 7);
    } else if (onGround() && plan.org.kind == WaypointKind::Runway) {
        s.drawRightPrompt("RW POS", false, 7);
    }
}

void ActiveFlightPlanPage::pressBottomLeft() {
    FlightPlan& plan = ActiveFplPage::planAt(fms.activeFplPage.shownPlan());
    switch (bottomLeft(plan)) {
    case BottomLeft::Pattern:
        fms.activeFplPage.dirMode = false;
        fms.patternPages.openPatterns();
        break;
    case BottomLeft::LeaveOrbit:
        plan.legs[plan.activeLeg].orbit.active = false;
        break;
    case BottomLeft::ExitOrbit:
        plan.orbit = OrbitPattern();
        break;
    case BottomLeft::ToggleHoldExit: {
        uint8_t& exitHold = plan.legs[plan.activeLeg].holding.exitHold;
        exitHold = exitHold != 0 ? 0 : 1;
        break;
    }
    case BottomLeft::ExitHold:
        plan.legs[plan.activeLeg].holding.active = 0;
        break;
    case BottomLeft::Departure:
        fms.setPage(cdu_page::kDepartureRunways, 1);
        break;
    case BottomLeft::MissedApproach:
        if (FlightDirector* director = theAircraft ? theAircraft->flightDirector() : nullptr) {
            director->pressToGa();
        }
        break;
    case BottomLeft::Arrival:
        fms.setPage(cdu_page::kArrival, 1);
        break;
    case BottomLeft::ClearPlan:
        fms.purgeTemporaryWaypoints();
        break;
    case BottomLeft::None:
        break;
    }
}

void ActiveFlightPlanPage::pressBottomRight() {
    if (!fms.perfInit.initialised) {
        fms.setPage(cdu_page::kPerformanceInit, 1);
    } else if (onGround() && activeFlightPlan.org.kind == WaypointKind::Airport) {
        fms.setPage(cdu_page::kTakeoff, 1);
    } else if (onGround() && activeFlightPlan.org.kind == WaypointKind::Runway) {
        fms.posInitPage.syncPosRefToOriginRunway();
        // Straight to the page, past its entry action, which would replace the runway as the
        // reference.
        fms.currentPage = cdu_page::kPositionInit;
    }
}

void ActiveFlightPlanPage::onKey(int32_t key) {
    ActiveFplPage& page = fms.activeFplPage;
    page.keepSubPageInRange();
    if (!activeFlightPlan.hasOriginAndDestination()) {
        onNoFlightPlanKey(key);
        return;
    }
    const FlightPlan& plan = ActiveFplPage::planAt(page.shownPlan());
    const auto active = static_cast<int32_t>(plan.activeLeg);
    const int32_t base = page.shownPlan() == ActiveFplPage::kActivePlan
                             ? ActiveFplPage::kLinesPerSubPage * (page.subPage - 1)
                             : 0;
    const bool onActivePlan = page.shownPlan() == ActiveFplPage::kActivePlan;
    page.destinationPending = false;
    page.originPending = false;
    const std::string& pad = fms.scratchPad.text();
    switch (key) {
    case 0:
        page.selectedLine = active + base;
        // The hold keyword on the FROM line makes a hold at the present position, as PATTERNS
        // offers it; taking it for a new origin would erase the route being flown.
        if (!page.dirMode && page.selectedLine == active && onActivePlan && !pad.empty() &&
            !fms.isScratchpadDelete() && pad != "*HOLD*") {
            startNewPlan(pad);
        } else {
            onActivePlanLeftKey();
        }
        break;
    case 1:
    case 2:
        page.selectedLine = active + base + key;
        onActivePlanLeftKey();
        break;
    case 4:
        page.selectedLine = active + base;
        if (page.selectedLine == active && onActivePlan) {
            if (!pad.empty()) {
                fms.showMessage(kInvalidEntry, 0);
            }
        } else {
            onActivePlanRightKey();
        }
        break;
    case 5:
    case 6:
        page.selectedLine = active + base + key - 4;
        onActivePlanRightKey();
        break;
    case 3:
        pressBottomLeft();
        break;
    case 7:
        pressBottomRight();
        break;
    default:
        navpages::turnSubPage(key, page.subPage, ActiveFplPage::pageCount());
        break;
    }
}

// An entry on the FROM line starts a new flight plan from that origin. The entry is checked
// first: one that cannot become the origin (a pattern keyword, a plan name, an unknown ident)
// would otherwise cost the pilot the whole route.
void ActiveFlightPlanPage::startNewPlan(const std::string& origin) {
    double latitude = 0.0;
    double longitude = 0.0;
    std::vector<Waypoint> candidates;
    if (FmsParser::isValidIdent(origin)) {
        fms.navDatabase().findWaypoints(origin, candidates, true);
    }
    if (candidates.empty() && !FmsParser::parseLatLon(origin, latitude, longitude)) {
        fms.showMessage(kInvalidEntry, 0);
        return;
    }
    fms.purgeTemporaryWaypoints();
    onNoFlightPlanKey(0);
}

void ActiveFlightPlanPage::onNoFlightPlanKey(int32_t key) {
    ActiveFplPage& page = fms.activeFplPage;
    switch (key) {
    case 0:
        if (fms.isScratchpadDelete()) {
            fms.purgeTemporaryWaypoints();
            fms.setScratchpad("");
        } else {
            page.selectedLine = 0;
            onActivePlanLeftKey();
        }
        break;
    case 1:
        import.importSimulatorFlightPlan();
        break;
    case 3:
        fms.setPage(cdu_page::kFlightPlanList, 1);
        break;
    case 5:
        if (fms.isScratchpadDelete()) {
            activeFlightPlan.setDestination(Waypoint(), fms.planContext());
            fms.setScratchpad("");
        } else {
            page.selectedLine = 1;
            onActivePlanRightKey();
        }
        break;
    case 6:
        recallOrCreateNamedPlan();
        break;
    case 7:
        fms.setPage(cdu_page::kPerformanceInit, 1);
        break;
    default:
        break;
    }
}

void ActiveFlightPlanPage::recallOrCreateNamedPlan() {
    const std::string name = fms.scratchPad.text();
    if (name.empty()) {
        return;
    }
    if (!FmsParser::isValidPlanName(name)) {
        fms.showMessage(kInvalidEntry, 0);
        return;
    }
    fms.takeScratchpad();
    if (list.openNamedPlan(name) != FlightPlanListPage::Opening::Failed) {
        fms.setPage(cdu_page::kStoredPlan, 1);
    }
}

void ActiveFlightPlanPage::onActivePlanLeftKey() {
    ActiveFplPage& page = fms.activeFplPage;
    FlightPlan& plan = ActiveFplPage::planAt(page.shownPlan());
    const int32_t line = page.selectedLine;
    const auto active = static_cast<int32_t>(plan.activeLeg);
    const int32_t lines = ActiveFplPage::activeLineCount();
    const std::string text = fms.scratchPad.text();
    const bool hasEntry = !text.empty();
    const bool directWay = plan.hasOriginAndDestination() && !fms.isScratchpadDelete() &&
                           text.find('/') == std::string::npos &&
                           ((page.dirMode && hasEntry) || text == "*HOLD*" ||
                            ((line == active || line == active + 1) && hasEntry &&
                             static_cast<int32_t>(plan.legCount()) >= active + 1));
    if (directWay) {
        directTo(plan, text);
    } else if (!hasEntry) {
        if (line == 0 && plan.org.kind != WaypointKind::Plain) {
            fms.setScratchpad(plan.org.ident);
        } else if (line > 0 && line < active + lines - 1 &&
                   plan.legs[static_cast<std::size_t>(line - 1)].hasNamedFix()) {
            fms.setScratchpad(plan.legs[static_cast<std::size_t>(line - 1)].wpt.ident);
        }
    } else if (fms.isScratchpadDelete()) {
        deleteOnLeftKey(plan);
    } else {
        enterOnLeftKey(plan, text);
    }
}

void ActiveFlightPlanPage::directTo(FlightPlan& plan, const std::string& text) {
    ActiveFplPage& page = fms.activeFplPage;
    const int32_t line = page.selectedLine;
    const auto active = static_cast<int32_t>(plan.activeLeg);
    if (text == "*HOLD*" && line == active && page.shownPlan() != ActiveFplPage::kActivePlan) {
        fms.showMessage(kInvalidEntry, 0);
        return;
    }
    if (line >= active + ActiveFplPage::activeLineCount()) {
        return;
    }
    if (entry.enterPatternKeyword(text)) {
        fms.takeScratchpad();
        page.dirMode = false;
        return;
    }
    std::vector<Waypoint> candidates;
    fms.navDatabase().findWaypoints(text, candidates, true);
    if (candidates.size() == 1) {
        const bool done = plan.directTo(candidates.front(), fms.planContext());
        fms.setPage(cdu_page::kActiveFlightPlan, 1);
        if (done) {
            fms.takeScratchpad();
        } else {
            fms.showMessage(kInvalidDirectTo, 0);
        }
        page.dirMode = false;
    } else if (candidates.empty()) {
        fms.showMessage(kInvalidEntry, 0);
    } else {
        page.dirMode = true;
        WptSelectPage& select = fms.wptSelectPage;
        select.setCandidates(text, candidates);
        select.targetPage = fms.currentPage;
        select.targetSubPage = 1;
        fms.setPage(cdu_page::kWaypointsSelect, 1);
    }
}

void ActiveFlightPlanPage::deleteOnLeftKey(FlightPlan& plan) {
    ActiveFplPage& page = fms.activeFplPage;
    const int32_t line = page.selectedLine;
    const auto active = static_cast<int32_t>(plan.activeLeg);
    const bool onActivePlan = page.shownPlan() == ActiveFplPage::kActivePlan;
    if (line == active) {
        if (!onActivePlan) {
            fms.showMessage(kInvalidDelete, 0);
            return;
        }
        if (fms.airborne && plan.activeLeg >= plan.legCount()) {
            plan.sequenceActiveLeg(fms.planContext());
        } else {
            fms.purgeTemporaryWaypoints();
        }
        fms.takeScratchpad();
        return;
    }
    if (line >= active + ActiveFplPage::activeLineCount() - 1) {
        return;
    }
    fms.takeScratchpad();
    const std::size_t index = static_cast<std::size_t>(line - 1);
    FlightPlanLeg& leg = plan.legs[index];
    const bool refusedNearFix = onActivePlan && withinAMinute();
    if (leg.trmLeg.flyOver) {
        leg.trmLeg.flyOver = false;
    } else if (leg.orbit.active) {
        if (refusedNearFix) {
            fms.showMessage(kInvalidDelete, 0);
            return;
        }
        leg.orbit = OrbitPattern();
    } else if (leg.holding.active != 0) {
        if (refusedNearFix) {
            fms.showMessage(kInvalidDelete, 0);
            return;
        }
        leg.holding = HoldingPattern();
    } else if (leg.pcdrTurn.active != 0) {
        if (leg.pcdrTurn.procedureTurnPhase != 0) {
            fms.showMessage(kInvalidDelete, 0);
            return;
        }
        // Deleting the turn's point deletes the turn, which belongs to the fix before it.
        const std::size_t fixIndex =
            leg.leadsToProcedureTurnPoint() && index > 0 ? index - 1 : index;
        plan.legs[fixIndex].pcdrTurn = ProcedureTurn();
        // The point and the copy of the fix the turn put behind its fix go with it.
        std::vector<Waypoint> removed;
        plan.removeProcedureTurnLegs(fixIndex, removed, fms.planContext());
        for (const Waypoint& fix : removed) {
            fms.releasePilotPoint(fix);
        }
    } else {
        const Waypoint fix = leg.wpt;
        plan.deleteLeg(index, fms.planContext());
        fms.releasePilotPoint(fix);
        return;
    }
    plan.recalculate(fms.planContext());
}

void ActiveFlightPlanPage::enterOnLeftKey(FlightPlan& plan, const std::string& text) {
    const int32_t line = fms.activeFplPage.selectedLine;
    const auto active = static_cast<int32_t>(plan.activeLeg);
    const auto legs = static_cast<int32_t>(plan.legCount());
    const int32_t lines = ActiveFplPage::activeLineCount();
    if (line != active && legs > active && line > 0 && line < active + lines - 1) {
        const ProcedureTurn& turn = plan.legs[static_cast<std::size_t>(line - 1)].pcdrTurn;
        if (turn.active != 0 && turn.procedureTurnPhase != 0) {
            fms.showMessage(kInvalidEntry, 0);
            return;
        }
    }
    std::string airway;
    std::string exitFix;
    if (FmsParser::parseAirwayFix(text, airway, exitFix) && plan.hasOriginAndDestination() &&
        line > 0) {
        if (line >= active + lines) {
            return;
        }
        const Waypoint& from =
            line == 1 ? plan.org : plan.legs[static_cast<std::size_t>(line - 2)].wpt;
        std::vector<Waypoint> points;
        fms.navDatabase().getAirwayPoints(from, airway, exitFix, points);
        if (points.empty()) {
            fms.showMessage("WAYPOINT NOT FOUND", 0);
            return;
        }
        plan.insertWaypoints(static_cast<std::size_t>(line - 1), airway, points, fms.planContext());
        fms.takeScratchpad();
        return;
    }
    fms.takeScratchpad();
    entry.enterWaypoint(line, text);
}

// The plan is worked out again with the leg's new constraints, and so are the predictions.
void ActiveFlightPlanPage::constraintsChanged(FlightPlan& plan) {
    plan.updateConstraints(fms.planContext());
    plan.recalculate(fms.planContext());
    fms.updateFuelPredictions();
}

void ActiveFlightPlanPage::onActivePlanRightKey() {
    ActiveFplPage& page = fms.activeFplPage;
    FlightPlan& plan = ActiveFplPage::planAt(page.shownPlan());
    const int32_t line = page.selectedLine;
    const auto active = static_cast<int32_t>(plan.activeLeg);
    const int32_t lines = ActiveFplPage::activeLineCount();
    const int32_t destinationLine = active + lines - 1;
    const bool legLine = line > 0 && line < destinationLine;
    FlightPlanLeg* leg = legLine ? &plan.legs[static_cast<std::size_t>(line - 1)] : nullptr;
    const std::string text = fms.scratchPad.text();
    if (page.dirMode) {
        fms.showMessage(kInvalidDirectTo, 0);
        page.dirMode = false;
    } else if (text.empty()) {
        if (line == destinationLine && plan.dest.kind != WaypointKind::Plain) {
            fms.setScratchpad(plan.dest.kind == WaypointKind::Runway ? plan.dest.aptIdent
                                                                     : plan.dest.ident);
        } else if (leg && leg->isFixLeg() && hasAltitudeConstraint(*leg)) {
            fms.setScratchpad(
                fms.parser.formatAltitudeConstraint(leg->vnav.altitude, leg->vnav.kind));
        }
    } else if (fms.isScratchpadDelete()) {
        if (leg) {
            leg->vnav = LegConstraints();
            constraintsChanged(plan);
        } else if (line < active + lines) {
            fms.showMessage(kInvalidDelete, 0);
        }
        fms.takeScratchpad();
    } else if (line == destinationLine) {
        fms.takeScratchpad();
        entry.enterActiveDestination(text);
    } else if (leg) {
        VerticalEntryLeg where;
        where.line = line;
        where.legCount = static_cast<int32_t>(plan.legCount());
        where.missedApproachPlan = &plan == &missedApproachFlightPlan;
        where.defaultAngle = fms.perfInit.descentAngle();
        if (applyVerticalEntry(text, leg->vnav, where)) {
            fms.takeScratchpad();
            constraintsChanged(plan);
        } else {
            fms.showMessage(kInvalidEntry, 0);
        }
    } else if (line == 0) {
        fms.showMessage(kInvalidEntry, 0);
    }
}

} // namespace tavi
