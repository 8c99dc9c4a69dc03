#include "cdu/pages/PosInitPage.h"

#include "avionics/Ahrs.h"
#include "avionics/Gps.h"
#include "cdu/pages/NavPageKeys.h"
#include "core/Aircraft.h"
#include "fms/Fms.h"
#include "fms/GlobalFlightPlans.h"
#include "navdata/GcNav.h"

#include <vector>

namespace tavi {

using namespace navpages;

namespace {

constexpr double kNoRampDistance = 100.0;
constexpr std::string_view kRampSuffixes = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

} // namespace

void PosInitPage::registerPages() {
    Fms::CduPageEntry& page = fms.pages[kPositionInit];
    page.draw = [this] {
        drawPosInitPage();
    };
    page.onKey = [this](int32_t key) {
        onPosInitKey(key);
    };
    page.enter = [this] {
        enterPosInitPage();
    };
}

void PosInitPage::setPosInitRefLatLon(double latitude, double longitude) {
    refWpt = Waypoint{};
    refWpt.kind = WaypointKind::PilotWaypoint;
    refWpt.latitude = latitude;
    refWpt.longitude = longitude;
}

void PosInitPage::syncPosRefToOriginRunway() {
    if (!fms.airborne && activeFlightPlan.hasOriginAndDestination() &&
        activeFlightPlan.org.kind == WaypointKind::Runway) {
        refWpt = activeFlightPlan.org;
    }
}

void PosInitPage::returnTo() {
    fms.currentPage = kPositionInit;
}

void PosInitPage::enterPosInitPage() {
    if (fms.airborne) {
        return;
    }
    if (searchRampPoint()) {
        makeReferenceTheOrigin();
        return;
    }
    Waypoint airport;
    fms.navDatabase().getClosestAirport(airport);
    if (airport.kind == WaypointKind::Airport) {
        setPosInitRef(airport);
        makeReferenceTheOrigin();
    } else {
        refWpt = Waypoint{};
    }
}

// RAMP0 .. RAMPZ in that order; the nearest within range wins, the earlier name on a tie.
bool PosInitPage::searchRampPoint() {
    const GcNav here(fms.position.latitude, fms.position.longitude);
    double best = kNoRampDistance;
    const PilotPoint* chosen = nullptr;
    for (const char suffix : kRampSuffixes) {
        const PilotPoint* point = fms.pilotPoints().find(std::string("RAMP") + suffix);
        if (!point) {
            continue;
        }
        const double distance = here.distanceTo(point->latitude, point->longitude);
        if (distance <= kRampRange && distance < best) {
            best = distance;
            chosen = point;
        }
    }
    if (chosen) {
        refWpt = static_cast<const Waypoint&>(*chosen);
    }
    return chosen != nullptr;
}

void PosInitPage::makeReferenceTheOrigin() const {
    if (activeFlightPlan.org.kind == WaypointKind::Plain && refWpt.kind != WaypointKind::Plain &&
        !refWpt.ident.empty()) {
        activeFlightPlan.setOrigin(refWpt, fms.planContext());
    }
}

void PosInitPage::onPosInitKey(int32_t key) {
    const Gps* sensor = gps();
    switch (key) {
    case kL2:
        if (onGround()) {
            enterReference();
        }
        break;
    case kL4:
        fms.setPage(kPosSensors, 1);
        break;
    case kR1:
        if (onGround() && sensor) {
            load(sensor->latitude, sensor->longitude, sensor->latitude, sensor->longitude, 0);
        }
        break;
    case kR2:
        if (onGround() && refWpt.kind != WaypointKind::Plain && sensor) {
            load(refWpt.latitude, refWpt.longitude, refWpt.latitude, refWpt.longitude, 1);
        }
        break;
    case kR3:
        if (!fms.airborne && gpsPowered()) {
            load(sensor->latitude, sensor->longitude, refWpt.latitude, refWpt.longitude, 2);
        }
        break;
    case kR4:
        if (fms.position.initialised) {
            fms.setPage(kActiveFlightPlan, 1);
        }
        break;
    default:
        break;
    }
}

void PosInitPage::load(double latitude, double longitude, double towardsLatitude,
                       double towardsLongitude, int32_t source) {
    Fms::PositionInit& position = fms.position;
    position.latitude = latitude;
    position.longitude = longitude;
    position.loadedLatitude = towardsLatitude;
    position.loadedLongitude = towardsLongitude;
    position.loadedFrom = source;
    position.initialised = true;
    const GcNav fromGps(gps()->latitude, gps()->longitude);
    // The offset is the course from the GPS towards the loaded point: the position is kept by
    // displacing the GPS position along it every frame, and the reverse course would put the
    // FMS position on the far side of the GPS from the point the pilot loaded.
    position.offsetBearing = fromGps.courseTo(towardsLatitude, towardsLongitude);
    position.offsetDistance = fromGps.distanceTo(latitude, longitude);
}

void PosInitPage::enterReference() {
    if (fms.scratchPad.text().empty()) {
        if (!refWpt.ident.empty()) {
            fms.setScratchpad(refWpt.ident);
        }
        return;
    }
    const std::string entry = fms.takeScratchpad();
    double latitude = 0.0;
    double longitude = 0.0;
    if (FmsParser::isValidIdent(entry)) {
        findReference(entry);
    } else if (FmsParser::parseLatLon(entry, latitude, longitude)) {
        setPosInitRefLatLon(latitude, longitude);
    } else {
        fms.setScratchpad(refWpt.ident);
        fms.showMessage("INVALID ENTRY", 0);
    }
}

void PosInitPage::findReference(const std::string& entry) {
    std::vector<Waypoint> candidates;
    fms.navDatabase().findWaypoints(entry, candidates, false);
    double latitude = 0.0;
    double longitude = 0.0;
    if (candidates.size() == 1) {
        setPosInitRef(candidates.front());
    } else if (candidates.size() > 1) {
        fms.waypointPages.selectFrom(entry, candidates, {kPositionInit, 1}, {kPositionInit, 1});
    } else if (FmsParser::parseLatLon(entry, latitude, longitude)) {
        setPosInitRefLatLon(latitude, longitude);
    } else {
        fms.waypointPages.definePilotWaypoint(entry, kPositionInit);
    }
}

bool PosInitPage::onGround() const {
    const Aircraft* aircraft = fms.owner();
    const Ahrs* ahrs = aircraft ? aircraft->ahrs() : nullptr;
    return ahrs && ahrs->onGround;
}

const Gps* PosInitPage::gps() const {
    return fms.owner() ? fms.owner()->gps() : nullptr;
}

bool PosInitPage::gpsPowered() const {
    const Gps* sensor = gps();
    return sensor && !sensor->unpowered;
}

void PosInitPage::drawPosInitPage() const {
    CduScreen& screen = fms.screen;
    const Gps* sensor = gps();
    const std::string gpsPosition =
        sensor ? FmsParser::formatLatLon(sensor->latitude, sensor->longitude) : std::string();
    const int32_t loaded = fms.position.loadedFrom;
    screen.drawTitle("POSITION INIT");
    screen.drawPageNumber(1, 1);
    screen.putText(1, 1, "LAST POS", CduColour::White, false, false);
    screen.putText(2, 0, gpsPosition, CduColour::Green, true, false);
    screen.drawLeftPrompt("POS SENSORS", false, 7);
    if (fms.position.initialised) {
        screen.drawRightPrompt("FLT PLAN", false, 7);
    }
    if (!onGround()) {
        return;
    }
    const auto drawLoad = [&screen, loaded](int32_t row, int32_t source) {
        screen.putTextRight(row, 23, "LOAD", CduColour::White, true, false);
        screen.drawRightPrompt("", false, row);
        if (loaded == source) {
            screen.putTextRight(row - 1, 23, "(LOADED)", CduColour::White, false, false);
        }
    };
    drawLoad(2, 0);
    if (refWpt.ident.empty()) {
        screen.putText(3, 0, kDashedIdent, CduColour::Green, true, false);
    } else {
        screen.putText(3, 0, refWpt.ident, CduColour::Green, true, false);
        screen.putText(3, static_cast<int32_t>(refWpt.ident.size()) + 1, "REF WPT",
                       CduColour::White, false, false);
    }
    if (refWpt.kind == WaypointKind::Plain) {
        screen.putText(3, 6, "REF WPT OR", CduColour::White, false, false);
        screen.putText(4, 0, kDashedPosition, CduColour::Green, true, false);
    } else {
        screen.putText(4, 0, FmsParser::formatLatLon(refWpt.latitude, refWpt.longitude),
                       CduColour::Green, true, false);
        drawLoad(4, 1);
    }
    if (gpsPowered()) {
        screen.putText(5, 1, "GPS 1 POS", CduColour::White, false, false);
        screen.putText(6, 0, gpsPosition, CduColour::Green, true, false);
        drawLoad(6, 2);
    }
}

} // namespace tavi
