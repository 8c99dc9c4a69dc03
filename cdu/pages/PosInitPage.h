#pragma once

#include "navdata/Waypoint.h"

#include <cstdint>
#include <string>

namespace tavi {

class Fms;
class Gps;

// POSITION INIT: the pilot loads the FMS position on the ground from the last GPS position, a
// reference waypoint or the GPS 1 position. On entry the page proposes a reference by itself:
// a RAMP pilot waypoint within 3 nm, else the nearest airport within 3 nm, which also becomes
// the origin of an active plan that has none. The position itself is the FMS's position record.
class PosInitPage {
public:
    static constexpr double kRampRange = 3.0;

    explicit PosInitPage(Fms& fms) : fms(fms) {}

    void registerPages();
    void enterPosInitPage();
    void drawPosInitPage() const;
    void onPosInitKey(int32_t key);

    // The reference waypoint becomes the point, or a bare position without an ident.
    void setPosInitRef(const Waypoint& waypoint) { refWpt = waypoint; }
    void setPosInitRefLatLon(double latitude, double longitude);
    // On the ground, an active plan that starts at a runway gives that runway as the reference.
    void syncPosRefToOriginRunway();
    // Shows the page again without its entry action, so a chosen reference stays.
    void returnTo();

    const Waypoint& reference() const { return refWpt; }

private:
    bool searchRampPoint();
    void makeReferenceTheOrigin() const;
    void enterReference();
    void findReference(const std::string& entry);
    // The three LOAD keys: the FMS position, the point the ground offset is measured towards
    // and what was loaded.
    void load(double latitude, double longitude, double towardsLatitude, double towardsLongitude,
              int32_t source);
    bool onGround() const;
    const Gps* gps() const;
    bool gpsPowered() const;

    Fms& fms;
    Waypoint refWpt;
};

} // namespace tavi
