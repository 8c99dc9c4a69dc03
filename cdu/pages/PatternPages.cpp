#include "cdu/pages/PatternPages.h"

#include "cdu/pages/CduPageIds.h"
#include "cdu/pages/NavPageKeys.h"
#include "cdu/pages/PageText.h"
#include "core/Angles.h"
#include "fms/Fms.h"
#include "fms/GlobalFlightPlans.h"

#include <array>

namespace tavi {

using namespace navpages;
using namespace pagetext;

namespace {

constexpr const char* kUnableHoldChange = "UNABLE HOLD CHANGE";
constexpr const char* kInvalidHold = "INVALID HOLD";

// The side of the fix the hold lies on, from the inbound course.
std::string quadrantOf(double inboundCourse) {
    static constexpr std::array<const char*, 8> kOctants = {"N", "NE", "E", "SE",
                                                            "S", "SW", "W", "NW"};
    const double bearing = normalize360(inboundCourse + 180.0);
    return kOctants[static_cast<std::size_t>((bearing + 22.5) / 45.0) % kOctants.size()];
}

const char* entryName(HoldEntry entry) {
    switch (entry) {
    case HoldEntry::Direct:
        return "DIRECT";
    case HoldEntry::Teardrop:
        return "TEARDROP";
    default:
        return "PARALLEL";
    }
}

} // namespace

void PatternPages::registerPages() {
    Fms::CduPageEntry& patterns = fms.pages[cdu_page::kPatterns];
    patterns.draw = [this] {
        drawPatternsPage();
    };
    patterns.onKey = [this](int32_t key) {
        onPatternsKey(key);
    };
    Fms::CduPageEntry& hold = fms.pages[cdu_page::kHoldingPattern];
    hold.draw = [this] {
        drawHoldingPatternPage();
    };
    hold.onKey = [this](int32_t key) {
        onHoldingPatternKey(key);
    };
    hold.enter = [this] {
        editedHold = selectedLeg(fms).holding;
    };
}

void PatternPages::openPatterns() {
    patternReturnPage = {cdu_page::kActiveFlightPlan, 1};
    fms.setPage(cdu_page::kPatterns, 1);
}

void PatternPages::showReturnPage() {
    fms.setPage(patternReturnPage.page, patternReturnPage.subPage);
}

void PatternPages::followSequencing() {
    const int32_t page = fms.currentPage;
    if (page != cdu_page::kRadial && page != cdu_page::kOrbit &&
        page != cdu_page::kHoldingPattern && page != cdu_page::kProcedureTurn) {
        return;
    }
    // Sequencing keeps the plan's legs, so a line beyond the new active leg still designates
    // the leg being edited: it stays, where moving it back would put the edits on the leg before.
    if (fms.activeFplPage.selectedLine > static_cast<int32_t>(selectedPlan(fms).activeLeg)) {
        return;
    }
    fms.setPage(cdu_page::kActiveFlightPlan, 1);
}

FlightPlan& PatternPages::selectedPlan(const Fms& fms) {
    return ActiveFplPage::planAt(fms.activeFplPage.shownPlan());
}

bool PatternPages::onFromLine(const Fms& fms) {
    return fms.activeFplPage.selectedLine == static_cast<int32_t>(selectedPlan(fms).activeLeg);
}

bool PatternPages::designatesLeg(const Fms& fms) {
    const int32_t line = fms.activeFplPage.selectedLine;
    return !onFromLine(fms) && line > 0 &&
           line <= static_cast<int32_t>(selectedPlan(fms).legCount());
}

FlightPlanLeg& PatternPages::selectedLeg(Fms& fms) {
    if (!designatesLeg(fms)) {
        return fms.flightPlanPages.entry.tempLeg;
    }
    const int32_t line = fms.activeFplPage.selectedLine;
    return selectedPlan(fms).legs[static_cast<std::size_t>(line - 1)];
}

void PatternPages::drawPatternsPage() const {
    CduScreen& screen = fms.screen;
    screen.drawTitle("PATTERNS");
    screen.drawPageNumber(1, 1);
    screen.drawLeftPrompt("HOLD", false, 1);
    screen.drawRightPrompt("PCDR TURN", false, 1);
    screen.drawLeftPrompt("FLYOVER", false, 3);
    if (fms.flightConfig.isSpecialMission) {
        screen.drawRightPrompt("ORBIT", false, 3);
        screen.drawLeftPrompt("RADIAL", false, 5);
    }
}

void PatternPages::onPatternsKey(int32_t key) {
    const bool special = fms.flightConfig.isSpecialMission;
    const char* keyword = nullptr;
    if (key == kL1) {
        keyword = "*HOLD*";
    } else if (key == kL2) {
        keyword = "*FLYOVER*";
    } else if (key == kL3 && special) {
        keyword = "*RADIAL*";
    } else if (key == kR1) {
        keyword = "*PCDR TURN*";
    } else if (key == kR2 && special) {
        keyword = "*ORBIT*";
    }
    if (keyword) {
        fms.setScratchpad(keyword);
        showReturnPage();
    }
}

void PatternPages::drawHoldingPatternPage() const {
    CduScreen& screen = fms.screen;
    const HoldingPattern& hold = editedHold;
    const bool magnetic = fms.heading.activeMag;
    const double shownCourse = magnetic ? hold.inboundCourseMagnetic : hold.inboundCourse;
    const bool byQuadrant = hold.quadrantEntered != 0;
    const bool byTime = hold.lengthByTime != 0;
    screen.drawTitle("HOLDING PATTERN");
    screen.drawPageNumber(1, 1);
    label(screen, 1, 2, "HOLD FIX");
    screen.putText(2, 1, selectedLeg(fms).wpt.ident, CduColour::Green, true, false);
    label(screen, 3, 1, "QUAD  ENTRY");
    labelEndingAt(screen, 3, 22, "LEG TIME");
    screen.putText(4, 0, quadrantOf(shownCourse), CduColour::Green, byQuadrant, false);
    screen.putText(4, 7, entryName(hold.entryKind), CduColour::Green, false, false);
    screen.putTextRight(4, CduScreen::kColumns, FmsParser::formatDistance(hold.legTimeMin) + "MIN",
                        CduColour::Green, byTime, false);
    label(screen, 5, 1, "INBD CRS/DIR");
    labelEndingAt(screen, 5, 22, "LEG DIST");
    const std::string course = FmsParser::formatCourse(shownCourse, !magnetic) + "/" +
                               FmsParser::formatTurnDirection(hold.rightTurns != 0);
    screen.putText(6, 0, course, CduColour::Green, byQuadrant, false);
    screen.putText(6, textWidth(course), " TURN", CduColour::Green, false, false);
    screen.putTextRight(6, CduScreen::kColumns, FmsParser::formatDistance(hold.legLength) + "NM",
                        CduColour::Green, !byTime, false);
    screen.drawLeftPrompt("CLEAR", false, 7);
    screen.drawRightPrompt("ACTIVATE", false, 7);
}

double PatternPages::holdSpeed() const {
    // A hold not prepared by its keyword (that of the temporary leg) has no speed yet: its
    // default speed converts, so a leg distance never divides by zero.
    return editedHold.holdSpeed > 0.0 ? editedHold.holdSpeed
                                      : static_cast<double>(editedHold.defaultSpeed);
}

template <class Apply>
void PatternPages::enterHoldValue(Apply apply) {
    const std::string entry = fms.scratchPad.text();
    if (entry.empty()) {
        return;
    }
    if (editedHold.entered != 0 && editedHold.holdPhase != 0) {
        fms.takeScratchpad();
        fms.showMessage(kUnableHoldChange, 0);
        return;
    }
    if (!apply(entry)) {
        fms.showMessage(kInvalidEntry, 0);
        return;
    }
    const FlightPlanLeg& leg = selectedLeg(fms);
    editedHold.compute(leg.wpt.latitude, leg.wpt.longitude, leg.course);
    fms.takeScratchpad();
}

void PatternPages::setInboundCourse(double course) {
    const double variation = selectedLeg(fms).wpt.variation;
    if (fms.heading.activeMag) {
        editedHold.inboundCourseMagnetic = course;
        editedHold.inboundCourse = normalize360(course + variation);
    } else {
        editedHold.inboundCourse = course;
        editedHold.inboundCourseMagnetic = normalize360(course - variation);
    }
}

void PatternPages::onHoldingPatternKey(int32_t key) {
    HoldingPattern& hold = editedHold;
    switch (key) {
    case kL2:
        enterHoldValue([&](const std::string& entry) {
            int32_t course = 0;
            if (!FmsParser::parseHoldQuadrant(entry, course)) {
                return false;
            }
            hold.quadrantEntered = 1;
            setInboundCourse(course);
            return true;
        });
        break;
    case kL3:
        enterHoldValue([&](const std::string& entry) {
            int32_t course = -1;
            bool right = hold.rightTurns != 0;
            if (!FmsParser::parseHoldCourse(entry, course, right)) {
                return false;
            }
            hold.rightTurns = right ? 1 : 0;
            if (course >= 0) {
                hold.quadrantEntered = 0;
                setInboundCourse(course);
            }
            return true;
        });
        break;
    case kR2:
        enterHoldValue([&](const std::string& entry) {
            if (!FmsParser::parseHoldLegTime(entry, hold.legTimeMin)) {
                return false;
            }
            hold.lengthByTime = 1;
            hold.legLength = holdSpeed() / kMinutesPerHour * hold.legTimeMin;
            return true;
        });
        break;
    case kR3:
        enterHoldValue([&](const std::string& entry) {
            if (!FmsParser::parseHoldLegDistance(entry, hold.legLength)) {
                return false;
            }
            hold.lengthByTime = 0;
            hold.legTimeMin = hold.legLength / holdSpeed() * kMinutesPerHour;
            return true;
        });
        break;
    case kL4:
        clearHold();
        break;
    case kR4:
        if (onFromLine(fms)) {
            activatePresentPositionHold();
        } else {
            activateHold();
        }
        break;
    default:
        break;
    }
}

void PatternPages::clearHold() {
    editedHold.active = 0;
    editedHold.entered = 0;
    selectedLeg(fms).holding = editedHold;
    showReturnPage();
    selectedPlan(fms).recalculate(fms.planContext());
}

void PatternPages::activateHold() {
    // A hold on a line that names no fix would be kept by nothing, or laid out at 0N 0E.
    if (!designatesLeg(fms)) {
        showReturnPage();
        return;
    }
    FlightPlanLeg& leg = selectedLeg(fms);
    leg.trmLeg.flyOver = false;
    editedHold.active = 1;
    editedHold.compute(leg.wpt.latitude, leg.wpt.longitude, leg.course);
    leg.holding = editedHold;
    showReturnPage();
    selectedPlan(fms).recalculate(fms.planContext());
}

void PatternPages::activatePresentPositionHold() {
    FlightPlan& plan = selectedPlan(fms);
    Waypoint& fix = fms.flightPlanPages.entry.tempLeg.wpt;
    fix.kind = WaypointKind::PilotWaypoint;
    fix.latitude = fms.position.latitude;
    fix.longitude = fms.position.longitude;
    fix.variation = fms.planContext().magneticVariation(fix.latitude, fix.longitude);
    const std::size_t at = plan.activeLeg;
    if (!plan.insertWaypoint(fix, at, false, fms.planContext())) {
        fms.showMessage(kInvalidHold, 1);
        return;
    }
    FlightPlanLeg& leg = plan.legs[at];
    leg.trmLeg.flyOver = false;
    leg.holding = editedHold;
    leg.holding.atPresentPosition = 1;
    leg.holding.active = 1;
    leg.holding.entered = 1;
    leg.holding.enteredTime = fms.planContext().simTimeMs();
    leg.holding.compute(fix.latitude, fix.longitude, leg.course);
    showReturnPage();
    plan.recalculate(fms.planContext());
}

} // namespace tavi
