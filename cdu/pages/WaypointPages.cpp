#include "cdu/pages/WaypointPages.h"

#include "avionics/RadioFrequency.h"
#include "cdu/pages/NavPageKeys.h"
#include "cdu/pages/WaypointEntry.h"
#include "cdu/records/PointDefinition.h"
#include "core/Format.h"
#include "fms/Fms.h"
#include "fms/GlobalFlightPlans.h"
#include "navdata/Navaid.h"

#include <algorithm>
#include <cstdlib>

namespace tavi {

using namespace navpages;

namespace {

int32_t pageCountFor(size_t entries, int32_t pageSize) {
    return static_cast<int32_t>((entries + static_cast<size_t>(pageSize) - 1) /
                                static_cast<size_t>(pageSize));
}

std::string navaidTypeName(int32_t type) {
    switch (type) {
    case kNavaidVor:
        return "VOR";
    case kNavaidVortac:
        return "VORTAC";
    case kNavaidTacan:
        return "TACAN";
    case kNavaidVorDme:
        return "VORDME";
    case kNavaidNdb:
        return "NDB";
    case kNavaidNdbDme:
        return "NDBDME";
    case kNavaidDme:
        return "DME";
    default:
        return "UNKNOWN";
    }
}

std::string navaidClass(const std::string& usage) {
    if (usage == "L") {
        return "LA";
    }
    if (usage == "H") {
        return "HA";
    }
    if (usage == "B") {
        return "UR";
    }
    return usage;
}

// The VHF frequency paired with a DME's channel text ("072Y"); empty outside the table.
std::string dmeFrequencyText(const std::string& channel) {
    const int32_t number = std::atoi(channel.c_str());
    if (channel.empty() || channel[0] < '0' || channel[0] > '9' || number < 1 ||
        number >= static_cast<int32_t>(tacanChannelTable.size())) {
        return {};
    }
    const TacanChannelPair& pair = tacanChannelTable[static_cast<size_t>(number)];
    const bool yChannel = channel.size() > 3 && channel[3] == 'Y';
    return format("%6.2f", static_cast<double>(yChannel ? pair.y : pair.x));
}

void putSmall(CduScreen& screen, int32_t row, int32_t column, std::string_view text) {
    screen.putText(row, column, text, CduColour::White, false, false);
}

void putValue(CduScreen& screen, int32_t row, int32_t column, std::string_view text) {
    screen.putText(row, column, text, CduColour::Green, true, false);
}

// A label or value whose last character is in the column.
void putSmallEndingIn(CduScreen& screen, int32_t row, int32_t lastColumn, std::string_view text) {
    screen.putTextRight(row, lastColumn + 1, text, CduColour::White, false, false);
}

void putValueEndingIn(CduScreen& screen, int32_t row, int32_t lastColumn, std::string_view text) {
    screen.putTextRight(row, lastColumn + 1, text, CduColour::Green, true, false);
}

void putVariation(CduScreen& screen, int32_t labelRow, const char* label, double variation) {
    putSmallEndingIn(screen, labelRow, 22, label);
    putValueEndingIn(screen, labelRow + 1, 23, FmsParser::formatVariation(variation));
}

void putElevation(CduScreen& screen, int32_t labelRow, int32_t elevation) {
    putSmall(screen, labelRow, 2, "ELEVATION");
    screen.putText(labelRow + 1, 1, FmsParser::formatFourDigits(elevation), CduColour::Cyan, true,
                   false);
}

std::string positionText(const Waypoint& point) {
    return FmsParser::formatLatLon(point.latitude, point.longitude);
}

} // namespace

void WaypointPages::registerPages() {
    Fms::CduPageEntry& list = fms.pages[kPilotWptList];
    list.draw = [this] {
        drawPilotWptListPage();
    };
    list.onKey = [this](int32_t key) {
        onPilotWptListKey(key);
    };
    list.enter = [this] {
        listPage.pageCount = pilotWaypointPageCount();
    };
    list.subPage = &listPage.subPage;
    Fms::CduPageEntry& database = fms.pages[kDataBaseWpt];
    database.draw = [this] {
        drawDataBaseWptPage();
    };
    database.onKey = [this](int32_t key) {
        onDbWptKey(key);
    };
    Fms::CduPageEntry& select = fms.pages[kWaypointsSelect];
    select.draw = [this] {
        drawWaypointsSelectPage();
    };
    select.onKey = [this](int32_t key) {
        onWptSelectKey(key);
    };
    Fms::CduPageEntry& pilot = fms.pages[kPilotWaypoint];
    pilot.draw = [this] {
        drawPilotWaypointPage();
    };
    pilot.onKey = [this](int32_t key) {
        onPilotWaypointKey(key);
    };
}

const PilotPoint* WaypointPages::pilotWaypointAt(int32_t index) const {
    const PilotPointStore::Points& points = fms.pilotPoints().points();
    if (index < 0 || static_cast<size_t>(index) >= points.size()) {
        return nullptr;
    }
    return &std::next(points.begin(), index)->second;
}

int32_t WaypointPages::pilotWaypointPageCount() const {
    return std::max(pageCountFor(fms.pilotPoints().points().size(), kListPageSize), 1);
}

void WaypointPages::setDbWaypoint(const Waypoint& waypoint) {
    DbWptPage& page = fms.dbWptPage;
    page.waypoint = waypoint;
    page.subPage = 1;
    page.pageCount = waypoint.kind == WaypointKind::Airport ? 2 : 1;
    switch (waypoint.kind) {
    case WaypointKind::Airport:
        fms.navDatabase().getAirportInfo(waypoint.id, page.airport);
        break;
    case WaypointKind::Ils:
        fms.navDatabase().getIlsInfo(waypoint.id, page.ils);
        break;
    case WaypointKind::Navaid:
        fms.navDatabase().getNavaidInfo(waypoint.id, page.navaid);
        break;
    default:
        break;
    }
}

void WaypointPages::selectFrom(const std::string& entry, const std::vector<Waypoint>& candidates,
                               PageTarget target, PageTarget back) {
    WptSelectPage& page = fms.wptSelectPage;
    page.setCandidates(entry, candidates);
    page.targetPage = target.page;
    page.targetSubPage = target.subPage;
    page.returnPage = back.page;
    page.returnSubPage = back.subPage;
    fms.setPage(kWaypointsSelect, 1);
}

void WaypointPages::definePilotWaypoint(const std::string& ident, int32_t returnPage) {
    PilotWptPage& page = fms.pilotWptPage;
    page.point.ident = ident;
    page.point.ppType = PilotPointType::Undefined;
    page.returnPage = returnPage;
    fms.setPage(kPilotWaypoint, 1);
}

bool WaypointPages::needsTrueBearing(const Waypoint& place, bool bearingTrue) {
    return !bearingTrue &&
           (place.latitude > kMagneticNorthLimit || place.latitude < kMagneticSouthLimit);
}

// PILOT WPT LIST

void WaypointPages::drawPilotWptListPage() const {
    CduScreen& screen = fms.screen;
    const int32_t base = (listPage.subPage - 1) * kListPageSize;
    screen.drawTitle("PILOT WPT LIST");
    screen.drawPageNumber(listPage.subPage, listPage.pageCount);
    putSmall(screen, 1, 1, "SHOW WAYPOINT");
    putValue(screen, 2, 0, kDashedIdent);
    const auto ident = [this, base](int32_t offset) {
        const PilotPoint* point = pilotWaypointAt(base + offset);
        return point && point->isDefined() ? point->ident : std::string();
    };
    screen.putTextRight(1, 24, ident(3), CduColour::Green, false, false);
    for (int32_t line = 0; line < 3; ++line) {
        const int32_t row = 3 + 2 * line;
        screen.putText(row, 0, ident(line), CduColour::Green, false, false);
        screen.putTextRight(row, 24, ident(4 + line), CduColour::Green, false, false);
    }
}

void WaypointPages::onPilotWptListKey(int32_t key) {
    const int32_t base = (listPage.subPage - 1) * kListPageSize;
    if (key == kL1) {
        lookUpIdent(false);
    } else if (key >= kL2 && key <= kL4) {
        tryDeletePilotWaypoint(base + key - kL2);
    } else if (key >= kR1 && key <= kR4) {
        tryDeletePilotWaypoint(base + 3 + key - kR1);
    } else {
        turnSubPage(key, listPage.subPage, listPage.pageCount);
    }
}

void WaypointPages::tryDeletePilotWaypoint(int32_t index) {
    const PilotPoint* point = pilotWaypointAt(index);
    if (!point) {
        return;
    }
    const std::string ident = point->ident;
    if (!fms.isScratchpadDelete()) {
        fms.setScratchpad(ident);
        return;
    }
    // Every stored plan through the point would no longer open: the point stays while one does.
    if (!fms.storedPlans().planUsingPilotWaypoint(ident).empty()) {
        fms.showMessage("USED BY STORED FPL", 0);
        return;
    }
    if (selectedStoredPlan.containsWaypoint(ident)) {
        selectedStoredPlan.clear(fms.planContext());
    }
    if (activeFlightPlan.containsWaypoint(ident) ||
        missedApproachFlightPlan.containsWaypoint(ident) ||
        alternateFlightPlan.containsWaypoint(ident)) {
        fms.showMessage("USED BY ACTIVE FPL", 0);
        return;
    }
    fms.pilotPoints().remove(ident);
    fms.takeScratchpad();
    listPage.pageCount = pilotWaypointPageCount();
}

void WaypointPages::lookUpIdent(bool fromPilotWaypoint) {
    PilotWptPage& page = fms.pilotWptPage;
    const std::string typed = fms.scratchPad.text();
    if (typed.empty()) {
        if (fromPilotWaypoint) {
            fms.setScratchpad(page.point.ident);
        }
        return;
    }
    if (!FmsParser::isValidIdent(typed) && !FmsParser::isTemporaryIdent(typed)) {
        fms.showMessage("INVALID ENTRY", 0);
        return;
    }
    const std::string entry = fms.takeScratchpad();
    const PageTarget back = fromPilotWaypoint ? PageTarget{kPilotWaypoint, 1}
                                              : PageTarget{kPilotWptList, listPage.subPage};
    if (showDatabasePoint(entry, back)) {
        return;
    }
    if (const PilotPoint* stored = fms.pilotPoints().find(entry)) {
        page.point = *stored;
        page.returnPage = kPilotWptList;
        fms.setPage(kPilotWaypoint, 1);
    } else if (FmsParser::isValidIdent(entry)) {
        definePilotWaypoint(entry, kPilotWptList);
    } else {
        fms.setScratchpad(entry);
        fms.showMessage("INVALID ENTRY", 0);
        page.returnPage = kPilotWptList;
        fms.setPage(kPilotWaypoint, 1);
    }
}

// DATA BASE WPT

void WaypointPages::drawDataBaseWptPage() const {
    CduScreen& screen = fms.screen;
    const DbWptPage& page = fms.dbWptPage;
    const Waypoint& point = page.waypoint;
    screen.drawTitle("DATA BASE WPT");
    screen.drawPageNumber(page.subPage, page.pageCount);
    putSmall(screen, 1, 1, "WAYPOINT");
    putValue(screen, 2, 0, point.kind == WaypointKind::Plain ? kDashedIdent : point.ident);
    screen.drawLeftPrompt("WPT LIST", false, 7);
    switch (point.kind) {
    case WaypointKind::Airport:
        drawAirport();
        break;
    case WaypointKind::Ils:
        drawIls();
        break;
    case WaypointKind::Navaid:
        drawNavaid();
        break;
    case WaypointKind::DatabaseWaypoint:
        putValue(screen, 4, 1, positionText(point));
        putVariation(screen, 5, "MAG VAR", point.variation);
        break;
    default:
        break;
    }
}

void WaypointPages::drawAirport() const {
    CduScreen& screen = fms.screen;
    const DbWptPage& page = fms.dbWptPage;
    if (page.subPage == 1) {
        putSmallEndingIn(screen, 1, 21, "TYPE");
        putValueEndingIn(screen, 2, 22, "AIRPORT");
        putValue(screen, 6, 1, positionText(page.waypoint));
        return;
    }
    putElevation(screen, 3, page.airport.elevation);
    putVariation(screen, 3, "MAG VAR", page.airport.variation);
}

void WaypointPages::drawIls() const {
    CduScreen& screen = fms.screen;
    const Ils& ils = fms.dbWptPage.ils;
    putSmall(screen, 1, 11, "FCRS");
    putValue(screen, 2, 11, format("%2.1f\u00B0", ils.localizerCourse));
    putSmall(screen, 1, 18, "FREQ");
    putValue(screen, 2, 18, comFrequencyText(ils.frequency));
    putSmall(screen, 3, 2, "TYPE");
    const char* type =
        ils.category == 0 ? (ils.hasDme ? "LOCDME" : "LOC") : (ils.hasDme ? "ILSDME" : "ILS");
    putValue(screen, 3, 7, type);
    if (ils.category != 0) {
        putSmallEndingIn(screen, 3, 19, "CAT");
        putValue(screen, 3, 21,
                 std::string(static_cast<size_t>(std::clamp(ils.category, 0, 3)), 'I'));
    }
    putValue(screen, 4, 0, positionText(fms.dbWptPage.waypoint));
    putElevation(screen, 5, ils.elevation);
    putVariation(screen, 5, "MAG VAR", ils.variation);
}

void WaypointPages::drawNavaid() const {
    CduScreen& screen = fms.screen;
    const Navaid& navaid = fms.dbWptPage.navaid;
    const bool tacan = navaid.navaidType == kNavaidTacan;
    putSmall(screen, 1, 18, tacan ? "CHAN" : "FREQ");
    if (tacan) {
        putValue(screen, 2, 18, navaid.channel);
    } else {
        putValueEndingIn(screen, 2, 22, navaidFrequencyText());
    }
    putSmall(screen, 3, 2, "TYPE");
    putValue(screen, 3, 7, navaidTypeName(navaid.navaidType));
    putSmall(screen, 3, 15, "CLASS");
    putValue(screen, 3, 21, navaidClass(navaid.usage));
    putValue(screen, 4, 1, positionText(fms.dbWptPage.waypoint));
    putElevation(screen, 5, navaid.elevation);
    if (navaid.slavedVariation == kNoSlavedVariation) {
        putVariation(screen, 5, "MAG VAR", navaid.variation);
    } else {
        putVariation(screen, 5, "MAG DEC", navaid.slavedVariation);
    }
}

std::string WaypointPages::navaidFrequencyText() const {
    const Navaid& navaid = fms.dbWptPage.navaid;
    switch (navaid.navaidType) {
    case kNavaidNdb:
    case kNavaidNdbDme:
        return adfFrequencyText(navaid.frequency);
    case kNavaidDme:
        return dmeFrequencyText(navaid.channel);
    default:
        return comFrequencyText(navaid.frequency);
    }
}

void WaypointPages::onDbWptKey(int32_t key) {
    DbWptPage& page = fms.dbWptPage;
    if (key == kL4) {
        fms.setPage(kPilotWptList, 1);
        return;
    }
    if (key != kL1) {
        turnSubPage(key, page.subPage, page.pageCount);
        return;
    }
    const std::string typed = fms.scratchPad.text();
    if (typed.empty()) {
        if (page.waypoint.kind != WaypointKind::Plain) {
            fms.setScratchpad(page.waypoint.ident);
        }
        return;
    }
    if (!FmsParser::isValidIdent(typed)) {
        fms.showMessage("INVALID ENTRY", 0);
        return;
    }
    showDatabasePoint(fms.takeScratchpad(), {kDataBaseWpt, page.subPage});
}

bool WaypointPages::showDatabasePoint(const std::string& entry, PageTarget back) {
    const std::vector<Waypoint> candidates = findCandidates(entry, false);
    if (candidates.size() == 1) {
        setDbWaypoint(candidates.front());
        fms.setPage(kDataBaseWpt, 1);
    } else if (candidates.size() > 1) {
        selectFrom(entry, candidates, {kDataBaseWpt, 1}, back);
    }
    return !candidates.empty();
}

// PILOT WAYPOINT

void WaypointPages::drawPilotWaypointPage() const {
    CduScreen& screen = fms.screen;
    const PilotWptPage& page = fms.pilotWptPage;
    const PilotPoint& point = page.point;
    screen.drawTitle("PILOT WAYPOINT");
    screen.drawPageNumber(1, 1);
    putSmall(screen, 1, 1, "WAYPOINT");
    putValue(screen, 2, 0, point.ident);
    screen.drawLeftPrompt("WPT LIST", false, 7);
    if (page.returnPage != kPilotWptList) {
        screen.drawRightPrompt("RETURN", false, 1);
    }
    if (!point.isDefined()) {
        putSmall(screen, 3, 1, "LAT LON");
        putValue(screen, 4, 0, kDashedPosition);
        putSmall(screen, 5, 1, "P/B/D OR P/B/P/B");
        putValue(screen, 6, 0, kDashedIdent);
        return;
    }
    putValue(screen, 4, 0, positionText(point));
    if (point.ppType == PilotPointType::PlaceBearingDistance) {
        putValue(screen, 6, 0, point.definition);
    }
    putVariation(screen, 5, "MAG VAR", point.variation);
}

void WaypointPages::onPilotWaypointKey(int32_t key) {
    switch (key) {
    case kL1:
        lookUpIdent(true);
        break;
    case kL2:
        defineLatLon();
        break;
    case kL3:
        definePlaceBearing();
        break;
    case kL4:
        fms.setPage(kPilotWptList, 1);
        break;
    case kR1:
        pilotWaypointReturn();
        break;
    default:
        break;
    }
}

void WaypointPages::defineLatLon() {
    PilotPoint& point = fms.pilotWptPage.point;
    if (point.isDefined()) {
        if (fms.scratchPad.text().empty()) {
            fms.setScratchpad(FmsParser::formatLatLonCompact(point.latitude, point.longitude));
        } else {
            fms.showMessage("INVALID ENTRY", 0);
        }
        return;
    }
    if (fms.scratchPad.text().empty()) {
        return;
    }
    const std::string entry = fms.takeScratchpad();
    double latitude = 0.0;
    double longitude = 0.0;
    if (!FmsParser::parseLatLon(entry, latitude, longitude)) {
        fms.setScratchpad(entry);
        fms.showMessage("INVALID ENTRY", 0);
        return;
    }
    point.latitude = latitude;
    point.longitude = longitude;
    point.ppType = PilotPointType::LatLon;
    point.definition.clear();
    storePoint(point);
}

void WaypointPages::definePlaceBearing() {
    PilotWptPage& page = fms.pilotWptPage;
    if (page.point.isDefined()) {
        if (fms.scratchPad.text().empty()) {
            fms.setScratchpad(page.point.definition);
        } else {
            fms.showMessage("INVALID ENTRY", 0);
        }
        return;
    }
    if (fms.scratchPad.text().empty()) {
        return;
    }
    const std::string entry = fms.takeScratchpad();
    page.definitionEntry = entry;
    WaypointDefinition definition;
    const bool parsed = FmsParser::parsePilotWaypointDefinition(entry, definition);
    page.place1Ident = definition.place1;
    page.bearing1 = definition.bearing1;
    page.bearing1True = definition.bearing1True;
    page.distance = definition.distance;
    page.place2Ident = definition.place2;
    page.bearing2 = definition.bearing2;
    page.bearing2True = definition.bearing2True;
    page.definitionKind = !parsed ? point_definition::kInvalid
                          : std::count(entry.begin(), entry.end(), '/') == 3
                              ? point_definition::kRadialIntersection
                              : point_definition::kPlaceBearingDistance;
    page.place1Candidates.clear();
    page.place2Candidates.clear();
    page.place1Pending = false;
    page.place2Pending = false;
    if (page.definitionKind == point_definition::kInvalid) {
        fms.setScratchpad(entry);
        fms.showMessage("INVALID ENTRY", 0);
        return;
    }
    page.place1Candidates = findCandidates(page.place1Ident, true);
    if (page.definitionKind == point_definition::kRadialIntersection) {
        page.place2Candidates = findCandidates(page.place2Ident, true);
    }
    if (page.place1Candidates.empty() ||
        (page.definitionKind == point_definition::kRadialIntersection &&
         page.place2Candidates.empty())) {
        fms.setScratchpad(entry);
        fms.showMessage("WAYPOINT NOT FOUND", 0);
        return;
    }
    const PageTarget back{kPilotWaypoint, 1};
    if (page.definitionKind == point_definition::kPlaceBearingDistance) {
        if (page.place1Candidates.size() == 1) {
            completePbd(page.place1Candidates.front());
        } else {
            page.place1Pending = true;
            selectFrom(page.place1Ident, page.place1Candidates, back, back);
        }
        return;
    }
    page.place1Pending = page.place1Candidates.size() > 1;
    page.place2Pending = page.place2Candidates.size() > 1;
    if (!page.place1Pending) {
        page.place1 = page.place1Candidates.front();
    }
    if (!page.place2Pending) {
        page.place2 = page.place2Candidates.front();
    }
    if (page.place1Pending) {
        selectFrom(page.place1Ident, page.place1Candidates, back, back);
    } else if (page.place2Pending) {
        selectFrom(page.place2Ident, page.place2Candidates, back, back);
    } else {
        completePbpb();
    }
}

std::vector<Waypoint> WaypointPages::findCandidates(const std::string& ident,
                                                    bool withPlanAndPilot) const {
    std::vector<Waypoint> candidates;
    fms.navDatabase().findWaypoints(ident, candidates, withPlanAndPilot);
    return candidates;
}

void WaypointPages::completePbd(const Waypoint& place) {
    PilotWptPage& page = fms.pilotWptPage;
    if (needsTrueBearing(place, page.bearing1True)) {
        refuseDefinition("BRG/CRS MUST BE IN TRUE", 1);
        return;
    }
    storePoint(WaypointEntry::makePbdPoint(page.point.ident, place, page.bearing1,
                                           page.bearing1True, page.distance));
}

void WaypointPages::completePbpb() {
    PilotWptPage& page = fms.pilotWptPage;
    if (needsTrueBearing(page.place1, page.bearing1True) ||
        needsTrueBearing(page.place2, page.bearing2True)) {
        refuseDefinition("BRG/CRS MUST BE IN TRUE", 1);
        return;
    }
    const PilotPoint point = WaypointEntry::makeRadialIntersectionPoint(
        page.point.ident, page.place1, page.bearing1, page.bearing1True, page.place2, page.bearing2,
        page.bearing2True);
    if (!point.isDefined()) {
        refuseDefinition("RADIALS DO NOT INTERSECT", 0);
        return;
    }
    storePoint(point);
}

void WaypointPages::refuseDefinition(const std::string& message, int32_t priority) {
    fms.setScratchpad(fms.pilotWptPage.definitionEntry);
    fms.showMessage(message, priority);
}

void WaypointPages::storePoint(const PilotPoint& point) {
    fms.pilotPoints().add(point);
    const PilotPoint* stored = fms.pilotPoints().find(point.ident);
    fms.pilotWptPage.point = stored ? *stored : point;
    fms.flightPlanPages.entry.finishPilotWaypointEntry();
}

void WaypointPages::pilotWaypointReturn() {
    PilotWptPage& page = fms.pilotWptPage;
    if (page.returnPage == kPilotWptList) {
        return;
    }
    if (page.point.isDefined() && page.returnPage == kPositionInit) {
        fms.posInitPage.setPosInitRef(page.point);
        fms.posInitPage.returnTo();
        return;
    }
    if (!page.point.isDefined()) {
        fms.setScratchpad(page.point.ident);
    }
    if (page.insertPending) {
        const uint32_t now = fms.planContext().simTimeMs();
        if (page.returnPage == kStoredPlan) {
            fms.storedFplPage.pageTurnRequested = true;
            fms.storedFplPage.pageTurnTarget = StoredFplPage::pageCount();
            fms.storedFplPage.pageTurnTime = now;
        } else if (page.returnPage == kActiveFlightPlan) {
            fms.activeFplPage.pageTurnRequested = true;
            fms.activeFplPage.pageTurnTarget = ActiveFplPage::pageCount();
            fms.activeFplPage.pageTurnTime = now;
        }
        page.insertPending = false;
    }
    fms.setPage(page.returnPage, page.returnSubPage);
}

// WAYPOINTS SELECT

void WaypointPages::drawWaypointsSelectPage() const {
    CduScreen& screen = fms.screen;
    const WptSelectPage& page = fms.wptSelectPage;
    screen.drawTitle("WAYPOINTS SELECT");
    screen.drawPageNumber(page.subPage, page.pageCount);
    screen.drawRightPrompt("RETURN", false, 1);
    for (int32_t line = 0; line < kSelectPageSize; ++line) {
        const int32_t index = (page.subPage - 1) * kSelectPageSize + line;
        if (index < 0 || static_cast<size_t>(index) >= page.candidates.size()) {
            continue;
        }
        const int32_t row = 2 * line + 1;
        screen.putText(row, 1, page.entryText, CduColour::Green, false, false);
        screen.drawLeftPrompt("", false, row + 1);
        putValue(screen, row + 1, 1, positionText(page.candidates[static_cast<size_t>(index)]));
    }
}

void WaypointPages::onWptSelectKey(int32_t key) {
    WptSelectPage& page = fms.wptSelectPage;
    if (key >= kL1 && key <= kL3) {
        selectWaypointCandidate((page.subPage - 1) * kSelectPageSize + key);
        return;
    }
    if (key != kR1) {
        turnSubPage(key, page.subPage, std::max(page.pageCount, 1));
        return;
    }
    if (page.returnPage == kPositionInit) {
        fms.setScratchpad(page.entryText);
        fms.posInitPage.returnTo();
        return;
    }
    const ActiveFplPage& active = fms.activeFplPage;
    if (page.returnPage == kPilotWaypoint) {
        fms.setScratchpad(fms.pilotWptPage.definitionEntry);
    } else if (page.returnPage == kActiveFlightPlan && active.definitionPending) {
        fms.setScratchpad(active.definitionEntry);
    } else {
        fms.setScratchpad(page.entryText);
    }
    fms.setPage(page.returnPage, page.returnSubPage);
}

void WaypointPages::selectWaypointCandidate(int32_t index) {
    const WptSelectPage& page = fms.wptSelectPage;
    if (index < 0 || static_cast<size_t>(index) >= page.candidates.size()) {
        return;
    }
    const Waypoint chosen = page.candidates[static_cast<size_t>(index)];
    switch (page.targetPage) {
    case kDataBaseWpt:
        setDbWaypoint(chosen);
        fms.setPage(kDataBaseWpt, page.targetSubPage);
        break;
    case kPositionInit:
        fms.posInitPage.setPosInitRef(chosen);
        fms.posInitPage.returnTo();
        break;
    case kPilotWaypoint:
        selectForDefinition(chosen);
        break;
    case kStoredPlan:
        selectForStoredPlan(chosen);
        break;
    case kActiveFlightPlan:
        selectForActivePlan(chosen);
        break;
    default:
        break;
    }
}

bool WaypointPages::turnsPageAfter(int32_t line, int32_t firstLine, int32_t lineCount) const {
    return fms.flightConfig.isFpAutoPage && (line - firstLine) % kSelectPageSize == 2 &&
           line == lineCount - 1;
}

// The origin, the destination or a leg before the selected line of the stored plan, which is
// saved at once.
void WaypointPages::selectForStoredPlan(const Waypoint& chosen) {
    StoredFplPage& page = fms.storedFplPage;
    const FlightPlanContext& context = fms.planContext();
    if (page.originPending) {
        selectedStoredPlan.setOrigin(chosen, context);
    } else if (page.destinationPending) {
        selectedStoredPlan.setDestination(chosen, context);
    } else {
        const bool lastLine = turnsPageAfter(page.selectedLine, 0, StoredFplPage::lineCount());
        const auto index = static_cast<size_t>(std::max(page.selectedLine - 1, 0));
        if (selectedStoredPlan.insertWaypoint(chosen, index, false, context) && lastLine) {
            page.pageTurnRequested = true;
            page.pageTurnTarget = StoredFplPage::pageCount();
            page.pageTurnTime = context.simTimeMs();
        }
    }
    fms.setPage(kStoredPlan, fms.wptSelectPage.targetSubPage);
    fms.storedPlans().savePlanFile(selectedStoredPlan);
}

// Direct to the point in DIR mode; otherwise the origin, the destination or a leg before the
// selected line of the active plan.
void WaypointPages::selectForActivePlan(const Waypoint& chosen) {
    ActiveFplPage& page = fms.activeFplPage;
    const FlightPlanContext& context = fms.planContext();
    const int32_t subPage = fms.wptSelectPage.targetSubPage;
    if (page.dirMode) {
        fms.setPage(kActiveFlightPlan, subPage);
        activeFlightPlan.directTo(chosen, context);
        page.dirMode = false;
        return;
    }
    if (page.definitionPending) {
        fms.flightPlanPages.entry.choosePendingPlace(chosen);
        return;
    }
    if (page.originPending || (!page.destinationPending && page.selectedLine == 0)) {
        activeFlightPlan.setOrigin(chosen, context);
    } else if (page.destinationPending) {
        activeFlightPlan.setDestination(chosen, context);
    } else {
        const bool lastLine =
            turnsPageAfter(page.selectedLine, static_cast<int32_t>(activeFlightPlan.activeLeg),
                           ActiveFplPage::activeLineCount());
        const auto index = static_cast<size_t>(page.selectedLine - 1);
        if (activeFlightPlan.insertWaypoint(chosen, index, false, context) && lastLine) {
            page.pageTurnRequested = true;
            page.pageTurnTarget = ActiveFplPage::pageCount();
            page.pageTurnTime = context.simTimeMs();
        }
    }
    fms.setPage(kActiveFlightPlan, subPage);
}

void WaypointPages::selectForDefinition(const Waypoint& chosen) {
    PilotWptPage& page = fms.pilotWptPage;
    const int32_t subPage = fms.wptSelectPage.targetSubPage;
    if (page.definitionKind == point_definition::kPlaceBearingDistance) {
        completePbd(chosen);
        fms.setPage(kPilotWaypoint, subPage);
        return;
    }
    if (page.definitionKind != point_definition::kRadialIntersection) {
        return;
    }
    if (takePendingPlace(page, chosen)) {
        fms.wptSelectPage.setCandidates(page.place2Ident, page.place2Candidates);
        return;
    }
    completePbpb();
    fms.setPage(kPilotWaypoint, subPage);
}

} // namespace tavi
