#pragma once

#include "support/TcasBench.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace tavi::test {

// One intruder against the own aircraft, as the stand-in's traffic flies it: where it starts
// from the own aircraft (nm, degrees true, ft above), its heading, ground speed and vertical
// speed. The own aircraft stays where it is horizontally, so the intruder's speed is the
// closing one.
struct TcasEncounterSetup {
    const char* name;
    double ownAltitude;
    double distance;
    double bearing;
    double height;
    double heading;
    double groundSpeed;
    double verticalSpeed;
};

// What one encounter flown to its end showed.
struct TcasEncounterResult {
    int advisoriesBegun = 0;
    int clearOfConflictCalls = 0;
    // The clear-of-conflict call came after the closest approach.
    bool clearAfterClosestApproach = false;
    // Vertical separation (ft) when the range was smallest.
    double separationAtClosestApproach = 0.0;
    // Greatest departure from the starting altitude (ft).
    double largestDeviation = 0.0;
    std::vector<int32_t> kinds;
    std::vector<SoundId> callouts;
};

// Flies an encounter through the module's TCAS on the stand-in's traffic list, with a crew
// that follows every resolution advisory from the scan that shows it (the vertical speed of a
// corrective one, level flight under a preventive one) and, once the conflict is cleared,
// returns to its altitude at 1500 fpm and levels off there.
class TcasEncounter {
public:
    static constexpr uint32_t kIntruder = 41;
    static constexpr double kReturnFpm = 1500.0;

    explicit TcasEncounter(const TcasEncounterSetup& setup) : setup(setup) {
        bench.setOwnTrueHeading(0.0);
        bench.setOwnGroundSpeed(0.0);
        bench.setOwnAltitude(setup.ownAltitude, 5000.0);
        bench.traffic().set(bench.intruder(kIntruder, setup.distance, setup.bearing, setup.height,
                                           setup.heading, setup.groundSpeed, setup.verticalSpeed));
    }

    // Scans until the intruder has been 5 nm away and opening for 20 s, or 600 scans.
    TcasEncounterResult fly() {
        TcasEncounterResult result;
        double smallestRange = 1e9;
        bool passed = false;
        int openingScans = 0;
        bool returning = false;
        for (int scan = 0; scan < 600 && openingScans < 20; ++scan) {
            const bool raBefore = !tcas().raSet.empty();
            bench.scan();
            const TcasTraffic* record = bench.record(kIntruder);
            if (!record) {
                continue;
            }
            const double separation = record->altitude - tcas().ownAltitude;
            if (record->range < smallestRange) {
                smallestRange = record->range;
                result.separationAtClosestApproach = separation;
            } else {
                passed = true;
            }
            openingScans = passed && record->range > 5.0 ? openingScans + 1 : 0;
            result.largestDeviation = std::max(result.largestDeviation,
                                               std::fabs(tcas().ownAltitude - setup.ownAltitude));

            for (SoundId id : bench.takeCallouts()) {
                result.callouts.push_back(id);
                if (id == sounds::kTcasClearOfConflict) {
                    ++result.clearOfConflictCalls;
                    result.clearAfterClosestApproach = passed || record->tau < 0.0;
                    returning = true;
                }
            }
            const bool raNow = !tcas().raSet.empty();
            if (raNow && !raBefore) {
                ++result.advisoriesBegun;
                returning = false;
            }
            if (raNow && (result.kinds.empty() || result.kinds.back() != tcas().raKind)) {
                result.kinds.push_back(tcas().raKind);
            }
            if (raNow) {
                followAdvisory();
            } else if (returning) {
                returnToAltitude();
            }
        }
        return result;
    }

    Tcas& tcas() { return bench.tcas(); }

    TcasBench bench;

private:
    // Every preventive advisory allows level flight.
    void followAdvisory() {
        const TcasAdvisoryKind& kind =
            tcas().advisoryKinds[static_cast<std::size_t>(tcas().raKind)];
        bench.setOwnVerticalSpeed(kind.corrective ? kind.targetVerticalSpeed : 0.0);
    }

    // Levels off within the scan that would overshoot the altitude.
    void returnToAltitude() {
        const double offset = tcas().ownAltitude - setup.ownAltitude;
        if (std::fabs(offset) <= kReturnFpm / 60.0) {
            bench.setOwnVerticalSpeed(0.0);
            bench.setOwnAltitude(setup.ownAltitude, bench.radAlt->radioAltitude);
            return;
        }
        bench.setOwnVerticalSpeed(offset > 0.0 ? -kReturnFpm : kReturnFpm);
    }

    TcasEncounterSetup setup;
};

} // namespace tavi::test
